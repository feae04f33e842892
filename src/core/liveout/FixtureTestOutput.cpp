#include "core/liveout/FixtureTestOutput.h"

#include <utility>

namespace rz::liveout {

LiveSender::ModeWork fixtureTestWork(const fixtures::FixtureLibrary& library,
                                     const fixtures::FixtureGroups& groups,
                                     std::function<fixtures::FixtureTestOptions()> options)
{
    return [&library, &groups, options = std::move(options)](LiveBuffers& buffers) {
        const fixtures::FixtureTestOptions o = options ? options() : fixtures::FixtureTestOptions{};
        fixtures::buildFixtureTestFrame(library, groups, o, buffers.frame);
    };
}

void installFixtureTestOutput(LiveSender& sender, const fixtures::FixtureLibrary& library,
                              const fixtures::FixtureGroups& groups,
                              std::function<fixtures::FixtureTestOptions()> options)
{
    sender.setModeWork(kModeFixtureLibrary, fixtureTestWork(library, groups, std::move(options)));
}

} // namespace rz::liveout
