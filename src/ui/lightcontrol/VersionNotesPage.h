#pragma once
// The version-notes page: the tool's release notes, newest first, and the way back to the
// light-control page.
#include "ui/shell/Page.h"

#include <QPixmap>

namespace rz::ui {

class VersionNotesPage : public Page {
    Q_OBJECT
public:
    explicit VersionNotesPage(PageContext& context, QWidget* parent = nullptr);
    // The notes as the page shows them.
    static QString notesText();
};

// The picture page: the product picture (the personal picture when one is installed, else
// the model name and release).
class PicturePage : public Page {
    Q_OBJECT
public:
    explicit PicturePage(PageContext& context, QWidget* parent = nullptr);
    bool hasPicture() const { return !picture.isNull(); }

protected:
    void opened() override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture;
};

} // namespace rz::ui
