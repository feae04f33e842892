#pragma once
// The title bar's relay debugging: 24 relay images that force a relay on from the PC. It
// draws the core's debug relays and passes each click in.
#include "core/app/Notifier.h"

#include <QFrame>

#include <array>
#include <cstdint>

class QLabel;

namespace rz::liveout {
class DebugRelays;
}

namespace rz::ui {

class RelayDebugPanel : public QFrame {
    Q_OBJECT
public:
    // The relays must outlive the panel.
    explicit RelayDebugPanel(liveout::DebugRelays& relays, QWidget* parent = nullptr);

    void setColours(uint32_t back, uint32_t text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void redraw();

    liveout::DebugRelays& relays;
    Subscription watch;
    std::array<QLabel*, 25> images{}; // index 0 unused
    QLabel* caption = nullptr;
};

} // namespace rz::ui
