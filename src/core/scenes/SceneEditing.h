#pragma once
// What the scene page does to the scene tables, apart from its widgets: button captions,
// assigning an effect, switching relays, copy and paste of a scene's settings, and which
// panels the page shows for a scene.
#include "core/scenes/SceneTable.h"

#include <optional>
#include <string>
#include <string_view>

namespace rz::scenes {

// "7", "7-动感"; enclosed in "[" "]" when the scene plays an effect: "[7-动感]".
std::u16string sceneButtonCaption(const SceneTable& table, int scene);
// An effect button shows the effect's note, enclosed in "[" "]" when any scene plays it.
std::u16string effectButtonCaption(std::u16string_view note, bool usedByAnyScene);

// With editing on, clicking effect e (1..50) assigns it to the scene, or clears the scene's
// effect when it already was e.
void toggleSceneEffect(Scene& scene, int effect);
// Relay r (1..24) switches between 0 and 1; any non-zero level counts as on.
void toggleRelay(Scene& scene, int relay);

// The page's copy and paste buttons. Nothing is copied when the program starts.
class SceneClipboard {
public:
    void copy(int scene) { copied = scene; }
    // Copies the remembered scene's settings into `target` (SceneTable::copyScene); false,
    // doing nothing, when nothing was copied.
    bool paste(SceneTable& table, int target) const;
    int copiedScene() const { return copied; }

private:
    int copied = 0;
};

// Which panels the page shows for the current scene. The dimming panel is only ever shown or
// hidden by these rules; when none applies it stays as it was (nullopt).
struct ScenePanels {
    bool relays;                  // hidden while mains follow DMX512
    std::optional<bool> dimming;  // hidden with mains by DMX, shown with thyristor dimming on
    bool associationsAndName;     // only scenes 1..30 have them
};
ScenePanels scenePanels(const Scene& scene, int sceneNumber, uint8_t thyristorDimming);

} // namespace rz::scenes
