#include "ui/materials/ChaseToolWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

QComboBox* editableList(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setAccessibleName(caption);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    return box;
}

} // namespace

ChaseToolWindow::ChaseToolWindow(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("D80__512_跑马"));
    setWindowTitle(tr("跑马"));
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    typeBox = new QComboBox(this);
    typeBox->setObjectName(QStringLiteral("Combo跑马类型"));
    typeBox->setAccessibleName(tr("跑马类型"));
    typeBox->addItem(QString::fromStdU16String(std::u16string(materials::kChaseTypeNone)));
    typeBox->addItem(QString::fromStdU16String(std::u16string(materials::kChaseTypeHeadToTail)));
    litCountBox = editableList(this, "Combo跑马灯具数量", tr("亮灯数量"));
    startBox = editableList(this, "Combo起始位置", tr("起始位置"));
    onBox = editableList(this, "Combo亮灯数据", tr("亮灯数据"));
    offBox = editableList(this, "Combo灭灯数据", tr("灭灯数据"));
    for (int v : {255, 128, 0}) {
        onBox->addItem(QString::number(v));
        offBox->addItem(QString::number(255 - v + (v == 128 ? 1 : 0)));
    }
    reverseCheck = new QCheckBox(tr("开启反向"), this);
    reverseCheck->setObjectName(QStringLiteral("Check开启反向"));
    reverseCheck->setAccessibleName(tr("开启反向"));
    form->addRow(tr("跑马类型"), typeBox);
    form->addRow(tr("亮灯数量"), litCountBox);
    form->addRow(tr("起始位置"), startBox);
    form->addRow(tr("亮灯数据"), onBox);
    form->addRow(tr("灭灯数据"), offBox);
    form->addRow(reverseCheck);
    column->addLayout(form);
    auto* buttons = new QHBoxLayout;
    auto* generate = new QPushButton(tr("生成数据"), this);
    generate->setObjectName(QStringLiteral("Command生成数据"));
    generate->setAccessibleName(tr("生成数据"));
    auto* hide = new QPushButton(tr("隐藏"), this);
    hide->setObjectName(QStringLiteral("Command隐藏"));
    hide->setAccessibleName(tr("隐藏"));
    buttons->addWidget(generate);
    buttons->addWidget(hide);
    column->addLayout(buttons);
    info = new QPlainTextEdit(this);
    info->setObjectName(QStringLiteral("Text信息"));
    info->setAccessibleName(tr("信息"));
    info->setReadOnly(true);
    info->setMinimumSize(200, 160);
    column->addWidget(info, 1);

    connect(generate, &QPushButton::clicked, this, &ChaseToolWindow::generateClicked);
    connect(hide, &QPushButton::clicked, this, &QWidget::hide);
}

void ChaseToolWindow::prepare(int fixtureCount)
{
    for (QComboBox* box : {litCountBox, startBox}) {
        box->clear();
        for (int f = 1; f <= fixtureCount; ++f)
            box->addItem(QString::number(f));
    }
    typeBox->setCurrentIndex(0);
}

materials::ChaseInputs ChaseToolWindow::inputs() const
{
    materials::ChaseInputs in;
    in.type = typeBox->currentText().toStdU16String();
    in.litCount = litCountBox->currentText().toStdU16String();
    in.startPosition = startBox->currentText().toStdU16String();
    in.onLevel = onBox->currentText().toStdU16String();
    in.offLevel = offBox->currentText().toStdU16String();
    in.reverse = reverseCheck->isChecked();
    return in;
}

void ChaseToolWindow::showInfo(const std::u16string& text)
{
    info->setPlainText(QString::fromStdU16String(text));
}

} // namespace rz::ui
