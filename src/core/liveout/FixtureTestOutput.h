#pragma once
// The fixture-library page's per-tick output: the presets of the library's fixtures.
#include "core/fixtures/FixtureGroups.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/fixtures/FixtureTestFrame.h"
#include "core/liveout/LiveSender.h"

#include <functional>

namespace rz::liveout {

// Work for the fixture-library mode. `options` is asked on every tick, so the page's check
// box and group panel take effect on the next frame. The tables must outlive the sender.
LiveSender::ModeWork fixtureTestWork(const fixtures::FixtureLibrary& library,
                                     const fixtures::FixtureGroups& groups,
                                     std::function<fixtures::FixtureTestOptions()> options);

// Installs it as the fixture-library mode's work.
void installFixtureTestOutput(LiveSender& sender, const fixtures::FixtureLibrary& library,
                              const fixtures::FixtureGroups& groups,
                              std::function<fixtures::FixtureTestOptions()> options);

} // namespace rz::liveout
