#include "ui/shell/QtLogBox.h"

#include "ui/shell/CoreText.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace rz::ui {

QtLogBox::QtLogBox(QPlainTextEdit* box) : box(box) {}

void QtLogBox::append(const std::u16string& text, bool newLine)
{
    if (!box)
        return;
    QString piece = translatedCoreText(text);
    if (newLine)
        piece += '\n';
    // Always at the end, wherever the user clicked into the box, and scrolled into view.
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(piece);
    box->moveCursor(QTextCursor::End);
}

} // namespace rz::ui
