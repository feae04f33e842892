#pragma once
// The start-up order. Each module plugs its work into its step; steps run strictly in the
// order of the enumeration, and a step whose module does not exist yet does nothing.
#include <array>
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace rz {

// Shown by a second copy of the program, which then ends.
inline constexpr std::u16string_view alreadyRunningMessage = u"程序已经打开，不能重复开启！";

enum class StartupStep {
    SettingsPaths,          // settings-file paths, colour file, personalization
    DefaultShowPath,
    MainWindowCaption,      // creates the main window
    SingleInstanceCheck,    // may end start-up
    MouseWheelSetting,
    ChannelDefinitionNames,
    EmptyShowSnapshot,
    PrepareSplashPage,
    EmbedTitleBar,
    ShowSplashPage,
    PrepareFixtureLibraryPage,
    PrepareEffectPage,
    PrepareMaterialPage,
    PrepareFirmwareUpgradePage,
    PrepareDownloadPage,
    PrepareScenePage,
    PrepareLightControlPage,
    PrepareTestPage,
    PrepareAirConditionerPage,
    PrepareRdmPage,
    LoadSerialForm,
    LoadShow,
    OpenMainWindow,
    SettleWait,             // 100 ms with the event loop running
    EnterMainLoop,
};

inline constexpr std::size_t startupStepCount = static_cast<std::size_t>(StartupStep::EnterMainLoop) + 1;

class StartupSequence {
public:
    // Adds work to a step; several pieces of one step run in the order they were added.
    void add(StartupStep step, std::function<void()> work);
    // Adds work that may end start-up: when it returns false no later work runs.
    void addCheck(StartupStep step, std::function<bool()> check);

    // Runs every step in order. False when a check ended start-up.
    bool run();

private:
    std::array<std::vector<std::function<bool()>>, startupStepCount> steps;
};

} // namespace rz
