#pragma once
// The download page: saves the working show file and sends it to the controller at once,
// then, as the user chose, disconnects and has the controller switch to the last edited
// scene. A dialog-sized page centred over the window.
#include "ui/transfer/TransferLog.h"

#include <QWidget>

#include <cstdint>
#include <memory>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace rz {
struct SettingsPaths;
namespace link {
class Link;
class ConnectionManager;
} // namespace link
namespace liveout {
class LiveSender;
}
namespace show {
class ShowFile;
}
namespace transfer {
class FileTransfer;
}
} // namespace rz

namespace rz::ui {

class MainWindow;

class DownloadPage : public QWidget {
    Q_OBJECT
public:
    // Everything the page drives; all must outlive the page.
    struct Services {
        MainWindow& window;
        link::Link& link;
        link::ConnectionManager& connection;
        transfer::FileTransfer& transfer;
        show::ShowFile& showFile;
        liveout::LiveSender& live;
        const SettingsPaths& paths;
    };

    static constexpr int kWidth = 760;
    static constexpr int kHeight = 380;
    static constexpr uint8_t kShowKind = 1;
    static constexpr uint32_t kPauseAfterSaveMs = 50;

    explicit DownloadPage(Services services, QWidget* parent = nullptr);
    ~DownloadPage() override;

    // The title bar's "下载": loads the options the first time, shows the page centred, live
    // mode 1, and downloads the show at once.
    void showPage();
    // Remembers the kind; for the show file sets the titles and starts the download.
    void showTransferFor(uint8_t kind);
    // Save, then download (also the click of the page's button). Nothing happens while not
    // connected ("未连接") or while another wait of the link runs.
    void downloadShow();

    uint8_t downloadKind() const { return kind; }
    bool downloading() const { return busy; }

private:
    void buildLayout();
    void loadOptions();
    // Disconnects after a verified download when the option is ticked.
    void afterDownload(bool downloaded);

    Services io;
    QLabel* title1 = nullptr;
    QLabel* title2 = nullptr;
    QPushButton* downloadButton = nullptr;
    QPlainTextEdit* infoBox = nullptr;
    QProgressBar* progressBar = nullptr;
    QCheckBox* disconnectAfter = nullptr;
    QCheckBox* switchToLastScene = nullptr;
    std::unique_ptr<TransferLog> log;
    uint8_t kind = kShowKind;
    bool optionsLoaded = false;
    bool busy = false;
};

} // namespace rz::ui
