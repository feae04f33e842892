#include "ui/lightcontrol/AirConditionerPage.h"

#include "core/link/Link.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

const std::array<const char16_t*, AirConditionerPage::kStates> kStateCaptions{
    u"关闭", u"冷低风26度", u"冷中风23度", u"冷高风18度", u"热低风18度", u"热中风23度", u"热高风30度"};

QString stateCaption(int state)
{
    return QString::fromUtf16(kStateCaptions[static_cast<std::size_t>(state)]);
}

} // namespace

AirConditionerPage::AirConditionerPage(PageContext& context, QWidget* parent)
    : Page(context, PageId::AirConditioner, parent)
{
    setObjectName(QStringLiteral("J30__红外空调__Form"));
    auto* learnFrame = new QGroupBox(QStringLiteral("在线学习"), this);
    auto* learnColumn = new QVBoxLayout(learnFrame);
    testFrame = new QGroupBox(QStringLiteral("红外空调发射测试"), this);
    testFrame->setObjectName(QStringLiteral("Frame红外空调发射测试"));
    auto* testColumn = new QVBoxLayout(testFrame);
    for (int k = 0; k < kStates; ++k) {
        auto* learnButton = new QPushButton(stateCaption(k), learnFrame);
        learnButton->setObjectName(QStringLiteral("Command红外空调学习(%1)").arg(k));
        learnButton->setAccessibleName(QStringLiteral("学习 ") + stateCaption(k));
        learnButton->setMinimumHeight(30);
        connect(learnButton, &QPushButton::clicked, this, [this, k] { learn(k); });
        learnColumn->addWidget(learnButton);
        learnButtons[static_cast<std::size_t>(k)] = learnButton;

        auto* testButton = new QPushButton(stateCaption(k), testFrame);
        testButton->setObjectName(QStringLiteral("Command红外空调测试(%1)").arg(k));
        testButton->setAccessibleName(QStringLiteral("测试 ") + stateCaption(k));
        testButton->setMinimumHeight(30);
        connect(testButton, &QPushButton::clicked, this, [this, k] { testSend(k); });
        testColumn->addWidget(testButton);
        testButtons[static_cast<std::size_t>(k)] = testButton;
    }
    auto* stop = new QPushButton(QStringLiteral("停止学习"), learnFrame);
    stop->setObjectName(QStringLiteral("Command停止学习"));
    stop->setMinimumHeight(30);
    connect(stop, &QPushButton::clicked, this, &AirConditionerPage::stopLearning);
    learnColumn->addWidget(stop);
    // Buttons stay together at the top instead of spreading over a tall page.
    learnColumn->addStretch(1);
    testColumn->addStretch(1);
    learnFrame->setMinimumWidth(150);
    testFrame->setMinimumWidth(150);

    log = new QPlainTextEdit(this);
    log->setObjectName(QStringLiteral("Text信息反馈"));
    log->setAccessibleName(QStringLiteral("信息反馈"));
    log->setReadOnly(true);

    auto* back = new QPushButton(QStringLiteral("返回灯控"), this);
    back->setObjectName(QStringLiteral("Command返回灯控"));
    back->setMinimumHeight(30);
    connect(back, &QPushButton::clicked, this, &AirConditionerPage::returnToLightControl);

    auto* right = new QVBoxLayout;
    right->addWidget(log, 1);
    right->addWidget(back, 0, Qt::AlignRight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(12);
    row->addWidget(learnFrame);
    row->addWidget(testFrame);
    row->addLayout(right, 1);

    context.link.setReceiver(link::Link::ReceiverSlot::AirConditioner,
                             [this](uint8_t command, std::span<const uint8_t> payload) { receiveFrame(command, payload); });
}

AirConditionerPage::~AirConditionerPage()
{
    context.link.setReceiver(link::Link::ReceiverSlot::AirConditioner, {});
}

void AirConditionerPage::learn(int state)
{
    if (state < 0 || state >= kStates)
        return;
    log->setPlainText(QStringLiteral("正在学习【") + stateCaption(state) + QStringLiteral("】"));
    const std::array<uint8_t, 3> payload{kTag, kLearn, static_cast<uint8_t>(state)};
    context.link.send(kCommand, payload);
}

void AirConditionerPage::stopLearning()
{
    const std::array<uint8_t, 2> payload{kTag, kStop};
    context.link.send(kCommand, payload);
    log->setPlainText(QStringLiteral("停止学习"));
}

void AirConditionerPage::testSend(int state)
{
    if (state < 0 || state >= kStates)
        return;
    QPushButton* button = testButtons[static_cast<std::size_t>(state)];
    testFrame->setEnabled(false);
    button->setEnabled(false);
    const std::array<uint8_t, 3> payload{kTag, kTest, static_cast<uint8_t>(state)};
    context.link.send(kCommand, payload);
    // Keeps the remote-control test from being fired again while the controller sends.
    context.link.delayMs(kTestPauseMs);
    testFrame->setEnabled(true);
    button->setEnabled(true);
}

void AirConditionerPage::receiveFrame(uint8_t command, std::span<const uint8_t> payload)
{
    if (command != kCommand || payload.size() < 2 || payload[0] != kTag || payload[1] != kLearn)
        return;
    // The text ends without a line break after "正在学习【...】"; the report follows on it.
    log->setPlainText(log->toPlainText() + QStringLiteral(" ->学习成功!\n"));
    log->moveCursor(QTextCursor::End);
}

void AirConditionerPage::returnToLightControl()
{
    context.navigation.setLightButtonOpensAirConditioner(false);
    context.navigation.open(PageId::LightControl);
}

} // namespace rz::ui
