#pragma once
// The program's command-line options. Add an option in both functions.
#include <QCommandLineParser>

#include <filesystem>
#include <optional>

namespace rz::app {

struct CommandLineOptions {
    std::optional<std::filesystem::path> dataDir; // --data-dir DIR
};

// True when the arguments ask only for --help or --version, which need no display.
bool asksForHelpOrVersion(int argc, char** argv);

// Declares every option, including --help and --version.
void declareOptions(QCommandLineParser& parser);
// Reads the options after QCommandLineParser::process.
CommandLineOptions readOptions(const QCommandLineParser& parser);

} // namespace rz::app
