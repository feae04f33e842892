#pragma once
// The program's command-line options. Add an option in both functions.
#include <QCommandLineParser>

#include <filesystem>
#include <optional>

namespace rz::app {

// --controller udp:HOST:PORT or serial:PORT: the controller to connect to for this run.
struct ControllerChoice {
    enum class Kind { udp, serial };
    Kind kind = Kind::udp;
    QString host;       // udp
    quint16 port = 0;   // udp
    QString serialPort; // serial: "3" for COM3, a port name or a device path
};

// The choice in an option text; empty for a text of neither form.
std::optional<ControllerChoice> parseControllerChoice(const QString& text);

struct CommandLineOptions {
    std::optional<std::filesystem::path> dataDir; // --data-dir DIR
    std::optional<ControllerChoice> controller;   // --controller udp:HOST:PORT | serial:PORT
    QString error;                                // a bad option value, for the user
};

// True when the arguments ask only for --help or --version, which need no display.
bool asksForHelpOrVersion(int argc, char** argv);

// Declares every option, including --help and --version.
void declareOptions(QCommandLineParser& parser);
// Reads the options after QCommandLineParser::process.
CommandLineOptions readOptions(const QCommandLineParser& parser);

} // namespace rz::app
