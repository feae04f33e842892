#pragma once
// A pseudo-terminal whose far (master) end the test drives directly, standing in for a
// controller on a serial line. POSIX only: RZ_HAS_PTY tells whether it exists.
#if defined(__unix__) || defined(__APPLE__)
#define RZ_HAS_PTY 1
#else
#define RZ_HAS_PTY 0
#endif

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace rz::test {

class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return master >= 0; }
    // The device the serial transport opens.
    QString devicePath() const { return device; }

    // Bytes from the far end to the transport.
    void write(std::span<const uint8_t> bytes);
    // Moves what the transport wrote so far into received(); never blocks.
    const std::vector<uint8_t>& readAvailable();
    const std::vector<uint8_t>& received() const { return got; }
    // Hangs up the far end, as when the device is unplugged.
    void closeFarEnd();

private:
    int master = -1;
    QString device;
    std::vector<uint8_t> got;
};

} // namespace rz::test
