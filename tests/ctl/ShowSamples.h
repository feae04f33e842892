#pragma once
// Show files as the core saves them, for the round trips through JSON.
#include <cstdint>
#include <vector>

namespace rz::test::ctl {

// The show the core's show tests save: something in every table, materials in two effects.
std::vector<uint8_t> coreTestShow();
// Materials at the edges of their tables: 600 steps, 20 virtual fixtures x 32 channels,
// negative times, marks, fades, motion, temporary channels, patches to several fixtures,
// an all-zero step between loud ones; fixtures with stale presets and reserved bytes.
std::vector<uint8_t> edgeShow();
// Every effect with content and a material in every module of every effect.
std::vector<uint8_t> largeShow();

} // namespace rz::test::ctl
