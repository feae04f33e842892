// The rooms file: rooms in order, comments and blank lines skipped, each refusal with its line.
#include "ctl/RoomsFile.h"

#include <gtest/gtest.h>

namespace rz::test {
namespace {

using rz::ctl::parseRooms;
using rz::ctl::Room;
using rz::ctl::RoomsRefusal;

TEST(RoomsFile, RoomsInOrderWithCommentsAndBlankLinesSkipped)
{
    // UTF-8 with a byte-order mark and CR LF, as a Windows editor saves it.
    const char* const text = "\xEF\xBB\xBF# venue A, second floor\r\n"
                             "\r\n"
                             "201\tudp:192.0.2.201:8899   # by the stairs\r\n"
                             "  包厢202 serial:/dev/ttyUSB0\r\n"
                             "VIP-1 udp:vip1.venue.example:8899";
    const auto parsed = parseRooms(QString::fromUtf8(text));
    ASSERT_TRUE(std::holds_alternative<std::vector<Room>>(parsed)) << std::get<RoomsRefusal>(parsed).message;
    const auto& rooms = std::get<std::vector<Room>>(parsed);
    ASSERT_EQ(rooms.size(), 3u);
    EXPECT_EQ(rooms[0].name, QStringLiteral("201"));
    EXPECT_EQ(rooms[0].line, 3);
    EXPECT_EQ(rooms[0].link.kind, rz::ctl::LinkAddress::Kind::udp);
    EXPECT_EQ(rooms[0].link.host, QStringLiteral("192.0.2.201"));
    EXPECT_EQ(rooms[0].link.udpPort, 8899);
    EXPECT_EQ(rooms[1].name, QStringLiteral("包厢202"));
    EXPECT_EQ(rooms[1].link.kind, rz::ctl::LinkAddress::Kind::serial);
    EXPECT_EQ(rooms[1].link.port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(rooms[2].linkText, QStringLiteral("udp:vip1.venue.example:8899"));
    EXPECT_EQ(rooms[2].line, 5);
}

TEST(RoomsFile, BadLinesAreRefusedWithTheirLineNumber)
{
    const struct {
        const char* text;
        int line;
        const char* message;
    } cases[] = {
        {"101 udp:192.0.2.1:8899\n102\n", 2, "a room is a name and a link"},
        {"101 udp:192.0.2.1:8899 extra\n", 1, "a room is a name and a link"},
        {"# rooms\n\n101 tcp:192.0.2.1:8899\n", 3, "is neither serial:PORT nor udp:HOST:PORT"},
        {"101 udp:192.0.2.1:70000\n", 1, "is neither serial:PORT nor udp:HOST:PORT"},
        {"101 serial:\n", 1, "is neither serial:PORT nor udp:HOST:PORT"},
        {"a/b udp:192.0.2.1:8899\n", 1, "cannot name a file"},
        {"a:b udp:192.0.2.1:8899\n", 1, "cannot name a file"},
        {".. udp:192.0.2.1:8899\n", 1, "cannot name a file"},
        {"Bar udp:192.0.2.1:8899\n\nbar udp:192.0.2.2:8899\n", 3, "is listed twice (first on line 1)"},
        {"101 udp:192.0.2.1:8899\n102 udp:192.0.2.1:8899\n", 2, "share the link"},
        {"# nothing here\n\n", 0, "no room is listed"},
        {"", 0, "no room is listed"},
    };
    for (const auto& c : cases) {
        const auto parsed = parseRooms(QString::fromUtf8(c.text));
        ASSERT_TRUE(std::holds_alternative<RoomsRefusal>(parsed)) << c.text;
        const RoomsRefusal& r = std::get<RoomsRefusal>(parsed);
        EXPECT_EQ(r.line, c.line) << c.text;
        EXPECT_NE(r.message.find(c.message), std::string::npos) << c.text << ": " << r.message;
    }
}

} // namespace
} // namespace rz::test
