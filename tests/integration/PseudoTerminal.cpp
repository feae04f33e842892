#include "PseudoTerminal.h"

#if RZ_HAS_PTY

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace rz::test {

PseudoTerminal::PseudoTerminal()
{
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0)
        return;
    if (grantpt(master) != 0 || unlockpt(master) != 0) {
        closeFarEnd();
        return;
    }
    termios raw{};
    if (tcgetattr(master, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(master, TCSANOW, &raw);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    device = QString::fromLocal8Bit(ptsname(master));
}

PseudoTerminal::~PseudoTerminal()
{
    closeFarEnd();
}

void PseudoTerminal::write(std::span<const uint8_t> bytes)
{
    std::size_t done = 0;
    while (master >= 0 && done < bytes.size()) {
        ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR && errno != EAGAIN)
            break;
    }
}

const std::vector<uint8_t>& PseudoTerminal::readAvailable()
{
    uint8_t buf[4096];
    while (master >= 0) {
        ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0)
            break;
        got.insert(got.end(), buf, buf + n);
    }
    return got;
}

void PseudoTerminal::closeFarEnd()
{
    if (master >= 0)
        ::close(master);
    master = -1;
}

} // namespace rz::test

#endif // RZ_HAS_PTY
