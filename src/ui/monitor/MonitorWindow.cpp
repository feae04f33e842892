#include "ui/monitor/MonitorWindow.h"

#include "core/app/SettingsFile.h"
#include "core/liveout/LiveSender.h"
#include "core/show/Show.h"
#include "ui/monitor/MonitorViews.h"

#include <QByteArray>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

namespace rz::ui {

// The 24 relays as lamps and, with thyristor dimming, the 8 dimmer levels.
class RoomStripView : public QWidget {
public:
    explicit RoomStripView(const liveout::MonitorModel& model, QWidget* parent = nullptr) : QWidget(parent), model(model)
    {
        setObjectName(QStringLiteral("MonitorRoomOutputs"));
        setAccessibleName(tr("继电器和调光"));
        setFixedHeight(40);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.drawText(QRect(6, 0, 60, 20), Qt::AlignVCenter, tr("继电器"));
        for (int k = 1; k <= liveout::kRelayCount; ++k) {
            const QRectF lamp(66 + (k - 1) * 22, 3, 16, 16);
            p.setPen(QColor(0x30, 0x30, 0x30));
            p.setBrush(model.relayOn(k) ? QColor(0xff, 0x50, 0x30) : QColor(0xb0, 0xb4, 0xbc));
            p.drawEllipse(lamp);
            p.setPen(Qt::black);
            QFont f = font();
            f.setPixelSize(9);
            p.setFont(f);
            p.drawText(QRectF(lamp.left() - 2, 20, 20, 14), Qt::AlignCenter, QString::number(k));
        }
        p.setFont(font());
        if (!model.dimmersShown())
            return;
        const int left = 66 + 24 * 22 + 16;
        p.drawText(QRect(left, 0, 50, 20), Qt::AlignVCenter, tr("调光"));
        for (int k = 1; k <= liveout::kDimmerCount; ++k)
            p.drawText(QRect(left + 44 + (k - 1) * 36, 0, 34, 20), Qt::AlignCenter, QString::number(model.dimmer(k)));
    }

private:
    const liveout::MonitorModel& model;
};

MonitorWindow::MonitorWindow(liveout::LiveSender& live, show::Show& show, SettingsPaths paths, QWidget* parent)
    : QWidget(parent, Qt::Window), live(live), edited(show), paths(std::move(paths))
{
    setObjectName(QStringLiteral("MonitorWindow"));
    setWindowTitle(tr("监视 - 当前输出"));
    resize(980, 620);

    roomView = new RoomStripView(monitor, this);
    tileView = new FixtureTileView(monitor, this);
    listView = new UniverseListView(monitor, this);

    auto* tileScroll = new QScrollArea(this);
    tileScroll->setWidgetResizable(true);
    tileScroll->setWidget(tileView);
    auto* listScroll = new QScrollArea(this);
    listScroll->setWidgetResizable(true);
    listScroll->setWidget(listView);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(tileScroll);
    split->addWidget(listScroll);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->addWidget(roomView);
    column->addWidget(split, 1);

    // Only marks the model stale; the next tick rebuilds it once.
    auto stale = [this] { dirty = true; };
    watches.push_back(edited.library.fixtureChanged.subscribe([stale](int) { stale(); }));
    watches.push_back(edited.library.libraryChanged.subscribe(stale));
    watches.push_back(edited.replaced.subscribe(stale));
    watches.push_back(edited.channelDefinitions.renamed.subscribe([stale](int) { stale(); }));
}

MonitorWindow::~MonitorWindow()
{
    if (isVisible())
        storeGeometry();
}

void MonitorWindow::toggle()
{
    if (isVisible()) {
        hide();
        return;
    }
    if (!placed) {
        placed = true;
        const QByteArray stored = QByteArray::fromBase64(
            QString::fromStdU16String(readKey(paths.work, kMonitorGeometryKey)).toLatin1());
        if (!stored.isEmpty())
            restoreGeometry(stored);
    }
    show();
    raise();
}

void MonitorWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    dirty = true;
    refresh();
    tickWatch = live.ticked.subscribe([this] { refresh(); });
}

void MonitorWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    tickWatch.reset(); // hidden, it follows nothing
    storeGeometry();
}

void MonitorWindow::refresh()
{
    if (dirty) {
        monitor.rebuild(edited.library, edited.channelDefinitions);
        dirty = false;
        monitor.update(live.dmxFrame(), live.roomOutputs());
        tileView->modelRebuilt();
        listView->modelRebuilt();
    } else {
        monitor.update(live.dmxFrame(), live.roomOutputs());
    }
    tileView->update();
    listView->update();
    roomView->update();
}

void MonitorWindow::storeGeometry()
{
    writeKey(paths.work, kMonitorGeometryKey, QString::fromLatin1(saveGeometry().toBase64()).toStdU16String());
}

} // namespace rz::ui
