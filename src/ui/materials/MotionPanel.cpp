#include "ui/materials/MotionPanel.h"

#include "core/materials/CircleMotion.h"
#include "ui/fixtures/ControlNames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace rz::ui {

namespace {

QComboBox* rangeBox(QWidget* parent, const QString& name, const QString& caption, materials::ParameterRange range)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(caption);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(20);
    for (int v = range.minimum; v <= range.maximum; ++v)
        box->addItem(QString::number(v));
    box->setMinimumWidth(70);
    return box;
}

void mark(QComboBox* box, bool valid)
{
    box->setStyleSheet(valid ? QString() : QStringLiteral("QComboBox{background-color:#ff8080;}"));
}

} // namespace

MotionPanel::MotionPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame素材动作_画圆"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    const QString labels[kParameters + 1] = {QString(),     tr("中心点X"), tr("百分比X"), tr("锁定X"),
                                             tr("中心点Y"), tr("百分比Y"), tr("锁定Y"),   tr("半径"),
                                             tr("角度"),    tr("方向")};
    for (int k = 1; k <= kParameters; ++k) {
        boxes[k] = rangeBox(this, arrayElementName(QStringLiteral("Combo动作参数_单个"), k), labels[k],
                            materials::circleParameterRange(k));
        grid->addWidget(new QLabel(labels[k], this), 0, k - 1);
        grid->addWidget(boxes[k], 1, k - 1);
        connect(boxes[k]->lineEdit(), &QLineEdit::textEdited, this,
                [this, k](const QString& t) { emit parameterTyped(k, t); });
        connect(boxes[k], &QComboBox::activated, this,
                [this, k](int index) { emit parameterTyped(k, boxes[k]->itemText(index)); });
    }
    speedBox = rangeBox(this, QStringLiteral("Combo动作_画圆_全局"), tr("动作速度"), materials::kSpeedRange);
    grid->addWidget(new QLabel(tr("动作速度"), this), 2, 0);
    grid->addWidget(speedBox, 3, 0);
    connect(speedBox->lineEdit(), &QLineEdit::textEdited, this, &MotionPanel::speedTyped);
    connect(speedBox, &QComboBox::activated, this,
            [this](int index) { emit speedTyped(speedBox->itemText(index)); });
    auto* generate = new QPushButton(tr("生成动作"), this);
    generate->setObjectName(QStringLiteral("Command生成动作"));
    generate->setAccessibleName(tr("生成动作"));
    auto* hide = new QPushButton(tr("隐藏"), this);
    hide->setObjectName(QStringLiteral("Command隐藏动作生成器"));
    hide->setAccessibleName(tr("隐藏动作生成器"));
    grid->addWidget(generate, 3, 7);
    grid->addWidget(hide, 3, 8);
    connect(generate, &QPushButton::clicked, this, &MotionPanel::generateClicked);
    connect(hide, &QPushButton::clicked, this, &MotionPanel::hideClicked);
}

void MotionPanel::showFixture(const materials::Material& m, int focus)
{
    for (int k = 1; k <= kParameters; ++k) {
        QComboBox* box = boxes[k];
        if (box->lineEdit()->hasFocus())
            continue;
        box->setEditText(QString::number(m.motionPerFixture[static_cast<std::size_t>(focus)][static_cast<std::size_t>(k)]));
        mark(box, true);
    }
    if (!speedBox->lineEdit()->hasFocus()) {
        speedBox->setEditText(QString::number(m.motionGlobal[materials::kSpeedParameter]));
        mark(speedBox, true);
    }
}

void MotionPanel::markParameter(int k, bool valid)
{
    if (k >= 1 && k <= kParameters)
        mark(boxes[k], valid);
}

void MotionPanel::markSpeed(bool valid)
{
    mark(speedBox, valid);
}

} // namespace rz::ui
