#pragma once
// The material page's command row: file operations on the whole material, the built-in
// choosers, the demo, the jump and the chase tool.
#include <QWidget>

namespace rz::ui {

class MaterialCommandBar : public QWidget {
    Q_OBJECT
public:
    enum class Command {
        saveAs,
        import,
        copy,
        paste,
        remove,
        standardBuiltIns,
        personalBuiltIns,
        demo,
        jump,
        chaseTool,
    };
    explicit MaterialCommandBar(QWidget* parent = nullptr);

signals:
    void commandClicked(rz::ui::MaterialCommandBar::Command command);
};

} // namespace rz::ui
