#pragma once
// The title bar's connection controls as the connection manager drives them. The UI
// implements this with the kind list, the connection button and the counters label.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rz::link {

inline constexpr std::u16string_view kCaptionDisconnected = u"未连接";
inline constexpr std::u16string_view kCaptionConnected = u"已连接";
// Shown without interrupting when the C0 handshake gets no answer: what was tried follows.
inline constexpr std::u16string_view kHandshakeNoAnswer = u"控制器在1000毫秒内没有应答：";
// Windows colour values, 0x00BBGGRR (blue in the high byte).
inline constexpr uint32_t kColourDisconnected = 0x808080;
inline constexpr uint32_t kColourConnected = 0x6010AF;

struct ConnectionButtonLook {
    std::u16string caption;
    uint32_t backColour = kColourDisconnected;
    bool operator==(const ConnectionButtonLook&) const = default;
};

class ConnectionView {
public:
    virtual ~ConnectionView() = default;
    // Fills the kind list ("Wifi", then the ports) and sets its text, which may be a text the
    // list does not hold (a saved port that is not present now).
    virtual void showKinds(const std::vector<std::u16string>& kinds, const std::u16string& text) = 0;
    virtual void showButton(const ConnectionButtonLook& look) = 0;
    // Off while a handshake waits, so the button cannot be pressed twice.
    virtual void setButtonEnabled(bool enabled) = 0;
    // "S:0012   G:0009".
    virtual void showCounters(const std::u16string& text) = 0;
    // The handshake got no answer in time: "控制器在1000毫秒内没有应答：Wifi 127.0.0.1:5000". No
    // message box; an empty text after a successful handshake clears the notice.
    virtual void showHandshakeNotice(const std::u16string& text) { (void)text; }
};

} // namespace rz::link
