#include "ui/shell/MainWindow.h"

#include "ui/shell/PageHost.h"
#include "ui/shell/ShellGeometry.h"

#include <QCloseEvent>
#include <QPalette>

namespace rz::ui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("A01_MDI_Form"));
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(client);

    strip = new QWidget(client);
    strip->setObjectName(QStringLiteral("A02_Title"));
    strip->setGeometry(0, 0, geometry::titleBarWidth, geometry::titleBarHeight);
    // Until the title bar is embedded, the strip shows as a plain dark band.
    QPalette stripPalette = strip->palette();
    stripPalette.setColor(QPalette::Window, QColor(0x30, 0x30, 0x38));
    strip->setPalette(stripPalette);
    strip->setAutoFillBackground(true);

    pageHost = new PageHost(client);
    pageHost->setGeometry(0, geometry::titleBarHeight, geometry::visiblePageWidth,
                          geometry::visiblePageHeight);

    setFixedSize(geometry::mainWindowWidth, geometry::mainWindowHeight);
    setCaptionText(captionText);
}

void MainWindow::setCaptionText(const std::u16string& text)
{
    captionText = text;
    setWindowTitle(QString::fromStdU16String(mainWindowCaption(captionText, captionLook)));
}

void MainWindow::setCaptionPersonalization(const CaptionPersonalization& look)
{
    captionLook = look;
    setCaptionText(captionText);
}

void MainWindow::embedTitleBar(QWidget* bar)
{
    if (!bar || titleBar == bar)
        return;
    titleBar = bar;
    if (bar->parentWidget() != strip)
        bar->setParent(strip);
    bar->setGeometry(0, 0, geometry::titleBarWidth, geometry::titleBarHeight);
    bar->show();
}

void MainWindow::open()
{
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setFixedSize(geometry::mainWindowWidth, geometry::mainWindowHeight);
    show();
}

void MainWindow::centreDialogPage(QWidget* page)
{
    if (!page)
        return;
    // Designed in window coordinates: vertically centred in the window, lifted by the title bar.
    const int topTw = (geometry::mainWindowHeightTw - geometry::toTwips(page->height())) / 2
                      - geometry::titleBarHeightTw;
    const int leftTw = (geometry::mainWindowWidthTw - geometry::toTwips(page->width())) / 2;
    QPoint inClient(geometry::toPixels(leftTw), geometry::toPixels(topTw));
    QWidget* parent = page->parentWidget();
    if (parent && parent != client && client->isAncestorOf(parent))
        inClient = parent->mapFrom(client, inClient);
    page->move(inClient);
    page->show();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit closeRequested();
}

} // namespace rz::ui
