#include "ui/widgets/Fader.h"

#include "core/app/FaderMath.h"
#include "ui/shell/ShellGeometry.h"

#include <QMouseEvent>
#include <QPainter>

namespace rz::ui {

namespace {

int toUnits(int pixels)
{
    return pixels * geometry::twipsPerPixel;
}

double toPixelsExact(int units)
{
    return static_cast<double>(units) / geometry::twipsPerPixel;
}

} // namespace

Fader::Fader(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(false);
    setMinimumSize(24, 60);
    setCursor(Qt::PointingHandCursor);
}

void Fader::setFaderMax(int max)
{
    maximum = std::max(0, max);
    setValue(current);
}

void Fader::setValue(int value)
{
    const int v = std::clamp(value, 0, maximum);
    if (v == current && !isDragging)
        return;
    current = v;
    update();
}

int Fader::heightUnits() const
{
    return toUnits(height());
}

int Fader::knobTopUnits() const
{
    if (isDragging && dragTopUnits >= 0)
        return dragTopUnits;
    return faderKnobTopFor(maximum, heightUnits(), current);
}

void Fader::followPointer(int pointerYPixels)
{
    dragTopUnits = faderKnobTopWhileDragging(heightUnits(), toUnits(pointerYPixels));
    const int v = faderValueAt(maximum, heightUnits(), dragTopUnits);
    update();
    if (v != current) {
        current = v;
        emit valueDragged(v);
    }
}

void Fader::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(e);
    isDragging = true;
    followPointer(e->position().toPoint().y());
}

void Fader::mouseMoveEvent(QMouseEvent* e)
{
    if (isDragging && (e->buttons() & Qt::LeftButton))
        followPointer(e->position().toPoint().y());
}

void Fader::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isDragging)
        return QWidget::mouseReleaseEvent(e);
    isDragging = false;
    dragTopUnits = -1;
    update();
}

void Fader::enterEvent(QEnterEvent* e)
{
    QWidget::enterEvent(e);
    emit pointerEntered();
}

void Fader::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all = rect();
    p.fillRect(all, QColor(0x20, 0x22, 0x28));
    // The slot the knob runs in.
    const double slotWidth = std::max(2.0, width() / 8.0);
    p.fillRect(QRectF((width() - slotWidth) / 2, 2, slotWidth, height() - 4), QColor(0x0a, 0x0a, 0x0c));

    const double top = toPixelsExact(knobTopUnits());
    const double knobHeight = toPixelsExact(kFaderKnobHeight);
    const QRectF knob(1, top, width() - 2, knobHeight);
    p.setPen(QColor(0x90, 0x90, 0x98));
    p.setBrush(isDragging ? QColor(0xe8, 0xe8, 0xf0) : QColor(0xd0, 0xd0, 0xd8));
    p.drawRoundedRect(knob, 2, 2);

    QFont f = font();
    f.setPixelSize(std::max(8, static_cast<int>(knobHeight) - 4));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::red);
    p.drawText(knob, Qt::AlignCenter, QString::number(current));
}

} // namespace rz::ui
