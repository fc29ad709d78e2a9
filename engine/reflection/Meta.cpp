#include "engine/reflection/Meta.h"

#include <mutex>

#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/Variable.h"

namespace quellor {

Meta::Meta(std::string name, std::uint32_t size, std::unique_ptr<MetaNotPOD> ops, Kind kind)
    : m_ops(std::move(ops)), m_size(size), m_name(std::move(name)), m_kind(kind)
{
}

Meta::~Meta() = default;

Meta* Meta::Create(std::string name, std::uint32_t size, std::unique_ptr<MetaNotPOD> ops, Meta* base1,
                   Meta* base2, Meta* base3)
{
    std::unique_ptr<Meta> record(new Meta(std::move(name), size, std::move(ops), Kind::Class));
    for (Meta* base : {base1, base2, base3}) {
        if (base) {
            record->m_bases.push_back(base);
            record->m_baseCasts.push_back({});
        }
    }
    Meta* raw = record.get();
    MetaRegistry::Instance().Adopt(std::move(record));
    return raw;
}

Meta* Meta::CreateBuiltin(std::string name, std::uint32_t size, Kind kind)
{
    std::unique_ptr<Meta> record(new Meta(std::move(name), size, nullptr, kind));
    record->m_state.store(kFilled, std::memory_order_release);
    Meta* raw = record.get();
    MetaRegistry::Instance().Adopt(std::move(record));
    return raw;
}

Member* Meta::AddMember(std::unique_ptr<Member> member)
{
    if (!member) {
        return nullptr;
    }
    Member* raw = member.get();
    m_ownedMembers.push_back(std::move(member));
    return m_members.emplace(raw->GetName(), raw).first->second;
}

Function* Meta::AddMethod(std::unique_ptr<Function> function, std::string name)
{
    if (!function) {
        return nullptr;
    }
    Function* raw = function.get();
    if (raw->GetName().empty()) {
        raw->SetName(m_name + "::" + name);
    }
    m_ownedFunctions.push_back(std::move(function));
    return m_methods.emplace(std::move(name), raw).first->second;
}

void Meta::AddStaticMember(std::string name, void* address, Meta* type)
{
    auto box = std::make_unique<Variable>(type, address, false, false);
    Variable* raw = box.get();
    m_ownedStatics.push_back(std::move(box));
    m_staticMembers.emplace(std::move(name), raw);
}

Member* Meta::GetMember(const std::string& name) const
{
    auto it = m_members.find(name);
    return it == m_members.end() ? nullptr : it->second;
}

Function* Meta::GetMethod(const std::string& name) const
{
    auto it = m_methods.find(name);
    return it == m_methods.end() ? nullptr : it->second;
}

Variable* Meta::GetStaticMember(const std::string& name) const
{
    auto it = m_staticMembers.find(name);
    return it == m_staticMembers.end() ? nullptr : it->second;
}

void Meta::SetCustomSerializer(std::unique_ptr<Function> reader)
{
    m_customReader = reader.get();
    if (reader) {
        m_ownedFunctions.push_back(std::move(reader));
    }
}

bool Meta::IsA(const Meta* other) const
{
    if (!other) {
        return false;
    }
    if (this == other) {
        return true;
    }
    for (const Meta* base : m_bases) {
        if (base->IsA(other)) {
            return true;
        }
    }
    return false;
}

void* Meta::CastTo(void* object, const Meta* target) const
{
    if (!object || !target) {
        return nullptr;
    }
    if (this == target) {
        return object;
    }
    for (std::size_t i = 0; i < m_bases.size(); ++i) {
        if (!m_bases[i]->IsA(target)) {
            continue;
        }
        void* asBase = m_baseCasts[i].toBase ? m_baseCasts[i].toBase(object) : object;
        return m_bases[i]->CastTo(asBase, target);
    }
    return nullptr;
}

void* Meta::CastFrom(void* object, const Meta* source) const
{
    if (!object || !source) {
        return nullptr;
    }
    if (this == source) {
        return object;
    }
    for (std::size_t i = 0; i < m_bases.size(); ++i) {
        if (!m_bases[i]->IsA(source)) {
            continue;
        }
        void* asBase = m_bases[i]->CastFrom(object, source);
        if (!asBase) {
            return nullptr;
        }
        return m_baseCasts[i].fromBase ? m_baseCasts[i].fromBase(asBase) : asBase;
    }
    return nullptr;
}

void Meta::SetBaseCasts(Cast toBase, Cast fromBase)
{
    if (!m_baseCasts.empty()) {
        m_baseCasts.front() = {toBase, fromBase};
    }
}

bool Meta::BeginFilling()
{
    int expected = kBare;
    return m_state.compare_exchange_strong(expected, kFilling, std::memory_order_acq_rel);
}

void Meta::FinishFilling()
{
    m_state.store(kFilled, std::memory_order_release);
}

} // namespace quellor
