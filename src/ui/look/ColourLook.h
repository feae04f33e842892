#pragma once
// Applies the personal colour scheme to a page: every control by its type gets the back and
// text colour of its kind, separator lines get the line colour, and button captions lose
// their line breaks when the scheme says so. Colours go in through style sheets.
#include "core/app/ColourScheme.h"

#include <QColor>
#include <QString>

class QWidget;

namespace rz::ui {

// A Windows colour value (red + 256 * green + 65536 * blue) as a Qt colour.
QColor windowsColour(uint32_t value);
// "background-color:#rrggbb;color:#rrggbb;" for a style sheet.
QString colourRule(uint32_t back, uint32_t text);

// The control kinds of the scheme.
enum class ControlKind { none, text, frame, label, check, command, option, combo, listBox, line };
ControlKind controlKindOf(const QWidget* widget);

// Does nothing when personalization is off. Only the form's own controls are walked; a
// control whose object name is listed in `skip` keeps its look (the page colours it itself).
void applyToForm(QWidget* form, const ColourScheme& scheme, const QStringList& skip = {});

// The button's back and caption colour.
void setButtonColours(QWidget* button, uint32_t back, uint32_t text);

} // namespace rz::ui
