#pragma once
// Which page the title bar's buttons open and which button shows as selected. The title bar
// draws this state and passes clicks in; pages change the scene button's target (effect,
// material) and the light button's (air conditioner) here.
#include "core/app/Notifier.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace rz {

enum class PageId : uint8_t {
    LightControl,
    AirConditioner,
    FixtureLibrary,
    Scene,
    Effect,
    Material,
    Test,
    Download,
    Rdm,
    Upgrade,
    VersionNotes,
    Picture,
};

// What the scene button opens; its caption follows ("场景", "效果", "素材").
enum class ScenePageMode : uint8_t { Scene = 0, Effect = 1, Material = 2 };

class Navigation {
public:
    // Function button numbers (Command功能选择(k)); 0 = none selected.
    static constexpr int kNoButton = 0, kLightButton = 1, kFixtureButton = 3, kSceneButton = 4,
                         kTestButton = 5, kDownloadButton = 6, kRdmButton = 7;

    // A function button: it shows as selected, the RDM page is closed unless it is the RDM
    // button, then its page opens. Unknown numbers do nothing.
    void clickFunctionButton(int k);
    // The page a button opens now.
    std::optional<PageId> pageOfButton(int k) const;
    // Opens a page by its id (the counters' double click, a page's own buttons).
    void open(PageId page);
    // A page was shown: its button shows as selected; pages no button leads to (the upgrade
    // page, the version notes) leave none selected.
    void pageShown(PageId page);
    static int buttonOfPage(PageId page);

    void setScenePageMode(ScenePageMode mode);
    ScenePageMode scenePageMode() const { return sceneMode; }
    // The light button opens the air-conditioner page until the page leads back.
    void setLightButtonOpensAirConditioner(bool airConditioner) { lightOpensAirConditioner = airConditioner; }
    bool lightButtonOpensAirConditioner() const { return lightOpensAirConditioner; }

    int selectedButton() const { return selected; }
    std::optional<PageId> shownPage() const { return shown; }

    // Shows a page; a page that does not exist yet does nothing.
    std::function<void(PageId)> openPage;
    // Fun_Rdm_Close.
    std::function<void()> closeRdm;

    Notifier<int> selectedButtonChanged;
    Notifier<ScenePageMode> scenePageModeChanged;

private:
    void select(int k);

    int selected = kNoButton;
    ScenePageMode sceneMode = ScenePageMode::Scene;
    bool lightOpensAirConditioner = false;
    std::optional<PageId> shown;
};

} // namespace rz
