#pragma once
// The running program: start-up in its fixed order, the 1-ms main loop, the exit countdown.
// Modules plug their start-up work into startup(), their loop work into periodicTasks() and
// their exit work into exitSequence().actions().
#include "app/CommandLine.h"
#include "core/app/Caption.h"
#include "core/app/ColourScheme.h"
#include "core/app/ExitSequence.h"
#include "core/app/Scheduler.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/Startup.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/liveout/LiveSender.h"
#include "io/QtSeams.h"

#include <QTimer>

#include <filesystem>
#include <memory>
#include <optional>

namespace rz::io {
class QtTransportOpener;
} // namespace rz::io

namespace rz::ui {
class MainWindow;
class TitleBar;
class WheelRouter;
class SingleInstanceLock;
class SplashPage;
class QtPrompt;
} // namespace rz::ui

namespace rz::app {

class ProgramPages;

class Program {
public:
    explicit Program(std::filesystem::path dataRoot);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs start-up up to the main loop. False when the program must end (a second copy).
    bool start();

    StartupSequence& startup() { return startupSteps; }
    Scheduler& scheduler() { return loop; }
    PeriodicTasks& periodicTasks() { return tasks; }
    CaptionPersonalization& captionPersonalization() { return captionLook; }
    ExitSequence& exitSequence() { return exit; }
    const std::filesystem::path& dataRoot() const { return root; }
    const std::filesystem::path& defaultShowPath() const { return showPath; }
    const SettingsStartup& settingsStartup() const { return settings; }
    bool mouseWheelDisabled() const { return mouseWheelOff == 1; }
    ui::MainWindow* mainWindow() const { return window.get(); }

    // The controller link and what runs on it; the connection manager and the title bar exist
    // from the title-bar step of start-up on.
    link::Link& controllerLink() { return *controller; }
    liveout::LiveSender& liveSender() { return *live; }
    link::ConnectionManager* connectionManager() const { return connection.get(); }
    ui::TitleBar* titleBar() const { return bar; }
    ui::WheelRouter& wheelRouter() { return *wheel; }
    const ColourScheme& colourScheme() const { return colours; }
    Clock& clock() { return qtClock; }
    Yield& yield() { return qtYield; }

    // The scene page's relays and dimmers for the live frame; the title bar's forced relays
    // are laid over them.
    void setSceneRoomSource(liveout::LiveSender::RoomOutputsSource source) { sceneRoom = std::move(source); }
    // The command line's controller: used for this run, saved only when the user connects.
    void setControllerChoice(const ControllerChoice& choice) { controllerChoice = choice; }

private:
    void addCoreSteps();
    void wireLoopAndExit();
    void embedTitleBar();
    liveout::RoomOutputs roomOutputs() const;
    void prepareControllerChoice();
    void selectControllerChoice();
    void settle(int ms);
    void enterMainLoop();

    std::filesystem::path root;
    std::filesystem::path showPath;
    SettingsStartup settings;
    int32_t mouseWheelOff = 0;
    CaptionPersonalization captionLook;
    ColourScheme colours;
    io::QtClock qtClock;
    io::QtYield qtYield;
    PeriodicTasks tasks;
    Scheduler loop;
    ExitSequence exit;
    StartupSequence startupSteps;
    QTimer loopTimer;
    std::unique_ptr<ui::SingleInstanceLock> instanceLock;
    std::unique_ptr<ui::MainWindow> window;
    ui::SplashPage* splash = nullptr; // owned by the window's page area
    ui::TitleBar* bar = nullptr;      // owned by the window's title strip
    std::unique_ptr<ui::WheelRouter> wheel;
    // Declared after the window: the manager goes first, then the transports, then the link.
    std::unique_ptr<link::Link> controller;
    std::unique_ptr<io::QtTransportOpener> opener;
    std::unique_ptr<link::ConnectionManager> connection;
    std::unique_ptr<liveout::LiveSender> live;
    liveout::LiveSender::RoomOutputsSource sceneRoom;
    std::optional<ControllerChoice> controllerChoice;
    bool controllerChoiceSelected = false;
    std::unique_ptr<ProgramPages> showPages;
};

} // namespace rz::app
