#pragma once
// The two drawings of the universe monitor: the fixture tiles (colour and pan/tilt at a
// glance) and the channel list (levels grouped by fixture, free addresses plainly). Both only
// paint the model they are given; they hold no state of their own.
#include "core/liveout/MonitorModel.h"

#include <QWidget>

namespace rz::ui {

class FixtureTileView : public QWidget {
    Q_OBJECT
public:
    explicit FixtureTileView(const liveout::MonitorModel& model, QWidget* parent = nullptr);
    // After a rebuild: the number of tiles and so the height changed.
    void modelRebuilt();
    // The tile of fixture i, in this widget's coordinates; empty when it has none.
    QRect tileRect(int fixture) const;
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int columns(int width) const;
    const liveout::MonitorModel& model;
};

class UniverseListView : public QWidget {
    Q_OBJECT
public:
    explicit UniverseListView(const liveout::MonitorModel& model, QWidget* parent = nullptr);
    void modelRebuilt();
    QSize sizeHint() const override;
    // The text of the row of `address` under fixture `fixture` (0: the free addresses),
    // as drawn: "10  R  255".
    QString rowText(int fixture, int address) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Line {
        enum class Kind { Heading, Channel, Free } kind;
        int fixture = 0;
        int index = 0; // row within the fixture, or the free address
    };
    void layoutLines();

    const liveout::MonitorModel& model;
    std::vector<Line> lines;
};

} // namespace rz::ui
