#pragma once
// Preset lines of the RDM page's test-instruction list, and how a chosen line fills the
// free request's controls: characters 1-4 are the command class, 6-9 the PID, and the data
// runs from character 10 up to the first "//" (the rest names the request).
#include <string>
#include <string_view>
#include <vector>

namespace rz::rdm {

struct TestInstruction {
    std::u16string commandClass;
    std::u16string pid;
    std::u16string data;
};

// Requests worth trying on an unknown device, GET and SET of the common parameters.
const std::vector<std::u16string>& presetTestInstructions();

// The three texts of a line; a line shorter than a field leaves that field empty.
TestInstruction splitTestInstruction(std::u16string_view line);

} // namespace rz::rdm
