// The fixture-library page driven through its widgets: name, address and count entry, the
// faders and presets, channel definitions, clipboard commands, groups, and what the live
// universe carries on the next tick.
#include "core/app/ColourScheme.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/fixtures/ChannelDefinitions.h"
#include "core/fixtures/CommonFixtures.h"
#include "core/fixtures/FixtureFiles.h"
#include "core/fixtures/FixtureEditing.h"
#include "core/fixtures/FixtureGroups.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/liveout/LiveSender.h"
#include "support/Fakes.h"
#include "support/ui/PageRig.h"
#include "ui/fixtures/FixturePage.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/WheelRouter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

#include <memory>

using namespace rz;

namespace {

QString element(const char* control, int index)
{
    return QStringLiteral("%1(%2)").arg(QString::fromUtf8(control)).arg(index);
}

// A page over fresh tables, built from the program's page context, with a sender that counts
// frames and a controller taken as connected.
struct PageHarness : test::PageRig {
    fixtures::FixtureLibrary& library = show->library;
    fixtures::FixtureGroups& groups = show->fixtureGroups;
    fixtures::ChannelDefinitions& names = show->channelDefinitions;
    test::TempDir& root = dir;
    liveout::LiveSender& sender = live;
    std::unique_ptr<ui::FixturePage> page;

    explicit PageHarness(ui::WheelRouter* router = nullptr)
    {
        assumeConnected = true;
        context.wheel = router;
        page = makePage<ui::FixturePage>();
        window.open(); // 1280 x 768: the page area is 1280 x 681
        // Active, so focus moves between boxes as it does for a user.
        QApplication::setActiveWindow(&window);
        page->open();
    }

    template <class W>
    W* find(const QString& name) const
    {
        W* w = page->findChild<W*>(name);
        if (!w)
            qWarning("no widget %s", qPrintable(name));
        return w;
    }
    template <class W>
    W* find(const char* name) const
    {
        return find<W>(QString::fromUtf8(name));
    }

    void click(const QString& name)
    {
        auto* button = find<QAbstractButton>(name);
        // A check box reacts to its box and caption, not to the empty rest of its area.
        if (qobject_cast<QCheckBox*>(button))
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        else
            QTest::mouseClick(button, Qt::LeftButton);
    }
    void click(const char* name) { click(QString::fromUtf8(name)); }
    void clickFixture(int i) { click(element("Command灯库_灯具", i)); }

    // Replaces the text of an editable list or box keystroke by keystroke, as a user types.
    void type(const char* name, const QString& text)
    {
        QWidget* w = find<QWidget>(name);
        QLineEdit* edit = qobject_cast<QLineEdit*>(w);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            edit = combo->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        for (const QChar ch : text) {
            // A key press carrying the character, which also works for Chinese text.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(edit, &press);
        }
    }

    // A fixture with levels, set up through the model (the entry widgets have their own tests).
    void putFixture(int i, int address, int count, uint8_t level)
    {
        fixtures::Fixture& f = library.fixture(i);
        f.name = u"Spot";
        f.startAddress = static_cast<int16_t>(address);
        f.channelCount = static_cast<uint8_t>(count);
        for (int c = 1; c <= fixtures::kMaxChannels; ++c)
            f.testValue[c] = level;
        page->redraw();
    }

    const liveout::DmxFrame& tick()
    {
        sender.liveTick();
        return sender.dmxFrame();
    }

    QString valueText(int c) const { return find<QLineEdit>(element("Text数值", c))->text(); }
};

// Drags the knob of `fader` from its middle to the top (level 255) or the bottom (0).
void dragTo(ui::Fader* fader, bool top)
{
    const QPoint middle(fader->width() / 2, fader->height() / 2);
    QTest::mousePress(fader, Qt::LeftButton, {}, middle);
    QMouseEvent move(QEvent::MouseMove, QPointF(middle.x(), top ? -50 : fader->height() + 50),
                     fader->mapToGlobal(QPointF(middle.x(), top ? -50 : fader->height() + 50)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(fader, &move);
    QTest::mouseRelease(fader, Qt::LeftButton, {}, middle);
}

void enter(QWidget* w)
{
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(w, &e);
}

void wheel(QWidget* w, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

} // namespace

class TestFixturePage : public QObject {
    Q_OBJECT

private slots:
    void openingSetsLiveModeAndSelectsTheFirstFixture();
    void selectingShowsTheFixture();
    void typedNumbersAreTakenOnlyWithinTheirLimits();
    void typedAddressIsNeverTakenAsChosenByReturn();
    void refusedTextGivesWayToTheStoredValueOnEnterOrLeaving();
    void overlappingFixturesAreMarkedWithoutAsking();
    void plusAndMinusTwentyStopAtTheirLimits();
    void nameAndAddressViewOnTheButtons();
    void fadersValueBoxesAndWheelEditTheShownPreset();
    void wheelCanBeSwitchedOff();
    void allTo255ChangesOnlyTheTestValues();
    void channelRangesShowTheirFaders();
    void liveFrameFollowsEditsOnTheNextTick();
    void countZeroSendsNothingButKeepsTheFixture();
    void onlyCurrentFixtureOptionIsStoredAndApplied();
    void channelDefinitionPanelChoosesCodes();
    void customCodesAreRenamedAndSaved();
    void clipboardCommandsAskAndAct_data();
    void clipboardCommandsAskAndAct();
    void pasteAfterReopeningDoesNothing();
    void groupPanelEditsMembersAndLimitsTheOutput();
    void importAndExportGoThroughTheDialogs();
    void commonFixturesAreListedAndImported();
    void colourSchemeLeavesStateColoursAlone();
    void pageFitsTheWindow();
};

void TestFixturePage::openingSetsLiveModeAndSelectsTheFirstFixture()
{
    PageHarness h;
    QCOMPARE(h.sender.liveOutputMode(), liveout::kModeFixtureLibrary);
    QCOMPARE(h.library.currentFixture, 1);
    QCOMPARE(h.find<QLabel>("Label信息提示")->text(),
             QString::fromStdU16String(std::u16string(fixtures::kQuickKeysHint)));
    QCOMPARE(h.find<QLabel>("Label数值选择")->text(), QStringLiteral("测试值"));

    // Another page took the output; opening again takes it back and keeps the fixture.
    h.clickFixture(7);
    h.sender.setLiveOutputMode(liveout::kModeScene);
    h.page->open();
    QCOMPARE(h.sender.liveOutputMode(), liveout::kModeFixtureLibrary);
    QCOMPARE(h.library.currentFixture, 7);
}

void TestFixturePage::selectingShowsTheFixture()
{
    PageHarness h;
    h.putFixture(5, 41, 12, 0);
    h.clickFixture(5);
    QCOMPARE(h.library.currentFixture, 5);
    QCOMPARE(h.find<QGroupBox>("Frame灯具")->title(), QStringLiteral("灯具 [5]"));
    QCOMPARE(h.find<QLineEdit>("Text灯具名称")->text(), QStringLiteral("Spot"));
    QCOMPARE(h.find<QComboBox>("Combo灯具地址")->currentText(), QStringLiteral("41"));
    QCOMPARE(h.find<QComboBox>("Combo灯具通道数")->currentText(), QStringLiteral("12"));
    // Channels beyond the count cannot be edited.
    QVERIFY(h.find<ui::Fader>(element("Picture推杆", 12))->isEnabled());
    QVERIFY(!h.find<ui::Fader>(element("Picture推杆", 13))->isEnabled());
}

void TestFixturePage::typedNumbersAreTakenOnlyWithinTheirLimits()
{
    // Typing goes keystroke by keystroke: each prefix that is a number within the limit is
    // taken, the first one beyond it is not.
    struct Case {
        const char* box;
        const char* typed;
        int expected;
    };
    const Case cases[] = {
        {"Combo灯具地址", "511", 511}, {"Combo灯具地址", "512", 51}, {"Combo灯具地址", "600", 60},
        {"Combo灯具地址", "7x", 7},    {"Combo灯具通道数", "32", 32}, {"Combo灯具通道数", "33", 3},
        {"Combo灯具通道数", "-1", 0},
    };
    for (const Case& c : cases) {
        PageHarness h;
        h.type(c.box, QString::fromUtf8(c.typed));
        const fixtures::Fixture& f = h.library.fixture(1);
        const int stored = QByteArray(c.box).contains("地址") ? f.startAddress : f.channelCount;
        QVERIFY2(stored == c.expected, qPrintable(QStringLiteral("%1 typed %2: %3")
                                                      .arg(QString::fromUtf8(c.box), QString::fromUtf8(c.typed))
                                                      .arg(stored)));
    }

    PageHarness h;
    auto* address = h.find<QComboBox>("Combo灯具地址");
    emit address->activated(512); // chosen from the list
    QCOMPARE(h.library.fixture(1).startAddress, 512);
    auto* count = h.find<QComboBox>("Combo灯具通道数");
    emit count->activated(32);
    QCOMPARE(h.library.fixture(1).channelCount, 32);
}

void TestFixturePage::typedAddressIsNeverTakenAsChosenByReturn()
{
    PageHarness h;
    h.type("Combo灯具地址", QStringLiteral("512"));
    QTest::keyClick(h.find<QComboBox>("Combo灯具地址")->lineEdit(), Qt::Key_Return);
    QCOMPARE(h.library.fixture(1).startAddress, 51);
    // Enter shows the stored address again, so box and lights agree.
    QCOMPARE(h.find<QComboBox>("Combo灯具地址")->currentText(), QStringLiteral("51"));
}

void TestFixturePage::refusedTextGivesWayToTheStoredValueOnEnterOrLeaving()
{
    PageHarness h;
    h.putFixture(1, 1, 4, 0);
    // "3" and "30" are levels and are stored as typed; "300" is not one.
    h.type("Text数值(3)", QStringLiteral("300"));
    QCOMPARE(int(h.library.fixture(1).testValue[3]), 30);
    QCOMPARE(h.valueText(3), QStringLiteral("300")); // while typing the text stays
    QTest::keyClick(h.find<QLineEdit>(element("Text数值", 3)), Qt::Key_Return);
    QCOMPARE(h.valueText(3), QStringLiteral("30"));
    QCOMPARE(h.find<ui::Fader>(element("Picture推杆", 3))->value(), 30);

    h.type("Text数值(4)", QStringLiteral("999"));
    h.find<QLineEdit>("Text灯具名称")->setFocus(); // leaving the box
    QCOMPARE(h.valueText(4), QStringLiteral("99"));

    h.type("Combo灯具通道数", QStringLiteral("40"));
    QCOMPARE(int(h.library.fixture(1).channelCount), 4);
    h.find<QLineEdit>("Text灯具名称")->setFocus();
    QCOMPARE(h.find<QComboBox>("Combo灯具通道数")->currentText(), QStringLiteral("4"));
}

void TestFixturePage::overlappingFixturesAreMarkedWithoutAsking()
{
    PageHarness h;
    h.putFixture(1, 10, 4, 0);  // 10..13
    h.putFixture(2, 20, 2, 0);  // 20..21
    auto* one = h.find<QPushButton>(element("Command灯库_灯具", 1));
    auto* two = h.find<QPushButton>(element("Command灯库_灯具", 2));
    QVERIFY(!one->property("overlap").toBool());
    // Fixture 2 moved onto fixture 1's channels: both are marked, each names the other.
    h.clickFixture(2);
    h.type("Combo灯具地址", QStringLiteral("12"));
    QVERIFY(one->property("overlap").toBool() && two->property("overlap").toBool());
    QVERIFY2(one->toolTip().contains(QStringLiteral("灯具 2")), qPrintable(one->toolTip()));
    QVERIFY2(two->toolTip().contains(QStringLiteral("灯具 1")), qPrintable(two->toolTip()));
    QVERIFY(h.prompt.messages.empty());
    QCOMPARE(h.library.fixture(2).startAddress, 12); // never refused
    h.type("Combo灯具地址", QStringLiteral("14"));
    QVERIFY(!one->property("overlap").toBool() && !two->property("overlap").toBool());
}

void TestFixturePage::plusAndMinusTwentyStopAtTheirLimits()
{
    struct Case {
        int start;
        const char* button;
        int expected;
    };
    const Case cases[] = {
        {492, "Command地址加20", 512}, {493, "Command地址加20", 493}, {0, "Command地址加20", 20},
        {21, "Command地址减20", 1},    {20, "Command地址减20", 20},   {512, "Command地址减20", 492},
    };
    for (const Case& c : cases) {
        PageHarness h;
        h.library.fixture(1).startAddress = static_cast<int16_t>(c.start);
        h.page->redraw();
        h.click(c.button);
        QCOMPARE(h.library.fixture(1).startAddress, c.expected);
        QCOMPARE(h.find<QComboBox>("Combo灯具地址")->currentText(), QString::number(c.expected));
    }
}

void TestFixturePage::nameAndAddressViewOnTheButtons()
{
    PageHarness h;
    h.clickFixture(3);
    h.type("Text灯具名称", QStringLiteral("Wash灯"));
    QCOMPARE(h.library.fixture(3).name, std::u16string(u"Wash灯"));
    auto* button3 = h.find<QPushButton>(element("Command灯库_灯具", 3));
    QCOMPARE(button3->text(), QStringLiteral("Wash灯"));

    h.library.fixture(4).name = u"NoAddress";
    h.library.fixture(3).startAddress = 33;
    h.click("Check实际灯具显示方式");
    QCOMPARE(button3->text(), QStringLiteral("33"));
    QCOMPARE(h.find<QPushButton>(element("Command灯库_灯具", 4))->text(), QString());
    h.click("Check实际灯具显示方式");
    QCOMPARE(h.find<QPushButton>(element("Command灯库_灯具", 4))->text(), QStringLiteral("NoAddress"));
}

void TestFixturePage::fadersValueBoxesAndWheelEditTheShownPreset()
{
    ui::WheelRouter router;
    PageHarness h(&router);
    h.putFixture(1, 1, 4, 100);
    auto* fader = h.find<ui::Fader>(element("Picture推杆", 2));
    dragTo(fader, true);
    QCOMPARE(int(h.library.fixture(1).testValue[2]), 255);
    QCOMPARE(h.valueText(2), QStringLiteral("255"));
    dragTo(fader, false);
    QCOMPARE(int(h.library.fixture(1).testValue[2]), 0);
    QCOMPARE(h.valueText(2), QStringLiteral("0"));

    struct Typed {
        const char* text;
        int expected;
    };
    for (const Typed t : {Typed{"77", 77}, Typed{"256", 25}, Typed{"abc", 25}, Typed{"0", 0}}) {
        h.type("Text数值(3)", QString::fromUtf8(t.text));
        QCOMPARE(int(h.library.fixture(1).testValue[3]), t.expected);
        QCOMPARE(h.find<ui::Fader>(element("Picture推杆", 3))->value(), t.expected);
    }

    // The wheel acts on the fader the pointer entered last: single notches only, in 0..255.
    router.installWheelHook(h.page.get());
    struct Turn {
        int delta;
        Qt::KeyboardModifiers modifiers;
        int expected;
    };
    h.library.fixture(1).adjustValue[4] = 254;
    h.click(element("Option数值选择", 1));
    auto* fader4 = h.find<ui::Fader>(element("Picture推杆", 4));
    enter(fader4);
    QCOMPARE(router.wheelFocus(), 1004);
    for (const Turn t : {Turn{120, Qt::NoModifier, 255}, Turn{120, Qt::NoModifier, 255},
                         Turn{-240, Qt::NoModifier, 255}, Turn{-120, Qt::ControlModifier, 255},
                         Turn{-120, Qt::NoModifier, 254}}) {
        wheel(fader4, t.delta, t.modifiers);
        QCOMPARE(int(h.library.fixture(1).adjustValue[4]), t.expected);
        QCOMPARE(fader4->value(), t.expected);
        QCOMPARE(h.valueText(4), QString::number(t.expected));
    }
    QCOMPARE(int(h.library.fixture(1).testValue[4]), 100);

    h.library.fixture(1).adjustValue[1] = 0;
    enter(h.find<ui::Fader>(element("Picture推杆", 1)));
    wheel(fader4, -120); // the focus, not the widget under the event, decides
    QCOMPARE(int(h.library.fixture(1).adjustValue[1]), 0);
    QCOMPARE(int(h.library.fixture(1).adjustValue[4]), 254);
}

void TestFixturePage::wheelCanBeSwitchedOff()
{
    ui::WheelRouter router;
    PageHarness h(&router);
    h.putFixture(1, 1, 4, 10);
    router.setWheelDisabled(true);
    router.installWheelHook(h.page.get());
    auto* fader = h.find<ui::Fader>(element("Picture推杆", 1));
    enter(fader);
    wheel(fader, 120);
    QCOMPARE(int(h.library.fixture(1).testValue[1]), 10);
}

void TestFixturePage::allTo255ChangesOnlyTheTestValues()
{
    PageHarness h;
    h.putFixture(1, 1, 32, 0);
    for (int c = 1; c <= 32; ++c)
        h.library.fixture(1).adjustValue[c] = 7;

    h.click(element("Command变255", 1));
    for (int c = 1; c <= 32; ++c)
        QCOMPARE(int(h.library.fixture(1).testValue[c]), 255);
    QCOMPARE(h.valueText(20), QStringLiteral("255"));

    h.click(element("Option数值选择", 1));
    QCOMPARE(h.library.presetSelector, fixtures::PresetSelector::adjustValue);
    QCOMPARE(h.find<QLabel>("Label数值选择")->text(), QStringLiteral("调试值"));
    QCOMPARE(h.valueText(1), QStringLiteral("7"));
    QCOMPARE(h.find<ui::Fader>(element("Picture推杆", 1))->value(), 7);

    // "全0" with the adjust preset shown still works on the test values.
    h.click(element("Command变255", 0));
    QCOMPARE(int(h.library.fixture(1).testValue[9]), 0);
    QCOMPARE(int(h.library.fixture(1).adjustValue[9]), 7);
    h.click(element("Option数值选择", 0));
    QCOMPARE(h.valueText(9), QStringLiteral("0"));
}

void TestFixturePage::channelRangesShowTheirFaders()
{
    PageHarness h;
    h.putFixture(1, 1, 32, 0);
    auto* fader5 = h.find<ui::Fader>(element("Picture推杆", 5));
    auto* fader25 = h.find<ui::Fader>(element("Picture推杆", 25));
    QVERIFY(fader5->isVisible() && !fader25->isVisible());
    h.click(element("Command通道显示", 1));
    QVERIFY(!fader5->isVisible() && fader25->isVisible());
    // Evenly spaced from the left, whatever width the bank has.
    const int first = h.find<ui::Fader>(element("Picture推杆", 21))->x();
    const int step = h.find<ui::Fader>(element("Picture推杆", 22))->x() - first;
    QVERIFY(step >= 63);
    QCOMPARE(fader25->x(), first + 4 * step);
    h.click(element("Command通道显示", 0));
    QVERIFY(fader5->isVisible());
}

void TestFixturePage::liveFrameFollowsEditsOnTheNextTick()
{
    PageHarness h;
    h.putFixture(1, 10, 3, 0);
    dragTo(h.find<ui::Fader>(element("Picture推杆", 2)), true);
    const int before = h.framesSent;
    QCOMPARE(int(h.tick()[11]), 255);
    QCOMPARE(h.framesSent, before + 1);

    h.library.fixture(1).adjustValue[2] = 9;
    h.click(element("Option数值选择", 1));
    QCOMPARE(int(h.tick()[11]), 9);

    emit h.find<QComboBox>("Combo灯具地址")->activated(20);
    const auto& frame = h.tick();
    QCOMPARE(int(frame[11]), 0);
    QCOMPARE(int(frame[21]), 9);
    QCOMPARE(h.framesSent, before + 3);
}

void TestFixturePage::countZeroSendsNothingButKeepsTheFixture()
{
    PageHarness h;
    h.putFixture(1, 5, 3, 180);
    h.library.fixture(1).channelCode[1] = 20;
    QCOMPARE(int(h.tick()[5]), 180);
    emit h.find<QComboBox>("Combo灯具通道数")->activated(0);
    const auto& frame = h.tick();
    QVERIFY(std::all_of(frame.begin(), frame.end(), [](uint8_t v) { return v == 0; }));
    QCOMPARE(h.find<QPushButton>(element("Command灯库_灯具", 1))->text(), QStringLiteral("Spot"));
    QCOMPARE(int(h.library.fixture(1).channelCode[1]), 20);
}

void TestFixturePage::onlyCurrentFixtureOptionIsStoredAndApplied()
{
    PageHarness h;
    h.putFixture(1, 1, 1, 11);
    h.putFixture(2, 2, 1, 22);
    const auto work = settingsPaths(h.root.path()).work;

    h.click("Check只显示当前灯具");
    QCOMPARE(readKey(work, keys::kShowCurrentFixtureOnly), std::u16string(u"1"));
    const auto& frame = h.tick();
    QCOMPARE(int(frame[1]), 11);
    QCOMPARE(int(frame[2]), 0);
    h.clickFixture(2);
    QCOMPARE(int(h.tick()[1]), 0);
    QCOMPARE(int(h.tick()[2]), 22);

    h.click("Check只显示当前灯具");
    QCOMPARE(readKey(work, keys::kShowCurrentFixtureOnly), std::u16string(u"0"));
    QCOMPARE(int(h.tick()[1]), 11);

    // A later run starts with the stored choice.
    writeKey(work, keys::kShowCurrentFixtureOnly, u"1");
    ui::FixturePage later(h.context);
    later.open();
    QVERIFY(later.findChild<QCheckBox*>(QStringLiteral("Check只显示当前灯具"))->isChecked());
}

void TestFixturePage::channelDefinitionPanelChoosesCodes()
{
    PageHarness h;
    h.putFixture(1, 1, 4, 0);
    h.library.fixture(1).channelCode[2] = 5;
    auto* panel = h.find<QWidget>("Frame通道定义");
    QVERIFY(panel->isHidden());

    h.click(element("Text通道定义", 2));
    QVERIFY(!panel->isHidden());
    const QString highlighted = h.find<QPushButton>(element("Command通道定义", 5))->styleSheet();
    QVERIFY(highlighted.contains(QStringLiteral("#ffc080")));  // light orange, 8438015
    QVERIFY(h.find<QPushButton>(element("Command通道定义", 6))->styleSheet().contains(QStringLiteral("#c0c0c0")));

    h.click(element("Command通道定义", 20));
    QCOMPARE(int(h.library.fixture(1).channelCode[2]), 20);
    QVERIFY(panel->isHidden());
    QCOMPARE(h.find<QPushButton>(element("Text通道定义", 2))->text(), QStringLiteral("R"));
    QCOMPARE(h.page->wheelFocusChannel(), 2);

    // The same field again closes the panel; another field moves it to that channel.
    h.click(element("Text通道定义", 3));
    h.click(element("Text通道定义", 3));
    QVERIFY(panel->isHidden());
    h.click(element("Text通道定义", 3));
    h.click(element("Text通道定义", 4));
    QVERIFY(!panel->isHidden());
    h.click(element("Command通道定义", 1));
    QCOMPARE(int(h.library.fixture(1).channelCode[4]), 1);
    QCOMPARE(int(h.library.fixture(1).channelCode[3]), 0);

    // Two pages: the built-in codes that have a name (no blank buttons), then the user's codes.
    h.click(element("Text通道定义", 1));
    auto* next = h.find<QPushButton>("Command通道定义下一页");
    QCOMPARE(next->text(), QStringLiteral("下一页"));
    QVERIFY(h.find<QWidget>(element("Command通道定义", 69))->isVisible());     // 固定帧2
    QVERIFY(h.find<QWidget>(element("Command通道定义", 16))->isHidden());      // no name
    QVERIFY(h.find<QWidget>(element("Command通道定义", 90))->isHidden());
    h.click("Command通道定义下一页");
    QCOMPARE(next->text(), QStringLiteral("上一页"));
    QVERIFY(h.find<QWidget>(element("Command通道定义", 69))->isHidden());
    QVERIFY(!h.find<QWidget>(element("Command通道定义", 90))->isHidden());
    QVERIFY(!h.find<QWidget>(element("Command通道定义", 255))->isHidden());
    QCOMPARE(h.find<QPushButton>(element("Command通道定义", 255))->text(), QStringLiteral("166自定义"));
}

void TestFixturePage::customCodesAreRenamedAndSaved()
{
    PageHarness h;
    h.putFixture(1, 1, 2, 0);
    h.library.fixture(1).channelCode[1] = 120;
    h.page->redraw();
    h.click(element("Text通道定义", 1));
    h.click("Check修改自定义");
    auto* box = h.find<QLineEdit>("Text通道定义修改");

    h.click(element("Command通道定义", 50)); // a built-in name: refused
    QVERIFY(!box->isEnabled());
    QCOMPARE(int(h.library.fixture(1).channelCode[1]), 120); // renaming does not choose

    h.click("Command通道定义下一页");
    h.click(element("Command通道定义", 120));
    QVERIFY(box->isEnabled());
    h.type("Text通道定义修改", QStringLiteral("Beam"));
    QCOMPARE(h.names.name(120), std::u16string(u"Beam"));
    QCOMPARE(h.find<QPushButton>(element("Command通道定义", 120))->text(), QStringLiteral("Beam"));
    QCOMPARE(h.find<QPushButton>(element("Text通道定义", 1))->text(), QStringLiteral("Beam"));
    const auto file = fixtures::customChannelNameFilePath(h.root.path());
    QTRY_COMPARE(readKey(file, u"120T"), std::u16string(u"Beam"));

    h.click("Comman隐藏通道定义");
    QVERIFY(!h.find<QCheckBox>("Check修改自定义")->isChecked());
    QVERIFY(!box->isEnabled());
}

void TestFixturePage::clipboardCommandsAskAndAct_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("onClipboard");
    const QString cut = QString::fromStdU16String(std::u16string(fixtures::kCutQuestion));
    const QString del = QString::fromStdU16String(std::u16string(fixtures::kDeleteQuestion));
    QTest::newRow("Ctrl+C") << "Ctrl+C" << true << QString() << false << true;
    QTest::newRow("menu copy") << "CD_复制" << true << QString() << false << true;
    QTest::newRow("Ctrl+X yes") << "Ctrl+X" << true << cut << true << true;
    QTest::newRow("Ctrl+X no") << "Ctrl+X" << false << cut << false << false;
    QTest::newRow("menu cut yes") << "CD_剪贴" << true << cut << true << true;
    QTest::newRow("Backspace yes") << "Backspace" << true << del << true << false;
    QTest::newRow("Backspace no") << "Backspace" << false << del << false << false;
    QTest::newRow("menu delete yes") << "CD_删除" << true << del << true << false;
    QTest::newRow("delete button yes") << "Command删除单个灯库" << true << del << true << false;
    QTest::newRow("delete button no") << "Command删除单个灯库" << false << del << false << false;
    QTest::newRow("menu hide") << "CD_隐藏" << true << QString() << false << false;
}

void TestFixturePage::clipboardCommandsAskAndAct()
{
    QFETCH(QString, how);
    QFETCH(bool, answer);
    QFETCH(QString, question);
    QFETCH(bool, cleared);
    QFETCH(bool, onClipboard);

    PageHarness h;
    h.putFixture(4, 30, 6, 99);
    h.clickFixture(4);
    const fixtures::Fixture original = h.library.fixture(4);
    h.prompt.answers = {answer};

    QWidget* button = h.find<QWidget>(element("Command灯库_灯具", 4));
    if (how == "Ctrl+C")
        QTest::keyClick(button, Qt::Key_C, Qt::ControlModifier);
    else if (how == "Ctrl+X")
        QTest::keyClick(button, Qt::Key_X, Qt::ControlModifier);
    else if (how == "Backspace")
        QTest::keyClick(button, Qt::Key_Backspace);
    else if (how.startsWith("CD_"))
        h.find<QAction>(how)->trigger();
    else
        h.click(how);

    if (question.isEmpty())
        QVERIFY(h.prompt.questions.empty());
    else
        QCOMPARE(h.prompt.questions, std::vector<std::u16string>{question.toStdU16String()});
    QCOMPARE(h.library.fixture(4) == fixtures::Fixture{}, cleared);
    if (!cleared)
        QCOMPARE(h.library.fixture(4) == original, true);
    QCOMPARE(h.find<QPushButton>(element("Command灯库_灯具", 4))->text(), cleared ? QString() : QStringLiteral("Spot"));

    // Paste into another fixture shows whether the command put the fixture on the clipboard.
    h.clickFixture(9);
    QTest::keyClick(h.find<QWidget>(element("Command灯库_灯具", 9)), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(h.library.fixture(9) == original, onClipboard);
    QCOMPARE(h.library.fixture(9).startAddress, onClipboard ? 30 : 0);
    QVERIFY(h.prompt.messages.empty());
}

void TestFixturePage::pasteAfterReopeningDoesNothing()
{
    PageHarness h;
    h.putFixture(1, 100, 8, 50);
    QTest::keyClick(h.find<QWidget>(element("Command灯库_灯具", 1)), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(std::filesystem::exists(fixtures::fixtureClipboardPath(h.root.path())));

    h.page->open();
    QVERIFY(!std::filesystem::exists(fixtures::fixtureClipboardPath(h.root.path())));
    h.clickFixture(2);
    h.find<QAction>("CD_粘贴")->trigger();
    QCOMPARE(h.library.fixture(2) == fixtures::Fixture{}, true);
    QVERIFY(h.prompt.messages.empty());
}

void TestFixturePage::groupPanelEditsMembersAndLimitsTheOutput()
{
    PageHarness h;
    for (int i = 1; i <= 3; ++i)
        h.putFixture(i, i, 1, static_cast<uint8_t>(10 * i));
    auto* panel = h.find<QWidget>("Frame灯具分组");
    h.click("Command灯具分组");
    QVERIFY(!panel->isHidden());
    QVERIFY(h.groups.groupsTouched);
    QCOMPARE(h.groups.currentGroup, 1);

    h.click(element("Command灯具分组", 3));
    QCOMPARE(h.groups.currentGroup, 3);
    h.clickFixture(2); // toggles membership while the panel is open
    QVERIFY(h.groups.isMember(3, 2));
    QVERIFY(h.find<QPushButton>(element("Command灯库_灯具", 2))->styleSheet().contains(QStringLiteral("#ff8080")));
    QVERIFY(h.find<QPushButton>(element("Command灯库_灯具", 1))->styleSheet().contains(QStringLiteral("#808080")));
    auto frame = h.tick();
    QCOMPARE(int(frame[1]), 0);
    QCOMPARE(int(frame[2]), 20);
    QCOMPARE(int(frame[3]), 0);

    h.type("Text灯具分组备注", QStringLiteral("左侧"));
    QCOMPARE(h.groups.note(3), std::u16string(u"左侧"));
    h.click(element("Command灯具分组", 1));
    QCOMPARE(h.find<QLineEdit>("Text灯具分组备注")->text(), QString());
    h.click(element("Command灯具分组", 3));
    QCOMPARE(h.find<QLineEdit>("Text灯具分组备注")->text(), QStringLiteral("左侧"));

    h.clickFixture(2);
    QVERIFY(!h.groups.isMember(3, 2));
    h.clickFixture(1);
    h.clickFixture(3);
    h.click("Command清除灯组选择");
    QVERIFY(h.groups.members(3).empty());

    h.clickFixture(1);
    h.click("Command灯具分组退出");
    QVERIFY(panel->isHidden());
    h.clickFixture(2); // no longer a membership toggle
    QCOMPARE(h.groups.members(3), std::vector<int>{1});
    frame = h.tick();
    QCOMPARE(int(frame[1]), 10);
    QCOMPARE(int(frame[3]), 30);
    QVERIFY(h.find<QPushButton>(element("Command灯库_灯具", 1))->styleSheet().contains(QStringLiteral("#f4f4f4")));
}

void TestFixturePage::importAndExportGoThroughTheDialogs()
{
    PageHarness h;
    h.putFixture(1, 12, 3, 44);
    const auto single = h.root / "one.K_1DK";
    const auto all = h.root / "all.K_ADK";
    h.chooser.paths = {single, single, all, all};

    h.click("Command保存单个灯库");
    h.clickFixture(6);
    h.click("Command读取单个灯库");
    QCOMPARE(h.library.fixture(6).startAddress, 12);
    QCOMPARE(h.find<QComboBox>("Combo灯具地址")->currentText(), QStringLiteral("12"));

    h.click("Command另存所有灯库");
    h.library.clearAllFixtures();
    h.click("Command导入所有灯库");
    QCOMPARE(h.library.fixture(6).testValue[3], 44);
    QCOMPARE(h.find<QPushButton>(element("Command灯库_灯具", 1))->text(), QStringLiteral("Spot"));

    std::vector<std::u16string> titles;
    for (const auto& call : h.chooser.calls)
        titles.push_back(call.title);
    const std::vector<std::u16string> expected{u"另存单个灯具", u"导入单个灯具", u"另存所有灯具", u"导入所有灯具"};
    QCOMPARE(titles, expected);

    // A foreign file: the message, and nothing changes.
    test::writeAll(h.root / "bad.K_1DK", {1, 2, 3, 4, 5});
    h.chooser.paths = {h.root / "bad.K_1DK"};
    h.click("Command读取单个灯库");
    QCOMPARE(h.prompt.messages, std::vector<std::u16string>{u"版本不对"});
    QCOMPARE(h.library.fixture(6).startAddress, 12);
}

void TestFixturePage::commonFixturesAreListedAndImported()
{
    PageHarness h;
    h.putFixture(1, 77, 5, 66);
    const auto folder = fixtures::commonFixtureFolder(h.root.path());
    QVERIFY(fixtures::writeSingleFixtureFile(h.library, 1, folder / u"星光" / u"灯A.K_1DK"));
    std::filesystem::create_directories(folder / u"空厂家");
    h.clickFixture(8);

    h.click("Command常用灯具");
    auto* makers = h.find<QListWidget>("List_灯具厂家");
    auto* models = h.find<QListWidget>("List灯具名称");
    QCOMPARE(makers->count(), 2);
    h.click("Command导入选择灯具");
    QCOMPARE(h.prompt.messages, std::vector<std::u16string>{u"未选择厂家！"});

    auto clickItem = [](QListWidget* list, const QString& text) {
        const auto items = list->findItems(text, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
    };
    clickItem(makers, QStringLiteral("星光"));
    QCOMPARE(models->count(), 1);
    QCOMPARE(models->item(0)->text(), QStringLiteral("灯A"));
    h.click("Command导入选择灯具");
    QCOMPARE(h.prompt.messages.back(), std::u16string(u"未选择灯具！"));
    QCOMPARE(h.library.fixture(8).startAddress, 0);

    clickItem(models, QStringLiteral("灯A"));
    h.click("Command导入选择灯具");
    QCOMPARE(h.library.fixture(8).startAddress, 77);
    QCOMPARE(h.find<QComboBox>("Combo灯具地址")->currentText(), QStringLiteral("77"));
    QCOMPARE(h.find<QPushButton>(element("Command灯库_灯具", 8))->text(), QStringLiteral("Spot"));
    h.click("Command隐藏常用灯具");
    QVERIFY(h.find<QWidget>("Frame常用灯具")->isHidden());
}

void TestFixturePage::colourSchemeLeavesStateColoursAlone()
{
    PageHarness h;
    h.putFixture(1, 1, 2, 0);
    const auto scheme = ColourScheme::fromText("开启自定义=1\r\n公用Command背景颜色=00FF00\r\n");
    h.page->applyColourScheme(scheme);
    QVERIFY(h.find<QWidget>("Command常用灯具")->styleSheet().contains(QStringLiteral("#00ff00"), Qt::CaseInsensitive));
    // Buttons whose colour shows state keep the page's own colours.
    QVERIFY(h.find<QWidget>(element("Command灯库_灯具", 1))->styleSheet().contains(QStringLiteral("#f4f4f4")));
    h.click(element("Text通道定义", 1));
    QVERIFY(h.find<QWidget>(element("Command通道定义", 0))->styleSheet().contains(QStringLiteral("#ffc080")));
}

void TestFixturePage::pageFitsTheWindow()
{
    // In a 1280 x 720 window the page area is 1280 x 633: every shown control lies wholly
    // inside it, with and without the side panels. RZ760_FIXTUREPAGE_SHOT names a picture.
    PageHarness h;
    h.window.resize(1280, 720);
    QApplication::processEvents();
    QCOMPARE(h.page->size(), QSize(1280, 720 - 87));
    h.putFixture(1, 1, 20, 128);
    const QRect visible(0, 0, 1280, 720 - 87);
    auto allInside = [&](const char* state) {
        for (QWidget* w : h.page->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->isWindow() || qobject_cast<QScrollBar*>(w))
                continue;
            const QRect at(w->mapTo(h.page.get(), QPoint(0, 0)), w->size());
            QVERIFY2(visible.contains(at), qPrintable(QStringLiteral("%1: %2").arg(state, w->objectName())));
        }
    };
    QApplication::processEvents();
    allInside("page");
    h.click("Command灯具分组");
    allInside("groups");
    h.click("Command灯具分组退出");
    h.click(element("Text通道定义", 1));
    allInside("definitions");
    // The definition panel takes the fixture box's place: the grid stays usable.
    QVERIFY(h.find<QWidget>(element("Command灯库_灯具", 1))->isVisible());
    h.click(element("Text通道定义", 1));
    h.click("Command常用灯具");
    allInside("common fixtures");
    h.click("Command隐藏常用灯具");

    const QString shot = qEnvironmentVariable("RZ760_FIXTUREPAGE_SHOT");
    if (!shot.isEmpty()) {
        h.page->grab(visible).save(shot);
        h.click("Command灯具分组");
        h.page->grab(visible).save(QString(shot).replace(".png", "-groups.png"));
        h.click("Command灯具分组退出");
        h.click(element("Text通道定义", 1));
        h.page->grab(visible).save(QString(shot).replace(".png", "-definitions.png"));
    }
}

QTEST_MAIN(TestFixturePage)
#include "tst_fixturepage.moc"
