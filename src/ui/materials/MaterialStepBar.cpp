#include "ui/materials/MaterialStepBar.h"

#include "core/materials/StepClipboard.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace rz::ui {

namespace {

QPushButton* addButton(QWidget* parent, QHBoxLayout* row, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAccessibleName(caption);
    b->setMinimumHeight(28);
    row->addWidget(b);
    return b;
}

} // namespace

MaterialStepBar::MaterialStepBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Frame步"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* previous = addButton(this, row, "Command上一步", tr("上一步"));
    stepList = new QComboBox(this);
    stepList->setObjectName(QStringLiteral("Combo当前步"));
    stepList->setAccessibleName(tr("当前步"));
    stepList->setMinimumWidth(70);
    stepList->setMaxVisibleItems(20);
    row->addWidget(stepList);
    auto* next = addButton(this, row, "Command下一步", tr("下一步"));
    row->addWidget(new QLabel(tr("总步数:"), this));
    countLabel = new QLabel(QStringLiteral("0"), this);
    countLabel->setObjectName(QStringLiteral("Label总步数"));
    countLabel->setAccessibleName(tr("总步数"));
    countLabel->setMinimumWidth(32);
    row->addWidget(countLabel);
    auto* add = addButton(this, row, "Command加一步", tr("加一步"));
    auto* copyAdd = addButton(this, row, "Command复制加一步", tr("复制加一步"));
    auto* remove = addButton(this, row, "Command删除步", tr("删除步"));
    row->addSpacing(12);
    copyCountBox = new QComboBox(this);
    copyCountBox->setObjectName(QStringLiteral("Combo复制步"));
    copyCountBox->setAccessibleName(tr("复制步数"));
    copyCountBox->setEditable(true);
    copyCountBox->setInsertPolicy(QComboBox::NoInsert);
    copyCountBox->setCompleter(nullptr);
    for (int n = 1; n <= 60; ++n)
        copyCountBox->addItem(QString::number(n));
    copyCountBox->setMaxVisibleItems(20);
    row->addWidget(copyCountBox);
    auto* copySteps = addButton(this, row, "Command复制步", tr("复制步"));
    auto* pasteSteps = addButton(this, row, "Command粘贴步", tr("粘贴步"));
    auto* pasteAtEnd = addButton(this, row, "Command尾部粘贴", tr("尾部粘贴"));
    row->addStretch(1);

    connect(copyCountBox->lineEdit(), &QLineEdit::textChanged, this, [this] { copyCount(); });
    connect(copySteps, &QPushButton::clicked, this, [this] { emit copyStepsClicked(copyCount()); });
    connect(pasteSteps, &QPushButton::clicked, this, [this] { emit pasteStepsClicked(copyCount()); });
    connect(pasteAtEnd, &QPushButton::clicked, this, [this] { emit pasteAtEndClicked(copyCount()); });
    connect(previous, &QPushButton::clicked, this, &MaterialStepBar::previousClicked);
    connect(next, &QPushButton::clicked, this, &MaterialStepBar::nextClicked);
    connect(add, &QPushButton::clicked, this, &MaterialStepBar::addClicked);
    connect(copyAdd, &QPushButton::clicked, this, &MaterialStepBar::copyAddClicked);
    connect(remove, &QPushButton::clicked, this, &MaterialStepBar::deleteClicked);
    connect(stepList, &QComboBox::activated, this, [this](int index) {
        if (!showing)
            emit stepChosen(index + 1);
    });
}

int MaterialStepBar::copyCount()
{
    const int count = materials::parseCopyCount(copyCountBox->currentText().toStdU16String());
    copyCountBox->setStyleSheet(count < 1 ? QStringLiteral("QComboBox{background-color:#ff80a0;}")
                                          : QStringLiteral("QComboBox{background-color:#c0c0c0;}"));
    return count;
}

void MaterialStepBar::showSteps(int stepCount, int currentStep)
{
    showing = true;
    countLabel->setText(QString::number(stepCount));
    // Items are appended or the last removed, so a long list is not rebuilt on every step.
    while (stepList->count() < stepCount)
        stepList->addItem(QString::number(stepList->count() + 1));
    while (stepList->count() > stepCount)
        stepList->removeItem(stepList->count() - 1);
    stepList->setCurrentIndex(currentStep >= 1 && currentStep <= stepCount ? currentStep - 1 : -1);
    showing = false;
}

} // namespace rz::ui
