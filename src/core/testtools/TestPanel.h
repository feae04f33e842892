#pragma once
// The test page's messages: scenes, room functions, exhaust fan and air conditioner, VOD and
// internal keys, raw bytes for the wall-panel and VOD ports, the test functions switch and
// the automatic bass. Every message is a CE frame whose first payload byte picks the function.
#include "core/link/Link.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rz::testtools {

// CE sub-commands the test page sends besides the room functions of link::cmd::ce.
inline constexpr uint8_t kVodKey = 0x22;
inline constexpr uint8_t kRoomControl = 0x25; // then 1 exhaust fan, 2 AC mode, 3 AC fan
inline constexpr uint8_t kInternalKey = 0x30;
inline constexpr uint8_t kExhaustFan = 1, kAirConditionerMode = 2, kAirConditionerFan = 3;
// Second byte of a 0x19 message.
inline constexpr uint8_t kWallPanelPort = 0xA1, kVodPort = 0xA2;
inline constexpr uint8_t kTestFunctionsOn = 0x88, kTestFunctionsOff = 0x44;

inline constexpr std::u16string_view kDataError = u"-----数据错误-----";

// Spaces removed, then two characters per byte; a last single character is one digit.
// Empty optional when a pair is not hexadecimal.
std::optional<std::vector<uint8_t>> hexPairBytes(std::u16string_view text);
// The ready-made frame text of a one-byte CE function: "FAF5AA55 0009 CE15 6C" for the cheer.
std::string roomFunctionFrameText(uint8_t function);
// "A1 B2 0C " for the received-data boxes.
std::u16string receivedBytesText(std::span<const uint8_t> bytes);

// Automatic bass: stopped, every 0.5 s, every 1 s (at 100 ms a tick).
enum class AutoBass : uint8_t { Stopped = 0, HalfSecond = 1, OneSecond = 2 };
std::u16string_view autoBassCaption(AutoBass state);

class TestPanelView {
public:
    virtual ~TestPanelView() = default;
    virtual void showInformation(const std::u16string& text) = 0;
    virtual void showWallPanelReceived(const std::u16string& text) = 0;
    virtual void showVodReceived(const std::u16string& text) = 0;
};

class TestPanel {
public:
    // `connected`: the link is in the live state (scenes are not sent then). Installs the
    // receive hook in the link's test-panel slot.
    TestPanel(link::Link& link, std::function<bool()> connected, TestPanelView& view);
    ~TestPanel();
    TestPanel(const TestPanel&) = delete;
    TestPanel& operator=(const TestPanel&) = delete;

    // False, nothing sent, while connected: the controller runs its own show then.
    bool callScene(uint8_t scene);
    // One of the six one-byte functions (bass, dense drums, cheer, boo, smoke, mic shake).
    void roomFunction(uint8_t function);
    void roomControl(uint8_t what, uint8_t value);
    void vodKey(uint8_t key);
    void internalKey(uint8_t key);
    // 19, port, the box's bytes; "-----数据错误-----" and nothing sent for a bad pair.
    bool sendPortTest(uint8_t port, std::u16string_view text);
    void setTestFunctions(bool on);

    AutoBass autoBass() const { return bass; }
    // The button: stopped -> 0.5 s -> 1 s -> stopped.
    AutoBass advanceAutoBass();
    // The live tick in the test mode; sends a bass hit when its time has come.
    void autoBassTick(int32_t& counter);

    void receive(uint8_t command, std::span<const uint8_t> payload);

private:
    void sendCe(std::span<const uint8_t> payload);

    link::Link& link;
    std::function<bool()> connected;
    TestPanelView& view;
    AutoBass bass = AutoBass::Stopped;
};

} // namespace rz::testtools
