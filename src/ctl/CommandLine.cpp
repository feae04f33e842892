#include "ctl/CommandLine.h"

#include "ctl/ControllerTool.h"
#include "ctl/ExitCodes.h"
#include "ctl/Interrupt.h"
#include "ctl/ShowTool.h"

#include <QCommandLineParser>
#include <QCoreApplication>

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

const char* const kExitCodesHelp =
    "Exit status: 0 success; 1 the check found problems or the controller failed or did not answer;\n"
    "2 bad command line; 3 an input file is missing, damaged, of another kind, or a JSON value is\n"
    "refused; 4 the output could not be written; 130 Ctrl+C stopped a transfer at its next block.\n";

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
const QCommandLineOption kKindOption(QStringLiteral("kind"), QStringLiteral("The file kind N (0..255)."),
                                     QStringLiteral("N"));
const QCommandLineOption kSceneOption(QStringLiteral("scene"),
                                      QStringLiteral("After a show download (kind 1), switch to scene N (1..50)."),
                                      QStringLiteral("N"));
const QCommandLineOption kRestartOption(
    QStringLiteral("restart"),
    QStringLiteral("Restart the controller first, so that its loader answers the handshake."));
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
    list.push_back({"ping", "", "Make the C0 handshake with the controller.", {}, true,
                    [](const Arguments& a, const SessionOptions& s) { return runPing(s, a.io); }, 0});
    list.push_back({"download", "FILE", "Send a file to the controller as kind N.", {kKindOption, kSceneOption}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        const auto kind = kindOf(a);
                        if (!kind)
                            return usage(a.io, "download needs --kind N with N in 0..255");
                        std::optional<uint8_t> scene;
                        if (a.parser.isSet(kSceneOption)) {
                            const auto v = numberIn(a.parser.value(kSceneOption), 1, 50);
                            if (!v)
                                return usage(a.io, "--scene needs a scene 1..50");
                            scene = static_cast<uint8_t>(*v);
                        }
                        return runDownload(s, pathOf(a.positional[0]), *kind, scene, a.io);
                    }, 1});
    list.push_back({"upload", "", "Fetch the controller's file of kind N.", {kKindOption, kOutputOption}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        const auto kind = kindOf(a);
                        if (!kind || !a.parser.isSet(kOutputOption))
                            return usage(a.io, "upload needs --kind N (0..255) and -o FILE");
                        return runUpload(s, *kind, pathOf(a.parser.value(kOutputOption)), a.io);
                    }, 0});
    list.push_back({"firmware", "IMAGE", "Replace the controller's main program (needs --yes).", {kRestartOption}, true,
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
    list.push_back({"rdm info", "UID", "Read a device's information.", {}, true,
                    [](const Arguments& a, const SessionOptions& s) { return runRdmInfo(s, a.positional[0].toStdU16String(), a.io); }, 1});
    list.push_back({"rdm address", "UID N", "Set a device's DMX start address (1..512).", {}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        const auto n = numberIn(a.positional[1], 1, 512);
                        if (!n)
                            return usage(a.io, "the start address must be 1..512");
                        return runRdmAddress(s, a.positional[0].toStdU16String(), static_cast<uint16_t>(*n), a.io);
                    }, 2});
    list.push_back({"rdm personality", "UID N", "Select a device's personality (1..255).", {}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        const auto n = numberIn(a.positional[1], 1, 255);
                        if (!n)
                            return usage(a.io, "the personality must be 1..255");
                        return runRdmPersonality(s, a.positional[0].toStdU16String(), static_cast<uint8_t>(*n), a.io);
                    }, 2});
    list.push_back({"rdm identify", "UID on|off", "Switch a device's identify mode.", {}, true,
                    [](const Arguments& a, const SessionOptions& s) {
                        const QString v = a.positional[1];
                        if (v != QLatin1String("on") && v != QLatin1String("off"))
                            return usage(a.io, "rdm identify takes on or off");
                        return runRdmIdentify(s, a.positional[0].toStdU16String(), v == QLatin1String("on"), a.io);
                    }, 2});
    return list;
}

QString overview(const std::vector<Command>& list)
{
    QString text = QStringLiteral("\nCommands:\n");
    for (const Command& c : list)
        text += QStringLiteral("  %1 %2\n      %3\n").arg(c.name, c.syntax, c.summary);
    return text;
}

void addCommonOptions(QCommandLineParser& p)
{
    p.addOption(kLinkOption);
    p.addOption(kProgressOption);
    p.addOption(kYesOption);
}

} // namespace

int runCommandLine(const QStringList& arguments)
{
    ToolStreams io{std::cout, std::cerr};
    const std::vector<Command> list = commands();

    QCommandLineParser global;
    global.setApplicationDescription(
        QStringLiteral("Show files and the RZ-760 controller from the command line.") + overview(list) +
        QStringLiteral("\nrz760ctl COMMAND --help describes a command.\n") + QString::fromLatin1(kExitCodesHelp));
    global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help = global.addHelpOption();
    const QCommandLineOption version = global.addVersionOption();
    addCommonOptions(global);
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
            io.out << global.helpText().toStdString();
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
    parser.setApplicationDescription(chosen->summary + QStringLiteral("\n\n") + QString::fromLatin1(kExitCodesHelp));
    const QCommandLineOption subHelp = parser.addHelpOption();
    addCommonOptions(parser);
    parser.addOptions(chosen->options);
    for (const QString& word : chosen->syntax.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        parser.addPositionalArgument(word, QString());
    QStringList subArguments{arguments.value(0) + QLatin1Char(' ') + chosen->name};
    subArguments += rest.mid(words);
    if (!parser.parse(subArguments))
        return usage(io, parser.errorText().toStdString());
    if (parser.isSet(subHelp) || global.isSet(help)) {
        io.out << parser.helpText().toStdString();
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
