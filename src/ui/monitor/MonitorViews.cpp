#include "ui/monitor/MonitorViews.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace rz::ui {

namespace {

constexpr int kTileWidth = 120;
constexpr int kTileHeight = 96;
constexpr int kTileGap = 8;
constexpr int kLineHeight = 18;

QColor colourOf(const liveout::FixtureLook& look)
{
    if (!look.hasColour)
        return QColor(0x50, 0x50, 0x58);
    return QColor(look.colour.r, look.colour.g, look.colour.b);
}

QString nameOf(const liveout::MonitorModel::FixtureGroup& group)
{
    const QString name = QString::fromStdU16String(group.name);
    return name.isEmpty() ? QString::number(group.fixture) : QStringLiteral("%1 %2").arg(group.fixture).arg(name);
}

} // namespace

FixtureTileView::FixtureTileView(const liveout::MonitorModel& model, QWidget* parent) : QWidget(parent), model(model)
{
    setObjectName(QStringLiteral("MonitorFixtureTiles"));
    setAccessibleName(tr("灯具视图"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

int FixtureTileView::columns(int width) const
{
    return std::max(1, (width - kTileGap) / (kTileWidth + kTileGap));
}

int FixtureTileView::heightForWidth(int width) const
{
    const int count = static_cast<int>(model.fixtures().size());
    const int rows = (count + columns(width) - 1) / columns(width);
    return kTileGap + std::max(rows, 1) * (kTileHeight + kTileGap);
}

QSize FixtureTileView::sizeHint() const
{
    return {5 * (kTileWidth + kTileGap) + kTileGap, heightForWidth(5 * (kTileWidth + kTileGap) + kTileGap)};
}

void FixtureTileView::modelRebuilt()
{
    setMinimumHeight(heightForWidth(width()));
    updateGeometry();
    update();
}

void FixtureTileView::resizeEvent(QResizeEvent*)
{
    setMinimumHeight(heightForWidth(width()));
}

QRect FixtureTileView::tileRect(int fixture) const
{
    const auto& groups = model.fixtures();
    const int cols = columns(width());
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].fixture != fixture)
            continue;
        const int n = static_cast<int>(i);
        return {kTileGap + (n % cols) * (kTileWidth + kTileGap), kTileGap + (n / cols) * (kTileHeight + kTileGap),
                kTileWidth, kTileHeight};
    }
    return {};
}

void FixtureTileView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), QColor(0x1c, 0x1e, 0x22));
    p.setRenderHint(QPainter::Antialiasing);
    const QFont base = font();
    for (const auto& group : model.fixtures()) {
        const QRect tile = tileRect(group.fixture);
        if (!tile.intersects(event->rect()))
            continue;
        p.setPen(group.overlaps ? QPen(QColor(0xd0, 0x30, 0x30), 2) : QPen(QColor(0x60, 0x64, 0x6c)));
        p.setBrush(QColor(0x2a, 0x2d, 0x34));
        p.drawRoundedRect(tile, 6, 6);
        // The light: a disc in the fixture's colour.
        const QRect light(tile.left() + 8, tile.top() + 8, 56, 56);
        p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
        p.setBrush(colourOf(group.look));
        p.drawEllipse(light);
        // A moving fixture: where it points, as a dot in a square of pan and tilt.
        if (group.look.pan || group.look.tilt) {
            const QRect field(tile.right() - 48, tile.top() + 8, 40, 40);
            p.setPen(QColor(0x80, 0x84, 0x8c));
            p.setBrush(Qt::NoBrush);
            p.drawRect(field);
            const double x = field.left() + group.look.pan.value_or(0.5) * field.width();
            const double y = field.top() + group.look.tilt.value_or(0.5) * field.height();
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xff, 0xd0, 0x40));
            p.drawEllipse(QPointF(x, y), 4, 4);
        }
        QFont small = base;
        small.setPixelSize(12);
        p.setFont(small);
        p.setPen(QColor(0xe8, 0xe8, 0xe8));
        p.drawText(QRect(tile.left() + 6, tile.bottom() - 26, tile.width() - 12, 20), Qt::AlignLeft | Qt::AlignVCenter,
                   p.fontMetrics().elidedText(nameOf(group), Qt::ElideRight, tile.width() - 12));
    }
}

UniverseListView::UniverseListView(const liveout::MonitorModel& model, QWidget* parent) : QWidget(parent), model(model)
{
    setObjectName(QStringLiteral("MonitorChannelList"));
    setAccessibleName(tr("通道列表"));
    layoutLines();
}

void UniverseListView::layoutLines()
{
    lines.clear();
    const auto& groups = model.fixtures();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        lines.push_back({Line::Kind::Heading, groups[g].fixture, 0});
        for (std::size_t r = 0; r < groups[g].rows.size(); ++r)
            lines.push_back({Line::Kind::Channel, groups[g].fixture, static_cast<int>(r)});
    }
    lines.push_back({Line::Kind::Heading, 0, 0});
    for (int address : model.freeAddresses())
        lines.push_back({Line::Kind::Free, 0, address});
    setMinimumHeight(static_cast<int>(lines.size()) * kLineHeight + 4);
}

void UniverseListView::modelRebuilt()
{
    layoutLines();
    updateGeometry();
    update();
}

QSize UniverseListView::sizeHint() const
{
    return {360, static_cast<int>(lines.size()) * kLineHeight + 4};
}

QString UniverseListView::rowText(int fixture, int address) const
{
    if (fixture == 0)
        return QStringLiteral("%1  %2").arg(address).arg(model.level(address));
    for (const auto& group : model.fixtures()) {
        if (group.fixture != fixture)
            continue;
        for (const auto& row : group.rows)
            if (row.address == address)
                return QStringLiteral("%1  %2  %3").arg(row.address).arg(QString::fromStdU16String(row.definition)).arg(row.level);
    }
    return {};
}

void UniverseListView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), palette().base());
    const int first = std::max(0, event->rect().top() / kLineHeight);
    const int last = std::min(static_cast<int>(lines.size()) - 1, event->rect().bottom() / kLineHeight);
    const auto& groups = model.fixtures();
    const int barLeft = 190;
    const int barWidth = std::max(40, width() - barLeft - 10);
    for (int i = first; i <= last; ++i) {
        const Line& line = lines[static_cast<std::size_t>(i)];
        const QRect rowRect(0, i * kLineHeight, width(), kLineHeight);
        if (line.kind == Line::Kind::Heading) {
            p.fillRect(rowRect, QColor(0xdd, 0xe3, 0xee));
            QFont bold = font();
            bold.setBold(true);
            p.setFont(bold);
            p.setPen(Qt::black);
            QString title = tr("未使用的地址");
            for (const auto& group : groups)
                if (group.fixture == line.fixture)
                    title = nameOf(group) + (group.overlaps ? tr("  (地址重叠)") : QString());
            p.drawText(rowRect.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
            p.setFont(font());
            continue;
        }
        int address = line.index;
        QString definition;
        bool shared = false;
        if (line.kind == Line::Kind::Channel) {
            for (const auto& group : groups) {
                if (group.fixture != line.fixture)
                    continue;
                const auto& row = group.rows[static_cast<std::size_t>(line.index)];
                address = row.address;
                definition = QString::fromStdU16String(row.definition);
                shared = row.shared;
            }
        }
        const uint8_t level = model.level(address);
        p.setPen(shared ? QColor(0xc0, 0x20, 0x20) : palette().text().color());
        p.drawText(QRect(6, rowRect.top(), 44, kLineHeight), Qt::AlignVCenter | Qt::AlignRight, QString::number(address));
        p.drawText(QRect(58, rowRect.top(), 84, kLineHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   shared ? definition + QStringLiteral(" *") : definition);
        p.drawText(QRect(142, rowRect.top(), 40, kLineHeight), Qt::AlignVCenter | Qt::AlignRight, QString::number(level));
        p.fillRect(QRect(barLeft, rowRect.top() + 4, barWidth, kLineHeight - 8), QColor(0xe4, 0xe4, 0xe4));
        p.fillRect(QRect(barLeft, rowRect.top() + 4, barWidth * level / 255, kLineHeight - 8), QColor(0x30, 0x80, 0xd0));
    }
}

} // namespace rz::ui
