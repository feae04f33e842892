#include "PseudoTerminal.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#if defined(Q_OS_UNIX)

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace rz::sim::program {

namespace {
// Output nobody reads is kept up to this size, then thrown away.
constexpr qsizetype kMaxBacklog = 1 << 20;
} // namespace

PseudoTerminal::PseudoTerminal(ControllerLink& link, const QString& linkPath)
    : link(link), linkPath(linkPath)
{
}

std::unique_ptr<PseudoTerminal> PseudoTerminal::create(const QString& linkPath,
                                                       ControllerLink& link, QString& error)
{
    std::unique_ptr<PseudoTerminal> pty(new PseudoTerminal(link, linkPath));
    auto fail = [&](const QString& what) {
        error = what + ": " + QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    };
    pty->master = posix_openpt(O_RDWR | O_NOCTTY);
    if (pty->master < 0)
        return fail("posix_openpt");
    if (grantpt(pty->master) != 0 || unlockpt(pty->master) != 0)
        return fail("grantpt/unlockpt");
    const char* name = ptsname(pty->master);
    if (!name)
        return fail("ptsname");
    pty->device = QString::fromLocal8Bit(name);
    pty->slave = ::open(name, O_RDWR | O_NOCTTY);
    if (pty->slave < 0)
        return fail("open " + pty->device);
    termios raw{};
    if (tcgetattr(pty->slave, &raw) != 0)
        return fail("tcgetattr");
    cfmakeraw(&raw);
    cfsetispeed(&raw, B115200);
    cfsetospeed(&raw, B115200);
    if (tcsetattr(pty->slave, TCSANOW, &raw) != 0)
        return fail("tcsetattr");
    const int flags = fcntl(pty->master, F_GETFL);
    if (flags < 0 || fcntl(pty->master, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail("fcntl");

    // A link left behind by an earlier run is replaced; anything else at the path is kept.
    const QByteArray path = QFile::encodeName(linkPath);
    struct stat st{};
    if (lstat(path.constData(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = linkPath + " exists and is not a symbolic link";
            return nullptr;
        }
        if (unlink(path.constData()) != 0)
            return fail("unlink " + linkPath);
    }
    if (symlink(name, path.constData()) != 0)
        return fail("symlink " + linkPath);

    PseudoTerminal* p = pty.get();
    p->readNotifier = new QSocketNotifier(p->master, QSocketNotifier::Read, p);
    QObject::connect(p->readNotifier, &QSocketNotifier::activated, p, [p] { p->readMaster(); });
    p->writeNotifier = new QSocketNotifier(p->master, QSocketNotifier::Write, p);
    p->writeNotifier->setEnabled(false);
    QObject::connect(p->writeNotifier, &QSocketNotifier::activated, p,
                     [p] { p->flushBacklog(); });
    link.setSender([p](std::span<const uint8_t> bytes) { p->write(bytes); });
    return pty;
}

PseudoTerminal::~PseudoTerminal()
{
    link.setSender({});
    // Remove the link only while it still names our device.
    const QByteArray path = QFile::encodeName(linkPath);
    if (!device.isEmpty()) {
        char target[4096];
        const ssize_t n = readlink(path.constData(), target, sizeof target - 1);
        if (n > 0 && QString::fromLocal8Bit(target, static_cast<int>(n)) == device)
            unlink(path.constData());
    }
    delete readNotifier;
    delete writeNotifier;
    if (slave >= 0)
        ::close(slave);
    if (master >= 0)
        ::close(master);
}

void PseudoTerminal::readMaster()
{
    uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n > 0) {
            link.receive({buffer, static_cast<std::size_t>(n)});
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: drained. EIO or 0 cannot last while we hold the slave open.
        return;
    }
}

void PseudoTerminal::write(std::span<const uint8_t> bytes)
{
    if (backlog.size() + static_cast<qsizetype>(bytes.size()) > kMaxBacklog)
        return; // nobody has read for a long time: what they missed is gone
    backlog.append(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qsizetype>(bytes.size()));
    flushBacklog();
}

void PseudoTerminal::flushBacklog()
{
    while (!backlog.isEmpty()) {
        const ssize_t n = ::write(master, backlog.constData(), static_cast<size_t>(backlog.size()));
        if (n > 0) {
            backlog.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // full: wait until the device can take more
    }
    writeNotifier->setEnabled(!backlog.isEmpty());
}

namespace {
int signalPipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}
} // namespace

void quitOnTerminationSignals(QObject* parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action{};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace rz::sim::program

#else // no pseudo-terminals and no POSIX signals here

namespace rz::sim::program {

PseudoTerminal::PseudoTerminal(ControllerLink& link, const QString& linkPath)
    : link(link), linkPath(linkPath)
{
}

std::unique_ptr<PseudoTerminal> PseudoTerminal::create(const QString&, ControllerLink&,
                                                       QString& error)
{
    error = "--pty needs a POSIX system; use --udp here";
    return nullptr;
}

PseudoTerminal::~PseudoTerminal() = default;
void PseudoTerminal::readMaster() {}
void PseudoTerminal::write(std::span<const uint8_t>) {}
void PseudoTerminal::flushBacklog() {}
void quitOnTerminationSignals(QObject*) {}

} // namespace rz::sim::program

#endif
