#include "engine/reflection/MetaRegistry.h"

#include "engine/reflection/Meta.h"

namespace quellor {

MetaRegistry& MetaRegistry::Instance()
{
    static MetaRegistry registry;
    return registry;
}

MetaRegistry::MetaRegistry() = default;

MetaRegistry::~MetaRegistry()
{
    // Records point at one another; drop the lookups first, then free them all together.
    m_byName.clear();
    m_owned.clear();
}

Meta* MetaRegistry::Find(const std::string& name) const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    auto it = m_byName.find(name);
    return it == m_byName.end() ? nullptr : it->second;
}

std::unordered_map<std::string, Meta*> MetaRegistry::Records() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_byName;
}

std::size_t MetaRegistry::Count() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_byName.size();
}

bool MetaRegistry::Adopt(std::unique_ptr<Meta> record)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    Meta* raw = record.get();
    m_owned.push_back(std::move(record));
    return m_byName.emplace(raw->Name(), raw).second;
}

} // namespace quellor
