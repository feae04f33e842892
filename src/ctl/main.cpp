// rz760ctl: show files and the controller from the command line.
#include "ctl/CommandLine.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rz760ctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RZ760_VERSION));
    return rz::ctl::runCommandLine(QCoreApplication::arguments());
}
