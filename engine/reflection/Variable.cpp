#include "engine/reflection/Variable.h"

#include <cstring>
#include <new>

#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/ScalarValue.h"

namespace quellor {

Variable::Variable(Meta* type, void* data, bool owns, bool indirect)
    : m_owns(owns), m_indirect(indirect), m_type(type), m_data(data)
{
}

Variable::Variable(Meta* type, void* value, bool copy, int) : m_type(type), m_data(value)
{
    if (copy) {
        m_data = CopyValue(type, value);
        m_owns = m_data != nullptr;
    }
}

Variable::Variable(const Variable& other)
    : m_owns(false), m_indirect(other.m_indirect), m_type(other.m_type), m_data(other.m_data)
{
}

Variable& Variable::operator=(const Variable& other)
{
    if (this != &other) {
        if (m_owns) {
            DestroyValue(m_type, Value());
        }
        m_owns = false;
        m_indirect = other.m_indirect;
        m_type = other.m_type;
        m_data = other.m_data;
    }
    return *this;
}

Variable::~Variable()
{
    if (m_owns) {
        DestroyValue(m_type, Value());
    }
}

void* Variable::Value() const
{
    if (!m_data) {
        return nullptr;
    }
    return m_indirect ? *static_cast<void**>(m_data) : m_data;
}

void* Variable::MemberAddress(const std::string& name) const
{
    if (!m_type) {
        return nullptr;
    }
    Member* member = m_type->GetMember(name);
    return member ? member->Address(Value()) : nullptr;
}

bool Variable::ReadInteger(long long& out) const
{
    return scalar::ReadInteger(m_type, Value(), out);
}

bool Variable::ReadFloat(double& out) const
{
    return scalar::ReadFloat(m_type, Value(), out);
}

void* Variable::CreateValue(const Meta* type)
{
    if (!type) {
        return nullptr;
    }
    if (MetaNotPOD* ops = type->GetOps()) {
        return ops->New();
    }
    switch (type->GetKind()) {
    case Meta::Kind::String:
        return new std::string();
    case Meta::Kind::Class:
    case Meta::Kind::Opaque:
        return nullptr;
    default: {
        void* block = ::operator new(type->GetSize());
        std::memset(block, 0, type->GetSize());
        return block;
    }
    }
}

void* Variable::CopyValue(const Meta* type, const void* source)
{
    if (!type || !source) {
        return nullptr;
    }
    if (MetaNotPOD* ops = type->GetOps()) {
        return ops->Copy(source);
    }
    switch (type->GetKind()) {
    case Meta::Kind::String:
        return new std::string(*static_cast<const std::string*>(source));
    case Meta::Kind::Class:
    case Meta::Kind::Opaque:
        return nullptr;
    default: {
        void* block = ::operator new(type->GetSize());
        std::memcpy(block, source, type->GetSize());
        return block;
    }
    }
}

void Variable::DestroyValue(const Meta* type, void* value)
{
    if (!type || !value) {
        return;
    }
    if (MetaNotPOD* ops = type->GetOps()) {
        ops->Delete(value);
        return;
    }
    switch (type->GetKind()) {
    case Meta::Kind::String:
        delete static_cast<std::string*>(value);
        return;
    case Meta::Kind::Class:
    case Meta::Kind::Opaque:
        // Never made by a box; nothing of ours to free.
        return;
    default:
        ::operator delete(value);
        return;
    }
}

} // namespace quellor
