#include "ui/scenes/ScenePage.h"

#include "core/effects/EffectFiles.h"
#include "core/link/ConnectionManager.h"
#include "core/materials/MaterialFiles.h"
#include "core/scenes/SceneEditing.h"
#include "core/scenes/SceneReport.h"
#include "core/show/Show.h"
#include "ui/scenes/NumberedButtonGrid.h"
#include "ui/scenes/RelayDimmerPanel.h"
#include "ui/scenes/SceneDetailsPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

// Classic scheme.
const QColor kCurrentScene(191, 16, 96);
const QColor kOtherScene(208, 208, 208);
const QColor kSceneEffectWithContent(191, 16, 96);
const QColor kSceneEffectEmpty(111, 16, 96);
const QColor kOtherEffectWithContent(208, 208, 208);
const QColor kOtherEffectEmpty(128, 128, 128);
constexpr int kButtonColumns = 10;

QString fromU16(const std::u16string& s)
{
    return QString::fromStdU16String(s);
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumHeight(28);
    return b;
}

} // namespace

ScenePage::ScenePage(PageContext& context, QWidget* parent) : Page(context, PageId::Scene, parent)
{
    setObjectName(QStringLiteral("H01__场景__Form"));
    show::Show& s = context.show;
    materialFiles = std::make_unique<materials::MaterialFiles>(s.materials, s.library, s.editing, context.dataRoot,
                                                               context.chooser, context.prompt);
    effectFiles = std::make_unique<effects::EffectFiles>(s.effects, s.materials, *materialFiles, s.library,
                                                         s.editing, context.chooser, context.prompt);
    edit = std::make_unique<scenes::ScenePageActions>(
        scenes::SceneEditingParts{s.scenes, s.currentScene, s.lightControl.thyristorDimming, s.editing,
                                  *materialFiles, *effectFiles, context.prompt, context.paths.work},
        static_cast<scenes::SceneView&>(*this));

    auto* sceneFrame = new QGroupBox(tr("场景"), this);
    sceneButtons = new NumberedButtonGrid(QStringLiteral("Command场景"), scenes::kSceneCount, kButtonColumns, sceneFrame);
    (new QVBoxLayout(sceneFrame))->addWidget(sceneButtons);
    auto* effectFrame = new QGroupBox(tr("Dmx512效果"), this);
    effectButtons = new NumberedButtonGrid(QStringLiteral("CommandDmx512效果"), effects::kEffectCount, kButtonColumns,
                                           effectFrame);
    (new QVBoxLayout(effectFrame))->addWidget(effectButtons);
    relayPanel = new RelayDimmerPanel(this);
    details = new SceneDetailsPanel(this);

    editingLock = new QCheckBox(tr("开启场景编辑"), this);
    editingLock->setObjectName(QStringLiteral("Check开启场景编辑"));
    copyButton = makeButton(this, QStringLiteral("Command复制场景设置"), tr("复制设置"));
    pasteButton = makeButton(this, QStringLiteral("Command粘贴场景设置"), tr("粘贴设置"));
    auto* importAll = makeButton(this, QStringLiteral("Command导入全部效果"), tr("导入全部效果"));
    auto* exportAll = makeButton(this, QStringLiteral("Command导出全部效果"), tr("全部效果另存"));
    auto* commands = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{editingLock, copyButton, pasteButton, importAll, exportAll})
        commands->addWidget(w);
    commands->addStretch(1);

    auto* side = new QVBoxLayout;
    side->addWidget(relayPanel);
    side->addWidget(details);
    side->addStretch(1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setSpacing(6);
    grid->addWidget(sceneFrame, 0, 0);
    grid->addWidget(effectFrame, 1, 0);
    grid->addLayout(commands, 2, 0);
    grid->addLayout(side, 0, 1, 3, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(1, 1);

    connect(editingLock, &QCheckBox::clicked, this, [this](bool on) { edit->setEditing(on); });
    connect(copyButton, &QPushButton::clicked, this, [this] { edit->copyScene(); });
    connect(pasteButton, &QPushButton::clicked, this, [this] { edit->pasteScene(); });
    connect(importAll, &QPushButton::clicked, this, [this] { edit->importAllEffects(); });
    connect(exportAll, &QPushButton::clicked, this, [this] { edit->exportAllEffects(); });
    connectPanels();

    scenes::installSceneReportReceiver(context.link, [this](const std::u16string& text) {
        details->showReport(fromU16(text));
    });
    showReplaced = context.show.replaced.subscribe([this] {
        if (isVisible())
            showScene();
    });
}

ScenePage::~ScenePage()
{
    context.link.setReceiver(link::Link::ReceiverSlot::SceneAssociation, {});
}

void ScenePage::connectPanels()
{
    connect(sceneButtons, &NumberedButtonGrid::clicked, this, [this](int i) { edit->selectScene(i); });
    connect(effectButtons, &NumberedButtonGrid::clicked, this, [this](int e) { edit->clickEffect(e); });
    connect(relayPanel, &RelayDimmerPanel::mainsToggled, this, [this](bool on) { edit->setMainsByDmx(on); });
    connect(relayPanel, &RelayDimmerPanel::relayClicked, this, [this](int r) { edit->toggleRelay(r); });
    connect(relayPanel, &RelayDimmerPanel::dimmerChosen, this, [this](int j, int v) { edit->setDimmer(j, v); });
    connect(relayPanel, &RelayDimmerPanel::relayNoteEdited, this,
            [this](int i, const QString& t) { edit->setRelayNote(i, t.toStdU16String()); });
    connect(relayPanel, &RelayDimmerPanel::dimmerNoteEdited, this,
            [this](int j, const QString& t) { edit->setDimmerNote(j, t.toStdU16String()); });
    connect(details, &SceneDetailsPanel::nameEdited, this, [this](const QString& t) { edit->setName(t.toStdU16String()); });
    connect(details, &SceneDetailsPanel::wallPanelSceneChosen, this, [this](int v) { edit->setWallPanelScene(v); });
    connect(details, &SceneDetailsPanel::vodSceneChosen, this, [this](int v) { edit->setVodScene(v); });
    connect(details, &SceneDetailsPanel::soundChosen, this, [this](int v) { edit->setEffectsUnitSound(v); });
    connect(details, &SceneDetailsPanel::audioSourceChosen, this, [this](int v) { edit->setAudioSource(v); });
    connect(details, &SceneDetailsPanel::defaultAssociationsClicked, this, [this] { edit->restoreDefaultAssociations(); });
    connect(details, &SceneDetailsPanel::reportBoxEntered, this, [this] { scenes::requestSceneReports(context.link); });
    connect(details, &SceneDetailsPanel::reportBoxLeft, this, [this] { scenes::stopSceneReports(context.link); });
}

void ScenePage::opened()
{
    relayPanel->showNotes(context.show.scenes);
    edit->open(context.connection.connectionInterface());
}

QStringList ScenePage::ownColouredControls() const
{
    QStringList names;
    for (int i = 1; i <= scenes::kSceneCount; ++i)
        names << QStringLiteral("Command场景(%1)").arg(i);
    for (int e = 1; e <= effects::kEffectCount; ++e)
        names << QStringLiteral("CommandDmx512效果(%1)").arg(e);
    for (int r = 1; r <= RelayDimmerPanel::kShownRelays; ++r)
        names << QStringLiteral("Command继电器通道(%1)").arg(r);
    return names;
}

void ScenePage::showScene()
{
    context.show.scenes.applyFixedSceneNames();
    showSceneButtons();
    const scenes::ScenePanels panels = edit->panels();
    details->showScene(edit->scene(), panels.associationsAndName);
    showRelaysAndDimming();
    showEffects();
}

void ScenePage::showSceneButtons()
{
    const scenes::SceneTable& table = context.show.scenes;
    for (int i = 1; i <= scenes::kSceneCount; ++i) {
        sceneButtons->setCaption(i, fromU16(scenes::sceneButtonCaption(table, i)));
        sceneButtons->setColour(i, i == edit->current() ? kCurrentScene : kOtherScene);
    }
}

void ScenePage::showEffects()
{
    const scenes::SceneTable& table = context.show.scenes;
    const int sceneEffect = edit->scene().effect;
    for (int e = 1; e <= effects::kEffectCount; ++e) {
        const effects::Effect& effect = context.show.effects.effect(e);
        effectButtons->setCaption(e, fromU16(scenes::effectButtonCaption(effect.note, table.effectIsUsed(e))));
        const bool content = effects::hasContent(effect);
        if (e == sceneEffect)
            effectButtons->setColour(e, content ? kSceneEffectWithContent : kSceneEffectEmpty);
        else
            effectButtons->setColour(e, content ? kOtherEffectWithContent : kOtherEffectEmpty);
    }
    showSceneButtons(); // brackets follow the scenes' effects
}

void ScenePage::showRelaysAndDimming()
{
    relayPanel->showScene(edit->scene(), edit->panels());
}

void ScenePage::showEditingLock(bool editing)
{
    editingLock->setChecked(editing);
    relayPanel->setEditing(editing);
    details->setEditing(editing);
    copyButton->setVisible(editing);
    pasteButton->setVisible(editing);
}

void ScenePage::openEffectEditor()
{
    context.navigation.open(PageId::Effect);
}

} // namespace rz::ui
