#include "ui/materials/MaterialTimePanel.h"

#include "core/materials/MaterialEditorSession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace rz::ui {

namespace {

const QString kMagentaBox = QStringLiteral("QLineEdit{background-color:#ff00ff;}");
const QString kRedBox = QStringLiteral("QLineEdit{background-color:#ff8080;}");
const QString kGreyBox = QStringLiteral("QLineEdit{background-color:#c0c0c0;}");

QCheckBox* check(QWidget* parent, const char* name, const QString& caption)
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromUtf8(name));
    c->setAccessibleName(caption);
    return c;
}

QComboBox* list(QWidget* parent, const char* name, const QString& caption, const QStringList& items)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromUtf8(name));
    c->setAccessibleName(caption);
    c->addItems(items);
    return c;
}

QLineEdit* box(QWidget* parent, const char* name, const QString& caption, int width)
{
    auto* b = new QLineEdit(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAccessibleName(caption);
    b->setMaximumWidth(width);
    return b;
}

} // namespace

MaterialTimePanel::MaterialTimePanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Frame时间"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);

    perStepCheck = check(this, "Check单步时间", tr("单步时间"));
    timeLabel = new QLabel(tr("统一时间"), this);
    timeLabel->setObjectName(QStringLiteral("Label时间"));
    uniformBox = box(this, "Text统一时间", tr("统一时间"), 70);
    stepBox = box(this, "Text单步时间", tr("单步时间"), 70);
    secondsLabel = new QLabel(this);
    secondsLabel->setObjectName(QStringLiteral("Label时间显示"));
    secondsLabel->setMinimumWidth(56);
    allFadeCheck = check(this, "Check所有步渐变", tr("所有步渐变"));
    fadeNextCheck = check(this, "Check此步渐变到下一步", tr("此步渐变到下一步"));
    jumpBox = box(this, "Text统一跳步", tr("统一跳步"), 50);
    jumpEndCheck = check(this, "Check到达跳步区间末尾才跳步", tr("到达跳步区间末尾才跳步"));

    QStringList percents;
    for (int v = 100; v >= 0; --v)
        percents << QString::number(v);
    brightnessBox = list(this, "Combo亮度百分比", tr("亮度百分比"), percents);
    startModeBox = list(this, "Combo素材_启动方式", tr("启动方式"),
                        {tr("效果选择"), tr("密集鼓点"), tr("喝彩"), tr("倒彩"), tr("烟机按钮"), tr("摇麦触发"),
                         tr("场景切换运行")});
    dimmingBox = list(this, "Combo虚拟调光", tr("虚拟调光"), {tr("无"), tr("被虚拟总调光控制"), tr("通道1做虚拟总调光")});
    accelerationBox = list(this, "Combo下载后硬件加速", tr("下载后硬件加速"), {tr("x1"), tr("x2"), tr("x3")});
    restartCheck = check(this, "Check调用从头运行", tr("调用从头运行"));
    motionBox = list(this, "ComboXY动作辅助生成", tr("XY动作辅助生成"), {tr("无"), tr("画圆")});

    // The check box that hides with all-steps fade keeps its place, so the row does not jump.
    QSizePolicy keep = fadeNextCheck->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    fadeNextCheck->setSizePolicy(keep);
    int col = 0;
    for (QWidget* w : {static_cast<QWidget*>(perStepCheck), static_cast<QWidget*>(timeLabel),
                       static_cast<QWidget*>(uniformBox), static_cast<QWidget*>(stepBox),
                       static_cast<QWidget*>(secondsLabel), static_cast<QWidget*>(allFadeCheck),
                       static_cast<QWidget*>(fadeNextCheck)})
        grid->addWidget(w, 0, col++);
    grid->addWidget(new QLabel(tr("统一跳步"), this), 0, col++);
    grid->addWidget(jumpBox, 0, col++);
    grid->addWidget(jumpEndCheck, 0, col++);
    grid->setColumnStretch(col, 1);
    col = 0;
    grid->addWidget(new QLabel(tr("亮度%"), this), 1, col++);
    grid->addWidget(brightnessBox, 1, col++);
    grid->addWidget(new QLabel(tr("启动方式"), this), 1, col++);
    grid->addWidget(startModeBox, 1, col++);
    grid->addWidget(new QLabel(tr("虚拟调光"), this), 1, col++);
    grid->addWidget(dimmingBox, 1, col++);
    grid->addWidget(new QLabel(tr("硬件加速"), this), 1, col++);
    grid->addWidget(accelerationBox, 1, col++);
    grid->addWidget(restartCheck, 1, col++);
    grid->addWidget(new QLabel(tr("XY动作"), this), 1, col++);
    grid->addWidget(motionBox, 1, col++);
}

void MaterialTimePanel::connectTo(materials::MaterialEditorSession& s, std::function<void()> changed)
{
    auto* session = &s;
    connect(perStepCheck, &QCheckBox::toggled, this, [this, session, changed](bool on) {
        if (showing)
            return;
        session->material().perStepTimeMode = on ? 1 : 0;
        changed();
    });
    connect(uniformBox, &QLineEdit::textEdited, this, [this, session](const QString& t) {
        if (session->typeUniformTime(t.toStdU16String()))
            showSeconds(session->material(), session->currentStep());
    });
    connect(stepBox, &QLineEdit::textEdited, this, [this, session](const QString& t) {
        const bool ok = session->typeStepTime(t.toStdU16String());
        stepBox->setStyleSheet(ok ? QString() : kMagentaBox);
        if (ok)
            showSeconds(session->material(), session->currentStep());
    });
    connect(allFadeCheck, &QCheckBox::toggled, this, [this, session, changed](bool on) {
        if (showing)
            return;
        session->material().allStepsFade = on ? 1 : 0;
        changed();
    });
    connect(fadeNextCheck, &QCheckBox::toggled, this, [this, session](bool on) {
        if (!showing)
            session->material().editStep(session->currentStep()).fadeToNext = on ? 1 : 0;
    });
    connect(jumpBox, &QLineEdit::textEdited, this, [this, session](const QString& t) {
        jumpBox->setStyleSheet(session->typeJumpInterval(t.toStdU16String()) ? kGreyBox : kRedBox);
    });
    connect(jumpEndCheck, &QCheckBox::toggled, this, [this, session](bool on) {
        if (!showing)
            session->material().jumpAtIntervalEndOnly = on ? 1 : 0;
    });
    connect(brightnessBox, &QComboBox::activated, this,
            [session](int index) { session->chooseBrightness(100 - index); });
    connect(startModeBox, &QComboBox::activated, this,
            [session](int index) { session->material().startMode = static_cast<uint8_t>(index); });
    connect(dimmingBox, &QComboBox::activated, this,
            [session](int index) { session->material().dimmingRole = static_cast<uint8_t>(index); });
    connect(accelerationBox, &QComboBox::activated, this,
            [session](int index) { session->material().hwAcceleration = static_cast<uint8_t>(index); });
    connect(restartCheck, &QCheckBox::toggled, this, [this, session](bool on) {
        if (!showing)
            session->material().restartOnCall = on ? 1 : 0;
    });
    connect(motionBox, &QComboBox::activated, this, [this, session](int index) {
        session->material().motionType = static_cast<uint8_t>(index);
        emit motionTypeChosen(index);
    });
}

void MaterialTimePanel::showMaterial(const materials::Material& m, int step)
{
    showing = true;
    showTimeMode(m);
    if (!uniformBox->hasFocus())
        uniformBox->setText(QString::number(m.uniformTime));
    if (!stepBox->hasFocus()) {
        stepBox->setText(QString::number(m.step(step).stepTime));
        stepBox->setStyleSheet(QString());
    }
    showSeconds(m, step);
    allFadeCheck->setChecked(m.allStepsFade != 0);
    fadeNextCheck->setVisible(m.allStepsFade == 0);
    fadeNextCheck->setChecked(m.step(step).fadeToNext != 0);
    if (!jumpBox->hasFocus()) {
        jumpBox->setText(QString::number(m.jumpInterval));
        jumpBox->setStyleSheet(kGreyBox);
    }
    jumpEndCheck->setChecked(m.jumpAtIntervalEndOnly != 0);
    brightnessBox->setCurrentIndex(std::clamp<int>(m.brightnessReduction, 0, 100));
    startModeBox->setCurrentIndex(m.startMode < startModeBox->count() ? m.startMode : -1);
    dimmingBox->setCurrentIndex(m.dimmingRole < dimmingBox->count() ? m.dimmingRole : -1);
    accelerationBox->setCurrentIndex(m.hwAcceleration < accelerationBox->count() ? m.hwAcceleration : -1);
    restartCheck->setChecked(m.restartOnCall != 0);
    motionBox->setCurrentIndex(m.motionType < motionBox->count() ? m.motionType : -1);
    showing = false;
}

void MaterialTimePanel::showTimeMode(const materials::Material& m)
{
    const bool perStep = m.perStepTimeMode != 0;
    perStepCheck->setChecked(perStep);
    timeLabel->setText(perStep ? tr("单步时间") : tr("统一时间"));
    uniformBox->setVisible(!perStep);
    stepBox->setVisible(perStep);
}

void MaterialTimePanel::showSeconds(const materials::Material& m, int step)
{
    secondsLabel->setText(secondsText(m.stepDurationOf(step)));
}

std::optional<int16_t> MaterialTimePanel::typedStepTime() const
{
    const auto n = materials::typedNumber(stepBox->text().toStdU16String(), 0, materials::kMaxTimeBoxValue);
    if (!n)
        return std::nullopt;
    return static_cast<int16_t>(*n);
}

QString MaterialTimePanel::secondsText(int tenths)
{
    return QString::number(tenths / 10.0, 'f', 1) + tr("秒");
}

} // namespace rz::ui
