#include "ui/shell/QtFileChooser.h"

#include "ui/shell/CoreText.h"

#include "ui/shell/QtPrompt.h"

#include <QFileDialog>

namespace rz::ui {

std::optional<std::filesystem::path> QtFileChooser::chooseOpen(const std::u16string& title,
                                                               const std::u16string& extension)
{
    return choose(false, title, extension);
}

std::optional<std::filesystem::path> QtFileChooser::chooseSave(const std::u16string& title,
                                                               const std::u16string& extension)
{
    return choose(true, title, extension);
}

std::optional<std::filesystem::path> QtFileChooser::choose(bool save, const std::u16string& title,
                                                           const std::u16string& extension)
{
    const QString caption = translatedCoreText(title);
    const QString filter = caption + QStringLiteral(" (*.") + QString::fromStdU16String(extension) + ')';
    QFileDialog dialog(parent, caption, QString::fromStdU16String(startFolder.u16string()), filter);
    dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Any name is handed back, existing or not, with no suffix added and no overwrite
    // question: the caller applies its own file-name rules and messages.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const auto wait = modalWait(tracker);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return std::filesystem::path(chosen.first().toStdU16String());
}

} // namespace rz::ui
