#pragma once
// What differs between two JSON documents as `show dump` prints them: one entry per difference,
// named by the JSON path of the value. Lists of numbered entries (fixtures and effects by
// "number", materials by "module" and "slot", beats by "mode", "bar" and "beat") are matched by
// their numbers, not their positions, so an entry added in the middle is one difference. A
// material's steps are summarised one entry per step; long runs of plain values one entry per
// array.
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace rz::ctl {

struct Difference {
    std::string path; // "$.fixtures[number=7].startAddress"
    std::string what; // "10 → 40", "added: \"Spot\"", "step 3: 12 of 96 levels differ"
};

std::vector<Difference> diffDocuments(const nlohmann::json& a, const nlohmann::json& b);

} // namespace rz::ctl
