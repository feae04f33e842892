// The scene page driven through its object names: effect buttons with and without the editing
// lock, the special scenes, copy and paste, the all-effects import, and the current scene's
// relays and dimmers reaching the simulated controller.
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/effects/EffectFiles.h"
#include "core/link/Frame.h"
#include "core/link/Link.h"
#include "core/materials/MaterialFiles.h"
#include "core/show/Show.h"
#include "sim/Controller.h"
#include "support/ui/PageRig.h"
#include "ui/scenes/ScenePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <fstream>
#include <memory>
#include <vector>

using namespace rz;

namespace {

struct Rig : test::PageRig {
    Rig()
    {
        navigation.openPage = [this](PageId id) {
            opened.push_back(id);
            if (id == PageId::Scene)
                page->open();
        };
        page = makePage<ui::ScenePage>();
        page->open();
    }

    template <class W = QPushButton>
    W* w(const QString& name)
    {
        return find<W>(page.get(), name);
    }
    QPushButton* sceneButton(int i) { return w(QStringLiteral("Command场景(%1)").arg(i)); }
    QPushButton* effectButton(int e) { return w(QStringLiteral("CommandDmx512效果(%1)").arg(e)); }
    void setEditing(bool on)
    {
        auto* lock = w<QCheckBox>(QStringLiteral("Check开启场景编辑"));
        if (lock->isChecked() != on)
            lock->click();
    }
    scenes::Scene& scene(int i) { return show->scenes.scene(i); }
    void pick(const QString& name, int index)
    {
        auto* box = w<QComboBox>(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    // Payloads of the CE frames the controller received, in order.
    std::vector<std::vector<uint8_t>> ceFrames() const
    {
        std::vector<std::vector<uint8_t>> out;
        for (const auto& f : controller.lastFrames())
            if (f.command == 0xCE)
                out.push_back(f.payload);
        return out;
    }

    std::vector<PageId> opened;
    std::unique_ptr<ui::ScenePage> page;
};

} // namespace

class TestScenePage : public QObject {
    Q_OBJECT
private slots:
    void effectButtonWithEditingAssignsAndClearsTheScenesEffect()
    {
        Rig rig;
        rig.show->effects.effect(2).note = u"慢摇";
        rig.setEditing(true);
        rig.sceneButton(3)->click();
        rig.effectButton(2)->click();
        QCOMPARE(rig.scene(3).effect, 2);
        QCOMPARE(rig.effectButton(2)->text(), QStringLiteral("[慢摇]"));
        QCOMPARE(rig.sceneButton(3)->text(), QStringLiteral("[3]"));

        // Another scene keeps the brackets after this scene lets the effect go.
        rig.scene(9).effect = 2;
        rig.effectButton(2)->click();
        QCOMPARE(rig.scene(3).effect, 0);
        QCOMPARE(rig.effectButton(2)->text(), QStringLiteral("[慢摇]"));
        rig.scene(9).effect = 0;
        rig.effectButton(4)->click();
        rig.effectButton(4)->click();
        QCOMPARE(rig.effectButton(2)->text(), QStringLiteral("慢摇"));
        QCOMPARE(rig.sceneButton(3)->text(), QStringLiteral("3"));
        QVERIFY(rig.opened.empty());
    }

    void specialScenesHideAssociationsAndName()
    {
        Rig rig;
        QVERIFY(rig.w<QGroupBox>(QStringLiteral("Frame场景关联"))->isVisibleTo(rig.page.get()));
        rig.sceneButton(31)->click();
        QCOMPARE(rig.show->currentScene, 31);
        QVERIFY(!rig.w<QGroupBox>(QStringLiteral("Frame场景关联"))->isVisibleTo(rig.page.get()));
        QVERIFY(!rig.w<QGroupBox>(QStringLiteral("Frame场景备注"))->isVisibleTo(rig.page.get()));
        QCOMPARE(rig.sceneButton(31)->text(), QStringLiteral("31-全开"));
        rig.sceneButton(30)->click();
        QVERIFY(rig.w<QGroupBox>(QStringLiteral("Frame场景备注"))->isVisibleTo(rig.page.get()));
    }

    void pasteWithNothingCopiedChangesNothingThenCopiesSettings()
    {
        Rig rig;
        rig.setEditing(true);
        rig.sceneButton(1)->click();
        rig.w(QStringLiteral("Command继电器通道(2)"))->click();
        rig.effectButton(5)->click();
        rig.sceneButton(2)->click();
        rig.scene(2).name = u"柔和";
        rig.scene(2).wallPanelScene = 2;
        rig.w(QStringLiteral("Command粘贴场景设置"))->click();
        const scenes::Scene untouched{.name = u"柔和", .wallPanelScene = 2};
        QVERIFY(rig.scene(2) == untouched);

        rig.sceneButton(1)->click();
        rig.w(QStringLiteral("Command复制场景设置"))->click();
        rig.sceneButton(2)->click();
        rig.w(QStringLiteral("Command粘贴场景设置"))->click();
        QCOMPARE(rig.scene(2).effect, 5);
        QCOMPARE(rig.scene(2).relays[2], 1);
        QCOMPARE(rig.scene(2).name, std::u16string(u"柔和"));
        QCOMPARE(rig.sceneButton(2)->text(), QStringLiteral("[2-柔和]"));
        // Without the lock the buttons are hidden and the frames disabled.
        rig.setEditing(false);
        QVERIFY(!rig.w(QStringLiteral("Command粘贴场景设置"))->isVisibleTo(rig.page.get()));
        QVERIFY(!rig.w<QGroupBox>(QStringLiteral("Frame继电器开关"))->isEnabled());
    }

    void effectButtonWithoutEditingSwitchesTheCurrentEffectAndOpensIt()
    {
        Rig rig;
        rig.sceneButton(4)->click();
        rig.scene(4).effect = 7;
        rig.show->editing.currentEffect = 1;
        materials::Material& m = rig.show->materials.at(4, 7);
        m.name = u"ab";
        m.stepCount = 2;
        m.fixtureCount = 1;
        m.channelCount = 2;
        rig.effectButton(2)->click();
        QCOMPARE(rig.show->editing.currentEffect, 2);
        QCOMPARE(rig.scene(4).effect, 7);
        QCOMPARE(rig.opened, std::vector<PageId>{PageId::Effect});
        // Effect 1's materials were parked in its temporary file and come back with it.
        QCOMPARE(rig.show->materials.validCount(), 0);
        rig.effectButton(1)->click();
        QCOMPARE(rig.show->editing.currentEffect, 1);
        QCOMPARE(rig.show->materials.at(4, 7).name, std::u16string(u"ab"));
        QCOMPARE(rig.opened.size(), std::size_t(2));
    }

    void importAllEffectsAsksThenLeavesNoCurrentEffect()
    {
        Rig rig;
        // A file of all effects, written from another show.
        show::Show other;
        other.effects.effect(6).note = u"外来";
        materials::MaterialFiles otherMaterials(other.materials, other.library, other.editing, rig.dir.path() / "o",
                                                rig.chooser, rig.prompt);
        effects::EffectFiles otherFiles(other.effects, other.materials, otherMaterials, other.library, other.editing,
                                        rig.chooser, rig.prompt);
        const auto image = otherFiles.allEffectsImage();
        QVERIFY(image);
        const auto good = rig.dir.path() / "all.K_AXG";
        std::ofstream(good, std::ios::binary).write(reinterpret_cast<const char*>(image->data()),
                                                   static_cast<std::streamsize>(image->size()));
        const auto bad = rig.dir.path() / "bad.K_AXG";
        std::ofstream(bad, std::ios::binary) << "not effects";

        auto* importAll = rig.w(QStringLiteral("Command导入全部效果"));
        rig.show->editing.currentEffect = 3;
        rig.prompt.answers = {false};
        importAll->click();
        QCOMPARE(rig.prompt.questions.back(), std::u16string(u"是否覆盖现在的所有效果 ？"));
        QCOMPARE(rig.show->editing.currentEffect, 3);
        QVERIFY(rig.chooser.paths.empty());

        rig.chooser.paths = {bad};
        importAll->click();
        QCOMPARE(rig.prompt.messages.back(), std::u16string(u"文件错误！！！"));
        QCOMPARE(rig.show->editing.currentEffect, 3);
        QCOMPARE(rig.effectButton(6)->text(), QString());

        rig.chooser.paths = {good};
        importAll->click();
        QCOMPARE(rig.show->editing.currentEffect, 0);
        QCOMPARE(rig.effectButton(6)->text(), QStringLiteral("外来"));
    }

    void exportAllEffectsWritesWhatImportReadsBack()
    {
        Rig rig;
        rig.show->effects.effect(9).note = u"留住";
        const auto path = rig.dir.path() / "mine.K_AXG";
        rig.chooser.paths = {path};
        rig.w(QStringLiteral("Command导出全部效果"))->click();
        QVERIFY(std::filesystem::exists(path));
        rig.chooser.paths = {std::nullopt}; // cancelled
        rig.w(QStringLiteral("Command导出全部效果"))->click();
        QCOMPARE(rig.prompt.messages.back(), std::u16string(u"文件名错误！"));

        rig.show->effects.effect(9).note = u"改了";
        rig.chooser.paths = {path};
        rig.w(QStringLiteral("Command导入全部效果"))->click();
        QCOMPARE(rig.show->effects.effect(9).note, std::u16string(u"留住"));
        QCOMPARE(rig.effectButton(9)->text(), QStringLiteral("留住"));
    }

    void defaultAssociationsOnlyAfterYes()
    {
        Rig rig;
        rig.setEditing(true);
        auto* defaults = rig.w(QStringLiteral("Command_关联_默认参数"));
        rig.prompt.answers = {false};
        defaults->click();
        QCOMPARE(rig.scene(5).wallPanelScene, 0);
        defaults->click();
        QCOMPARE(rig.scene(5).wallPanelScene, 5);
        QCOMPARE(rig.scene(31).vodScene, 0);
        rig.sceneButton(5)->click();
        QCOMPARE(rig.w<QComboBox>(QStringLiteral("Combo关联VOD场景"))->currentIndex(), 5);
    }

    void currentScenesRelaysAndDimmersReachTheController()
    {
        Rig rig;
        rig.connect();
        rig.page->open(); // live mode of the scene page
        rig.show->lightControl.thyristorDimming = 1;
        rig.setEditing(true);
        rig.sceneButton(3)->click();
        rig.w(QStringLiteral("Command继电器通道(3)"))->click();
        rig.w(QStringLiteral("Command继电器通道(12)"))->click();
        rig.pick(QStringLiteral("Combo可控硅(2)"), 40);
        rig.live.liveTick();
        rig.transport.poll();
        const sim::LiveOutput& out = rig.controller.output();
        QCOMPARE(out.relays[3], 1);
        QCOMPARE(out.relays[12], 1);
        QCOMPARE(out.relays[1], 0);
        QVERIFY(out.dimmerBlock);
        QCOMPARE(out.dimmers[2], 40);

        // Another scene: its (empty) outputs follow within one tick.
        rig.sceneButton(4)->click();
        rig.live.liveTick();
        rig.transport.poll();
        QCOMPARE(rig.controller.output().relays[3], 0);
        QCOMPARE(rig.controller.output().dimmers[2], 0);
    }

    void reportBoxAsksForReportsWhileFocusedAndShowsThem()
    {
        Rig rig;
        rig.connect();
        auto* box = rig.w<QLineEdit>(QStringLiteral("Text接收场景对应"));
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(box, &in);
        rig.link.receive(link::buildFrame(0xCE, std::vector<uint8_t>{0x20, 0x00, 0x05, 0x0C}));
        QCOMPARE(box->text(), QStringLiteral("A-05  C-12"));
        rig.link.receive(link::buildFrame(0xCE, std::vector<uint8_t>{0x20, 0x02, 0x05, 0x01}));
        QCOMPARE(box->text(), QStringLiteral("C-01"));
        rig.link.receive(link::buildFrame(0xCE, std::vector<uint8_t>{0x21, 0x00, 0x05, 0x01}));
        QCOMPARE(box->text(), QStringLiteral("C-01")); // not a report
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(box, &out);
        std::vector<std::vector<uint8_t>> expected{{0x20, 0x88}, {0x20, 0x44}};
        QCOMPARE(rig.ceFrames(), expected);

        // A click empties the box and asks once.
        QFocusEvent byMouse(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(box, &byMouse);
        QTest::mousePress(box, Qt::LeftButton);
        QCOMPARE(box->text(), QString());
        expected.push_back({0x20, 0x88});
        QCOMPARE(rig.ceFrames(), expected);
    }

    void lastEditedSceneAndConnectionInterfaceAreStored()
    {
        Rig rig;
        rig.sceneButton(12)->click();
        QCOMPARE(QString::fromStdU16String(readKey(rig.paths.work, keys::kLastEditedScene)), QStringLiteral("12"));
        QCOMPARE(QString::fromStdU16String(readKey(rig.paths.work, keys::kConnectionInterface)), QStringLiteral("0"));

        // A new run starts on the stored scene; nonsense becomes scene 1.
        for (auto [stored, scene] : {std::pair{u"12", 12}, std::pair{u"51", 1}, std::pair{u"x", 1}}) {
            writeKey(rig.paths.work, keys::kLastEditedScene, stored);
            rig.show->currentScene = 1;
            ui::ScenePage again(rig.context);
            rig.window.pages()->preparePage(&again);
            again.open();
            QCOMPARE(rig.show->currentScene, scene);
        }
    }

    void mainsByDmxHidesTheRelaysAndDimming()
    {
        Rig rig;
        rig.show->lightControl.thyristorDimming = 0;
        rig.setEditing(true);
        auto* mains = rig.w<QCheckBox>(QStringLiteral("Check强电由Dmx512控制"));
        auto* relays = rig.w<QGroupBox>(QStringLiteral("Frame继电器开关"));
        auto* dimming = rig.w<QGroupBox>(QStringLiteral("Frame可控硅调光"));
        mains->click();
        QCOMPARE(rig.scene(1).mainsByDmx, 1);
        QVERIFY(!relays->isVisibleTo(rig.page.get()));
        QVERIFY(!dimming->isVisibleTo(rig.page.get()));
        mains->click();
        QVERIFY(relays->isVisibleTo(rig.page.get()));
        QVERIFY(!dimming->isVisibleTo(rig.page.get())); // left as it was without thyristor dimming
        rig.show->lightControl.thyristorDimming = 1;
        rig.sceneButton(2)->click();
        QVERIFY(dimming->isVisibleTo(rig.page.get()));
    }

    void storedValuesOutsideTheListsAreShown()
    {
        Rig rig;
        rig.scene(1).dimmers[1] = 100;
        rig.scene(1).audioSource = 7;
        rig.sceneButton(1)->click();
        auto* dimmer = rig.w<QComboBox>(QStringLiteral("Combo可控硅(1)"));
        QCOMPARE(dimmer->currentText(), QStringLiteral("100"));
        QCOMPARE(rig.w<QComboBox>(QStringLiteral("Combo音源选择"))->currentText(), QStringLiteral("7"));
        // Picking the shown value again keeps it.
        rig.setEditing(true);
        rig.pick(QStringLiteral("Combo可控硅(1)"), 100);
        QCOMPARE(rig.scene(1).dimmers[1], 100);
        rig.pick(QStringLiteral("Combo可控硅(1)"), 99);
        QCOMPARE(rig.scene(1).dimmers[1], 99);
        QCOMPARE(dimmer->count(), 100);
    }
};

QTEST_MAIN(TestScenePage)
#include "tst_scenepage.moc"
