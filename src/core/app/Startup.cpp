#include "core/app/Startup.h"

namespace rz {

void StartupSequence::add(StartupStep step, std::function<void()> work)
{
    if (!work)
        return;
    addCheck(step, [w = std::move(work)] {
        w();
        return true;
    });
}

void StartupSequence::addCheck(StartupStep step, std::function<bool()> check)
{
    if (check)
        steps[static_cast<std::size_t>(step)].push_back(std::move(check));
}

bool StartupSequence::run()
{
    for (const auto& step : steps)
        for (const auto& work : step)
            if (!work())
                return false;
    return true;
}

} // namespace rz
