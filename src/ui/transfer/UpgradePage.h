#pragma once
// The firmware-upgrade page: choosing and sending a firmware image, moving the wall-panel,
// VOD, air-conditioner and show parameter files to and from the controller, the controller
// queries, and the hidden commands typed into the information box. The work is
// UpgradeActions'; the page maps clicks to it and shows what comes back.
#include "core/transfer/UpgradeActions.h"
#include "ui/shell/Page.h"
#include "ui/transfer/TransferLog.h"

#include <filesystem>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace rz::transfer {
class ControllerQueries;
}

namespace rz::ui {

class UpgradePage : public Page, private transfer::UpgradeView {
    Q_OBJECT
public:
    // The box's text is compared with the hidden commands this long after the last key.
    static constexpr int kHiddenCommandDelayMs = 100;

    // Installs the controller-query receiver (the page's box gets the reports) and the
    // firmware upgrade's status check; both are removed again with the page.
    explicit UpgradePage(PageContext& context, QWidget* parent = nullptr);
    ~UpgradePage() override;

    // True while the page is the active page, an upgrade runs and the program is not closing.
    bool upgradeStatusCheck() const;
    bool developmentMode() const { return devMode; }
    const std::filesystem::path& upgradeFilePath() const { return actions.firmwarePath(); }

signals:
    // "@mark": the title bar shows or hides its logo.
    void logoVisibilityChanged(bool shown);
    // "@维护入口": the title bar shows its development-mode button.
    void developmentModeEntered();

protected:
    // Reads the upgrade file from the settings and checks it, empties the box; the
    // development buttons show in development mode.
    void opened() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ReportBox;

    void buildLayout();
    QPushButton* addButton(const QString& objectName, const QString& caption);
    void runHiddenCommand();

    // UpgradeView
    LogBox& log() override { return transferLog->logBox(); }
    void clearLog() override { transferLog->clear(); }
    void resetLog(const std::u16string& text) override;
    void startLogLine() override { transferLog->startLine(); }
    void showProgress(uint64_t done, uint64_t total) override;
    void showFirmwarePath(const std::filesystem::path& path) override;

    transfer::UpgradeActions actions;
    QLineEdit* fileText = nullptr;
    QPushButton* developmentUpgradeButton = nullptr;
    QPushButton* readComputerInfoButton = nullptr;
    QPlainTextEdit* infoBox = nullptr;
    QProgressBar* progressBar = nullptr;
    QTimer* hiddenCommandTimer = nullptr;
    std::unique_ptr<TransferLog> transferLog;
    std::unique_ptr<ReportBox> reportBox;
    std::unique_ptr<transfer::ControllerQueries> queries;
    bool devMode = false;
};

} // namespace rz::ui
