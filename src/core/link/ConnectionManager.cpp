#include "core/link/ConnectionManager.h"
#include "core/app/Conversions.h"

#include "core/app/SettingsFile.h"
#include "core/link/Commands.h"

#include <array>

namespace rz::link {

namespace {

constexpr uint32_t kMaxFrameCount = 9999;

std::u16string fourDigits(uint32_t value)
{
    std::u16string text = decimalText(value % 10000);
    text.insert(0, 4 - text.size(), u'0');
    return text;
}

uint8_t interfaceOf(const SerialPortChoice& port)
{
    return port.number >= 1 && port.number < kNamedSerialInterface ? port.number
                                                                    : kNamedSerialInterface;
}

} // namespace

uint32_t nextFrameCount(uint32_t count)
{
    return count >= kMaxFrameCount ? 1 : count + 1;
}

std::u16string frameCountersText(uint32_t sent, uint32_t received)
{
    return u"S:" + fourDigits(sent) + u"   G:" + fourDigits(received);
}

std::u16string receivedBytesText(std::span<const uint8_t> bytes)
{
    return spacedHexText(bytes);
}

ConnectionManager::ConnectionManager(Link& link, TransportOpener& opener, const SettingsPaths& paths,
                                     ConnectionView& view)
    : link(link), opener(opener), paths(paths), view(view)
{
    link.onFrameSent = [this] { frameSent(); };
    link.onBytesReceived = [this](std::span<const uint8_t> bytes) {
        if (devWindowOpen && onReceivedLog)
            onReceivedLog(receivedBytesText(bytes));
    };
    link.setReceiver(Link::ReceiverSlot::FrameCounter,
                     [this](uint8_t, std::span<const uint8_t>) { frameReceived(); });
}

ConnectionManager::~ConnectionManager()
{
    link.onFrameSent = nullptr;
    link.onBytesReceived = nullptr;
    link.setReceiver(Link::ReceiverSlot::FrameCounter, nullptr);
}

void ConnectionManager::initConnection()
{
    kindList.clear();
    kindList.push_back({std::u16string(kWifiKind), 0, {}});
    for (const SerialPortChoice& port : opener.listSerialPorts())
        kindList.push_back({port.kindName + std::u16string(kSerialKindSuffix), interfaceOf(port),
                            port.kindName});

    interfaceNumber = readByteKey(paths.work, keys::kConnectionInterface, 0);
    kindText = readKey(paths.work, keys::kConnectionKind);
    // The number decides what opens; Wi-Fi in use shows as such even when no text was saved.
    if (interfaceNumber == 0)
        kindText = std::u16string(kWifiKind);

    std::vector<std::u16string> texts;
    for (const Kind& k : kindList)
        texts.push_back(k.text);
    view.showKinds(texts, kindText);
    showButton();
    view.showCounters(countersText());

    openInterface(interfaceNumber, kindText);
}

void ConnectionManager::selectConnection(std::size_t position)
{
    if (position >= kindList.size())
        return;
    link.setTransport(nullptr);
    opener.closeSerial();
    const Kind& kind = kindList[position];
    interfaceNumber = kind.interface;
    kindText = kind.text;
    writeKey(paths.work, keys::kConnectionKind, kindText);
    writeKey(paths.work, keys::kConnectionInterface, decimalText(interfaceNumber));
    openInterface(interfaceNumber, kindText);
}

void ConnectionManager::showKindForThisRun(std::size_t position)
{
    if (position >= kindList.size())
        return;
    kindText = kindList[position].text;
    std::vector<std::u16string> texts;
    for (const Kind& k : kindList)
        texts.push_back(k.text);
    view.showKinds(texts, kindText);
}

std::size_t ConnectionManager::addSerialPort(const std::u16string& portName)
{
    const std::u16string text = portName + std::u16string(kSerialKindSuffix);
    for (std::size_t i = 0; i < kindList.size(); ++i) {
        if (kindList[i].text == text)
            return i;
    }
    uint8_t interface = kNamedSerialInterface;
    if (const auto n = parseSettingNumber(portName); n && *n >= 1 && *n < kNamedSerialInterface)
        interface = static_cast<uint8_t>(*n);
    kindList.push_back({text, interface, portName});
    std::vector<std::u16string> texts;
    for (const Kind& k : kindList)
        texts.push_back(k.text);
    view.showKinds(texts, kindText);
    return kindList.size() - 1;
}

void ConnectionManager::toggleConnection()
{
    if (handshaking)
        return;
    view.setButtonEnabled(false);
    if (isConnected) {
        isConnected = false;
        link.send(cmd::kRestart, {});
        showButton();
    } else {
        // A handshake inside another operation's wait would steal its replies.
        LinkGate::Hold hold = link.operations().tryBegin(LinkOperation::Connect);
        if (!hold) {
            view.setButtonEnabled(true);
            return;
        }
        handshaking = true;
        if (interfaceNumber != 0) {
            link.setTransport(nullptr);
            opener.closeSerial();
            link.delayMs(kSerialReopenPauseMs);
            openInterface(interfaceNumber, kindText);
        } else {
            openWifi();
        }
        link.send(cmd::kConnect, {});
        isConnected = link.waitReply(cmd::kConnect, kConnectReplyTimeoutMs);
        showButton();
        view.showHandshakeNotice(isConnected ? std::u16string() : handshakeNotice());
        handshaking = false;
        if (isConnected && onConnected)
            onConnected();
    }
    view.setButtonEnabled(true);
}

std::u16string ConnectionManager::handshakeNotice()
{
    std::u16string tried = kindText.empty() ? std::u16string(kWifiKind) : kindText;
    if (interfaceNumber == 0)
        if (const std::u16string address = opener.wifiAddressText(); !address.empty())
            tried += u" " + address;
    return std::u16string(kHandshakeNoAnswer) + tried;
}

bool ConnectionManager::connected() const
{
    return isConnected;
}

void ConnectionManager::keepAliveTick()
{
    if (!isConnected) {
        quietTicks = 0;
        return;
    }
    if (++quietTicks > kKeepAliveQuietTicks) {
        link.send(cmd::kKeepAlive, {});
        quietTicks = 0;
    }
}

void ConnectionManager::secondTick()
{
    if (isConnected || devWindowOpen)
        return;
    const std::array<uint8_t, 1> payload{cmd::ce::kPoll};
    link.send(cmd::kQuery, payload);
}

void ConnectionManager::sayGoodbye()
{
    if (!isConnected)
        return;
    for (int i = 0; i < kGoodbyeRepeats; ++i)
        link.send(cmd::kRestart, {});
    // The controller restarts: no keep-alive or live frame should follow as if connected.
    isConnected = false;
    showButton();
}

void ConnectionManager::closeLinks()
{
    link.setTransport(nullptr);
    opener.closeSerial();
    opener.closeWifi();
}

void ConnectionManager::applyDevelopmentMode()
{
    const int32_t enabled = readInt32Key(paths.development, keys::kDevelopmentFunctionsOn, 0);
    const int32_t lastTime = readInt32Key(paths.work, keys::kLastInDevelopmentMode, 0);
    devModeEnabled = enabled == 1;
    if (enabled != 1 && lastTime == 1)
        writeKey(paths.work, keys::kUpgradeFilePath, u"");
    writeKey(paths.work, keys::kLastInDevelopmentMode, decimalText(enabled));
}

bool ConnectionManager::developmentModeEnabled() const
{
    return devModeEnabled;
}

void ConnectionManager::setDevelopmentWindowOpen(bool open)
{
    devWindowOpen = open;
}

bool ConnectionManager::developmentWindowOpen() const
{
    return devWindowOpen;
}

void ConnectionManager::setButtonColours(uint32_t disconnected, uint32_t connected)
{
    disconnectedColour = disconnected;
    connectedColour = connected;
    showButton();
}

ConnectionButtonLook ConnectionManager::buttonLook() const
{
    if (isConnected)
        return {std::u16string(kCaptionConnected), connectedColour};
    return {std::u16string(kCaptionDisconnected), disconnectedColour};
}

const std::vector<ConnectionManager::Kind>& ConnectionManager::kinds() const
{
    return kindList;
}

uint8_t ConnectionManager::connectionInterface() const
{
    return interfaceNumber;
}

uint32_t ConnectionManager::sentCount() const
{
    return sent;
}

uint32_t ConnectionManager::receivedCount() const
{
    return received;
}

std::u16string ConnectionManager::countersText() const
{
    return frameCountersText(sent, received);
}

void ConnectionManager::openInterface(uint8_t interface, const std::u16string& text)
{
    if (interface == 0) {
        openWifi();
        return;
    }
    const std::u16string name = serialPortName(interface, text);
    link.setTransport(name.empty() ? nullptr : opener.openSerial(name));
}

void ConnectionManager::openWifi()
{
    link.setTransport(opener.openWifi());
    link.delayMs(kWifiReopenPauseMs);
}

std::u16string ConnectionManager::serialPortName(uint8_t interface, const std::u16string& text) const
{
    if (interface != kNamedSerialInterface)
        return decimalText(interface);
    // A port without a COM number is known only by the kind text: name + "串口".
    const std::u16string_view suffix = kSerialKindSuffix;
    if (text.size() > suffix.size() && std::u16string_view(text).ends_with(suffix))
        return text.substr(0, text.size() - suffix.size());
    return {};
}

void ConnectionManager::frameSent()
{
    sent = nextFrameCount(sent);
    view.showCounters(countersText());
    quietTicks = 0;
}

void ConnectionManager::frameReceived()
{
    received = nextFrameCount(received);
    view.showCounters(countersText());
}

void ConnectionManager::showButton()
{
    view.showButton(buttonLook());
}

} // namespace rz::link
