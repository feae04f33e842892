#include "core/transfer/ShowDownload.h"

#include "core/app/SettingsFile.h"

#include <optional>
#include <string>
#include <utility>

namespace rz::transfer {

DownloadOptions loadDownloadOptions(const SettingsPaths& paths)
{
    return {readFlagKey(paths.work, keys::kDisconnectAfterDownload),
            readFlagKey(paths.work, keys::kSwitchToLastSceneAfterDownload)};
}

void storeDisconnectAfterDownload(const SettingsPaths& paths, bool on)
{
    writeFlagKey(paths.work, keys::kDisconnectAfterDownload, on);
}

void storeSwitchToLastScene(const SettingsPaths& paths, bool on)
{
    writeFlagKey(paths.work, keys::kSwitchToLastSceneAfterDownload, on);
}

ShowDownload::ShowDownload(link::Link& link, link::ConnectionManager& connection, FileTransfer& transfer,
                           show::ShowFile& showFile, SettingsPaths paths)
    : link(link), connection(connection), transfer(transfer), showFile(showFile), paths(std::move(paths))
{
}

DownloadOutcome ShowDownload::run(DownloadView& view, uint8_t kind)
{
    // Opening the page again while this download waits must not start a second one inside
    // it; nor may one start inside another operation's wait.
    if (active || link.operations().busy())
        return DownloadOutcome::Busy;
    view.clearLog();
    view.showProgress(0, 0);
    if (!transfer.checkConnected(view.log()))
        return DownloadOutcome::NotConnected;

    link::LinkGate::Hold hold = link.operations().tryBegin(link::LinkOperation::Download);
    if (!hold)
        return DownloadOutcome::Busy;
    active = true;
    const DownloadOptions options = loadDownloadOptions(paths);
    view.setDownloadEnabled(false);
    view.clearLog();
    view.log().append(std::u16string(kDownloadShowLine), true);

    // A show that could not be saved is not sent: the controller would get the old file
    // while the log reports success. The save has told the user why.
    DownloadOutcome outcome = DownloadOutcome::NotSaved;
    if (showFile.saveShow()) {
        link.delayMs(kPauseAfterSaveMs);
        std::optional<uint8_t> scene;
        if (kind == kShowFileKind && options.switchToLastScene)
            scene = static_cast<uint8_t>(showFile.tables().currentScene);
        auto saved = std::exchange(transfer.onProgress,
                                   [&view](uint64_t done, uint64_t total) { view.showProgress(done, total); });
        const TransferResult result = transfer.downloadFile(kind, showFile.showPath(), view.log(), scene);
        transfer.onProgress = std::move(saved);
        outcome = result == TransferResult::Succeeded ? DownloadOutcome::Downloaded : DownloadOutcome::Failed;
    }
    view.setDownloadEnabled(true);
    active = false;
    hold.release();

    // Only a disconnect: pressing the connection toggle while not connected would connect.
    if (outcome == DownloadOutcome::Downloaded && kind == kShowFileKind && options.disconnectAfter
        && connection.connected())
        connection.toggleConnection();
    return outcome;
}

} // namespace rz::transfer
