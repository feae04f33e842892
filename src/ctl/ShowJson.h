#pragma once
// Whole files as JSON: the show file and the exchange files (fixtures, material, effects,
// module), recognised by their identifier. Decoding and encoding are the core's own; this
// layer only maps the tables to JSON and back.
#include "ctl/JsonInput.h"
#include "ctl/Workspace.h"
#include "core/show/ShowImage.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rz::ctl {

// A file this program cannot turn into JSON; what() is the message for the user.
class FileRefusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file kind named by its extension ("K_F", "K_1DK", ...), from the identifier in its
// first four bytes; empty for anything else.
std::optional<std::string> fileKindOf(std::span<const uint8_t> image);

// Any supported file as JSON, with a "kind" member naming it. `ws` must be fresh. Throws
// FileRefusal for a file of another kind or a damaged one.
nlohmann::json fileToJson(std::span<const uint8_t> image, Workspace& ws);

// A show file as JSON (the show's tables and every effect's materials).
nlohmann::json showToJson(Workspace& ws);
// The JSON into a fresh workspace; throws JsonRefusal naming the first bad value.
void showFromJson(const nlohmann::json& doc, Workspace& ws);
// The show file image of the workspace; empty when the show does not fit in a file.
std::optional<std::vector<uint8_t>> encodeWorkspace(Workspace& ws, const show::SaveStamp& stamp);

// Effect e's parked materials into the store. False when its temporary file is damaged.
bool loadEffectMaterials(Workspace& ws, int effect);

} // namespace rz::ctl
