#include "ctl/ShowTool.h"

#include "ctl/ExitCodes.h"
#include "ctl/ShowCheck.h"
#include "ctl/ShowDiff.h"
#include "ctl/ShowJson.h"
#include "core/app/Utf.h"
#include "core/files/ByteImage.h"
#include "core/fixtures/ChannelDefinitions.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <ostream>

namespace rz::ctl {

namespace {

std::string shown(const std::filesystem::path& p) { return p.string(); }

std::optional<std::vector<uint8_t>> readInput(const std::filesystem::path& file, ToolStreams io)
{
    auto image = files::loadImage(file);
    if (!image)
        io.err << "rz760ctl: cannot read " << shown(file) << " (missing, empty or unreadable)\n";
    return image;
}

std::filesystem::path scratchPath(const QTemporaryDir& dir)
{
    return std::filesystem::path(dir.path().toStdU16String());
}

show::SaveStamp stampNow()
{
    show::SaveStamp stamp;
    stamp.dateTime = QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")).toStdU16String();
    stamp.programFolder =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QLatin1Char('/')).toStdU16String();
    return stamp;
}

// A file as show dump prints it: a file of this system, or JSON (a show's JSON built and
// dumped again, so members it leaves out compare as the values a build gives them). Empty,
// with the message printed, when it is neither or refused.
std::optional<nlohmann::json> documentOf(const std::filesystem::path& file, const std::filesystem::path& scratch,
                                         ToolStreams io)
{
    const auto image = readInput(file, io);
    if (!image)
        return std::nullopt;
    for (const char* sub : {"binary", "json", "dumped"})
        std::filesystem::create_directories(scratch / sub);
    try {
        if (fileKindOf(*image)) {
            Workspace ws(scratch / "binary");
            return fileToJson(*image, ws);
        }
        const auto doc = nlohmann::json::parse(image->begin(), image->end(), nullptr, false);
        if (doc.is_discarded()) {
            io.err << "rz760ctl: " << shown(file) << ": neither a file of this system nor JSON\n";
            return std::nullopt;
        }
        if (doc.is_object() && doc.contains("kind") && doc["kind"] != "K_F")
            return doc;
        Workspace built(scratch / "json");
        showFromJson(doc, built);
        const auto encoded = encodeWorkspace(built, {});
        if (!encoded) {
            io.err << "rz760ctl: " << shown(file) << ": the show does not fit in a show file\n";
            return std::nullopt;
        }
        Workspace dumped(scratch / "dumped");
        return fileToJson(*encoded, dumped);
    } catch (const FileRefusal& e) {
        io.err << "rz760ctl: " << shown(file) << ": " << e.what() << '\n';
    } catch (const JsonRefusal& e) {
        io.err << "rz760ctl: " << shown(file) << ": " << e.what() << '\n';
    }
    return std::nullopt;
}

} // namespace

int dumpFile(const std::filesystem::path& file, ToolStreams io)
{
    const auto image = readInput(file, io);
    if (!image)
        return kExitInputRefused;
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        io.err << "rz760ctl: cannot create a temporary folder\n";
        return kExitNotWritten;
    }
    try {
        Workspace ws(scratchPath(scratch));
        const nlohmann::json doc = fileToJson(*image, ws);
        io.out << doc.dump(1, '\t') << '\n';
    } catch (const FileRefusal& e) {
        io.err << "rz760ctl: " << shown(file) << ": " << e.what() << '\n';
        return kExitInputRefused;
    }
    return io.out.good() ? kExitOk : kExitNotWritten;
}

int buildShow(const std::filesystem::path& jsonFile, const std::filesystem::path& output,
              const std::filesystem::path& dataRoot, ToolStreams io)
{
    const auto text = readInput(jsonFile, io);
    if (!text)
        return kExitInputRefused;
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(text->begin(), text->end());
    } catch (const nlohmann::json::parse_error& e) {
        io.err << "rz760ctl: " << shown(jsonFile) << ": not JSON (byte " << e.byte << ")\n";
        return kExitInputRefused;
    }
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        io.err << "rz760ctl: cannot create a temporary folder\n";
        return kExitNotWritten;
    }
    Workspace ws(scratchPath(scratch));
    if (!dataRoot.empty())
        ws.show.channelDefinitions.initChannelNames(fixtures::customChannelNameFilePath(dataRoot));
    try {
        showFromJson(doc, ws);
    } catch (const JsonRefusal& e) {
        io.err << "rz760ctl: " << shown(jsonFile) << ": " << e.what() << '\n';
        return kExitInputRefused;
    }
    const auto image = encodeWorkspace(ws, stampNow());
    if (!image) {
        io.err << "rz760ctl: the show does not fit in a show file; nothing written\n";
        return kExitInputRefused;
    }
    if (!files::saveImage(output, *image)) {
        io.err << "rz760ctl: cannot write " << shown(output) << '\n';
        return kExitNotWritten;
    }
    return kExitOk;
}

int checkFile(const std::filesystem::path& file, ToolStreams io)
{
    const auto image = readInput(file, io);
    if (!image)
        return kExitInputRefused;
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        io.err << "rz760ctl: cannot create a temporary folder\n";
        return kExitNotWritten;
    }
    const auto problems = checkShowFile(*image, scratchPath(scratch));
    for (const CheckProblem& p : problems)
        io.out << shown(file) << ": offset " << p.offset << ": " << p.what << '\n';
    if (!problems.empty())
        return kExitFailed;
    io.out << "ok: show file is valid (" << image->size() << " bytes)\n";
    return kExitOk;
}

int diffFiles(const std::filesystem::path& a, const std::filesystem::path& b, ToolStreams io)
{
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        io.err << "rz760ctl: cannot create a temporary folder\n";
        return kExitNotWritten;
    }
    const std::filesystem::path root = scratchPath(scratch);
    std::optional<nlohmann::json> docs[2];
    const std::filesystem::path* files[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        docs[i] = documentOf(*files[i], root / std::to_string(i), io);
        if (!docs[i])
            return kExitInputRefused;
    }
    const nlohmann::json kindA = docs[0]->value("kind", nlohmann::json("K_F"));
    const nlohmann::json kindB = docs[1]->value("kind", nlohmann::json("K_F"));
    if (kindA != kindB) {
        io.err << "rz760ctl: " << shown(a) << " is a " << kindA.dump() << " file, " << shown(b) << " a "
               << kindB.dump() << " one: only files of one kind compare\n";
        return kExitInputRefused;
    }
    const std::vector<Difference> differences = diffDocuments(*docs[0], *docs[1]);
    for (const Difference& d : differences)
        io.out << d.path << ": " << d.what << '\n';
    if (!io.out.good())
        return kExitNotWritten;
    return differences.empty() ? kExitOk : kExitFailed;
}

} // namespace rz::ctl
