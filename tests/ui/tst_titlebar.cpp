// The title bar: function buttons and their pages, the relay debugging and its settings, the
// save button, the counters' double click, and a real connection to the simulator program
// from the connect button.
#include "core/app/ColourScheme.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "io/QtSeams.h"
#include "io/QtTransportOpener.h"
#include "support/Fakes.h"
#include "core/liveout/DebugRelays.h"
#include "ui/shell/TitleBar.h"

#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QUdpSocket>
#include <QtTest>

#include <memory>
#include <vector>

using namespace rz;

namespace {

// No port and no socket: sends go nowhere, so a handshake simply times out.
class NoTransports : public link::TransportOpener {
public:
    std::vector<link::SerialPortChoice> listSerialPorts() override { return {}; }
    link::Transport* openSerial(const std::u16string&) override { return nullptr; }
    void closeSerial() override {}
    link::Transport* openWifi() override { return nullptr; }
    void closeWifi() override {}
};

// A title bar wired to a connection manager over the given opener, loaded as at start-up.
struct Rig {
    Rig(link::TransportOpener& opener, const std::filesystem::path& root)
        : paths(settingsPaths(root)), link(clock, yield), relays(paths.work),
          bar(paths, scheme, navigation, relays, titleSettings), manager(link, opener, paths, bar)
    {
        bar.setConnectionManager(&manager);
    }
    ~Rig() { link.setTransport(nullptr); }

    template <typename T>
    T* find(const QString& name)
    {
        T* w = bar.findChild<T*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    QPushButton* functionButton(int k) { return find<QPushButton>(QStringLiteral("Command功能选择(%1)").arg(k)); }

    SettingsPaths paths;
    ColourScheme scheme;
    io::QtClock clock;
    io::QtYield yield;
    link::Link link;
    Navigation navigation;
    liveout::DebugRelays relays;
    TitleBarSettings titleSettings;
    ui::TitleBar bar;
    link::ConnectionManager manager;
};

// A title bar without any controller.
struct OfflineRig {
    test::TempDir dir;
    NoTransports none;
    Rig rig{none, dir.path()};
};

} // namespace

class TitleBarTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithItsControlsAndCaptions();
    void functionButtonsOpenTheirPagesAndCloseRdm_data();
    void functionButtonsOpenTheirPagesAndCloseRdm();
    void sceneButtonFollowsScenePageMode();
    void buttonWithoutItsPageDoesNothing();
    void relayClickedTwiceStoresZero();
    void relaysLoadFromWorkSettings();
    void saveButtonShowsSavingThenRestores();
    void doubleClickOnCountersOpensUpgradePage();
    void countersExplainThemselvesAndTheUpgradePageSelectsNoButton();
    void unansweredHandshakeIsShownWithoutABox();
    void connectButtonConnectsToTheSimulator();
};

void TitleBarTest::opensWithItsControlsAndCaptions()
{
    OfflineRig offline;
    Rig& rig = offline.rig;
    rig.bar.load();
    const QStringList captions = {u"灯控"_qs, u"灯库"_qs, u"场景"_qs, u"测试"_qs, u"下载"_qs, u"RDM"_qs};
    const int numbers[] = {1, 3, 4, 5, 6, 7};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(rig.functionButton(numbers[i])->text(), captions[i]);
    QVERIFY(!rig.bar.findChild<QPushButton*>(u"Command功能选择(2)"_qs));
    QCOMPARE(rig.find<QPushButton>(u"Command连接"_qs)->text(), u"未连接"_qs);
    QCOMPARE(rig.find<QLabel>(u"Label数据包"_qs)->text(), u"S:0000   G:0000"_qs);
    QCOMPARE(rig.find<QPushButton>(u"Command立刻保存"_qs)->text(), u"保存"_qs);
    QCOMPARE(rig.find<QComboBox>(u"Combo连接方式"_qs)->itemText(0), u"Wifi"_qs);
    QVERIFY(rig.find<QPushButton>(u"Command开发模式"_qs)->isHidden());
    QVERIFY(rig.find<QLabel>(u"Image_logo"_qs)->isHidden()); // "LoSet" is not 1
    for (int k = 1; k <= 24; ++k)
        QVERIFY(rig.bar.findChild<QLabel*>(u"Image调试继电器(%1)"_qs.arg(k)));
}

void TitleBarTest::functionButtonsOpenTheirPagesAndCloseRdm_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("closesRdm");
    using P = PageId;
    QTest::newRow("灯控") << 1 << int(P::LightControl) << true;
    QTest::newRow("灯库") << 3 << int(P::FixtureLibrary) << true;
    QTest::newRow("场景") << 4 << int(P::Scene) << true;
    QTest::newRow("测试") << 5 << int(P::Test) << true;
    QTest::newRow("下载") << 6 << int(P::Download) << true;
    QTest::newRow("RDM") << 7 << int(P::Rdm) << false;
}

void TitleBarTest::functionButtonsOpenTheirPagesAndCloseRdm()
{
    QFETCH(int, button);
    QFETCH(int, page);
    QFETCH(bool, closesRdm);
    OfflineRig offline;
    Rig& rig = offline.rig;
    rig.bar.load();
    std::vector<int> opened;
    rig.navigation.openPage = [&opened](PageId p) { opened.push_back(int(p)); };
    int rdmCloses = 0;
    rig.navigation.closeRdm = [&] { ++rdmCloses; };

    QTest::mouseClick(rig.functionButton(button), Qt::LeftButton);
    QCOMPARE(opened, std::vector<int>{page});
    QCOMPARE(rdmCloses, closesRdm ? 1 : 0);
    QVERIFY(rig.functionButton(button)->property("selected").toBool());
    for (int other : {1, 3, 4, 5, 6, 7})
        if (other != button)
            QVERIFY(!rig.functionButton(other)->property("selected").toBool());
}

void TitleBarTest::sceneButtonFollowsScenePageMode()
{
    OfflineRig offline;
    Rig& rig = offline.rig;
    std::vector<PageId> opened;
    rig.navigation.openPage = [&opened](PageId p) { opened.push_back(p); };
    const struct {
        ScenePageMode mode;
        const char16_t* caption;
        PageId page;
    } cases[] = {
        {ScenePageMode::Effect, u"效果", PageId::Effect},
        {ScenePageMode::Material, u"素材", PageId::Material},
        {ScenePageMode::Scene, u"场景", PageId::Scene},
    };
    for (const auto& c : cases) {
        rig.navigation.setScenePageMode(c.mode);
        QCOMPARE(rig.functionButton(4)->text(), QString::fromUtf16(c.caption));
        opened.clear();
        QTest::mouseClick(rig.functionButton(4), Qt::LeftButton);
        QCOMPARE(opened, std::vector<PageId>{c.page});
    }
    // The light-control button opens the air conditioner once a page switched it.
    rig.navigation.setLightButtonOpensAirConditioner(true);
    opened.clear();
    QTest::mouseClick(rig.functionButton(1), Qt::LeftButton);
    QCOMPARE(opened, std::vector<PageId>{PageId::AirConditioner});
}

void TitleBarTest::buttonWithoutItsPageDoesNothing()
{
    OfflineRig offline;
    Rig& rig = offline.rig;
    rig.bar.load();
    for (int k : {1, 3, 4, 5, 6, 7})
        QTest::mouseClick(rig.functionButton(k), Qt::LeftButton); // no page, no close hook: no crash
    QVERIFY(rig.functionButton(7)->property("selected").toBool());
}

void TitleBarTest::relayClickedTwiceStoresZero()
{
    OfflineRig offline;
    Rig& rig = offline.rig;
    rig.bar.load();
    int requests = 0;
    const Subscription watch = rig.relays.changed.subscribe([&] { ++requests; });
    QLabel* relay3 = rig.find<QLabel>(u"Image调试继电器(3)"_qs);

    QTest::mouseClick(relay3, Qt::LeftButton);
    QCOMPARE(rig.relays.levels()[3], uint8_t{255});
    QCOMPARE(readKey(rig.paths.work, u"调试继电器03"), u"255");
    QCOMPARE(requests, 1);

    QTest::mouseClick(relay3, Qt::LeftButton);
    QCOMPARE(rig.relays.levels()[3], uint8_t{0});
    QCOMPARE(readKey(rig.paths.work, u"调试继电器03"), u"0");
    QCOMPARE(requests, 2);
    for (int k = 1; k <= 30; ++k)
        QCOMPARE(rig.relays.levels()[k], uint8_t{0});
}

void TitleBarTest::relaysLoadFromWorkSettings()
{
    OfflineRig offline;
    Rig& rig = offline.rig;
    test::writeText(rig.paths.work, "调试继电器05=255\r\n调试继电器07=300\r\n调试继电器24=abc\r\n调试继电器30=255\r\n");
    rig.bar.load();
    QCOMPARE(rig.relays.levels()[5], uint8_t{255});
    QCOMPARE(rig.relays.levels()[7], uint8_t{0}); // above 255: ignored
    QCOMPARE(rig.relays.levels()[24], uint8_t{0});
    QCOMPARE(rig.relays.levels()[30], uint8_t{255}); // kept and sent, though not shown
    QVERIFY(rig.find<QLabel>(u"Image调试继电器(5)"_qs)->property("forced").toBool());
}

void TitleBarTest::saveButtonShowsSavingThenRestores()
{
    OfflineRig offline;
    Rig& rig = offline.rig;
    rig.bar.load();
    auto* save = rig.find<QPushButton>(u"Command立刻保存"_qs);
    QStringList seen;
    rig.bar.saveShow = [&] { seen << u"save:"_qs + save->text(); };
    rig.bar.backupShow = [&] { seen << u"backup"_qs; };

    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(seen, (QStringList{u"save:保存中"_qs, u"backup"_qs}));
    QCOMPARE(save->text(), u"保存中"_qs);
    QTRY_COMPARE_WITH_TIMEOUT(save->text(), u"保存"_qs, 5000);
}

void TitleBarTest::countersExplainThemselvesAndTheUpgradePageSelectsNoButton()
{
    OfflineRig offline;
    Rig& rig = offline.rig;
    rig.bar.load();
    const QString tip = rig.find<QLabel>(u"Label数据包"_qs)->toolTip();
    QVERIFY(tip.contains(u"双击"_qs) && tip.contains(u"S"_qs) && tip.contains(u"G"_qs));
    QTest::mouseClick(rig.functionButton(3), Qt::LeftButton);
    rig.navigation.pageShown(PageId::Upgrade);
    for (int k : {1, 3, 4, 5, 6, 7})
        QVERIFY(!rig.functionButton(k)->property("selected").toBool());
}

void TitleBarTest::unansweredHandshakeIsShownWithoutABox()
{
    // A controller address where nothing answers.
    QUdpSocket silent;
    QVERIFY(silent.bind(QHostAddress::LocalHost, 0));
    test::TempDir dir;
    const SettingsPaths paths = settingsPaths(dir.path());
    QVERIFY(writeKey(paths.system, keys::kWifiIp, u"127.0.0.1"));
    QVERIFY(writeKey(paths.system, keys::kWifiPort, QString::number(silent.localPort()).toStdU16String()));
    io::QtTransportOpener opener(paths.system, {});
    Rig rig(opener, dir.path());
    rig.bar.load();
    auto* button = rig.find<QPushButton>(u"Command连接"_qs);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!rig.manager.connected());
    const QString expected = u"控制器在1000毫秒内没有应答：Wifi 127.0.0.1:%1"_qs.arg(silent.localPort());
    QCOMPARE(button->toolTip(), expected);
    QCOMPARE(rig.find<QLabel>(u"Label连接提示"_qs)->toolTip(), expected);
    QVERIFY(!rig.find<QLabel>(u"Label连接提示"_qs)->text().isEmpty());
    QVERIFY(QApplication::topLevelWidgets().size() >= 1);
    QVERIFY(!QApplication::activeModalWidget());
    rig.manager.closeLinks();
}

void TitleBarTest::doubleClickOnCountersOpensUpgradePage()
{
    OfflineRig offline;
    Rig& rig = offline.rig;
    int upgrades = 0;
    rig.navigation.openPage = [&](PageId p) { upgrades += p == PageId::Upgrade; };
    QTest::mouseDClick(rig.find<QLabel>(u"Label数据包"_qs), Qt::LeftButton);
    QCOMPARE(upgrades, 1);
}

void TitleBarTest::connectButtonConnectsToTheSimulator()
{
#ifndef RZ760_SIM_PATH
    QSKIP("built without the simulator program");
#else
    QProcess sim;
    sim.setProgram(QStringLiteral(RZ760_SIM_PATH));
    sim.setArguments({u"--udp"_qs, u"127.0.0.1:0"_qs, u"--events"_qs});
    sim.start();
    QVERIFY2(sim.waitForStarted(10000), qPrintable(sim.errorString()));
    std::vector<QJsonObject> events;
    QByteArray pending;
    const auto readEvents = [&] {
        pending += sim.readAllStandardOutput();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const auto doc = QJsonDocument::fromJson(pending.left(end));
            if (doc.isObject())
                events.push_back(doc.object());
            pending.remove(0, end + 1);
        }
    };
    const auto hasEvent = [&](const QString& name) {
        readEvents();
        for (const auto& e : events)
            if (e.value(u"event"_qs).toString() == name)
                return true;
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(hasEvent(u"ready"_qs), 10000);
    const QString udp = events.front().value(u"udp"_qs).toString();
    QVERIFY2(!udp.isEmpty(), "the simulator names its udp address");

    test::TempDir root;
    const SettingsPaths paths = settingsPaths(root.path());
    QVERIFY(writeKey(paths.system, keys::kWifiIp, u"127.0.0.1"));
    QVERIFY(writeKey(paths.system, keys::kWifiPort, udp.section(u':', -1).toStdU16String()));
    QVERIFY(writeKey(paths.work, keys::kConnectionKind, u"Wifi"));

    io::QtTransportOpener opener(paths.system, {});
    opener.setLocalTestPort(0); // any free port: tests may run side by side
    Rig rig(opener, root.path());
    rig.bar.load();
    auto* button = rig.find<QPushButton>(u"Command连接"_qs);
    QCOMPARE(button->text(), u"未连接"_qs);

    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(button->text(), u"已连接"_qs, 10000);
    QVERIFY(rig.manager.connected());
    QVERIFY(button->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(hasEvent(u"handshake"_qs), 10000);
    // The C0 went out and its answer came back, and the counters say so.
    QVERIFY(rig.find<QLabel>(u"Label数据包"_qs)->text().startsWith(u"S:0001"_qs));
    QVERIFY(!rig.find<QLabel>(u"Label数据包"_qs)->text().endsWith(u"G:0000"_qs));

    // Pressing again disconnects at once.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), u"未连接"_qs);
    QVERIFY(!rig.manager.connected());

    rig.manager.closeLinks();
    sim.kill();
    sim.waitForFinished();
#endif
}

QTEST_MAIN(TitleBarTest)
#include "tst_titlebar.moc"
