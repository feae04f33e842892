#pragma once
// The one DMX512 universe the controller drives: addresses 1..512.
namespace rz {

inline constexpr int kUniverseSize = 512;

} // namespace rz
