#include "gameplay/FeatherSystem.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(FeatherSystem, System, DerivedMetaNotPODNoCopy, WithID) {}

namespace {
constexpr std::size_t kBuckets = 8;
}

FeatherSystem::FeatherSystem() : m_feathers(kBuckets) {}

FeatherSystem::~FeatherSystem() = default;

void FeatherSystem::AddFeather(const std::string& team)
{
    ++m_feathers[team];
}

int FeatherSystem::GetFeathers(const std::string& team) const
{
    const auto found = m_feathers.find(team);
    return found == m_feathers.end() ? 0 : found->second;
}

void FeatherSystem::Reset()
{
    // A fresh table rather than clear(), which keeps the grown bucket array.
    std::unordered_map<std::string, int>(kBuckets).swap(m_feathers);
}

} // namespace quellor
