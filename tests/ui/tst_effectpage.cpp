// The effect page driven through its widgets: bar and beat stepping, the grid and its flags,
// bass bars, the four-material link, bar paste, the dwell entry, drum hits, and the lights
// following a click on a beat (against the in-process simulated controller).
#include "core/app/ColourScheme.h"
#include "core/effects/EffectEditor.h"
#include "core/effects/EffectPreview.h"
#include "core/liveout/LiveSender.h"
#include "core/show/Show.h"
#include "core/show/ShowFile.h"
#include "sim/Controller.h"
#include "support/ui/PageRig.h"
#include "ui/effects/EffectPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace rz;
using effects::kBassMode;
using effects::kNoBassMode;

namespace {

constexpr int kEffect = 2;

QString element(const char* control, int index)
{
    return QStringLiteral("%1(%2)").arg(QString::fromUtf8(control)).arg(index);
}

struct Rig : test::PageRig {
    Rig()
    {
        navigation.openPage = [this](PageId id) {
            opened.push_back(id);
            if (id == PageId::Effect)
                page->open();
        };
        show->editing.currentEffect = kEffect;
        effect().barCount = {2, 2};
        effect().beatCount = {8, 4};
        effect().independentBass = 1;
    }

    effects::Effect& effect() { return show->effects.effect(kEffect); }
    template <class W>
    W* in(const QString& name)
    {
        return find<W>(page.get(), name);
    }
    QPushButton* button(const QString& name) { return in<QPushButton>(name); }
    QPushButton* cell(int slot, int beat) { return button(element("Command素材_当前拍", (slot - 1) * 8 + beat)); }
    QPushButton* bar(int index) { return button(element("Command小节", index)); }
    void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    // Material (m, s) plays `level` on DMX address `address` through a one-channel fixture.
    void materialOn(int m, int s, int address, uint8_t level)
    {
        fixtures::Fixture& fx = show->library.fixture(address);
        fx.startAddress = static_cast<int16_t>(address);
        fx.channelCount = 1;
        fx.channelCode[1] = 1;
        materials::Material& mat = show->materials.at(m, s);
        mat.name = u"Wash";
        mat.stepCount = 1;
        mat.uniformTime = 1;
        mat.fixtureCount = 1;
        mat.channelCount = 1;
        mat.channelCodes[1] = 1;
        mat.patch[1][address] = 1;
        mat.setLevel(1, 1, 1, level);
    }

    std::unique_ptr<ui::EffectPage> page = makePage<ui::EffectPage>();
    std::vector<PageId> opened;
};

} // namespace

class TestEffectPage : public QObject {
    Q_OBJECT
private slots:
    void beatCellMakesItsBeatCurrentAndColoursItself()
    {
        Rig rig;
        rig.page->open();
        QCOMPARE(rig.live.liveOutputMode(), liveout::kModeEffect);
        QCOMPARE(rig.navigation.scenePageMode(), ScenePageMode::Effect);
        rig.click(rig.cell(3, 8));
        QCOMPARE(int(rig.show->barPosition.beat), 8);
        QVERIFY(rig.effect().beatGrid.cell(kNoBassMode, 1, 8, 1, 3));
        QVERIFY(rig.cell(3, 8)->styleSheet().contains(QStringLiteral("#cccc00")));
        QVERIFY(rig.cell(3, 7)->styleSheet().contains(QStringLiteral("#808080")));
        QVERIFY(rig.button(element("Command拍演示", 8))->styleSheet().contains(QStringLiteral("#ff8000")));

        // Another module recolours the same buttons: its own cells are empty.
        QPushButton* before = rig.cell(3, 8);
        rig.click(rig.button(element("Command功能模块", 2)));
        QCOMPARE(rig.cell(3, 8), before);
        QVERIFY(rig.cell(3, 8)->styleSheet().contains(QStringLiteral("#808080")));
    }

    void nextBeatWrapsFromTheLastBassBarToBassBarOne()
    {
        Rig rig;
        rig.page->open();
        rig.click(rig.bar(18));
        rig.click(rig.button(element("Command拍演示", 4)));
        rig.click(rig.button(QStringLiteral("Command下一拍")));
        QCOMPARE(int(rig.show->barPosition.barIndex), 17);
        QCOMPARE(int(rig.show->barPosition.beat), 1);
        QVERIFY(rig.bar(17)->styleSheet().contains(QStringLiteral("#ff8080")));
        QCOMPARE(rig.in<QGroupBox>(QStringLiteral("Frame小节设置"))->title(), QStringLiteral("低音小节 [1]"));
        // Beats beyond the bass count are hidden.
        QVERIFY(rig.cell(1, 4)->isVisibleTo(rig.page.get()));
        QVERIFY(!rig.cell(1, 5)->isVisibleTo(rig.page.get()));
    }

    void bassBarsHiddenWithoutIndependentBassDataKeptAndSaved()
    {
        Rig rig;
        rig.effect().beatGrid.setCell(kBassMode, 2, 1, 1, 1, true);
        rig.page->open();
        QVERIFY(rig.bar(18)->isVisibleTo(rig.page.get()));
        rig.in<QCheckBox>(QStringLiteral("Check开启独立低音"))->click();
        QCOMPARE(int(rig.effect().independentBass), 0);
        QVERIFY(!rig.bar(17)->isVisibleTo(rig.page.get()));
        QVERIFY(!rig.in<QComboBox>(element("Combo小节数", 1))->isVisibleTo(rig.page.get()));
        QVERIFY(rig.bar(2)->isVisibleTo(rig.page.get()));
        QVERIFY(!rig.bar(3)->isVisibleTo(rig.page.get()));

        QVERIFY(rig.showFile.saveShow());
        rig.effect().beatGrid.setCell(kBassMode, 2, 1, 1, 1, false);
        QCOMPARE(rig.showFile.loadShow(), show::LoadResult::loaded);
        QVERIFY(rig.effect().beatGrid.cell(kBassMode, 2, 1, 1, 1));
        QCOMPARE(int(rig.effect().barCount[kBassMode]), 2);
    }

    void fourMaterialLinkHidesRowsWithoutTouchingCells()
    {
        Rig rig;
        rig.effect().beatGrid.setCell(kNoBassMode, 1, 2, 1, 2, true);
        rig.page->open();
        QWidget* p = rig.page.get();
        rig.in<QCheckBox>(QStringLiteral("Check4素材关联"))->click();
        QCOMPARE(int(rig.effect().modules[1].fourMaterialLink), 1);
        for (int s = 1; s <= 12; ++s) {
            const bool shown = s == 1 || s == 5 || s == 9;
            QCOMPARE(rig.cell(s, 1)->isVisibleTo(p), shown);
            QCOMPARE(rig.button(element("Command素材_所有拍", s))->isVisibleTo(p), shown);
        }
        QVERIFY(rig.button(element("Command素材关联提示", 1))->isVisibleTo(p));
        QVERIFY(rig.in<QComboBox>(QStringLiteral("Combo素材关联重复次数"))->isVisibleTo(p));
        QVERIFY(rig.effect().beatGrid.cell(kNoBassMode, 1, 2, 1, 2));
        rig.in<QCheckBox>(QStringLiteral("Check4素材关联"))->click();
        QVERIFY(rig.cell(2, 2)->isVisibleTo(p));
        QVERIFY(rig.cell(2, 2)->styleSheet().contains(QStringLiteral("#cccc00")));
    }

    void pasteWithNothingCopiedAfterReopening()
    {
        Rig rig;
        rig.page->open();
        rig.click(rig.button(QStringLiteral("Command复制小节")));
        rig.page->open();
        rig.click(rig.button(QStringLiteral("Command粘贴小节")));
        QCOMPARE(rig.prompt.messages.back(), std::u16string(effects::kMsgNothingCopied));
        QVERIFY(rig.prompt.questions.empty());
    }

    void dwellOutOfRangeTurnsRedAndKeepsTheValue()
    {
        Rig rig;
        rig.effect().bars[kNoBassMode][1].beatDwell = 80;
        rig.page->open();
        auto* dwell = rig.in<QComboBox>(QStringLiteral("Combo小节停留时间"));
        auto* seconds = rig.in<QLabel>(QStringLiteral("Label拍子停留时间"));
        QCOMPARE(seconds->text(), QStringLiteral("8.0秒"));
        dwell->setEditText(QStringLiteral("300"));
        QCOMPARE(int(rig.effect().bars[kNoBassMode][1].beatDwell), 80);
        QVERIFY(dwell->styleSheet().contains(QStringLiteral("#ff8080")));
        QCOMPARE(seconds->text(), QStringLiteral("8.0秒"));
        dwell->setEditText(QStringLiteral("x1"));
        QCOMPARE(int(rig.effect().bars[kNoBassMode][1].beatDwell), 80);
        dwell->setEditText(QStringLiteral("45"));
        QCOMPARE(int(rig.effect().bars[kNoBassMode][1].beatDwell), 45);
        QVERIFY(dwell->styleSheet().isEmpty());
        QCOMPARE(seconds->text(), QStringLiteral("4.5秒"));
    }

    void drumHitsFlashAndAreSilencedByBassDisabled()
    {
        Rig rig;
        rig.page->open();
        auto* indicator = rig.in<QGroupBox>(QStringLiteral("Frame模拟鼓点"));
        QTest::mousePress(rig.button(QStringLiteral("Command手动模拟鼓点")), Qt::LeftButton);
        QCOMPARE(rig.live.jumpRequest(), liveout::JumpRequest::requested);
        rig.effectPreview.drumDisplayTick();
        QVERIFY(indicator->property("lit").toBool());
        for (int i = 0; i < 10; ++i)
            rig.effectPreview.drumDisplayTick();
        QVERIFY(!indicator->property("lit").toBool());
        QTest::mouseRelease(rig.button(QStringLiteral("Command手动模拟鼓点")), Qt::LeftButton);
        rig.live.liveTick();

        rig.in<QCheckBox>(QStringLiteral("Check禁止低音"))->click();
        QCOMPARE(int(rig.effect().bassDisabled), 1);
        QVERIFY(rig.in<QCheckBox>(QStringLiteral("Check禁止低音"))->styleSheet().contains(QStringLiteral("bold")));
        QTest::mousePress(rig.button(QStringLiteral("Command手动模拟鼓点")), Qt::LeftButton);
        rig.click(rig.bar(2));
        rig.click(rig.cell(1, 3));
        auto* autoDrum = rig.button(QStringLiteral("Command自动"));
        rig.click(autoDrum);
        QCOMPARE(autoDrum->text(), QStringLiteral("自动0.5秒"));
        for (int i = 0; i < 12; ++i)
            rig.live.liveTick();
        QCOMPARE(rig.live.jumpRequest(), liveout::JumpRequest::none);
        QCOMPARE(int(rig.effectPreview.flashCounter()), 0);
        rig.click(autoDrum);
        rig.click(autoDrum);
        QCOMPARE(autoDrum->text(), QStringLiteral("自动停止"));
    }

    void correspondenceBoxBlinksWhileInvalid()
    {
        Rig rig;
        rig.effect().bassBeatCorrespondence = 1; // beat counts 8 and 4 cannot correspond
        rig.page->open();
        auto* box = rig.in<QCheckBox>(QStringLiteral("Check低音和无低音拍子对应"));
        rig.effectPreview.correspondenceWarningTick();
        QVERIFY(box->styleSheet().contains(QStringLiteral("#ff00ff")));
        rig.effectPreview.correspondenceWarningTick();
        QVERIFY(box->styleSheet().contains(QStringLiteral("#ffff00")));
        rig.click(rig.bar(1));
        rig.effect().beatCount[kBassMode] = 8;
        rig.effectPreview.correspondenceWarningTick();
        QVERIFY(box->styleSheet().isEmpty());
    }

    void promptShownWhileTheEffectHasNoBars()
    {
        Rig rig;
        rig.effect().barCount = {0, 0};
        rig.effect().beatCount = {0, 0};
        rig.page->open();
        QWidget* prompt = rig.page->findChild<QWidget*>(QStringLiteral("Frame提示未设置小节数"));
        QVERIFY(prompt && prompt->isVisibleTo(rig.page.get()));
        rig.in<QComboBox>(element("Combo小节数", 0))->setCurrentIndex(1);
        emit rig.in<QComboBox>(element("Combo小节数", 0))->activated(1);
        QVERIFY(!prompt->isVisibleTo(rig.page.get()));
    }

    void materialButtonsAndBackNavigate()
    {
        Rig rig;
        rig.materialOn(1, 4, 30, 99);
        rig.page->open();
        QVERIFY(rig.button(element("Command素材", 4))->text().contains(QStringLiteral("Wash")));
        rig.click(rig.button(element("Command素材", 4)));
        QCOMPARE(int(rig.show->editing.currentSlot), 4);
        QCOMPARE(rig.opened.back(), PageId::Material);
        rig.click(rig.button(QStringLiteral("Command返回")));
        QCOMPARE(rig.opened.back(), PageId::Scene);
    }

    void titleBarSceneButtonLeadsBackHereAndNoEffectMeansNothingToEdit()
    {
        Rig rig;
        rig.page->open();
        rig.navigation.clickFunctionButton(Navigation::kSceneButton);
        QCOMPARE(rig.opened.back(), PageId::Effect);

        rig.show->editing.currentEffect = 0;
        rig.page->open();
        QVERIFY(!rig.cell(1, 1)->isEnabled());
        QVERIFY(!rig.bar(1)->isEnabled());
        QVERIFY(!rig.button(QStringLiteral("Command清空效果"))->isEnabled());
        QVERIFY(rig.button(QStringLiteral("Command返回"))->isEnabled());
    }

    void personalColoursReplaceTheStateColours()
    {
        Rig rig;
        // Windows colour values: 0x0000FF is red, 0x00FF00 green.
        rig.colours = ColourScheme::fromText("效果_拍子选择=0000FF\r\n效果_拍子非选择=00FF00\r\n");
        rig.effect().beatGrid.setCell(kNoBassMode, 1, 1, 1, 1, true);
        rig.page->open();
        QVERIFY(rig.cell(1, 1)->styleSheet().contains(QStringLiteral("#ff0000")));
        QVERIFY(rig.cell(1, 2)->styleSheet().contains(QStringLiteral("#00ff00")));
        QVERIFY(rig.bar(1)->styleSheet().contains(QStringLiteral("#0000ff"))); // unlisted keys are blue
    }

    void clickingABeatPutsItsMaterialOnTheSimulatorsUniverse()
    {
        Rig rig;
        rig.connect();
        rig.materialOn(1, 1, 40, 123);
        rig.effect().beatGrid.setCell(kNoBassMode, 1, 3, 1, 1, true);
        rig.page->open();
        rig.live.liveTick();
        rig.transport.poll();
        QCOMPARE(int(rig.controller.output().levels[40]), 0);

        rig.click(rig.button(element("Command拍演示", 3)));
        rig.live.liveTick();
        rig.transport.poll();
        QCOMPARE(int(rig.controller.output().levels[40]), 123);

        rig.click(rig.button(QStringLiteral("Command下一拍")));
        rig.live.liveTick();
        rig.transport.poll();
        QCOMPARE(int(rig.controller.output().levels[40]), 0);
    }
};

QTEST_MAIN(TestEffectPage)
#include "tst_effectpage.moc"
