#pragma once
// The command line of rz760ctl: global options, then a command and its own arguments and
// options. Returns the exit status (ExitCodes.h).
#include <QStringList>

namespace rz::ctl {

int runCommandLine(const QStringList& arguments);

} // namespace rz::ctl
