#include "core/app/SettingsFile.h"
#include "core/liveout/DebugRelays.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::liveout;

TEST(DebugRelays, LoadKeepsValidLevelsAndToggleStoresAtOnce)
{
    test::TempDir dir;
    const auto work = dir / "work.ini";
    test::writeText(work, "调试继电器05=255\r\n调试继电器07=300\r\n调试继电器24=abc\r\n调试继电器30=255\r\n");
    DebugRelays relays(work);
    int changes = 0;
    const Subscription watch = relays.changed.subscribe([&] { ++changes; });
    relays.load();
    EXPECT_EQ(relays.levels()[5], 255);
    EXPECT_EQ(relays.levels()[7], 0);   // above 255: ignored
    EXPECT_EQ(relays.levels()[24], 0);  // not a number
    EXPECT_EQ(relays.levels()[30], 255); // kept and sent, though not shown
    EXPECT_EQ(changes, 1);

    relays.toggle(3);
    EXPECT_TRUE(relays.forced(3));
    EXPECT_EQ(readKey(work, u"调试继电器03"), u"255");
    relays.toggle(3);
    EXPECT_EQ(readKey(work, u"调试继电器03"), u"0");
    relays.toggle(25); // not a shown relay
    relays.toggle(0);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(readKey(work, u"调试继电器25"), u"");
}
