#include "ui/look/ColourLook.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>

namespace rz::ui {

namespace ck = rz::colourkeys;

QColor windowsColour(uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QString colourRule(uint32_t back, uint32_t text)
{
    return QStringLiteral("background-color:%1;color:%2;")
        .arg(windowsColour(back).name(), windowsColour(text).name());
}

ControlKind controlKindOf(const QWidget* w)
{
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w)
        || qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w))
        return ControlKind::text;
    if (qobject_cast<const QCheckBox*>(w))
        return ControlKind::check;
    if (qobject_cast<const QRadioButton*>(w))
        return ControlKind::option;
    if (qobject_cast<const QPushButton*>(w) || qobject_cast<const QToolButton*>(w))
        return ControlKind::command;
    if (qobject_cast<const QComboBox*>(w))
        return ControlKind::combo;
    if (qobject_cast<const QListView*>(w))
        return ControlKind::listBox;
    if (qobject_cast<const QGroupBox*>(w))
        return ControlKind::frame;
    if (qobject_cast<const QLabel*>(w))
        return ControlKind::label;
    if (const auto* f = qobject_cast<const QFrame*>(w); f && f->metaObject() == &QFrame::staticMetaObject) {
        const auto shape = f->frameShape();
        return shape == QFrame::HLine || shape == QFrame::VLine ? ControlKind::line : ControlKind::frame;
    }
    return ControlKind::none;
}

void setButtonColours(QWidget* button, uint32_t back, uint32_t text)
{
    // With a border of its own the button is drawn flat in exactly its colour; a button has no
    // child controls, so the sheet concerns only the button.
    const QColor b = windowsColour(back);
    const char* cls = qobject_cast<QToolButton*>(button) ? "QToolButton" : "QPushButton";
    button->setStyleSheet(QStringLiteral("%1{%2border:1px solid %3;border-radius:3px;}"
                                         "%1:pressed{background-color:%4;}"
                                         "%1:disabled{color:%5;}")
                              .arg(QLatin1String(cls), colourRule(back, text), b.darker(160).name(),
                                   b.darker(130).name(), windowsColour(text).darker(150).name()));
}

namespace {

// A rule that reaches this widget and, below it, only widgets of exactly its Qt class (which
// the walk gives their own colours anyway), never the labels inside a frame.
QString scopedRule(const QWidget* w, const char* qtClass, const QString& rule)
{
    const bool exact = QLatin1String(w->metaObject()->className()) == QLatin1String(qtClass);
    return QStringLiteral("%1%2{%3}").arg(exact ? QStringLiteral(".") : QString(), QLatin1String(qtClass), rule);
}

void colourControl(QWidget* w, ControlKind kind, const ColourScheme& s)
{
    const auto pair = [&](std::u16string_view back, std::u16string_view text) {
        return colourRule(s.colour(back), s.colour(text));
    };
    switch (kind) {
    case ControlKind::text: {
        const char* cls = qobject_cast<QLineEdit*>(w)        ? "QLineEdit"
                          : qobject_cast<QAbstractSpinBox*>(w) ? "QAbstractSpinBox"
                          : qobject_cast<QPlainTextEdit*>(w)   ? "QPlainTextEdit"
                                                               : "QTextEdit";
        w->setStyleSheet(scopedRule(w, cls, pair(ck::kTextBack, ck::kTextFore)));
        break;
    }
    case ControlKind::frame:
        w->setStyleSheet(scopedRule(w, qobject_cast<QGroupBox*>(w) ? "QGroupBox" : "QFrame",
                                    pair(ck::kFrameBack, ck::kFrameFore)));
        break;
    case ControlKind::label:
        w->setStyleSheet(scopedRule(w, "QLabel", pair(ck::kLabelBack, ck::kLabelFore)));
        break;
    case ControlKind::check:
        w->setStyleSheet(scopedRule(w, "QCheckBox", pair(ck::kCheckBack, ck::kCheckFore)));
        break;
    case ControlKind::option:
        w->setStyleSheet(scopedRule(w, "QRadioButton", pair(ck::kOptionBack, ck::kOptionFore)));
        break;
    case ControlKind::combo:
        w->setStyleSheet(scopedRule(w, "QComboBox", pair(ck::kComboBack, ck::kComboFore)));
        break;
    case ControlKind::listBox:
        w->setStyleSheet(scopedRule(w, "QAbstractItemView", pair(ck::kListBoxBack, ck::kListBoxFore)));
        break;
    case ControlKind::line:
        w->setStyleSheet(QStringLiteral(".QFrame{background-color:%1;border:none;}")
                             .arg(windowsColour(s.colour(ck::kSeparatorLine)).name()));
        break;
    case ControlKind::command: {
        setButtonColours(w, s.colour(ck::kCommandBack), s.colour(ck::kCommandFore));
        if (s.noButtonLineBreaks()) {
            auto* b = static_cast<QAbstractButton*>(w);
            b->setText(QString::fromStdU16String(withoutLineBreaks(b->text().toStdU16String())));
        }
        break;
    }
    case ControlKind::none:
        break;
    }
}

} // namespace

void applyToForm(QWidget* form, const ColourScheme& scheme, const QStringList& skip)
{
    if (!form || !scheme.on())
        return;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (skip.contains(w->objectName()))
            continue;
        // Parts of composite controls (a spin box's editor, a combo box's list) follow their owner.
        if (QWidget* p = w->parentWidget(); p && p != form && controlKindOf(p) != ControlKind::frame
                                              && controlKindOf(p) != ControlKind::none)
            continue;
        colourControl(w, controlKindOf(w), scheme);
    }
}

} // namespace rz::ui
