#include "ui/transfer/UpgradePage.h"

#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/files/FileDialogs.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/liveout/LiveSender.h"
#include "core/transfer/ControllerQueries.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/FirmwareUpgrade.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/PageHost.h"
#include "ui/shell/ShellGeometry.h"
#include "ui/transfer/TransferProgress.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace rz::ui {

// One parameter-file kind with its two buttons (the show file has only an upload button).
struct UpgradePage::ParameterFile {
    uint8_t kind;
    const char16_t* name;      // in the log and the dialog title
    const char16_t* extension; // of the download dialog
    const char16_t* uploadTarget;
    const char* uploadFirstLine;
    const char* downloadButton; // object names; null: no download button
    const char* uploadButton;
    const char* rowCaption;
};

namespace {

using ParameterFile = UpgradePage::ParameterFile;

// Wrapped in QT_TRANSLATE_NOOP so the row captions and first lines are found for translation.
const ParameterFile kParameterFiles[] = {
    {2, u"墙板", u"KQB", u"R-QB.KQB", QT_TRANSLATE_NOOP("rz::ui::UpgradePage", "->上传 墙板 参数文件 "),
     "Command下载墙板参数文件", "Command上传墙板参数文件",
     QT_TRANSLATE_NOOP("rz::ui::UpgradePage", "墙板参数文件")},
    {3, u"VOD", u"KVD", u"R-VOD.KVD", QT_TRANSLATE_NOOP("rz::ui::UpgradePage", "->上传 VOD 参数文件 "),
     "Command下载VOD参数文件", "Command上传VOD参数文件",
     QT_TRANSLATE_NOOP("rz::ui::UpgradePage", "VOD参数文件")},
    {4, u"红外空调参数文件", u"AC", u"R-IRAC.AC",
     QT_TRANSLATE_NOOP("rz::ui::UpgradePage", "->上传 VOD 红外空调参数文件 "),
     "Command下载_红外空调参数文件", "Command上传_红外空调参数文件",
     QT_TRANSLATE_NOOP("rz::ui::UpgradePage", "红外空调参数文件")},
    {1, u"灯光", u"K_F", u"R-SHOW.K_F", QT_TRANSLATE_NOOP("rz::ui::UpgradePage", "->上传 灯光 参数文件 "),
     nullptr, "Command上传灯光参数文件", QT_TRANSLATE_NOOP("rz::ui::UpgradePage", "灯光参数文件")},
};

constexpr char16_t kParameterFileWord[] = u"参数文件";

QString qs(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

} // namespace

// The controller's query reports arrive at any time; each starts on a line of its own so it
// does not run on behind a typed command or a mark line.
class UpgradePage::ReportBox : public LogBox {
public:
    explicit ReportBox(TransferLog& log) : log(log) {}
    void append(const std::u16string& text, bool newLine) override
    {
        if (atLineStart)
            log.startLine();
        log.logBox().append(text, newLine);
        atLineStart = newLine;
    }

private:
    TransferLog& log;
    bool atLineStart = true;
};

UpgradePage::UpgradePage(Services services, QWidget* parent) : QWidget(parent), io(std::move(services))
{
    setObjectName(QStringLiteral("U01__Form__升级程序"));
    setWindowTitle(tr("升级程序"));
    buildLayout();
    log = std::make_unique<TransferLog>(infoBox);
    reportBox = std::make_unique<ReportBox>(*log);
    queries = std::make_unique<transfer::ControllerQueries>(io.link, *reportBox);
    io.firmware.stillWanted = [this] {
        return io.live.liveOutputMode() == liveout::kModeUpgrade &&
               !(io.programClosing && io.programClosing());
    };

    hiddenCommandTimer = new QTimer(this);
    hiddenCommandTimer->setObjectName(QStringLiteral("Timer_信息key"));
    hiddenCommandTimer->setSingleShot(true);
    hiddenCommandTimer->setInterval(kHiddenCommandDelayMs);
    connect(hiddenCommandTimer, &QTimer::timeout, this, [this] { runHiddenCommand(); });
    infoBox->installEventFilter(this);
}

UpgradePage::~UpgradePage()
{
    io.firmware.stillWanted = {};
}

QPushButton* UpgradePage::addButton(const char* objectName, const QString& caption)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromUtf8(objectName));
    button->setMinimumHeight(32);
    return button;
}

void UpgradePage::buildLayout()
{
    // The page area shows only the top-left part of a prepared page.
    auto* content = new QWidget(this);
    content->setGeometry(0, 0, geometry::visiblePageWidth, geometry::visiblePageHeight);

    auto* title = new QLabel(tr("升级程序"), content);
    title->setObjectName(QStringLiteral("Label标题"));
    QFont big = title->font();
    big.setPointSize(18);
    big.setBold(true);
    title->setFont(big);

    // Firmware
    fileText = new QLineEdit(content);
    fileText->setObjectName(QStringLiteral("Text文件"));
    fileText->setReadOnly(true);
    auto* chooseButton = addButton("Command文件", tr("选择文件"));
    auto* upgradeButton = addButton("Command升级", tr("升级机器程序"));
    developmentUpgradeButton = addButton("Command开发升级", tr("开发升级"));
    developmentUpgradeButton->setVisible(false);
    connect(chooseButton, &QPushButton::clicked, this, [this] { chooseFirmwareFile(); });
    connect(upgradeButton, &QPushButton::clicked, this, [this] { upgrade(false); });
    connect(developmentUpgradeButton, &QPushButton::clicked, this, [this] { upgrade(true); });

    auto* firmwareBox = new QGroupBox(tr("机器程序"), content);
    auto* firmwareGrid = new QGridLayout(firmwareBox);
    firmwareGrid->addWidget(fileText, 0, 0, 1, 2);
    firmwareGrid->addWidget(chooseButton, 0, 2);
    firmwareGrid->addWidget(upgradeButton, 1, 0);
    firmwareGrid->addWidget(developmentUpgradeButton, 1, 1);
    firmwareGrid->setColumnStretch(0, 1);
    firmwareGrid->setColumnStretch(1, 1);

    // Queries
    auto* versionButton = addButton("Command读取版本号", tr("读取版本号"));
    readComputerInfoButton = addButton("Command读取电脑信息", tr("读取电脑信息"));
    readComputerInfoButton->setVisible(false);
    auto* fileIdButton = addButton("Command查看墙板和VOD文件ID", tr("查看墙板和VOD文件ID"));
    connect(versionButton, &QPushButton::clicked, this, [this] { queries->requestVersion(); });
    connect(readComputerInfoButton, &QPushButton::clicked, this,
            [this] { queries->requestInformation(); });
    connect(fileIdButton, &QPushButton::clicked, this, [this] { queries->requestFileIds(); });

    auto* queryBox = new QGroupBox(tr("机器信息"), content);
    auto* queryRow = new QHBoxLayout(queryBox);
    queryRow->addWidget(versionButton);
    queryRow->addWidget(readComputerInfoButton);
    queryRow->addWidget(fileIdButton);

    // Parameter files
    auto* fileBox = new QGroupBox(tr("参数文件"), content);
    auto* fileGrid = new QGridLayout(fileBox);
    int row = 0;
    for (const ParameterFile& file : kParameterFiles) {
        auto* caption = new QLabel(tr(file.rowCaption), fileBox);
        fileGrid->addWidget(caption, row, 0);
        if (file.downloadButton) {
            auto* down = addButton(file.downloadButton, tr("下载到机器"));
            connect(down, &QPushButton::clicked, this, [this, &file] { downloadParameterFile(file); });
            fileGrid->addWidget(down, row, 1);
        }
        auto* up = addButton(file.uploadButton, tr("从机器上传"));
        connect(up, &QPushButton::clicked, this, [this, &file] { uploadParameterFile(file); });
        fileGrid->addWidget(up, row, 2);
        ++row;
    }
    fileGrid->setColumnStretch(0, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(title);
    left->addWidget(firmwareBox);
    left->addWidget(queryBox);
    left->addWidget(fileBox);
    left->addStretch(1);

    // Information box: the log, and where the hidden commands are typed.
    infoBox = new QPlainTextEdit(content);
    infoBox->setObjectName(QStringLiteral("Text信息"));
    progressBar = new QProgressBar(content);
    progressBar->setObjectName(QStringLiteral("ProgressBar进度"));
    progressBar->setRange(0, 1000);
    progressBar->setValue(0);
    progressBar->setFormat(QStringLiteral("%p%"));

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(tr("信息"), content));
    right->addWidget(infoBox, 1);
    right->addWidget(progressBar);

    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(24, 16, 24, 16);
    columns->setSpacing(24);
    columns->addLayout(left, 0);
    columns->addLayout(right, 1);
    firmwareBox->setMinimumWidth(460);
}

void UpgradePage::showPage()
{
    // The personal colour scheme plugs in here once it exists.
    io.live.setLiveOutputMode(liveout::kModeUpgrade);
    io.window.pages()->showPage(this);
    const std::filesystem::path stored(readKey(io.paths.work, keys::kUpgradeFilePath));
    showFirmwarePath(stored);
    if (!io.firmware.checkFile(stored, log->logBox()))
        showFirmwarePath({});
    log->reset(QString());
    const bool development = devMode || io.connection.developmentModeEnabled();
    developmentUpgradeButton->setVisible(development);
    readComputerInfoButton->setVisible(development);
}

bool UpgradePage::upgradeStatusCheck() const
{
    return io.firmware.statusCheck();
}

bool UpgradePage::linkBusy() const
{
    return io.link.waitDepth() > 0;
}

void UpgradePage::showFirmwarePath(const std::filesystem::path& path)
{
    firmwarePath = path;
    fileText->setText(qs(path.u16string()));
}

void UpgradePage::chooseFirmwareFile()
{
    const auto chosen = files::chooseOpenFile(io.chooser, io.prompt, u"bin");
    if (!chosen)
        return;
    if (!io.firmware.checkFile(*chosen, log->logBox())) {
        // The box and the upgrade never disagree about which file would be sent.
        showFirmwarePath({});
        return;
    }
    showFirmwarePath(*chosen);
    writeKey(io.paths.work, keys::kUpgradeFilePath, chosen->u16string());
}

void UpgradePage::upgrade(bool development)
{
    if (io.firmware.running() || linkBusy())
        return;
    if (development) {
        // For this run only; the stored choice stays.
        const auto image = transfer::developmentImagePath(io.dataRoot.u16string());
        showFirmwarePath(image.value_or(std::filesystem::path()));
    }
    log->reset(tr("升级机器主程序"));
    ScopedTransferProgress progress(io.firmware.onProgress, progressBar);
    // The log tells the user how it ended.
    static_cast<void>(development ? io.firmware.developmentUpgrade(firmwarePath, log->logBox())
                                  : io.firmware.upgrade(firmwarePath, log->logBox()));
    if (io.firmware.upgradeFileSize() == 0)
        showFirmwarePath({});
}

void UpgradePage::downloadParameterFile(const ParameterFile& file)
{
    if (linkBusy())
        return;
    log->clear();
    if (!io.transfer.checkConnected(log->logBox()))
        return;
    const std::u16string name(file.name);
    log->add(tr("->读取 ") + qs(name) + tr("参数文件 "), true);
    // For the air conditioner the name already ends in 参数文件; the title repeats it.
    const std::u16string title = u"导入" + name + kParameterFileWord;
    const auto chosen = files::chooseOpenFile(io.chooser, io.prompt, title, file.extension);
    if (!chosen) {
        log->add(tr("->文件错误 "), true);
        return;
    }
    log->add(tr("->下载 ") + qs(name) + tr("参数文件 "), true);
    log->startLine();
    ScopedTransferProgress progress(io.transfer.onProgress, progressBar);
    // The log tells the user how it ended.
    static_cast<void>(io.transfer.downloadFile(file.kind, *chosen, log->logBox()));
}

void UpgradePage::uploadParameterFile(const ParameterFile& file)
{
    if (linkBusy())
        return;
    log->clear();
    if (!io.transfer.checkConnected(log->logBox()))
        return;
    log->add(tr(file.uploadFirstLine), true);
    log->startLine();
    ScopedTransferProgress progress(io.transfer.onProgress, progressBar);
    // The log tells the user how it ended.
    static_cast<void>(io.transfer.uploadFile(file.kind, io.dataRoot / std::u16string(file.uploadTarget),
                                             log->logBox()));
}

bool UpgradePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == infoBox &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::InputMethod))
        hiddenCommandTimer->start(); // restarts a running one
    return QWidget::eventFilter(watched, event);
}

void UpgradePage::runHiddenCommand()
{
    const QString typed = infoBox->toPlainText();
    if (typed == QStringLiteral("@mark")) {
        const uint8_t shown = toggleLogo(io.paths, io.titleBarSettings);
        emit logoVisibilityChanged(shown == 1);
        log->add(tr("  OK L_logo显示=") + QString::number(shown), true);
    } else if (typed == QStringLiteral("@查版本")) {
        queries->requestVersion();
    } else if (typed == QStringLiteral("@维护入口")) {
        devMode = true;
        emit developmentModeEntered();
        io.prompt.message(tr("开发模式！").toStdU16String());
    } else if (typed == QStringLiteral("@主机详情")) {
        queries->requestInformation();
    }
}

} // namespace rz::ui
