#pragma once
// The universe monitor: a window beside any page that shows what the live sender last built
// (whether or not a controller is connected): the 512 levels grouped by fixture, the relays
// and dimmers, and one tile per fixture in its colour. Hidden it costs nothing: it follows
// the live tick only while shown.
#include "core/app/Notifier.h"
#include "core/app/SettingsCatalogue.h"
#include "core/liveout/MonitorModel.h"

#include <QWidget>

namespace rz::liveout {
class LiveSender;
}
namespace rz::show {
struct Show;
}

namespace rz::ui {

class FixtureTileView;
class RoomStripView;
class UniverseListView;

inline constexpr std::u16string_view kMonitorGeometryKey = u"监视窗口位置";

class MonitorWindow : public QWidget {
    Q_OBJECT
public:
    // The sender and the show must outlive the window.
    MonitorWindow(liveout::LiveSender& live, show::Show& show, SettingsPaths paths, QWidget* parent = nullptr);
    ~MonitorWindow() override;

    // Shows it where it was last time, or hides it.
    void toggle();
    const liveout::MonitorModel& model() const { return monitor; }
    FixtureTileView* tiles() const { return tileView; }
    UniverseListView* channels() const { return listView; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refresh();
    void storeGeometry();

    liveout::LiveSender& live;
    show::Show& edited;
    SettingsPaths paths;
    liveout::MonitorModel monitor;
    FixtureTileView* tileView = nullptr;
    UniverseListView* listView = nullptr;
    RoomStripView* roomView = nullptr;
    std::vector<Subscription> watches;
    Subscription tickWatch;
    bool dirty = true;
    bool placed = false;
};

} // namespace rz::ui
