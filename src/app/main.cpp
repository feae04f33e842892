#include "ui/shell/MainWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    rz::ui::MainWindow window;
    window.show();
    return app.exec();
}
