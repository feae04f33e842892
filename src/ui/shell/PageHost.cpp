#include "ui/shell/PageHost.h"

#include <QPalette>
#include <QResizeEvent>
#include <QVariant>

#include <algorithm>

namespace rz::ui {

namespace {
constexpr char kDialogProperty[] = "rzDialogPage";
}

void showPageTracked(QWidget* container, QWidget* page, QPointer<QWidget>& tracker)
{
    if (!page || tracker == page)
        return;
    tracker = page;
    if (page->parentWidget() != container)
        page->setParent(container);
    page->show();
    page->raise();
}

PageHost::PageHost(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PageHost"));
}

void PageHost::markDialogPage(QWidget* page)
{
    page->setProperty(kDialogProperty, true);
}

bool PageHost::isDialogPage(const QWidget* page)
{
    return page && page->property(kDialogProperty).toBool();
}

void PageHost::preparePage(QWidget* page)
{
    if (!page)
        return;
    if (page == current)
        current = nullptr; // hidden now, so the next showPage must show it again
    page->hide();
    if (page->parentWidget() != this)
        page->setParent(this);
    if (!isDialogPage(page))
        page->setGeometry(rect());
    // A page covers the ones shown before it, so it must paint its whole area.
    page->setAutoFillBackground(true);
    if (!background.isNull()) {
        QPalette palette = page->palette();
        palette.setBrush(QPalette::Window, QBrush(background));
        page->setPalette(palette);
    }
}

void PageHost::showPage(QWidget* page)
{
    if (!page || page == current)
        return;
    if (isDialogPage(page)) {
        if (!isDialogPage(current))
            beneathDialog = current;
    } else if (page->parentWidget() != this) {
        page->setGeometry(rect());
    }
    showPageTracked(this, page, current);
}

void PageHost::closeDialogPage(QWidget* page)
{
    if (!page)
        return;
    page->hide();
    if (current == page)
        current = beneathDialog;
}

void PageHost::centreDialogPage(QWidget* page)
{
    if (!page)
        return;
    // Window coordinates, as designed for the fixed window: centred in the window, lifted by
    // the title bar; then into this area, which starts below the title bar.
    const QSize outer = window()->size();
    const int top = (outer.height() - page->height()) / 2 - titleHeight;
    const int left = (outer.width() - page->width()) / 2;
    QPoint at(left, top - titleHeight);
    if (page->parentWidget() && page->parentWidget() != this)
        at = page->parentWidget()->mapFrom(this, at);
    page->move(std::max(at.x(), 0), std::max(at.y(), 0));
    page->show();
}

void PageHost::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Pages grow and shrink with the window; each scrolls inside when it cannot fit.
    for (QObject* child : children()) {
        auto* page = qobject_cast<QWidget*>(child);
        if (page && page->isWindow() == false && !isDialogPage(page))
            page->setGeometry(rect());
    }
}

} // namespace rz::ui
