#pragma once
// The running program: start-up in its fixed order, the 1-ms main loop, the exit countdown.
// Modules plug their start-up work into startup(), their loop work into periodicTasks() and
// their exit work into exitSequence().actions().
#include "core/app/Caption.h"
#include "core/app/ExitSequence.h"
#include "core/app/Scheduler.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/Startup.h"
#include "io/QtSeams.h"

#include <QTimer>

#include <filesystem>
#include <memory>

namespace rz::ui {
class MainWindow;
class SingleInstanceLock;
class SplashPage;
class QtPrompt;
} // namespace rz::ui

namespace rz::app {

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

private:
    void addCoreSteps();
    void wireLoopAndExit();
    void settle(int ms);
    void enterMainLoop();

    std::filesystem::path root;
    std::filesystem::path showPath;
    SettingsStartup settings;
    int32_t mouseWheelOff = 0;
    CaptionPersonalization captionLook;
    io::QtClock clock;
    PeriodicTasks tasks;
    Scheduler loop;
    ExitSequence exit;
    StartupSequence startupSteps;
    QTimer loopTimer;
    std::unique_ptr<ui::SingleInstanceLock> instanceLock;
    std::unique_ptr<ui::MainWindow> window;
    ui::SplashPage* splash = nullptr; // owned by the window's page area
};

} // namespace rz::app
