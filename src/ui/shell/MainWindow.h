#pragma once
// The one window of the program: the title-bar strip on top, the page area below. Closing it
// does not close it: it asks for the exit countdown, which hides the window and ends the
// program itself.
#include "core/app/Caption.h"

#include <QMainWindow>
#include <QPointer>

#include <string>

namespace rz::ui {

class PageHost;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // The caption with the caller's text (a single space at start, later the show's name).
    void setCaptionText(const std::u16string& text);
    void setCaptionPersonalization(const CaptionPersonalization& look);

    PageHost* pages() const { return pageHost; }
    // The empty strip the title bar is embedded into.
    QWidget* titleStrip() const { return strip; }
    // Puts the title bar into the strip; a title bar already embedded is left alone.
    void embedTitleBar(QWidget* titleBar);

    // Shows the window at its designed size (1280 x 768, less on a smaller screen); it can be
    // resized and maximized, and the pages follow.
    void open();

    // Centres a dialog-like page (one smaller than the window) over the page area.
    void centreDialogPage(QWidget* page);

signals:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* client = nullptr;
    QWidget* strip = nullptr;
    PageHost* pageHost = nullptr;
    QPointer<QWidget> titleBar;
    CaptionPersonalization captionLook;
    std::u16string captionText = u" ";
};

} // namespace rz::ui
