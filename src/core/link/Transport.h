#pragma once
// A byte pipe to the controller: the serial port, the Wi-Fi socket, or an in-process
// simulator in tests. Received bytes are pushed to the receiver the link installs.
#include <cstdint>
#include <functional>
#include <span>
#include <utility>

namespace rz::link {

class Transport {
public:
    using Receiver = std::function<void(std::span<const uint8_t>)>;

    virtual ~Transport() = default;
    virtual bool isOpen() const = 0;
    // Hands the bytes to the line; does nothing when the transport is closed.
    virtual void write(std::span<const uint8_t> bytes) = 0;
    // Gives the transport a chance to deliver bytes it holds (a serial read, a simulator
    // step). Event-driven transports deliver from the event loop and need not override it.
    virtual void poll() {}

    void setReceiver(Receiver r) { receiver = std::move(r); }

protected:
    void deliver(std::span<const uint8_t> bytes)
    {
        if (receiver && !bytes.empty())
            receiver(bytes);
    }

private:
    Receiver receiver;
};

} // namespace rz::link
