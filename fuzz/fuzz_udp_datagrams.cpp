// Outside bytes as the datagrams the Wi-Fi transport hands to the link: each datagram's bytes
// are one delivery, as the UDP transport makes them (after its sender filter), reaching the
// program's receivers (connection counters, file transfer, controller queries, firmware,
// scene reports, RDM). The input is cut into datagrams, each preceded by the milliseconds of
// quiet before it (1 byte) and its length (2 bytes). Nothing may crash; whatever came before,
// after a second of quiet a handshake answered by one whole datagram connects.
#include "FuzzSupport.h"
#include "core/app/SettingsCatalogue.h"
#include "core/link/Commands.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Frame.h"
#include "core/link/Link.h"
#include "core/rdm/RdmDriver.h"
#include "core/scenes/SceneReport.h"
#include "core/transfer/ControllerQueries.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/FirmwareUpgrade.h"

#include <cstdint>
#include <span>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using rz::fuzz::check;
namespace cmd = rz::link::cmd;

// The controller's socket: hands over one datagram per call, and answers a handshake with a
// datagram holding the whole C0 frame once `answerHandshake` is set.
class DatagramLine : public rz::link::Transport {
public:
    bool isOpen() const override { return true; }
    void write(std::span<const uint8_t> frame) override
    {
        if (answerHandshake && frame.size() >= rz::link::kFrameOverhead && frame[6] == cmd::kConnect)
            reply = rz::link::buildFrame(cmd::kConnect, {});
    }
    void poll() override
    {
        if (!reply.empty()) {
            const Bytes d = std::move(reply);
            reply.clear();
            deliver(d);
        }
    }
    void datagram(std::span<const uint8_t> bytes) { deliver(bytes); }
    bool answerHandshake = false;
    Bytes reply;
};

class WifiOnly : public rz::link::TransportOpener {
public:
    explicit WifiOnly(DatagramLine& line) : line(line) {}
    std::vector<rz::link::SerialPortChoice> listSerialPorts() override { return {}; }
    rz::link::Transport* openSerial(const std::u16string&) override { return nullptr; }
    void closeSerial() override {}
    rz::link::Transport* openWifi() override { return &line; }
    void closeWifi() override {}
    DatagramLine& line;
};

class NoView : public rz::link::ConnectionView {
public:
    void showKinds(const std::vector<std::u16string>&, const std::u16string&) override {}
    void showButton(const rz::link::ConnectionButtonLook&) override {}
    void setButtonEnabled(bool) override {}
    void showCounters(const std::u16string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const rz::fuzz::ScratchFolder folder("fuzz-udp");
    rz::fuzz::StepClock clock;
    rz::fuzz::StepYield yield(clock);
    DatagramLine line;
    WifiOnly opener(line);
    NoView view;
    rz::fuzz::NullLog log;
    rz::link::Link link(clock, yield);
    link.setTransport(&line);
    {
        rz::link::ConnectionManager manager(link, opener, rz::settingsPaths(folder.path), view);
        rz::transfer::FileTransfer transfer(link, [&] { return manager.connected(); });
        rz::transfer::ControllerQueries queries(link, log);
        rz::transfer::FirmwareUpgrade firmware(link);
        rz::rdm::RdmView rdmView;
        rz::rdm::RdmDriver rdm(link, clock, rdmView);
        rz::scenes::installSceneReportReceiver(link, [](const std::u16string&) {});
        std::size_t frames = 0;
        link.setReceiver(rz::link::Link::ReceiverSlot::AirConditioner,
                         [&](uint8_t, std::span<const uint8_t> payload) {
                             check(payload.size() + rz::link::kFrameOverhead <= rz::link::kMaxReceivedFrame);
                             ++frames;
                         });

        for (std::size_t pos = 0; pos + 3 <= size;) {
            clock.now += data[pos];
            const std::size_t n = std::min<std::size_t>(data[pos + 1] << 8 | data[pos + 2], size - pos - 3);
            line.datagram({data + pos + 3, n});
            pos += 3 + n;
            check(link.receivedByteCount() < rz::link::kMaxReceivedFrame);
        }
        check(manager.receivedCount() <= 9999);

        clock.now += 1001;
        line.answerHandshake = true;
        manager.toggleConnection();
        check(manager.connected());
        check(link.waitDepth() == 0);
        link.setReceiver(rz::link::Link::ReceiverSlot::SceneAssociation, nullptr);
        link.setReceiver(rz::link::Link::ReceiverSlot::AirConditioner, nullptr);
    }
    link.setTransport(nullptr);
    return 0;
}
