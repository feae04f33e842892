#include "ui/materials/MaterialDemoFrame.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rz::ui {

MaterialDemoFrame::MaterialDemoFrame(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame演示"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    stepLabel = new QLabel(this);
    stepLabel->setObjectName(QStringLiteral("Label演示步"));
    auto* back = new QPushButton(tr("返回"), this);
    back->setObjectName(QStringLiteral("Command演示返回"));
    back->setAccessibleName(tr("演示返回"));
    row->addWidget(stepLabel, 1);
    row->addWidget(back);
    column->addLayout(row);
    frameText = new QPlainTextEdit(this);
    frameText->setObjectName(QStringLiteral("Text演示"));
    frameText->setAccessibleName(tr("演示数据"));
    frameText->setReadOnly(true);
    frameText->setLineWrapMode(QPlainTextEdit::NoWrap);
    frameText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    column->addWidget(frameText, 1);
    connect(back, &QPushButton::clicked, this, &MaterialDemoFrame::backClicked);
}

void MaterialDemoFrame::showPlayback(const QString& stepText, const QString& text)
{
    stepLabel->setText(stepText);
    if (frameText->toPlainText() != text)
        frameText->setPlainText(text);
}

} // namespace rz::ui
