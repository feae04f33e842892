#include "app/Program.h"

#include "ui/shell/MainWindow.h"
#include "ui/shell/PageHost.h"
#include "ui/shell/QtPrompt.h"
#include "ui/shell/SingleInstance.h"
#include "ui/shell/SplashPage.h"

#include "core/app/SettingsFile.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace rz::app {

Program::Program(std::filesystem::path dataRoot) : root(std::move(dataRoot)), exit(root)
{
    addCoreSteps();
    wireLoopAndExit();
}

Program::~Program() = default;

bool Program::start()
{
    return startupSteps.run();
}

void Program::addCoreSteps()
{
    using S = StartupStep;
    startupSteps.add(S::SettingsPaths, [this] { settings = startSettings(root); });
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
    });
    startupSteps.add(S::PrepareSplashPage, [this] {
        splash = new ui::SplashPage;
        window->pages()->preparePage(splash);
        if (captionLook.on)
            splash->loadPersonalPicture(root);
    });
    startupSteps.add(S::ShowSplashPage, [this] { window->pages()->showPage(splash); });
    startupSteps.add(S::OpenMainWindow, [this] { window->open(); });
    startupSteps.add(S::SettleWait, [this] { settle(100); });
    startupSteps.add(S::EnterMainLoop, [this] { enterMainLoop(); });
}

void Program::wireLoopAndExit()
{
    installPeriodicTasks(loop, tasks);
    tasks.exitCountdownStep = [this] { exit.step(); };
    loop.setExitDone([this] { return exit.exitDone(); });
    auto& actions = exit.actions();
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
    QObject::connect(&loopTimer, &QTimer::timeout, [this] { loop.runPass(clock.nowMs()); });
    loop.runPass(clock.nowMs());
    loopTimer.start();
}

} // namespace rz::app
