#include "ui/testtools/TestPage.h"

#include "core/link/Commands.h"
#include "core/link/ConnectionManager.h"
#include "core/liveout/LiveSender.h"
#include "core/show/Show.h"
#include "ui/shell/CoreText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace rz::ui {

namespace {

namespace ce = link::cmd::ce;

struct Captioned {
    const char* caption;
    uint8_t value;
};

// The value each button sends is the index of its control, so `Command排风(1)` is "排风开".
constexpr std::array<Captioned, 2> kExhaustButtons{{{"排风开", 1}, {"排风关", 0}}};
constexpr std::array<Captioned, 2> kModeButtons{{{"制冷", 1}, {"制热", 2}}};
constexpr std::array<Captioned, 4> kFanButtons{{{"高风", 1}, {"中风", 2}, {"低风", 3}, {"关闭", 0}}};
constexpr std::array<const char*, 11> kVodKeys{"播放", "静音", "切歌",  "重唱", "原伴唱", "音乐+",
                                               "音乐-", "麦克+", "麦克-", "服务", "取消服务"};
constexpr std::array<Captioned, 1> kInternalKeys{{{"Dmx固定值", 1}}};

QString indexed(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(index);
}

void appendText(QPlainTextEdit* box, const QString& text)
{
    QString piece = text;
    piece.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(piece);
    box->moveCursor(QTextCursor::End);
}

QPlainTextEdit* makeBox(const QString& name, const QString& accessible, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessible);
    box->setReadOnly(true);
    return box;
}

} // namespace

TestPage::TestPage(PageContext& context, QWidget* parent)
    : Page(context, PageId::Test, parent),
      testPanel(context.link, [&connection = context.connection] { return connection.connected(); }, *this)
{
    setObjectName(QStringLiteral("T01__测试__Form"));

    information = makeBox(QStringLiteral("Text信息"), tr("信息"), this);

    auto* left = new QVBoxLayout;
    left->addWidget(buildSceneFrame());
    left->addWidget(buildFunctionFrame());
    left->addWidget(buildRoomFrame());
    left->addWidget(buildKeyFrame());
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(buildPortFrame(tr("墙板测试"), QStringLiteral("Text发送墙板测试"),
                                    QStringLiteral("Command发送墙板测试"), QStringLiteral("Command清空墙板发送测试"),
                                    QStringLiteral("Text接收墙板测试"), testtools::kWallPanelPort));
    right->addWidget(buildPortFrame(tr("VOD测试"), QStringLiteral("Text_VOD发送测试"),
                                    QStringLiteral("Command_VOD发送测试"), QStringLiteral("Command_VOD发送测试_清空"),
                                    QStringLiteral("Text_VOD接收测试"), testtools::kVodPort));
    auto* informationFrame = new QGroupBox(tr("信息"), this);
    informationFrame->setObjectName(QStringLiteral("Frame信息"));
    auto* informationColumn = new QVBoxLayout(informationFrame);
    information->setParent(informationFrame);
    informationColumn->addWidget(information);
    right->addWidget(informationFrame, 1);

    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(10, 8, 10, 8);
    page->addLayout(left, 3);
    page->addLayout(right, 2);

    context.live.setModeWork(liveout::kModeTest,
                             [this](liveout::LiveBuffers&) { testPanel.autoBassTick(this->context.live.autoDrumCounter()); });
    context.live.switchTestFunctionsOff = [this] { testPanel.setTestFunctions(false); };
    showReplaced = context.show.replaced.subscribe([this] { showSceneNames(); });
}

TestPage::~TestPage()
{
    context.live.setModeWork(liveout::kModeTest, {});
    context.live.switchTestFunctionsOff = nullptr;
}

QPushButton* TestPage::addButton(const QString& caption, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    return b;
}

QGroupBox* TestPage::buildSceneFrame()
{
    auto* frame = new QGroupBox(tr("场景 (连接时不发送)"), this);
    frame->setObjectName(QStringLiteral("Frame场景"));
    auto* grid = new QGridLayout(frame);
    grid->setSpacing(4);
    for (int n = 1; n <= kSceneButtons; ++n) {
        QPushButton* b = addButton(QString::number(n), indexed("Command场景", n), frame);
        b->setMinimumWidth(60);
        connect(b, &QPushButton::clicked, this, [this, n] { testPanel.callScene(static_cast<uint8_t>(n)); });
        grid->addWidget(b, (n - 1) / 10, (n - 1) % 10);
        sceneButtons.push_back(b);
    }
    showSceneNames();
    return frame;
}

QGroupBox* TestPage::buildFunctionFrame()
{
    auto* frame = new QGroupBox(tr("功能"), this);
    frame->setObjectName(QStringLiteral("Frame功能"));
    auto* row = new QHBoxLayout(frame);
    const std::array<std::pair<const char*, uint8_t>, 6> functions{{{"模拟低音", ce::kDrumHit},
                                                                    {"密集鼓点", ce::kDenseDrumHits},
                                                                    {"喝彩", ce::kCheer},
                                                                    {"倒彩", ce::kBoo},
                                                                    {"烟机", ce::kSmokeMachine},
                                                                    {"摇麦", ce::kMicrophoneShake}}};
    for (const auto& [name, function] : functions) {
        const QString caption = function == ce::kDrumHit ? tr("手动低音") : QString::fromUtf8(name);
        QPushButton* b = addButton(caption, QStringLiteral("Command") + QString::fromUtf8(name), frame);
        connect(b, &QPushButton::clicked, this, [this, f = function] { testPanel.roomFunction(f); });
        row->addWidget(b);
    }
    autoBassButton = addButton(translatedCoreText(std::u16string(testtools::autoBassCaption(testPanel.autoBass()))),
                               QStringLiteral("Command自动鼓点"), frame);
    connect(autoBassButton, &QPushButton::clicked, this, [this] {
        const auto state = testPanel.advanceAutoBass();
        autoBassButton->setText(translatedCoreText(std::u16string(testtools::autoBassCaption(state))));
        autoBassButton->setAccessibleName(autoBassButton->text());
    });
    row->addWidget(autoBassButton);
    QPushButton* open = addButton(tr("打开测试"), QStringLiteral("Command打开测试"), frame);
    connect(open, &QPushButton::clicked, this, [this] { testPanel.setTestFunctions(true); });
    row->addWidget(open);
    row->addStretch(1);
    return frame;
}

QGroupBox* TestPage::buildRoomFrame()
{
    auto* frame = new QGroupBox(tr("排风 / 空调"), this);
    frame->setObjectName(QStringLiteral("Frame排风空调"));
    auto* row = new QHBoxLayout(frame);
    const auto addGroup = [&](const char* name, uint8_t what, auto buttons) {
        for (const Captioned& c : buttons) {
            QPushButton* b = addButton(QString::fromUtf8(c.caption), indexed(name, c.value), frame);
            connect(b, &QPushButton::clicked, this, [this, what, v = c.value] { testPanel.roomControl(what, v); });
            row->addWidget(b);
        }
        row->addSpacing(12);
    };
    addGroup("Command排风", testtools::kExhaustFan, kExhaustButtons);
    addGroup("Command空调制冷制热", testtools::kAirConditionerMode, kModeButtons);
    addGroup("Command空调风速", testtools::kAirConditionerFan, kFanButtons);
    row->addStretch(1);
    return frame;
}

QGroupBox* TestPage::buildKeyFrame()
{
    auto* frame = new QGroupBox(tr("按键"), this);
    frame->setObjectName(QStringLiteral("Frame按键"));
    auto* grid = new QGridLayout(frame);
    int i = 0;
    for (const char* caption : kVodKeys) {
        const int key = i + 1;
        QPushButton* b = addButton(QString::fromUtf8(caption), indexed("Command_内部_keyd指令_to_vod", key), frame);
        connect(b, &QPushButton::clicked, this, [this, key] { testPanel.vodKey(static_cast<uint8_t>(key)); });
        grid->addWidget(b, i / 6, i % 6);
        ++i;
    }
    for (const Captioned& c : kInternalKeys) {
        QPushButton* b = addButton(QString::fromUtf8(c.caption), indexed("Command_内部_keyd指令", c.value), frame);
        connect(b, &QPushButton::clicked, this, [this, v = c.value] { testPanel.internalKey(v); });
        grid->addWidget(b, i / 6, i % 6);
        ++i;
    }
    return frame;
}

QGroupBox* TestPage::buildPortFrame(const QString& title, const QString& sendBox, const QString& sendButton,
                                    const QString& clearButton, const QString& receivedBox, uint8_t port)
{
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(QStringLiteral("Frame") + sendBox);
    auto* text = new QLineEdit(frame);
    text->setObjectName(sendBox);
    text->setAccessibleName(title);
    text->setPlaceholderText(tr("十六进制, 如 A1 B2 0C"));
    QPushButton* send = addButton(tr("发送"), sendButton, frame);
    QPushButton* clear = addButton(tr("清空"), clearButton, frame);
    QPlainTextEdit* received = makeBox(receivedBox, title + tr(" 接收"), frame);
    received->setMaximumHeight(90);
    (port == testtools::kWallPanelPort ? wallPanelReceived : vodReceived) = received;

    connect(send, &QPushButton::clicked, this,
            [this, text, port] { testPanel.sendPortTest(port, text->text().toStdU16String()); });
    connect(text, &QLineEdit::returnPressed, send, &QPushButton::click);
    connect(clear, &QPushButton::clicked, text, &QLineEdit::clear);

    auto* row = new QHBoxLayout;
    row->addWidget(text, 1);
    row->addWidget(send);
    row->addWidget(clear);
    auto* column = new QVBoxLayout(frame);
    column->addLayout(row);
    column->addWidget(new QLabel(tr("接收:"), frame));
    column->addWidget(received);
    return frame;
}

void TestPage::opened()
{
    testPanel.setTestFunctions(true);
    showSceneNames();
    autoBassButton->setText(translatedCoreText(std::u16string(testtools::autoBassCaption(testPanel.autoBass()))));
}

void TestPage::showSceneNames()
{
    // Scenes 31..35 always carry their fixed names, also in a show that was never read.
    context.show.scenes.applyFixedSceneNames();
    for (int n = 1; n <= static_cast<int>(sceneButtons.size()); ++n) {
        const std::u16string& name = context.show.scenes.scene(n).name;
        QString caption = QString::number(n);
        if (!name.empty())
            caption += QStringLiteral("(%1)").arg(QString::fromStdU16String(name));
        sceneButtons[static_cast<std::size_t>(n - 1)]->setText(caption);
        sceneButtons[static_cast<std::size_t>(n - 1)]->setAccessibleName(caption);
    }
}

void TestPage::showInformation(const std::u16string& text)
{
    appendText(information, translatedCoreText(text));
}

void TestPage::showWallPanelReceived(const std::u16string& text)
{
    appendText(wallPanelReceived, QString::fromStdU16String(text) + '\n');
}

void TestPage::showVodReceived(const std::u16string& text)
{
    appendText(vodReceived, QString::fromStdU16String(text) + '\n');
}

} // namespace rz::ui
