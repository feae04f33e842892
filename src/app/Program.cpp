#include "app/Program.h"
#include "app/ProgramPages.h"

#include "ui/monitor/MonitorWindow.h"
#include "ui/testtools/DevelopmentWindow.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/PageContext.h"
#include "ui/shell/PageHost.h"
#include "ui/shell/QtFileChooser.h"
#include "ui/shell/QtPrompt.h"
#include "ui/shell/SingleInstance.h"
#include "ui/shell/SplashPage.h"
#include "ui/shell/TitleBar.h"
#include "ui/widgets/WheelRouter.h"

#include "io/QtTransportOpener.h"

#include "core/app/SettingsFile.h"
#include "core/fixtures/ChannelDefinitions.h"
#include "core/materials/StepClipboard.h"
#include "core/show/ShowRoom.h"
#include "core/show/ShowTexts.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/FirmwareUpgrade.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QMessageBox>

namespace rz::app {

namespace {
// While a wait holds the event loop, the main loop looks this often whether it has ended.
constexpr int kWaitRecheckMs = 10;
} // namespace

Program::Program(std::filesystem::path dataRoot) : root(std::move(dataRoot)), exit(root)
{
    wheel = std::make_unique<ui::WheelRouter>();
    wheel->closing = [this] { return exit.exitRequested(); };
    wheel->onArrowKey = [this] { wakeLoop(); };
    controller = std::make_unique<link::Link>(qtClock, qtYield);
    live = std::make_unique<liveout::LiveSender>(
        [this](uint8_t command, std::span<const uint8_t> payload) { controller->send(command, payload); },
        [this] { return connection && connection->connected(); }, [this] { return roomOutputs(); });
    watches.push_back(live->modeChanged.subscribe([this](int) { wakeLoop(); }));
    addStartupSteps();
    wireLoopAndExit();
}

Program::~Program()
{
    // The pages live in the window and use the show, the transfers and the live sender: the
    // window goes first, then what its pages used.
    window.reset();
    pages.reset();
    // The transports go before the link: leave none of them attached to it.
    if (controller)
        controller->setTransport(nullptr);
}

bool Program::start()
{
    return startupSteps.run();
}

void Program::addStartupSteps()
{
    using S = StartupStep;
    startupSteps.add(S::SettingsPaths, [this] {
        settings = startSettings(root);
        colours = loadPersonalization(root);
        captionLook = colours.caption();
        debugRelays = std::make_unique<liveout::DebugRelays>(settings.paths.work);
        watches.push_back(debugRelays->changed.subscribe([this] { live->requestLiveFrames(); }));
    });
    startupSteps.add(S::DefaultShowPath, [this] { showPath = root / "SHOW.K_F"; });
    startupSteps.add(S::MainWindowCaption, [this] {
        window = std::make_unique<ui::MainWindow>();
        window->setCaptionPersonalization(captionLook);
        window->setCaptionText(u" ");
        QObject::connect(window.get(), &ui::MainWindow::closeRequested, [this] {
            exit.requestExit();
            wakeLoop();
        });
    });
    startupSteps.addCheck(S::SingleInstanceCheck, [this] {
        instanceLock = std::make_unique<ui::SingleInstanceLock>(root);
        if (instanceLock->acquire())
            return true;
        ui::QtPrompt(nullptr).message(std::u16string(alreadyRunningMessage));
        return false;
    });
    startupSteps.add(S::MouseWheelSetting, [this] {
        mouseWheelOff = readInt32Key(settings.paths.development, keys::kMouseWheelOff, mouseWheelOff);
        wheel->setWheelDisabled(mouseWheelOff == 1);
        wheel->installWheelHook(window.get());
    });
    startupSteps.add(S::ChannelDefinitionNames, [this] {
        show.channelDefinitions.initChannelNames(fixtures::customChannelNameFilePath(root));
    });
    startupSteps.add(S::EmptyShowSnapshot, [this] {
        createShowFile();
        file->ensureTemplate();
    });
    startupSteps.add(S::PrepareSplashPage, [this] {
        splash = new ui::SplashPage;
        window->pages()->preparePage(splash);
        if (captionLook.on)
            splash->loadPersonalPicture(root);
    });
    startupSteps.add(S::EmbedTitleBar, [this] { embedTitleBar(); });
    startupSteps.add(S::ShowSplashPage, [this] { window->pages()->showPage(splash); });
    startupSteps.add(S::PrepareFixtureLibraryPage, [this] {
        preparePages();
        pages->prepare(PageId::FixtureLibrary);
        pages->prepare(PageId::Material);
    });
    startupSteps.add(S::PrepareFirmwareUpgradePage, [this] { pages->prepare(PageId::Upgrade); });
    startupSteps.add(S::PrepareDownloadPage, [this] { pages->prepare(PageId::Download); });
    startupSteps.add(S::PrepareScenePage, [this] { pages->prepare(PageId::Scene); });
    startupSteps.add(S::PrepareTestPage, [this] { pages->prepare(PageId::Test); });
    startupSteps.add(S::PrepareRdmPage, [this] { pages->prepare(PageId::Rdm); });
    startupSteps.add(S::PrepareLightControlPage, [this] {
        pages->prepare(PageId::LightControl);
        pages->prepare(PageId::VersionNotes);
        pages->prepare(PageId::Picture);
    });
    startupSteps.add(S::PrepareAirConditionerPage, [this] { pages->prepare(PageId::AirConditioner); });
    startupSteps.add(S::PrepareEffectPage, [this] { pages->prepare(PageId::Effect); });
    startupSteps.add(S::LoadShow, [this] {
        file->loadShow();
        wireTitleBar();
    });
    startupSteps.add(S::OpenMainWindow, [this] { window->open(); });
    startupSteps.add(S::SettleWait, [this] { settle(100); });
    startupSteps.add(S::EnterMainLoop, [this] { enterMainLoop(); });
}

void Program::createShowFile()
{
    prompt = std::make_unique<ui::QtPrompt>(window.get(), &waits);
    chooser = std::make_unique<ui::QtFileChooser>(window.get(), root, &waits);
    file = std::make_unique<show::ShowFile>(show, root,
                                            show::ShowFileSeams{*prompt, *chooser, qtClock, qtYield, *this, this});
    transfers = std::make_unique<transfer::FileTransfer>(*controller,
                                                         [this] { return connection && connection->connected(); });
    transfers->programClosing = [this] { return exit.exitRequested(); };
    firmware = std::make_unique<transfer::FirmwareUpgrade>(*controller);
}

void Program::embedTitleBar()
{
    opener = std::make_unique<io::QtTransportOpener>(
        settings.paths.system,
        io::TestSocketNotices{
            .message = [this](const std::u16string& text) { ui::QtPrompt(window.get(), &waits).message(text); },
            .error =
                [this](const std::u16string& title, const std::u16string& text) {
                    const auto wait = ui::modalWait(&waits);
                    QMessageBox::critical(window.get(), QString::fromStdU16String(title),
                                          QString::fromStdU16String(text));
                },
        });
    opener->setSerialIdleHandler([this] { controller->clearReceived(); });

    bar = new ui::TitleBar(settings.paths, colours, navigation, *debugRelays, titleSettings);
    connection = std::make_unique<link::ConnectionManager>(*controller, *opener, settings.paths, *bar);
    connection->onConnected = [this] { live->requestLiveFrames(); };
    bar->setConnectionManager(connection.get());
    bar->beforeConnect = [this] { selectControllerChoice(); };
    window->embedTitleBar(bar);
    bar->load();
    prepareControllerChoice();
}

void Program::preparePages()
{
    materialEngine = std::make_unique<materials::MaterialEngine>(show.materials, show.library, show.editing, *live);
    materialEngine->install();
    effectPreview = std::make_unique<effects::EffectPreview>(show.effects, show.materials, show.editing,
                                                             show.barPosition, *materialEngine, *live);
    effectPreview->install();
    context = std::make_unique<ui::PageContext>(ui::PageContext{
        .show = show,
        .showFile = *file,
        .link = *controller,
        .connection = *connection,
        .live = *live,
        .debugRelays = *debugRelays,
        .materialEngine = *materialEngine,
        .effectPreview = *effectPreview,
        .transfer = *transfers,
        .firmware = *firmware,
        .navigation = navigation,
        .host = *window->pages(),
        .wheel = wheel.get(),
        .colours = colours,
        .titleBarSettings = titleSettings,
        .paths = settings.paths,
        .dataRoot = root,
        .prompt = *prompt,
        .chooser = *chooser,
        .clock = qtClock,
        .yield = qtYield,
        .waits = waits,
        .programClosing = [this] { return exit.exitRequested(); },
    });
    pages = std::make_unique<ProgramPages>(*context, *bar);
}

void Program::wireTitleBar()
{
    navigation.openPage = [this](PageId id) { pages->open(id); };
    bar->saveShow = [this] { file->saveShow(); };
    bar->toggleMonitor = [this] {
        // Built on first use; the window owns it.
        if (!monitor)
            monitor = new ui::MonitorWindow(*live, show, settings.paths, window.get());
        monitor->toggle();
    };
    bar->backupShow = [this] { file->backupShow(show::kBackupTagSaveButton); };
    bar->openDevelopmentWindow = [this] {
        // Built on first use; the window owns it.
        if (!developmentWindow)
            developmentWindow = new ui::DevelopmentWindow(*controller, *connection, window.get());
        developmentWindow->show();
        developmentWindow->raise();
    };
}

liveout::RoomOutputs Program::roomOutputs() const
{
    return show::roomOutputsOf(show, debugRelays.get());
}

void Program::prepareControllerChoice()
{
    if (!controllerChoice)
        return;
    if (controllerChoice->kind == ControllerChoice::Kind::serial) {
        // Listed and shown at once, chosen only when the user connects.
        connection->showKindForThisRun(connection->addSerialPort(controllerChoice->serialPort.toStdU16String()));
        return;
    }
    connection->showKindForThisRun(0); // "Wifi"
    // Configures the Wi-Fi link from the system file once, then points it at the chosen address
    // for this run; a later open only reopens the socket and keeps that address.
    link::Transport* current = controller->transport();
    opener->openWifi();
    opener->wifiTransport().configure(controllerChoice->host, QString::number(controllerChoice->port));
    if (current != controller->transport())
        controller->setTransport(current);
}

void Program::selectControllerChoice()
{
    if (!controllerChoice || controllerChoiceSelected)
        return;
    controllerChoiceSelected = true;
    if (controllerChoice->kind == ControllerChoice::Kind::serial) {
        connection->selectConnection(connection->addSerialPort(controllerChoice->serialPort.toStdU16String()));
    } else {
        connection->selectConnection(0);
    }
}

void Program::wireLoopAndExit()
{
    installPeriodicTasks(loop, tasks);
    tasks.exitCountdownStep = [this] { exit.step(); };
    tasks.keyboardScrolling = [this] { wheel->keyboardScrollingStep(); };
    tasks.liveTick = [this] { live->liveTick(); };
    // Slots 2 and 5 run only while the effect page is live; the preview tells the page.
    tasks.drumHitDisplay = [this] {
        if (effectPreview)
            effectPreview->drumDisplayTick();
    };
    tasks.beatMappingWarning = [this] {
        if (effectPreview)
            effectPreview->correspondenceWarningTick();
    };
    tasks.keepAlive = [this] {
        if (connection)
            connection->keepAliveTick();
    };
    tasks.connectionPoll = [this] {
        if (connection)
            connection->secondTick();
    };
    // Slots without work do not wake the loop.
    loop.setSlotActive(1, [this] { return exit.exitRequested(); });
    loop.setSlotActive(2, [this] { return live->liveOutputMode() == liveout::kModeEffect; });
    loop.setSlotActive(3, [this] { return wheel->keyboardScrollingPending(); });
    loop.setSlotActive(5, [this] { return live->liveOutputMode() == liveout::kModeEffect; });
    // Every wait counts, not only the link's: delays, modal boxes, nested event loops.
    loop.setWaitInProgress([this] { return waits.waiting() || controller->waitDepth() > 0; });
    loop.setExitDone([this] { return exit.exitDone(); });
    auto& actions = exit.actions();
    actions.sayGoodbyeToController = [this] {
        if (connection)
            connection->sayGoodbye();
    };
    actions.saveShow = [this] {
        if (file)
            file->saveShow();
    };
    // The backup itself honours "不自动备份" after storing the fixture groups.
    actions.backupShow = [this](std::u16string_view tag) {
        if (file)
            file->backupShow(tag);
    };
    actions.deleteStepClipboard = [this] { materials::StepClipboard(root).deleteStepClipboard(); };
    actions.closeSerialPort = [this] {
        if (opener)
            opener->closeSerial();
    };
    actions.closeWifi = [this] {
        if (connection)
            connection->closeLinks(); // detaches the link, then closes both transports
    };
    actions.hideMainWindow = [this] {
        if (window)
            window->hide();
    };
    actions.endProgram = [this] {
        loopTimer.stop();
        loopRunning = false;
        QCoreApplication::quit();
    };
}

void Program::settle(int ms)
{
    // Waits while the window system runs, like every other wait of the program.
    const auto wait = waits.enter();
    QEventLoop settleLoop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &settleLoop, &QEventLoop::quit);
    settleLoop.exec();
}

void Program::enterMainLoop()
{
    // Qt's event loop does the waiting between passes; the timer wakes it when the next slot
    // with work is due, not every millisecond.
    loopTimer.setTimerType(Qt::PreciseTimer);
    loopTimer.setSingleShot(true);
    QObject::connect(&loopTimer, &QTimer::timeout, [this] { runLoopPass(); });
    loopRunning = true;
    runLoopPass();
}

void Program::runLoopPass()
{
    if (!loopRunning)
        return;
    // Inside a wait no pass runs; look again a little later, without spinning.
    if (waits.waiting() || controller->waitDepth() > 0) {
        loopTimer.start(kWaitRecheckMs);
        return;
    }
    loop.runPass(qtClock.nowMs());
    if (!loopRunning || exit.exitDone())
        return;
    loopTimer.start(static_cast<int>(loop.msUntilNextPass(qtClock.nowMs())));
}

void Program::wakeLoop()
{
    if (loopRunning)
        loopTimer.start(0);
}

void Program::showLoaded(const std::filesystem::path& path)
{
    window->setCaptionText(path.u16string());
}

void Program::setTitleBarAvailable(bool available)
{
    if (bar)
        bar->setEnabled(available);
}

LocalDateTime Program::localNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return LocalDateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

} // namespace rz::app
