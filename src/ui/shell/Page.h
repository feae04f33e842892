#pragma once
// The one contract of every page: built from the page context, shown through open(). Opening
// puts the page into the page area, sets the live-output mode of its page number, applies the
// colour scheme the first time, tells the title bar, then runs the page's own opened().
//
// A page keeps only view state: its logic lives in core behind a view interface, and it
// repaints from the model's change notifications.
#include "core/app/Navigation.h"
#include "ui/shell/PageContext.h"

#include <QStringList>
#include <QWidget>

namespace rz::ui {

class Page : public QWidget {
    Q_OBJECT
public:
    Page(PageContext& context, PageId id, QWidget* parent = nullptr);

    PageId pageId() const { return id; }
    // Fun_窗体载入.
    void open();
    // A dialog-sized page shows centred over the page shown before it.
    virtual bool isDialog() const { return false; }

    // True while another operation holds the controller link.
    bool linkBusy() const;
    // Fun_PicAll_控件颜色初始化: open() runs it the first time.
    virtual void applyColourScheme(const ColourScheme& scheme);

protected:
    // The page's own part of opening, after it is visible and the live mode is set.
    virtual void opened() {}
    // Controls whose colours carry state the page draws itself; the scheme leaves them alone.
    virtual QStringList ownColouredControls() const { return {}; }
    PageContext& context;

private:
    PageId id;
    bool coloured = false;
};

} // namespace rz::ui
