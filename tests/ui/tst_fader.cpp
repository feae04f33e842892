// The fader widget (drag limits, value shown on the knob) and the wheel router (one notch
// only, focus ranges, the wheel switched off, the arrow keys as steps).
#include "ui/widgets/Fader.h"
#include "ui/widgets/WheelRouter.h"

#include <QApplication>
#include <QImage>
#include <QWheelEvent>
#include <QtTest>

#include <array>
#include <vector>

using namespace rz;

namespace {

// A window with one fader, a level table per page and the router's handlers applying steps
// as the pages do.
struct WheelRig {
    WheelRig()
    {
        window.resize(200, 300);
        fader = new ui::Fader(&window);
        fader->setGeometry(10, 10, 30, 200);
        router.setStepHandler(WheelPage::fixtureLibrary, [this](bool up, int ch) {
            fixtureLevels[ch] = steppedLevel(fixtureLevels[ch], up ? WheelStep::up : WheelStep::down);
        });
        router.setStepHandler(WheelPage::material, [this](bool up, int ch) {
            materialLevels[ch] = steppedLevel(materialLevels[ch], up ? WheelStep::up : WheelStep::down);
        });
        window.show();
    }
    void turn(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF at(15, 100);
        QWheelEvent e(at, fader->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(fader, &e);
    }

    QWidget window;
    ui::Fader* fader = nullptr;
    ui::WheelRouter router;
    std::array<uint8_t, 33> fixtureLevels{};
    std::array<uint8_t, 33> materialLevels{};
};

bool hasRedText(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 80 && c.blue() < 80)
                return true;
        }
    return false;
}

} // namespace

class FaderTest : public QObject {
    Q_OBJECT
private slots:
    void draggingPastTheEndsGivesTheLimits();
    void valueIsWrittenInRedOnTheKnob();
    void settingTheValueDoesNotReportIt();
    void oneNotchStepsTheFocusedLevel();
    void wheelRulesIgnoreOtherTurns_data();
    void wheelRulesIgnoreOtherTurns();
    void disabledWheelNeverChangesALevel();
    void arrowKeysStepEveryScrollingTick();
};

void FaderTest::draggingPastTheEndsGivesTheLimits()
{
    QWidget window;
    auto* fader = new ui::Fader(&window);
    fader->setGeometry(0, 0, 30, 200); // 3000 units: travel 2750
    window.show();
    std::vector<int> reported;
    connect(fader, &ui::Fader::valueDragged, [&](int v) { reported.push_back(v); });

    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(15, 100));
    QVERIFY(fader->dragging());
    QTest::mouseMove(fader, QPoint(15, -80)); // above the top
    QCOMPARE(fader->value(), 255);
    QCOMPARE(fader->knobTopUnits(), 0);
    QTest::mouseMove(fader, QPoint(15, 400)); // below the bottom
    QCOMPARE(fader->value(), 0);
    QCOMPARE(fader->knobTopUnits(), fader->heightUnits() - 250);
    QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(15, 400));
    QVERIFY(!fader->dragging());
    QCOMPARE(reported.back(), 0);
    QVERIFY(std::find(reported.begin(), reported.end(), 255) != reported.end());

    // Moving without the button pressed changes nothing.
    QTest::mouseMove(fader, QPoint(15, 10));
    QCOMPARE(fader->value(), 0);

    fader->setFaderMax(100);
    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(15, -50));
    QCOMPARE(fader->value(), 100);
    QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(15, -50));
}

void FaderTest::valueIsWrittenInRedOnTheKnob()
{
    ui::Fader fader;
    fader.resize(40, 200);
    fader.setValue(0);
    const QImage atZero = fader.grab().toImage();
    // The knob sits at the bottom for 0: red text is there and nowhere near the top.
    QVERIFY(hasRedText(atZero.copy(0, 180, 40, 20)));
    QVERIFY(!hasRedText(atZero.copy(0, 0, 40, 150)));
    fader.setValue(255);
    QVERIFY(hasRedText(fader.grab().toImage().copy(0, 0, 40, 20)));
    fader.setValue(999); // beyond faderMax
    QCOMPARE(fader.value(), 255);
}

void FaderTest::settingTheValueDoesNotReportIt()
{
    ui::Fader fader;
    fader.resize(30, 200);
    int reports = 0;
    connect(&fader, &ui::Fader::valueDragged, [&] { ++reports; });
    fader.setValue(77);
    QCOMPARE(fader.value(), 77);
    QCOMPARE(reports, 0);
}

void FaderTest::oneNotchStepsTheFocusedLevel()
{
    WheelRig rig;
    rig.router.installWheelHook(&rig.window);
    rig.fixtureLevels[5] = 10;
    rig.router.setWheelFocus(1005);
    rig.turn(120);
    rig.turn(120);
    rig.turn(-120);
    QCOMPARE(rig.fixtureLevels[5], uint8_t{11});

    rig.materialLevels[32] = 255;
    rig.router.setWheelFocus(2032);
    rig.turn(120); // stays at 255
    QCOMPARE(rig.materialLevels[32], uint8_t{255});
    rig.turn(-120);
    QCOMPARE(rig.materialLevels[32], uint8_t{254});
    QCOMPARE(rig.fixtureLevels[5], uint8_t{11});
}

void FaderTest::wheelRulesIgnoreOtherTurns_data()
{
    QTest::addColumn<int>("focus");
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("two notches down") << 1001 << -240 << int(Qt::NoModifier);
    QTest::newRow("two notches up") << 1001 << 240 << int(Qt::NoModifier);
    QTest::newRow("half a notch") << 1001 << -60 << int(Qt::NoModifier);
    QTest::newRow("with Ctrl") << 1001 << -120 << int(Qt::ControlModifier);
    QTest::newRow("with Shift") << 1001 << 120 << int(Qt::ShiftModifier);
    QTest::newRow("no focus") << 0 << -120 << int(Qt::NoModifier);
    QTest::newRow("focus past the pages") << 3001 << -120 << int(Qt::NoModifier);
}

void FaderTest::wheelRulesIgnoreOtherTurns()
{
    QFETCH(int, focus);
    QFETCH(int, delta);
    QFETCH(int, modifiers);
    WheelRig rig;
    rig.router.installWheelHook(&rig.window);
    rig.fixtureLevels.fill(50);
    rig.materialLevels.fill(50);
    rig.router.setWheelFocus(focus);
    rig.turn(delta, Qt::KeyboardModifiers(modifiers));
    for (int ch = 0; ch <= 32; ++ch) {
        QCOMPARE(rig.fixtureLevels[ch], uint8_t{50});
        QCOMPARE(rig.materialLevels[ch], uint8_t{50});
    }
}

void FaderTest::disabledWheelNeverChangesALevel()
{
    WheelRig rig;
    rig.router.setWheelDisabled(true);
    rig.router.installWheelHook(&rig.window);
    rig.router.setWheelFocus(1003);
    rig.fixtureLevels[3] = 9;
    rig.turn(120);
    QCOMPARE(rig.router.handleWheel(-120, false), false);
    QTest::keyClick(&rig.window, Qt::Key_Up);
    rig.router.keyboardScrollingStep();
    QCOMPARE(rig.fixtureLevels[3], uint8_t{9});

    // Closing the program stops the wheel as well.
    WheelRig closing;
    closing.router.closing = [] { return true; };
    closing.router.installWheelHook(&closing.window);
    closing.router.setWheelFocus(1003);
    closing.turn(120);
    QCOMPARE(closing.fixtureLevels[3], uint8_t{0});
}

void FaderTest::arrowKeysStepEveryScrollingTick()
{
    WheelRig rig;
    rig.router.installWheelHook(&rig.window);
    rig.router.setWheelFocus(1002);
    rig.fixtureLevels[2] = 100;

    QTest::keyClick(&rig.window, Qt::Key_Down); // pressed and released between two ticks
    rig.router.keyboardScrollingStep();
    rig.router.keyboardScrollingStep();
    QCOMPARE(rig.fixtureLevels[2], uint8_t{99});

    QTest::keyPress(&rig.window, Qt::Key_Up); // held over three ticks
    for (int i = 0; i < 3; ++i)
        rig.router.keyboardScrollingStep();
    QTest::keyRelease(&rig.window, Qt::Key_Up);
    rig.router.keyboardScrollingStep();
    QCOMPARE(rig.fixtureLevels[2], uint8_t{102});
}

QTEST_MAIN(FaderTest)
#include "tst_fader.moc"
