#pragma once
// The running program: start-up in its fixed order, the main loop, the exit countdown. It owns
// the runtime (the show and its file, the link and what runs on it, the shell) and hands the
// pages one context built from it.
#include "app/CommandLine.h"
#include "core/app/Caption.h"
#include "core/app/ColourScheme.h"
#include "core/app/ExitSequence.h"
#include "core/app/Navigation.h"
#include "core/app/Scheduler.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/Startup.h"
#include "core/app/WaitTracker.h"
#include "core/effects/EffectPreview.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/liveout/DebugRelays.h"
#include "core/liveout/LiveSender.h"
#include "core/materials/MaterialEngine.h"
#include "core/show/Show.h"
#include "core/show/ShowFile.h"
#include "io/QtSeams.h"

#include <QTimer>

#include <filesystem>
#include <memory>
#include <optional>

namespace rz::io {
class QtTransportOpener;
} // namespace rz::io

namespace rz::transfer {
class FileTransfer;
class FirmwareUpgrade;
} // namespace rz::transfer

namespace rz::ui {
class DevelopmentWindow;
class MainWindow;
class MonitorWindow;
class TitleBar;
class WheelRouter;
class SingleInstanceLock;
class SplashPage;
class QtPrompt;
class QtFileChooser;
struct PageContext;
} // namespace rz::ui

namespace rz::app {

class ProgramPages;

class Program : private show::ShowFileView, private show::LocalTimeSource {
public:
    explicit Program(std::filesystem::path dataRoot);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs start-up up to the main loop. False when the program must end (a second copy).
    bool start();
    // The command line's controller: used for this run, saved only when the user connects.
    void setControllerChoice(const ControllerChoice& choice) { controllerChoice = choice; }

    // For the end-to-end test, which talks to the controller beside the program.
    link::Link& controllerLink() { return *controller; }
    link::ConnectionManager* connectionManager() const { return connection.get(); }

private:
    void addStartupSteps();
    void createShowFile();
    void embedTitleBar();
    void preparePages();
    void wireTitleBar();
    void wireLoopAndExit();
    liveout::RoomOutputs roomOutputs() const;
    void prepareControllerChoice();
    void selectControllerChoice();
    void settle(int ms);
    void enterMainLoop();
    // Runs a pass and sleeps until the next slot that has work.
    void runLoopPass();
    // A slot got work (exit requested, the effect page shown, an arrow key): run a pass now.
    void wakeLoop();

    // ShowFileView, LocalTimeSource
    void showLoaded(const std::filesystem::path& path) override;
    void setTitleBarAvailable(bool available) override;
    LocalDateTime localNow() override;

    std::filesystem::path root;
    std::filesystem::path showPath;
    SettingsStartup settings;
    int32_t mouseWheelOff = 0;
    CaptionPersonalization captionLook;
    ColourScheme colours;
    TitleBarSettings titleSettings;
    WaitTracker waits;
    io::QtClock qtClock;
    io::QtYield qtYield{&waits};
    PeriodicTasks tasks;
    Scheduler loop;
    ExitSequence exit;
    StartupSequence startupSteps;
    QTimer loopTimer;
    bool loopRunning = false;
    Navigation navigation;
    std::unique_ptr<ui::SingleInstanceLock> instanceLock;
    std::unique_ptr<ui::MainWindow> window;
    ui::SplashPage* splash = nullptr; // owned by the window's page area
    ui::TitleBar* bar = nullptr;      // owned by the window's title strip
    ui::MonitorWindow* monitor = nullptr; // owned by the window once built
    ui::DevelopmentWindow* developmentWindow = nullptr; // owned by the window once built
    std::unique_ptr<ui::WheelRouter> wheel;
    // Declared after the window: the manager goes first, then the transports, then the link.
    std::unique_ptr<link::Link> controller;
    std::unique_ptr<io::QtTransportOpener> opener;
    std::unique_ptr<link::ConnectionManager> connection;
    std::unique_ptr<liveout::LiveSender> live;
    std::unique_ptr<liveout::DebugRelays> debugRelays;
    std::vector<Subscription> watches;
    std::optional<ControllerChoice> controllerChoice;
    bool controllerChoiceSelected = false;
    // The show and what works on it.
    show::Show show;
    std::unique_ptr<ui::QtPrompt> prompt;
    std::unique_ptr<ui::QtFileChooser> chooser;
    std::unique_ptr<show::ShowFile> file;
    std::unique_ptr<materials::MaterialEngine> materialEngine;
    std::unique_ptr<effects::EffectPreview> effectPreview;
    std::unique_ptr<transfer::FileTransfer> transfers;
    std::unique_ptr<transfer::FirmwareUpgrade> firmware;
    std::unique_ptr<ui::PageContext> context;
    std::unique_ptr<ProgramPages> pages;
};

} // namespace rz::app
