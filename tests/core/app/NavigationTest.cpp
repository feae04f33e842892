#include "core/app/Navigation.h"
#include "core/app/Notifier.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace rz;

namespace {

struct Case {
    int button;
    ScenePageMode sceneMode;
    bool airConditioner;
    std::optional<PageId> page;
};

// Which page each function button opens, with the scene button's and light button's switches.
TEST(Navigation, ButtonsOpenTheirPages)
{
    const Case cases[] = {
        {1, ScenePageMode::Scene, false, PageId::LightControl},
        {1, ScenePageMode::Scene, true, PageId::AirConditioner},
        {2, ScenePageMode::Scene, false, std::nullopt}, // no such button
        {3, ScenePageMode::Scene, false, PageId::FixtureLibrary},
        {4, ScenePageMode::Scene, false, PageId::Scene},
        {4, ScenePageMode::Effect, false, PageId::Effect},
        {4, ScenePageMode::Material, false, PageId::Material},
        {5, ScenePageMode::Scene, false, PageId::Test},
        {6, ScenePageMode::Scene, false, PageId::Download},
        {7, ScenePageMode::Scene, false, PageId::Rdm},
        {8, ScenePageMode::Scene, false, std::nullopt},
    };
    for (const Case& c : cases) {
        Navigation nav;
        nav.setScenePageMode(c.sceneMode);
        nav.setLightButtonOpensAirConditioner(c.airConditioner);
        std::vector<PageId> opened;
        int rdmCloses = 0;
        nav.openPage = [&](PageId p) { opened.push_back(p); };
        nav.closeRdm = [&] { ++rdmCloses; };
        nav.clickFunctionButton(c.button);
        SCOPED_TRACE(c.button);
        if (!c.page) {
            EXPECT_TRUE(opened.empty());
            EXPECT_EQ(nav.selectedButton(), Navigation::kNoButton);
            continue;
        }
        EXPECT_EQ(opened, std::vector<PageId>{*c.page});
        EXPECT_EQ(nav.selectedButton(), c.button);
        EXPECT_EQ(rdmCloses, c.button == Navigation::kRdmButton ? 0 : 1); // Fun_Rdm_Close
    }
}

TEST(Navigation, ShownPageSelectsItsButtonAndPagesOutsideTheBarSelectNone)
{
    Navigation nav;
    std::vector<int> changes;
    const Subscription watch = nav.selectedButtonChanged.subscribe([&](int k) { changes.push_back(k); });
    nav.pageShown(PageId::Effect);
    EXPECT_EQ(nav.selectedButton(), Navigation::kSceneButton);
    nav.pageShown(PageId::Material); // same button: no change reported
    nav.pageShown(PageId::Upgrade);
    EXPECT_EQ(nav.selectedButton(), Navigation::kNoButton);
    nav.pageShown(PageId::AirConditioner);
    EXPECT_EQ(changes, (std::vector<int>{4, 0, 1}));
    EXPECT_EQ(nav.shownPage(), PageId::AirConditioner);
}

TEST(Navigation, ScenePageModeIsAnnouncedOncePerChange)
{
    Navigation nav;
    std::vector<ScenePageMode> modes;
    const Subscription watch = nav.scenePageModeChanged.subscribe([&](ScenePageMode m) { modes.push_back(m); });
    nav.setScenePageMode(ScenePageMode::Effect);
    nav.setScenePageMode(ScenePageMode::Effect);
    nav.setScenePageMode(ScenePageMode::Scene);
    EXPECT_EQ(modes, (std::vector<ScenePageMode>{ScenePageMode::Effect, ScenePageMode::Scene}));
}

TEST(Notifier, SubscriptionsEndWithTheirHandleAndDuringANotification)
{
    Notifier<int> changed;
    std::vector<int> first, second;
    Subscription a = changed.subscribe([&](int v) { first.push_back(v); });
    Subscription b;
    b = changed.subscribe([&](int v) {
        second.push_back(v);
        a.reset(); // a handler may end another one while being notified
    });
    changed.notify(1);
    changed.notify(2);
    EXPECT_EQ(first, std::vector<int>{1});
    EXPECT_EQ(second, (std::vector<int>{1, 2}));
    b.reset();
    changed.notify(3);
    EXPECT_EQ(second, (std::vector<int>{1, 2}));
    EXPECT_FALSE(changed.hasListeners());

    // A handle that outlives its notifier ends quietly.
    Subscription late;
    {
        Notifier<> gone;
        late = gone.subscribe([] {});
    }
    late.reset();
}

TEST(Notifier, CopiedModelKeepsItsListenersOnTheOriginal)
{
    struct Model {
        int value = 0;
        Notifier<> changed;
    };
    Model original;
    int calls = 0;
    const Subscription watch = original.changed.subscribe([&] { ++calls; });
    Model copy = original;
    copy.changed.notify();
    EXPECT_EQ(calls, 0);
    original = copy; // replacing the model's value keeps who watches it
    original.changed.notify();
    EXPECT_EQ(calls, 1);
}

} // namespace
