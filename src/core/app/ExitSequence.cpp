#include "core/app/ExitSequence.h"

#include <system_error>

namespace rz {

namespace {

void run(const std::function<void()>& action)
{
    if (action)
        action();
}

} // namespace

std::filesystem::path materialCopyTempFile(const std::filesystem::path& dataRoot)
{
    return dataRoot / "AppSet" / "Sys_config" / "SC_TEMP" / "SCCOPY.K_1SC";
}

ExitSequence::ExitSequence(std::filesystem::path dataRoot) : root(std::move(dataRoot)) {}

void ExitSequence::step()
{
    if (!requested || done)
        return;
    const int32_t now = counter++;
    if (now == firstStep)
        firstActions();
    else if (now == closeLinksStep)
        closeLinks();
    else if (now == endStep) {
        done = true;
        run(acts.endProgram);
    }
}

void ExitSequence::firstActions()
{
    run(acts.hideMainWindow);
    run(acts.sayGoodbyeToController);
    run(acts.saveShow);
    run(acts.deleteStepClipboard);
    const bool backupOff = acts.automaticBackupOff && acts.automaticBackupOff();
    if (!backupOff && acts.backupShow)
        acts.backupShow(closeProgramBackupTag);
}

void ExitSequence::closeLinks()
{
    run(acts.closeSerialPort);
    run(acts.closeWifi);
    std::error_code ignored; // a missing file is fine
    std::filesystem::remove(materialCopyTempFile(root), ignored);
}

} // namespace rz
