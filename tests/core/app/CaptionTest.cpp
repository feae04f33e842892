#include "core/app/Caption.h"

#include <gtest/gtest.h>

#include <vector>

using namespace rz;

TEST(Caption, ModelAndReleaseOrThePersonalVersionTextThenTheTextInBrackets)
{
    struct Case {
        CaptionPersonalization look;
        std::u16string text;
        std::u16string expected;
    };
    const std::vector<Case> cases{
        {{}, u" ", u"RZ-760 A16.2    [   ]"}, // as set at start-up
        {{}, u"SHOW", u"RZ-760 A16.2    [ SHOW ]"},
        {{false, u"星光KTV", 1}, u"SHOW", u"RZ-760 A16.2    [ SHOW ]"}, // switched off: text unused
        {{true, u"星光KTV", 0}, u"SHOW", u"星光KTV    [ SHOW ]"},
        {{true, u"星光KTV", -1}, u"SHOW", u"星光KTV    [ SHOW ]"},
        {{true, u"星光KTV", 1}, u"SHOW", u"星光KTV A16.2    [ SHOW ]"},
        {{true, u"星光KTV", 7}, u"SHOW", u"星光KTV A16.2    [ SHOW ]"},
        {{true, u"", 0}, u"SHOW", u"    [ SHOW ]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mainWindowCaption(c.text, c.look), c.expected)
            << "on=" << c.look.on << " useOriginal=" << c.look.useOriginalVersion;
}
