#include "app/ProgramPages.h"

#include "ui/effects/EffectPage.h"
#include "ui/fixtures/FixturePage.h"
#include "ui/rdm/RdmPage.h"
#include "ui/testtools/TestPage.h"
#include "ui/lightcontrol/AirConditionerPage.h"
#include "ui/lightcontrol/LightControlPage.h"
#include "ui/lightcontrol/VersionNotesPage.h"
#include "ui/materials/MaterialPage.h"
#include "ui/scenes/ScenePage.h"
#include "ui/shell/PageContext.h"
#include "ui/shell/PageHost.h"
#include "ui/shell/TitleBar.h"
#include "ui/transfer/DownloadPage.h"
#include "ui/transfer/UpgradePage.h"

namespace rz::app {

ProgramPages::ProgramPages(ui::PageContext& context, ui::TitleBar& bar) : context(context), bar(bar) {}

void ProgramPages::prepare(PageId id)
{
    if (built.contains(id))
        return;
    ui::Page* page = create(id);
    if (!page)
        return;
    built[id] = page;
    context.host.preparePage(page);
}

ui::Page* ProgramPages::create(PageId id)
{
    switch (id) {
    case PageId::FixtureLibrary:
        return new ui::FixturePage(context);
    case PageId::Download:
        return new ui::DownloadPage(context);
    case PageId::Material:
        return new ui::MaterialPage(context);
    case PageId::Scene:
        return new ui::ScenePage(context);
    case PageId::Upgrade: {
        auto* page = new ui::UpgradePage(context);
        QObject::connect(page, &ui::UpgradePage::logoVisibilityChanged, &bar, &ui::TitleBar::setLogoShown);
        QObject::connect(page, &ui::UpgradePage::developmentModeEntered, &bar,
                         &ui::TitleBar::showDevelopmentModeButton);
        return page;
    }
    case PageId::Test:
        return new ui::TestPage(context);
    case PageId::Rdm: {
        auto* page = new ui::RdmPage(context);
        context.navigation.closeRdm = [page] { page->closeRdm(); };
        return page;
    }
    case PageId::LightControl:
        return new ui::LightControlPage(context);
    case PageId::AirConditioner:
        return new ui::AirConditionerPage(context);
    case PageId::VersionNotes:
        return new ui::VersionNotesPage(context);
    case PageId::Picture:
        return new ui::PicturePage(context);
    case PageId::Effect:
        return new ui::EffectPage(context);
    default:
        return nullptr;
    }
}

void ProgramPages::open(PageId id)
{
    if (ui::Page* p = page(id))
        p->open();
}

ui::Page* ProgramPages::page(PageId id) const
{
    const auto it = built.find(id);
    return it == built.end() ? nullptr : it->second;
}

} // namespace rz::app
