#include "app/CommandLine.h"

namespace rz::app {

namespace {

const QString dataDirOption = QStringLiteral("data-dir");
const QString controllerOption = QStringLiteral("controller");

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
    parser.addOption({controllerOption,
                      QStringLiteral("The controller to connect to in this run: udp:HOST:PORT (Wi-Fi, "
                                     "for example udp:127.0.0.1:5000) or serial:PORT (for example "
                                     "serial:3 for COM3, or serial:/dev/ttyUSB0). Nothing is written "
                                     "to the settings until you press the connect button."),
                      QStringLiteral("KIND:ADDRESS")});
}

std::optional<ControllerChoice> parseControllerChoice(const QString& text)
{
    ControllerChoice c;
    if (text.startsWith(QLatin1String("serial:"))) {
        c.kind = ControllerChoice::Kind::serial;
        c.serialPort = text.mid(7);
        if (c.serialPort.isEmpty())
            return std::nullopt;
        return c;
    }
    if (!text.startsWith(QLatin1String("udp:")))
        return std::nullopt;
    const QString rest = text.mid(4);
    const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    bool ok = false;
    const uint port = rest.mid(colon + 1).toUInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    c.kind = ControllerChoice::Kind::udp;
    c.host = rest.left(colon);
    if (c.host.startsWith(QLatin1Char('[')) && c.host.endsWith(QLatin1Char(']')))
        c.host = c.host.mid(1, c.host.size() - 2);
    c.port = static_cast<quint16>(port);
    return c;
}

CommandLineOptions readOptions(const QCommandLineParser& parser)
{
    CommandLineOptions options;
    if (parser.isSet(dataDirOption))
        options.dataDir = std::filesystem::path(parser.value(dataDirOption).toStdU16String());
    if (parser.isSet(controllerOption)) {
        options.controller = parseControllerChoice(parser.value(controllerOption));
        if (!options.controller)
            options.error = QStringLiteral("--controller wants udp:HOST:PORT or serial:PORT, not \"%1\".")
                                .arg(parser.value(controllerOption));
    }
    return options;
}

} // namespace rz::app
