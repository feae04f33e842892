#include "ui/transfer/UpgradePage.h"

#include "core/app/SettingsCatalogue.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/liveout/LiveSender.h"
#include "core/transfer/ControllerQueries.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/FirmwareUpgrade.h"
#include "ui/shell/CoreText.h"
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

namespace {

QString qs(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

// The object names of a parameter file's two buttons.
struct ParameterFileButtons {
    const char* download;
    const char* upload;
};

ParameterFileButtons buttonNames(uint8_t kind)
{
    switch (kind) {
    case 2:
        return {"Command下载墙板参数文件", "Command上传墙板参数文件"};
    case 3:
        return {"Command下载VOD参数文件", "Command上传VOD参数文件"};
    case 4:
        return {"Command下载_红外空调参数文件", "Command上传_红外空调参数文件"};
    default:
        return {"", "Command上传灯光参数文件"};
    }
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

UpgradePage::UpgradePage(PageContext& context, QWidget* parent)
    : Page(context, PageId::Upgrade, parent),
      actions({context.link, context.transfer, context.firmware, context.prompt, context.chooser, context.paths,
               context.dataRoot})
{
    setObjectName(QStringLiteral("U01__Form__升级程序"));
    setWindowTitle(tr("升级程序"));
    buildLayout();
    transferLog = std::make_unique<TransferLog>(infoBox);
    reportBox = std::make_unique<ReportBox>(*transferLog);
    queries = std::make_unique<transfer::ControllerQueries>(context.link, *reportBox);
    context.firmware.stillWanted = [this] {
        return this->context.live.liveOutputMode() == liveout::kModeUpgrade &&
               !(this->context.programClosing && this->context.programClosing());
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
    context.firmware.stillWanted = {};
}

QPushButton* UpgradePage::addButton(const QString& objectName, const QString& caption)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setMinimumHeight(32);
    return button;
}

void UpgradePage::buildLayout()
{
    QWidget* content = this;

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
    fileText->setAccessibleName(tr("升级文件"));
    auto* chooseButton = addButton(QStringLiteral("Command文件"), tr("选择文件"));
    auto* upgradeButton = addButton(QStringLiteral("Command升级"), tr("升级机器程序"));
    developmentUpgradeButton = addButton(QStringLiteral("Command开发升级"), tr("开发升级"));
    developmentUpgradeButton->setVisible(false);
    connect(chooseButton, &QPushButton::clicked, this, [this] { actions.chooseFirmwareFile(*this); });
    connect(upgradeButton, &QPushButton::clicked, this, [this] { actions.upgrade(*this, false); });
    connect(developmentUpgradeButton, &QPushButton::clicked, this, [this] { actions.upgrade(*this, true); });

    auto* firmwareBox = new QGroupBox(tr("机器程序"), content);
    auto* firmwareGrid = new QGridLayout(firmwareBox);
    firmwareGrid->addWidget(fileText, 0, 0, 1, 2);
    firmwareGrid->addWidget(chooseButton, 0, 2);
    firmwareGrid->addWidget(upgradeButton, 1, 0);
    firmwareGrid->addWidget(developmentUpgradeButton, 1, 1);
    firmwareGrid->setColumnStretch(0, 1);
    firmwareGrid->setColumnStretch(1, 1);

    // Queries
    auto* versionButton = addButton(QStringLiteral("Command读取版本号"), tr("读取版本号"));
    readComputerInfoButton = addButton(QStringLiteral("Command读取电脑信息"), tr("读取电脑信息"));
    readComputerInfoButton->setVisible(false);
    auto* fileIdButton = addButton(QStringLiteral("Command查看墙板和VOD文件ID"), tr("查看墙板和VOD文件ID"));
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
    for (const transfer::ParameterFileKind& file : transfer::kParameterFiles) {
        const ParameterFileButtons names = buttonNames(file.kind);
        auto* caption = new QLabel(translatedCoreText(std::u16string(file.rowCaption)), fileBox);
        fileGrid->addWidget(caption, row, 0);
        if (file.downloadable) {
            auto* down = addButton(QString::fromUtf8(names.download), tr("下载到机器"));
            down->setAccessibleName(caption->text() + tr("下载到机器"));
            connect(down, &QPushButton::clicked, this, [this, &file] { actions.downloadParameterFile(*this, file); });
            fileGrid->addWidget(down, row, 1);
        }
        auto* up = addButton(QString::fromUtf8(names.upload), tr("从机器上传"));
        up->setAccessibleName(caption->text() + tr("从机器上传"));
        connect(up, &QPushButton::clicked, this, [this, &file] { actions.uploadParameterFile(*this, file); });
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
    infoBox->setAccessibleName(tr("信息"));
    progressBar = new QProgressBar(content);
    progressBar->setObjectName(QStringLiteral("ProgressBar进度"));
    progressBar->setAccessibleName(tr("进度"));
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

void UpgradePage::opened()
{
    actions.pageShown(*this);
    const bool development = devMode || context.connection.developmentModeEnabled();
    developmentUpgradeButton->setVisible(development);
    readComputerInfoButton->setVisible(development);
}

bool UpgradePage::upgradeStatusCheck() const
{
    return context.firmware.statusCheck();
}

void UpgradePage::resetLog(const std::u16string& text)
{
    transferLog->reset(QString::fromStdU16String(text));
}

void UpgradePage::showProgress(uint64_t done, uint64_t total)
{
    showTransferProgress(progressBar, done, total);
}

void UpgradePage::showFirmwarePath(const std::filesystem::path& path)
{
    fileText->setText(qs(path.u16string()));
}

bool UpgradePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == infoBox &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::InputMethod))
        hiddenCommandTimer->start(); // restarts a running one
    return Page::eventFilter(watched, event);
}

void UpgradePage::runHiddenCommand()
{
    switch (transfer::parseHiddenCommand(infoBox->toPlainText().toStdU16String())) {
    case transfer::HiddenCommand::ToggleLogo: {
        const uint8_t shown = toggleLogo(context.paths, context.titleBarSettings);
        emit logoVisibilityChanged(shown == 1);
        transferLog->add(tr("  OK L_logo显示=") + QString::number(shown), true);
        break;
    }
    case transfer::HiddenCommand::QueryVersion:
        queries->requestVersion();
        break;
    case transfer::HiddenCommand::DevelopmentMode:
        devMode = true;
        emit developmentModeEntered();
        context.prompt.message(std::u16string(transfer::kDevelopmentModeMessage));
        break;
    case transfer::HiddenCommand::QueryInformation:
        queries->requestInformation();
        break;
    case transfer::HiddenCommand::None:
        break;
    }
}

} // namespace rz::ui
