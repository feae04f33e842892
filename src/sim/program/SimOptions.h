#pragma once
// The simulator program's command line.
#include "sim/Faults.h"
#include "sim/RdmResponders.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace rz::sim::program {

struct SimOptions {
    QString udpHost;       // empty: no UDP endpoint
    uint16_t udpPort = 0;  // 0 with a host: any free port (reported in the ready event)
    QString ptyPath;       // empty: no pseudo-terminal
    bool events = false;
    bool everyLiveFrame = false; // with events: also live frames that change nothing
    uint32_t baud = 0;     // 0: no line-speed throttle
    FaultPolicy faults;
    // Files the controller holds from the start, by kind (served to uploads).
    std::vector<std::pair<uint8_t, std::vector<uint8_t>>> files;
    // RDM fixtures on the simulated DMX line.
    std::vector<RdmResponder> rdmFixtures;
};

// Parses the arguments (argv[0] first). On --help or --version the parser prints and exits;
// on an error the text is returned in `error` and the result is empty.
std::optional<SimOptions> parseOptions(const QStringList& arguments, QString& error);

} // namespace rz::sim::program
