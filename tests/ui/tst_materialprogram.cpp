// The whole program against the simulator program on the material page: patch virtual
// fixture 1 to library fixture 1 (address 10, 3 channels), move the faders and watch the
// simulated controller's universe follow; add a step and run the demo, and the universe steps.
#include "app/Program.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/show/ShowFile.h"
#include "support/Fakes.h"
#include "support/ui/SimulatorProcess.h"
#include "ui/materials/MaterialPage.h"
#include "ui/widgets/Fader.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <set>
#include <vector>

using namespace rz;

namespace {

using Simulator = test::SimulatorProcess;

QWidget* pageNamed(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = w->findChild<QWidget*>(QString::fromUtf8(name)))
            return found;
    return nullptr;
}

QString element(const char* control, int index)
{
    return QStringLiteral("%1(%2)").arg(QString::fromUtf8(control)).arg(index);
}

void click(QWidget* page, const QString& name)
{
    auto* b = page->findChild<QAbstractButton*>(name);
    QVERIFY2(b, qPrintable(name));
    QTest::mouseClick(b, Qt::LeftButton);
}

void typeInto(QWidget* page, const QString& name, const QString& text)
{
    QWidget* w = page->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QLineEdit* edit = qobject_cast<QLineEdit*>(w);
    if (auto* combo = qobject_cast<QComboBox*>(w))
        edit = combo->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// Channel c of the page's fader bank gets code `code` through the definition panel.
void defineChannel(QWidget* page, int c, int code)
{
    click(page, element("Text通道定义", c));
    click(page, element("Command通道定义", code));
}

void dragToTop(ui::Fader* fader)
{
    const QPoint middle(fader->width() / 2, fader->height() / 2);
    QTest::mousePress(fader, Qt::LeftButton, {}, middle);
    QMouseEvent move(QEvent::MouseMove, QPointF(middle.x(), -50), fader->mapToGlobal(QPointF(middle.x(), -50)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(fader, &move);
    QTest::mouseRelease(fader, Qt::LeftButton, {}, middle);
}

} // namespace

class MaterialProgramTest : public QObject {
    Q_OBJECT
private slots:
    void materialEditsReachTheLights();
};

void MaterialProgramTest::materialEditsReachTheLights()
{
    Simulator sim;
    QVERIFY(sim.start());
    test::TempDir root;
    QVERIFY(sim.prepareDataRoot(root.path()));
    app::Program program(root.path());
    QVERIFY(program.start());
    auto* connect = pageNamed("Command连接");
    QVERIFY(connect);
    QTest::mouseClick(static_cast<QPushButton*>(connect), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(static_cast<QPushButton*>(connect)->text(), QStringLiteral("已连接"), 10000);

    // Library fixture 1: address 10, 3 channels coded R, G, B.
    QTest::mouseClick(static_cast<QPushButton*>(pageNamed("Command功能选择(3)")), Qt::LeftButton);
    QWidget* fixturePage = pageNamed("D20__灯库__Form");
    QVERIFY(fixturePage);
    typeInto(fixturePage, QStringLiteral("Combo灯具地址"), QStringLiteral("10"));
    typeInto(fixturePage, QStringLiteral("Combo灯具通道数"), QStringLiteral("3"));
    for (int c = 1; c <= 3; ++c)
        defineChannel(fixturePage, c, 19 + c);

    // The material page, as the effect page's material button opens it.
    auto* page = qobject_cast<ui::MaterialPage*>(pageNamed("D40__512_素材__Form"));
    QVERIFY(page);
    page->open();
    QTRY_VERIFY(page->isVisible());
    click(page, QStringLiteral("Command灯具设置"));
    typeInto(page, QStringLiteral("Combo设置灯具数"), QStringLiteral("1"));
    typeInto(page, QStringLiteral("Combo设置通道数"), QStringLiteral("3"));
    click(page, element("Command配接灯具", 1));
    click(page, element("Command实际_灯具", 1));
    click(page, QStringLiteral("Command隐藏灯具设置"));
    for (int c = 1; c <= 3; ++c)
        defineChannel(page, c, 19 + c);

    dragToTop(page->findChild<ui::Fader*>(element("Picture推杆", 2)));
    QTRY_COMPARE_WITH_TIMEOUT(sim.lastLevels(), (QJsonObject{{QStringLiteral("11"), 255}}), 10000);
    typeInto(page, element("Text数值", 1), QStringLiteral("200"));
    QTRY_COMPARE_WITH_TIMEOUT(sim.lastLevels(), (QJsonObject{{QStringLiteral("10"), 200}, {QStringLiteral("11"), 255}}),
                              10000);

    // A second step with only blue, then the demo plays both in turn.
    click(page, QStringLiteral("Command加一步"));
    typeInto(page, element("Text数值", 3), QStringLiteral("90"));
    QTRY_COMPARE_WITH_TIMEOUT(sim.lastLevels(), (QJsonObject{{QStringLiteral("12"), 90}}), 10000);
    click(page, QStringLiteral("Command素材演示"));
    const QJsonObject step1{{QStringLiteral("10"), 200}, {QStringLiteral("11"), 255}};
    const QJsonObject step2{{QStringLiteral("12"), 90}};
    const std::size_t before = sim.allLevels().size();
    // Steps last one second each: within a few seconds the universe shows both again.
    auto bothStepsPlayed = [&] {
        const auto all = sim.allLevels();
        bool one = false, two = false;
        for (std::size_t i = before; i < all.size(); ++i) {
            one = one || all[i] == step1;
            two = two || all[i] == step2;
        }
        return one && two;
    };
    QTRY_VERIFY_WITH_TIMEOUT(bothStepsPlayed(), 8000);
    click(page, QStringLiteral("Command演示返回"));
    program.connectionManager()->closeLinks();
}

QTEST_MAIN(MaterialProgramTest)
#include "tst_materialprogram.moc"
