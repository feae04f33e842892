#include "ctl/ControllerTool.h"

#include "ctl/ExitCodes.h"
#include "core/app/Utf.h"
#include "core/link/Commands.h"
#include "core/link/Link.h"
#include "core/rdm/RdmDriver.h"
#include "core/rdm/RdmView.h"
#include "core/transfer/ControllerQueries.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/FirmwareUpgrade.h"
#include "core/transfer/TransferTexts.h"
#include "io/QtSeams.h"
#include "io/SerialTransport.h"
#include "io/UdpTransport.h"

#include <cstdio>
#include <memory>
#include <ostream>
#include <unistd.h>

namespace rz::ctl {

namespace {

constexpr uint32_t kConnectReplyMs = 1000;
// The C0 handshake is made at most this many times: a link that loses three replies in ten
// still connects all but once in a thousand times, a controller that is gone fails in 6 s.
constexpr int kConnectAttempts = 6;
constexpr uint32_t kQueryReplyMs = 1000;
constexpr uint32_t kHostLookupMs = 5000;

// The core's log lines on standard output, as the pages' boxes show them.
class ConsoleLogBox : public LogBox {
public:
    explicit ConsoleLogBox(std::ostream& out) : out(out) {}
    void append(const std::u16string& text, bool newLine) override
    {
        // The boxes of the pages end lines with CR LF; a terminal wants LF alone.
        std::u16string lines = text;
        for (std::size_t at = lines.find(u"\r\n"); at != std::u16string::npos; at = lines.find(u"\r\n", at))
            lines.erase(at, 1);
        out << toUtf8(lines);
        all += lines;
        lineOpen = lineOpen || !lines.empty();
        if (!lines.empty() && lines.back() == u'\n')
            lineOpen = false;
        if (newLine) {
            out << '\n';
            all += u"\n";
            lineOpen = false;
        }
        out.flush();
    }
    // Ends a line the log left open, so the result line stands alone.
    void endLine()
    {
        if (lineOpen)
            append(u"", true);
    }
    std::size_t size() const { return all.size(); }

private:
    std::ostream& out;
    std::u16string all;
    bool lineOpen = false;
};

class ProgressBar {
public:
    explicit ProgressBar(bool wanted) : shown(wanted && isatty(fileno(stderr)) != 0) {}
    ~ProgressBar()
    {
        if (drawn)
            std::fputs("\n", stderr);
    }
    void update(uint64_t done, uint64_t total)
    {
        if (!shown || total == 0)
            return;
        constexpr int kWidth = 40;
        const auto filled = static_cast<int>(done * kWidth / total);
        std::string bar(static_cast<std::size_t>(filled), '#');
        bar.resize(kWidth, '.');
        std::fprintf(stderr, "\r[%s] %3d%% %llu/%llu", bar.c_str(), static_cast<int>(done * 100 / total),
                     static_cast<unsigned long long>(done), static_cast<unsigned long long>(total));
        std::fflush(stderr);
        drawn = true;
    }

private:
    bool shown;
    bool drawn = false;
};

// The RDM page's log on standard output.
class ConsoleRdmView : public rdm::RdmView {
public:
    explicit ConsoleRdmView(ConsoleLogBox& box) : box(box) {}
    // Each log entry a line of its own, so a reader of "UID " lines finds every one.
    void appendLog(const std::u16string& text) override
    {
        box.endLine();
        box.append(text, false);
        box.endLine();
    }
    void uidFound(const std::u16string& listedText) override { box.append(u"UID " + listedText, true); }

private:
    ConsoleLogBox& box;
};

class Session {
public:
    Session(const SessionOptions& o, ToolStreams io) : options(o), io(io), box(io.out) {}
    ~Session() { link.setTransport(nullptr); }

    // Opens the transport; false (with a message) when it cannot be opened.
    bool open()
    {
        if (options.link.kind == LinkAddress::Kind::serial) {
            serial = std::make_unique<io::SerialTransport>();
            if (!serial->open(options.link.port)) {
                io.err << "rz760ctl: cannot open serial port " << options.link.port.toStdString() << ": "
                       << serial->errorText().toStdString() << '\n';
                return false;
            }
            serial->setIdleHandler([this] { link.clearReceived(); });
            link.setTransport(serial.get());
            return true;
        }
        udp = std::make_unique<io::UdpTransport>();
        udp->configure(options.link.host, QString::number(options.link.udpPort));
        const uint32_t start = clock.nowMs();
        for (uint32_t waited = 0; !udp->isConfigured() && waited < kHostLookupMs; waited = clock.nowMs() - start)
            yield.yieldUntilEvent(kHostLookupMs - waited);
        if (!udp->isConfigured()) {
            io.err << "rz760ctl: cannot resolve " << options.link.host.toStdString() << '\n';
            return false;
        }
        link.setTransport(udp.get());
        return true;
    }

    bool cancelRequested() const { return options.cancelRequested && options.cancelRequested(); }

    // The C0 handshake, made again while no answer comes (a cancel ends the attempts).
    bool connect()
    {
        for (int attempt = 0; attempt < kConnectAttempts && !connected && !cancelRequested(); ++attempt) {
            link.send(link::cmd::kConnect, {});
            connected = link.waitReply(link::cmd::kConnect, kConnectReplyMs);
        }
        return connected;
    }

    // open() and connect(); on failure the result line is printed here and the exit status
    // is kept in `exitStatus`.
    bool openAndConnect()
    {
        exitStatus = kExitFailed;
        if (!open())
            return false;
        if (connect())
            return true;
        if (cancelRequested())
            exitStatus = cancelled("stopped before the controller answered");
        else
            result(false, "no answer to the C0 handshake (" + std::to_string(kConnectAttempts) + " attempts of " +
                              std::to_string(kConnectReplyMs) + " ms; " + toUtf8(transfer::text::kNotConnected) + ")");
        return false;
    }

    int result(bool ok, const std::string& what)
    {
        box.endLine();
        (ok ? io.out : io.err) << (ok ? "ok: " : "failed: ") << what << '\n';
        io.out.flush();
        return ok ? kExitOk : kExitFailed;
    }

    // A result line of failure, but the exit status of an interruption.
    int cancelled(const std::string& what)
    {
        result(false, what + " (cancelled)");
        return kExitInterrupted;
    }

    const SessionOptions& options;
    ToolStreams io;
    io::QtClock clock;
    io::QtYield yield;
    link::Link link{clock, yield};
    std::unique_ptr<io::SerialTransport> serial;
    std::unique_ptr<io::UdpTransport> udp;
    ConsoleLogBox box;
    bool connected = false;
    int exitStatus = kExitFailed;
};

// Why a transfer did not succeed, for the result line.
std::string reasonText(transfer::TransferResult r)
{
    using transfer::TransferResult;
    switch (r) {
    case TransferResult::Succeeded: return "succeeded";
    case TransferResult::NotConnected: return "not connected";
    case TransferResult::Busy: return "another transfer is running";
    case TransferResult::FileMissing: return "the file is missing or unreadable";
    case TransferResult::FileRefused: return "the file is not acceptable";
    case TransferResult::NoAnswer: return "the controller stopped answering";
    case TransferResult::Failed: return "the controller refused it or the verification failed";
    case TransferResult::NotWritten: return "the output file could not be written";
    case TransferResult::Cancelled: return "cancelled";
    }
    return "failed";
}

// The result line of a transfer and its exit status.
int transferResult(Session& s, transfer::TransferResult r, const std::string& done, const std::string& notDone)
{
    if (r == transfer::TransferResult::Cancelled)
        return s.cancelled(notDone);
    if (r == transfer::TransferResult::Succeeded)
        return s.result(true, done);
    return s.result(false, notDone + ": " + reasonText(r));
}

std::string statusText(const rdm::RdmResult& r)
{
    switch (r.status) {
    case rdm::RdmStatus::Ok: return "ok";
    case rdm::RdmStatus::InvalidUid: return "not a UID (twelve hexadecimal digits)";
    case rdm::RdmStatus::BadCommandText: return "bad command text";
    case rdm::RdmStatus::NoReply: return "no reply";
    case rdm::RdmStatus::InvalidReply:
        switch (r.replyStatus) {
        case rdm::ReplyStatus::NoStartCode: return "no device answered (the line returned no RDM packet)";
        case rdm::ReplyStatus::BadChecksum: return "invalid reply (checksum)";
        case rdm::ReplyStatus::Truncated: return "invalid reply (cut short)";
        default: return "invalid reply (header or length)";
        }
    case rdm::RdmStatus::UnexpectedReply: return "unexpected reply";
    case rdm::RdmStatus::Nack:
        return "refused (NACK" + (r.nackReason ? " " + toUtf8(rdm::nackReasonName(*r.nackReason)) : std::string()) + ")";
    case rdm::RdmStatus::NotAcknowledged: return "the value is not ready yet (ACK_TIMER or ACK_OVERFLOW)";
    }
    return "failed";
}

// A session with the RDM driver enabled on the controller.
template <typename Body>
int withRdm(const SessionOptions& o, ToolStreams io, Body body)
{
    Session s(o, io);
    if (!s.openAndConnect())
        return kExitFailed;
    ConsoleRdmView view(s.box);
    rdm::RdmDriver driver(s.link, s.clock, view);
    driver.sendRdmControl(rdm::kControlEnable);
    return body(s, driver);
}

} // namespace

int runPing(const SessionOptions& o, ToolStreams io)
{
    Session s(o, io);
    if (!s.openAndConnect())
        return kExitFailed;
    s.box.append(std::u16string(transfer::text::kHandshakeSucceeded), true);
    return s.result(true, "the controller answered the C0 handshake");
}

int runDownload(const SessionOptions& o, const std::filesystem::path& file, uint8_t kind,
                std::optional<uint8_t> scene, ToolStreams io)
{
    Session s(o, io);
    if (!s.openAndConnect())
        return s.exitStatus;
    transfer::FileTransfer ft(s.link, [&s] { return s.connected; });
    ProgressBar bar(o.progress);
    ft.onProgress = [&bar](uint64_t done, uint64_t total) { bar.update(done, total); };
    ft.cancelRequested = o.cancelRequested;
    return transferResult(s, ft.downloadFile(kind, file, s.box, scene),
                          "downloaded " + file.string() + " as kind " + std::to_string(kind),
                          "the download of " + file.string() + " did not complete");
}

int runUpload(const SessionOptions& o, uint8_t kind, const std::filesystem::path& output, ToolStreams io)
{
    Session s(o, io);
    if (!s.openAndConnect())
        return s.exitStatus;
    transfer::FileTransfer ft(s.link, [&s] { return s.connected; });
    ProgressBar bar(o.progress);
    ft.onProgress = [&bar](uint64_t done, uint64_t total) { bar.update(done, total); };
    ft.cancelRequested = o.cancelRequested;
    return transferResult(s, ft.uploadFile(kind, output, s.box),
                          "uploaded kind " + std::to_string(kind) + " into " + output.string(),
                          "the upload of kind " + std::to_string(kind) + " did not complete, nothing written");
}

int runFirmware(const SessionOptions& o, const std::filesystem::path& image, bool restartFirst, ToolStreams io)
{
    Session s(o, io);
    // The loader does not answer C0: the upgrade makes its own handshake.
    if (!s.open())
        return kExitFailed;
    transfer::FirmwareUpgrade fw(s.link);
    fw.stillWanted = [] { return true; };
    fw.cancelRequested = o.cancelRequested;
    ProgressBar bar(o.progress);
    fw.onProgress = [&bar](uint64_t done, uint64_t total) { bar.update(done, total); };
    if (restartFirst)
        s.link.send(link::cmd::kRestart, {});
    s.box.append(std::u16string(transfer::text::kUpgradeTitle), false);
    return transferResult(s, fw.upgrade(image, s.box), "the controller runs " + image.string(),
                          "the upgrade did not complete");
}

int runQuery(const SessionOptions& o, Query q, ToolStreams io)
{
    Session s(o, io);
    if (!s.openAndConnect())
        return kExitFailed;
    transfer::ControllerQueries queries(s.link, s.box);
    const std::size_t before = s.box.size();
    switch (q) {
    case Query::version: queries.requestVersion(); break;
    case Query::information: queries.requestInformation(); break;
    case Query::fileIds: queries.requestFileIds(); break;
    }
    // The report arrives as a CE frame; other CE frames may come first.
    const uint32_t start = s.clock.nowMs();
    for (;;) {
        const uint32_t elapsed = s.clock.nowMs() - start;
        if (s.box.size() != before || elapsed >= kQueryReplyMs)
            break;
        s.link.waitReply(link::cmd::kQuery, kQueryReplyMs - elapsed);
    }
    const bool ok = s.box.size() != before;
    return s.result(ok, ok ? "report received" : "no report within 1000 ms");
}

int runRdmDiscover(const SessionOptions& o, bool mute, ToolStreams io)
{
    return withRdm(o, io, [&](Session& s, rdm::RdmDriver& driver) {
        // A device muted by an earlier search would not answer this one, and one muted by this
        // search would not answer the next.
        driver.unMuteAll();
        driver.clearFoundUids();
        driver.discovery().setUseMute(mute);
        driver.startDiscovery();
        driver.unMuteAll();
        const std::size_t n = driver.discovery().foundUids().size();
        return s.result(true, std::to_string(n) + " device" + (n == 1 ? "" : "s") + " found in " +
                                  std::to_string(driver.discovery().branchCount()) + " branches");
    });
}

int runRdmUnmuteAll(const SessionOptions& o, ToolStreams io)
{
    return withRdm(o, io, [&](Session& s, rdm::RdmDriver& driver) {
        driver.unMuteAll();
        return s.result(true, "un-mute sent to every device");
    });
}

int runRdmInfo(const SessionOptions& o, rdm::Uid uid, ToolStreams io)
{
    return withRdm(o, io, [&](Session& s, rdm::RdmDriver& driver) {
        const rdm::RdmResult r = driver.rdmReadDeviceInfo(uid.hexText());
        if (r) {
            s.box.endLine();
            s.box.append(driver.summaryText(), false);
        }
        return s.result(r.ok(), r ? "device information read" : statusText(r));
    });
}

int runRdmAddress(const SessionOptions& o, rdm::Uid uid, uint16_t address, ToolStreams io)
{
    return withRdm(o, io, [&](Session& s, rdm::RdmDriver& driver) {
        const rdm::RdmResult r = driver.rdmSetStartAddress(uid.hexText(), address);
        return s.result(r.ok(), r ? "start address set to " + std::to_string(address) : statusText(r));
    });
}

int runRdmPersonality(const SessionOptions& o, rdm::Uid uid, uint8_t personality, ToolStreams io)
{
    return withRdm(o, io, [&](Session& s, rdm::RdmDriver& driver) {
        const rdm::RdmResult r = driver.rdmSetPersonality(uid.hexText(), personality);
        return s.result(r.ok(), r ? "personality set to " + std::to_string(personality) : statusText(r));
    });
}

int runRdmIdentify(const SessionOptions& o, rdm::Uid uid, bool on, ToolStreams io)
{
    return withRdm(o, io, [&](Session& s, rdm::RdmDriver& driver) {
        const rdm::RdmResult r = driver.rdmIdentifyConfirmed(uid.hexText(), on ? 1 : 0);
        return s.result(r.ok(), r ? std::string("identify ") + (on ? "on" : "off") + " acknowledged" : statusText(r));
    });
}

} // namespace rz::ctl
