// The development-mode window against the in-process simulated controller: list entries and
// typed frames go out unchanged, built frames show what was sent, received bytes are grouped
// into lines by pauses, and paused reception shows nothing.
#include "core/link/Frame.h"
#include "sim/Controller.h"
#include "support/ui/PageRig.h"
#include "ui/testtools/DevelopmentWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <vector>

using namespace rz;

namespace {

using Bytes = std::vector<uint8_t>;

struct FrameLog : sim::ControllerListener {
    void onEvent(const sim::ControllerEvent& e) override
    {
        if (e.kind == sim::EventKind::FrameReceived)
            frames.push_back(link::buildFrame(e.command, e.payload));
    }
    std::vector<Bytes> frames;
};

struct Rig : test::PageRig {
    Rig()
    {
        controller.setListener(&log);
        link.setTransport(&transport);
        window->show();
    }
    ~Rig()
    {
        window.reset();
        link.setTransport(nullptr);
    }
    template <class W>
    W* get(const char* name) const
    {
        return find<W>(window.get(), QString::fromUtf8(name));
    }
    QString receivedText() const { return get<QPlainTextEdit>("Text接收信息")->toPlainText(); }

    FrameLog log;
    std::unique_ptr<ui::DevelopmentWindow> window = std::make_unique<ui::DevelopmentWindow>(link, manager);
};

const Bytes kCheer{0xFA, 0xF5, 0xAA, 0x55, 0x00, 0x09, 0xCE, 0x15, 0x6C};

} // namespace

class DevelopmentWindowTest : public QObject {
    Q_OBJECT
private slots:
    void cheerEntryAndBuiltFrameSendTheSameBytes()
    {
        Rig rig;
        auto* list = rig.get<QListWidget>("List指令列表");
        QCOMPARE(list->count(), 23);
        const auto items = list->findItems(QStringLiteral("FAF5AA55 0009 CE15 6C -喝彩"), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        emit list->itemClicked(items.front());
        QCOMPARE(rig.get<QLineEdit>("Text直接发送数据")->text(), QStringLiteral("FAF5AA55 0009 CE15 6C"));
        QCOMPARE(rig.log.frames, std::vector<Bytes>{kCheer});

        rig.get<QLineEdit>("Text模拟数据")->setText(QStringLiteral("15"));
        rig.get<QPushButton>("Command模拟发送指令")->click();
        QCOMPARE(rig.log.frames, (std::vector<Bytes>{kCheer, kCheer}));
        QVERIFY2(rig.receivedText().contains(QStringLiteral("FAF5AA550009CE156C")), qPrintable(rig.receivedText()));
    }

    void badHexadecimalSendsNothingAndSaysSo()
    {
        Rig rig;
        rig.get<QLineEdit>("Text直接发送数据")->setText(QStringLiteral("FAF5 XY"));
        rig.get<QPushButton>("Command直接发送数据")->click();
        rig.get<QLineEdit>("Text模拟数据")->setText(QStringLiteral("1"));
        rig.get<QPushButton>("Command模拟发送指令")->click();
        QVERIFY(rig.log.frames.empty());
        QCOMPARE(rig.receivedText().count(QStringLiteral("-----数据错误-----")), 2);
    }

    void receptionGroupedByPausesAndPaused()
    {
        Rig rig;
        QVERIFY(rig.manager.developmentWindowOpen());
        rig.get<QComboBox>("Combo换行时间")->setCurrentText(QStringLiteral("20"));
        const uint8_t first[] = {0x01, 0x02};
        const uint8_t second[] = {0x03};
        rig.link.receive(first);
        rig.link.receive(second);
        QTRY_COMPARE(rig.receivedText(), QStringLiteral("01 02 03 \n"));
        rig.get<QCheckBox>("Check暂停接收")->setChecked(true);
        rig.link.receive(first);
        QTest::qWait(40);
        QCOMPARE(rig.receivedText(), QStringLiteral("01 02 03 \n"));
        rig.get<QPushButton>("Command清除")->click();
        QVERIFY(rig.receivedText().isEmpty());
        rig.window->close();
        QVERIFY(!rig.manager.developmentWindowOpen());
    }
};

QTEST_MAIN(DevelopmentWindowTest)
#include "tst_developmentwindow.moc"
