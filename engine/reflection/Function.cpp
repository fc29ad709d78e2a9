#include "engine/reflection/Function.h"

namespace quellor {

Function::~Function() = default;

void Function::PushArgument(Variable argument)
{
    m_pending.push_back(argument);
}

Variable* Function::Invoke()
{
    std::vector<Variable> args = m_pending;
    // Emptied before the call, last first, so that the method may use this binding again.
    while (!m_pending.empty()) {
        m_pending.pop_back();
    }
    if (!m_invoker) {
        return nullptr;
    }
    if (args.size() != m_argumentTypes.size() + 1) {
        ReflectionWarning("%s takes an object and %zu argument(s), %zu box(es) were pushed",
                          m_name.c_str(), m_argumentTypes.size(), args.size());
        return nullptr;
    }
    return m_invoker(*this, args);
}

void Function::WarnArgument(std::size_t index, const Variable& box) const
{
    const Meta* given = box.GetType();
    const Meta* wanted = index < m_argumentTypes.size() ? m_argumentTypes[index] : nullptr;
    ReflectionWarning("%s: argument %zu is a %s box%s, the method takes %s", m_name.c_str(), index + 1,
                      given ? given->Name().c_str() : "untyped", box.Value() ? "" : " with no value",
                      wanted ? wanted->Name().c_str() : "nothing");
}

} // namespace quellor
