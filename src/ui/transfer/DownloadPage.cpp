#include "ui/transfer/DownloadPage.h"

#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/liveout/LiveSender.h"
#include "core/show/ShowFile.h"
#include "core/transfer/FileTransfer.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/PageHost.h"
#include "ui/transfer/TransferProgress.h"

#include <QCheckBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace rz::ui {

namespace {

bool optionSet(const SettingsPaths& paths, std::u16string_view key)
{
    const auto value = parseSettingNumber(readKey(paths.work, key));
    return value && *value == 1;
}

void storeOption(const SettingsPaths& paths, std::u16string_view key, bool on)
{
    writeKey(paths.work, key, on ? u"1" : u"0");
}

} // namespace

DownloadPage::DownloadPage(Services services, QWidget* parent) : QWidget(parent), io(services)
{
    setObjectName(QStringLiteral("U10__Form___下载"));
    buildLayout();
    log = std::make_unique<TransferLog>(infoBox);

    connect(downloadButton, &QPushButton::clicked, this, [this] { downloadShow(); });
    connect(disconnectAfter, &QCheckBox::clicked, this, [this](bool on) {
        storeOption(io.paths, keys::kDisconnectAfterDownload, on);
    });
    connect(switchToLastScene, &QCheckBox::clicked, this, [this](bool on) {
        storeOption(io.paths, keys::kSwitchToLastSceneAfterDownload, on);
    });
}

DownloadPage::~DownloadPage() = default;

void DownloadPage::buildLayout()
{
    resize(kWidth, kHeight);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral(
        "#U10__Form___下载 { background: #f4f5f7; border: 1px solid #8a8f99; }"));
    setAttribute(Qt::WA_StyledBackground, true);

    title1 = new QLabel(tr("下载 灯光参数"), this);
    title1->setObjectName(QStringLiteral("Label标题1"));
    QFont big = title1->font();
    big.setPointSize(16);
    big.setBold(true);
    title1->setFont(big);

    title2 = new QLabel(tr("下载信息"), this);
    title2->setObjectName(QStringLiteral("Label标题2"));

    infoBox = new QPlainTextEdit(this);
    infoBox->setObjectName(QStringLiteral("Text信息"));
    infoBox->setReadOnly(true);
    infoBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("ProgressBar下载"));
    progressBar->setOrientation(Qt::Vertical);
    progressBar->setRange(0, 1000);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
    progressBar->setFixedWidth(22);

    disconnectAfter = new QCheckBox(tr("下载完断开连接"), this);
    disconnectAfter->setObjectName(QStringLiteral("Check下载完断开连接"));
    switchToLastScene = new QCheckBox(tr("下载完自动切最后编辑场景"), this);
    switchToLastScene->setObjectName(QStringLiteral("Check下载完自动切最后编辑场景"));

    downloadButton = new QPushButton(tr("下载"), this);
    downloadButton->setObjectName(QStringLiteral("Command下载_灯光参数"));
    downloadButton->setMinimumSize(120, 36);

    auto* logRow = new QHBoxLayout;
    logRow->addWidget(infoBox, 1);
    logRow->addWidget(progressBar);

    auto* optionColumn = new QVBoxLayout;
    optionColumn->addWidget(disconnectAfter);
    optionColumn->addWidget(switchToLastScene);

    auto* bottomRow = new QHBoxLayout;
    bottomRow->addLayout(optionColumn);
    bottomRow->addStretch(1);
    bottomRow->addWidget(downloadButton, 0, Qt::AlignBottom);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(18, 14, 18, 14);
    page->addWidget(title1);
    page->addWidget(title2);
    page->addLayout(logRow, 1);
    page->addLayout(bottomRow);
}

void DownloadPage::loadOptions()
{
    disconnectAfter->setChecked(optionSet(io.paths, keys::kDisconnectAfterDownload));
    switchToLastScene->setChecked(optionSet(io.paths, keys::kSwitchToLastSceneAfterDownload));
}

void DownloadPage::showPage()
{
    if (!optionsLoaded) {
        // The personal colour scheme plugs in here once it exists.
        loadOptions();
        optionsLoaded = true;
    }
    io.window.pages()->showPage(this);
    // Prepared pages get the full page size; this one is a dialog.
    resize(kWidth, kHeight);
    io.window.centreDialogPage(this);
    raise();
    io.live.setLiveOutputMode(liveout::kModeDownload);
    showTransferFor(kShowKind);
}

void DownloadPage::showTransferFor(uint8_t newKind)
{
    kind = newKind;
    disconnectAfter->setVisible(kind == kShowKind);
    if (kind != kShowKind)
        return;
    title1->setText(tr("下载 灯光参数"));
    title2->setText(tr("下载信息"));
    downloadShow();
}

void DownloadPage::downloadShow()
{
    // Opening the page again from the title bar while this download waits must not start a
    // second one inside it; nor may one start inside any other transfer's wait.
    if (busy || io.link.waitDepth() > 0)
        return;
    log->clear();
    if (!io.transfer.checkConnected(log->logBox()))
        return;

    busy = true;
    downloadButton->setEnabled(false);
    log->clear();
    log->line(tr("->下载灯光文件 "));
    // A show that could not be saved is not sent: the controller would get the old file
    // while the log reports success. The save has told the user why.
    bool downloaded = false;
    if (io.showFile.saveShow()) {
        io.link.delayMs(kPauseAfterSaveMs);
        std::optional<uint8_t> scene;
        if (kind == kShowKind && switchToLastScene->isChecked())
            scene = static_cast<uint8_t>(io.showFile.tables().currentScene);
        ScopedTransferProgress progress(io.transfer.onProgress, progressBar);
        downloaded = io.transfer.downloadFile(kind, io.showFile.showPath(), log->logBox(), scene) ==
                     transfer::TransferResult::Succeeded;
    }
    downloadButton->setEnabled(true);
    busy = false;
    afterDownload(downloaded);
}

void DownloadPage::afterDownload(bool downloaded)
{
    // Only a disconnect: pressing the connection toggle while not connected would connect.
    if (downloaded && disconnectAfter->isChecked() &&
        io.connection.connected())
        io.connection.toggleConnection();
}

} // namespace rz::ui
