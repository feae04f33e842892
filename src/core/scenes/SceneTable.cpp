#include "core/scenes/SceneTable.h"

#include <algorithm>
#include <span>

namespace rz::scenes {

namespace {

bool inSceneRange(int i) { return i >= 1 && i <= kSceneCount; }

bool anyNonZero(std::span<const uint8_t> values)
{
    return std::any_of(values.begin(), values.end(), [](uint8_t v) { return v != 0; });
}

} // namespace

bool Scene::hasContent() const
{
    return mainsByDmx != 0 || effect != 0 || anyNonZero(std::span(relays).subspan(1)) ||
           anyNonZero(std::span(dimmers).subspan(1));
}

void SceneTable::clearAllScenes()
{
    scenes.fill(Scene{});
    relayNotes.fill({});
    dimmerNotes.fill({});
}

void SceneTable::copyScene(int from, int to)
{
    if (!inSceneRange(from) || !inSceneRange(to))
        return;
    const Scene& source = scenes[static_cast<std::size_t>(from)];
    Scene& target = scenes[static_cast<std::size_t>(to)];
    target.mainsByDmx = source.mainsByDmx;
    target.effect = source.effect;
    target.relays = source.relays;
    target.dimmers = source.dimmers;
    target.effectsUnitSound = source.effectsUnitSound;
    target.audioSource = source.audioSource;
}

void SceneTable::setDefaultAssociations()
{
    for (int i = 1; i <= kAssociatedScenes; ++i) {
        Scene& s = scenes[static_cast<std::size_t>(i)];
        s.wallPanelScene = static_cast<uint8_t>(i);
        s.vodScene = static_cast<uint8_t>(i);
    }
}

void SceneTable::applyFixedSceneNames()
{
    for (std::size_t k = 0; k < kFixedSceneNames.size(); ++k)
        scenes[kFirstFixedNameScene + k].name = std::u16string(kFixedSceneNames[k]);
}

bool SceneTable::effectIsUsed(int effect) const
{
    if (effect < 1 || effect > kMaxSceneEffect)
        return false;
    return std::any_of(scenes.begin() + 1, scenes.end(),
                       [effect](const Scene& s) { return s.effect == effect; });
}

int sceneFromSetting(long long stored)
{
    return stored >= 1 && stored <= kSceneCount ? static_cast<int>(stored) : 1;
}

} // namespace rz::scenes
