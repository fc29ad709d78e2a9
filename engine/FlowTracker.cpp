#include "engine/FlowTracker.h"

#include "engine/Action.h"

#include <vector>

namespace quellor {

FlowTracker::~FlowTracker()
{
    CancelAll();
    // Left over: flows whose ended event is running right now (their connection has not been
    // reached yet). They end anyway; only the connection to this tracker must go.
    for (auto& [serial, entry] : m_entries)
        Disconnect(*entry);
    m_entries.clear();
}

Action* FlowTracker::Track(Action* action)
{
    if (!action || action->IsFinished())
        return action;
    auto entry = std::make_unique<Entry>();
    entry->tracker = this;
    entry->action = action;
    entry->serial = m_nextSerial++;
    action->m_onEnded.Connect(MakeDelegate(entry.get(), &Entry::OnEnded), 0);
    m_entries.emplace(entry->serial, std::move(entry));
    return action;
}

void FlowTracker::CancelAll()
{
    std::vector<std::uint64_t> serials;
    serials.reserve(m_entries.size());
    for (const auto& [serial, entry] : m_entries)
        serials.push_back(serial);
    for (std::uint64_t serial : serials) {
        auto found = m_entries.find(serial);
        if (found == m_entries.end())
            continue;
        // The ended event drops the entry; an action already inside its own Finish or Cancel
        // ignores the call and its ended event drops it a little later.
        found->second->action->Cancel();
    }
}

bool FlowTracker::IsTracking(const Action* action) const
{
    for (const auto& [serial, entry] : m_entries)
        if (entry->action == action)
            return true;
    return false;
}

void FlowTracker::Disconnect(Entry& entry)
{
    entry.action->m_onEnded.Disconnect(MakeDelegate(&entry, &Entry::OnEnded));
}

void FlowTracker::Entry::OnEnded()
{
    // The one-shot connection is already gone; erasing deletes this entry, touched no more.
    tracker->m_entries.erase(serial);
}

} // namespace quellor
