#pragma once
// Per-type operations of a class record: create, copy and free instances without knowing the
// class statically. The four variants differ only in which operation yields null.
#include <type_traits>

namespace quellor {

class MetaNotPOD {
public:
    virtual ~MetaNotPOD() = default;

    // A default-constructed instance on the heap, or null when the class has no such constructor.
    virtual void* New() const = 0;
    // A copy of `source` on the heap, or null when the class cannot be copied.
    virtual void* Copy(const void* source) const = 0;
    // Frees an instance made by New or Copy; null is ignored.
    virtual void Delete(void* object) const = 0;

    // Whether New and Copy can yield an object (what the census compares).
    virtual bool CanCreate() const = 0;
    virtual bool CanCopy() const = 0;
};

namespace detail {

template <class T, bool create, bool copy>
class MetaOps : public MetaNotPOD {
public:
    void* New() const override
    {
        if constexpr (create) {
            return new T();
        } else {
            return nullptr;
        }
    }

    void* Copy(const void* source) const override
    {
        if constexpr (copy) {
            return source ? new T(*static_cast<const T*>(source)) : nullptr;
        } else {
            (void)source;
            return nullptr;
        }
    }

    // Engine objects go through their virtual destructor; value types are plain deletes. A
    // class that only frees itself (the engine singleton) is never freed through its record.
    void Delete(void* object) const override
    {
        if constexpr (std::is_destructible_v<T>) {
            delete static_cast<T*>(object);
        } else {
            (void)object;
        }
    }

    bool CanCreate() const override { return create; }
    bool CanCopy() const override { return copy; }
};

} // namespace detail

template <class T>
class DerivedMetaNotPOD : public detail::MetaOps<T, true, true> {};

template <class T>
class DerivedMetaNotPODNoCopy : public detail::MetaOps<T, true, false> {};

template <class T>
class DerivedMetaNotPODNoDef : public detail::MetaOps<T, false, true> {};

template <class T>
class DerivedMetaNotPODNoDefNoCopy : public detail::MetaOps<T, false, false> {};

} // namespace quellor
