#include "ui/transfer/DownloadPage.h"

#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/show/ShowFile.h"
#include "core/transfer/FileTransfer.h"
#include "ui/shell/PageHost.h"
#include "ui/transfer/TransferProgress.h"

#include <QCheckBox>
#include <QFont>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace rz::ui {

DownloadPage::DownloadPage(PageContext& context, QWidget* parent)
    : Page(context, PageId::Download, parent),
      download(context.link, context.connection, context.transfer, context.showFile, context.paths)
{
    setObjectName(QStringLiteral("U10__Form___下载"));
    PageHost::markDialogPage(this);
    buildLayout();
    transferLog = std::make_unique<TransferLog>(infoBox);

    connect(downloadButton, &QPushButton::clicked, this, [this] { downloadShow(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { close(); });
    connect(disconnectAfter, &QCheckBox::clicked, this,
            [this](bool on) { transfer::storeDisconnectAfterDownload(this->context.paths, on); });
    connect(switchToLastScene, &QCheckBox::clicked, this,
            [this](bool on) { transfer::storeSwitchToLastScene(this->context.paths, on); });
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
    infoBox->setAccessibleName(tr("下载信息"));
    infoBox->setReadOnly(true);
    infoBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("ProgressBar下载"));
    progressBar->setAccessibleName(tr("下载进度"));
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
    closeButton = new QPushButton(tr("关闭"), this);
    closeButton->setObjectName(QStringLiteral("Command关闭"));
    closeButton->setMinimumSize(90, 36);

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
    bottomRow->addWidget(closeButton, 0, Qt::AlignBottom);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(18, 14, 18, 14);
    page->addWidget(title1);
    page->addWidget(title2);
    page->addLayout(logRow, 1);
    page->addLayout(bottomRow);
}

void DownloadPage::loadOptions()
{
    const transfer::DownloadOptions options = transfer::loadDownloadOptions(context.paths);
    disconnectAfter->setChecked(options.disconnectAfter);
    switchToLastScene->setChecked(options.switchToLastScene);
}

void DownloadPage::opened()
{
    if (!optionsLoaded) {
        loadOptions();
        optionsLoaded = true;
    }
    // Prepared pages get the page area's size; this one is a dialog.
    resize(kWidth, kHeight);
    context.host.centreDialogPage(this);
    raise();
    showTransferFor(transfer::kShowFileKind);
}

void DownloadPage::showTransferFor(uint8_t newKind)
{
    kind = newKind;
    disconnectAfter->setVisible(kind == transfer::kShowFileKind);
    if (kind != transfer::kShowFileKind)
        return;
    title1->setText(tr("下载 灯光参数"));
    title2->setText(tr("下载信息"));
    downloadShow();
}

void DownloadPage::downloadShow()
{
    (void)download.run(*this, kind);
}

void DownloadPage::close()
{
    // Never while a download waits: the log and the bar must stay where the user sees them.
    if (download.running())
        return;
    context.host.closeDialogPage(this);
    if (const auto* beneath = qobject_cast<const Page*>(context.host.currentPage()))
        context.navigation.pageShown(beneath->pageId());
}

void DownloadPage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Page::keyPressEvent(event);
}

void DownloadPage::resetLog(const std::u16string& text)
{
    transferLog->reset(QString::fromStdU16String(text));
}

void DownloadPage::showProgress(uint64_t done, uint64_t total)
{
    showTransferProgress(progressBar, done, total);
}

void DownloadPage::setDownloadEnabled(bool enabled)
{
    downloadButton->setEnabled(enabled);
    closeButton->setEnabled(enabled);
}

} // namespace rz::ui
