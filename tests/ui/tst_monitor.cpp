// The universe monitor beside the fixture page: what the live sender built, grouped by the
// fixture on each address, with the fixture's tile in the colour its channels mix.
#include "core/app/SettingsFile.h"
#include "core/fixtures/FixtureLibrary.h"
#include "support/ui/PageRig.h"
#include "ui/fixtures/FixturePage.h"
#include "ui/monitor/MonitorViews.h"
#include "ui/monitor/MonitorWindow.h"

#include <QApplication>
#include <QtTest>

using namespace rz;

class TestMonitor : public QObject {
    Q_OBJECT
private slots:
    void showsTheFixturesLevelsAndColour();
    void hiddenItFollowsNothingAndItsPlaceIsRemembered();
};

void TestMonitor::showsTheFixturesLevelsAndColour()
{
    test::PageRig rig;
    fixtures::Fixture& par = rig.show->library.fixture(1);
    par.name = u"Par";
    par.startAddress = 10;
    par.channelCount = 3;
    par.channelCode[1] = 20, par.channelCode[2] = 21, par.channelCode[3] = 22; // R G B
    par.testValue[1] = 255, par.testValue[2] = 128, par.testValue[3] = 0;
    auto page = rig.makePage<ui::FixturePage>();
    rig.window.open();
    page->open();

    ui::MonitorWindow monitor(rig.live, *rig.show, rig.paths);
    monitor.toggle();
    QVERIFY(monitor.isVisible());
    rig.live.liveTick();

    const auto* channels = monitor.channels();
    QCOMPARE(channels->rowText(1, 10), QStringLiteral("10  R  255"));
    QCOMPARE(channels->rowText(1, 11), QStringLiteral("11  G  128"));
    QCOMPARE(channels->rowText(1, 12), QStringLiteral("12  B  0"));
    QCOMPARE(QString::fromStdU16String(monitor.model().fixtures().at(0).name), QStringLiteral("Par"));

    // The tile is orange.
    QApplication::processEvents();
    ui::FixtureTileView* tiles = monitor.tiles();
    const QRect tile = tiles->tileRect(1);
    QVERIFY(!tile.isEmpty());
    const QColor drawn = tiles->grab().toImage().pixelColor(tile.topLeft() + QPoint(36, 36));
    QCOMPARE(drawn, QColor(255, 128, 0));

    // An edit on the page reaches the monitor on the next tick.
    rig.show->library.fixture(1).testValue[2] = 0;
    rig.live.liveTick();
    QCOMPARE(channels->rowText(1, 11), QStringLiteral("11  G  0"));
}

void TestMonitor::hiddenItFollowsNothingAndItsPlaceIsRemembered()
{
    test::PageRig rig;
    {
        ui::MonitorWindow monitor(rig.live, *rig.show, rig.paths);
        monitor.toggle();
        monitor.move(123, 77);
        QApplication::processEvents();
        QVERIFY(rig.live.ticked.hasListeners());
        monitor.toggle();
        QVERIFY(!monitor.isVisible());
        QVERIFY(!rig.live.ticked.hasListeners()); // hidden, it costs nothing
        QVERIFY(!readKey(rig.paths.work, ui::kMonitorGeometryKey).empty());
    }
    ui::MonitorWindow again(rig.live, *rig.show, rig.paths);
    again.toggle();
    QApplication::processEvents();
    QCOMPARE(again.pos(), QPoint(123, 77));
}

QTEST_MAIN(TestMonitor)
#include "tst_monitor.moc"
