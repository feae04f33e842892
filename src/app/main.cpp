#include "app/CommandLine.h"
#include "app/Program.h"
#include "core/app/Caption.h"
#include "core/app/DataRoot.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QStandardPaths>

#include <cstdio>

namespace {

std::filesystem::path toPath(const QString& s)
{
    return std::filesystem::path(s.toStdU16String());
}

std::filesystem::path dataRootFor(const rz::app::CommandLineOptions& options)
{
    rz::DataRootCandidates c;
    c.commandLine = options.dataDir;
    const QString env = qEnvironmentVariable("RZ760_HOME");
    if (!env.isEmpty())
        c.environment = toPath(env);
    c.executableFolder = toPath(QCoreApplication::applicationDirPath());
    c.userDataFolder = toPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return rz::chooseDataRoot(c);
}

// Qt's own dialogs (file dialogs, the buttons of message boxes) speak the tool's language.
void installQtTranslation(QCoreApplication& app, QTranslator& translator)
{
    if (translator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
}

void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("rz760-tool"));
    QCoreApplication::setApplicationVersion(QString::fromStdU16String(std::u16string(rz::releaseName)));
}

} // namespace

int main(int argc, char** argv)
{
    if (rz::app::asksForHelpOrVersion(argc, argv)) {
        QCoreApplication info(argc, argv);
        nameTheProgram();
        QCommandLineParser parser;
        rz::app::declareOptions(parser);
        parser.process(info); // prints the text and ends the program
        return 0;
    }

    QApplication app(argc, argv);
    nameTheProgram();
    QTranslator qtTranslation;
    installQtTranslation(app, qtTranslation);
    // The exit countdown ends the program, not the last window going away.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    rz::app::declareOptions(parser);
    parser.process(app);
    const auto options = rz::app::readOptions(parser);

    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "rz760-tool: %s\n", options.error.toLocal8Bit().constData());
        return 2;
    }

    rz::app::Program program(dataRootFor(options));
    if (options.controller)
        program.setControllerChoice(*options.controller);
    if (!program.start())
        return 1;
    return app.exec();
}
