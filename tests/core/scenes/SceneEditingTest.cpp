#include "core/scenes/SceneEditing.h"

#include <gtest/gtest.h>

using namespace rz::scenes;

TEST(SceneEditing, ButtonCaptionsShowNameAndBracketAnEffect)
{
    SceneTable t;
    t.applyFixedSceneNames();
    t.scene(7).name = u"动感";
    t.scene(8).effect = 3;
    t.scene(9).name = u"x";
    t.scene(9).effect = 50;
    EXPECT_EQ(sceneButtonCaption(t, 1), u"1");
    EXPECT_EQ(sceneButtonCaption(t, 7), u"7-动感");
    EXPECT_EQ(sceneButtonCaption(t, 8), u"[8]");
    EXPECT_EQ(sceneButtonCaption(t, 9), u"[9-x]");
    EXPECT_EQ(sceneButtonCaption(t, 31), u"31-全开");
    EXPECT_EQ(sceneButtonCaption(t, 50), u"50");

    EXPECT_EQ(effectButtonCaption(u"慢摇", true), u"[慢摇]");
    EXPECT_EQ(effectButtonCaption(u"慢摇", false), u"慢摇");
}

TEST(SceneEditing, ClickingTheScenesOwnEffectClearsItAndItsBrackets)
{
    SceneTable t;
    Scene& s = t.scene(2);
    toggleSceneEffect(s, 5);
    EXPECT_EQ(s.effect, 5);
    EXPECT_TRUE(t.effectIsUsed(5));
    toggleSceneEffect(s, 6);
    EXPECT_EQ(s.effect, 6) << "another effect replaces it";
    toggleSceneEffect(s, 6);
    EXPECT_EQ(s.effect, 0);
    EXPECT_EQ(effectButtonCaption(u"e6", t.effectIsUsed(6)), u"e6");

    t.scene(3).effect = 6; // still used by another scene: brackets stay
    toggleSceneEffect(s, 6);
    toggleSceneEffect(s, 6);
    EXPECT_EQ(effectButtonCaption(u"e6", t.effectIsUsed(6)), u"[e6]");

    for (int bad : {0, 51, -1}) {
        toggleSceneEffect(s, bad);
        EXPECT_EQ(s.effect, 0) << bad;
    }
}

TEST(SceneEditing, RelaysToggleBetweenZeroAndOne)
{
    Scene s;
    s.relays[4] = 9;
    toggleRelay(s, 4);
    EXPECT_EQ(s.relays[4], 0) << "any non-zero level counts as on";
    toggleRelay(s, 4);
    EXPECT_EQ(s.relays[4], 1);
    toggleRelay(s, 24);
    EXPECT_EQ(s.relays[24], 1);
    const Scene before = s;
    toggleRelay(s, 0);
    toggleRelay(s, 25);
    EXPECT_EQ(s, before);
}

TEST(SceneEditing, PasteWithNothingCopiedDoesNothing)
{
    SceneTable t;
    t.scene(1).effect = 4;
    t.scene(1).relays[1] = 1;
    const SceneTable before = t;
    SceneClipboard clipboard;
    EXPECT_FALSE(clipboard.paste(t, 2));
    EXPECT_EQ(t, before);

    clipboard.copy(1);
    t.scene(1).effect = 9; // paste takes the scene as it is at paste time
    ASSERT_TRUE(clipboard.paste(t, 2));
    EXPECT_EQ(t.scene(2).effect, 9);
    EXPECT_EQ(t.scene(2).relays[1], 1);
}

TEST(SceneEditing, PanelsFollowMainsDimmingAndSceneNumber)
{
    struct Case {
        uint8_t mains, thyristor;
        int scene;
        bool relays;
        std::optional<bool> dimming;
        bool associations;
    };
    const Case cases[] = {
        {0, 0, 1, true, std::nullopt, true}, // dimming panel left as it was
        {0, 1, 30, true, true, true},
        {1, 0, 31, false, false, false},
        {1, 1, 50, false, true, false}, // thyristor dimming shows it again
    };
    for (const Case& c : cases) {
        Scene s;
        s.mainsByDmx = c.mains;
        const ScenePanels p = scenePanels(s, c.scene, c.thyristor);
        EXPECT_EQ(p.relays, c.relays) << "mains " << int(c.mains) << " thyristor " << int(c.thyristor);
        EXPECT_EQ(p.dimming, c.dimming) << "mains " << int(c.mains) << " thyristor " << int(c.thyristor);
        EXPECT_EQ(p.associationsAndName, c.associations) << "scene " << c.scene;
    }
}
