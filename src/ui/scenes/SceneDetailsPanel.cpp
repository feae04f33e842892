#include "ui/scenes/SceneDetailsPanel.h"

#include "ui/scenes/ComboValues.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace rz::ui {

namespace {

constexpr int kAssociationListSize = scenes::kMaxAssociation + 1;
constexpr int kSoundListSize = scenes::kMaxEffectsUnitSound + 1;
constexpr int kSourceListSize = scenes::kMaxAudioSource + 1;

QComboBox* makeCombo(QWidget* parent, const QString& name, const QString& accessible)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessible);
    return box;
}

// Picks of the extra entry that shows an unlisted stored value are ignored.
void forwardPick(QComboBox* box, int listSize, QObject* receiver, const std::function<void(int)>& pick)
{
    QObject::connect(box, &QComboBox::activated, receiver, [listSize, pick](int index) {
        if (index >= 0 && index < listSize)
            pick(index);
    });
}

} // namespace

SceneDetailsPanel::SceneDetailsPanel(QWidget* parent) : QWidget(parent)
{
    nameFrame = new QGroupBox(tr("场景备注"), this);
    nameFrame->setObjectName(QStringLiteral("Frame场景备注"));
    name = makeCombo(nameFrame, QStringLiteral("ComboText场景备注"), tr("场景备注"));
    name->setEditable(true);
    name->setInsertPolicy(QComboBox::NoInsert);
    name->lineEdit()->setMaxLength(static_cast<int>(scenes::kMaxSceneName));
    fillTextList(name, scenes::kSuggestedSceneNames);
    connect(name, &QComboBox::editTextChanged, this, [this](const QString& t) {
        if (!drawing)
            emit nameEdited(t);
    });
    (new QVBoxLayout(nameFrame))->addWidget(name);

    associationFrame = new QGroupBox(tr("场景关联"), this);
    associationFrame->setObjectName(QStringLiteral("Frame场景关联"));
    wallPanel = makeCombo(associationFrame, QStringLiteral("Combo关联墙板场景"), tr("关联墙板场景"));
    vod = makeCombo(associationFrame, QStringLiteral("Combo关联VOD场景"), tr("关联VOD场景"));
    for (QComboBox* box : {wallPanel, vod}) {
        fillNumberList(box, 0, scenes::kMaxAssociation);
        box->installEventFilter(this); // key presses are discarded
    }
    forwardPick(wallPanel, kAssociationListSize, this, [this](int v) { emit wallPanelSceneChosen(v); });
    forwardPick(vod, kAssociationListSize, this, [this](int v) { emit vodSceneChosen(v); });
    auto* defaults = new QPushButton(tr("默认参数"), associationFrame);
    defaults->setObjectName(QStringLiteral("Command_关联_默认参数"));
    connect(defaults, &QPushButton::clicked, this, &SceneDetailsPanel::defaultAssociationsClicked);
    auto* importAssoc = new QPushButton(tr("导入关联"), associationFrame);
    importAssoc->setObjectName(QStringLiteral("Command1"));
    auto* exportAssoc = new QPushButton(tr("关联另存"), associationFrame);
    exportAssoc->setObjectName(QStringLiteral("Command2"));
    report = new QLineEdit(associationFrame);
    report->setObjectName(QStringLiteral("Text接收场景对应"));
    report->setAccessibleName(tr("接收墙板&VOD场景"));
    report->setReadOnly(true);
    report->installEventFilter(this);
    auto* assoc = new QGridLayout(associationFrame);
    assoc->addWidget(new QLabel(tr("关联墙板场景"), associationFrame), 0, 0);
    assoc->addWidget(wallPanel, 0, 1);
    assoc->addWidget(new QLabel(tr("关联VOD场景"), associationFrame), 1, 0);
    assoc->addWidget(vod, 1, 1);
    assoc->addWidget(defaults, 2, 0);
    assoc->addWidget(importAssoc, 2, 1);
    assoc->addWidget(exportAssoc, 2, 2);
    assoc->addWidget(new QLabel(tr("接收墙板&VOD场景"), associationFrame), 3, 0);
    assoc->addWidget(report, 3, 1, 1, 2);

    soundFrame = new QGroupBox(tr("效果器音效"), this);
    soundFrame->setObjectName(QStringLiteral("Frame效果器音效"));
    sound = makeCombo(soundFrame, QStringLiteral("Combo效果器音效"), tr("效果器音效"));
    fillTextList(sound, scenes::kEffectsUnitSoundNames);
    forwardPick(sound, kSoundListSize, this, [this](int v) { emit soundChosen(v); });
    (new QVBoxLayout(soundFrame))->addWidget(sound);

    sourceFrame = new QGroupBox(tr("音源切换选择"), this);
    sourceFrame->setObjectName(QStringLiteral("Frame音源选择"));
    source = makeCombo(sourceFrame, QStringLiteral("Combo音源选择"), tr("音源切换选择"));
    fillTextList(source, scenes::kAudioSourceNames);
    forwardPick(source, kSourceListSize, this, [this](int v) { emit audioSourceChosen(v); });
    (new QVBoxLayout(sourceFrame))->addWidget(source);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(nameFrame);
    column->addWidget(associationFrame);
    auto* row = new QHBoxLayout;
    row->addWidget(soundFrame);
    row->addWidget(sourceFrame);
    column->addLayout(row);
    column->addStretch(1);
}

void SceneDetailsPanel::showScene(const scenes::Scene& scene, bool associationsAndName)
{
    drawing = true;
    name->setEditText(QString::fromStdU16String(scene.name));
    drawing = false;
    nameFrame->setVisible(associationsAndName);
    associationFrame->setVisible(associationsAndName);
    showStoredValue(wallPanel, scene.wallPanelScene, kAssociationListSize);
    showStoredValue(vod, scene.vodScene, kAssociationListSize);
    showStoredValue(sound, scene.effectsUnitSound, kSoundListSize);
    showStoredValue(source, scene.audioSource, kSourceListSize);
}

void SceneDetailsPanel::setEditing(bool editing)
{
    for (QGroupBox* frame : {nameFrame, associationFrame, soundFrame, sourceFrame})
        frame->setEnabled(editing);
}

void SceneDetailsPanel::showReport(const QString& text)
{
    report->setText(text);
}

bool SceneDetailsPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == report) {
        // A click gives focus and then presses: the press alone asks, so one click asks once.
        if (event->type() == QEvent::FocusIn) {
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason)
                emit reportBoxEntered();
        } else if (event->type() == QEvent::FocusOut) {
            emit reportBoxLeft();
        } else if (event->type() == QEvent::MouseButtonPress) {
            report->clear();
            emit reportBoxEntered();
        }
        return false;
    }
    if ((watched == wallPanel || watched == vod) && event->type() == QEvent::KeyPress)
        return true;
    return QWidget::eventFilter(watched, event);
}

} // namespace rz::ui
