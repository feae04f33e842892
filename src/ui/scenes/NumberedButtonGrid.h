#pragma once
// A grid of numbered buttons forming one control array ("Command场景(1)".."(50)"): the scene
// buttons and the effect buttons. Reports clicks by number; the owner sets captions and colours.
#include <QColor>
#include <QWidget>

#include <vector>

class QPushButton;

namespace rz::ui {

class NumberedButtonGrid : public QWidget {
    Q_OBJECT
public:
    NumberedButtonGrid(const QString& controlName, int count, int columns, QWidget* parent = nullptr);

    int count() const { return static_cast<int>(buttons.size()) - 1; }
    QPushButton* button(int i) const { return buttons.at(static_cast<std::size_t>(i)); }
    void setCaption(int i, const QString& caption);
    void setColour(int i, const QColor& colour);

signals:
    void clicked(int i);

private:
    std::vector<QPushButton*> buttons; // index 0 unused
};

} // namespace rz::ui
