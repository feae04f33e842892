#pragma once
// Show files as the core saves them, for the round trips through JSON, and the two halves of
// a round trip.
#include <nlohmann/json.hpp>

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

// Any supported file as show dump prints it (throws FileRefusal as the dump refuses it).
nlohmann::json dumped(const std::vector<uint8_t>& image);
// The show file show build writes from the JSON, with a fixed save time and folder.
std::vector<uint8_t> built(const nlohmann::json& doc);

} // namespace rz::test::ctl
