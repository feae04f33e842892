#include "ui/transfer/TransferLog.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace rz::ui {

TransferLog::TransferLog(QPlainTextEdit* box) : box(box), coreBox(box) {}

void TransferLog::clear()
{
    if (box)
        box->clear();
}

void TransferLog::line(const QString& text)
{
    appendRaw(text + '\n');
}

void TransferLog::add(const QString& text, bool newLine)
{
    if (newLine)
        startLine();
    appendRaw(text);
}

void TransferLog::reset(const QString& text)
{
    if (box)
        box->setPlainText(text);
}

void TransferLog::startLine()
{
    const QString current = text();
    if (!current.isEmpty() && !current.endsWith('\n'))
        appendRaw(QStringLiteral("\n"));
}

QString TransferLog::text() const
{
    return box ? box->toPlainText() : QString();
}

void TransferLog::appendRaw(const QString& text)
{
    if (!box)
        return;
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(text);
    box->moveCursor(QTextCursor::End);
}

} // namespace rz::ui
