#include "ui/shell/RelayDebugPanel.h"

#include "core/liveout/DebugRelays.h"
#include "ui/look/ColourLook.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace rz::ui {

namespace {

// The two relay pictures: a dim lamp for 0, a lit one for a forced relay.
QPixmap relayPicture(int k, bool forced)
{
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x20, 0x20, 0x20));
    p.setBrush(forced ? QColor(0xff, 0x40, 0x30) : QColor(0x58, 0x5c, 0x64));
    p.drawEllipse(QRectF(1, 1, 20, 20));
    QFont f;
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(forced ? Qt::white : QColor(0xd0, 0xd0, 0xd0));
    p.drawText(QRectF(0, 0, 22, 22), Qt::AlignCenter, QString::number(k));
    return pm;
}

} // namespace

RelayDebugPanel::RelayDebugPanel(liveout::DebugRelays& debugRelays, QWidget* parent)
    : QFrame(parent), relays(debugRelays)
{
    setObjectName(QStringLiteral("Frame继电器通道颜色"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    caption = new QLabel(tr("继电器通道"), this);
    caption->setObjectName(QStringLiteral("Label继电器通道"));
    grid->addWidget(caption, 0, 0, 1, 12);
    for (int k = 1; k <= liveout::kShownDebugRelays; ++k) {
        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image调试继电器(%1)").arg(k));
        image->setFixedSize(22, 22);
        image->setCursor(Qt::PointingHandCursor);
        image->setAccessibleName(tr("继电器%1").arg(k));
        image->installEventFilter(this);
        images[k] = image;
        grid->addWidget(image, 1 + (k - 1) / 12, (k - 1) % 12);
    }
    watch = relays.changed.subscribe([this] { redraw(); });
    redraw();
}

void RelayDebugPanel::setColours(uint32_t back, uint32_t text)
{
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral(".QFrame{background-color:%1;}").arg(windowsColour(back).name()));
    caption->setStyleSheet(QStringLiteral("color:%1;").arg(windowsColour(text).name()));
}

void RelayDebugPanel::redraw()
{
    for (int k = 1; k <= liveout::kShownDebugRelays; ++k) {
        const bool forced = relays.forced(k);
        if (images[k]->property("forced").isValid() && images[k]->property("forced").toBool() == forced)
            continue;
        images[k]->setPixmap(relayPicture(k, forced));
        images[k]->setProperty("forced", forced);
    }
}

bool RelayDebugPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int k = 1; k <= liveout::kShownDebugRelays; ++k) {
            if (images[k] == watched) {
                relays.toggle(k);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace rz::ui
