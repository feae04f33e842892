#pragma once
// The exit countdown. Closing the main window only requests the exit; the main loop's 2-ms
// slot then steps the countdown: at step 0 the show is saved and the window hidden, at step 20
// the links are closed, at step 60 the program ends (about 120 ms of loop time).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace rz {

// Backup tag of the show file written when the program closes.
inline constexpr std::u16string_view closeProgramBackupTag = u"关闭程序";

// The material-copy temporary file, removed when the links are closed.
std::filesystem::path materialCopyTempFile(const std::filesystem::path& dataRoot);

// What the countdown does; each action is empty (does nothing) until its module fills it.
struct ExitActions {
    // Step 0, in this order.
    std::function<void()> hideMainWindow;
    std::function<void()> sayGoodbyeToController; // C4 three times when connected
    std::function<void()> saveShow;               // to the default show file
    std::function<void()> deleteStepClipboard;
    std::function<bool()> automaticBackupOff;      // empty: backups are on
    std::function<void(std::u16string_view tag)> backupShow;
    // Step 20, before the material-copy file is removed.
    std::function<void()> closeSerialPort;
    std::function<void()> closeWifi;
    // Step 60, after the exit-done flag is set.
    std::function<void()> endProgram;
};

class ExitSequence {
public:
    static constexpr int32_t firstStep = 0;
    static constexpr int32_t closeLinksStep = 20;
    static constexpr int32_t endStep = 60;

    explicit ExitSequence(std::filesystem::path dataRoot);

    ExitActions& actions() { return acts; }

    // Arms the countdown; a further request changes nothing.
    void requestExit() { requested = true; }
    bool exitRequested() const { return requested; }
    bool exitDone() const { return done; }
    int32_t stepCounter() const { return counter; }

    // The 2-ms slot's task: nothing unless exit was requested and is not yet done. The counter
    // is tested, then incremented.
    void step();

private:
    void firstActions();
    void closeLinks();

    std::filesystem::path root;
    ExitActions acts;
    bool requested = false;
    bool done = false;
    int32_t counter = 0;
};

} // namespace rz
