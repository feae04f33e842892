// The test page driven through its object names against the in-process simulated controller:
// what each button puts on the link, the raw-byte boxes, scenes only while not live, the test
// functions with the live output, and the automatic bass.
#include "core/liveout/LiveSender.h"
#include "core/show/Show.h"
#include "sim/Controller.h"
#include "support/Fakes.h"
#include "support/ui/PageRig.h"
#include "ui/testtools/TestPage.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <vector>

using namespace rz;

namespace {

using Bytes = std::vector<uint8_t>;

// The CE payloads and the raw bytes of every frame the controller received.
class CeLog : public sim::ControllerListener {
public:
    void onEvent(const sim::ControllerEvent& e) override
    {
        if (e.kind == sim::EventKind::FrameReceived && e.command == 0xCE && !(e.payload.size() == 1 && e.payload[0] == 0x13))
            payloads.push_back(e.payload);
    }
    std::vector<Bytes> payloads;
};

struct Rig : test::PageRig {
    // Not connected: the link is open, as before the connect button, and scenes go out.
    Rig()
    {
        controller.setListener(&log);
        link.setTransport(&transport);
    }
    ~Rig() { link.setTransport(nullptr); }

    template <class W>
    W* get(const QString& name) const
    {
        return find<W>(page.get(), name);
    }
    void click(const QString& name) { get<QPushButton>(name)->click(); }

    CeLog log;
    std::unique_ptr<ui::TestPage> page = makePage<ui::TestPage>();
};

} // namespace

class TestPageTest : public QObject {
    Q_OBJECT
private slots:
    void openingSwitchesTestFunctionsOnAndAnotherPageOff()
    {
        Rig rig;
        rig.page->open();
        QCOMPARE(rig.live.liveOutputMode(), liveout::kModeTest);
        QCOMPARE(rig.log.payloads, (std::vector<Bytes>{{0x19, 0x88}}));
        rig.live.setLiveOutputMode(liveout::kModeRdm);
        QCOMPARE(rig.log.payloads.back(), (Bytes{0x19, 0x44}));
        rig.click("Command打开测试");
        QCOMPARE(rig.log.payloads.back(), (Bytes{0x19, 0x88}));
    }

    void wallPanelAndVodBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Bytes>("payload"); // empty: nothing sent
        QTest::newRow("spaced, lower case") << "Text发送墙板测试" << "Command发送墙板测试" << "A1 B2 0c" << Bytes{0x19, 0xA1, 0xA1, 0xB2, 0x0C};
        QTest::newRow("final digit") << "Text发送墙板测试" << "Command发送墙板测试" << "A1B" << Bytes{0x19, 0xA1, 0xA1, 0x0B};
        QTest::newRow("empty") << "Text发送墙板测试" << "Command发送墙板测试" << "" << Bytes{0x19, 0xA1};
        QTest::newRow("bad pair") << "Text发送墙板测试" << "Command发送墙板测试" << "A1ZZ" << Bytes{};
        QTest::newRow("vod") << "Text_VOD发送测试" << "Command_VOD发送测试" << "0102" << Bytes{0x19, 0xA2, 0x01, 0x02};
    }
    void wallPanelAndVodBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, button);
        QFETCH(QString, text);
        QFETCH(Bytes, payload);
        Rig rig;
        rig.get<QLineEdit>(box)->setText(text);
        rig.click(button);
        auto* info = rig.get<QPlainTextEdit>("Text信息");
        if (payload.empty()) {
            QVERIFY(rig.log.payloads.empty());
            QCOMPARE(info->toPlainText(), QStringLiteral("\n-----数据错误-----\n"));
        } else {
            QCOMPARE(rig.log.payloads, std::vector<Bytes>{payload});
            QVERIFY(info->toPlainText().isEmpty());
        }
    }

    void wallPanelAndVodInputComesBackIntoTheReceivedBoxes()
    {
        Rig rig;
        rig.page->open();
        QVERIFY(rig.controller.roomFunctions().testFunctionsOn());
        rig.get<QLineEdit>("Text发送墙板测试")->setText(QStringLiteral("A1 B2 0c"));
        rig.click("Command发送墙板测试");
        rig.get<QLineEdit>("Text_VOD发送测试")->setText(QStringLiteral("07"));
        rig.click("Command_VOD发送测试");
        rig.transport.poll();
        QCOMPARE(rig.get<QPlainTextEdit>("Text接收墙板测试")->toPlainText(), QStringLiteral("A1 B2 0C \n"));
        QCOMPARE(rig.get<QPlainTextEdit>("Text_VOD接收测试")->toPlainText(), QStringLiteral("07 \n"));
        rig.click("Command清空墙板发送测试");
        QVERIFY(rig.get<QLineEdit>("Text发送墙板测试")->text().isEmpty());
        rig.live.setLiveOutputMode(liveout::kModeRdm);
        rig.transport.poll();
        QVERIFY(!rig.controller.roomFunctions().testFunctionsOn());
    }

    void sceneButtonsOnlyWhileNotLive()
    {
        Rig rig;
        rig.show->scenes.scene(2).name = u"动感";
        rig.page->showSceneNames();
        QCOMPARE(rig.get<QPushButton>("Command场景(2)")->text(), QStringLiteral("2(动感)"));
        // A show that was never read still names the fixed scenes.
        QCOMPARE(rig.get<QPushButton>("Command场景(31)")->text(), QStringLiteral("31(全开)"));
        rig.click("Command场景(2)");
        QCOMPARE(rig.log.payloads, (std::vector<Bytes>{{0x12, 2}}));
        rig.link.setTransport(nullptr);
        rig.connect();
        rig.log.payloads.clear();
        rig.click("Command场景(3)");
        QVERIFY(rig.log.payloads.empty());
    }

    void roomFunctionsAndKeysReachTheController()
    {
        Rig rig;
        const std::vector<std::pair<QString, Bytes>> cases{
            {"Command模拟低音", {0x11}},
            {"Command密集鼓点", {0x14}},
            {"Command喝彩", {0x15}},
            {"Command倒彩", {0x16}},
            {"Command烟机", {0x17}},
            {"Command摇麦", {0x18}},
            {"Command排风(1)", {0x25, 1, 1}},
            {"Command排风(0)", {0x25, 1, 0}},
            {"Command空调制冷制热(2)", {0x25, 2, 2}},
            {"Command空调风速(3)", {0x25, 3, 3}},
            {"Command_内部_keyd指令_to_vod(3)", {0x22, 3}},
            {"Command_内部_keyd指令(1)", {0x30, 1, 1}},
        };
        for (const auto& [name, payload] : cases) {
            rig.log.payloads.clear();
            rig.click(name);
            QCOMPARE(rig.log.payloads, std::vector<Bytes>{payload});
        }
        QCOMPARE(rig.get<QPushButton>("Command模拟低音")->text(), QStringLiteral("手动低音"));
    }

    void automaticBassFollowsTheLiveTickInTestModeOnly()
    {
        Rig rig;
        rig.page->open();
        auto* button = rig.get<QPushButton>("Command自动鼓点");
        QCOMPARE(button->text(), QStringLiteral("自动停止"));
        button->click();
        QCOMPARE(button->text(), QStringLiteral("自动0.5秒"));
        rig.log.payloads.clear();
        for (int i = 0; i < 20; ++i)
            rig.live.liveTick();
        // Ticks 6, 11 and 16: one hit every five ticks (0.5 s at 100 ms a tick).
        QCOMPARE(std::count(rig.log.payloads.begin(), rig.log.payloads.end(), Bytes{0x11}), 3);
        rig.live.setLiveOutputMode(liveout::kModeRdm);
        rig.log.payloads.clear();
        for (int i = 0; i < 20; ++i)
            rig.live.liveTick();
        QCOMPARE(std::count(rig.log.payloads.begin(), rig.log.payloads.end(), Bytes{0x11}), 0);
        button->click();
        button->click();
        QCOMPARE(button->text(), QStringLiteral("自动停止"));
    }
};

QTEST_MAIN(TestPageTest)
#include "tst_testpage.moc"
