// The RDM page driven through its object names against the in-process simulated controller
// with three RDM fixtures on its line: search, read, address and personality, the
// discovery-reply tools, the free request and the log.
#include "core/liveout/LiveSender.h"
#include "sim/Controller.h"
#include "support/Fakes.h"
#include "support/ui/PageRig.h"
#include "ui/rdm/RdmPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace rz;

namespace {

const rdm::Uid kFirst(0x0311, 0xF3944E87);
const rdm::Uid kSecond(0x4D41, 0x00000102);
const rdm::Uid kThird(0x7A70, 0x12345678);

constexpr auto kInitialReplyText =
    "FE FE FE FE FE FE FE AA AB 57 BB 55 FB F7 BE D5 EE 5F AF D7 AA 5D EA 7F";

// Runs a step each time the controller receives a frame: a click that arrives in the middle of
// a search, whether or not the search had to wait for its answers.
class OnFrame : public sim::ControllerListener {
public:
    void onEvent(const sim::ControllerEvent& e) override
    {
        if (e.kind == sim::EventKind::FrameReceived && step)
            step();
    }
    std::function<void()> step;
};

struct Rig : test::PageRig {
    Rig()
    {
        int address = 1;
        for (rdm::Uid uid : {kFirst, kSecond, kThird}) {
            sim::RdmResponder r;
            r.uid = uid;
            r.manufacturerLabel = "Maker";
            r.deviceLabel = "Spot";
            r.footprints = {6, 12, 16};
            r.personality = 2;
            r.startAddress = static_cast<uint16_t>(address);
            address += 20;
            controller.rdm().add(r);
        }
        controller.setListener(&onFrame);
        connect();
        page->open();
    }

    template <class W>
    W* get(const char* name) const
    {
        return find<W>(page.get(), QString::fromUtf8(name));
    }
    void click(const char* name) { get<QPushButton>(name)->click(); }
    QListWidget* list() const { return get<QListWidget>("List_ID灯具列表"); }
    // The list click on the entry with this text.
    void choose(const QString& entry)
    {
        const auto items = list()->findItems(entry, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        list()->setCurrentItem(items.front());
        emit list()->itemClicked(items.front());
    }
    sim::RdmResponder& fixture(rdm::Uid uid) { return *controller.rdm().find(uid); }
    QString uidText(rdm::Uid uid) const { return QString::fromStdU16String(uid.listedText()); }

    OnFrame onFrame;
    std::unique_ptr<ui::RdmPage> page = makePage<ui::RdmPage>();
};

} // namespace

class RdmPageTest : public QObject {
    Q_OBJECT
private slots:
    void openingDrivesTheLiveOutputAndSendsTheRdmControl()
    {
        Rig rig;
        QCOMPARE(rig.live.liveOutputMode(), liveout::kModeRdm);
        QCOMPARE(rig.controller.rdm().controlParameter(), 1);
        QCOMPARE(rig.get<QPushButton>("Command搜索")->text(), QStringLiteral("搜索"));
        QCOMPARE(rig.get<QComboBox>("Combo添加ID")->currentText(), QStringLiteral("FF-FF-FF-FF-FF-FF"));
    }

    void searchFindsTheThreeFixturesThenReadsAndReaddressesOne()
    {
        Rig rig;
        rig.click("Command搜索");
        QCOMPARE(rig.list()->count(), 3);
        QStringList found;
        for (int i = 0; i < rig.list()->count(); ++i)
            found << rig.list()->item(i)->text();
        found.sort();
        QStringList expected{rig.uidText(kFirst), rig.uidText(kSecond), rig.uidText(kThird)};
        expected.sort();
        QCOMPARE(found, expected);
        QCOMPARE(rig.get<QGroupBox>("Frame灯具数量")->title(), QStringLiteral("灯具搜索 (3)"));
        QCOMPARE(rig.get<QPushButton>("Command搜索")->text(), QStringLiteral("搜索"));
        QVERIFY(rig.get<QGroupBox>("Frame灯具信息")->isEnabled());
        QVERIFY(rig.list()->isEnabled());
        for (const auto& r : rig.controller.rdm().responders())
            QVERIFY(!r.muted);

        rig.choose(rig.uidText(kSecond));
        QCOMPARE(rig.get<QLineEdit>("Text_ID选择")->text(), rig.uidText(kSecond));
        QCOMPARE(rig.get<QLineEdit>("Text_测试发送ID")->text(), rig.uidText(kSecond));
        const QString info = rig.get<QLabel>("Label灯具信息")->text();
        QVERIFY2(info.startsWith(QStringLiteral("厂家:Maker\n产品:Spot\n")), qPrintable(info));
        QVERIFY(info.contains(QStringLiteral("Dmx地址：21")));
        QCOMPARE(rig.get<QLineEdit>("Text地址")->text(), QStringLiteral("21"));
        auto* modes = rig.get<QComboBox>("Combo通道模式");
        QCOMPARE(modes->count(), 3);
        QCOMPARE(modes->itemText(2), QStringLiteral("3模式"));
        QCOMPARE(modes->currentIndex(), 1);

        rig.get<QLineEdit>("Text地址")->setText(QStringLiteral("200"));
        rig.click("Command修改地址");
        QCOMPARE(rig.fixture(kSecond).startAddress, 200);
        QCOMPARE(rig.fixture(kFirst).startAddress, 1);
        // The device is read again: the box shows what the device now holds.
        QVERIFY(rig.get<QLabel>("Label灯具信息")->text().contains(QStringLiteral("Dmx地址：200")));

        modes->setCurrentIndex(2);
        rig.click("Command修改通道模式");
        QCOMPARE(rig.fixture(kSecond).personality, 3);
        QCOMPARE(rig.get<QComboBox>("Combo通道模式")->currentIndex(), 2);
        QVERIFY(rig.prompt.messages.empty());
    }

    void addressOutsideTheLineIsRefused()
    {
        Rig rig;
        rig.get<QComboBox>("Combo添加ID")->setEditText(rig.uidText(kFirst));
        rig.click("Command手动添加ID");
        rig.choose(rig.uidText(kFirst));
        const struct {
            const char* text;
            int address; // 0: refused
        } cases[] = {{"0", 0}, {"513", 0}, {"abc", 0}, {"1", 1}, {"512", 512}};
        for (const auto& c : cases) {
            rig.prompt.messages.clear();
            rig.fixture(kFirst).startAddress = 77;
            const uint32_t before = rig.controller.rdm().requestsSeen();
            rig.get<QLineEdit>("Text地址")->setText(QString::fromLatin1(c.text));
            rig.click("Command修改地址");
            if (c.address == 0) {
                QCOMPARE(rig.prompt.messages, std::vector<std::u16string>{u"地址输入错误！"});
                QCOMPARE(rig.controller.rdm().requestsSeen(), before);
                QCOMPARE(rig.fixture(kFirst).startAddress, 77);
            } else {
                QVERIFY(rig.prompt.messages.empty());
                QCOMPARE(rig.fixture(kFirst).startAddress, c.address);
            }
        }
    }

    void emptyPersonalityListIsRefused()
    {
        Rig rig;
        const uint32_t before = rig.controller.rdm().requestsSeen();
        rig.click("Command修改通道模式");
        QCOMPARE(rig.prompt.messages, std::vector<std::u16string>{u"通道设置错误！"});
        QCOMPARE(rig.controller.rdm().requestsSeen(), before);
    }

    void failedDeviceInfoKeepsTheListAndAddress()
    {
        Rig rig;
        auto* manual = rig.get<QComboBox>("Combo添加ID");
        for (rdm::Uid uid : {kFirst, rdm::Uid(0x1234, 0x1)}) {
            manual->setEditText(rig.uidText(uid));
            rig.click("Command手动添加ID");
        }
        rig.choose(rig.uidText(kFirst));
        QCOMPARE(rig.get<QLineEdit>("Text地址")->text(), QStringLiteral("1"));
        rig.choose(QStringLiteral("12-34-00-00-00-01"));
        QVERIFY(rig.get<QLabel>("Label灯具信息")->text().endsWith(QStringLiteral("读取失败")));
        QCOMPARE(rig.get<QLineEdit>("Text地址")->text(), QStringLiteral("1"));
        QCOMPARE(rig.get<QComboBox>("Combo通道模式")->count(), 3);
        QCOMPARE(rig.list()->count(), 2);
    }

    void discoveryReplyTools_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("result");
        const QString initial = QString::fromLatin1(kInitialReplyText);
        QTest::newRow("decode initial") << initial << "Command解析ID" << "03-11-F3-94-4E-87-";
        QTest::newRow("one digit short") << initial.left(initial.size() - 1) << "Command解析ID" << "格式错误！";
        QString fd = initial;
        fd.replace(0, 2, QStringLiteral("FD"));
        QTest::newRow("FE to FD") << fd << "Command解析ID" << "解析错误！";
        QTest::newRow("encode") << "03-11-f3-94-4e-87" << "Command组装ID" << initial + ' ';
    }
    void discoveryReplyTools()
    {
        QFETCH(QString, input);
        QFETCH(QString, button);
        QFETCH(QString, result);
        Rig rig;
        rig.get<QLineEdit>("Text解析ID")->setText(input);
        rig.click(button.toUtf8().constData());
        QCOMPARE(rig.get<QLineEdit>("Text_ID_分析结果")->text(), result);
    }

    void stopClickDuringASearchEndsIt()
    {
        Rig rig;
        auto* search = rig.get<QPushButton>("Command搜索");
        bool stopped = false;
        bool sawDisabled = false;
        // Stopped once the first fixture is in the list.
        rig.onFrame.step = [&] {
            if (stopped || rig.list()->count() == 0)
                return;
            stopped = true;
            QCOMPARE(search->text(), QStringLiteral("停止"));
            sawDisabled = !rig.get<QGroupBox>("Frame灯具信息")->isEnabled() && !rig.list()->isEnabled();
            search->click();
        };
        search->click();
        rig.onFrame.step = nullptr;
        QVERIFY(sawDisabled);
        QVERIFY(!rig.page->searching());
        QVERIFY(rig.list()->count() < 3);
        QCOMPARE(rig.get<QGroupBox>("Frame灯具数量")->title(),
                 QStringLiteral("灯具搜索 (%1)").arg(rig.list()->count()));
        QCOMPARE(search->text(), QStringLiteral("搜索"));
        QVERIFY(rig.get<QGroupBox>("Frame灯具信息")->isEnabled());
    }

    void closeWhileIdleChangesNothing()
    {
        Rig rig;
        const uint32_t before = rig.controller.rdm().requestsSeen();
        rig.page->closeRdm();
        QCOMPARE(rig.controller.rdm().requestsSeen(), before);
        QCOMPARE(rig.get<QGroupBox>("Frame灯具数量")->title(), QStringLiteral("灯具搜索"));
        QCOMPARE(rig.get<QPushButton>("Command搜索")->text(), QStringLiteral("搜索"));
    }

    void closeDuringASearchStopsIt()
    {
        Rig rig;
        bool closed = false;
        rig.onFrame.step = [&] {
            if (!closed && rig.list()->count() > 0) {
                closed = true;
                rig.page->closeRdm();
            }
        };
        rig.click("Command搜索");
        rig.onFrame.step = nullptr;
        QVERIFY(!rig.page->searching());
        QVERIFY(rig.list()->count() < 3);
    }

    void presetInstructionFillsTheRequestAndTheLogShowsTheAnswer()
    {
        Rig rig;
        auto* presets = rig.get<QComboBox>("Combo测试指令");
        const int index = presets->findText(QStringLiteral("0030 00F0 0001//DMX_START_ADDRESS 设为1"));
        QVERIFY(index > 0);
        presets->setCurrentIndex(index);
        emit presets->activated(index);
        QCOMPARE(rig.get<QComboBox>("Combo指令1")->currentText(), QStringLiteral("0030"));
        QCOMPARE(rig.get<QComboBox>("Combo指令2")->currentText(), QStringLiteral("00F0"));
        QCOMPARE(rig.get<QLineEdit>("Text发送数据")->text(), QStringLiteral("0001"));

        rig.fixture(kFirst).startAddress = 99;
        rig.get<QLineEdit>("Text_测试发送ID")->setText(rig.uidText(kFirst));
        rig.click("Command发送指令");
        QCOMPARE(rig.fixture(kFirst).startAddress, 1);
        auto* log = rig.get<QPlainTextEdit>("Text调试信息");
        QVERIFY(log->isReadOnly());
        QVERIFY2(log->toPlainText().contains(QStringLiteral("->>>> ")), qPrintable(log->toPlainText()));
        QVERIFY(log->toPlainText().contains(QStringLiteral("<<<<- ")));
        rig.click("Command清空信息");
        QVERIFY(log->toPlainText().isEmpty());
    }

    void identifyAndMuteReachTheSelectedFixture()
    {
        Rig rig;
        rig.get<QComboBox>("Combo添加ID")->setEditText(rig.uidText(kThird));
        rig.click("Command手动添加ID");
        rig.choose(rig.uidText(kThird));
        rig.click("Command单独点灯(1)");
        QCOMPARE(rig.fixture(kThird).identify, 1);
        rig.click("Command单独点灯(0)");
        QCOMPARE(rig.fixture(kThird).identify, 0);
        rig.click("Command单个灯mute");
        QVERIFY(rig.fixture(kThird).muted);
        QVERIFY(!rig.fixture(kFirst).muted);
        rig.click("Command解除所有Mute");
        QVERIFY(!rig.fixture(kThird).muted);
    }

    void detailedLogOnlyAfterTheDoubleClick()
    {
        Rig rig;
        QVERIFY(!rig.page->detailedLogging());
        QTest::mouseDClick(rig.get<QLabel>("Label搜索次数"), Qt::LeftButton);
        QVERIFY(rig.page->detailedLogging());
        rig.click("Command搜索");
        QVERIFY(rig.get<QPlainTextEdit>("Text调试信息")->toPlainText().contains(QStringLiteral("L=")));
    }
};

QTEST_MAIN(RdmPageTest)
#include "tst_rdmpage.moc"
