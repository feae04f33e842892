// The light-control and infrared air-conditioner pages driven through their object names
// against the in-process simulated controller: stored controls, infrared key text and
// learning, light-file commands, and the way to the air-conditioner page and back.
#include "core/link/Frame.h"
#include "core/link/Link.h"
#include "core/liveout/LiveSender.h"
#include "core/show/Show.h"
#include "core/show/ShowFile.h"
#include "sim/Controller.h"
#include "support/ui/PageRig.h"
#include "ui/lightcontrol/AirConditionerPage.h"
#include "ui/lightcontrol/IrKeyPanel.h"
#include "ui/lightcontrol/LightControlPage.h"
#include "ui/lightcontrol/VersionNotesPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <fstream>
#include <memory>
#include <vector>

using namespace rz;

namespace {

constexpr uint8_t kCE = 0xCE;

// The whole text replaced at once, as a paste does (typing stores every valid text on the way).
void paste(QLineEdit* box, const QString& text)
{
    box->setText(text);
    emit box->textEdited(text);
}

struct Rig : test::PageRig {
    Rig()
    {
        navigation.openPage = [this](PageId id) {
            if (id == PageId::LightControl)
                page->open();
            else if (id == PageId::AirConditioner)
                airCon->open();
        };
    }

    template <class W>
    W* in(QWidget* root, const QString& name)
    {
        return find<W>(root, name);
    }
    QLineEdit* irBox(int k) { return in<QLineEdit>(page.get(), QStringLiteral("Text效果器红外(%1)").arg(k)); }
    void focus(int k, bool in)
    {
        QFocusEvent e(in ? QEvent::FocusIn : QEvent::FocusOut);
        QApplication::sendEvent(irBox(k), &e);
    }
    // A frame as the controller would send it.
    void report(uint8_t command, std::vector<uint8_t> payload) { link.receive(link::buildFrame(command, payload)); }
    // Payloads of the CE frames the controller received, in order.
    std::vector<std::vector<uint8_t>> ceFrames() const
    {
        std::vector<std::vector<uint8_t>> out;
        for (const auto& f : controller.lastFrames())
            if (f.command == kCE)
                out.push_back(f.payload);
        return out;
    }
    QString logText() { return in<QPlainTextEdit>(airCon.get(), QStringLiteral("Text信息反馈"))->toPlainText(); }

    std::unique_ptr<ui::LightControlPage> page = makePage<ui::LightControlPage>();
    std::unique_ptr<ui::AirConditionerPage> airCon = makePage<ui::AirConditionerPage>();
};

} // namespace

class TestLightControlPage : public QObject {
    Q_OBJECT
private slots:
    void irKeyText_data();
    void irKeyText();
    void codeReportFillsOnlyTheFocusedKey();
    void learningPollsWhileFocusedAndStopsOnce();
    void storedControlsShowAndStore();
    void dmxBoxesIgnoreTextOutOfRange();
    void powerOnListFollowsSceneNames();
    void airConditionerLearnTestStop();
    void lightButtonLeadsBackAfterReturn();
    void openShowShowsItsScenes();
    void badOrCancelledFileKeepsShow();
    void newShowAsksAndSucceeds();
    void simulatorCodeReachesTheFocusedBox();
    void simulatorLearnsAnAirConditionerState();
    void versionNotesListTheCurrentReleaseFirst();
};

void TestLightControlPage::irKeyText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("lightRed");
    const QByteArray old("\x01\x02\x03\x04", 4);
    QTest::newRow("four bytes") << "11 22 33 44" << "11 22 33 44" << QByteArray("\x11\x22\x33\x44", 4) << false;
    QTest::newRow("lower case, no spaces") << "a0b1c2d3" << "a0b1c2d3" << QByteArray("\xA0\xB1\xC2\xD3", 4) << false;
    QTest::newRow("short") << "11 22 33 4" << "11 22 33 4" << old << true;
    QTest::newRow("not hexadecimal") << "11 22 33 GG" << "11 22 33 GG" << old << true;
    QTest::newRow("too long") << "11 22 33 44 55" << "11 22 33 44 55" << old << true;
    QTest::newRow("empty") << "" << "" << QByteArray(4, '\0') << false;
}

void TestLightControlPage::irKeyText()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QByteArray, stored);
    QFETCH(bool, lightRed);
    Rig rig;
    rig.show->lightControl.effectsUnitIr[5] = {1, 2, 3, 4};
    rig.page->open();
    QLineEdit* box = rig.irBox(5);
    QCOMPARE(box->text(), QStringLiteral("01 02 03 04 "));
    paste(box, typed);
    QCOMPARE(box->text(), shown);
    const auto& code = rig.show->lightControl.effectsUnitIr[5];
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(code.data()), 4), stored);
    QCOMPARE(box->palette().color(QPalette::Base) == ui::IrKeyPanel::invalidBackground(), lightRed);
    // Other keys are untouched.
    QVERIFY(!rig.show->lightControl.hasIrCode(4));
    // Typed key by key into another box: no text on the way is a whole code either.
    if (QTest::currentDataTag() == QByteArray("short")) {
        QTest::keyClicks(rig.irBox(6), typed);
        QVERIFY(!rig.show->lightControl.hasIrCode(6));
        QCOMPARE(rig.irBox(6)->palette().color(QPalette::Base), ui::IrKeyPanel::invalidBackground());
    }
    // A redraw shows the stored code in its own form.
    rig.page->refreshAll();
    QCOMPARE(box->text().isEmpty(), stored == QByteArray(4, '\0'));
}

void TestLightControlPage::codeReportFillsOnlyTheFocusedKey()
{
    Rig rig;
    rig.page->open();
    const auto before = rig.show->lightControl;
    rig.report(kCE, {0x50, 0x66, 0x11, 0x22, 0x33, 0x44});
    QCOMPARE(rig.show->lightControl, before);

    rig.focus(3, true);
    rig.report(kCE, {0x50, 0x66, 0xAB, 0x00, 0x01, 0xFF});
    QCOMPARE(rig.irBox(3)->text(), QStringLiteral("AB 00 01 FF "));
    QVERIFY(rig.irBox(2)->text().isEmpty());
    // Other reports and cut-short reports store nothing.
    rig.report(kCE, {0x50, 0x66, 0x01});
    rig.report(kCE, {0x24, 0x02});
    QCOMPARE(rig.irBox(3)->text(), QStringLiteral("AB 00 01 FF "));
    rig.focus(3, false);
    rig.report(kCE, {0x50, 0x66, 0x01, 0x01, 0x01, 0x01});
    QCOMPARE(rig.irBox(3)->text(), QStringLiteral("AB 00 01 FF "));
}

void TestLightControlPage::learningPollsWhileFocusedAndStopsOnce()
{
    Rig rig;
    rig.connect();
    rig.page->open();
    QCOMPARE(rig.live.liveOutputMode(), liveout::kModeLightControl);
    auto* label = rig.in<QWidget>(rig.page.get(), QStringLiteral("Label效果器红外(7)"));
    rig.focus(7, true);
    QVERIFY(label->styleSheet().contains("0, 255, 255"));
    auto* panel = rig.page->irKeys();
    panel->pollLearning();
    panel->pollLearning();
    QCOMPARE(panel->learning().timerIntervalMs(), 500u);
    rig.transport.poll();
    auto frames = rig.ceFrames();
    QCOMPARE(frames.size(), std::size_t(2));
    QCOMPARE(frames.back(), (std::vector<uint8_t>{0x50, 0x01}));

    rig.focus(7, false);
    QVERIFY(label->styleSheet().contains("255, 255, 0"));
    for (int i = 0; i < 4; ++i)
        panel->pollLearning();
    rig.transport.poll();
    frames = rig.ceFrames();
    QCOMPARE(frames.size(), std::size_t(3));
    QCOMPARE(frames.back(), (std::vector<uint8_t>{0x50, 0x00}));
    QCOMPARE(panel->learning().timerIntervalMs(), 0u);

    // Not connected: nothing goes out, the timer keeps waiting.
    rig.manager.toggleConnection();
    rig.focus(1, true);
    panel->pollLearning();
    rig.transport.poll();
    QCOMPARE(rig.ceFrames().size(), std::size_t(3));
    QCOMPARE(panel->learning().timerIntervalMs(), 100u);
}

void TestLightControlPage::storedControlsShowAndStore()
{
    Rig rig;
    auto& s = rig.show->lightControl;
    s.channel9Exhaust1Off = 0;
    s.dimmingSteps = 0;
    s.dimmingMinimum = 55;
    s.micShakeTime = 3;
    s.sceneRelayControl = 1;
    s.smokeMachineTime = 15;
    s.powerOnAirCon = 2;
    rig.show->motionThreshold = 50;
    rig.page->open();
    QWidget* p = rig.page.get();
    QVERIFY(rig.in<QCheckBox>(p, "Check开启排风1通道复用")->isChecked());
    QCOMPARE(rig.in<QComboBox>(p, "Combo可控硅调光加减级数")->currentText(), QStringLiteral("10"));
    QCOMPARE(rig.in<QComboBox>(p, "Combo调光最小值")->currentText(), QStringLiteral("40"));
    QCOMPARE(s.dimmingSteps, 10);
    QCOMPARE(s.dimmingMinimum, 40);
    QCOMPARE(rig.in<QComboBox>(p, "Combo摇麦时间")->currentText(), QStringLiteral("3秒"));
    QVERIFY(rig.in<QRadioButton>(p, "Option场景继电器控制选择(1)")->isChecked());
    QCOMPARE(rig.in<QComboBox>(p, "Combo烟机时间")->currentText(), QStringLiteral("15"));
    QCOMPARE(rig.in<QComboBox>(p, "Combo开机空调")->currentText(), QStringLiteral("中风"));
    QCOMPARE(rig.in<QComboBox>(p, "ComboXY动作限制")->currentText(), QStringLiteral("50"));
    QCOMPARE(rig.in<QComboBox>(p, "Combo开机场景")->currentText(), QStringLiteral("无"));

    // Clicking the inverted box stores 1 when it is cleared.
    rig.in<QCheckBox>(p, "Check开启排风1通道复用")->click();
    QCOMPARE(s.channel9Exhaust1Off, 1);
    rig.in<QCheckBox>(p, "Check开启可控硅调光")->click();
    QCOMPARE(s.thyristorDimming, 1);
    rig.in<QRadioButton>(p, "Option场景继电器控制选择(0)")->click();
    QCOMPARE(s.sceneRelayControl, 0);

    // Lists store the chosen entry's value.
    struct Pick {
        const char* name;
        int index;
    };
    for (const Pick& pick : {Pick{"Combo摇麦时间", 19}, Pick{"Combo喝彩倒彩时间", 7}, Pick{"Combo密集鼓点参数", 0},
                             Pick{"Combo场景切换强制XY动作限制", 10}, Pick{"ComboXY动作限制", 0},
                             Pick{"TextDmx固定值_开机默认", 1}, Pick{"Combo开机场景", 32}}) {
        auto* list = rig.in<QComboBox>(p, pick.name);
        list->setCurrentIndex(pick.index);
        emit list->activated(pick.index);
    }
    QCOMPARE(s.micShakeTime, 20);
    QCOMPARE(s.cheerBooTime, 20);
    QCOMPARE(s.denseDrumCount, 5);
    QCOMPARE(s.sceneSwitchXyLimit, 10);
    QCOMPARE(rig.show->motionThreshold, 0);
    QCOMPARE(s.fixedDmxPowerOnState, 1);
    QCOMPARE(s.powerOnScene, 32);
}

void TestLightControlPage::dmxBoxesIgnoreTextOutOfRange()
{
    Rig rig;
    rig.show->lightControl.fixedDmxChannel = 100;
    rig.show->lightControl.fixedDmxOnValue = 7;
    rig.page->open();
    // A record never read from a file shows the values reading would have given.
    QCOMPARE(rig.in<QComboBox>(rig.page.get(), "Combo摇麦时间")->currentText(), QStringLiteral("1秒"));
    QCOMPARE(rig.in<QComboBox>(rig.page.get(), "Combo密集鼓点参数")->currentText(), QStringLiteral("7"));
    auto* channel = rig.in<QLineEdit>(rig.page.get(), "TextDmx固定值_通道");
    QCOMPARE(channel->text(), QStringLiteral("100"));
    paste(channel, "600");
    QCOMPARE(rig.show->lightControl.fixedDmxChannel, 100);
    paste(channel, "512");
    QCOMPARE(rig.show->lightControl.fixedDmxChannel, 512);
    auto* on = rig.in<QLineEdit>(rig.page.get(), "TextDmx固定值_开数值");
    on->selectAll();
    QTest::keyClicks(on, "256");
    QCOMPARE(rig.show->lightControl.fixedDmxOnValue, 25); // "2", "25" were valid on the way
    on->selectAll();
    QTest::keyClicks(on, "x");
    QCOMPARE(rig.show->lightControl.fixedDmxOnValue, 25);
}

void TestLightControlPage::powerOnListFollowsSceneNames()
{
    Rig rig;
    rig.show->scenes.scene(2).name = u"迎宾";
    rig.show->lightControl.powerOnScene = 2;
    rig.page->open();
    auto* list = rig.in<QComboBox>(rig.page.get(), "Combo开机场景");
    QCOMPARE(list->count(), 33);
    QCOMPARE(list->currentText(), QStringLiteral("2-迎宾"));
    rig.show->scenes.scene(2).name = u"派对";
    list->showPopup();
    QCOMPARE(list->itemText(2), QStringLiteral("2-派对"));
    QCOMPARE(list->currentIndex(), 2);
    list->hidePopup();
}

void TestLightControlPage::airConditionerLearnTestStop()
{
    Rig rig;
    rig.controller.infrared().setAutoLearn(false); // reports come from the test only
    rig.connect();
    rig.airCon->open();
    QCOMPARE(rig.live.liveOutputMode(), liveout::kModeAirConditioner);
    QWidget* p = rig.airCon.get();

    // A report without a learning still appends.
    rig.report(kCE, {0x24, 0x02});
    QCOMPARE(rig.logText(), QStringLiteral(" ->学习成功!\n"));

    rig.in<QPushButton>(p, "Command红外空调学习(1)")->click();
    QCOMPARE(rig.logText(), QStringLiteral("正在学习【冷低风26度】"));
    rig.report(kCE, {0x24, 0x02, 0x01});
    QCOMPARE(rig.logText(), QStringLiteral("正在学习【冷低风26度】 ->学习成功!\n"));
    // A second learning replaces the whole log.
    rig.in<QPushButton>(p, "Command红外空调学习(6)")->click();
    QCOMPARE(rig.logText(), QStringLiteral("正在学习【热高风30度】"));
    rig.report(kCE, {0x24, 0x01});
    QCOMPARE(rig.logText(), QStringLiteral("正在学习【热高风30度】"));

    const auto start = rig.clock.nowMs();
    rig.in<QPushButton>(p, "Command红外空调测试(3)")->click();
    QVERIFY(rig.clock.nowMs() - start >= ui::AirConditionerPage::kTestPauseMs);
    QVERIFY(rig.in<QGroupBox>(p, "Frame红外空调发射测试")->isEnabled());
    QVERIFY(rig.in<QPushButton>(p, "Command红外空调测试(3)")->isEnabled());

    rig.in<QPushButton>(p, "Command停止学习")->click();
    QCOMPARE(rig.logText(), QStringLiteral("停止学习"));
    rig.transport.poll();
    const auto frames = rig.ceFrames();
    QCOMPARE(frames.size(), std::size_t(4));
    QCOMPARE(frames[0], (std::vector<uint8_t>{0x24, 0x02, 1}));
    QCOMPARE(frames[1], (std::vector<uint8_t>{0x24, 0x02, 6}));
    QCOMPARE(frames[2], (std::vector<uint8_t>{0x24, 0x01, 3}));
    QCOMPARE(frames[3], (std::vector<uint8_t>{0x24, 0x04}));
}

void TestLightControlPage::lightButtonLeadsBackAfterReturn()
{
    Rig rig;
    rig.page->open();
    rig.in<QPushButton>(rig.page.get(), "Command进入红外空调界面")->click();
    QCOMPARE(rig.navigation.shownPage(), PageId::AirConditioner);
    QCOMPARE(rig.navigation.pageOfButton(Navigation::kLightButton), PageId::AirConditioner);
    rig.navigation.clickFunctionButton(Navigation::kLightButton);
    QCOMPARE(rig.navigation.shownPage(), PageId::AirConditioner);

    rig.in<QPushButton>(rig.airCon.get(), "Command返回灯控")->click();
    QCOMPARE(rig.navigation.shownPage(), PageId::LightControl);
    rig.airCon->open();
    rig.navigation.clickFunctionButton(Navigation::kLightButton);
    QCOMPARE(rig.navigation.shownPage(), PageId::LightControl);
}

void TestLightControlPage::openShowShowsItsScenes()
{
    Rig rig;
    rig.showFile.ensureTemplate();
    rig.show->scenes.scene(4).name = u"生日";
    rig.show->lightControl.powerOnScene = 4;
    const auto elsewhere = rig.dir.path() / "elsewhere.K_F";
    QVERIFY(rig.showFile.saveShow(elsewhere));
    rig.show->scenes.scene(4).name = u"其他";
    rig.show->lightControl.powerOnScene = 0;
    rig.page->open();

    rig.chooser.paths.push_back(elsewhere);
    rig.in<QPushButton>(rig.page.get(), "Command打开文件")->click();
    auto* list = rig.in<QComboBox>(rig.page.get(), "Combo开机场景");
    QCOMPARE(list->currentText(), QStringLiteral("4-生日"));
    QVERIFY(rig.page->isEnabled());

    // Save as copies the working show file.
    const auto copy = rig.dir.path() / "copy.K_F";
    rig.chooser.paths.push_back(copy);
    rig.in<QPushButton>(rig.page.get(), "Command文件另存为")->click();
    QVERIFY(std::filesystem::exists(copy));
}

void TestLightControlPage::badOrCancelledFileKeepsShow()
{
    Rig rig;
    rig.showFile.ensureTemplate();
    rig.show->scenes.scene(1).name = u"保留";
    rig.page->open();
    const auto bad = rig.dir.path() / "bad.K_F";
    {
        std::ofstream out(bad, std::ios::binary);
        out << "not a show";
    }
    rig.chooser.paths.push_back(bad);
    rig.in<QPushButton>(rig.page.get(), "Command打开文件")->click();
    QVERIFY(!rig.prompt.messages.empty());
    QCOMPARE(QString::fromStdU16String(rig.prompt.messages.back()), QStringLiteral("文件格式错误！！！"));
    QVERIFY(rig.show->scenes.scene(1).name == u"保留");
    rig.chooser.paths.push_back(std::nullopt);
    rig.in<QPushButton>(rig.page.get(), "Command打开文件")->click();
    QVERIFY(rig.show->scenes.scene(1).name == u"保留");
}

void TestLightControlPage::newShowAsksAndSucceeds()
{
    Rig rig;
    rig.showFile.ensureTemplate();
    rig.show->scenes.scene(3).name = u"旧的";
    rig.show->lightControl.powerOnScene = 3;
    rig.page->open();
    rig.prompt.answers.push_back(false);
    rig.in<QPushButton>(rig.page.get(), "Command建立新文件")->click();
    QVERIFY(rig.show->scenes.scene(3).name == u"旧的");
    rig.prompt.answers.push_back(true);
    rig.in<QPushButton>(rig.page.get(), "Command建立新文件")->click();
    QCOMPARE(QString::fromStdU16String(rig.prompt.questions.back()),
             QStringLiteral("要删除当前灯光文件并建立空白灯光文件吗？"));
    QCOMPARE(QString::fromStdU16String(rig.prompt.messages.back()), QStringLiteral("操作成功！"));
    QCOMPARE(rig.in<QComboBox>(rig.page.get(), "Combo开机场景")->currentText(), QStringLiteral("无"));
}

void TestLightControlPage::simulatorCodeReachesTheFocusedBox()
{
    Rig rig;
    rig.connect();
    rig.page->open();
    rig.focus(9, true);
    rig.page->irKeys()->pollLearning();
    rig.transport.poll();
    QVERIFY(rig.controller.infrared().infraredReceptionOn());
    // The room's remote control is pressed.
    rig.controller.inject([&](sim::FamilyContext& c) { rig.controller.infrared().receiveInfraredCode({0x00, 0xFF, 0x45, 0xBA}, c); });
    rig.transport.poll();
    QCOMPARE(rig.irBox(9)->text(), QStringLiteral("00 FF 45 BA "));
    QVERIFY((rig.show->lightControl.effectsUnitIr[9] == lightcontrol::IrCode{0x00, 0xFF, 0x45, 0xBA}));

    rig.focus(9, false);
    rig.page->irKeys()->pollLearning();
    rig.transport.poll();
    QVERIFY(!rig.controller.infrared().infraredReceptionOn());
}

void TestLightControlPage::simulatorLearnsAnAirConditionerState()
{
    Rig rig;
    rig.connect();
    rig.airCon->open();
    rig.in<QPushButton>(rig.airCon.get(), "Command红外空调学习(4)")->click();
    rig.transport.poll();
    QCOMPARE(rig.logText(), QStringLiteral("正在学习【热低风18度】 ->学习成功!\n"));

    rig.controller.infrared().setAutoLearn(false);
    rig.in<QPushButton>(rig.airCon.get(), "Command红外空调学习(0)")->click();
    rig.transport.poll();
    QCOMPARE(rig.logText(), QStringLiteral("正在学习【关闭】"));
    QCOMPARE(rig.controller.infrared().airConLearning(), std::optional<uint8_t>(0));
    rig.controller.inject([&](sim::FamilyContext& c) { rig.controller.infrared().learnAirConCode(c); });
    rig.transport.poll();
    QCOMPARE(rig.logText(), QStringLiteral("正在学习【关闭】 ->学习成功!\n"));
}

void TestLightControlPage::versionNotesListTheCurrentReleaseFirst()
{
    Rig rig;
    auto notes = rig.makePage<ui::VersionNotesPage>();
    rig.navigation.openPage = [&](PageId id) {
        if (id == PageId::VersionNotes)
            notes->open();
        else if (id == PageId::LightControl)
            rig.page->open();
    };
    rig.page->open();
    rig.in<QPushButton>(rig.page.get(), "Command版本说明")->click();
    QCOMPARE(rig.navigation.shownPage(), PageId::VersionNotes);
    const QString text = rig.in<QPlainTextEdit>(notes.get(), "Text版本说明")->toPlainText();
    QVERIFY(text.startsWith(QStringLiteral("A16.2")));
    rig.in<QPushButton>(notes.get(), "Command版本说明_返回")->click();
    QCOMPARE(rig.navigation.shownPage(), PageId::LightControl);

    // Without an installed picture the picture page names the product.
    auto picture = rig.makePage<ui::PicturePage>();
    picture->open();
    QVERIFY(!picture->hasPicture());
    QVERIFY(!rig.in<QWidget>(picture.get(), "LabelPictureRelease")->isHidden());
}

QTEST_MAIN(TestLightControlPage)
#include "tst_lightcontrolpage.moc"
