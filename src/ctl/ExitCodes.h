#pragma once
// The exit statuses of rz760ctl (documented in the README and in --help).
namespace rz::ctl {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;       // the check found problems, the files differ, or the controller failed or did not answer
inline constexpr int kExitUsage = 2;        // unknown command or option, missing or bad argument
inline constexpr int kExitInputRefused = 3; // an input file is missing, of another kind, damaged, or a JSON value is refused
inline constexpr int kExitNotWritten = 4;   // the output file could not be written
inline constexpr int kExitInterrupted = 130; // stopped by Ctrl+C (128 + SIGINT, as shells report it)

} // namespace rz::ctl
