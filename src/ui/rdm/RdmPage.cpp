#include "ui/rdm/RdmPage.h"

#include "core/liveout/LiveSender.h"
#include "core/rdm/DiscoveryReply.h"
#include "core/rdm/ManualUids.h"
#include "core/rdm/RdmTexts.h"
#include "core/rdm/TestInstructions.h"
#include "ui/shell/CoreText.h"
#include "ui/shell/QtLogBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

constexpr auto kInitialManualUid = "FF-FF-FF-FF-FF-FF";
constexpr auto kInitialReplyText =
    "FE FE FE FE FE FE FE AA AB 57 BB 55 FB F7 BE D5 EE 5F AF D7 AA 5D EA 7F";
constexpr auto kInitialTestUid = "03-11-f3-94-4e-87";

QString fromCore(std::u16string_view text)
{
    return translatedCoreText(std::u16string(text));
}

QPushButton* makeButton(const QString& caption, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    return b;
}

QLineEdit* makeLineEdit(const QString& text, const QString& name, const QString& accessible, QWidget* parent)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setAccessibleName(accessible);
    return e;
}

QComboBox* makeEditableCombo(const QString& text, const QString& name, const QString& accessible,
                             QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setAccessibleName(accessible);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setEditText(text);
    return c;
}

} // namespace

RdmPage::RdmPage(PageContext& context, QWidget* parent)
    : Page(context, PageId::Rdm, parent),
      rdmDriver(context.link, context.clock, *this),
      actions(rdmDriver, context.prompt)
{
    setObjectName(QStringLiteral("B01__Rdm__Form"));
    buildLayout();
    logBox = std::make_unique<QtLogBox>(log);
    connectControls();

    rdmDriver.requestLiveFrames = [this] { this->context.live.requestLiveFrames(); };
    context.live.setModeWork(liveout::kModeRdm, [this](liveout::LiveBuffers&) { rdmDriver.rdmPeriodicStep(); });
}

RdmPage::~RdmPage()
{
    context.live.setModeWork(liveout::kModeRdm, {});
}

void RdmPage::buildLayout()
{
    auto* left = new QVBoxLayout;
    left->addWidget(buildSearchFrame(), 1);

    auto* middle = new QVBoxLayout;
    middle->addWidget(buildDeviceFrame());
    middle->addWidget(buildToolsFrame());
    middle->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addLayout(left, 2);
    top->addLayout(middle, 3);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 8, 10, 8);
    page->addLayout(top, 3);
    page->addWidget(buildLogFrame(), 2);
}

QGroupBox* RdmPage::buildSearchFrame()
{
    searchFrame = new QGroupBox(fromCore(rdm::text::kFixtureSearch), this);
    searchFrame->setObjectName(QStringLiteral("Frame灯具数量"));
    searchFrame->setAccessibleName(searchFrame->title());

    uidList = new QListWidget(searchFrame);
    uidList->setObjectName(QStringLiteral("List_ID灯具列表"));
    uidList->setAccessibleName(tr("灯具列表"));
    uidList->setMinimumWidth(200);

    searchButton = makeButton(fromCore(rdm::text::kSearch), QStringLiteral("Command搜索"), searchFrame);
    searchButton->setMinimumHeight(34);
    useMute = new QCheckBox(tr("使用Mute搜索"), searchFrame);
    useMute->setObjectName(QStringLiteral("Check使用mute搜索"));
    useMute->setAccessibleName(useMute->text());
    branchCount = new QLabel(QStringLiteral("0"), searchFrame);
    branchCount->setObjectName(QStringLiteral("Label搜索次数"));
    branchCount->setAccessibleName(tr("搜索次数"));
    branchCount->setToolTip(tr("双击显示详细信息"));
    branchCount->installEventFilter(this);

    auto* row = new QHBoxLayout;
    row->addWidget(searchButton);
    row->addWidget(useMute);
    row->addStretch(1);
    row->addWidget(new QLabel(tr("搜索次数:"), searchFrame));
    row->addWidget(branchCount);

    auto* column = new QVBoxLayout(searchFrame);
    column->addLayout(row);
    column->addWidget(uidList, 1);
    return searchFrame;
}

QGroupBox* RdmPage::buildDeviceFrame()
{
    deviceFrame = new QGroupBox(tr("灯具信息"), this);
    deviceFrame->setObjectName(QStringLiteral("Frame灯具信息"));
    deviceFrame->setAccessibleName(deviceFrame->title());

    deviceInformation = new QLabel(deviceFrame);
    deviceInformation->setObjectName(QStringLiteral("Label灯具信息"));
    deviceInformation->setAccessibleName(tr("灯具信息"));
    deviceInformation->setTextInteractionFlags(Qt::TextSelectableByMouse);
    deviceInformation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    deviceInformation->setMinimumHeight(90);
    deviceInformation->setFrameShape(QFrame::StyledPanel);

    selectedUid = makeLineEdit({}, QStringLiteral("Text_ID选择"), tr("选择的ID"), deviceFrame);
    selectedUid->setReadOnly(true);

    personalities = new QComboBox(deviceFrame);
    personalities->setObjectName(QStringLiteral("Combo通道模式"));
    personalities->setAccessibleName(tr("通道模式"));
    personalities->setMinimumWidth(100);
    setPersonality = makeButton(tr("修改通道模式"), QStringLiteral("Command修改通道模式"), deviceFrame);

    addressBox = makeLineEdit({}, QStringLiteral("Text地址"), tr("地址"), deviceFrame);
    addressBox->setMaximumWidth(100);
    setAddress = makeButton(tr("修改地址"), QStringLiteral("Command修改地址"), deviceFrame);

    identifyOff = makeButton(tr("单独点灯-关"), QStringLiteral("Command单独点灯(0)"), deviceFrame);
    identifyOn = makeButton(tr("单独点灯-开"), QStringLiteral("Command单独点灯(1)"), deviceFrame);
    muteOne = makeButton(tr("单个Mute"), QStringLiteral("Command单个灯mute"), deviceFrame);
    unMuteAll = makeButton(tr("解除所有Mute"), QStringLiteral("Command解除所有Mute"), deviceFrame);

    manualUid = makeEditableCombo(QString::fromLatin1(kInitialManualUid), QStringLiteral("Combo添加ID"),
                                  tr("添加ID"), deviceFrame);
    manualUid->setMinimumWidth(170);
    addManualUid = makeButton(tr("手动添加ID"), QStringLiteral("Command手动添加ID"), deviceFrame);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("ID"), deviceFrame), 0, 0);
    grid->addWidget(selectedUid, 0, 1);
    grid->addWidget(new QLabel(tr("通道模式"), deviceFrame), 1, 0);
    grid->addWidget(personalities, 1, 1);
    grid->addWidget(setPersonality, 1, 2);
    grid->addWidget(new QLabel(tr("地址"), deviceFrame), 2, 0);
    grid->addWidget(addressBox, 2, 1);
    grid->addWidget(setAddress, 2, 2);
    grid->addWidget(new QLabel(tr("添加ID"), deviceFrame), 3, 0);
    grid->addWidget(manualUid, 3, 1);
    grid->addWidget(addManualUid, 3, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {identifyOff, identifyOn, muteOne, unMuteAll})
        buttons->addWidget(b);
    buttons->addStretch(1);

    auto* column = new QVBoxLayout(deviceFrame);
    column->addWidget(deviceInformation);
    column->addLayout(grid);
    column->addLayout(buttons);
    return deviceFrame;
}

QGroupBox* RdmPage::buildToolsFrame()
{
    auto* frame = new QGroupBox(tr("工具"), this);
    frame->setObjectName(QStringLiteral("Frame工具"));
    frame->setAccessibleName(frame->title());

    replyBytes = makeLineEdit(QString::fromLatin1(kInitialReplyText), QStringLiteral("Text解析ID"),
                              tr("搜索应答数据"), frame);
    replyResult = makeLineEdit({}, QStringLiteral("Text_ID_分析结果"), tr("分析结果"), frame);
    decodeButton = makeButton(tr("解析ID"), QStringLiteral("Command解析ID"), frame);
    encodeButton = makeButton(tr("组装ID"), QStringLiteral("Command组装ID"), frame);

    commandClass = makeEditableCombo(QStringLiteral("0010"), QStringLiteral("Combo指令1"), tr("Cmd1"), frame);
    commandPid = makeEditableCombo(QStringLiteral("00F0"), QStringLiteral("Combo指令2"), tr("Cmd2"), frame);
    commandData = makeLineEdit({}, QStringLiteral("Text发送数据"), tr("Data"), frame);
    commandUid = makeLineEdit(QString::fromLatin1(kInitialTestUid), QStringLiteral("Text_测试发送ID"), tr("ID"), frame);
    testInstructions = new QComboBox(frame);
    testInstructions->setObjectName(QStringLiteral("Combo测试指令"));
    testInstructions->setAccessibleName(tr("测试指令"));
    testInstructions->addItem(QString());
    for (const std::u16string& line : rdm::presetTestInstructions())
        testInstructions->addItem(QString::fromStdU16String(line));
    sendButton = makeButton(tr("发送"), QStringLiteral("Command发送指令"), frame);

    auto* grid = new QGridLayout(frame);
    grid->addWidget(replyBytes, 0, 0, 1, 6);
    grid->addWidget(decodeButton, 0, 6);
    grid->addWidget(replyResult, 1, 0, 1, 6);
    grid->addWidget(encodeButton, 1, 6);
    grid->addWidget(new QLabel(tr("测试指令"), frame), 2, 0);
    grid->addWidget(testInstructions, 2, 1, 1, 6);
    grid->addWidget(new QLabel(tr("Cmd1"), frame), 3, 0);
    grid->addWidget(commandClass, 3, 1);
    grid->addWidget(new QLabel(tr("Cmd2"), frame), 3, 2);
    grid->addWidget(commandPid, 3, 3);
    grid->addWidget(new QLabel(tr("Data"), frame), 3, 4);
    grid->addWidget(commandData, 3, 5);
    grid->addWidget(new QLabel(tr("ID"), frame), 4, 0);
    grid->addWidget(commandUid, 4, 1, 1, 5);
    grid->addWidget(sendButton, 4, 6);
    grid->setColumnStretch(5, 1);
    return frame;
}

QGroupBox* RdmPage::buildLogFrame()
{
    auto* frame = new QGroupBox(tr("调试信息"), this);
    frame->setObjectName(QStringLiteral("Frame调试信息"));
    frame->setAccessibleName(frame->title());
    log = new QPlainTextEdit(frame);
    log->setObjectName(QStringLiteral("Text调试信息"));
    log->setAccessibleName(tr("调试信息"));
    log->setReadOnly(true);
    clearLogButton = makeButton(tr("清空信息"), QStringLiteral("Command清空信息"), frame);

    auto* row = new QHBoxLayout(frame);
    row->addWidget(log, 1);
    row->addWidget(clearLogButton, 0, Qt::AlignTop);
    return frame;
}

void RdmPage::connectControls()
{
    connect(searchButton, &QPushButton::clicked, this, [this] { actions.searchClicked(*this); });
    connect(useMute, &QCheckBox::clicked, this, [this](bool on) { rdmDriver.discovery().setUseMute(on); });
    connect(uidList, &QListWidget::itemClicked, this, [this] { entryChosen(); });
    connect(setAddress, &QPushButton::clicked, this, [this] { changeAddress(); });
    connect(setPersonality, &QPushButton::clicked, this, [this] { changePersonality(); });
    connect(identifyOff, &QPushButton::clicked, this, [this] { actions.identify(selectedEntry(), 0); });
    connect(identifyOn, &QPushButton::clicked, this, [this] { actions.identify(selectedEntry(), 1); });
    connect(muteOne, &QPushButton::clicked, this, [this] { rdmDriver.rdmDiscMute(selectedEntry()); });
    connect(unMuteAll, &QPushButton::clicked, this, [this] { rdmDriver.unMuteAll(); });
    connect(addManualUid, &QPushButton::clicked, this, [this] { uidList->addItem(manualUid->currentText()); });
    connect(decodeButton, &QPushButton::clicked, this, [this] { decodeReply(); });
    connect(encodeButton, &QPushButton::clicked, this, [this] { encodeReply(); });
    connect(sendButton, &QPushButton::clicked, this, [this] { sendTestCommand(); });
    connect(testInstructions, &QComboBox::activated, this, [this](int index) { testInstructionChosen(index); });
    connect(clearLogButton, &QPushButton::clicked, log, &QPlainTextEdit::clear);
}

void RdmPage::opened()
{
    // Where the manual UIDs are loaded is open; once, on the first showing, keeps the user's
    // edits of the box while the program runs.
    if (!manualUidsLoaded) {
        loadManualUids();
        manualUidsLoaded = true;
    }
    actions.pageShown();
}

void RdmPage::closeRdm()
{
    if (actions.searching())
        actions.searchClicked(*this);
}

void RdmPage::loadManualUids()
{
    const rdm::ManualUidChoices choices = rdm::readManualUidChoices(context.paths);
    manualUid->clear();
    for (const std::u16string& uid : choices.offered)
        manualUid->addItem(QString::fromStdU16String(uid));
    // An empty setting keeps the broadcast UID the box starts with.
    manualUid->setEditText(choices.initialText.empty() ? QString::fromLatin1(kInitialManualUid)
                                                       : QString::fromStdU16String(choices.initialText));
}

bool RdmPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == branchCount && event->type() == QEvent::MouseButtonDblClick)
        detailLogging = true;
    return Page::eventFilter(watched, event);
}

std::u16string RdmPage::selectedEntry() const
{
    const QListWidgetItem* item = uidList->currentItem();
    return item ? item->text().toStdU16String() : std::u16string();
}

void RdmPage::entryChosen()
{
    const std::u16string entry = selectedEntry();
    clearLog();
    commandUid->setText(QString::fromStdU16String(entry));
    selectedUid->setText(QString::fromStdU16String(entry));
    readDevice(entry);
}

void RdmPage::readDevice(const std::u16string& uidText)
{
    const rdm::DeviceInformation info = actions.readDeviceInformation(selectedEntry(), uidText);
    if (info.deviceInfoRead) {
        personalities->clear();
        for (const std::u16string& p : info.personalities)
            personalities->addItem(fromCore(p));
        if (info.personalityIndex)
            personalities->setCurrentIndex(*info.personalityIndex);
        addressBox->setText(QString::fromStdU16String(info.addressText));
    }
    deviceInformation->setText(translatedCoreText(info.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void RdmPage::changeAddress()
{
    if (actions.changeAddress(selectedEntry(), addressBox->text().toStdU16String()))
        entryChosen();
}

void RdmPage::changePersonality()
{
    if (actions.changePersonality(selectedEntry(), personalities->currentIndex(), personalities->count()))
        entryChosen();
}

void RdmPage::decodeReply()
{
    replyResult->clear();
    replyResult->setText(fromCore(rdm::decodeDiscoveryReplyTool(replyBytes->text().toStdU16String())));
}

void RdmPage::encodeReply()
{
    replyResult->setText(fromCore(rdm::encodeDiscoveryReplyText(replyBytes->text().toStdU16String())));
}

void RdmPage::sendTestCommand()
{
    rdmDriver.rdmSendTestCommand(commandUid->text().toStdU16String(), commandClass->currentText().toStdU16String(),
                                 commandPid->currentText().toStdU16String(), commandData->text().toStdU16String(),
                                 *logBox);
    appendDetail(std::u16string(rdm::text::kLineEnd));
}

void RdmPage::testInstructionChosen(int index)
{
    const QString line = testInstructions->itemText(index);
    if (line.isEmpty())
        return;
    const rdm::TestInstruction t = rdm::splitTestInstruction(line.toStdU16String());
    commandClass->setEditText(QString::fromStdU16String(t.commandClass));
    commandPid->setEditText(QString::fromStdU16String(t.pid));
    commandData->setText(QString::fromStdU16String(t.data));
}

void RdmPage::appendToLog(const QString& text)
{
    // The log keeps one line end: CR LF from the core reads as two on screen otherwise.
    QString piece = text;
    piece.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    log->moveCursor(QTextCursor::End);
    log->insertPlainText(piece);
    log->moveCursor(QTextCursor::End);
}

void RdmPage::appendDetail(const std::u16string& text)
{
    if (detailLogging)
        appendToLog(translatedCoreText(text));
}

void RdmPage::appendLog(const std::u16string& text)
{
    appendToLog(translatedCoreText(text));
}

void RdmPage::clearLog()
{
    log->clear();
}

void RdmPage::showBranchCount(uint32_t count)
{
    branchCount->setText(QString::number(count));
}

void RdmPage::uidFound(const std::u16string& listedText)
{
    uidList->addItem(QString::fromStdU16String(listedText));
}

void RdmPage::foundUidsCleared()
{
    uidList->clear();
}

void RdmPage::setSearchCaption(std::u16string_view caption)
{
    searchButton->setText(fromCore(caption));
}

void RdmPage::setFrameCaption(const std::u16string& caption)
{
    searchFrame->setTitle(fromCore(caption));
}

void RdmPage::setDeviceControlsEnabled(bool enabled)
{
    uidList->setEnabled(enabled);
    deviceFrame->setEnabled(enabled);
}

std::size_t RdmPage::listEntries()
{
    return static_cast<std::size_t>(uidList->count());
}

} // namespace rz::ui
