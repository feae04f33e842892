#include "core/scenes/ScenePageActions.h"

#include "core/app/Conversions.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/effects/EffectFiles.h"
#include "core/materials/MaterialFiles.h"

namespace rz::scenes {

namespace {

uint8_t clampedByte(int value, int max)
{
    return static_cast<uint8_t>(value < 0 ? 0 : (value > max ? max : value));
}

} // namespace

ScenePageActions::ScenePageActions(SceneEditingParts parts, SceneView& view)
    : table(parts.table), currentScene(parts.currentScene), thyristorDimming(parts.thyristorDimming),
      editingContext(parts.editing), materialFiles(parts.materialFiles), effectFiles(parts.effectFiles),
      prompt(parts.prompt), workSettings(std::move(parts.workSettings)), view(view)
{
}

void ScenePageActions::open(uint8_t connectionInterface)
{
    if (!openedBefore) {
        openedBefore = true;
        currentScene = sceneFromSetting(readInt32Key(workSettings, keys::kLastEditedScene, currentScene));
    }
    currentScene = sceneFromSetting(currentScene);
    view.showScene();
    view.showEditingLock(editingOn);
    writeKey(workSettings, keys::kConnectionInterface, decimalText(connectionInterface));
}

void ScenePageActions::selectScene(int scene)
{
    if (scene < 1 || scene > kSceneCount)
        return;
    currentScene = scene;
    view.showScene();
    writeKey(workSettings, keys::kLastEditedScene, decimalText(scene));
}

void ScenePageActions::setName(const std::u16string& name)
{
    editable().name = name.substr(0, kMaxSceneName);
    view.showSceneButtons();
}

void ScenePageActions::setMainsByDmx(bool on)
{
    editable().mainsByDmx = on ? 1 : 0;
    view.showRelaysAndDimming();
    view.showEffects(); // content of the scene changed
}

void ScenePageActions::toggleRelay(int relay)
{
    scenes::toggleRelay(editable(), relay);
    view.showRelaysAndDimming();
}

void ScenePageActions::setDimmer(int dimmer, int level)
{
    if (dimmer < 1 || dimmer > kDimmerCount)
        return;
    editable().dimmers[static_cast<std::size_t>(dimmer)] = clampedByte(level, kMaxDimmerLevel);
    view.showRelaysAndDimming();
}

void ScenePageActions::setRelayNote(int relay, const std::u16string& note)
{
    if (relay >= 1 && relay <= kRelayCount)
        table.relayNotes[static_cast<std::size_t>(relay)] = note.substr(0, kMaxNote);
}

void ScenePageActions::setDimmerNote(int dimmer, const std::u16string& note)
{
    if (dimmer >= 1 && dimmer <= kDimmerCount)
        table.dimmerNotes[static_cast<std::size_t>(dimmer)] = note.substr(0, kMaxNote);
}

void ScenePageActions::clickEffect(int effect)
{
    if (effect < 1 || effect > kMaxSceneEffect)
        return;
    if (editingOn) {
        toggleSceneEffect(editable(), effect);
        view.showEffects();
        view.showSceneButtons();
        return;
    }
    // switchEffect parks the current effect's materials and loads the chosen one's.
    materialFiles.switchEffect(effect);
    view.openEffectEditor();
}

void ScenePageActions::setEditing(bool on)
{
    editingOn = on;
    view.showEditingLock(on);
}

void ScenePageActions::pasteScene()
{
    if (clipboard.paste(table, currentScene))
        view.showScene();
}

void ScenePageActions::setWallPanelScene(int value)
{
    editable().wallPanelScene = clampedByte(value, kMaxAssociation);
    view.showScene();
}

void ScenePageActions::setVodScene(int value)
{
    editable().vodScene = clampedByte(value, kMaxAssociation);
    view.showScene();
}

void ScenePageActions::setEffectsUnitSound(int value)
{
    editable().effectsUnitSound = clampedByte(value, kMaxEffectsUnitSound);
    view.showScene();
}

void ScenePageActions::setAudioSource(int value)
{
    editable().audioSource = clampedByte(value, kMaxAudioSource);
    view.showScene();
}

void ScenePageActions::restoreDefaultAssociations()
{
    if (!prompt.ask(std::u16string(kAskDefaultAssociations)))
        return;
    table.setDefaultAssociations();
    view.showScene();
}

void ScenePageActions::importAllEffects()
{
    if (!prompt.ask(std::u16string(kAskImportAllEffects)))
        return;
    // The import parks nothing: on success every temporary file is replaced and no effect is
    // current; a bad file leaves the current effect and its materials as they were.
    if (effectFiles.importAllEffects())
        editingContext.currentEffect = 0;
    view.showEffects();
}

void ScenePageActions::exportAllEffects()
{
    effectFiles.exportAllEffects();
}

} // namespace rz::scenes
