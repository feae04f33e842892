#pragma once
// Selectors whose list position is the stored value. A value the list does not hold (read
// from a damaged or foreign file) is shown as an extra entry with its number, so the page
// shows what is stored; the owner ignores picks of that entry.
#include <QComboBox>
#include <QString>

#include <string_view>

namespace rz::ui {

inline void fillNumberList(QComboBox* box, int first, int last)
{
    for (int v = first; v <= last; ++v)
        box->addItem(QString::number(v));
}

template <class Texts>
void fillTextList(QComboBox* box, const Texts& texts)
{
    for (std::u16string_view t : texts)
        box->addItem(QString::fromStdU16String(std::u16string(t)));
}

// `listSize` = entries of the real list.
inline void showStoredValue(QComboBox* box, int value, int listSize)
{
    while (box->count() > listSize)
        box->removeItem(box->count() - 1);
    if (value >= 0 && value < listSize) {
        box->setCurrentIndex(value);
        return;
    }
    box->addItem(QString::number(value));
    box->setCurrentIndex(listSize);
}

} // namespace rz::ui
