#include "app/Program.h"
#include "app/ProgramPages.h"

#include "ui/shell/MainWindow.h"
#include "ui/shell/PageHost.h"
#include "ui/shell/QtPrompt.h"
#include "ui/shell/SingleInstance.h"
#include "ui/shell/SplashPage.h"
#include "ui/shell/TitleBar.h"
#include "ui/widgets/WheelRouter.h"

#include "io/QtTransportOpener.h"

#include "core/app/SettingsFile.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>

namespace rz::app {

Program::Program(std::filesystem::path dataRoot) : root(std::move(dataRoot)), exit(root)
{
    wheel = std::make_unique<ui::WheelRouter>();
    wheel->closing = [this] { return exit.exitRequested(); };
    controller = std::make_unique<link::Link>(qtClock, qtYield);
    live = std::make_unique<liveout::LiveSender>(
        [this](uint8_t command, std::span<const uint8_t> payload) { controller->send(command, payload); },
        [this] { return connection && connection->connected(); }, [this] { return roomOutputs(); });
    addCoreSteps();
    wireLoopAndExit();
    showPages = std::make_unique<ProgramPages>(*this);
}

Program::~Program()
{
    // The pages live in the window and use the show, the transfers and the live sender: the
    // window goes first, then what its pages used.
    window.reset();
    showPages.reset();
    // The transports go before the link: leave none of them attached to it.
    if (controller)
        controller->setTransport(nullptr);
}

bool Program::start()
{
    return startupSteps.run();
}

void Program::addCoreSteps()
{
    using S = StartupStep;
    startupSteps.add(S::SettingsPaths, [this] {
        settings = startSettings(root);
        colours = loadPersonalization(root);
        captionLook = colours.caption();
    });
    startupSteps.add(S::DefaultShowPath, [this] { showPath = root / "SHOW.K_F"; });
    startupSteps.add(S::MainWindowCaption, [this] {
        window = std::make_unique<ui::MainWindow>();
        window->setCaptionPersonalization(captionLook);
        window->setCaptionText(u" ");
        QObject::connect(window.get(), &ui::MainWindow::closeRequested, [this] { exit.requestExit(); });
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
    startupSteps.add(S::PrepareSplashPage, [this] {
        splash = new ui::SplashPage;
        window->pages()->preparePage(splash);
        if (captionLook.on)
            splash->loadPersonalPicture(root);
    });
    startupSteps.add(S::EmbedTitleBar, [this] { embedTitleBar(); });
    startupSteps.add(S::ShowSplashPage, [this] { window->pages()->showPage(splash); });
    startupSteps.add(S::OpenMainWindow, [this] { window->open(); });
    startupSteps.add(S::SettleWait, [this] { settle(100); });
    startupSteps.add(S::EnterMainLoop, [this] { enterMainLoop(); });
}

void Program::embedTitleBar()
{
    opener = std::make_unique<io::QtTransportOpener>(
        settings.paths.system,
        io::TestSocketNotices{
            .message = [this](const std::u16string& text) { ui::QtPrompt(window.get()).message(text); },
            .error =
                [this](const std::u16string& title, const std::u16string& text) {
                    QMessageBox::critical(window.get(), QString::fromStdU16String(title),
                                          QString::fromStdU16String(text));
                },
        });
    opener->setSerialIdleHandler([this] { controller->clearReceived(); });

    bar = new ui::TitleBar(settings.paths, colours);
    connection = std::make_unique<link::ConnectionManager>(*controller, *opener, settings.paths, *bar);
    connection->onConnected = [this] { live->requestLiveFrames(); };
    bar->setConnectionManager(connection.get());
    bar->onRelaysChanged = [this] { live->requestLiveFrames(); };
    bar->beforeConnect = [this] { selectControllerChoice(); };
    window->embedTitleBar(bar);
    bar->load();
    prepareControllerChoice();
}

liveout::RoomOutputs Program::roomOutputs() const
{
    liveout::RoomOutputs room = sceneRoom ? sceneRoom() : liveout::RoomOutputs{};
    if (bar)
        room.debugRelays = bar->debugRelays();
    return room;
}

void Program::prepareControllerChoice()
{
    if (!controllerChoice)
        return;
    if (controllerChoice->kind == ControllerChoice::Kind::serial) {
        // Listed at once, chosen only when the user connects.
        connection->addSerialPort(controllerChoice->serialPort.toStdU16String());
        return;
    }
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
    } else if (connection->connectionInterface() != 0) {
        connection->selectConnection(0);
    }
}

void Program::wireLoopAndExit()
{
    installPeriodicTasks(loop, tasks);
    tasks.exitCountdownStep = [this] { exit.step(); };
    tasks.keyboardScrolling = [this] { wheel->keyboardScrollingStep(); };
    tasks.liveTick = [this] { live->liveTick(); };
    tasks.keepAlive = [this] {
        if (connection)
            connection->keepAliveTick();
    };
    tasks.connectionPoll = [this] {
        if (connection)
            connection->secondTick();
    };
    loop.setWaitInProgress([this] { return controller->waitDepth() > 0; });
    loop.setExitDone([this] { return exit.exitDone(); });
    auto& actions = exit.actions();
    actions.sayGoodbyeToController = [this] {
        if (connection)
            connection->sayGoodbye();
    };
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
        QCoreApplication::quit();
    };
}

void Program::settle(int ms)
{
    // Waits while the window system runs, like every other wait of the program.
    QEventLoop wait;
    QTimer::singleShot(ms, Qt::PreciseTimer, &wait, &QEventLoop::quit);
    wait.exec();
}

void Program::enterMainLoop()
{
    // Qt's event loop does the yielding between passes; the timer is the 1-ms heartbeat.
    loopTimer.setTimerType(Qt::PreciseTimer);
    loopTimer.setInterval(1);
    QObject::connect(&loopTimer, &QTimer::timeout, [this] { loop.runPass(qtClock.nowMs()); });
    loop.runPass(qtClock.nowMs());
    loopTimer.start();
}

} // namespace rz::app
