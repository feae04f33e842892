#include "sim/InfraredFunctions.h"

#include <string>
#include <utility>

namespace rz::sim {

namespace {

constexpr uint8_t kReceptionOn = 0x01, kReceptionOff = 0x00, kCodeReport = 0x66;
constexpr uint8_t kAirConTest = 0x01, kAirConLearn = 0x02, kAirConStop = 0x04;
constexpr uint8_t kAirConStates = 7;

void reportRoom(FamilyContext& context, std::string function, std::vector<uint8_t> payload = {})
{
    ControllerEvent e;
    e.kind = EventKind::RoomFunction;
    e.function = std::move(function);
    e.length = payload.size();
    e.payload = std::move(payload);
    context.report(std::move(e));
}

} // namespace

void InfraredFunctions::handle(const ReceivedFrame& frame, FamilyContext& context)
{
    if (frame.payload.empty())
        return;
    if (frame.payload[0] == kInfraredSub)
        handleInfrared(frame, context);
    else if (frame.payload[0] == kAirConSub)
        handleAirCon(frame, context);
}

void InfraredFunctions::handleInfrared(const ReceivedFrame& frame, FamilyContext& context)
{
    if (frame.payload.size() < 2)
        return;
    const bool on = frame.payload[1] == kReceptionOn;
    if (!on && frame.payload[1] != kReceptionOff)
        return;
    // The tool repeats "on" every 500 ms while a key box has focus; only changes are news.
    if (on != reception)
        reportRoom(context, on ? "infraredReceptionOn" : "infraredReceptionOff");
    reception = on;
}

void InfraredFunctions::handleAirCon(const ReceivedFrame& frame, FamilyContext& context)
{
    if (frame.payload.size() < 2)
        return;
    const uint8_t action = frame.payload[1];
    if (action == kAirConStop) {
        learning.reset();
        reportRoom(context, "airConLearnStopped");
        return;
    }
    if (frame.payload.size() < 3 || frame.payload[2] >= kAirConStates)
        return;
    const uint8_t state = frame.payload[2];
    if (action == kAirConTest) {
        tested = state;
        reportRoom(context, "airConTestSent", {state});
    } else if (action == kAirConLearn) {
        learning = state;
        reportRoom(context, "airConLearning", {state});
        if (autoLearn)
            learnAirConCode(context);
    }
}

bool InfraredFunctions::receiveInfraredCode(const std::array<uint8_t, 4>& code, FamilyContext& context)
{
    if (!reception) {
        reportRoom(context, "infraredCodeIgnored", {code.begin(), code.end()});
        return false;
    }
    const std::array<uint8_t, 6> report{kInfraredSub, kCodeReport, code[0], code[1], code[2], code[3]};
    context.reply(kRoomCommand, report);
    reportRoom(context, "infraredCodeReported", {code.begin(), code.end()});
    return true;
}

bool InfraredFunctions::learnAirConCode(FamilyContext& context)
{
    if (!learning)
        return false;
    const std::array<uint8_t, 3> report{kAirConSub, kAirConLearn, *learning};
    context.reply(kRoomCommand, report);
    reportRoom(context, "airConLearned", {*learning});
    learning.reset();
    return true;
}

void InfraredFunctions::reset()
{
    reception = false;
    learning.reset();
    tested.reset();
}

} // namespace rz::sim
