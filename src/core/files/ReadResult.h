#pragma once
// How reading one section or file of the show ended; every section reader answers with it.
namespace rz::files {

enum class [[nodiscard]] ReadResult {
    ok,
    absent,       // no such section, or another identifier where it should start
    wrongVersion, // the identifier is right but its format version is not one this reads
    malformed,    // truncated, a position outside the file, or a value outside its range
};

} // namespace rz::files
