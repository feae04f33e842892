#include "ui/shell/MainWindow.h"

#include "ui/shell/PageHost.h"
#include "ui/shell/ShellGeometry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QPalette>
#include <QVBoxLayout>

namespace rz::ui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("A01_MDI_Form"));
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(client);

    strip = new QWidget(client);
    strip->setObjectName(QStringLiteral("A02_Title"));
    strip->setFixedHeight(geometry::titleBarHeight);
    // Until the title bar is embedded, the strip shows as a plain dark band.
    QPalette stripPalette = strip->palette();
    stripPalette.setColor(QPalette::Window, QColor(0x30, 0x30, 0x38));
    strip->setPalette(stripPalette);
    strip->setAutoFillBackground(true);
    auto* stripLayout = new QVBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);

    pageHost = new PageHost(client);
    pageHost->setTitleHeight(geometry::titleBarHeight);

    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(strip);
    column->addWidget(pageHost, 1);

    setMinimumSize(geometry::minimumWindowWidth, geometry::minimumWindowHeight);
    resize(geometry::mainWindowWidth, geometry::mainWindowHeight);
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
    strip->layout()->addWidget(bar);
    bar->show();
}

void MainWindow::open()
{
    // The designed size, or the screen's free area when that is smaller (the offscreen
    // platform of the tests has no real screen to fit).
    QSize size(geometry::mainWindowWidth, geometry::mainWindowHeight);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && QGuiApplication::platformName() != QStringLiteral("offscreen"))
        size = size.boundedTo(screen->availableSize());
    resize(size.expandedTo(minimumSize()));
    show();
}

void MainWindow::centreDialogPage(QWidget* page)
{
    pageHost->centreDialogPage(page);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit closeRequested();
}

} // namespace rz::ui
