#pragma once
#include <QMainWindow>

namespace rz::ui {

// The one window of the program: the title-bar strip on top, the page area below.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace rz::ui
