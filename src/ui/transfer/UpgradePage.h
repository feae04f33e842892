#pragma once
// The firmware-upgrade page: choosing and sending a firmware image, moving the wall-panel,
// VOD, air-conditioner and show parameter files to and from the controller, the controller
// queries, and the hidden commands typed into the information box.
#include "ui/transfer/TransferLog.h"

#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace rz {
class FileChooser;
class Prompt;
struct SettingsPaths;
struct TitleBarSettings;
namespace link {
class Link;
class ConnectionManager;
} // namespace link
namespace liveout {
class LiveSender;
}
namespace transfer {
class ControllerQueries;
class FileTransfer;
class FirmwareUpgrade;
} // namespace transfer
} // namespace rz

namespace rz::ui {

class MainWindow;

class UpgradePage : public QWidget {
    Q_OBJECT
public:
    // One parameter-file kind with its buttons (defined beside the page's table of them).
    struct ParameterFile;

    // Everything the page drives; all must outlive the page.
    struct Services {
        MainWindow& window;
        link::Link& link;
        const link::ConnectionManager& connection; // its development-mode switch
        transfer::FileTransfer& transfer;
        transfer::FirmwareUpgrade& firmware;
        liveout::LiveSender& live;
        const SettingsPaths& paths;
        TitleBarSettings& titleBarSettings; // the logo switch
        Prompt& prompt;
        FileChooser& chooser;
        std::filesystem::path dataRoot;      // the application folder
        std::function<bool()> programClosing; // none: never closing
    };

    // The box's text is compared with the hidden commands this long after the last key.
    static constexpr int kHiddenCommandDelayMs = 100;

    // Installs the controller-query receiver (the page's box gets the reports) and the
    // firmware upgrade's status check; both are removed again with the page.
    explicit UpgradePage(Services services, QWidget* parent = nullptr);
    ~UpgradePage() override;

    // Shows the page, live mode 3, reads the upgrade file from the settings and checks it,
    // empties the box; the development buttons show in development mode.
    void showPage();

    // True while the page is the active page, an upgrade runs and the program is not closing.
    bool upgradeStatusCheck() const;
    bool developmentMode() const { return devMode; }
    const std::filesystem::path& upgradeFilePath() const { return firmwarePath; }

signals:
    // "@mark": the title bar shows or hides its logo.
    void logoVisibilityChanged(bool shown);
    // "@维护入口": the title bar shows its development-mode button.
    void developmentModeEntered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ReportBox;

    void buildLayout();
    QPushButton* addButton(const char* objectName, const QString& caption);
    void chooseFirmwareFile();
    void upgrade(bool development);
    void downloadParameterFile(const ParameterFile& file);
    void uploadParameterFile(const ParameterFile& file);
    void runHiddenCommand();
    void showFirmwarePath(const std::filesystem::path& path);
    // Another transfer of the link is waiting: a click must not start one inside it.
    bool linkBusy() const;

    Services io;
    QLineEdit* fileText = nullptr;
    QPushButton* developmentUpgradeButton = nullptr;
    QPushButton* readComputerInfoButton = nullptr;
    QPlainTextEdit* infoBox = nullptr;
    QProgressBar* progressBar = nullptr;
    QTimer* hiddenCommandTimer = nullptr;
    std::unique_ptr<TransferLog> log;
    std::unique_ptr<ReportBox> reportBox;
    std::unique_ptr<transfer::ControllerQueries> queries;
    std::filesystem::path firmwarePath;
    bool devMode = false;
};

} // namespace rz::ui
