#pragma once
// The rz760-sim program on a free UDP port with its event lines collected, for the tests that
// run the whole program against it. The test target defines RZ760_SIM_PATH.
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/show/ShowFile.h"
#include "support/Fakes.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include <filesystem>
#include <vector>

namespace rz::test {

class SimulatorProcess {
public:
    // Starts it with --events and `extra` arguments; true once it said on which port it listens.
    bool start(const QStringList& extra = {})
    {
        process.setProgram(QStringLiteral(RZ760_SIM_PATH));
        process.setArguments(QStringList{QStringLiteral("--udp"), QStringLiteral("127.0.0.1:0"),
                                         QStringLiteral("--events")}
                             + extra);
        process.start();
        return process.waitForStarted(10000) && QTest::qWaitFor([this] { return !port().isEmpty(); }, 10000);
    }
    ~SimulatorProcess()
    {
        process.kill();
        process.waitForFinished();
    }
    // Points the data root's Wi-Fi settings at this simulator and saves an empty working show
    // there, so the program's start-up asks nothing and connects here.
    bool prepareDataRoot(const std::filesystem::path& root)
    {
        struct NoonTime : show::LocalTimeSource {
            LocalDateTime localNow() override { return {2026, 12, 10, 12, 0, 0}; }
        } time;
        const SettingsPaths paths = settingsPaths(root);
        if (!writeKey(paths.system, keys::kWifiIp, u"127.0.0.1")
            || !writeKey(paths.system, keys::kWifiPort, port().toStdU16String())
            || !writeKey(paths.work, keys::kConnectionKind, u"Wifi"))
            return false;
        FakeClock clock;
        FakeYield yield(clock);
        RecordingPrompt prompt;
        ScriptedFileChooser chooser;
        show::Show empty;
        show::ShowFile file(empty, root, {prompt, chooser, clock, yield, time, nullptr});
        return file.saveShow();
    }
    const std::vector<QJsonObject>& events()
    {
        pending += process.readAllStandardOutput();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const auto doc = QJsonDocument::fromJson(pending.left(end));
            if (doc.isObject())
                parsed.push_back(doc.object());
            pending.remove(0, end + 1);
        }
        return parsed;
    }
    QString port()
    {
        for (const auto& e : events())
            if (e.value(QStringLiteral("event")).toString() == QStringLiteral("ready"))
                return e.value(QStringLiteral("udp")).toString().section(QLatin1Char(':'), -1);
        return {};
    }
    // The live frames the controller took, oldest first.
    std::vector<QJsonObject> liveFrames()
    {
        std::vector<QJsonObject> frames;
        for (const auto& e : events())
            if (e.value(QStringLiteral("event")).toString() == QStringLiteral("frame")
                && e.value(QStringLiteral("command")).toString() == QStringLiteral("60"))
                frames.push_back(e);
        return frames;
    }
    // Every levels object of the live frames the controller took, in order.
    std::vector<QJsonObject> allLevels()
    {
        std::vector<QJsonObject> seen;
        for (const auto& f : liveFrames())
            seen.push_back(f.value(QStringLiteral("levels")).toObject());
        return seen;
    }
    // The levels of the newest live frame the controller took.
    QJsonObject lastLevels()
    {
        const auto frames = liveFrames();
        return frames.empty() ? QJsonObject{} : frames.back().value(QStringLiteral("levels")).toObject();
    }
    // The relays of the newest live frame the controller took (relay 1 first).
    QJsonArray lastRelays()
    {
        const auto frames = liveFrames();
        return frames.empty() ? QJsonArray{} : frames.back().value(QStringLiteral("relays")).toArray();
    }
    // "function:payload" of the room-function events so far.
    QStringList roomFunctions()
    {
        QStringList out;
        for (const auto& e : events())
            if (e.value(QStringLiteral("event")).toString() == QStringLiteral("room"))
                out << e.value(QStringLiteral("function")).toString() + QLatin1Char(':')
                           + e.value(QStringLiteral("payload")).toString();
        return out;
    }

private:
    QProcess process;
    QByteArray pending;
    std::vector<QJsonObject> parsed;
};

} // namespace rz::test
