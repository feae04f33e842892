#include "SimOptions.h"

#include "InputCommands.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>
#include <QCoreApplication>

#include <limits>

namespace rz::sim::program {

namespace {

constexpr const char* kDescription =
    "Stands in for the RZ-760 controller on a pseudo-terminal (the serial link) and/or a UDP\n"
    "socket (the Wi-Fi link). It answers C0 with C0, counts C1 and CE 13, restarts on an\n"
    "empty C4, and decodes 0x60 live frames into 512 DMX levels, 24 relays and the 8 dimmers\n"
    "(when the 0xA8 block is present). Frames with a bad checksum are dropped. It switches\n"
    "infrared reception on and off (CE 50 01 / 50 00) and learns, test-sends and stops\n"
    "learning air-conditioner codes (CE 24 02 k / 24 01 k / 24 04).\n"
    "\n"
    "When listening, it prints the line \"ready\" on standard error. It ends cleanly on\n"
    "SIGTERM or SIGINT and removes the --pty link.\n"
    "\n"
    "With --events every frame received and every state change is one JSON object per line\n"
    "on standard output. A live frame (0x60) is printed only when it changes the output, so a\n"
    "steady stream costs nothing; --every-live-frame prints each one. For example:\n"
    "  {\"event\":\"ready\",\"udp\":\"127.0.0.1:40001\",\"pty\":\"/tmp/rzsim\"}\n"
    "  {\"event\":\"frame\",\"link\":\"pty\",\"command\":\"C0\",\"length\":0,\"payload\":\"\"}\n"
    "  {\"event\":\"frame\",\"link\":\"udp\",\"command\":\"60\",\"length\":42,\n"
    "   \"levels\":{\"1\":255,\"17\":254},\"relays\":[24 values],\"dimmers\":[8 values] or null}\n"
    "  {\"event\":\"dropped\",\"link\":\"pty\",\"reason\":\"checksum\"|\"length\"|\"abandoned\",\"length\":9}\n"
    "  {\"event\":\"liveRejected\",\"link\":\"pty\",\"command\":\"60\",\"length\":5,\n"
    "   \"reason\":\"length\"|\"packing\"|\"layout\"}\n"
    "  {\"event\":\"reply\",\"link\":\"pty\",\"command\":\"C0\",\"length\":0,\n"
    "   \"fate\":\"sent\"|\"dropped\"|\"corrupted\"}\n"
    "  {\"event\":\"handshake\",\"link\":\"pty\",\"count\":1}\n"
    "  {\"event\":\"restart\",\"link\":\"pty\",\"count\":1}\n"
    "  {\"event\":\"output\",\"link\":\"pty\",\"levels\":{...},\"relays\":[...],\"dimmers\":...}\n"
    "\"length\" is the payload length; \"levels\" lists only non-zero DMX addresses.\n"
    "Fault options act on the controller's replies, never on what it receives.";

bool parseShare(const QString& text, double& out)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !(v >= 0.0 && v <= 1.0))
        return false;
    out = v;
    return true;
}

template <typename T>
bool parseCount(const QString& text, T& out)
{
    bool ok = false;
    const qulonglong v = text.toULongLong(&ok);
    if (!ok || v > std::numeric_limits<T>::max())
        return false;
    out = static_cast<T>(v);
    return true;
}

bool parseHostPort(const QString& text, QString& host, uint16_t& port)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    return !host.isEmpty() && parseCount(text.mid(colon + 1), port);
}

// UID[@ADDRESS][:QUIRK]; the UID itself may hold a colon, a quirk name never is hexadecimal.
std::optional<RdmResponder> parseRdmFixture(QString spec)
{
    RdmResponder fixture;
    const qsizetype colon = spec.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        if (const auto quirk = quirkFromName(spec.mid(colon + 1).toStdString())) {
            fixture.quirk = *quirk;
            spec.truncate(colon);
        }
    }
    const QStringList parts = spec.split(QLatin1Char('@'));
    const auto uid = rdm::Uid::fromText(QString(parts.first()).remove(QLatin1Char(':')).toStdU16String());
    uint16_t address = 1;
    if (!uid || parts.size() > 2 ||
        (parts.size() == 2 && (!parseCount(parts[1], address) || address < 1 || address > 512)))
        return std::nullopt;
    fixture.uid = *uid;
    fixture.startAddress = address;
    return fixture;
}

} // namespace

std::optional<SimOptions> parseOptions(const QStringList& arguments, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription) + QStringLiteral("\n\n") +
                                     QString::fromUtf8(kInputCommandsHelp));
    parser.addHelpOption();
    parser.addVersionOption();

    const QCommandLineOption udp(
        "udp",
        "Bind a UDP socket at HOST:PORT (port 0: any free port) and answer each datagram's "
        "frames to its sender, one datagram per reply frame (or per piece with --split).",
        "HOST:PORT");
    const QCommandLineOption pty(
        "pty",
        "Create a pseudo-terminal in raw mode and a symbolic link to its device at PATH; "
        "the tool opens PATH as its serial port. A stale link at PATH is replaced.",
        "PATH");
    const QCommandLineOption events("events",
                                    "Print one JSON object per line on standard output for "
                                    "every frame received and every state change.");
    const QCommandLineOption everyLiveFrame(
        "every-live-frame",
        "With --events, print every live frame received, also those that leave the output as "
        "it was (ten a second while the tool streams).");
    const QCommandLineOption drop("drop", "Drop this share (0..1) of the replies.", "SHARE", "0");
    const QCommandLineOption dropNth("drop-nth", "Drop the N-th reply (1 = the first; 0 = none).",
                                     "N", "0");
    const QCommandLineOption corrupt(
        "corrupt", "Send this share (0..1) of the replies with a wrong checksum.", "SHARE", "0");
    const QCommandLineOption delay("delay-ms", "Send every reply MS milliseconds late.", "MS", "0");
    const QCommandLineOption split("split",
                                   "Send replies in pieces of BYTES bytes (0 = whole frames).",
                                   "BYTES", "0");
    const QCommandLineOption baud(
        "baud",
        "Throttle input and output to the time the bytes take on a serial line of RATE baud "
        "at 10 bits per byte (115200 for the real link; 0 = unthrottled).",
        "RATE", "0");
    const QCommandLineOption seed("seed", "Seed of the fault generator; equal seeds give equal "
                                          "faults.",
                                  "N", "1");
    const QCommandLineOption file(
        "file",
        "Hold the file at PATH as the controller's file of KIND (1 show, 2 wall panel, 3 VOD, "
        "4 air conditioner) from the start, so an upload can fetch it. May be repeated.",
        "KIND=PATH");
    const QCommandLineOption rdmFixture(
        "rdm-fixture",
        "Put an RDM fixture with this UID (MMMM:DDDDDDDD) on the simulated DMX line, optionally "
        "with its DMX start address (default 1) and a misbehaviour: ignores-mute (answers "
        "discovery while muted), late-mute (its mute answer arrives in the next request's "
        "window), extra-bytes (noise after its discovery answer), short-reply (discovery answer "
        "without checksum), every-other (hears only every other request). May be repeated.",
        "UID[@ADDRESS][:QUIRK]");
    parser.addOptions({udp, pty, events, everyLiveFrame, drop, dropNth, corrupt, delay, split, baud, seed, file,
                       rdmFixture});
    parser.process(arguments);

    if (!parser.positionalArguments().isEmpty()) {
        error = "unexpected argument: " + parser.positionalArguments().first();
        return std::nullopt;
    }
    SimOptions o;
    if (parser.isSet(udp) && !parseHostPort(parser.value(udp), o.udpHost, o.udpPort)) {
        error = "--udp needs HOST:PORT, got " + parser.value(udp);
        return std::nullopt;
    }
    o.ptyPath = parser.value(pty);
    if (o.udpHost.isEmpty() && o.ptyPath.isEmpty()) {
        error = "nothing to serve: give --udp HOST:PORT and/or --pty PATH";
        return std::nullopt;
    }
    o.events = parser.isSet(events);
    o.everyLiveFrame = parser.isSet(everyLiveFrame);

    struct Check {
        bool ok;
        const char* what;
    };
    const Check checks[] = {
        {parseShare(parser.value(drop), o.faults.dropShare), "--drop needs a share from 0 to 1"},
        {parseCount(parser.value(dropNth), o.faults.dropNth), "--drop-nth needs a whole number"},
        {parseShare(parser.value(corrupt), o.faults.corruptShare),
         "--corrupt needs a share from 0 to 1"},
        {parseCount(parser.value(delay), o.faults.delayMs), "--delay-ms needs a whole number"},
        {parseCount(parser.value(split), o.faults.splitBytes), "--split needs a whole number"},
        {parseCount(parser.value(baud), o.baud), "--baud needs a whole number"},
        {parseCount(parser.value(seed), o.faults.seed), "--seed needs a whole number"},
    };
    for (const Check& c : checks) {
        if (!c.ok) {
            error = QString::fromUtf8(c.what);
            return std::nullopt;
        }
    }
    for (const QString& spec : parser.values(file)) {
        const qsizetype eq = spec.indexOf(QLatin1Char('='));
        uint8_t kind = 0;
        if (eq <= 0 || !parseCount(spec.left(eq), kind) || kind < 1 || kind > 4) {
            error = "--file needs KIND=PATH with KIND 1..4, got " + spec;
            return std::nullopt;
        }
        QFile in(spec.mid(eq + 1));
        if (!in.open(QIODevice::ReadOnly)) {
            error = "--file: cannot read " + spec.mid(eq + 1);
            return std::nullopt;
        }
        const QByteArray bytes = in.readAll();
        o.files.emplace_back(kind, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    for (const QString& spec : parser.values(rdmFixture)) {
        const std::optional<RdmResponder> fixture = parseRdmFixture(spec);
        if (!fixture) {
            error = "--rdm-fixture needs UID[@ADDRESS][:QUIRK] like 7A70:00000001@10:late-mute, got " + spec;
            return std::nullopt;
        }
        o.rdmFixtures.push_back(*fixture);
    }
    return o;
}

} // namespace rz::sim::program
