#pragma once
// Runs the built rz760ctl and collects what it printed.
#include <QStringList>

#include <string>

namespace rz::test {

struct CtlRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CtlRun runCtl(const QStringList& arguments);

} // namespace rz::test
