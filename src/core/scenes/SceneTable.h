#pragma once
// The 50 scenes of a show and the show-wide relay and dimmer notes. A scene is what the
// controller switches the room to: one effect, 24 relays, 8 thyristor dimmer levels, mains by
// DMX512, an effects-unit sound program, an audio source, and for scenes 1..30 the wall-panel
// and VOD scene numbers it answers to. Scenes 31..35 carry fixed names.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace rz::scenes {

inline constexpr int kSceneCount = 50;
inline constexpr int kRelayCount = 24;
inline constexpr int kDimmerCount = 8;
inline constexpr int kAssociatedScenes = 30;   // scenes 1..30 have associations
inline constexpr uint8_t kMaxAssociation = 30; // association targets 0..30 (0 = none)
inline constexpr uint8_t kMaxSceneEffect = 50; // effect 0 = none, 1..50
inline constexpr uint8_t kMaxDimmerLevel = 99;
inline constexpr uint8_t kMaxEffectsUnitSound = 6;
inline constexpr uint8_t kMaxAudioSource = 6; // 6 = none
inline constexpr std::size_t kMaxSceneName = 20;
inline constexpr std::size_t kMaxNote = 20;

struct Scene {
    std::u16string name;
    uint8_t effect = 0;     // 0 none, 1..50
    uint8_t mainsByDmx = 0; // 0/1
    // Indexed 1..24 and 1..8; entry 0 is never used.
    std::array<uint8_t, kRelayCount + 1> relays{};
    std::array<uint8_t, kDimmerCount + 1> dimmers{}; // levels 0..99
    uint8_t wallPanelScene = 0; // 0..30
    uint8_t vodScene = 0;       // 0..30
    uint8_t effectsUnitSound = 0;
    uint8_t audioSource = 0;

    // Mains by DMX, an effect, any relay or any dimmer; names, associations, sound program
    // and audio source do not count.
    bool hasContent() const;

    bool operator==(const Scene&) const = default;
};

// Scenes 31..35.
inline constexpr int kFirstFixedNameScene = 31;
inline constexpr std::array<std::u16string_view, 5> kFixedSceneNames{
    u"全开", u"全关", u"静音/暂停", u"合唱", u"电音"};

// Offered by the scene-name box; a name is free text.
inline constexpr std::array<std::u16string_view, 10> kSuggestedSceneNames{
    u"动感", u"柔和", u"明亮", u"抒情/标准", u"浪漫", u"清洁", u"商务", u"朦胧", u"激情", u"演唱会"};

// List texts of effectsUnitSound 0..6 (list position = value).
inline constexpr std::array<std::u16string_view, 7> kEffectsUnitSoundNames{
    u"无", u"1整蛊", u"2唱将", u"3和声", u"4搞怪", u"5迪曲", u"6电影"};

// List texts of audioSource 0..6: "CH1".."CH6", then none.
inline constexpr std::array<std::u16string_view, 7> kAudioSourceNames{
    u"CH1", u"CH2", u"CH3", u"CH4", u"CH5", u"CH6", u"无效"};

class SceneTable {
public:
    // i in 0..50 (0 exists and is never used); out of range is a caller error.
    Scene& scene(int i) { return scenes.at(static_cast<std::size_t>(i)); }
    const Scene& scene(int i) const { return scenes.at(static_cast<std::size_t>(i)); }

    // Every scene field and every note back to empty (the fixed names included).
    void clearAllScenes();
    // Copies mains by DMX, effect, relays, dimmers, sound program and audio source of scene
    // `from` into scene `to`; name and associations stay. Numbers outside 1..50 do nothing.
    void copyScene(int from, int to);
    // Scenes 1..30 answer to the wall-panel and VOD scene of their own number; 31..50 stay.
    void setDefaultAssociations();
    // Scenes 31..35 get their fixed names back.
    void applyFixedSceneNames();
    // True when any scene plays effect e (1..50), so its button shows it as used.
    bool effectIsUsed(int effect) const;

    // Indexed 1..24 and 1..8; entry 0 is never used.
    std::array<std::u16string, kRelayCount + 1> relayNotes{};
    std::array<std::u16string, kDimmerCount + 1> dimmerNotes{};

    bool operator==(const SceneTable&) const = default;

private:
    std::array<Scene, kSceneCount + 1> scenes{};
};

// The current scene as stored in the settings ("最后编辑场景"): 0 or anything above 50 becomes 1.
int sceneFromSetting(long long stored);

} // namespace rz::scenes
