#include "InputCommands.h"

#include "core/link/Frame.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace rz::sim::program {

const char* const kInputCommandsHelp =
    "Standard input takes what the room produces, one JSON object per line; each acts on\n"
    "every served link:\n"
    "  {\"cmd\":\"infrared\",\"code\":\"11 22 33 44\"}  a remote control's code reaches the\n"
    "      receiver; reported as CE 50 66 and the four bytes while reception is on (CE 50 01)\n"
    "  {\"cmd\":\"airConLearned\"}  the air conditioner's remote is pressed while a learn request\n"
    "      (CE 24 02 k) runs; reported as CE 24 02 k\n"
    "  {\"cmd\":\"autoLearn\",\"on\":false}  learn requests wait for airConLearned (default: a\n"
    "      learn request is reported as learned at once)\n"
    "  {\"cmd\":\"wallPanelScene\",\"scene\":5} / {\"cmd\":\"vodScene\",\"scene\":5}  a wall panel or\n"
    "      the VOD system selects scene 5; while the association report is on (CE 20 88, until\n"
    "      CE 20 44) reported as CE 20 00|01 05 and the show scene associated with it in the\n"
    "      held show file (--file 1=PATH or a download; scene n for n without one)\n"
    "  {\"cmd\":\"frame\",\"command\":\"CE\",\"payload\":\"19 01\"}  any frame the controller sends\n"
    "      of its own accord (wall-panel or VOD input)\n"
    "A line that is not one of these is reported on standard error and changes nothing. With\n"
    "--events each line is answered {\"event\":\"input\",\"cmd\":...,\"ok\":true} (or \"ok\":false\n"
    "and \"error\"), and each room function performed is an event line:\n"
    "  {\"event\":\"room\",\"link\":\"udp\",\"function\":\"airConLearned\",\"payload\":\"03\"}\n"
    "with the functions infraredReceptionOn, infraredReceptionOff, infraredCodeReported,\n"
    "infraredCodeIgnored, airConLearning, airConLearned, airConTestSent, airConLearnStopped,\n"
    "sceneReportOn, sceneReportOff, wallPanelScene, vodScene (payload: number, scene).";

namespace {

std::optional<std::vector<uint8_t>> hexBytes(const QJsonValue& value)
{
    if (!value.isString())
        return std::nullopt;
    return link::bytesFromHexText(value.toString().toStdString());
}

} // namespace

std::optional<QString> applyInputCommand(const QByteArray& line, Controller& controller)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parseError);
    if (!doc.isObject())
        return QStringLiteral("not a JSON object: ") + QString::fromUtf8(line.trimmed());
    const QJsonObject o = doc.object();
    const QString cmd = o.value(QStringLiteral("cmd")).toString();
    if (cmd == QStringLiteral("infrared")) {
        const auto code = hexBytes(o.value(QStringLiteral("code")));
        if (!code || code->size() != 4)
            return QStringLiteral("infrared needs \"code\" of four hexadecimal bytes");
        const std::array<uint8_t, 4> c{(*code)[0], (*code)[1], (*code)[2], (*code)[3]};
        controller.inject([&](FamilyContext& context) { controller.infrared().receiveInfraredCode(c, context); });
        return std::nullopt;
    }
    if (cmd == QStringLiteral("airConLearned")) {
        controller.inject([&](FamilyContext& context) { controller.infrared().learnAirConCode(context); });
        return std::nullopt;
    }
    if (cmd == QStringLiteral("autoLearn")) {
        const QJsonValue on = o.value(QStringLiteral("on"));
        if (!on.isBool())
            return QStringLiteral("autoLearn needs \"on\": true or false");
        controller.infrared().setAutoLearn(on.toBool());
        return std::nullopt;
    }
    if (cmd == QStringLiteral("wallPanelScene") || cmd == QStringLiteral("vodScene")) {
        const int number = o.value(QStringLiteral("scene")).toInt(-1);
        if (number < 1 || number > 30)
            return cmd + QStringLiteral(" needs \"scene\" from 1 to 30");
        const SceneSource source = cmd == QStringLiteral("vodScene") ? SceneSource::Vod : SceneSource::WallPanel;
        controller.inject([&](FamilyContext& context) {
            controller.associations().selectScene(source, static_cast<uint8_t>(number), context);
        });
        return std::nullopt;
    }
    if (cmd == QStringLiteral("frame")) {
        const auto command = hexBytes(o.value(QStringLiteral("command")));
        const auto payload = o.contains(QStringLiteral("payload")) ? hexBytes(o.value(QStringLiteral("payload")))
                                                                    : std::optional<std::vector<uint8_t>>{std::vector<uint8_t>{}};
        if (!command || command->size() != 1 || !payload)
            return QStringLiteral("frame needs \"command\" (one hexadecimal byte) and \"payload\" (hexadecimal bytes)");
        controller.sendUnprompted((*command)[0], *payload);
        return std::nullopt;
    }
    return QStringLiteral("unknown cmd: ") + cmd;
}

StdinCommands::StdinCommands(std::vector<Target> targets, Applied applied, QObject* parent)
    : QObject(parent), targets(std::move(targets)), applied(std::move(applied))
{
    notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &StdinCommands::readAvailable);
}

StdinCommands::~StdinCommands() = default;

void StdinCommands::readAvailable()
{
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        // End of input (or no input at all): stop listening, the links keep running.
        notifier->setEnabled(false);
        return;
    }
    feed(QByteArray(buffer, static_cast<qsizetype>(n)));
}

void StdinCommands::feed(const QByteArray& bytes)
{
    partial += bytes;
    // A line without its end may not grow without bound.
    constexpr qsizetype kLongestLine = 64 * 1024;
    qsizetype end;
    while ((end = partial.indexOf('\n')) >= 0) {
        const QByteArray line = partial.left(end).trimmed();
        partial.remove(0, end + 1);
        if (line.isEmpty())
            continue;
        std::optional<QString> error;
        for (auto& [controller, flush] : targets) {
            if ((error = applyInputCommand(line, *controller)))
                break;
            flush();
        }
        if (error) {
            std::fprintf(stderr, "rz760-sim: %s\n", error->toLocal8Bit().constData());
            std::fflush(stderr);
        }
        if (applied)
            applied(QJsonDocument::fromJson(line).object().value(QStringLiteral("cmd")).toString(), error);
    }
    if (partial.size() > kLongestLine)
        partial.clear();
}

} // namespace rz::sim::program
