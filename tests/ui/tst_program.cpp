// The whole program against the simulator program: connect from the title bar, edit a fixture
// on the fixture-library page and see the simulated controller's universe follow, then "下载"
// sends the working show file, which the controller then holds byte for byte.
#include "app/Program.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/files/ByteImage.h"
#include "core/scenes/SceneSection.h"
#include "core/show/ShowFile.h"
#include "core/transfer/FileTransfer.h"
#include "support/Fakes.h"
#include "support/ui/SimulatorProcess.h"

#include <QComboBox>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QTest>

#include <utility>
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

} // namespace

class ProgramTest : public QObject {
    Q_OBJECT
private slots:
    void editsReachTheLightsAndTheShowReachesTheController();
    void firstStartNamesTheShowAndShowsTheCommandLineController();
    void sceneEditsReachTheRoomAndTheSavedShow();
};

void ProgramTest::editsReachTheLightsAndTheShowReachesTheController()
{
    Simulator sim;
    QVERIFY(sim.start());

    test::TempDir root;
    QVERIFY(sim.prepareDataRoot(root.path()));

    app::Program program(root.path());
    QVERIFY(program.start());

    auto* connect = find<QPushButton>(QStringLiteral("Command连接"));
    QVERIFY(connect);
    QTest::mouseClick(connect, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(connect->text(), QStringLiteral("已连接"), 10000);

    QTest::mouseClick(find<QPushButton>(QStringLiteral("Command功能选择(3)")), Qt::LeftButton);
    // Other pages have level boxes of the same names: look inside the fixture page.
    auto* fixturePage = find<QWidget>(QStringLiteral("D20__灯库__Form"));
    QVERIFY(fixturePage);
    auto* address = fixturePage->findChild<QComboBox*>(QStringLiteral("Combo灯具地址"));
    auto* count = fixturePage->findChild<QComboBox*>(QStringLiteral("Combo灯具通道数"));
    QVERIFY(address && count);
    // Typed as a user types them.
    for (auto [box, text] : {std::pair{address, "10"}, std::pair{count, "3"}}) {
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), QString::fromLatin1(text));
    }
    auto* level = fixturePage->findChild<QLineEdit*>(QStringLiteral("Text数值(1)"));
    QVERIFY(level);
    level->selectAll();
    QTest::keyClicks(level, QStringLiteral("200"));
    QTest::keyClick(level, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(sim.lastLevels(), (QJsonObject{{QStringLiteral("10"), 200}}), 10000);

    QTest::mouseClick(find<QPushButton>(QStringLiteral("Command功能选择(6)")), Qt::LeftButton);
    const auto show = test::readAll(root / "SHOW.K_F");
    QVERIFY(!show.empty());

    // Fetch the controller's show back over the same link and compare.
    transfer::FileTransfer back(program.controllerLink(), [] { return true; });
    test::StringLogBox box;
    QCOMPARE(back.uploadFile(1, root / "fetched.K_F", box), transfer::TransferResult::Succeeded);
    QCOMPARE(test::readAll(root / "fetched.K_F"), show);

    program.connectionManager()->closeLinks();
}

void ProgramTest::firstStartNamesTheShowAndShowsTheCommandLineController()
{
    Simulator sim;
    QVERIFY(sim.start());
    test::TempDir root;
    // The settings name a serial port this machine does not have.
    const SettingsPaths paths = settingsPaths(root.path());
    QVERIFY(writeKey(paths.work, keys::kConnectionKind, u"ttyNONE串口"));
    QVERIFY(writeKey(paths.work, keys::kConnectionInterface, u"255"));

    // The first start says the show file is missing: answer the box.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    answer.start(50);

    app::Program program(root.path());
    program.setControllerChoice({app::ControllerChoice::Kind::udp, QStringLiteral("127.0.0.1"),
                                 sim.port().toUShort(), {}});
    QVERIFY(program.start());
    answer.stop();

    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("A01_MDI_Form"))
            window = w;
    QVERIFY(window);
    const QString showPath = QString::fromStdU16String((root / "SHOW.K_F").u16string());
    QVERIFY2(window->windowTitle().contains(showPath), qPrintable(window->windowTitle()));

    auto* kinds = find<QComboBox>(QStringLiteral("Combo连接方式"));
    QCOMPARE(kinds->currentText(), QStringLiteral("Wifi"));
    // Nothing is saved before the user connects.
    QCOMPARE(QString::fromStdU16String(readKey(paths.work, keys::kConnectionKind)), QStringLiteral("ttyNONE串口"));
    auto* connect = find<QPushButton>(QStringLiteral("Command连接"));
    QTest::mouseClick(connect, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(connect->text(), QStringLiteral("已连接"), 10000);
    QCOMPARE(QString::fromStdU16String(readKey(paths.work, keys::kConnectionKind)), QStringLiteral("Wifi"));
    program.connectionManager()->closeLinks();
}

void ProgramTest::sceneEditsReachTheRoomAndTheSavedShow()
{
    Simulator sim;
    QVERIFY(sim.start());
    test::TempDir root;
    QVERIFY(sim.prepareDataRoot(root.path()));

    app::Program program(root.path());
    QVERIFY(program.start());
    auto* connect = find<QPushButton>(QStringLiteral("Command连接"));
    QTest::mouseClick(connect, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(connect->text(), QStringLiteral("已连接"), 10000);

    // "场景": pick scene 3, name it, switch relay 2 and give it effect 2.
    QTest::mouseClick(find<QPushButton>(QStringLiteral("Command功能选择(4)")), Qt::LeftButton);
    auto* page = find<QWidget>(QStringLiteral("H01__场景__Form"));
    QVERIFY(page);
    QTRY_VERIFY(page->isVisible());
    // The test page has controls of the same names: look inside the scene page only.
    const auto on = [page](const char* name) { return page->findChild<QPushButton*>(QString::fromUtf8(name)); };
    auto* lock = page->findChild<QCheckBox*>(QStringLiteral("Check开启场景编辑"));
    QVERIFY(lock);
    QTest::mouseClick(lock, Qt::LeftButton);
    QTest::mouseClick(on("Command场景(3)"), Qt::LeftButton);
    auto* name = page->findChild<QComboBox*>(QStringLiteral("ComboText场景备注"));
    name->lineEdit()->selectAll();
    QTest::keyClicks(name->lineEdit(), QStringLiteral("dance"));
    QTest::mouseClick(on("Command继电器通道(2)"), Qt::LeftButton);
    QTest::mouseClick(on("CommandDmx512效果(2)"), Qt::LeftButton);
    QCOMPARE(on("Command场景(3)")->text(), QStringLiteral("[3-dance]"));
    QTRY_COMPARE_WITH_TIMEOUT(sim.lastRelays().at(1).toInt(), 1, 10000);
    QCOMPARE(sim.lastRelays().at(0).toInt(), 0);

    // The title bar's save writes it; the download carries that file to the controller.
    QTest::mouseClick(find<QPushButton>(QStringLiteral("Command立刻保存")), Qt::LeftButton);
    const auto saved = test::readAll(root / "SHOW.K_F");
    scenes::SceneTable read;
    QCOMPARE(scenes::readSceneSection(read, files::ByteReader(saved)), scenes::ReadResult::ok);
    QCOMPARE(read.scene(3).name, std::u16string(u"dance"));
    QCOMPARE(read.scene(3).effect, 2);
    QCOMPARE(read.scene(3).relays[2], 1);

    QTest::mouseClick(find<QPushButton>(QStringLiteral("Command功能选择(6)")), Qt::LeftButton);
    transfer::FileTransfer back(program.controllerLink(), [] { return true; });
    test::StringLogBox box;
    QCOMPARE(back.uploadFile(1, root / "fetched.K_F", box), transfer::TransferResult::Succeeded);
    QCOMPARE(test::readAll(root / "fetched.K_F"), test::readAll(root / "SHOW.K_F"));
    read = {};
    QCOMPARE(scenes::readSceneSection(read, files::ByteReader(test::readAll(root / "fetched.K_F"))),
             scenes::ReadResult::ok);
    QCOMPARE(read.scene(3).effect, 2);

    program.connectionManager()->closeLinks();
}

QTEST_MAIN(ProgramTest)
#include "tst_program.moc"
