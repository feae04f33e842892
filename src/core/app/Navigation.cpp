#include "core/app/Navigation.h"

namespace rz {

std::optional<PageId> Navigation::pageOfButton(int k) const
{
    switch (k) {
    case kLightButton:
        return lightOpensAirConditioner ? PageId::AirConditioner : PageId::LightControl;
    case kFixtureButton:
        return PageId::FixtureLibrary;
    case kSceneButton:
        switch (sceneMode) {
        case ScenePageMode::Effect:
            return PageId::Effect;
        case ScenePageMode::Material:
            return PageId::Material;
        case ScenePageMode::Scene:
            break;
        }
        return PageId::Scene;
    case kTestButton:
        return PageId::Test;
    case kDownloadButton:
        return PageId::Download;
    case kRdmButton:
        return PageId::Rdm;
    default:
        return std::nullopt;
    }
}

void Navigation::clickFunctionButton(int k)
{
    const auto page = pageOfButton(k);
    if (!page)
        return;
    select(k);
    if (k != kRdmButton && closeRdm)
        closeRdm();
    open(*page);
}

void Navigation::open(PageId page)
{
    if (openPage)
        openPage(page);
}

void Navigation::pageShown(PageId page)
{
    shown = page;
    select(buttonOfPage(page));
}

int Navigation::buttonOfPage(PageId page)
{
    switch (page) {
    case PageId::LightControl:
    case PageId::AirConditioner:
        return kLightButton;
    case PageId::FixtureLibrary:
        return kFixtureButton;
    case PageId::Scene:
    case PageId::Effect:
    case PageId::Material:
        return kSceneButton;
    case PageId::Test:
        return kTestButton;
    case PageId::Download:
        return kDownloadButton;
    case PageId::Rdm:
        return kRdmButton;
    case PageId::Upgrade:
    case PageId::VersionNotes:
    case PageId::Picture:
        break;
    }
    return kNoButton;
}

void Navigation::setScenePageMode(ScenePageMode mode)
{
    if (sceneMode == mode)
        return;
    sceneMode = mode;
    scenePageModeChanged.notify(mode);
}

void Navigation::select(int k)
{
    if (selected == k)
        return;
    selected = k;
    selectedButtonChanged.notify(k);
}

} // namespace rz
