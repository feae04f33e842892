// rz760-soak: the program's own link classes (Link, the Qt UDP transport and its opener, the
// connection manager, the live sender under the main loop's scheduler, the file transfer)
// against rz760-sim on a lossy line for a long time. Live frames stream all along, a 100 KB
// show is downloaded every few minutes, and once a minute a line gives resident memory and
// frame counters. Not a test: scripts/soak.sh runs it and the figures go to the issue note.
#include "core/app/Scheduler.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/files/ByteImage.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/liveout/LiveSender.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/TransferResult.h"
#include "io/QtSeams.h"
#include "io/QtTransportOpener.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace rz;

namespace {

// Resident memory of a process in KiB (Linux), 0 when unknown.
long residentKiB(qint64 pid)
{
    std::ifstream status("/proc/" + (pid == 0 ? std::string("self") : std::to_string(pid)) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

// A show-like file: runs of zeros between short ramps, as fixture tables and materials give.
std::vector<uint8_t> showLikeFile(std::size_t size)
{
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = (i / 64) % 3 == 0 ? static_cast<uint8_t>(i * 7 + i / 256) : 0;
    bytes[0] = 0xF1;
    return bytes;
}

class NoView : public link::ConnectionView {
public:
    void showKinds(const std::vector<std::u16string>&, const std::u16string&) override {}
    void showButton(const link::ConnectionButtonLook&) override {}
    void setButtonEnabled(bool) override {}
    void showCounters(const std::u16string&) override {}
};

// Keeps the last transfer's lines for a failure report.
class LastLines : public LogBox {
public:
    void append(const std::u16string& text, bool newLine) override
    {
        current += text;
        if (newLine)
            current += u" | ";
    }
    std::u16string current;
};

struct Options {
    QString simulator;
    QString work;
    int minutes = 30;
    int downloadEverySeconds = 120;
    int sampleEverySeconds = 60;
    QString drop = "0.05";
    QString corrupt = "0.01";
    QString seed = "1";
};

class Soak {
public:
    explicit Soak(const Options& o) : options(o), paths(settingsPaths(o.work.toStdString()))
    {
        opener.setLocalTestPort(0);
        manager.onConnected = [this] { live.requestLiveFrames(); };
        live.setModeWork(liveout::kModeFixtureLibrary, [this](liveout::LiveBuffers& b) {
            // A fader being dragged and one channel walking along: the output changes on every
            // tick, the frames stay small.
            b.frame[1] = static_cast<uint8_t>(liveTicks);
            b.frame[2 + (liveTicks + 499) % 500] = 0;
            b.frame[2 + liveTicks % 500] = 0xFF;
        });
        live.setLiveOutputMode(liveout::kModeFixtureLibrary);
        tasks.liveTick = [this] { liveTick(); };
        tasks.keepAlive = [this] { manager.keepAliveTick(); };
        tasks.connectionPoll = [this] { manager.secondTick(); };
        installPeriodicTasks(scheduler, tasks);
        scheduler.setWaitInProgress([this] { return link.waitDepth() > 0; });
    }

    bool start()
    {
        started.start();
        if (!startSimulator())
            return false;
        files::saveImage(showPath(), showLikeFile(100 * 1024));
        for (int attempt = 0; attempt < 10 && !manager.connected(); ++attempt) {
            ++handshakes;
            manager.toggleConnection();
        }
        if (!manager.connected()) {
            std::fprintf(stderr, "rz760-soak: the simulator did not answer the handshake\n");
            return false;
        }
        std::printf("minute,rss_kib,sim_rss_kib,live_sent,live_taken_by_sim,title_bar_counters,"
                    "downloads,failed_downloads,stalls,longest_gap_ms\n");
        std::fflush(stdout);
        nextDownloadMs = options.downloadEverySeconds * 1000;
        nextSampleMs = options.sampleEverySeconds * 1000;
        loop.setTimerType(Qt::PreciseTimer);
        QObject::connect(&loop, &QTimer::timeout, [this] { pass(); });
        loop.start(1);
        return true;
    }

    int finish()
    {
        loop.stop();
        const long growth = rssSamples.empty() ? 0 : rssSamples.back() - rssSamples.front();
        const long simGrowth = simRssSamples.empty() ? 0 : simRssSamples.back() - simRssSamples.front();
        std::sort(downloadMs.begin(), downloadMs.end());
        const auto median = downloadMs.empty() ? 0 : downloadMs[downloadMs.size() / 2];
        const auto longest = downloadMs.empty() ? 0 : downloadMs.back();
        std::printf("summary: %lld of %d min; live frames sent %ld, taken by the simulator %ld; downloads %d, "
                    "failed %d; handshakes %d; stalls %d (longest gap between live ticks outside "
                    "downloads %lld ms); download time median %lld ms, longest %lld ms; resident "
                    "memory %ld -> %ld KiB (growth %ld KiB from the first sample), simulator %ld -> "
                    "%ld KiB (growth %ld KiB)\n",
                    static_cast<long long>(started.elapsed() / 60000), options.minutes, liveSent,
                    liveTakenBySimulator(), downloads, failedDownloads,
                    handshakes, stalls, static_cast<long long>(longestGapMs),
                    static_cast<long long>(median), static_cast<long long>(longest),
                    rssSamples.empty() ? 0 : rssSamples.front(), rssSamples.empty() ? 0 : rssSamples.back(),
                    growth, simRssSamples.empty() ? 0 : simRssSamples.front(),
                    simRssSamples.empty() ? 0 : simRssSamples.back(), simGrowth);
        for (const std::string& f : failures)
            std::printf("failed download: %s\n", f.c_str());
        std::fflush(stdout);
        link.setTransport(nullptr);
        simulator.disconnect();
        simulator.terminate();
        simulator.waitForFinished(5000);
        return simulatorEnded ? 1 : 0;
    }

private:
    std::filesystem::path showPath() const { return std::filesystem::path(options.work.toStdString()) / "SOAK.K_F"; }

    bool startSimulator()
    {
        simulator.setProgram(options.simulator);
        simulator.setArguments({"--udp", "127.0.0.1:0", "--drop", options.drop, "--corrupt", options.corrupt,
                                "--seed", options.seed, "--events", "--every-live-frame"});
        simulator.setStandardOutputFile(eventsPath());
        simulator.setReadChannel(QProcess::StandardError);
        simulator.start();
        if (!simulator.waitForStarted(10000))
            return false;
        QObject::connect(&simulator, &QProcess::finished, [this](int code, QProcess::ExitStatus status) {
            // The controller is gone: what follows would measure a dead line, so stop here.
            std::printf("the simulator ended after %lld s (%s, code %d)\n",
                        static_cast<long long>(started.elapsed() / 1000),
                        status == QProcess::CrashExit ? "killed or crashed" : "exited", code);
            simulatorEnded = true;
        });
        static const QRegularExpression where("udp 127\\.0\\.0\\.1:([0-9]+)");
        QByteArray said;
        while (!said.contains("ready") && simulator.waitForReadyRead(10000))
            said += simulator.readAllStandardError();
        const auto match = where.match(QString::fromUtf8(said));
        if (!match.hasMatch()) {
            std::fprintf(stderr, "rz760-soak: the simulator said: %s\n", said.constData());
            return false;
        }
        return writeKey(paths.system, keys::kWifiIp, u"127.0.0.1") &&
               writeKey(paths.system, keys::kWifiPort, match.captured(1).toStdU16String());
    }

    QString eventsPath() const { return QDir(options.work).filePath("sim-events.jsonl"); }

    // Live frames the simulator took (one "frame" line with command 60 each).
    long liveTakenBySimulator() const
    {
        QFile f(eventsPath());
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        long n = 0;
        while (!f.atEnd()) {
            const QByteArray line = f.readLine();
            n += line.startsWith("{\"event\":\"frame\"") && line.contains("\"command\":\"60\"");
        }
        return n;
    }

    void liveTick()
    {
        const qint64 now = started.elapsed();
        if (lastTickMs >= 0 && downloadsAtLastTick == downloads) {
            const qint64 gap = now - lastTickMs;
            longestGapMs = std::max(longestGapMs, gap);
            if (gap > kStallMs)
                ++stalls;
        }
        lastTickMs = now;
        downloadsAtLastTick = downloads;
        ++liveTicks;
        live.liveTick();
    }

    void pass()
    {
        if (link.waitDepth() > 0)
            return; // a download or handshake is waiting; the loop resumes after it
        scheduler.runPass(clock.nowMs());
        const qint64 now = started.elapsed();
        if (now >= nextDownloadMs) {
            nextDownloadMs += options.downloadEverySeconds * 1000;
            download();
        }
        if (now >= nextSampleMs) {
            nextSampleMs += options.sampleEverySeconds * 1000;
            sample(static_cast<int>(now / 60000));
        }
        if (now >= options.minutes * 60000LL || simulatorEnded)
            QCoreApplication::exit(finish());
    }

    void download()
    {
        if (!manager.connected()) {
            ++handshakes;
            manager.toggleConnection();
        }
        QElapsedTimer t;
        t.start();
        LastLines log;
        const transfer::TransferResult result = transfer.downloadFile(1, showPath(), log);
        downloadMs.push_back(t.elapsed());
        ++downloads;
        if (result != transfer::TransferResult::Succeeded) {
            ++failedDownloads;
            failures.push_back(std::string(transfer::transferResultName(result)) + ": " +
                               QString::fromStdU16String(log.current).toStdString());
        }
    }

    void sample(int minute)
    {
        rssSamples.push_back(residentKiB(0));
        simRssSamples.push_back(residentKiB(simulator.processId()));
        std::printf("%d,%ld,%ld,%ld,%ld,%s,%d,%d,%d,%lld\n", minute, rssSamples.back(), simRssSamples.back(),
                    liveSent, liveTakenBySimulator(),
                    QString::fromStdU16String(manager.countersText()).toStdString().c_str(), downloads,
                    failedDownloads, stalls, static_cast<long long>(longestGapMs));
        std::fflush(stdout);
    }

    // A live tick this late (outside downloads) is a stall: the lights would stutter.
    static constexpr qint64 kStallMs = 300;

    Options options;
    SettingsPaths paths;
    QProcess simulator;
    io::QtClock clock;
    io::QtYield yield;
    link::Link link{clock, yield};
    io::QtTransportOpener opener{paths.system, {}};
    NoView view;
    link::ConnectionManager manager{link, opener, paths, view};
    transfer::FileTransfer transfer{link, [this] { return manager.connected(); }};
    liveout::LiveSender live{[this](uint8_t command, std::span<const uint8_t> payload) {
                                 link.send(command, payload);
                                 ++liveSent;
                             },
                             [this] { return manager.connected(); }};
    Scheduler scheduler;
    PeriodicTasks tasks;
    QTimer loop;
    QElapsedTimer started;

    long liveSent = 0;
    uint32_t liveTicks = 0;
    int handshakes = 0;
    int downloads = 0;
    int failedDownloads = 0;
    int stalls = 0;
    bool simulatorEnded = false;
    int downloadsAtLastTick = 0;
    qint64 lastTickMs = -1;
    qint64 longestGapMs = 0;
    qint64 nextDownloadMs = 0;
    qint64 nextSampleMs = 0;
    std::vector<qint64> downloadMs;
    std::vector<long> rssSamples;
    std::vector<long> simRssSamples;
    std::vector<std::string> failures;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Streams live frames to rz760-sim over UDP on a lossy line, downloads a "
                                     "100 KB show every few minutes and samples memory and frame counters.");
    parser.addHelpOption();
    const QCommandLineOption sim("sim", "The rz760-sim program.", "PATH");
    const QCommandLineOption work("work", "Folder for the settings, the show and the simulator's events.", "DIR");
    const QCommandLineOption minutes("minutes", "How long to run.", "N", "30");
    const QCommandLineOption every("download-every", "Seconds between downloads.", "S", "120");
    const QCommandLineOption sampleEvery("sample-every", "Seconds between samples.", "S", "60");
    const QCommandLineOption drop("drop", "Share of the simulator's replies dropped.", "SHARE", "0.05");
    const QCommandLineOption corrupt("corrupt", "Share of the simulator's replies corrupted.", "SHARE", "0.01");
    const QCommandLineOption seed("seed", "Seed of the simulator's faults.", "N", "1");
    parser.addOptions({sim, work, minutes, every, sampleEvery, drop, corrupt, seed});
    parser.process(app);
    Options o;
    o.simulator = parser.value(sim);
    o.work = parser.value(work);
    o.minutes = parser.value(minutes).toInt();
    o.downloadEverySeconds = parser.value(every).toInt();
    o.sampleEverySeconds = parser.value(sampleEvery).toInt();
    o.drop = parser.value(drop);
    o.corrupt = parser.value(corrupt);
    o.seed = parser.value(seed);
    if (o.simulator.isEmpty() || o.work.isEmpty() || o.minutes <= 0 || o.downloadEverySeconds <= 0 ||
        o.sampleEverySeconds <= 0) {
        std::fprintf(stderr, "rz760-soak: needs --sim PATH and --work DIR (see --help)\n");
        return 2;
    }
    QDir().mkpath(o.work);
    Soak soak(o);
    if (!soak.start())
        return 1;
    return app.exec();
}
