#include "engine/reflection/MetaRegistry.h"

#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"

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

void* MetaRegistry::Create(const std::string& name, const Meta* base, Creation& outcome) const
{
    const Meta* record = Find(name);
    if (!record) {
        outcome = Creation::NoSuchType;
        return nullptr;
    }
    if (!record->IsA(base)) {
        outcome = Creation::NotOfBase;
        return nullptr;
    }
    void* made = record->GetOps() ? record->GetOps()->New() : nullptr;
    if (!made) {
        outcome = Creation::CannotBeMade;
        return nullptr;
    }
    void* asBase = record->CastTo(made, base);
    if (!asBase) {
        record->GetOps()->Delete(made);
        outcome = Creation::NotOfBase;
        return nullptr;
    }
    outcome = Creation::Made;
    return asBase;
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
