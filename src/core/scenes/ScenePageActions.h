#pragma once
// What the scene page's controls do to the scene tables, the current scene and the current
// effect. The page draws; this class decides, and tells the page what to redraw.
#include "core/app/Seams.h"
#include "core/scenes/SceneEditing.h"
#include "core/scenes/SceneTable.h"

#include <filesystem>
#include <string>

namespace rz::materials {
class MaterialFiles;
struct EditingContext;
} // namespace rz::materials
namespace rz::effects {
class EffectFiles;
} // namespace rz::effects

namespace rz::scenes {

inline constexpr std::u16string_view kAskDefaultAssociations = u"要设置成默认参数吗?";
inline constexpr std::u16string_view kAskImportAllEffects = u"是否覆盖现在的所有效果 ？";

class SceneView {
public:
    virtual ~SceneView() = default;
    // Fun_场景选择_控件显示: the scene buttons and every control of the current scene.
    virtual void showScene() = 0;
    // Captions of the scene buttons (a name changed).
    virtual void showSceneButtons() = 0;
    // Captions and colours of the effect buttons (and the scene buttons' brackets).
    virtual void showEffects() = 0;
    // Relay frame, dimming frame, relay colours and dimmer levels.
    virtual void showRelaysAndDimming() = 0;
    // Enables or disables the editing frames for the lock.
    virtual void showEditingLock(bool editing) = 0;
    // The effect page, on the current effect.
    virtual void openEffectEditor() = 0;
};

struct SceneEditingParts {
    SceneTable& table;
    int& currentScene;
    const uint8_t& thyristorDimming;
    materials::EditingContext& editing;
    materials::MaterialFiles& materialFiles;
    effects::EffectFiles& effectFiles;
    Prompt& prompt;
    std::filesystem::path workSettings; // "最后编辑场景", "连接接口"
};

class ScenePageActions {
public:
    // Everything must outlive this object.
    ScenePageActions(SceneEditingParts parts, SceneView& view);

    // Fun_窗体载入. The first opening reads the last edited scene from the settings; every
    // opening stores the connection interface and shows the current scene.
    void open(uint8_t connectionInterface);

    void selectScene(int scene);
    void setName(const std::u16string& name);
    void setMainsByDmx(bool on);
    void toggleRelay(int relay);
    void setDimmer(int dimmer, int level);
    void setRelayNote(int relay, const std::u16string& note);
    void setDimmerNote(int dimmer, const std::u16string& note);
    // With editing on: assigns or clears the scene's effect. Otherwise switches the current
    // effect (its materials parked in and loaded from the temporary files) and opens it.
    void clickEffect(int effect);
    void setEditing(bool on);
    bool editing() const { return editingOn; }
    void copyScene() { clipboard.copy(currentScene); }
    void pasteScene();
    int copiedScene() const { return clipboard.copiedScene(); }
    void setWallPanelScene(int value);
    void setVodScene(int value);
    void setEffectsUnitSound(int value);
    void setAudioSource(int value);
    // After a Yes: scenes 1..30 answer to their own numbers.
    void restoreDefaultAssociations();
    // After a Yes: every effect and material set from a file; no effect is current then.
    void importAllEffects();
    void exportAllEffects();

    const Scene& scene() const { return table.scene(currentScene); }
    int current() const { return currentScene; }
    ScenePanels panels() const { return scenePanels(scene(), currentScene, thyristorDimming); }

private:
    Scene& editable() { return table.scene(currentScene); }

    SceneTable& table;
    int& currentScene;
    const uint8_t& thyristorDimming;
    materials::EditingContext& editingContext;
    materials::MaterialFiles& materialFiles;
    effects::EffectFiles& effectFiles;
    Prompt& prompt;
    std::filesystem::path workSettings;
    SceneView& view;
    SceneClipboard clipboard;
    bool editingOn = false;
    bool openedBefore = false;
};

} // namespace rz::scenes
