#include "physics/EpaHorizon3D.h"

namespace quellor {

void EpaHorizon3D::Add(std::uint32_t from, std::uint32_t to)
{
    if (!InTable(from, to)) {
        for (Entry& entry : m_entries) {
            if (entry.live && entry.from == to && entry.to == from) {
                entry.live = false;
                return;
            }
        }
        m_entries.push_back({from, to, -1, true});
        return;
    }
    if (m_oldest.empty()) {
        m_oldest.assign(kTableVertices * kTableVertices, -1);
        m_newest.assign(kTableVertices * kTableVertices, -1);
    }
    const std::size_t twin = Pair(to, from);
    if (const std::int32_t oldest = m_oldest[twin]; oldest >= 0) {
        Entry& entry = m_entries[static_cast<std::size_t>(oldest)];
        entry.live = false;
        m_oldest[twin] = entry.nextSame;
        if (entry.nextSame < 0)
            m_newest[twin] = -1;
        return;
    }
    const auto index = static_cast<std::int32_t>(m_entries.size());
    m_entries.push_back({from, to, -1, true});
    const std::size_t pair = Pair(from, to);
    if (m_newest[pair] >= 0)
        m_entries[static_cast<std::size_t>(m_newest[pair])].nextSame = index;
    else
        m_oldest[pair] = index;
    m_newest[pair] = index;
}

void EpaHorizon3D::Clear()
{
    for (const Entry& entry : m_entries) {
        if (InTable(entry.from, entry.to)) {
            m_oldest[Pair(entry.from, entry.to)] = -1;
            m_newest[Pair(entry.from, entry.to)] = -1;
        }
    }
    m_entries.clear();
}

} // namespace quellor
