#include "app/CommandLine.h"

namespace rz::app {

namespace {

const QString dataDirOption = QStringLiteral("data-dir");

} // namespace

bool asksForHelpOrVersion(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "-?" || arg == "--version"
            || arg == "-v")
            return true;
    }
    return false;
}

void declareOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Configuration and test tool of the RZ-760 DMX512 controller."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({dataDirOption,
                      QStringLiteral("Folder holding the settings, shows and exchange files."),
                      QStringLiteral("DIR")});
}

CommandLineOptions readOptions(const QCommandLineParser& parser)
{
    CommandLineOptions options;
    if (parser.isSet(dataDirOption))
        options.dataDir = std::filesystem::path(parser.value(dataDirOption).toStdU16String());
    return options;
}

} // namespace rz::app
