#pragma once
// The "show" subcommands: dump, build and check. Each returns the exit status; results go to
// standard output, messages to standard error.
#include <filesystem>
#include <iosfwd>

namespace rz::ctl {

struct ToolStreams {
    std::ostream& out;
    std::ostream& err;
};

int dumpFile(const std::filesystem::path& file, ToolStreams io);
// `dataRoot`, when not empty, is the tool's data folder: its custom channel names decide, as in
// the tool, which channels the show file lists as colour and motion channels.
int buildShow(const std::filesystem::path& jsonFile, const std::filesystem::path& output,
              const std::filesystem::path& dataRoot, ToolStreams io);
int checkFile(const std::filesystem::path& file, ToolStreams io);
// What differs between two files of one kind, each a file of this system or its JSON dump
// (a show's JSON is read the way `show build` reads it). Status 0 when equal, 1 when not.
int diffFiles(const std::filesystem::path& a, const std::filesystem::path& b, ToolStreams io);

} // namespace rz::ctl
