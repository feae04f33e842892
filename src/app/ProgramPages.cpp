#include "app/ProgramPages.h"

#include "app/Program.h"
#include "core/fixtures/ChannelDefinitions.h"
#include "core/materials/StepClipboard.h"
#include "core/show/ShowTexts.h"
#include "ui/fixtures/FixturePage.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/PageHost.h"
#include "ui/shell/TitleBar.h"
#include "ui/transfer/DownloadPage.h"
#include "ui/transfer/UpgradePage.h"

#include <QDateTime>

namespace rz::app {

ProgramPages::ProgramPages(Program& program) : program(program)
{
    using S = StartupStep;
    auto& steps = program.startup();
    steps.add(S::ChannelDefinitionNames, [this] {
        show.channelDefinitions.initChannelNames(
            fixtures::customChannelNameFilePath(this->program.dataRoot()));
    });
    steps.add(S::EmptyShowSnapshot, [this] {
        createShowFile();
        file->ensureTemplate();
    });
    steps.add(S::PrepareFixtureLibraryPage, [this] { prepareFixturePage(); });
    steps.add(S::PrepareFirmwareUpgradePage, [this] { prepareTransferPages(); });
    steps.add(S::LoadShow, [this] {
        file->loadShow();
        openTitleBarPages();
    });
    wireExit();
}

ProgramPages::~ProgramPages() = default;

void ProgramPages::createShowFile()
{
    ui::MainWindow* window = program.mainWindow();
    prompt = std::make_unique<ui::QtPrompt>(window);
    chooser = std::make_unique<ui::QtFileChooser>(window, program.dataRoot());
    file = std::make_unique<show::ShowFile>(
        show, program.dataRoot(),
        show::ShowFileSeams{*prompt, *chooser, program.clock(), program.yield(), *this, this});
    transfers = std::make_unique<transfer::FileTransfer>(program.controllerLink(), [this] {
        auto* connection = this->program.connectionManager();
        return connection && connection->connected();
    });
    transfers->programClosing = [this] { return this->program.exitSequence().exitRequested(); };
    firmware = std::make_unique<transfer::FirmwareUpgrade>(program.controllerLink());
}

void ProgramPages::prepareFixturePage()
{
    fixturePage = new ui::FixturePage(show.library, show.fixtureGroups, show.channelDefinitions,
                                      program.liveSender(), program.dataRoot(), *prompt, *chooser);
    program.mainWindow()->pages()->preparePage(fixturePage);
    fixturePage->setWheelRouter(&program.wheelRouter());
    fixturePage->applyColourScheme(program.colourScheme());
}

void ProgramPages::prepareTransferPages()
{
    ui::MainWindow& window = *program.mainWindow();
    ui::TitleBar& bar = *program.titleBar();
    link::ConnectionManager& connection = *program.connectionManager();
    const SettingsPaths& paths = program.settingsStartup().paths;

    upgradePage = new ui::UpgradePage(ui::UpgradePage::Services{
        window, program.controllerLink(), connection, *transfers, *firmware, program.liveSender(),
        paths, bar.titleBarSettings(), *prompt, *chooser, program.dataRoot(),
        [this] { return this->program.exitSequence().exitRequested(); }});
    window.pages()->preparePage(upgradePage);
    QObject::connect(upgradePage, &ui::UpgradePage::logoVisibilityChanged, &bar, &ui::TitleBar::setLogoShown);
    QObject::connect(upgradePage, &ui::UpgradePage::developmentModeEntered, &bar,
                     &ui::TitleBar::showDevelopmentModeButton);

    downloadPage = new ui::DownloadPage(ui::DownloadPage::Services{
        window, program.controllerLink(), connection, *transfers, *file, program.liveSender(), paths});
    window.pages()->preparePage(downloadPage);
}

void ProgramPages::openTitleBarPages()
{
    ui::TitleBar& bar = *program.titleBar();
    ui::PageHost& host = *program.mainWindow()->pages();
    bar.setPageOpener(ui::TitlePage::fixtureLibrary, [this, &host] {
        host.showPage(fixturePage);
        fixturePage->showPage();
    });
    bar.setPageOpener(ui::TitlePage::download, [this] { downloadPage->showPage(); });
    bar.setPageOpener(ui::TitlePage::upgrade, [this, &host] {
        host.showPage(upgradePage);
        upgradePage->showPage();
    });
    bar.saveShow = [this] { file->saveShow(); };
    bar.backupShow = [this] { file->backupShow(show::kBackupTagSaveButton); };
}

void ProgramPages::wireExit()
{
    auto& actions = program.exitSequence().actions();
    actions.saveShow = [this] {
        if (file)
            file->saveShow();
    };
    // The backup itself honours "不自动备份" after storing the fixture groups.
    actions.backupShow = [this](std::u16string_view tag) {
        if (file)
            file->backupShow(tag);
    };
    actions.deleteStepClipboard = [this] { materials::StepClipboard(program.dataRoot()).deleteStepClipboard(); };
}

void ProgramPages::showLoaded(const std::filesystem::path& path)
{
    program.mainWindow()->setCaptionText(path.u16string());
}

void ProgramPages::setTitleBarAvailable(bool available)
{
    if (program.titleBar())
        program.titleBar()->setEnabled(available);
}

LocalDateTime ProgramPages::localNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return LocalDateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

} // namespace rz::app
