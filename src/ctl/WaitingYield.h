#pragma once
// The core's Yield for rz760ctl: runs the calling thread's events, sleeping until one arrives
// (a datagram, serial data) or the next tick, so a wait costs no processor time. io::QtYield
// returns at once and so spins a core through every wait; with one wait per room of a venue
// that would starve the rooms' own traffic.
#include "core/app/Seams.h"

#include <QTimer>

namespace rz::ctl {

class WaitingYield : public Yield {
public:
    // Waits end at most this late.
    static constexpr int kTickMs = 5;

    // Lives in the thread it is created in; yield() only from there.
    WaitingYield();
    void yield() override;

private:
    QTimer tick;
};

} // namespace rz::ctl
