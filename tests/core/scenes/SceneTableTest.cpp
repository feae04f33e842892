#include "core/scenes/SceneTable.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace rz::scenes;

TEST(SceneContent, OnlyMainsEffectRelaysAndDimmersCount)
{
    struct Case {
        const char* what;
        std::function<void(Scene&)> set;
        bool content;
    };
    const Case cases[] = {
        {"nothing", [](Scene&) {}, false},
        {"name", [](Scene& s) { s.name = u"动感"; }, false},
        {"associations", [](Scene& s) { s.wallPanelScene = 3; s.vodScene = 4; }, false},
        {"sound and source", [](Scene& s) { s.effectsUnitSound = 2; s.audioSource = 6; }, false},
        {"mains by DMX", [](Scene& s) { s.mainsByDmx = 1; }, true},
        {"effect", [](Scene& s) { s.effect = 50; }, true},
        {"relay 24", [](Scene& s) { s.relays[24] = 1; }, true},
        {"dimmer 8", [](Scene& s) { s.dimmers[8] = 1; }, true},
        {"index 0 of the tables", [](Scene& s) { s.relays[0] = 1; s.dimmers[0] = 9; }, false},
    };
    for (const Case& c : cases) {
        Scene s;
        c.set(s);
        EXPECT_EQ(s.hasContent(), c.content) << c.what;
    }
}

TEST(SceneTable, CopySceneTakesWhatTheScenePlaysButNotNameOrAssociations)
{
    SceneTable t;
    Scene& from = t.scene(4);
    from.name = u"源";
    from.effect = 12;
    from.mainsByDmx = 1;
    from.relays[1] = from.relays[24] = 1;
    from.dimmers[3] = 77;
    from.wallPanelScene = 4;
    from.vodScene = 5;
    from.effectsUnitSound = 6;
    from.audioSource = 2;

    Scene& to = t.scene(9);
    to.name = u"目标";
    to.wallPanelScene = 9;
    to.vodScene = 10;
    to.relays[2] = 1;  // replaced: the relay table is copied whole
    to.dimmers[1] = 5; // likewise

    t.copyScene(4, 9);
    EXPECT_EQ(to.effect, 12);
    EXPECT_EQ(to.mainsByDmx, 1);
    EXPECT_EQ(to.relays, from.relays);
    EXPECT_EQ(to.dimmers, from.dimmers);
    EXPECT_EQ(to.effectsUnitSound, 6);
    EXPECT_EQ(to.audioSource, 2);
    EXPECT_EQ(to.name, u"目标");
    EXPECT_EQ(to.wallPanelScene, 9);
    EXPECT_EQ(to.vodScene, 10);
    EXPECT_EQ(t.scene(4).name, u"源") << "the source is untouched";

    const SceneTable before = t;
    for (auto [from, to] : {std::pair{0, 9}, {51, 9}, {4, 0}, {4, 51}})
        t.copyScene(from, to);
    EXPECT_EQ(t, before) << "numbers outside 1..50 do nothing";
}

TEST(SceneTable, DefaultAssociationsCoverScenes1To30Only)
{
    SceneTable t;
    for (int i = 1; i <= kSceneCount; ++i) {
        t.scene(i).wallPanelScene = 30;
        t.scene(i).vodScene = 0;
    }
    t.setDefaultAssociations();
    for (int i = 1; i <= 30; ++i) {
        EXPECT_EQ(t.scene(i).wallPanelScene, i);
        EXPECT_EQ(t.scene(i).vodScene, i);
    }
    for (int i = 31; i <= kSceneCount; ++i) {
        EXPECT_EQ(t.scene(i).wallPanelScene, 30) << "scene " << i;
        EXPECT_EQ(t.scene(i).vodScene, 0) << "scene " << i;
    }
}

TEST(SceneTable, FixedNamesReplaceWhateverScenes31To35Were)
{
    SceneTable t;
    for (int i = 30; i <= 36; ++i)
        t.scene(i).name = u"x";
    t.applyFixedSceneNames();
    EXPECT_EQ(t.scene(30).name, u"x");
    EXPECT_EQ(t.scene(31).name, u"全开");
    EXPECT_EQ(t.scene(32).name, u"全关");
    EXPECT_EQ(t.scene(33).name, u"静音/暂停");
    EXPECT_EQ(t.scene(34).name, u"合唱");
    EXPECT_EQ(t.scene(35).name, u"电音");
    EXPECT_EQ(t.scene(36).name, u"x");
}

TEST(SceneTable, ClearAllEmptiesScenesAndNotes)
{
    SceneTable t = rz::test::richSceneTable();
    t.clearAllScenes();
    EXPECT_EQ(t, SceneTable{});
}

TEST(SceneTable, EffectIsUsedByAnySceneIncludingScenesAbove30)
{
    SceneTable t;
    t.scene(50).effect = 7;
    EXPECT_TRUE(t.effectIsUsed(7));
    EXPECT_FALSE(t.effectIsUsed(8));
    EXPECT_FALSE(t.effectIsUsed(0)) << "0 means none, not an effect";
    t.scene(0).effect = 9; // index 0 is not a scene
    EXPECT_FALSE(t.effectIsUsed(9));
}

TEST(SceneTable, StoredCurrentSceneOutside1To50BecomesScene1)
{
    const std::pair<long long, int> cases[] = {{0, 1}, {1, 1}, {33, 33}, {50, 50}, {51, 1}, {255, 1}, {-1, 1}};
    for (auto [stored, scene] : cases)
        EXPECT_EQ(sceneFromSetting(stored), scene) << "stored " << stored;
}
