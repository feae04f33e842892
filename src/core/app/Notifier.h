#pragma once
// Change notifications from the model to whoever draws it. A model object holds one Notifier
// per kind of change (one fixture, one level, one beat cell) so a page repaints only what
// changed. Plain callbacks, single-threaded; a subscription ends when its handle goes.
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace rz {

// Ends a subscription when destroyed or reset; safe when the notifier went first.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel(std::move(cancel)) {}
    ~Subscription() { reset(); }
    Subscription(Subscription&& other) noexcept : cancel(std::exchange(other.cancel, {})) {}
    Subscription& operator=(Subscription&& other) noexcept
    {
        if (this != &other) {
            reset();
            cancel = std::exchange(other.cancel, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    void reset()
    {
        if (cancel)
            std::exchange(cancel, {})();
    }

private:
    std::function<void()> cancel;
};

template <class... Args>
class Notifier {
public:
    using Handler = std::function<void(Args...)>;

    Notifier() = default;
    // A copied model object starts without listeners: they watch the original.
    Notifier(const Notifier&) {}
    Notifier& operator=(const Notifier&) { return *this; }
    // Listeners are not part of a model's value.
    bool operator==(const Notifier&) const { return true; }

    [[nodiscard]] Subscription subscribe(Handler handler)
    {
        const uint64_t id = ++state->lastId;
        state->handlers.push_back({id, std::move(handler)});
        std::weak_ptr<State> weak = state;
        return Subscription([weak, id] {
            if (const auto s = weak.lock())
                s->remove(id);
        });
    }

    // Handlers added while notifying hear the next notification, not this one; a handler
    // removed while notifying is not called any more.
    void notify(Args... args) const
    {
        if (state->handlers.empty())
            return;
        const auto keep = state;
        const std::vector<Entry> snapshot = keep->handlers;
        for (const Entry& e : snapshot)
            if (keep->contains(e.id))
                e.handler(args...);
    }

    bool hasListeners() const { return !state->handlers.empty(); }

private:
    struct Entry {
        uint64_t id;
        Handler handler;
    };
    struct State {
        std::vector<Entry> handlers;
        uint64_t lastId = 0;
        void remove(uint64_t id)
        {
            std::erase_if(handlers, [id](const Entry& e) { return e.id == id; });
        }
        bool contains(uint64_t id) const
        {
            for (const Entry& e : handlers)
                if (e.id == id)
                    return true;
            return false;
        }
    };
    std::shared_ptr<State> state = std::make_shared<State>();
};

} // namespace rz
