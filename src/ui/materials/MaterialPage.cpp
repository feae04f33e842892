#include "ui/materials/MaterialPage.h"

#include "core/fixtures/FixtureFiles.h"
#include "core/liveout/LiveSender.h"
#include "core/materials/MaterialEngine.h"
#include "core/show/Show.h"
#include "ui/fixtures/ChannelDefinitionPanel.h"
#include "ui/fixtures/ControlNames.h"
#include "ui/fixtures/FaderBank.h"
#include "ui/materials/BuiltInChooserPanel.h"
#include "ui/materials/ChaseToolWindow.h"
#include "ui/materials/MaterialDemoFrame.h"
#include "ui/materials/MaterialPatchPanel.h"
#include "ui/materials/MaterialStepBar.h"
#include "ui/materials/MaterialTimePanel.h"
#include "ui/materials/MotionPanel.h"
#include "ui/materials/TempChannelPanel.h"
#include "ui/materials/VirtualFixtureStrip.h"
#include "ui/widgets/WheelRouter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace rz::ui {

namespace {

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    b->setMinimumHeight(28);
    return b;
}

QString definitionCaption(const fixtures::ChannelDefinitions& names, int code)
{
    const QString name = QString::fromStdU16String(names.name(code));
    return name.isEmpty() ? QStringLiteral("T=%1").arg(code) : name;
}

} // namespace

MaterialPage::MaterialPage(PageContext& context, QWidget* parent)
    : Page(context, PageId::Material, parent),
      editor(context.show.materials, context.show.editing, context.prompt),
      files(context.show.materials, context.show.library, context.show.editing, context.dataRoot, context.chooser,
            context.prompt),
      stepClipboard(context.dataRoot),
      builtIns(context.dataRoot)
{
    setObjectName(QStringLiteral("D40__512_素材__Form"));
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("MaterialPageScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(scroll);
    scroll->setWidget(content);
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(scroll);

    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(8, 4, 8, 4);
    column->setSpacing(4);
    buildHeader(content, column);

    commands = new MaterialCommandBar(content);
    column->addWidget(commands);
    stepBar = new MaterialStepBar(content);
    column->addWidget(stepBar);
    auto* timeRow = new QHBoxLayout;
    timePanel = new MaterialTimePanel(content);
    timeRow->addWidget(timePanel, 1);
    column->addLayout(timeRow);
    fixtureStrip = new VirtualFixtureStrip(content);
    column->addWidget(fixtureStrip);
    buildChannelCommands(content, column);

    // The pop-up panels take the faders' place while they are shown.
    auto* area = new QWidget(content);
    auto* areaGrid = new QGridLayout(area);
    areaGrid->setContentsMargins(0, 0, 0, 0);
    faders = new FaderBank(area);
    faders->setMinimumHeight(240);
    areaGrid->addWidget(faders, 0, 0);
    definitionPanel = new ChannelDefinitionPanel(context.show.channelDefinitions,
                                                 fixtures::customChannelNameFilePath(context.dataRoot), area);
    areaGrid->addWidget(definitionPanel, 0, 0);
    definitionPanel->hide();
    patchPanel = new MaterialPatchPanel(area);
    areaGrid->addWidget(patchPanel, 0, 0);
    patchPanel->hide();
    tempPanel = new TempChannelPanel(context.show.channelDefinitions, area);
    areaGrid->addWidget(tempPanel, 0, 0);
    tempPanel->hide();
    auto* tempColumn = new QVBoxLayout;
    auto* tempOpen = makeButton(content, QStringLiteral("Command临时通道设置"), tr("临时通道"));
    connect(tempOpen, &QPushButton::clicked, this, [this] {
        if (tempPanel->isVisible())
            tempPanel->hide();
        else
            showOnly(tempPanel);
    });
    QListWidget* tempList = tempPanel->makeList(content);
    tempList->setMaximumHeight(64);
    tempList->setMaximumWidth(200);
    motionButton = makeButton(content, QStringLiteral("Command显示动作参数"), tr("显示参数"));
    connect(motionButton, &QPushButton::clicked, this, [this] {
        if (motionPanel->isVisible())
            motionPanelClosing();
        else
            showMotionPanel();
    });
    timeRow->addWidget(motionButton, 0, Qt::AlignBottom);
    tempColumn->addWidget(tempOpen);
    tempColumn->addWidget(tempList);
    timeRow->addLayout(tempColumn);
    motionPanel = new MotionPanel(area);
    areaGrid->addWidget(motionPanel, 0, 0, Qt::AlignTop);
    motionPanel->hide();
    builtInPanel = new BuiltInChooserPanel(area);
    areaGrid->addWidget(builtInPanel, 0, 0);
    builtInPanel->hide();
    demo = new MaterialDemoFrame(area);
    areaGrid->addWidget(demo, 0, 0);
    demo->hide();
    column->addWidget(area, 1);

    chase = new ChaseToolWindow(this);
    chase->hide();
    demoTimer = new QTimer(this);
    demoTimer->setInterval(100);
    connect(demoTimer, &QTimer::timeout, this, &MaterialPage::showDemo);
    context.live.hideChaseWindow = [this] { chase->hide(); };

    connectWidgets();
    if (context.wheel)
        context.wheel->setStepHandler(WheelPage::material, [this](bool up, int c) { wheelStep(up, c); });
}

MaterialPage::~MaterialPage()
{
    context.live.hideChaseWindow = {};
    if (context.wheel)
        context.wheel->setStepHandler(WheelPage::material, {});
}

void MaterialPage::buildHeader(QWidget* parent, QVBoxLayout* column)
{
    auto* row = new QHBoxLayout;
    effectLabel = new QLabel(parent);
    effectLabel->setObjectName(QStringLiteral("Label效果"));
    moduleLabel = new QLabel(parent);
    moduleLabel->setObjectName(QStringLiteral("Label模块"));
    nameBox = new QLineEdit(parent);
    nameBox->setObjectName(QStringLiteral("Text素材备注"));
    nameBox->setAccessibleName(tr("素材备注"));
    nameBox->setMaximumWidth(220);
    // Without a chosen effect the store is not parked anywhere: edits would be lost when an
    // effect is chosen, so the page says so.
    noEffectLabel = new QLabel(tr("未选择效果，修改不会保存"), parent);
    noEffectLabel->setObjectName(QStringLiteral("Label未选择效果"));
    noEffectLabel->setStyleSheet(QStringLiteral("color:#c00000;font-weight:bold;"));
    auto* fixtureSettings = makeButton(parent, QStringLiteral("Command灯具设置"), tr("灯具设置"));
    auto* back = makeButton(parent, QStringLiteral("Command返回"), tr("返回"));
    row->addWidget(effectLabel);
    row->addWidget(moduleLabel);
    row->addWidget(new QLabel(tr("素材备注"), parent));
    row->addWidget(nameBox);
    row->addWidget(noEffectLabel);
    row->addStretch(1);
    row->addWidget(fixtureSettings);
    row->addWidget(back);
    column->addLayout(row);

    connect(nameBox, &QLineEdit::textEdited, this,
            [this](const QString& text) { editor.material().name = text.toStdU16String(); });
    connect(fixtureSettings, &QPushButton::clicked, this, &MaterialPage::togglePatchPanel);
    connect(back, &QPushButton::clicked, this, [this] { this->context.navigation.open(PageId::Effect); });
}

void MaterialPage::buildChannelCommands(QWidget* parent, QVBoxLayout* column)
{
    auto* row = new QHBoxLayout;
    const QString ranges[] = {tr("1-20"), tr("21-32")};
    for (int k = 0; k < 2; ++k) {
        rangeButtons[k] = makeButton(parent, arrayElementName(QStringLiteral("Command通道显示"), k + 1), ranges[k]);
        connect(rangeButtons[k], &QPushButton::clicked, this, [this, k] { faders->showRange(k); });
        row->addWidget(rangeButtons[k]);
    }
    row->addSpacing(12);
    const int levels[] = {255, 128, 0};
    for (int k = 0; k < 3; ++k) {
        auto* b = makeButton(parent, arrayElementName(QStringLiteral("Command通道变N"), k + 1),
                             QString::number(levels[k]));
        connect(b, &QPushButton::clicked, this, [this, v = levels[k]] {
            editor.setAllChannels(static_cast<uint8_t>(v));
            levelsEdited();
        });
        row->addWidget(b);
    }
    row->addSpacing(12);
    auto* copy = makeButton(parent, QStringLiteral("Command复制通道"), tr("复制通道"));
    auto* paste = makeButton(parent, QStringLiteral("Command粘贴通道"), tr("粘贴通道"));
    connect(copy, &QPushButton::clicked, this, [this] { editor.copyChannels(); });
    connect(paste, &QPushButton::clicked, this, [this] {
        editor.pasteChannels();
        levelsEdited();
    });
    row->addWidget(copy);
    row->addWidget(paste);
    row->addStretch(1);
    column->addLayout(row);
}

void MaterialPage::connectWidgets()
{
    connect(stepBar, &MaterialStepBar::previousClicked, this, [this] {
        editor.previousStep();
        redraw();
    });
    connect(stepBar, &MaterialStepBar::nextClicked, this, [this] {
        editor.nextStep();
        redraw();
    });
    connect(stepBar, &MaterialStepBar::stepChosen, this, [this](int step) {
        editor.chooseStep(step);
        redraw();
    });
    connect(stepBar, &MaterialStepBar::addClicked, this, [this] {
        // The new step lasts what the single-step box holds; a box that holds no valid
        // time gives the new step the material's uniform time.
        const auto time = timePanel->typedStepTime();
        editor.addStep(false, time ? *time : editor.material().uniformTime);
        redraw();
    });
    connect(stepBar, &MaterialStepBar::copyAddClicked, this, [this] {
        editor.addStep(true, 0);
        redraw();
    });
    connect(stepBar, &MaterialStepBar::deleteClicked, this, [this] {
        editor.deleteStep();
        redraw();
    });

    connect(stepBar, &MaterialStepBar::copyStepsClicked, this, [this](int count) {
        if (materials::StepClipboard::checkStepCopy(editor.material(), count, this->context.prompt))
            stepClipboard.copySteps(editor.material(), editor.currentStep(), count, this->context.prompt);
    });
    connect(stepBar, &MaterialStepBar::pasteStepsClicked, this, [this](int count) {
        if (!materials::StepClipboard::checkStepCopy(editor.material(), count, this->context.prompt))
            return;
        stepClipboard.pasteSteps(editor.material(), editor.currentStep(), this->context.prompt);
        redraw();
    });
    connect(stepBar, &MaterialStepBar::pasteAtEndClicked, this, [this](int count) {
        if (!materials::StepClipboard::checkStepCopy(editor.material(), count, this->context.prompt))
            return;
        const auto time = timePanel->typedStepTime();
        stepClipboard.pasteAtEnd(editor.material(), this->context.show.editing.currentStep,
                                 time ? *time : editor.material().uniformTime, this->context.prompt);
        redraw();
    });

    connect(fixtureStrip, &VirtualFixtureStrip::fixtureClicked, this, [this](int i) {
        editor.focusOn(i);
        redraw();
        if (motionPanel->isVisible()) {
            editor.prepareMotionPanel();
            motionPanel->showFixture(editor.material(), editor.focus());
        }
    });
    connect(fixtureStrip, &VirtualFixtureStrip::fixtureRightClicked, this, [this](int i) {
        editor.toggleLink(i);
        showFixtures();
    });
    connect(fixtureStrip, &VirtualFixtureStrip::allClicked, this, [this] {
        editor.linkAll();
        redraw();
    });
    connect(fixtureStrip, &VirtualFixtureStrip::oddClicked, this, [this] {
        editor.linkOdd();
        redraw();
    });
    connect(fixtureStrip, &VirtualFixtureStrip::evenClicked, this, [this] {
        editor.linkEven();
        redraw();
    });
    connect(fixtureStrip, &VirtualFixtureStrip::allChannelsLinkToggled, this,
            [this](bool on) { editor.allChannelsLinked = on; });

    connect(faders, &FaderBank::faderMoved, this, [this](int c, int v) {
        editor.setLevel(c, static_cast<uint8_t>(v));
        levelsEdited();
    });
    connect(faders, &FaderBank::valueTyped, this, [this](int c, const QString& text) {
        if (editor.typeLevel(c, text.toStdU16String()))
            levelsEdited();
    });
    connect(faders, &FaderBank::faderEntered, this, &MaterialPage::pointWheelAt);
    connect(faders, &FaderBank::definitionFieldClicked, this, &MaterialPage::toggleDefinitionPanel);
    connect(definitionPanel, &ChannelDefinitionPanel::codeChosen, this, &MaterialPage::chooseCode);
    connect(definitionPanel, &ChannelDefinitionPanel::codeRenamed, this, [this] { showFaders(); });
    connect(definitionPanel, &ChannelDefinitionPanel::closed, this, [this] {
        definingChannel = 0;
        faders->markDefiningChannel(0);
    });

    connect(patchPanel, &MaterialPatchPanel::fixtureCountTyped, this, [this](const QString& text) {
        const bool ok = editor.typeFixtureCount(text.toStdU16String());
        patchPanel->markFixtureCount(ok);
        if (ok)
            redraw();
    });
    connect(patchPanel, &MaterialPatchPanel::channelCountTyped, this, [this](const QString& text) {
        const bool ok = editor.typeChannelCount(text.toStdU16String());
        patchPanel->markChannelCount(ok);
        if (ok)
            redraw();
    });
    connect(patchPanel, &MaterialPatchPanel::patchFixtureChosen, this, [this](int i) {
        editor.choosePatchFixture(i);
        showPatchPanel();
    });
    connect(patchPanel, &MaterialPatchPanel::libraryFixtureClicked, this, [this](int r) {
        editor.togglePatch(r, this->context.show.library);
        showPatchPanel();
    });
    connect(patchPanel, &MaterialPatchPanel::clearClicked, this, [this] {
        editor.clearPatch();
        showPatchPanel();
    });
    connect(patchPanel, &MaterialPatchPanel::groupClicked, this, [this](int g) {
        editor.patchGroup(g, this->context.show.fixtureGroups, this->context.show.library);
        showPatchPanel();
    });
    connect(patchPanel, &MaterialPatchPanel::closed, patchPanel, &QWidget::hide);

    timePanel->connectTo(editor, [this] { redraw(); });
    connect(tempPanel, &TempChannelPanel::codeClicked, this, [this](int code) {
        editor.toggleTempChannel(static_cast<uint8_t>(code));
        tempPanel->showMaterial(editor.material());
    });
    connect(motionPanel, &MotionPanel::parameterTyped, this, [this](int k, const QString& text) {
        const bool ok = editor.typeMotionParameter(k, text.toStdU16String());
        motionPanel->markParameter(k, ok);
    });
    connect(motionPanel, &MotionPanel::speedTyped, this, [this](const QString& text) {
        motionPanel->markSpeed(editor.typeMotionSpeed(text.toStdU16String()));
    });
    connect(motionPanel, &MotionPanel::generateClicked, this, &MaterialPage::generateMotion);
    connect(motionPanel, &MotionPanel::hideClicked, this, &MaterialPage::motionPanelClosing);
    connect(timePanel, &MaterialTimePanel::motionTypeChosen, this, [this](int type) {
        if (type == materials::kMotionNone)
            motionPanel->hide();
        redraw();
    });
    connect(builtInPanel, &BuiltInChooserPanel::categoryClicked, this, [this](int c) {
        builtIns.listBuiltIns(builtInPanel->kind().toStdU16String(), c);
        builtInPanel->showList(builtInPanel->kind(), builtIns);
    });
    connect(builtInPanel, &BuiltInChooserPanel::entryRightClicked, this, [this](int i) {
        builtInPanel->showDescription(QString::fromStdU16String(builtIns.builtInDescription(i)));
    });
    connect(builtInPanel, &BuiltInChooserPanel::entryClicked, this, [this](int i) {
        const auto& editing = this->context.show.editing;
        if (builtIns.importBuiltIn(i, editing.currentModule, editing.currentSlot, files, this->context.prompt)) {
            builtInPanel->hide();
            opened();
        }
    });
    connect(commands, &MaterialCommandBar::commandClicked, this, &MaterialPage::runCommand);
    connect(chase, &ChaseToolWindow::generateClicked, this, &MaterialPage::generateChase);
    connect(demo, &MaterialDemoFrame::backClicked, this, &MaterialPage::stopDemo);
}

void MaterialPage::opened()
{
    if (!openedOnce) {
        openedOnce = true;
        definitionPanel->applyChannelNames();
        tempPanel->applyChannelNames();
    }
    context.navigation.setScenePageMode(ScenePageMode::Material);
    editor.open();
    definitionPanel->hide();
    definitionPanel->resetRenaming();
    patchPanel->hide();
    tempPanel->hide();
    builtInPanel->hide();
    motionPanel->hide();
    demo->hide();
    demoTimer->stop();
    definingChannel = 0;
    faders->markDefiningChannel(0);
    fixtureStrip->setAllChannelsLinked(editor.allChannelsLinked);
    redraw();
}

void MaterialPage::redraw()
{
    showHeader();
    showSteps();
    showFaders();
    showFixtures();
    timePanel->showMaterial(editor.material(), editor.currentStep());
    tempPanel->showMaterial(editor.material());
    const bool motion = editor.material().motionType != materials::kMotionNone;
    motionButton->setText(motion ? tr("画圆") : tr("显示参数"));
    motionButton->setEnabled(motion);
    if (patchPanel->isVisible())
        showPatchPanel();
}

void MaterialPage::showHeader()
{
    const auto& editing = context.show.editing;
    const int e = editing.currentEffect;
    const QString effectNote =
        e >= 1 ? QString::fromStdU16String(context.show.effects.effect(e).note) : QString();
    effectLabel->setText(tr("效果:") + effectNote);
    const QString moduleNote =
        e >= 1 ? QString::fromStdU16String(context.show.effects.effect(e).modules[editing.currentModule].note)
               : QString();
    moduleLabel->setText(tr("模块:") + moduleNote);
    noEffectLabel->setVisible(e == 0);
    if (!nameBox->hasFocus())
        nameBox->setText(QString::fromStdU16String(editor.material().name));
}

void MaterialPage::showSteps()
{
    stepBar->showSteps(editor.material().stepCount, editor.currentStep());
}

void MaterialPage::showFaders()
{
    const materials::Material& m = editor.material();
    const materials::MaterialStep& step = m.step(editor.currentStep());
    const int focus = editor.focus();
    for (int c = 1; c <= FaderBank::kChannels; ++c) {
        FaderBank::ChannelView view;
        view.inUse = c <= m.channelCount;
        view.level = step.level(focus, c);
        view.definition = definitionCaption(context.show.channelDefinitions, m.channelCodes[static_cast<std::size_t>(c)]);
        faders->showChannel(c, view);
    }
    const bool twoRanges = m.channelCount >= 21;
    for (QPushButton* b : rangeButtons)
        b->setVisible(twoRanges);
    if (!twoRanges && faders->shownRange() != 0)
        faders->showRange(0);
}

void MaterialPage::showFixtures()
{
    fixtureStrip->showFixtures(editor.material().fixtureCount, editor.focus(), editor.links());
}

void MaterialPage::showPatchPanel()
{
    patchPanel->showMaterial(editor.material(), editor.patchFixture(), context.show.library,
                             context.show.fixtureGroups);
}

void MaterialPage::levelsEdited()
{
    showFaders();
    showSteps();
}

void MaterialPage::toggleDefinitionPanel(int channel)
{
    if (!definitionPanel->isHidden() && definingChannel == channel) {
        definitionPanel->hide();
        definingChannel = 0;
        faders->markDefiningChannel(0);
        return;
    }
    definingChannel = channel;
    faders->markDefiningChannel(channel);
    definitionPanel->highlightCode(editor.material().channelCodes[static_cast<std::size_t>(channel)]);
    showOnly(definitionPanel);
}

void MaterialPage::chooseCode(int code)
{
    if (definingChannel >= 1 && definingChannel <= materials::kMaxChannels && code >= 0 && code <= 255)
        editor.material().channelCodes[static_cast<std::size_t>(definingChannel)] = static_cast<uint8_t>(code);
    definitionPanel->hide();
    definingChannel = 0;
    faders->markDefiningChannel(0);
    showFaders();
}

void MaterialPage::togglePatchPanel()
{
    if (patchPanel->isVisible()) {
        patchPanel->hide();
        return;
    }
    showPatchPanel();
    showOnly(patchPanel);
}

void MaterialPage::showOnly(QWidget* panel)
{
    for (QWidget* p : {static_cast<QWidget*>(definitionPanel), static_cast<QWidget*>(patchPanel),
                       static_cast<QWidget*>(tempPanel), static_cast<QWidget*>(builtInPanel),
                       static_cast<QWidget*>(motionPanel)})
        if (p != panel)
            p->hide();
    panel->show();
    panel->raise();
}

void MaterialPage::pointWheelAt(int channel)
{
    if (context.wheel)
        context.wheel->setWheelFocus(kMaterialWheelFocusBase + channel);
}

void MaterialPage::wheelStep(bool up, int channel)
{
    const materials::Material& m = editor.material();
    if (channel < 1 || channel > m.channelCount)
        return;
    const int level = m.step(editor.currentStep()).level(editor.focus(), channel);
    const int next = std::clamp(level + (up ? 1 : -1), 0, 255);
    if (next == level)
        return;
    editor.setLevel(channel, static_cast<uint8_t>(next));
    levelsEdited();
}

void MaterialPage::runCommand(MaterialCommandBar::Command command)
{
    using C = MaterialCommandBar::Command;
    const auto& editing = context.show.editing;
    const int m = editing.currentModule;
    const int s = editing.currentSlot;
    switch (command) {
    case C::saveAs:
        files.exportMaterial(m, s, false);
        break;
    case C::import:
        if (files.importMaterial(m, s, {}))
            opened();
        break;
    case C::copy:
        files.exportMaterial(m, s, true);
        break;
    case C::paste:
        if (context.prompt.ask(u"是否覆盖当前素材?") &&
            files.importMaterial(m, s, {materials::ImportSource::clipboard, {}}))
            opened();
        break;
    case C::remove:
        if (context.prompt.ask(u"是否删除素材?")) {
            materials::clearMaterial(editor.material());
            opened();
        }
        break;
    case C::standardBuiltIns:
        toggleBuiltIns(materials::kStandardMaterials);
        break;
    case C::personalBuiltIns:
        toggleBuiltIns(materials::kPersonalMaterials);
        break;
    case C::demo:
        startDemo();
        break;
    case C::jump:
        context.live.requestJump();
        break;
    case C::chaseTool:
        toggleChaseTool();
        break;
    }
}

void MaterialPage::toggleBuiltIns(std::u16string_view kind)
{
    const QString caption = QString::fromStdU16String(std::u16string(kind));
    if (builtInPanel->isVisible() && builtInPanel->kind() == caption) {
        builtInPanel->hide();
        return;
    }
    builtIns.listBuiltIns(kind, builtIns.category());
    builtInPanel->showList(caption, builtIns);
    showOnly(builtInPanel);
}

void MaterialPage::showMotionPanel()
{
    if (editor.material().motionType == materials::kMotionNone)
        return;
    editor.prepareMotionPanel();
    motionPanel->showFixture(editor.material(), editor.focus());
    showOnly(motionPanel);
}

void MaterialPage::motionPanelClosing()
{
    generateMotion();
    motionPanel->hide();
}

void MaterialPage::generateMotion()
{
    if (editor.generateMotion())
        redraw();
}

void MaterialPage::toggleChaseTool()
{
    if (chase->isVisible()) {
        chase->hide();
        return;
    }
    chase->prepare(editor.material().fixtureCount);
    // At the page's right edge below the command rows, so "返回" and the step bar stay free.
    const QPoint corner = mapToGlobal(QPoint(width(), fixtureStrip->geometry().top()));
    chase->adjustSize();
    chase->move(corner.x() - chase->width() - 8, corner.y());
    chase->show();
    chase->raise();
}

void MaterialPage::generateChase()
{
    const materials::ChaseOutcome outcome = materials::generateChase(editor.material(), chase->inputs());
    chase->showInfo(outcome.info);
    if (!outcome.generated)
        return;
    editor.chooseStep(1);
    redraw();
}

void MaterialPage::startDemo()
{
    definitionPanel->hide();
    patchPanel->hide();
    demo->show();
    demo->raise();
    context.materialEngine.startDemo();
    demoTimer->start();
    showDemo();
}

void MaterialPage::stopDemo()
{
    demoTimer->stop();
    demo->hide();
    context.materialEngine.stopDemo();
}

void MaterialPage::showDemo()
{
    demo->showPlayback(QString::fromStdU16String(context.materialEngine.demoStepText()),
                       QString::fromStdU16String(materials::MaterialEngine::demoFrameText(context.live.dmxFrame())));
}

} // namespace rz::ui
