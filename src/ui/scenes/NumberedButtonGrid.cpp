#include "ui/scenes/NumberedButtonGrid.h"

#include "ui/fixtures/ControlNames.h"

#include <QGridLayout>
#include <QPushButton>

namespace rz::ui {

NumberedButtonGrid::NumberedButtonGrid(const QString& controlName, int count, int columns, QWidget* parent)
    : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    buttons.assign(static_cast<std::size_t>(count) + 1, nullptr);
    for (int i = 1; i <= count; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(arrayElementName(controlName, i));
        b->setMinimumSize(56, 26);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { emit clicked(i); });
        buttons[static_cast<std::size_t>(i)] = b;
        grid->addWidget(b, (i - 1) / columns, (i - 1) % columns);
    }
}

void NumberedButtonGrid::setCaption(int i, const QString& caption)
{
    QPushButton* b = button(i);
    if (b->text() == caption && !b->accessibleName().isEmpty())
        return;
    b->setText(caption);
    // An effect without a note has an empty caption: its number still names it.
    const QString name = caption.isEmpty() ? QString::number(i) : caption;
    b->setAccessibleName(name);
    b->setToolTip(name);
}

void NumberedButtonGrid::setColour(int i, const QColor& colour)
{
    const QString style = buttonBackgroundStyle(colour);
    if (button(i)->styleSheet() != style)
        button(i)->setStyleSheet(style);
}

} // namespace rz::ui
