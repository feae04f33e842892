#include "ctl/CommandLine.h"

#include "ctl/ControllerTool.h"
#include "ctl/ExitCodes.h"
#include "ctl/FleetTool.h"
#include "ctl/Interrupt.h"
#include "ctl/ShowTool.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <vector>

namespace rz::ctl {

namespace {

const QCommandLineOption kLinkOption(QStringLiteral("link"),
                                     QStringLiteral("The controller: serial:PORT or udp:HOST:PORT."),
                                     QStringLiteral("LINK"));
const QCommandLineOption kProgressOption(QStringLiteral("progress"),
                                         QStringLiteral("Show a progress bar on the terminal during transfers."));
const QCommandLineOption kYesOption(QStringLiteral("yes"),
                                    QStringLiteral("Answer yes where the tool would ask (firmware upgrade)."));

const char* const kKindsHelp =
    "File kinds (--kind N): 1 show (.K_F), 2 wall panel (.KQB), 3 VOD (.KVD), 4 air conditioner (.AC);\n"
    "any other number 0..255 is sent as given.\n\n";

const char* const kExitCodesHelp =
    "Exit status: 0 success; 1 the check found problems, the files differ (show diff), or a room or\n"
    "the controller failed or did not answer; 2 bad command line; 3 an input file is missing,\n"
    "damaged, of another kind, or a JSON value is refused; 4 the output could not be written;\n"
    "130 Ctrl+C stopped a transfer or a fleet command.\n";

struct Arguments {
    QCommandLineParser& parser;
    QStringList positional;
    ToolStreams io;
    bool yes; // --yes before or after the command
};

struct Command {
    QString name;     // "show dump", "ping"
    QString syntax;   // positional arguments for the help
    QString summary;
    QList<QCommandLineOption> options;
    bool needsLink;
    std::function<int(const Arguments&, const SessionOptions&)> run;
    int positionalCount;
};

const QCommandLineOption kOutputOption(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                       QStringLiteral("The file to write."), QStringLiteral("FILE"));
const QCommandLineOption kDataDirOption(
    QStringLiteral("data-dir"),
    QStringLiteral("The tool's data folder, for its custom channel names (default: $RZ760_HOME when set)."),
    QStringLiteral("DIR"));
const QCommandLineOption kKindOption(
    QStringLiteral("kind"),
    QStringLiteral("The file kind N: 1 show, 2 wall panel, 3 VOD, 4 air conditioner (0..255)."),
    QStringLiteral("N"));
const QCommandLineOption kSceneOption(QStringLiteral("scene"),
                                      QStringLiteral("After a show download (kind 1), switch to scene N (1..50)."),
                                      QStringLiteral("N"));
const QCommandLineOption kRestartOption(
    QStringLiteral("restart"),
    QStringLiteral("Restart the controller first, so that its loader answers the handshake."));
const QCommandLineOption kRoomsOption(QStringLiteral("rooms"),
                                      QStringLiteral("The rooms file: one room a line, a name and its link."),
                                      QStringLiteral("FILE"));
const QCommandLineOption kParallelOption(
    QStringLiteral("parallel"),
    QStringLiteral("At most N rooms at a time (1..%1, default %2).").arg(kMaxParallel).arg(kDefaultParallel),
    QStringLiteral("N"));
const QCommandLineOption kJsonOption(
    QStringLiteral("json"),
    QStringLiteral("Print one JSON document with every room's result on standard output (the result lines go to standard error)."));
const QCommandLineOption kOutputFolderOption(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                             QStringLiteral("The folder for the rooms' files (created when missing)."),
                                             QStringLiteral("DIR"));
const QCommandLineOption kMuteOption(QStringLiteral("mute"),
                                     QStringLiteral("Mute each device as soon as it is found."));

std::filesystem::path pathOf(const QString& s) { return std::filesystem::path(s.toStdU16String()); }

// A whole number in lo..hi, or empty.
std::optional<long> numberIn(const QString& text, long lo, long hi)
{
    bool ok = false;
    const long v = text.toLong(&ok);
    if (!ok || v < lo || v > hi)
        return std::nullopt;
    return v;
}

int usage(ToolStreams io, const std::string& what)
{
    io.err << "rz760ctl: " << what << " (see rz760ctl --help)\n";
    return kExitUsage;
}

std::optional<uint8_t> kindOf(const Arguments& a)
{
    if (!a.parser.isSet(kKindOption))
        return std::nullopt;
    const auto v = numberIn(a.parser.value(kKindOption), 0, 255);
    if (!v)
        return std::nullopt;
    return static_cast<uint8_t>(*v);
}

// --kind and --scene of a download.
int withDownloadArguments(const Arguments& a, const std::function<int(uint8_t kind, std::optional<uint8_t> scene)>& body)
{
    const auto kind = kindOf(a);
    if (!kind)
        return usage(a.io, "a download needs --kind N with N in 0..255");
    std::optional<uint8_t> scene;
    if (a.parser.isSet(kSceneOption)) {
        const auto v = numberIn(a.parser.value(kSceneOption), 1, 50);
        if (!v)
            return usage(a.io, "--scene needs a scene 1..50");
        scene = static_cast<uint8_t>(*v);
    }
    return body(*kind, scene);
}

// --rooms, --parallel and --json of the fleet commands.
int withFleetOptions(const Arguments& a, const std::function<int(const FleetOptions&)>& body)
{
    FleetOptions f;
    if (!a.parser.isSet(kRoomsOption))
        return usage(a.io, "the fleet commands need --rooms FILE");
    f.roomsFile = pathOf(a.parser.value(kRoomsOption));
    if (a.parser.isSet(kParallelOption)) {
        const auto n = numberIn(a.parser.value(kParallelOption), 1, kMaxParallel);
        if (!n)
            return usage(a.io, "--parallel needs a number 1.." + std::to_string(kMaxParallel));
        f.parallel = static_cast<int>(*n);
    }
    f.json = a.parser.isSet(kJsonOption);
    return body(f);
}

const char* const kBadUid = "a UID is twelve hexadecimal digits (03-11-F3-94-4E-87 or 0311F3944E87)";

// The UID, the first argument of the rdm commands; checked before anything is sent.
std::optional<rdm::Uid> uidOf(const Arguments& a)
{
    return rdm::Uid::fromText(a.positional[0].toStdU16String());
}

std::vector<Command> commands()
{
    std::vector<Command> list;
    list.push_back({"show dump", "FILE", "Print a show file or an exchange file (K_1DK, K_ADK, K_1SC, K_AXG, K_1XG, K_1MK) as JSON.",
                    {}, false, [](const Arguments& a, const SessionOptions&) { return dumpFile(pathOf(a.positional[0]), a.io); }, 1});
    list.push_back({"show build", "FILE.json", "Write a show file from JSON (as show dump prints it).", {kOutputOption, kDataDirOption}, false,
                    [](const Arguments& a, const SessionOptions&) {
                        if (!a.parser.isSet(kOutputOption))
                            return usage(a.io, "show build needs -o FILE.K_F");
                        const QString dataDir = a.parser.isSet(kDataDirOption) ? a.parser.value(kDataDirOption)
                                                                               : qEnvironmentVariable("RZ760_HOME");
                        return buildShow(pathOf(a.positional[0]), pathOf(a.parser.value(kOutputOption)),
                                         pathOf(dataDir), a.io);
                    }, 1});
    list.push_back({"show check", "FILE", "Validate a show file; each problem is reported with its byte offset.", {}, false,
                    [](const Arguments& a, const SessionOptions&) { return checkFile(pathOf(a.positional[0]), a.io); }, 1});
    const QList<QCommandLineOption> fleet{kRoomsOption, kParallelOption, kJsonOption};
    list.push_back({"fleet ping", "", "Make the C0 handshake with every room's controller.", fleet, false,
                    [](const Arguments& a, const SessionOptions&) {
                        return withFleetOptions(a, [&](const FleetOptions& f) { return runFleetPing(f, a.io); });
                    }, 0});
    list.push_back({"fleet version", "", "Ask every room's controller for its version.", fleet, false,
                    [](const Arguments& a, const SessionOptions&) {
                        return withFleetOptions(a, [&](const FleetOptions& f) { return runFleetQuery(f, Query::version, a.io); });
                    }, 0});
    list.push_back({"fleet info", "", "Ask every room's controller for its information text.", fleet, false,
                    [](const Arguments& a, const SessionOptions&) {
                        return withFleetOptions(a, [&](const FleetOptions& f) { return runFleetQuery(f, Query::information, a.io); });
                    }, 0});
    list.push_back({"fleet download", "FILE", "Send a file to every room's controller as kind N.", fleet + QList{kKindOption, kSceneOption}, false,
                    [](const Arguments& a, const SessionOptions&) {
                        return withFleetOptions(a, [&](const FleetOptions& f) {
                            return withDownloadArguments(a, [&](uint8_t kind, std::optional<uint8_t> scene) {
                                return runFleetDownload(f, pathOf(a.positional[0]), kind, scene, a.io);
                            });
                        });
                    }, 1});
    list.push_back({"fleet upload", "", "Fetch every room's file of kind N into a folder, one file per room (ROOM.K_F, ...).",
                    fleet + QList{kKindOption, kOutputFolderOption}, false,
                    [](const Arguments& a, const SessionOptions&) {
                        const auto kind = kindOf(a);
                        if (!kind || !a.parser.isSet(kOutputFolderOption))
                            return usage(a.io, "fleet upload needs --kind N (0..255) and -o DIR");
                        return withFleetOptions(a, [&](const FleetOptions& f) {
                            return runFleetUpload(f, *kind, pathOf(a.parser.value(kOutputFolderOption)), a.io);
                        });
                    }, 0});
    list.push_back({"show diff", "A B", "List what differs between two files of one kind (show files, exchange files or their JSON dumps), by JSON path; status 1 when they differ.",
                    {}, false, [](const Arguments& a, const SessionOptions&) { return diffFiles(pathOf(a.positional[0]), pathOf(a.positional[1]), a.io); }, 2});
    list.push_back({"ping", "", "Make the C0 handshake with the controller.", {}, true,
                    [](const Arguments& a, const SessionOptions& s) { return runPing(s, a.io); }, 0});
    list.push_back({"download", "FILE", "Send a file to the controller as kind N.", {kKindOption, kSceneOption, kProgressOption}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        return withDownloadArguments(a, [&](uint8_t kind, std::optional<uint8_t> scene) {
                            return runDownload(s, pathOf(a.positional[0]), kind, scene, a.io);
                        });
                    }, 1});
    list.push_back({"upload", "", "Fetch the controller's file of kind N.", {kKindOption, kOutputOption, kProgressOption}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        const auto kind = kindOf(a);
                        if (!kind || !a.parser.isSet(kOutputOption))
                            return usage(a.io, "upload needs --kind N (0..255) and -o FILE");
                        return runUpload(s, *kind, pathOf(a.parser.value(kOutputOption)), a.io);
                    }, 0});
    list.push_back({"firmware", "IMAGE", "Replace the controller's main program (needs --yes).", {kRestartOption, kYesOption, kProgressOption}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        if (!a.yes)
                            return usage(a.io, "firmware replaces the controller's program: confirm with --yes");
                        return runFirmware(s, pathOf(a.positional[0]), a.parser.isSet(kRestartOption), a.io);
                    }, 1});
    list.push_back({"version", "", "Ask the controller for its version.", {}, true,
                    [](const Arguments& a, const SessionOptions& s) { return runQuery(s, Query::version, a.io); }, 0});
    list.push_back({"info", "", "Ask the controller for its information text.", {}, true,
                    [](const Arguments& a, const SessionOptions& s) { return runQuery(s, Query::information, a.io); }, 0});
    list.push_back({"file-ids", "", "Ask the controller for its wall-panel and VOD file identities.", {}, true,
                    [](const Arguments& a, const SessionOptions& s) { return runQuery(s, Query::fileIds, a.io); }, 0});
    list.push_back({"rdm discover", "", "Search the DMX line for RDM devices.", {kMuteOption}, true,
                    [](const Arguments& a, const SessionOptions& s) { return runRdmDiscover(s, a.parser.isSet(kMuteOption), a.io); }, 0});
    list.push_back({"rdm unmute-all", "", "Un-mute every device on the DMX line (after a search that was cut short).", {}, true,
                    [](const Arguments& a, const SessionOptions& s) { return runRdmUnmuteAll(s, a.io); }, 0});
    list.push_back({"rdm info", "UID", "Read a device's information.", {}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        const auto uid = uidOf(a);
                        return uid ? runRdmInfo(s, *uid, a.io) : usage(a.io, kBadUid);
                    }, 1});
    list.push_back({"rdm address", "UID N", "Set a device's DMX start address (1..512).", {}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        const auto uid = uidOf(a);
                        const auto n = numberIn(a.positional[1], 1, 512);
                        if (!uid)
                            return usage(a.io, kBadUid);
                        if (!n)
                            return usage(a.io, "the start address must be 1..512");
                        return runRdmAddress(s, *uid, static_cast<uint16_t>(*n), a.io);
                    }, 2});
    list.push_back({"rdm personality", "UID N", "Select a device's personality (1..255).", {}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        const auto uid = uidOf(a);
                        const auto n = numberIn(a.positional[1], 1, 255);
                        if (!uid)
                            return usage(a.io, kBadUid);
                        if (!n)
                            return usage(a.io, "the personality must be 1..255");
                        return runRdmPersonality(s, *uid, static_cast<uint8_t>(*n), a.io);
                    }, 2});
    list.push_back({"rdm identify", "UID on|off", "Switch a device's identify mode; fails when the device does not acknowledge.", {}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        const auto uid = uidOf(a);
                        const QString v = a.positional[1];
                        if (!uid)
                            return usage(a.io, kBadUid);
                        if (v != QLatin1String("on") && v != QLatin1String("off"))
                            return usage(a.io, "rdm identify takes on or off");
                        return runRdmIdentify(s, *uid, v == QLatin1String("on"), a.io);
                    }, 2});
    return list;
}

QString overview(const std::vector<Command>& list)
{
    QString text = QStringLiteral("\n\nCommands:\n");
    for (const Command& c : list)
        text += QStringLiteral("  %1\n      %2\n").arg((c.name + QLatin1Char(' ') + c.syntax).trimmed(), c.summary);
    return text;
}

bool lists(const QList<QCommandLineOption>& options, const QCommandLineOption& option)
{
    return std::any_of(options.begin(), options.end(),
                       [&](const QCommandLineOption& o) { return o.names() == option.names(); });
}

// The options the global parser takes are taken after the command as well, but a command's
// help lists only those that mean something to it.
void addCommonOptions(QCommandLineParser& p, const Command* command)
{
    for (QCommandLineOption o : {kLinkOption, kProgressOption, kYesOption}) {
        if (command && lists(command->options, o))
            continue; // added with the command's own options
        const bool meant = !command || (o.names() == kLinkOption.names() && command->needsLink);
        if (!meant)
            o.setFlags(QCommandLineOption::HiddenFromHelp);
        p.addOption(o);
    }
}

// Qt names the program's path in the usage line; the command belongs there too.
QString withUsageLine(QString help, const QString& usage)
{
    const qsizetype end = help.indexOf(QLatin1Char('\n'));
    return help.replace(0, end < 0 ? help.size() : end, QStringLiteral("Usage: ") + usage);
}

} // namespace

int runCommandLine(const QStringList& arguments)
{
    ToolStreams io{std::cout, std::cerr};
    const std::vector<Command> list = commands();

    QCommandLineParser global;
    global.setApplicationDescription(
        QStringLiteral("Show files and the RZ-760 controller from the command line.") + overview(list) +
        QStringLiteral("\nrz760ctl COMMAND --help describes a command.\n\n") + QString::fromLatin1(kKindsHelp) +
        QString::fromLatin1(kExitCodesHelp));
    global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help = global.addHelpOption();
    const QCommandLineOption version = global.addVersionOption();
    addCommonOptions(global, nullptr);
    global.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do (see Commands)."));
    if (!global.parse(arguments))
        return usage(io, global.errorText().toStdString());
    if (global.isSet(version)) {
        io.out << "rz760ctl " << QCoreApplication::applicationVersion().toStdString() << '\n';
        return kExitOk;
    }
    const QStringList rest = global.positionalArguments();
    if (rest.isEmpty()) {
        if (global.isSet(help)) {
            io.out << withUsageLine(global.helpText(), QStringLiteral("rz760ctl [options] COMMAND ...")).toStdString();
            return kExitOk;
        }
        return usage(io, "no command given");
    }

    // The longest command name the words start with ("show dump" before "show").
    const Command* chosen = nullptr;
    int words = 0;
    for (const Command& c : list) {
        const QStringList name = c.name.split(QLatin1Char(' '));
        if (name.size() <= rest.size() && rest.mid(0, name.size()) == name && name.size() > words) {
            chosen = &c;
            words = static_cast<int>(name.size());
        }
    }
    if (!chosen)
        return usage(io, "unknown command \"" + rest.join(QLatin1Char(' ')).toStdString() + "\"");

    QCommandLineParser parser;
    QString description = chosen->summary + QStringLiteral("\n\n");
    if (lists(chosen->options, kKindOption))
        description += QString::fromLatin1(kKindsHelp);
    parser.setApplicationDescription(description + QString::fromLatin1(kExitCodesHelp));
    const QCommandLineOption subHelp = parser.addHelpOption();
    addCommonOptions(parser, chosen);
    parser.addOptions(chosen->options);
    for (const QString& word : chosen->syntax.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        parser.addPositionalArgument(word, QString());
    QStringList subArguments{arguments.value(0) + QLatin1Char(' ') + chosen->name};
    subArguments += rest.mid(words);
    if (!parser.parse(subArguments))
        return usage(io, parser.errorText().toStdString());
    if (parser.isSet(subHelp) || global.isSet(help)) {
        const QString usageLine = QStringLiteral("rz760ctl ") + chosen->name + QStringLiteral(" [options] ") + chosen->syntax;
        io.out << withUsageLine(parser.helpText(), usageLine.trimmed()).toStdString();
        return kExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != chosen->positionalCount)
        return usage(io, chosen->name.toStdString() + " takes " +
                             (chosen->positionalCount == 0 ? std::string("no arguments")
                                                           : chosen->syntax.toStdString()));

    SessionOptions session;
    session.progress = global.isSet(kProgressOption) || parser.isSet(kProgressOption);
    if (chosen->needsLink) {
        const QString linkText = parser.isSet(kLinkOption) ? parser.value(kLinkOption) : global.value(kLinkOption);
        if (linkText.isEmpty())
            return usage(io, chosen->name.toStdString() + " needs --link serial:PORT or --link udp:HOST:PORT");
        const auto address = parseLinkAddress(linkText);
        if (!address)
            return usage(io, "--link " + linkText.toStdString() + " is neither serial:PORT nor udp:HOST:PORT");
        session.link = *address;
    }
    // Ctrl+C stops a single transfer at its next block; elsewhere it ends the program at once.
    std::optional<InterruptWatch> interrupt;
    if (chosen->name == QLatin1String("download") || chosen->name == QLatin1String("upload") ||
        chosen->name == QLatin1String("firmware")) {
        interrupt.emplace();
        session.cancelRequested = &InterruptWatch::requested;
    }
    const bool yes = global.isSet(kYesOption) || parser.isSet(kYesOption);
    return chosen->run(Arguments{parser, positional, io, yes}, session);
}

} // namespace rz::ctl
