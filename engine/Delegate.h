#pragma once
// A small, copyable handle to something callable: a method bound to an object, or a free
// function. Copies share one callback. Delegates are ordered (kind, then object address, then
// the method pointer's bytes) so that signals can key their connections by them.
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace quellor {

// Thrown when an empty delegate is called or compared. Nothing catches it: it marks a wiring
// fault in the program, not a condition to recover from.
class DelegateError : public std::logic_error {
public:
    DelegateError() : std::logic_error("Delegate not pointing to any function.") {}
};

namespace delegate_internal {

// What a callback points at, kept in one comparable form for every concrete callback type:
// the object's address (0 for free functions) and the raw bytes of the function or method pointer.
struct Target {
    static constexpr std::size_t kMaxBytes = 16;
    std::uintptr_t object = 0;
    unsigned char bytes[kMaxBytes] = {};
};

template<typename R, typename... Args>
class Callback {
public:
    static constexpr std::uint32_t kStaticFunction = 0;
    static constexpr std::uint32_t kMethod = 1;

    virtual ~Callback() = default;
    virtual R Invoke(Args... args) = 0;
    virtual std::unique_ptr<Callback> Clone() const = 0;

    std::uint32_t Kind() const { return m_kind; }

    // Same object and same function.
    bool IsEqual(const Callback& other) const
    {
        return m_target.object == other.m_target.object &&
               std::memcmp(m_target.bytes, other.m_target.bytes, Target::kMaxBytes) == 0;
    }

    // Objects compared as unsigned numbers first, then the pointers byte by byte in memory order.
    bool IsLess(const Callback& other) const
    {
        if (m_target.object != other.m_target.object)
            return m_target.object < other.m_target.object;
        return std::memcmp(m_target.bytes, other.m_target.bytes, Target::kMaxBytes) < 0;
    }

protected:
    Callback(std::uint32_t kind, const Target& target) : m_kind(kind), m_target(target) {}

private:
    std::uint32_t m_kind;
    Target m_target;
};

template<typename Object, typename Method, typename R, typename... Args>
class MethodCallback final : public Callback<R, Args...> {
public:
    MethodCallback(Object* object, Method method)
        : Callback<R, Args...>(Callback<R, Args...>::kMethod, MakeTarget(object, method)),
          m_object(object), m_method(method)
    {
    }

    R Invoke(Args... args) override { return (m_object->*m_method)(std::forward<Args>(args)...); }

    std::unique_ptr<Callback<R, Args...>> Clone() const override
    {
        return std::make_unique<MethodCallback>(m_object, m_method);
    }

private:
    static Target MakeTarget(Object* object, Method method)
    {
        static_assert(sizeof(Method) <= Target::kMaxBytes, "method pointer larger than expected");
        Target target;
        target.object = reinterpret_cast<std::uintptr_t>(static_cast<const volatile void*>(object));
        std::memcpy(target.bytes, &method, sizeof(Method));
        return target;
    }

    Object* m_object;
    Method m_method;
};

template<typename R, typename... Args>
class StaticFunctionCallback final : public Callback<R, Args...> {
public:
    using Function = R (*)(Args...);

    explicit StaticFunctionCallback(Function function)
        : Callback<R, Args...>(Callback<R, Args...>::kStaticFunction, MakeTarget(function)),
          m_function(function)
    {
    }

    R Invoke(Args... args) override { return m_function(std::forward<Args>(args)...); }

    std::unique_ptr<Callback<R, Args...>> Clone() const override
    {
        return std::make_unique<StaticFunctionCallback>(m_function);
    }

private:
    static Target MakeTarget(Function function)
    {
        // A function pointer is ordered as an unsigned number: keep it big-endian in the bytes
        // so that the byte-wise comparison agrees with the numeric one.
        Target target;
        std::uintptr_t value = reinterpret_cast<std::uintptr_t>(function);
        for (std::size_t i = 0; i < sizeof(value); ++i)
            target.bytes[i] = static_cast<unsigned char>(value >> (8 * (sizeof(value) - 1 - i)));
        return target;
    }

    Function m_function;
};

} // namespace delegate_internal

template<typename R = void, typename... Args>
class Delegate {
public:
    using CallbackType = delegate_internal::Callback<R, Args...>;

    Delegate() = default;

    // A method of an object. A null object or method gives an empty delegate.
    template<typename Object, typename Class>
        requires std::is_base_of_v<Class, std::remove_const_t<Object>>
    Delegate(Object* object, R (Class::*method)(Args...))
    {
        if (object && method)
            m_callback = std::make_shared<
                delegate_internal::MethodCallback<Object, R (Class::*)(Args...), R, Args...>>(object, method);
    }

    template<typename Object, typename Class>
        requires std::is_base_of_v<Class, std::remove_const_t<Object>>
    Delegate(Object* object, R (Class::*method)(Args...) const)
    {
        if (object && method)
            m_callback = std::make_shared<
                delegate_internal::MethodCallback<Object, R (Class::*)(Args...) const, R, Args...>>(object,
                                                                                                   method);
    }

    // A free function. A null pointer gives an empty delegate.
    Delegate(R (*function)(Args...))
    {
        if (function)
            m_callback = std::make_shared<delegate_internal::StaticFunctionCallback<R, Args...>>(function);
    }

    bool IsEmpty() const { return !m_callback; }

    R operator()(Args... args) const
    {
        if (!m_callback)
            throw DelegateError();
        return m_callback->Invoke(std::forward<Args>(args)...);
    }

    // Ordering and equality throw for an empty delegate, like a call does.
    friend bool operator<(const Delegate& a, const Delegate& b)
    {
        a.Require();
        b.Require();
        if (a.m_callback->Kind() != b.m_callback->Kind())
            return a.m_callback->Kind() < b.m_callback->Kind();
        return a.m_callback->IsLess(*b.m_callback);
    }

    friend bool operator==(const Delegate& a, const Delegate& b)
    {
        a.Require();
        b.Require();
        return a.m_callback->Kind() == b.m_callback->Kind() && a.m_callback->IsEqual(*b.m_callback);
    }

private:
    void Require() const
    {
        if (!m_callback)
            throw DelegateError();
    }

    std::shared_ptr<CallbackType> m_callback;
};

template<typename Object, typename Class, typename R, typename... Args>
Delegate<R, Args...> MakeDelegate(Object* object, R (Class::*method)(Args...))
{
    return Delegate<R, Args...>(object, method);
}

template<typename Object, typename Class, typename R, typename... Args>
Delegate<R, Args...> MakeDelegate(Object* object, R (Class::*method)(Args...) const)
{
    return Delegate<R, Args...>(object, method);
}

template<typename R, typename... Args>
Delegate<R, Args...> MakeDelegate(R (*function)(Args...))
{
    return Delegate<R, Args...>(function);
}

} // namespace quellor
