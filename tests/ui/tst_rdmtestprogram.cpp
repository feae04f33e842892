// The whole program against the simulator program with three RDM fixtures on its line: the
// RDM page finds exactly the three, reads one and sets its address, and the simulator then
// holds the new address; the test page's buttons reach the simulator as their CE frames.
#include "app/Program.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/show/ShowFile.h"
#include "support/Fakes.h"
#include "support/ui/SimulatorProcess.h"

#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <vector>

using namespace rz;

namespace {

using Simulator = test::SimulatorProcess;

template <typename T>
T* find(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = w->findChild<T*>(name))
            return found;
    return nullptr;
}

void startProgramAgainst(Simulator& sim, const test::TempDir& root)
{
    QVERIFY(sim.prepareDataRoot(root.path()));
}

} // namespace

class RdmTestProgramTest : public QObject {
    Q_OBJECT
private slots:
    void rdmPageFindsReadsAndReaddressesSimulatedFixtures()
    {
        Simulator sim;
        QVERIFY(sim.start({"--rdm-fixture", "7A70:00000001@1", "--rdm-fixture", "7A70:00000002@20",
                           "--rdm-fixture", "0311:F3944E87@40"}));
        test::TempDir root;
        startProgramAgainst(sim, root);
        app::Program program(root.path());
        QVERIFY(program.start());

        auto* connect = find<QPushButton>("Command连接");
        QTest::mouseClick(connect, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(connect->text(), QStringLiteral("已连接"), 10000);

        QTest::mouseClick(find<QPushButton>("Command功能选择(7)"), Qt::LeftButton);
        auto* list = find<QListWidget>("List_ID灯具列表");
        QVERIFY(list && list->isVisible());
        QTest::mouseClick(find<QPushButton>("Command搜索"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(find<QGroupBox>("Frame灯具数量")->title(), QStringLiteral("灯具搜索 (3)"), 30000);
        QCOMPARE(list->count(), 3);

        const auto items = list->findItems("03-11-F3-94-4E-87", Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        list->setCurrentItem(items.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.front()).center());
        QCOMPARE(find<QLineEdit>("Text地址")->text(), QStringLiteral("40"));
        find<QLineEdit>("Text地址")->setText("300");
        QTest::mouseClick(find<QPushButton>("Command修改地址"), Qt::LeftButton);
        // Read back from the simulator: the page reads the device again after the change, and
        // a fresh read after choosing another device and coming back agrees.
        QCOMPARE(find<QLineEdit>("Text地址")->text(), QStringLiteral("300"));
        const auto other = list->findItems("7A-70-00-00-00-01", Qt::MatchExactly);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(other.front()).center());
        QCOMPARE(find<QLineEdit>("Text地址")->text(), QStringLiteral("1"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.front()).center());
        QCOMPARE(find<QLineEdit>("Text地址")->text(), QStringLiteral("300"));
        QVERIFY(find<QLabel>("Label灯具信息")->text().contains(QStringLiteral("Dmx地址：300")));

        // The test page: its buttons reach the simulator as the right CE frames.
        QTest::mouseClick(find<QPushButton>("Command功能选择(5)"), Qt::LeftButton);
        QTest::mouseClick(find<QPushButton>("Command喝彩"), Qt::LeftButton);
        QTest::mouseClick(find<QPushButton>("Command排风(1)"), Qt::LeftButton);
        find<QLineEdit>("Text发送墙板测试")->setText("A1 B2 0c");
        QTest::mouseClick(find<QPushButton>("Command发送墙板测试"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(find<QPlainTextEdit>("Text接收墙板测试")->toPlainText(),
                                  QStringLiteral("A1 B2 0C \n"), 10000);
        // Earlier page changes switched the test functions off; the test page switched them on.
        const QStringList expected{"test-functions-on:1988", "cheer:15", "exhaust-fan:250101",
                                   "wall-panel-test:19A1A1B20C"};
        QTRY_VERIFY_WITH_TIMEOUT(sim.roomFunctions().endsWith("wall-panel-test:19A1A1B20C"), 10000);
        const QStringList seen = sim.roomFunctions();
        QCOMPARE(seen.mid(seen.indexOf(expected.front()), 4), expected);

        program.connectionManager()->closeLinks();
    }
};

QTEST_MAIN(RdmTestProgramTest)
#include "tst_rdmtestprogram.moc"
