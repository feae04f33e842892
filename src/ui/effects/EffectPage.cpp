#include "ui/effects/EffectPage.h"

#include "core/effects/EffectEditor.h"
#include "core/effects/EffectFiles.h"
#include "core/effects/EffectPreview.h"
#include "core/materials/MaterialEngine.h"
#include "core/materials/MaterialFiles.h"
#include "core/show/Show.h"
#include "ui/effects/BarSettingsPanel.h"
#include "ui/effects/BeatGridPanel.h"
#include "ui/effects/EffectBarStrip.h"
#include "ui/effects/EffectLook.h"
#include "ui/effects/EffectModulePanel.h"
#include "ui/effects/EffectSettingsPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace rz::ui {

EffectPage::EffectPage(PageContext& context, QWidget* parent) : Page(context, PageId::Effect, parent)
{
    setObjectName(QStringLiteral("D30__512_效果__Form"));
    show::Show& s = context.show;
    materialFiles = std::make_unique<materials::MaterialFiles>(s.materials, s.library, s.editing, context.dataRoot,
                                                               context.chooser, context.prompt);
    files = std::make_unique<effects::EffectFiles>(s.effects, s.materials, *materialFiles, s.library, s.editing,
                                                   context.chooser, context.prompt);
    edit = std::make_unique<effects::EffectEditor>(s.effects, s.editing, s.barPosition, context.effectPreview,
                                                   *files, context.prompt);

    barStrip = new EffectBarStrip(this);
    modulePanel = new EffectModulePanel(this);
    grid = new BeatGridPanel(this);
    barSettings = new BarSettingsPanel(this);
    settings = new EffectSettingsPanel(this);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(barStrip, 0, 0, 1, 2);
    layout->addWidget(modulePanel, 1, 0, 1, 2);
    layout->addWidget(grid, 2, 0);
    // The drum controls sit under the grid: the side column has no height left at 720 lines.
    layout->addWidget(settings->drumFrame(), 3, 0);
    auto* side = new QVBoxLayout;
    side->addWidget(barSettings);
    side->addWidget(settings, 1);
    layout->addLayout(side, 2, 1, 2, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 1);

    connectGrid();
    connectSettings();

    effects::EffectEditor& e = *edit;
    allChanged = e.allChanged.subscribe([this] { refreshAll(); });
    beatChanged = e.beatChanged.subscribe([this] { grid->refreshBeats(*edit); });
    cellsChanged = e.cellsChanged.subscribe([this] { grid->refreshCells(*edit); });
    flagsChanged = e.flagsChanged.subscribe([this] { grid->refreshFlags(*edit); });
    drumIndicator = context.effectPreview.drumIndicatorChanged.subscribe(
        [this](bool lit) { settings->showDrumIndicator(lit); });
    warningDue = context.effectPreview.correspondenceWarningDue.subscribe([this] { correspondenceWarning(); });
    showReplaced = s.replaced.subscribe([this] {
        if (this->context.navigation.shownPage() == PageId::Effect)
            edit->open();
    });
}

EffectPage::~EffectPage() = default;

void EffectPage::connectGrid()
{
    effects::EffectEditor* e = edit.get();
    connect(barStrip, &EffectBarStrip::barClicked, this, [e](int i) { e->selectBar(i); });
    connect(barStrip, &EffectBarStrip::barCountChosen, this, [e](int k, int n) { e->setBarCount(k, n); });
    connect(barStrip, &EffectBarStrip::beatCountChosen, this, [e](int k, int n) { e->setBeatCount(k, n); });
    connect(barStrip, &EffectBarStrip::independentBassToggled, this, [e](bool on) { e->setIndependentBass(on); });
    connect(modulePanel, &EffectModulePanel::moduleClicked, this, [e](int m) { e->selectModule(m); });
    connect(modulePanel, &EffectModulePanel::materialClicked, this, [this](int s) { openMaterial(s); });
    connect(modulePanel, &EffectModulePanel::moduleNoteEdited, this, [this, e](const QString& note) {
        e->effect().modules[e->currentModule()].note = note.toStdU16String();
        modulePanel->refreshModules(*e, this->context.show.materials);
    });
    connect(grid, &BeatGridPanel::cellClicked, this, [e](int s, int t) { e->toggleCell(s, t); });
    connect(grid, &BeatGridPanel::flagClicked, this, [e](effects::SlotFlag f, int s) { e->toggleSlotFlag(f, s); });
    connect(grid, &BeatGridPanel::beatClicked, this, [e](int t) { e->selectBeat(t); });
    connect(grid, &BeatGridPanel::nextBeatClicked, this, [e] { e->nextBeat(); });
    connect(grid, &BeatGridPanel::linkToggled, this, [e](bool on) { e->setFourMaterialLink(on); });
    connect(grid, &BeatGridPanel::linkRepeatChosen, this,
            [e](int n) { e->effect().modules[e->currentModule()].linkRepeatCount = static_cast<uint8_t>(n); });
    connect(grid, &BeatGridPanel::linkedGroupClicked, this, [this](int s) { openMaterial(s); });

    connect(barSettings, &BarSettingsPanel::bassHoldToggled, this, [e](bool on) { e->currentBar().bassHold = on; });
    connect(barSettings, &BarSettingsPanel::repeatChosen, this,
            [e](int n) { e->currentBar().repeatCount = static_cast<uint8_t>(n); });
    connect(barSettings, &BarSettingsPanel::dwellTyped, this, [this, e](const QString& text) {
        barSettings->showDwellRefused(!e->setBeatDwellText(text.toStdU16String()));
        barSettings->showDwellSeconds(QString::fromStdU16String(e->beatDwellSeconds()));
    });
    connect(barSettings, &BarSettingsPanel::copyClicked, this, [e] { e->copyBar(); });
    connect(barSettings, &BarSettingsPanel::pasteClicked, this, [e] { e->pasteBar(); });
    connect(barSettings, &BarSettingsPanel::clearClicked, this, [e] { e->clearBar(); });
}

void EffectPage::connectSettings()
{
    effects::EffectEditor* e = edit.get();
    EffectSettingsPanel* p = settings;
    effects::EffectPreview& preview = context.effectPreview;
    connect(p->effectNote, &QLineEdit::textEdited, this,
            [e](const QString& note) { e->effect().note = note.toStdU16String(); });
    connect(p->correspondence, &QCheckBox::toggled, this, [e](bool on) { e->effect().bassBeatCorrespondence = on; });
    connect(p->bassSwitchJumpsBar, &QCheckBox::toggled, this, [e](bool on) { e->effect().bassSwitchJumpsBar = on; });
    connect(p->bassDisabled, &QCheckBox::toggled, this, [e, p](bool on) {
        e->effect().bassDisabled = on;
        p->showBassDisabledLook(on);
    });
    connect(p->bassHoldTime, &QComboBox::activated, this, [e, p](int i) {
        e->effect().bassHoldTime = static_cast<uint8_t>(p->bassHoldTime->itemData(i).toInt());
    });
    connect(p->rgbThreshold, &QComboBox::activated, this,
            [e](int i) { e->effect().rgbThreshold = static_cast<uint16_t>(i); });
    connect(p->xyThreshold, &QComboBox::activated, this,
            [e](int i) { e->effect().xyThreshold = static_cast<uint16_t>(i); });
    connect(p->clearEffect, &QPushButton::clicked, this, [this, e] { runFileCommand([e] { e->clearEffect(); }); });
    connect(p->importEffect, &QPushButton::clicked, this, [this, e] { runFileCommand([e] { e->importEffect(); }); });
    connect(p->exportEffect, &QPushButton::clicked, this, [this, e] { runFileCommand([e] { e->exportEffect(); }); });
    connect(p->importModule, &QPushButton::clicked, this, [this, e] { runFileCommand([e] { e->importModule(); }); });
    connect(p->exportModule, &QPushButton::clicked, this, [this, e] { runFileCommand([e] { e->exportModule(); }); });
    connect(p->autoDrum, &QPushButton::clicked, this, [&preview, p] {
        preview.cycleAutoDrum();
        p->showAutoDrum(preview);
    });
    // A drum hit on mouse-down, as a drummer expects.
    connect(p->manualDrum, &QPushButton::pressed, this, [&preview] { preview.sendDrumHit(); });
    connect(p->back, &QPushButton::clicked, this, [this] { this->context.navigation.open(PageId::Scene); });
}

template <class F>
void EffectPage::runFileCommand(F command)
{
    if (fileCommandRunning)
        return;
    fileCommandRunning = true;
    command();
    fileCommandRunning = false;
    refreshAll();
}

void EffectPage::opened()
{
    context.materialEngine.resetPlayback();
    context.navigation.setScenePageMode(ScenePageMode::Effect);
    settings->showAutoDrum(context.effectPreview);
    settings->showDrumIndicator(context.effectPreview.drumIndicatorLit());
    edit->open();
}

QStringList EffectPage::ownColouredControls() const
{
    QStringList names;
    for (QObject* o : findChildren<QPushButton*>()) {
        const QString n = o->objectName();
        if (n.startsWith(QStringLiteral("Command小节(")) || n.startsWith(QStringLiteral("Command功能模块")) ||
            n.startsWith(QStringLiteral("Command素材")) || n.startsWith(QStringLiteral("Command拍演示")) ||
            n == QStringLiteral("Command自动"))
            names << n;
    }
    names << QStringLiteral("Check禁止低音") << QStringLiteral("Check低音和无低音拍子对应")
          << QStringLiteral("Frame模拟鼓点") << QStringLiteral("Combo小节停留时间");
    return names;
}

void EffectPage::applyColourScheme(const ColourScheme& scheme)
{
    Page::applyColourScheme(scheme);
    const auto colours = effectlook::EffectColours::of(scheme);
    barStrip->setColours(colours);
    modulePanel->setColours(colours);
    grid->setColours(colours);
}

void EffectPage::refreshAll()
{
    // With no effect current (after a show was read in) there is nothing to edit: only the
    // way back stays usable, so no edit lands in the unused effect 0.
    const uint8_t e = context.show.editing.currentEffect;
    const bool editable = e >= 1 && e <= effects::kEffectCount;
    for (QWidget* w : std::initializer_list<QWidget*>{barStrip, modulePanel, grid, barSettings, settings->drumFrame()})
        w->setEnabled(editable);
    for (QWidget* w : settings->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != settings->back)
            w->setEnabled(editable);
    settings->refresh(*edit);
    barStrip->refresh(*edit);
    modulePanel->refreshModules(*edit, context.show.materials);
    refreshMaterials();
    grid->refreshAll(*edit);
    barSettings->refresh(*edit);
}

void EffectPage::refreshMaterials()
{
    modulePanel->refreshMaterials(*edit, context.show.materials, context.show.editing.currentSlot);
}

void EffectPage::openMaterial(int slot)
{
    context.show.editing.currentSlot = static_cast<uint8_t>(slot);
    refreshMaterials();
    context.navigation.open(PageId::Material);
}

void EffectPage::correspondenceWarning()
{
    if (context.navigation.shownPage() != PageId::Effect)
        return;
    switch (edit->correspondenceWarningStep()) {
    case effects::WarningLook::magenta: settings->showCorrespondenceColour(effectlook::kWarningMagenta); break;
    case effects::WarningLook::yellow: settings->showCorrespondenceColour(effectlook::kWarningYellow); break;
    case effects::WarningLook::normal: settings->showCorrespondenceColour(QColor()); break;
    }
}

} // namespace rz::ui
