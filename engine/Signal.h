#pragma once
// An event with prioritised delegate connections. Emitting calls the connections with the
// higher priority first, then in the order they were made; one-shot connections go after their
// call. Handlers may connect, disconnect, clear or destroy the signal while it emits: removed
// connections are only marked during an emission and erased when the outermost one ends.
#include "engine/Delegate.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace quellor {

namespace signal_internal {

// One connection's record, shared by the signal's two maps and by the Connection handles.
struct SlotData {
    std::int32_t priority = 0;
    std::uint32_t sequence = 0;
    bool oneShot = false;
    bool removed = false;
};

// Calling order: higher priority first, then the earlier connection. Records with equal
// priority and sequence (possible after Clear during an emission) fall back to their address.
struct CallingOrder {
    bool operator()(const std::shared_ptr<SlotData>& a, const std::shared_ptr<SlotData>& b) const
    {
        if (a->priority != b->priority)
            return a->priority > b->priority;
        if (a->sequence != b->sequence)
            return a->sequence < b->sequence;
        return std::less<SlotData*>()(a.get(), b.get());
    }
};

} // namespace signal_internal

template<typename... Args>
class Signal;

// What connecting returns. Dropping it leaves the connection in place.
template<typename... Args>
class Connection {
public:
    Connection() = default;

    bool IsConnected() const { return m_slot && !m_slot->removed; }
    std::int32_t Priority() const { return m_slot ? m_slot->priority : 0; }
    std::uint32_t Sequence() const { return m_slot ? m_slot->sequence : 0; }
    bool IsOneShot() const { return m_slot && m_slot->oneShot; }

private:
    friend class Signal<Args...>;
    Connection(std::shared_ptr<signal_internal::SlotData> slot, Delegate<void, Args...> delegate,
               Signal<Args...>* signal)
        : m_slot(std::move(slot)), m_delegate(std::move(delegate)), m_signal(signal)
    {
    }

    std::shared_ptr<signal_internal::SlotData> m_slot;
    Delegate<void, Args...> m_delegate;
    Signal<Args...>* m_signal = nullptr;
};

template<typename... Args>
class Signal {
public:
    using DelegateType = Delegate<void, Args...>;
    using ConnectionType = Connection<Args...>;

    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    ~Signal()
    {
        // Tell every emission running on this signal (a handler is destroying it) to stop at once.
        for (EmitFrame* frame = m_emitTop; frame; frame = frame->previous)
            frame->destroyed = true;
    }

    // Connects the delegate. The same delegate with the same priority and flag keeps its
    // connection; with other settings it is connected anew, after its priority's older connections.
    ConnectionType ConnectSlot(const DelegateType& delegate, int priority, bool oneShot)
    {
        if (delegate.IsEmpty())
            throw DelegateError();
        auto found = m_slots.find(delegate);
        if (found != m_slots.end()) {
            if (found->second->priority == priority && found->second->oneShot == oneShot)
                return ConnectionType(found->second, found->first, this);
            Disconnect(delegate);
        }
        auto slot = std::make_shared<signal_internal::SlotData>();
        slot->priority = priority;
        slot->sequence = m_nextSequence++;
        slot->oneShot = oneShot;
        m_slots.emplace(delegate, slot);
        m_order.emplace(slot, delegate);
        return ConnectionType(slot, delegate, this);
    }

    // A one-shot connection.
    ConnectionType Connect(const DelegateType& delegate, int priority) { return ConnectSlot(delegate, priority, true); }

    bool Disconnect(const DelegateType& delegate)
    {
        if (delegate.IsEmpty())
            throw DelegateError();
        auto found = m_slots.find(delegate);
        if (found == m_slots.end())
            return false;
        std::shared_ptr<signal_internal::SlotData> slot = found->second;
        m_slots.erase(found);
        Remove(slot);
        return true;
    }

    void Clear()
    {
        m_slots.clear();
        for (auto& entry : m_order)
            entry.first->removed = true;
        if (m_emitTop)
            m_sweepPending = !m_order.empty();
        else
            m_order.clear();
        m_nextSequence = 0;
    }

    std::size_t ConnectionCount() const { return m_slots.size(); }

    void Emit(Args... args)
    {
        EmitFrame frame;
        frame.previous = m_emitTop;
        m_emitTop = &frame;
        EmitGuard guard{this, &frame};
        // The walk is live: connections made during it run when they sort after the current one.
        // Nothing is erased from the order map while any emission runs, so the iterator, the
        // record and the delegate stay valid through a handler that removes its own connection.
        // Only the signal's destruction frees them, and then nothing is touched after the call.
        for (auto it = m_order.begin(); it != m_order.end(); ++it) {
            const std::shared_ptr<signal_internal::SlotData>& slot = it->first;
            if (slot->removed)
                continue;
            const DelegateType& target = it->second;
            if (target.IsEmpty())
                throw DelegateError();
            if (slot->oneShot) {
                // Dropped before the call, so that it runs once even if the handler emits again
                // and so that the handler may connect the same delegate anew.
                m_slots.erase(target);
                Remove(slot);
            }
            target(args...);
            if (frame.destroyed)
                return;
        }
    }

private:
    struct EmitFrame {
        EmitFrame* previous = nullptr;
        bool destroyed = false;
    };

    // Pops the emission frame however the walk ends (a handler may throw), and tidies up after
    // the outermost emission. Touches nothing when the signal was destroyed meanwhile.
    struct EmitGuard {
        Signal* signal;
        EmitFrame* frame;
        ~EmitGuard()
        {
            if (frame->destroyed)
                return;
            signal->m_emitTop = frame->previous;
            if (!signal->m_emitTop && signal->m_sweepPending)
                signal->Sweep();
        }
    };

    void Remove(const std::shared_ptr<signal_internal::SlotData>& slot)
    {
        slot->removed = true;
        if (m_emitTop) {
            m_sweepPending = true;
        } else {
            m_order.erase(slot);
        }
    }

    void Sweep()
    {
        for (auto it = m_order.begin(); it != m_order.end();) {
            if (it->first->removed)
                it = m_order.erase(it);
            else
                ++it;
        }
        m_sweepPending = false;
    }

    std::uint32_t m_nextSequence = 0;
    std::map<DelegateType, std::shared_ptr<signal_internal::SlotData>> m_slots;
    std::map<std::shared_ptr<signal_internal::SlotData>, DelegateType, signal_internal::CallingOrder> m_order;
    EmitFrame* m_emitTop = nullptr;
    bool m_sweepPending = false;
};

} // namespace quellor
