#include "engine/reflection/Member.h"

#include "engine/reflection/Function.h"

namespace quellor {

Member::Member(Meta* type, std::uint32_t offset, std::string name)
    : m_type(type), m_offset(offset), m_name(std::move(name))
{
}

Member::Member(Meta* type, Locator locator, std::string name)
    : m_type(type), m_offset(0), m_locator(std::move(locator)), m_name(std::move(name))
{
}

Member::~Member() = default;

void* Member::Address(void* object) const
{
    if (!object) {
        return nullptr;
    }
    if (m_locator) {
        return m_locator(object);
    }
    return static_cast<char*>(object) + m_offset;
}

Function* Member::SetGetter(std::unique_ptr<Function> getter)
{
    m_getter = std::move(getter);
    return m_getter.get();
}

Function* Member::SetSetter(std::unique_ptr<Function> setter)
{
    m_setter = std::move(setter);
    return m_setter.get();
}

} // namespace quellor
