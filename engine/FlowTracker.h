#pragma once
// Keeps the flows (actions, usually sequences) that write into an object which may go before
// they end: a screen tracks its glides and tweens, and ending the screen cancels those still
// running, so that nothing writes into it afterwards. A flow leaves the tracker by its ended
// event; the tracker never deletes an action (its list does).
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

namespace quellor {

class Action;

class FlowTracker {
public:
    FlowTracker() = default;
    // Cancels the flows still running and disconnects from those whose ended event is under way.
    ~FlowTracker();
    FlowTracker(const FlowTracker&) = delete;
    FlowTracker& operator=(const FlowTracker&) = delete;

    // Keeps the action until its ended event; returns it. A null or already finished action
    // (which will not end again) is not kept.
    Action* Track(Action* action);
    // Cancels every flow tracked when the call began and still running, each once. A flow
    // that ends meanwhile (a cancelled parent, a handler) is skipped; flows tracked by handlers
    // during the call stay.
    void CancelAll();

    std::size_t Count() const { return m_entries.size(); }
    bool IsTracking(const Action* action) const;

private:
    // One tracked action: the target of its one-shot ended connection.
    struct Entry {
        FlowTracker* tracker = nullptr;
        Action* action = nullptr;
        std::uint64_t serial = 0;
        void OnEnded();
    };

    void Disconnect(Entry& entry);

    // By serial, in tracking order; serials are never reused, so a stale one finds nothing.
    std::map<std::uint64_t, std::unique_ptr<Entry>> m_entries;
    std::uint64_t m_nextSerial = 0;
};

} // namespace quellor
