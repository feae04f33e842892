#include "ui/effects/EffectSettingsPanel.h"

#include "core/effects/EffectEditor.h"
#include "core/effects/EffectPreview.h"
#include "ui/effects/EffectLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace rz::ui {

namespace {

constexpr int kBassHoldChoices[] = {5, 10, 20, 30, 40, 50, 60, 100};
constexpr int kMaxRgbThreshold = 255;
const QString kDarkGround = QStringLiteral("#404040");

QPushButton* commandButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    b->setMinimumHeight(28);
    return b;
}

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& caption)
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    return c;
}

QComboBox* comboBox(QWidget* parent, const QString& name, const QString& accessible)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setAccessibleName(accessible);
    c->setFocusPolicy(Qt::NoFocus); // list entries only: typed keys never reach it
    return c;
}

} // namespace

EffectSettingsPanel::EffectSettingsPanel(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    effectNote = new QLineEdit(this);
    effectNote->setObjectName(QStringLiteral("Text效果备注"));
    effectNote->setAccessibleName(QStringLiteral("效果备注"));
    effectNote->setMaxLength(effects::kMaxNoteLength);
    correspondence = checkBox(this, QStringLiteral("Check低音和无低音拍子对应"), QStringLiteral("低音和无低音拍子对应"));
    bassSwitchJumpsBar = checkBox(this, QStringLiteral("Check低音切换跳小节"), QStringLiteral("低音切换跳小节"));
    bassDisabled = checkBox(this, QStringLiteral("Check禁止低音"), QStringLiteral("禁止低音"));
    bassHoldTime = comboBox(this, QStringLiteral("Combo低音保持时间"), QStringLiteral("低音保持时间"));
    for (int v : kBassHoldChoices)
        bassHoldTime->addItem(QString::number(v), v);
    rgbThreshold = comboBox(this, QStringLiteral("Combo效果RGB阀值"), QStringLiteral("RGB阀值"));
    for (int v = 0; v <= kMaxRgbThreshold; ++v)
        rgbThreshold->addItem(QString::number(v), v);
    xyThreshold = comboBox(this, QStringLiteral("ComboXY_阀值"), QStringLiteral("XY阀值"));
    xyThreshold->addItem(QStringLiteral("系统默认"));
    for (int v = 1; v <= effects::kMaxXyThreshold; ++v)
        xyThreshold->addItem(QString::number(v));

    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("效果备注"), this), row, 0);
    grid->addWidget(effectNote, row++, 1, 1, 2);
    grid->addWidget(correspondence, row++, 0, 1, 3);
    grid->addWidget(bassSwitchJumpsBar, row++, 0, 1, 3);
    grid->addWidget(bassDisabled, row++, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("低音保持时间"), this), row, 0);
    grid->addWidget(bassHoldTime, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("RGB阀值"), this), row, 0);
    grid->addWidget(rgbThreshold, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("XY阀值"), this), row, 0);
    grid->addWidget(xyThreshold, row++, 1);

    clearEffect = commandButton(this, QStringLiteral("Command清空效果"), QStringLiteral("清空效果"));
    importEffect = commandButton(this, QStringLiteral("Command导入效果"), QStringLiteral("导入效果"));
    exportEffect = commandButton(this, QStringLiteral("Command效果另存为"), QStringLiteral("效果另存"));
    importModule = commandButton(this, QStringLiteral("Command导入模块"), QStringLiteral("导入模块"));
    exportModule = commandButton(this, QStringLiteral("Command模块另存为"), QStringLiteral("模块另存为"));
    grid->addWidget(clearEffect, row, 0);
    grid->addWidget(importEffect, row, 1);
    grid->addWidget(exportEffect, row++, 2);
    grid->addWidget(importModule, row, 1);
    grid->addWidget(exportModule, row++, 2);

    drumIndicator = new QGroupBox(QString::fromStdU16String(std::u16string(effects::kDrumIndicatorCaption)), this);
    drumIndicator->setObjectName(QStringLiteral("Frame模拟鼓点"));
    auto* drums = new QHBoxLayout(drumIndicator);
    autoDrum = commandButton(drumIndicator, QStringLiteral("Command自动"),
                             QString::fromStdU16String(std::u16string(effects::kAutoDrumStoppedCaption)));
    manualDrum = commandButton(drumIndicator, QStringLiteral("Command手动模拟鼓点"), QStringLiteral("手动模拟鼓点"));
    drums->addWidget(manualDrum);
    drums->addWidget(autoDrum);
    back = commandButton(this, QStringLiteral("Command返回"), QStringLiteral("返回"));
    grid->addWidget(back, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);
    showDrumIndicator(false);
}

void EffectSettingsPanel::refresh(const effects::EffectEditor& editor)
{
    const effects::Effect& e = editor.effect();
    const QString note = QString::fromStdU16String(e.note);
    if (effectNote->text() != note)
        effectNote->setText(note);
    const QSignalBlocker b1(correspondence), b2(bassSwitchJumpsBar), b3(bassDisabled), b4(bassHoldTime),
        b5(rgbThreshold), b6(xyThreshold);
    correspondence->setChecked(e.bassBeatCorrespondence != 0);
    bassSwitchJumpsBar->setChecked(e.bassSwitchJumpsBar != 0);
    bassDisabled->setChecked(e.bassDisabled != 0);
    showBassDisabledLook(e.bassDisabled != 0);
    const int hold = bassHoldTime->findData(e.bassHoldTime);
    if (hold < 0)
        bassHoldTime->setEditText(QString::number(e.bassHoldTime)); // a stored value off the list
    bassHoldTime->setCurrentIndex(hold);
    rgbThreshold->setCurrentIndex(std::min<int>(e.rgbThreshold, kMaxRgbThreshold));
    xyThreshold->setCurrentIndex(std::min<int>(e.xyThreshold, effects::kMaxXyThreshold));
}

void EffectSettingsPanel::showAutoDrum(const effects::EffectPreview& preview)
{
    autoDrum->setText(QString::fromStdU16String(std::u16string(preview.autoDrumCaption())));
    setButtonColours(autoDrum,
                     static_cast<uint32_t>(preview.autoDrum() == effects::AutoDrum::stopped ? 0x808080 : 0xC0C0C0),
                     0);
}

void EffectSettingsPanel::showDrumIndicator(bool lit)
{
    const QColor c = lit ? effectlook::kDrumFlash : effectlook::kDrumNormal;
    // The meaningful text colours are light: they sit on a dark ground to stay legible.
    drumIndicator->setStyleSheet(
        QStringLiteral("QGroupBox#Frame模拟鼓点{color:%1;font-weight:bold;background-color:%2;}").arg(c.name(), kDarkGround));
    drumIndicator->setProperty("lit", lit);
}

void EffectSettingsPanel::showCorrespondenceColour(const QColor& colour)
{
    if (colour == correspondenceColour)
        return;
    correspondenceColour = colour;
    correspondence->setStyleSheet(colour.isValid()
                                      ? QStringLiteral("QCheckBox{color:%1;background-color:%2;}").arg(colour.name(), kDarkGround)
                                      : QString());
}

void EffectSettingsPanel::showBassDisabledLook(bool on)
{
    bassDisabled->setStyleSheet(
        QStringLiteral("QCheckBox{color:%1;font-weight:%2;background-color:%3;}")
            .arg(on ? QStringLiteral("#ff0000") : QStringLiteral("#ffff00"),
                 on ? QStringLiteral("bold") : QStringLiteral("normal"), kDarkGround));
}

} // namespace rz::ui
