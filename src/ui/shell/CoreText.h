#pragma once
// Core texts on their way to the screen, through the translation layer (no translation
// installed: the text unchanged).
#include <QCoreApplication>
#include <QString>

#include <string>

namespace rz::ui {

inline QString translatedCoreText(const std::u16string& text)
{
    const QByteArray source = QString::fromStdU16String(text).toUtf8();
    return QCoreApplication::translate("rz", source.constData());
}

} // namespace rz::ui
