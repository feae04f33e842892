#pragma once
// Which transport the link uses (Wi-Fi or one serial port), the connect handshake and the
// disconnect, the keep-alive while connected, the poll while not, the frame counters of the
// title bar and the development-mode switches.
//
// The connected flag changes only here: a C0 answered within 1000 ms sets it, the button
// press while connected clears it. The transport stays open in both states.
#include "core/app/SettingsCatalogue.h"
#include "core/link/ConnectionView.h"
#include "core/link/Link.h"
#include "core/link/TransportOpener.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rz::link {

inline constexpr std::u16string_view kWifiKind = u"Wifi";
inline constexpr std::u16string_view kSerialKindSuffix = u"串口";
// The connection interface of a serial port that has no COM number (ttyUSB0, a device path)
// or a number above 254; such a port is reopened from the saved kind text.
inline constexpr uint8_t kNamedSerialInterface = 255;

inline constexpr int kKeepAliveQuietTicks = 10; // C1 goes out on the 11th quiet 100-ms tick
inline constexpr uint32_t kSerialReopenPauseMs = 10;
inline constexpr uint32_t kWifiReopenPauseMs = 50;
inline constexpr int kGoodbyeRepeats = 3;

// 0 -> 1 -> ... -> 9999 -> 1.
uint32_t nextFrameCount(uint32_t count);
// "S:" + sent as four digits + "   G:" + received as four digits.
std::u16string frameCountersText(uint32_t sent, uint32_t received);
// "FA F5 " for the bytes FA F5: the received-bytes log.
std::u16string receivedBytesText(std::span<const uint8_t> bytes);

class ConnectionManager {
public:
    // One entry of the connection-kind list.
    struct Kind {
        std::u16string text;      // "Wifi", "3串口", "ttyUSB0串口"
        uint8_t interface = 0;    // 0 Wi-Fi, n for COMn, kNamedSerialInterface otherwise
        std::u16string portName;  // the text before "串口"; empty for Wi-Fi
    };

    // Takes over the link's send and receive hooks and its frame-counter receiver slot, and
    // hands them back when destroyed, so it must go before the link does.
    ConnectionManager(Link& link, TransportOpener& opener, const SettingsPaths& paths,
                      ConnectionView& view);
    ~ConnectionManager();
    ConnectionManager(const ConnectionManager&) = delete;
    ConnectionManager& operator=(const ConnectionManager&) = delete;

    // When the title bar loads: builds the kind list, reads the saved choice and opens that
    // transport, even a saved port that is not in the list now.
    void initConnection();
    // The user picked entry `position` of the kind list: closes the serial port, saves the
    // choice and opens the chosen transport. The connected flag does not change.
    void selectConnection(std::size_t position);
    // The list shows entry `position` as the kind in use for this run (a controller named on
    // the command line); nothing is saved or opened until the user connects.
    void showKindForThisRun(std::size_t position);
    // Adds a port given by name or device path (once) and returns its list position.
    std::size_t addSerialPort(const std::u16string& portName);

    // The connection button: connected -> one C4 and "未连接" at once; not connected ->
    // reopen the transport, send C0 and wait up to 1000 ms for the answer. A press during the
    // handshake's wait is ignored.
    void toggleConnection();
    bool connected() const;

    // The 100-ms task, after the live tick.
    void keepAliveTick();
    // The once-a-second task: CE 13 while not connected and the development window is closed.
    void secondTick();
    // First exit step: C4 three times when connected; afterwards nothing more is sent as to a
    // connected controller.
    void sayGoodbye();
    // Exit step 20: detaches the link and closes both transports.
    void closeLinks();

    // When the title bar loads: reads "开发模式_功能开启" and "最后是否在开发模式", clears
    // "升级文件路径" when development mode was left, and records the current state.
    void applyDevelopmentMode();
    bool developmentModeEnabled() const;
    // Set by the development-mode window while it is open.
    void setDevelopmentWindowOpen(bool open);
    bool developmentWindowOpen() const;

    // The personalized not-connected and connected colours replace the standard ones.
    void setButtonColours(uint32_t disconnected, uint32_t connected);
    ConnectionButtonLook buttonLook() const;

    const std::vector<Kind>& kinds() const;
    uint8_t connectionInterface() const;
    uint32_t sentCount() const;
    uint32_t receivedCount() const;
    std::u16string countersText() const;

    // After a successful handshake (the live sender then sends fresh frames).
    std::function<void()> onConnected;
    // The received bytes as "FA F5 " text while the development window is open.
    std::function<void(const std::u16string&)> onReceivedLog;

private:
    void openInterface(uint8_t interface, const std::u16string& kindText);
    void openWifi();
    std::u16string serialPortName(uint8_t interface, const std::u16string& kindText) const;
    void frameSent();
    void frameReceived();
    void showButton();
    std::u16string handshakeNotice();

    Link& link;
    TransportOpener& opener;
    SettingsPaths paths;
    ConnectionView& view;

    std::vector<Kind> kindList;
    uint8_t interfaceNumber = 0;
    std::u16string kindText; // the list's current text
    bool isConnected = false;
    bool handshaking = false;
    bool devWindowOpen = false;
    bool devModeEnabled = false;
    uint32_t sent = 0;
    uint32_t received = 0;
    int quietTicks = 0;
    uint32_t disconnectedColour = kColourDisconnected;
    uint32_t connectedColour = kColourConnected;
};

} // namespace rz::link
