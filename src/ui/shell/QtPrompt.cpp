#include "ui/shell/QtPrompt.h"

#include "core/app/Caption.h"
#include "ui/shell/CoreText.h"

#include <QMessageBox>

namespace rz::ui {

namespace {

QString boxTitle()
{
    return QString::fromStdU16String(std::u16string(modelName));
}

} // namespace

std::optional<WaitTracker::Scope> modalWait(WaitTracker* tracker)
{
    if (!tracker)
        return std::nullopt;
    return tracker->enter();
}

void QtPrompt::message(const std::u16string& text)
{
    QMessageBox box(QMessageBox::NoIcon, boxTitle(), translatedCoreText(text), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("PromptMessage"));
    const auto wait = modalWait(tracker);
    box.exec();
}

bool QtPrompt::ask(const std::u16string& text)
{
    QMessageBox box(QMessageBox::Question, boxTitle(), translatedCoreText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("PromptQuestion"));
    box.setDefaultButton(QMessageBox::Yes);
    const auto wait = modalWait(tracker);
    return box.exec() == QMessageBox::Yes;
}

} // namespace rz::ui
