#pragma once
// One served link (the pseudo-terminal or the UDP socket): its own controller, the optional
// line-speed throttle in both directions, and the timer that moves bytes when they are due.
#include "SimOptions.h"
#include "sim/Controller.h"
#include "sim/LiveFrameLogFilter.h"
#include "sim/SerialLine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <span>
#include <string>

namespace rz::sim::program {

class ElapsedClock : public Clock {
public:
    ElapsedClock() { timer.start(); }
    uint32_t nowMs() override { return static_cast<uint32_t>(timer.elapsed()); }

private:
    QElapsedTimer timer;
};

// Prints each event the filter lets through as one JSON line on standard output, flushed at
// once.
class JsonEventPrinter : public ControllerListener {
public:
    JsonEventPrinter(std::string link, bool everyLiveFrame)
        : link(std::move(link)), filter(everyLiveFrame)
    {
    }
    void onEvent(const ControllerEvent& event) override;
    static void printLine(const std::string& json);

private:
    std::string link;
    LiveFrameLogFilter filter;
};

class ControllerLink : public QObject {
    Q_OBJECT
public:
    using Sender = std::function<void(std::span<const uint8_t>)>;

    // wholePieces: output leaves only as complete pieces (datagrams cannot arrive in part).
    ControllerLink(const std::string& name, const SimOptions& options, Clock& clock,
                   bool wholePieces, QObject* parent = nullptr);

    void setSender(Sender s) { sender = std::move(s); }
    // Bytes from the PC.
    void receive(std::span<const uint8_t> bytes);
    // The controller, for what the room injects; flush() sends what that made due.
    Controller& simulated() { return controller; }
    void flush() { pump(); }

private:
    void pump();

    Clock& clock;
    Controller controller;
    JsonEventPrinter printer;
    SerialLine input;
    SerialLine output;
    bool wholePieces;
    Sender sender;
    QTimer timer;
};

} // namespace rz::sim::program
