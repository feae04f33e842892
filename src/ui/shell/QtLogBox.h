#pragma once
// A page's information box for the core's progress lines.
#include "core/app/Seams.h"

#include <QPointer>

class QPlainTextEdit;

namespace rz::ui {

class QtLogBox : public LogBox {
public:
    explicit QtLogBox(QPlainTextEdit* box);
    void append(const std::u16string& text, bool newLine) override;

private:
    QPointer<QPlainTextEdit> box;
};

} // namespace rz::ui
