#pragma once
// The download page: saves the working show file and sends it to the controller at once,
// then, as the user chose, disconnects and has the controller switch to the last edited
// scene. A dialog-sized page centred over the window; the work is ShowDownload's.
#include "core/transfer/ShowDownload.h"
#include "ui/shell/Page.h"
#include "ui/transfer/TransferLog.h"

#include <cstdint>
#include <memory>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace rz::ui {

class DownloadPage : public Page, private transfer::DownloadView {
    Q_OBJECT
public:
    static constexpr int kWidth = 760;
    static constexpr int kHeight = 380;

    explicit DownloadPage(PageContext& context, QWidget* parent = nullptr);
    ~DownloadPage() override;

    bool isDialog() const override { return true; }

    // Remembers the kind; for the show file sets the titles and starts the download. The
    // disconnect option belongs to the show file only.
    void showTransferFor(uint8_t kind);
    // Save, then download (also the click of the page's button). Nothing happens while not
    // connected ("未连接") or while another link operation runs.
    void downloadShow();

    uint8_t downloadKind() const { return kind; }
    bool downloading() const { return download.running(); }

protected:
    // The title bar's "下载": loads the options the first time and downloads the show at once.
    void opened() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildLayout();
    void loadOptions();
    void close();

    // DownloadView
    LogBox& log() override { return transferLog->logBox(); }
    void clearLog() override { transferLog->clear(); }
    void resetLog(const std::u16string& text) override;
    void startLogLine() override { transferLog->startLine(); }
    void showProgress(uint64_t done, uint64_t total) override;
    void setDownloadEnabled(bool enabled) override;

    transfer::ShowDownload download;
    QLabel* title1 = nullptr;
    QLabel* title2 = nullptr;
    QPushButton* downloadButton = nullptr;
    QPushButton* closeButton = nullptr;
    QPlainTextEdit* infoBox = nullptr;
    QProgressBar* progressBar = nullptr;
    QCheckBox* disconnectAfter = nullptr;
    QCheckBox* switchToLastScene = nullptr;
    std::unique_ptr<TransferLog> transferLog;
    uint8_t kind = transfer::kShowFileKind;
    bool optionsLoaded = false;
};

} // namespace rz::ui
