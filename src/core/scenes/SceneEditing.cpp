#include "core/scenes/SceneEditing.h"
#include "core/app/Conversions.h"

namespace rz::scenes {

namespace {

} // namespace

std::u16string sceneButtonCaption(const SceneTable& table, int scene)
{
    const Scene& s = table.scene(scene);
    std::u16string caption = decimalText(scene);
    if (!s.name.empty())
        caption += u"-" + s.name;
    if (s.effect != 0)
        caption = u"[" + caption + u"]";
    return caption;
}

std::u16string effectButtonCaption(std::u16string_view note, bool usedByAnyScene)
{
    std::u16string caption(note);
    return usedByAnyScene ? u"[" + caption + u"]" : caption;
}

void toggleSceneEffect(Scene& scene, int effect)
{
    if (effect < 1 || effect > kMaxSceneEffect)
        return;
    scene.effect = scene.effect == effect ? 0 : static_cast<uint8_t>(effect);
}

void toggleRelay(Scene& scene, int relay)
{
    if (relay < 1 || relay > kRelayCount)
        return;
    uint8_t& r = scene.relays[static_cast<std::size_t>(relay)];
    r = r != 0 ? 0 : 1;
}

bool SceneClipboard::paste(SceneTable& table, int target) const
{
    if (copied == 0)
        return false;
    table.copyScene(copied, target);
    return true;
}

ScenePanels scenePanels(const Scene& scene, int sceneNumber, uint8_t thyristorDimming)
{
    ScenePanels p{};
    p.relays = scene.mainsByDmx == 0;
    if (scene.mainsByDmx != 0)
        p.dimming = false;
    if (thyristorDimming == 1)
        p.dimming = true;
    p.associationsAndName = sceneNumber <= kAssociatedScenes;
    return p;
}

} // namespace rz::scenes
