#pragma once
// One controller event as a single-line JSON object, the form the simulator program prints
// for scripts and integration tests to read:
//   {"event":"frame","command":"C0","length":0,"payload":""}
//   {"event":"frame","command":"60","length":12,"levels":{"1":255},"relays":[0,...],"dimmers":null}
//   {"event":"dropped","reason":"checksum","length":9}
//   {"event":"liveRejected","command":"60","length":5,"reason":"packing"}
//   {"event":"reply","command":"C0","length":0,"fate":"sent"}
//   {"event":"handshake","count":1}   {"event":"restart","count":1}
//   {"event":"output","levels":{...},"relays":[...],"dimmers":[...]}
//   {"event":"room","function":"airConLearned","payload":"03"}
// A non-empty link name is added as "link". Levels list only the non-zero addresses; dimmers
// is null when the frame had no dimmer block.
#include "sim/ControllerEvent.h"

#include <string>
#include <string_view>

namespace rz::sim {

std::string eventJson(const ControllerEvent& event, std::string_view link = {});

} // namespace rz::sim
