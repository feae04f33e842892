#include "ui/shell/PageHost.h"

#include "ui/shell/ShellGeometry.h"

#include <QPalette>

namespace rz::ui {

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

void PageHost::preparePage(QWidget* page)
{
    if (!page)
        return;
    if (page == current)
        current = nullptr; // hidden now, so the next showPage must show it again
    page->hide();
    if (page->parentWidget() != this)
        page->setParent(this);
    page->move(0, 0);
    page->resize(geometry::pageWidth, geometry::pageHeight);
    // A page covers the ones shown before it, so it must paint its whole area.
    page->setAutoFillBackground(true);
    if (!background.isNull()) {
        QPalette palette = page->palette();
        palette.setBrush(QPalette::Window, QBrush(background));
        page->setPalette(palette);
        page->setAutoFillBackground(true);
    }
}

void PageHost::showPage(QWidget* page)
{
    showPageTracked(this, page, current);
}

} // namespace rz::ui
