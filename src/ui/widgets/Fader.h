#pragma once
// An on-screen fader: a knob 250 layout units high (15 units per pixel) that moves in the
// fader's height and shows its value, 0..faderMax, written in red. Dragging with the left
// button moves the knob's centre to the pointer and reports each new value.
#include <QWidget>

namespace rz::ui {

class Fader : public QWidget {
    Q_OBJECT
public:
    explicit Fader(QWidget* parent = nullptr);

    void setFaderMax(int max);
    int faderMax() const { return maximum; }
    // Shows the value without reporting it (faderDraw).
    void setValue(int value);
    int value() const { return current; }
    bool dragging() const { return isDragging; }

    // The knob's top in layout units, and the layout height.
    int knobTopUnits() const;
    int heightUnits() const;

signals:
    // The user moved the knob to a new value (the page's change handler).
    void valueDragged(int value);
    // The pointer came over the fader (pages point the wheel at it).
    void pointerEntered();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;

private:
    void followPointer(int pointerYPixels);

    int maximum = 255;
    int current = 0;
    int dragTopUnits = -1; // the knob's top while dragging, so it sits exactly at the pointer
    bool isDragging = false;
};

} // namespace rz::ui
