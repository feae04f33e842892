#include "core/liveout/DebugRelays.h"

#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"

#include <string>

namespace rz::liveout {

namespace {

std::u16string relayKey(int k)
{
    return std::u16string(keys::kRelayDebug) + static_cast<char16_t>(u'0' + k / 10)
           + static_cast<char16_t>(u'0' + k % 10);
}

} // namespace

void DebugRelays::load()
{
    for (int k = 1; k <= kStoredDebugRelays; ++k) {
        const auto v = parseSettingNumber(readKey(workFile, relayKey(k)));
        if (v && *v >= 0 && *v <= 255)
            relays[static_cast<std::size_t>(k)] = static_cast<uint8_t>(*v);
    }
    changed.notify();
}

void DebugRelays::toggle(int k)
{
    if (k < 1 || k > kShownDebugRelays)
        return;
    uint8_t& relay = relays[static_cast<std::size_t>(k)];
    relay = relay == 0 ? 255 : 0;
    writeKey(workFile, relayKey(k), relay == 0 ? u"0" : u"255");
    changed.notify();
}

} // namespace rz::liveout
