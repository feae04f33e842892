#pragma once
// The download page's work apart from its widgets: save the working show file, send it to the
// controller, then, as the user chose, have the controller switch to the last edited scene
// and disconnect.
#include "core/app/Seams.h"
#include "core/app/SettingsCatalogue.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/show/ShowFile.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/TransferView.h"

#include <cstdint>
#include <string_view>

namespace rz::transfer {

inline constexpr uint8_t kShowFileKind = 1;
inline constexpr uint32_t kPauseAfterSaveMs = 50;
inline constexpr std::u16string_view kDownloadShowLine = u"->下载灯光文件 ";

// The two options under the log, kept in the work settings file.
struct DownloadOptions {
    bool disconnectAfter = false;
    bool switchToLastScene = false;
};
DownloadOptions loadDownloadOptions(const SettingsPaths& paths);
void storeDisconnectAfterDownload(const SettingsPaths& paths, bool on);
void storeSwitchToLastScene(const SettingsPaths& paths, bool on);

// What the page shows while a download runs.
class DownloadView : public TransferView {
public:
    virtual void setDownloadEnabled(bool enabled) = 0;
};

enum class DownloadOutcome : uint8_t {
    Downloaded,   // verified by the controller
    Failed,       // the log says why
    NotSaved,     // the show could not be saved: the old file is not sent
    NotConnected, // "未连接" in the log
    Busy,         // another link operation runs; nothing happened
};

class ShowDownload {
public:
    // Everything must outlive this object.
    ShowDownload(link::Link& link, link::ConnectionManager& connection, FileTransfer& transfer,
                 show::ShowFile& showFile, SettingsPaths paths);

    // Save, then download `kind` (the show file unless a page says otherwise).
    DownloadOutcome run(DownloadView& view, uint8_t kind = kShowFileKind);
    bool running() const { return active; }

private:
    link::Link& link;
    link::ConnectionManager& connection;
    FileTransfer& transfer;
    show::ShowFile& showFile;
    SettingsPaths paths;
    bool active = false;
};

} // namespace rz::transfer
