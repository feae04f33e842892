#pragma once
// The information box of the download and upgrade pages: the core writes its progress lines
// through logBox(), the page adds its own (translated) lines through the other calls.
#include "ui/shell/QtLogBox.h"

#include <QPointer>
#include <QString>

class QPlainTextEdit;

namespace rz::ui {

class TransferLog {
public:
    explicit TransferLog(QPlainTextEdit* box);

    LogBox& logBox() { return coreBox; }

    void clear();
    // text, then a line break.
    void line(const QString& text);
    // text, on a line of its own when `newLine` (the upgrade page's convention); an empty
    // box gets no leading blank line.
    void add(const QString& text, bool newLine);
    // The whole content becomes `text`.
    void reset(const QString& text);
    // A line break unless the box is empty or already ends in one, so the core's lines that
    // follow start on their own line.
    void startLine();
    QString text() const;

private:
    void appendRaw(const QString& text);

    QPointer<QPlainTextEdit> box;
    QtLogBox coreBox;
};

} // namespace rz::ui
