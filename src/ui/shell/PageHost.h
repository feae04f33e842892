#pragma once
// The page area of the main window. Pages are children stacked at the same place; showing a
// page raises it over the earlier ones, which stay where they are underneath.
#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace rz::ui {

// Shows `page` in `container` unless `tracker` already names it: re-parents it when needed,
// makes it visible on top and remembers it in `tracker`. A page that is already shown is left
// completely alone (no re-parenting, no repaint).
void showPageTracked(QWidget* container, QWidget* page, QPointer<QWidget>& tracker);

class PageHost : public QWidget {
    Q_OBJECT
public:
    explicit PageHost(QWidget* parent = nullptr);

    // Makes `page` a hidden child at the page origin with the full page size and the page
    // background (when one is set).
    void preparePage(QWidget* page);
    void showPage(QWidget* page);
    QWidget* currentPage() const { return current; }

    // The picture every prepared page gets as its background; none by default.
    void setPageBackground(const QPixmap& picture) { background = picture; }

private:
    QPointer<QWidget> current;
    QPixmap background;
};

} // namespace rz::ui
