#include "core/testtools/TestPanel.h"

#include "core/link/Commands.h"
#include "core/link/Frame.h"

namespace rz::testtools {

std::optional<std::vector<uint8_t>> hexPairBytes(std::u16string_view text)
{
    std::u16string digits;
    for (char16_t c : text)
        if (c != u' ')
            digits += c;
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexDigitValue(digits[i]);
        if (high < 0)
            return std::nullopt;
        if (i + 1 == digits.size()) {
            bytes.push_back(static_cast<uint8_t>(high));
            break;
        }
        const int low = hexDigitValue(digits[i + 1]);
        if (low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return bytes;
}

std::string roomFunctionFrameText(uint8_t function)
{
    const uint8_t payload[] = {function};
    const std::vector<uint8_t> frame = link::buildFrame(link::cmd::kQuery, payload);
    const std::string hex = link::hexText(frame);
    // Header, length, command and function, checksum: "FAF5AA55 0009 CE15 6C".
    return hex.substr(0, 8) + ' ' + hex.substr(8, 4) + ' ' + hex.substr(12, 4) + ' ' + hex.substr(16);
}

std::u16string receivedBytesText(std::span<const uint8_t> bytes)
{
    return spacedHexText(bytes);
}

std::u16string_view autoBassCaption(AutoBass state)
{
    switch (state) {
    case AutoBass::HalfSecond:
        return u"自动0.5秒";
    case AutoBass::OneSecond:
        return u"自动1秒";
    case AutoBass::Stopped:
        break;
    }
    return u"自动停止";
}

TestPanel::TestPanel(link::Link& link, std::function<bool()> connected, TestPanelView& view)
    : link(link), connected(std::move(connected)), view(view)
{
    link.setReceiver(link::Link::ReceiverSlot::TestPanel,
                     [this](uint8_t command, std::span<const uint8_t> payload) { receive(command, payload); });
}

TestPanel::~TestPanel()
{
    link.setReceiver(link::Link::ReceiverSlot::TestPanel, {});
}

void TestPanel::sendCe(std::span<const uint8_t> payload)
{
    link.send(link::cmd::kQuery, payload);
}

bool TestPanel::callScene(uint8_t scene)
{
    if (connected && connected())
        return false;
    const uint8_t payload[] = {link::cmd::ce::kCallScene, scene};
    sendCe(payload);
    return true;
}

void TestPanel::roomFunction(uint8_t function)
{
    link.sendText(roomFunctionFrameText(function));
}

void TestPanel::roomControl(uint8_t what, uint8_t value)
{
    const uint8_t payload[] = {kRoomControl, what, value};
    sendCe(payload);
}

void TestPanel::vodKey(uint8_t key)
{
    const uint8_t payload[] = {kVodKey, key};
    sendCe(payload);
}

void TestPanel::internalKey(uint8_t key)
{
    const uint8_t payload[] = {kInternalKey, key, key};
    sendCe(payload);
}

bool TestPanel::sendPortTest(uint8_t port, std::u16string_view text)
{
    const auto bytes = hexPairBytes(text);
    if (!bytes) {
        view.showInformation(u"\r\n" + std::u16string(kDataError) + u"\r\n");
        return false;
    }
    std::vector<uint8_t> payload{link::cmd::ce::kWallPanelReport, port};
    payload.insert(payload.end(), bytes->begin(), bytes->end());
    if (payload.size() > link::kMaxSendPayload) {
        view.showInformation(u"\r\n" + std::u16string(kDataError) + u"\r\n");
        return false;
    }
    sendCe(payload);
    return true;
}

void TestPanel::setTestFunctions(bool on)
{
    const uint8_t payload[] = {link::cmd::ce::kWallPanelReport, on ? kTestFunctionsOn : kTestFunctionsOff};
    sendCe(payload);
}

AutoBass TestPanel::advanceAutoBass()
{
    bass = static_cast<AutoBass>((static_cast<int>(bass) + 1) % 3);
    return bass;
}

void TestPanel::autoBassTick(int32_t& counter)
{
    if (bass == AutoBass::Stopped)
        return;
    ++counter;
    const int32_t period = bass == AutoBass::HalfSecond ? 5 : 10;
    if (counter > period) {
        counter = 1;
        roomFunction(link::cmd::ce::kDrumHit);
    }
}

void TestPanel::receive(uint8_t command, std::span<const uint8_t> payload)
{
    if (command != link::cmd::kQuery || payload.size() < 3 || payload[0] != link::cmd::ce::kWallPanelReport)
        return;
    const std::u16string text = receivedBytesText(payload.subspan(2));
    if (payload[1] == kWallPanelPort)
        view.showWallPanelReceived(text);
    else if (payload[1] == kVodPort)
        view.showVodReceived(text);
}

} // namespace rz::testtools
