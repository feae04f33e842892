#pragma once
// The controller's file storage, firmware loader and query answers, routed into a controller
// together.
#include "core/app/Seams.h"
#include "sim/FileStore.h"
#include "sim/Loader.h"
#include "sim/Queries.h"

namespace rz::sim {

class Controller;

struct TransferFamilies {
    explicit TransferFamilies(Clock& clock) : loader(clock) {}
    TransferFamilies(const TransferFamilies&) = delete;
    TransferFamilies& operator=(const TransferFamilies&) = delete;

    // D0..D4 and D8 to the file store; C4 F1.., F0..F2 to the loader; CE 21, 26, 28 to the
    // queries.
    void routeInto(Controller& controller);

    FileStore files;
    Loader loader;
    Queries queries{files};
};

} // namespace rz::sim
