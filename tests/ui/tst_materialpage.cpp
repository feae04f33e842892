// The material page driven through its widgets: the automatic first step, levels with linked
// fixtures, the fixture shortcuts, patching, counts and times refused, brightness, and the
// live universe following a fader on the next tick.
#include "core/fixtures/FixtureGroups.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/liveout/LiveSender.h"
#include "core/materials/MaterialStore.h"
#include "support/ui/PageRig.h"
#include "ui/materials/MaterialPage.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/WheelRouter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <fstream>
#include <memory>

using namespace rz;

namespace {

QString element(const char* control, int index)
{
    return QStringLiteral("%1(%2)").arg(QString::fromUtf8(control)).arg(index);
}

struct Harness : test::PageRig {
    std::unique_ptr<ui::MaterialPage> page;

    // Material (2, 3) of effect 1, with `fixtures` x `channels` and no steps.
    Harness(int fixtures = 4, int channels = 3, ui::WheelRouter* router = nullptr)
    {
        assumeConnected = true;
        context.wheel = router;
        show->editing.currentEffect = 1;
        show->editing.currentModule = 2;
        show->editing.currentSlot = 3;
        material().fixtureCount = static_cast<uint8_t>(fixtures);
        material().channelCount = static_cast<uint8_t>(channels);
        page = makePage<ui::MaterialPage>();
        window.open();
        QApplication::setActiveWindow(&window);
        page->open();
    }
    materials::Material& material() { return show->materials.at(2, 3); }

    template <class W>
    W* find(const QString& name) const
    {
        W* w = page->findChild<W*>(name);
        if (!w)
            qWarning("no widget %s", qPrintable(name));
        return w;
    }
    void click(const QString& name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
    void click(const char* name, int i) { click(element(name, i)); }
    void rightClick(int fixture)
    {
        QTest::mouseClick(find<QAbstractButton>(element("Command虚拟灯具", fixture)), Qt::RightButton);
    }
    void type(const QString& name, const QString& text)
    {
        QWidget* w = find<QWidget>(name);
        QLineEdit* edit = qobject_cast<QLineEdit*>(w);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            edit = combo->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    // The whole text arrives in one edit, as a paste does: no shorter number is stored on
    // the way (typed key by key, "300" would store 3 and 30 first).
    void paste(const QString& name, const QString& text)
    {
        QWidget* w = find<QWidget>(name);
        QLineEdit* edit = qobject_cast<QLineEdit*>(w);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            edit = combo->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &press);
    }
    int level(int step, int fixture, int channel) { return material().step(step).level(fixture, channel); }
    QString style(const QString& name) { return find<QWidget>(name)->styleSheet(); }
};

// Drags the knob of `fader` from its middle to the top (level 255).
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

class TestMaterialPage : public QObject {
    Q_OBJECT
private slots:
    void typingIntoAnEmptyMaterialCreatesStepOne();
    void stepsAreAddedCopiedAndDeleted();
    void linkedFixturesFollowOneChannelOrAll();
    void oddAndEvenShortcuts();
    void countBoxesRefuseBadNumbers();
    void timeAndJumpBoxesRefuseBadNumbers();
    void brightnessIsStoredAsReduction();
    void groupButtonPatchesExactlyTheValidMembers();
    void faderDrivesThePatchedFixtureOnTheNextTick();
    void backOpensTheEffectPage();
    void chaseToolWritesTheRunningLight();
    void chaseToolHidesOutsideTheMaterialPage();
    void materialIsSavedCopiedPastedAndDeleted();
    void damagedFileLeavesTheMaterialAsItWas();
    void demoStepsThroughTheMaterial();
    void twentyFirstTempChannelIsRefused();
    void stepsAreCopiedAndPastedAtTheEnd();
    void builtInMaterialIsDescribedAndImported();
    void circleMotionIsSetUpAndGenerated();
    void wheelStepsTheFaderUnderThePointer();
};

void TestMaterialPage::typingIntoAnEmptyMaterialCreatesStepOne()
{
    Harness h;
    QCOMPARE(h.material().stepCount, 0);
    h.type(element("Text数值", 2), QStringLiteral("200"));
    QCOMPARE(h.material().stepCount, 1);
    QCOMPARE(h.show->editing.currentStep, 1);
    QCOMPARE(h.level(1, 1, 2), 200);
    QCOMPARE(h.find<QComboBox>(QStringLiteral("Combo当前步"))->currentText(), QStringLiteral("1"));
    QCOMPARE(h.find<QLabel>(QStringLiteral("Label总步数"))->text(), QStringLiteral("1"));
    // A level outside 0..255 is refused: nothing changes.
    h.paste(element("Text数值", 2), QStringLiteral("300"));
    QCOMPARE(h.level(1, 1, 2), 200);
    QCOMPARE(h.material().stepCount, 1);
}

void TestMaterialPage::stepsAreAddedCopiedAndDeleted()
{
    Harness h;
    h.type(element("Text数值", 1), QStringLiteral("50"));
    h.click(QStringLiteral("Command复制加一步"));
    h.click(QStringLiteral("Command加一步"));
    auto* steps = h.find<QComboBox>(QStringLiteral("Combo当前步"));
    QCOMPARE(h.material().stepCount, 3);
    QCOMPARE(steps->count(), 3);
    QCOMPARE(steps->currentText(), QStringLiteral("3"));
    QCOMPARE(h.level(2, 1, 1), 50); // the copy
    QCOMPARE(h.level(3, 1, 1), 0);  // the new blank step
    QCOMPARE(h.find<QLineEdit>(element("Text数值", 1))->text(), QStringLiteral("0"));
    h.click(QStringLiteral("Command上一步"));
    QCOMPARE(h.show->editing.currentStep, 2);
    QCOMPARE(h.find<QLineEdit>(element("Text数值", 1))->text(), QStringLiteral("50"));
    h.click(QStringLiteral("Command删除步"));
    QCOMPARE(h.material().stepCount, 2);
    QCOMPARE(steps->count(), 2);
    QCOMPARE(steps->currentText(), QString::number(h.show->editing.currentStep));
}

void TestMaterialPage::linkedFixturesFollowOneChannelOrAll()
{
    Harness h;
    h.type(element("Text数值", 1), QStringLiteral("10")); // step 1 exists
    h.rightClick(3);
    h.type(element("Text数值", 2), QStringLiteral("200"));
    for (int f = 1; f <= 4; ++f) {
        QCOMPARE(h.level(1, f, 2), (f == 1 || f == 3) ? 200 : 0);
        QCOMPARE(h.level(1, f, 1), f == 1 ? 10 : 0);
    }
    QTest::mouseClick(h.find<QCheckBox>(QStringLiteral("Check所有通道联动")), Qt::LeftButton, {}, QPoint(8, 8));
    h.type(element("Text数值", 3), QStringLiteral("7"));
    for (int c = 1; c <= 3; ++c)
        QCOMPARE(h.level(1, 3, c), h.level(1, 1, c));
    QCOMPARE(h.level(1, 2, 3), 0);
    QCOMPARE(h.level(1, 4, 3), 0);
    // A click on a fixture focuses it and clears the links.
    h.click("Command虚拟灯具", 2);
    h.type(element("Text数值", 1), QStringLiteral("99"));
    QCOMPARE(h.level(1, 2, 1), 99);
    QCOMPARE(h.level(1, 3, 1), 10);
}

void TestMaterialPage::oddAndEvenShortcuts()
{
    struct Case {
        int fixtures;
        const char* button;
        int focus;
        std::vector<int> linked;
    };
    const Case cases[] = {
        {2, "Command双数", 1, {}}, // nothing happens with two fixtures
        {5, "Command双数", 2, {4}},
        {5, "Command单数", 1, {3, 5}},
        {4, "Command全选", 1, {2, 3, 4}},
    };
    for (const Case& c : cases) {
        Harness h(c.fixtures, 2);
        h.click(QString::fromUtf8(c.button));
        QCOMPARE(h.page->session().focus(), c.focus);
        std::bitset<21> expected;
        for (int i : c.linked)
            expected.set(static_cast<std::size_t>(i));
        QCOMPARE(h.page->session().links(), expected);
        QVERIFY(!h.find<QWidget>(element("Command虚拟灯具", c.fixtures))->isHidden());
        if (c.fixtures < 20)
            QVERIFY(h.find<QWidget>(element("Command虚拟灯具", c.fixtures + 1))->isHidden());
    }
}

void TestMaterialPage::countBoxesRefuseBadNumbers()
{
    Harness h;
    h.click(QStringLiteral("Command灯具设置"));
    QVERIFY(h.find<QWidget>(QStringLiteral("Frame灯具设置"))->isVisible());
    h.paste(QStringLiteral("Combo设置灯具数"), QStringLiteral("21"));
    QCOMPARE(h.material().fixtureCount, 4);
    QVERIFY(h.style(QStringLiteral("Combo设置灯具数")).contains(QStringLiteral("#ff8080")));
    h.type(QStringLiteral("Combo设置灯具数"), QStringLiteral("6"));
    QCOMPARE(h.material().fixtureCount, 6);
    QVERIFY(h.style(QStringLiteral("Combo设置灯具数")).isEmpty());
    QVERIFY(h.find<QWidget>(element("Command虚拟灯具", 6))->isVisible());
    h.type(QStringLiteral("Combo设置通道数"), QStringLiteral("x"));
    QCOMPARE(h.material().channelCount, 3);
    QVERIFY(h.style(QStringLiteral("Combo设置通道数")).contains(QStringLiteral("#ff8080")));
    h.type(QStringLiteral("Combo设置通道数"), QStringLiteral("24"));
    QCOMPARE(h.material().channelCount, 24);
    QVERIFY(h.find<QWidget>(element("Command通道显示", 2))->isVisible());
}

void TestMaterialPage::timeAndJumpBoxesRefuseBadNumbers()
{
    Harness h;
    h.type(element("Text数值", 1), QStringLiteral("1"));
    QTest::mouseClick(h.find<QCheckBox>(QStringLiteral("Check单步时间")), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(h.material().perStepTimeMode, 1);
    QVERIFY(h.find<QWidget>(QStringLiteral("Text单步时间"))->isVisible());
    QVERIFY(h.find<QWidget>(QStringLiteral("Text统一时间"))->isHidden());
    h.type(QStringLiteral("Text单步时间"), QStringLiteral("15"));
    QCOMPARE(h.material().step(1).stepTime, 15);
    QCOMPARE(h.find<QLabel>(QStringLiteral("Label时间显示"))->text(), QStringLiteral("1.5秒"));
    for (const char* bad : {"60000", "40000", "abc"}) {
        h.paste(QStringLiteral("Text单步时间"), QString::fromUtf8(bad));
        QCOMPARE(h.material().step(1).stepTime, 15);
        QVERIFY(h.style(QStringLiteral("Text单步时间")).contains(QStringLiteral("#ff00ff")));
    }
    h.type(QStringLiteral("Text统一跳步"), QStringLiteral("255"));
    QCOMPARE(h.material().jumpInterval, 255);
    h.paste(QStringLiteral("Text统一跳步"), QStringLiteral("256"));
    QCOMPARE(h.material().jumpInterval, 255);
    QVERIFY(h.style(QStringLiteral("Text统一跳步")).contains(QStringLiteral("#ff8080")));
}

void TestMaterialPage::brightnessIsStoredAsReduction()
{
    Harness h;
    auto* box = h.find<QComboBox>(QStringLiteral("Combo亮度百分比"));
    const int index = box->findText(QStringLiteral("70"));
    box->setCurrentIndex(index);
    emit box->activated(index);
    QCOMPARE(h.material().brightnessReduction, 30);
    box->setCurrentIndex(0);
    h.page->open();
    QCOMPARE(box->currentText(), QStringLiteral("70"));
}

void TestMaterialPage::groupButtonPatchesExactlyTheValidMembers()
{
    Harness h;
    for (int r : {1, 2, 5}) {
        h.show->library.fixture(r).startAddress = static_cast<int16_t>(r * 10);
        h.show->library.fixture(r).channelCount = 3;
    }
    h.show->fixtureGroups.setMember(3, 2, true);
    h.show->fixtureGroups.setMember(3, 5, true);
    h.show->fixtureGroups.setMember(3, 7, true); // not a valid library fixture
    h.material().patch[2][1] = 1;
    h.click(QStringLiteral("Command灯具设置"));
    h.click("Command配接灯具", 2);
    QVERIFY(h.find<QWidget>(element("Command实际_灯具", 1))->isVisible());
    QVERIFY(h.find<QWidget>(element("Command实际_灯具", 3))->isHidden());
    h.click("Command灯具分组N", 3);
    for (int r = 1; r <= 100; ++r)
        QCOMPARE(int(h.material().patch[2][r]), (r == 2 || r == 5) ? 1 : 0);
    QVERIFY(h.style(element("Command实际_灯具", 5)).contains(QStringLiteral("#ff8080")));
    h.click("Command实际_灯具", 5);
    QCOMPARE(int(h.material().patch[2][5]), 0);
    h.click(QStringLiteral("Command清除灯具选择"));
    QCOMPARE(int(h.material().patch[2][2]), 0);
}

void TestMaterialPage::faderDrivesThePatchedFixtureOnTheNextTick()
{
    Harness h(1, 3);
    fixtures::Fixture& spot = h.show->library.fixture(1);
    spot.name = u"Spot";
    spot.startAddress = 10;
    spot.channelCount = 3;
    for (int c = 1; c <= 3; ++c) {
        spot.channelCode[c] = static_cast<uint8_t>(c);
        h.material().channelCodes[c] = static_cast<uint8_t>(c);
    }
    h.click(QStringLiteral("Command灯具设置"));
    h.click("Command配接灯具", 1);
    h.click("Command实际_灯具", 1);
    QCOMPARE(int(h.material().patch[1][1]), 1);
    h.click(QStringLiteral("Command隐藏灯具设置"));

    QCOMPARE(h.live.liveOutputMode(), liveout::kModeMaterial);
    dragToTop(h.find<ui::Fader>(element("Picture推杆", 2)));
    h.type(element("Text数值", 3), QStringLiteral("77"));
    h.live.liveTick();
    QCOMPARE(int(h.live.dmxFrame()[10]), 0);
    QCOMPARE(int(h.live.dmxFrame()[11]), 255);
    QCOMPARE(int(h.live.dmxFrame()[12]), 77);
    const int frames = h.framesSent;
    QVERIFY(frames > 0);

    // A second step shows as soon as it is the current one.
    h.click(QStringLiteral("Command加一步"));
    h.type(element("Text数值", 1), QStringLiteral("33"));
    h.live.liveTick();
    QCOMPARE(int(h.live.dmxFrame()[10]), 33);
    QCOMPARE(int(h.live.dmxFrame()[11]), 0);
    h.click(QStringLiteral("Command上一步"));
    h.live.liveTick();
    QCOMPARE(int(h.live.dmxFrame()[11]), 255);
}

void TestMaterialPage::backOpensTheEffectPage()
{
    Harness h;
    std::optional<PageId> opened;
    h.navigation.openPage = [&](PageId p) { opened = p; };
    QCOMPARE(h.navigation.scenePageMode(), ScenePageMode::Material);
    h.click(QStringLiteral("Command返回"));
    QCOMPARE(opened, std::optional<PageId>(PageId::Effect));
}

namespace {

// The fixtures lit in step `step`: those whose channel 1 holds `on`.
std::vector<int> litFixtures(const materials::Material& m, int step, int on)
{
    std::vector<int> lit;
    for (int f = 1; f <= m.fixtureCount; ++f)
        if (m.step(step).level(f, 1) == on)
            lit.push_back(f);
    return lit;
}

QWidget* chaseWindow(Harness& h)
{
    return h.page->findChild<QWidget*>(QStringLiteral("D80__512_跑马"));
}

void setList(QWidget* window, const char* name, const QString& text)
{
    auto* box = window->findChild<QComboBox*>(QString::fromUtf8(name));
    QVERIFY2(box, name);
    if (box->isEditable())
        box->setEditText(text);
    else
        box->setCurrentIndex(box->findText(text));
}

} // namespace

void TestMaterialPage::chaseToolWritesTheRunningLight()
{
    struct Case {
        bool reverse;
        std::vector<std::vector<int>> lit; // per step, ascending
    };
    const Case cases[] = {
        {false, {{1, 4}, {1, 2}, {2, 3}, {3, 4}}},
        {true, {{1, 4}, {3, 4}, {2, 3}, {1, 2}}},
    };
    for (const Case& c : cases) {
        Harness h(4, 2);
        h.material().channelCodes[1] = 1;
        fixtures::Fixture& lamp = h.show->library.fixture(1);
        lamp.startAddress = 1;
        lamp.channelCount = 1;
        lamp.channelCode[1] = 1;
        h.material().patch[1][1] = 1;
        h.click(QStringLiteral("Command跑马工具"));
        QWidget* window = chaseWindow(h);
        QVERIFY(window && window->isVisible());
        // Generating without a type changes nothing.
        h.click(QStringLiteral("Command生成数据"));
        QCOMPARE(window->findChild<QPlainTextEdit*>(QStringLiteral("Text信息"))->toPlainText(),
                 QStringLiteral("未选择任何跑马类型"));
        QCOMPARE(h.material().stepCount, 0);

        setList(window, "Combo跑马类型", QStringLiteral("01-头尾衔接"));
        setList(window, "Combo跑马灯具数量", QStringLiteral("2"));
        setList(window, "Combo起始位置", QStringLiteral("1"));
        setList(window, "Combo亮灯数据", QStringLiteral("300")); // falls back to 255
        setList(window, "Combo灭灯数据", QString());            // falls back to 0
        window->findChild<QCheckBox*>(QStringLiteral("Check开启反向"))->setChecked(c.reverse);
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command生成数据")), Qt::LeftButton);

        QCOMPARE(h.material().stepCount, 4);
        for (int step = 1; step <= 4; ++step)
            QCOMPARE(litFixtures(h.material(), step, 255), c.lit[static_cast<std::size_t>(step - 1)]);
        QVERIFY(window->findChild<QPlainTextEdit*>(QStringLiteral("Text信息"))->toPlainText().startsWith(
            c.reverse ? QStringLiteral("步001：04 01 ") : QStringLiteral("步001：01 04 ")));
        // The page shows step 1 and so do the lights.
        QCOMPARE(h.find<QComboBox>(QStringLiteral("Combo当前步"))->currentText(), QStringLiteral("1"));
        QCOMPARE(h.find<QLabel>(QStringLiteral("Label总步数"))->text(), QStringLiteral("4"));
        h.live.liveTick();
        QCOMPARE(int(h.live.dmxFrame()[1]), 255);
    }
}

void TestMaterialPage::chaseToolHidesOutsideTheMaterialPage()
{
    Harness h;
    h.click(QStringLiteral("Command跑马工具"));
    QVERIFY(chaseWindow(h)->isVisible());
    h.live.liveTick();
    QVERIFY(chaseWindow(h)->isVisible());
    h.live.setLiveOutputMode(liveout::kModeEffect);
    h.live.liveTick();
    QVERIFY(chaseWindow(h)->isHidden());
    h.page->open();
    h.click(QStringLiteral("Command跑马工具"));
    QVERIFY(chaseWindow(h)->isVisible());
    h.click(QStringLiteral("Command跑马工具"));
    QVERIFY(chaseWindow(h)->isHidden());
}

void TestMaterialPage::materialIsSavedCopiedPastedAndDeleted()
{
    Harness h;
    h.type(element("Text数值", 1), QStringLiteral("42"));
    h.type(QStringLiteral("Text素材备注"), QStringLiteral("Wash"));
    const auto file = h.dir.path() / "wash.K_1SC";
    h.chooser.paths.push_back(file);
    h.click(QStringLiteral("Command导出素材"));
    QVERIFY(std::filesystem::exists(file));
    h.click(QStringLiteral("Command复制素材"));

    // Delete asks first; No keeps the material.
    h.prompt.answers = {false};
    h.click(QStringLiteral("Command删除素材"));
    QCOMPARE(h.prompt.questions.back(), std::u16string(u"是否删除素材?"));
    QCOMPARE(h.material().stepCount, 1);
    h.prompt.answers = {true};
    h.click(QStringLiteral("Command删除素材"));
    QCOMPARE(h.material().stepCount, 0);
    QCOMPARE(h.find<QLabel>(QStringLiteral("Label总步数"))->text(), QStringLiteral("0"));

    h.prompt.answers = {true};
    h.click(QStringLiteral("Command粘贴素材"));
    QCOMPARE(h.prompt.questions.back(), std::u16string(u"是否覆盖当前素材?"));
    QCOMPARE(h.material().stepCount, 1);
    QCOMPARE(h.level(1, 1, 1), 42);
    QCOMPARE(h.find<QLineEdit>(QStringLiteral("Text素材备注"))->text(), QStringLiteral("Wash"));

    materials::clearMaterial(h.material());
    h.chooser.paths.push_back(file);
    h.click(QStringLiteral("Command导入素材"));
    QCOMPARE(h.level(1, 1, 1), 42);
    QCOMPARE(h.find<QLineEdit>(element("Text数值", 1))->text(), QStringLiteral("42"));
}

void TestMaterialPage::damagedFileLeavesTheMaterialAsItWas()
{
    Harness h;
    h.type(element("Text数值", 1), QStringLiteral("42"));
    const auto foreign = h.dir.path() / "foreign.K_1SC";
    std::ofstream(foreign, std::ios::binary) << "F9999999 not a material";
    const auto empty = h.dir.path() / "empty.K_1SC";
    std::ofstream(empty, std::ios::binary).flush();
    for (const auto& [file, message] : {std::pair{foreign, u"素材无效!"}, std::pair{empty, u"读取失败"}}) {
        h.prompt.messages.clear();
        h.chooser.paths.push_back(file);
        h.click(QStringLiteral("Command导入素材"));
        QCOMPARE(h.prompt.messages, std::vector<std::u16string>{message});
        QCOMPARE(h.material().stepCount, 1);
        QCOMPARE(h.level(1, 1, 1), 42);
    }
}

void TestMaterialPage::demoStepsThroughTheMaterial()
{
    Harness h(1, 1);
    fixtures::Fixture& lamp = h.show->library.fixture(1);
    lamp.startAddress = 5;
    lamp.channelCount = 1;
    lamp.channelCode[1] = 1;
    h.material().channelCodes[1] = 1;
    h.material().patch[1][1] = 1;
    h.type(element("Text数值", 1), QStringLiteral("10"));
    h.click(QStringLiteral("Command加一步"));
    h.type(element("Text数值", 1), QStringLiteral("20"));
    h.material().uniformTime = 2; // two ticks a step

    h.click(QStringLiteral("Command素材演示"));
    QVERIFY(h.find<QWidget>(QStringLiteral("Frame演示"))->isVisible());
    QCOMPARE(h.live.liveOutputMode(), liveout::kModeMaterialDemo);
    std::vector<int> seen;
    for (int t = 0; t < 6; ++t) {
        h.live.liveTick();
        seen.push_back(h.live.dmxFrame()[5]);
    }
    QVERIFY2(std::find(seen.begin(), seen.end(), 10) != seen.end(), "step 1 played");
    QVERIFY2(std::find(seen.begin(), seen.end(), 20) != seen.end(), "step 2 played");
    QTRY_VERIFY(!h.find<QLabel>(QStringLiteral("Label演示步"))->text().isEmpty());
    h.click(QStringLiteral("Command演示返回"));
    QVERIFY(h.find<QWidget>(QStringLiteral("Frame演示"))->isHidden());
    QCOMPARE(h.live.liveOutputMode(), liveout::kModeMaterial);
}

void TestMaterialPage::twentyFirstTempChannelIsRefused()
{
    Harness h;
    h.click(QStringLiteral("Command临时通道设置"));
    QVERIFY(h.find<QWidget>(QStringLiteral("Frame临时通道"))->isVisible());
    for (int code = 1; code <= 20; ++code)
        h.material().tempChannels[code] = static_cast<uint8_t>(code);
    h.page->redraw();
    QCOMPARE(h.find<QListWidget>(QStringLiteral("List临时通道"))->count(), 20);
    const QString caption = QStringLiteral("%1 - 21").arg(QString::fromStdU16String(h.show->channelDefinitions.name(21)));
    h.click(element("Command临时通道", 21));
    QCOMPARE(h.prompt.messages, std::vector<std::u16string>{u"最多支持20个通道"});
    QCOMPARE(h.find<QListWidget>(QStringLiteral("List临时通道"))->count(), 20);
    QVERIFY(h.find<QListWidget>(QStringLiteral("List临时通道"))->findItems(caption, Qt::MatchExactly).isEmpty());
    // Taking one out makes room, and the list follows.
    h.click(element("Command临时通道", 3));
    QCOMPARE(int(h.material().tempChannels[3]), 0);
    h.click(element("Command临时通道", 21));
    QCOMPARE(int(h.material().tempChannels[3]), 21);
    QCOMPARE(h.find<QListWidget>(QStringLiteral("List临时通道"))->findItems(caption, Qt::MatchExactly).size(), 1);
}

void TestMaterialPage::stepsAreCopiedAndPastedAtTheEnd()
{
    Harness h(2, 2);
    for (int v : {11, 22, 33, 44}) {
        if (v != 11)
            h.click(QStringLiteral("Command加一步"));
        h.type(element("Text数值", 1), QString::number(v));
    }
    h.find<QComboBox>(QStringLiteral("Combo当前步"))->setCurrentIndex(1);
    emit h.find<QComboBox>(QStringLiteral("Combo当前步"))->activated(1);
    QCOMPARE(h.show->editing.currentStep, 2);
    h.type(QStringLiteral("Combo复制步"), QStringLiteral("2"));
    h.click(QStringLiteral("Command复制步"));
    h.click(QStringLiteral("Command尾部粘贴"));
    QCOMPARE(h.material().stepCount, 6);
    const int expected[] = {11, 22, 33, 44, 22, 33};
    for (int step = 1; step <= 6; ++step)
        QCOMPARE(h.level(step, 1, 1), expected[step - 1]);
    QCOMPARE(h.find<QLabel>(QStringLiteral("Label总步数"))->text(), QStringLiteral("6"));
    // A count that is not a number is refused before anything is copied.
    h.paste(QStringLiteral("Combo复制步"), QStringLiteral("x"));
    h.click(QStringLiteral("Command复制步"));
    QCOMPARE(h.prompt.messages.back(), std::u16string(u"复制步数不能为0"));
}

void TestMaterialPage::builtInMaterialIsDescribedAndImported()
{
    Harness h;
    h.type(element("Text数值", 1), QStringLiteral("42"));
    const auto folder = h.dir.path() / "AppSet" / u"标准素材" / u"舞曲-RGB";
    std::filesystem::create_directories(folder);
    // Two ready-made materials: the current one saved twice, one with a description.
    for (const char* name : {"A-Red.K_1SC", "B-Blue.K_1SC"}) {
        h.chooser.paths.push_back(folder / name);
        h.click(QStringLiteral("Command导出素材"));
    }
    std::ofstream(folder / "A-Red.txt") << "red wash";
    materials::clearMaterial(h.material());
    h.page->open();

    h.click(QStringLiteral("Command选择标准素材"));
    QVERIFY(h.find<QWidget>(QStringLiteral("Frame选择内置素材"))->isVisible());
    QCOMPARE(h.find<QPushButton>(element("Label内置素材_ID", 1))->text(), QStringLiteral("A-Red"));
    QCOMPARE(h.find<QPushButton>(element("Label内置素材_ID", 2))->text(), QStringLiteral("B-Blue"));
    QVERIFY(h.find<QWidget>(element("Label内置素材_ID", 3))->isHidden());
    auto* description = h.find<QPlainTextEdit>(QStringLiteral("Text查看说明"));
    for (auto [i, text] : {std::pair{1, "red wash"}, std::pair{2, "无说明"}}) {
        QTest::mouseClick(h.find<QPushButton>(element("Label内置素材_ID", i)), Qt::RightButton);
        QVERIFY(description->isVisible());
        QCOMPARE(description->toPlainText().trimmed(), QString::fromUtf8(text));
    }
    // An empty category lists nothing.
    h.click("Command内置素材类型", 2);
    QVERIFY(h.find<QWidget>(element("Label内置素材_ID", 1))->isHidden());
    h.click("Command内置素材类型", 1);

    h.prompt.answers = {true};
    h.click("Label内置素材_ID", 2);
    QCOMPARE(h.prompt.questions.back(), std::u16string(u"是否导入  [B-Blue]"));
    QCOMPARE(h.level(1, 1, 1), 42);
    QVERIFY(h.find<QWidget>(QStringLiteral("Frame选择内置素材"))->isHidden());
    QCOMPARE(h.find<QLineEdit>(element("Text数值", 1))->text(), QStringLiteral("42"));
    // The same kind's button again hides the chooser.
    h.click(QStringLiteral("Command选择标准素材"));
    h.click(QStringLiteral("Command选择标准素材"));
    QVERIFY(h.find<QWidget>(QStringLiteral("Frame选择内置素材"))->isHidden());
}

void TestMaterialPage::circleMotionIsSetUpAndGenerated()
{
    Harness h(2, 2);
    QVERIFY(!h.find<QPushButton>(QStringLiteral("Command显示动作参数"))->isEnabled());
    auto* motion = h.find<QComboBox>(QStringLiteral("ComboXY动作辅助生成"));
    motion->setCurrentIndex(1);
    emit motion->activated(1);
    QCOMPARE(h.material().motionType, 1);
    QCOMPARE(h.find<QPushButton>(QStringLiteral("Command显示动作参数"))->text(), QStringLiteral("画圆"));
    h.rightClick(2);
    h.click(QStringLiteral("Command显示动作参数"));
    QVERIFY(h.find<QWidget>(QStringLiteral("Frame素材动作_画圆"))->isVisible());
    // Showing the panel puts the defaults in place of the stored zeros that are out of range.
    QCOMPARE(h.material().motionGlobal[1], 10);
    QCOMPARE(h.material().motionPerFixture[1][7], 10);
    QCOMPARE(h.find<QComboBox>(element("Combo动作参数_单个", 7))->currentText(), QStringLiteral("10"));

    h.paste(element("Combo动作参数_单个", 7), QStringLiteral("300"));
    QCOMPARE(h.material().motionPerFixture[1][7], 10);
    QVERIFY(h.style(element("Combo动作参数_单个", 7)).contains(QStringLiteral("#ff8080")));
    h.paste(element("Combo动作参数_单个", 7), QStringLiteral("100"));
    QCOMPARE(h.material().motionPerFixture[1][7], 100);
    QCOMPARE(h.material().motionPerFixture[2][7], 100); // linked
    h.paste(QStringLiteral("Combo动作_画圆_全局"), QStringLiteral("0"));
    QCOMPARE(h.material().motionGlobal[1], 10);

    h.click(QStringLiteral("Command隐藏动作生成器"));
    QVERIFY(h.find<QWidget>(QStringLiteral("Frame素材动作_画圆"))->isHidden());
    QCOMPARE(h.material().stepCount, 37);
    QCOMPARE(h.material().allStepsFade, 1);
    QCOMPARE(h.material().perStepTimeMode, 0);
    QCOMPARE(h.material().uniformTime, 1);
    QCOMPARE(h.show->editing.currentStep, 1);
    QCOMPARE(h.find<QLabel>(QStringLiteral("Label总步数"))->text(), QStringLiteral("37"));

    // Choosing "无" hides the panel again.
    h.click(QStringLiteral("Command显示动作参数"));
    motion->setCurrentIndex(0);
    emit motion->activated(0);
    QVERIFY(h.find<QWidget>(QStringLiteral("Frame素材动作_画圆"))->isHidden());
}

void TestMaterialPage::wheelStepsTheFaderUnderThePointer()
{
    ui::WheelRouter router;
    Harness h(2, 3, &router);
    h.rightClick(2);
    h.type(element("Text数值", 2), QStringLiteral("254"));
    auto* fader = h.find<ui::Fader>(element("Picture推杆", 2));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), fader->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(fader, &enter);
    QVERIFY(router.handleWheel(120, false));
    QCOMPARE(h.level(1, 1, 2), 255);
    QCOMPARE(h.level(1, 2, 2), 255); // linked
    QVERIFY(router.handleWheel(120, false)); // stays at the top
    QCOMPARE(h.level(1, 1, 2), 255);
    QVERIFY(router.handleWheel(-120, false));
    QCOMPARE(h.level(1, 1, 2), 254);
    QCOMPARE(h.find<QLineEdit>(element("Text数值", 2))->text(), QStringLiteral("254"));
}

QTEST_MAIN(TestMaterialPage)
#include "tst_materialpage.moc"
