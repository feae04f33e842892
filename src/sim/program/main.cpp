// rz760-sim: the controller simulator served over a pseudo-terminal and/or UDP.
#include "ControllerLink.h"
#include "InputCommands.h"
#include "PseudoTerminal.h"
#include "SimOptions.h"
#include "UdpEndpoint.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <memory>

using namespace rz::sim::program;

namespace {

void printError(const QString& text)
{
    std::fprintf(stderr, "rz760-sim: %s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("rz760-sim");
    QCoreApplication::setApplicationVersion(QStringLiteral("16.2"));

    QString error;
    const std::optional<SimOptions> options = parseOptions(app.arguments(), error);
    if (!options) {
        printError(error + " (see --help)");
        return 2;
    }

    ElapsedClock clock;
    std::unique_ptr<ControllerLink> udpLink;
    std::unique_ptr<UdpEndpoint> udp;
    std::unique_ptr<ControllerLink> ptyLink;
    std::unique_ptr<PseudoTerminal> pty;

    if (!options->udpHost.isEmpty()) {
        udpLink = std::make_unique<ControllerLink>("udp", *options, clock, true);
        udp = std::make_unique<UdpEndpoint>(*udpLink);
        if (!udp->bind(options->udpHost, options->udpPort, error)) {
            printError(error);
            return 1;
        }
    }
    if (!options->ptyPath.isEmpty()) {
        ptyLink = std::make_unique<ControllerLink>("pty", *options, clock, false);
        pty = PseudoTerminal::create(options->ptyPath, *ptyLink, error);
        if (!pty) {
            printError(error);
            return 1;
        }
    }
    quitOnTerminationSignals(&app);

    std::vector<StdinCommands::Target> targets;
    for (ControllerLink* l : {udpLink.get(), ptyLink.get()})
        if (l)
            targets.emplace_back(&l->simulated(), [l] { l->flush(); });
    StdinCommands input(std::move(targets), [&options](const QString& cmd, const std::optional<QString>& error) {
        if (!options->events)
            return;
        QJsonObject o{{"event", "input"}, {"cmd", cmd}, {"ok", !error}};
        if (error)
            o.insert("error", *error);
        JsonEventPrinter::printLine(QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString());
    });

    if (udp)
        std::fprintf(stderr, "rz760-sim: udp %s\n", udp->boundAddress().toLocal8Bit().constData());
    if (pty)
        std::fprintf(stderr, "rz760-sim: pty %s -> %s\n",
                     options->ptyPath.toLocal8Bit().constData(),
                     pty->deviceName().toLocal8Bit().constData());
    if (options->events) {
        std::string ready = "{\"event\":\"ready\"";
        if (udp)
            ready += ",\"udp\":\"" + udp->boundAddress().toStdString() + "\"";
        if (pty)
            ready += ",\"pty\":\"" + options->ptyPath.toStdString() + "\"";
        JsonEventPrinter::printLine(ready + "}");
    }
    std::fputs("ready\n", stderr);
    std::fflush(stderr);

    const int rc = app.exec();
    // Endpoints go before their links; the pty removes its symbolic link.
    pty.reset();
    udp.reset();
    return rc;
}
