#include "ui/shell/MainWindow.h"

#include <QLabel>
#include <QVBoxLayout>

namespace rz::ui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("A01_MDI_Form");
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(new QLabel(QStringLiteral("RZ-760"), central));
    setCentralWidget(central);
    resize(1280, 768);
}

} // namespace rz::ui
