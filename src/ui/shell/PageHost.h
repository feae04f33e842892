#pragma once
// The page area of the main window. Pages are children stacked at the same place, each as
// large as the area; showing a page raises it over the earlier ones, which stay where they
// are underneath. A dialog-sized page keeps its own size and is centred by its opener.
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

    // Makes `page` a hidden child at the page origin with the size of the area (a dialog page
    // keeps its size) and the page background (when one is set).
    void preparePage(QWidget* page);
    void showPage(QWidget* page);
    QWidget* currentPage() const { return current; }
    // Hides a dialog page; the page it was shown over is the current one again.
    void closeDialogPage(QWidget* page);

    // Centres a dialog page over the window, lifted by the title bar, as it was designed for
    // the fixed window; never above or left of the page area.
    void centreDialogPage(QWidget* page);

    // Marks a page that keeps its own size (the download page).
    static void markDialogPage(QWidget* page);
    static bool isDialogPage(const QWidget* page);

    // The height of the title strip above this area in the window.
    void setTitleHeight(int height) { titleHeight = height; }

    // The picture every prepared page gets as its background; none by default.
    void setPageBackground(const QPixmap& picture) { background = picture; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<QWidget> current;
    QPointer<QWidget> beneathDialog;
    QPixmap background;
    int titleHeight = 0;
};

} // namespace rz::ui
