#pragma once
// Class-body half of a reflected class's declaration. How to declare a record is described at
// the top of engine/reflection/MetaRegistrar.h; this header only holds what a class header needs.
#include <string>

namespace quellor {

class Meta;
template <class T>
class MetaRegistrar;

} // namespace quellor

// Shared part of the forms below. Access is public after the macro.
#define QUELLOR_REFLECT_COMMON_(Class)                                                             \
public:                                                                                            \
    using QuellorSelf = Class;                                                                     \
    static constexpr const char* QuellorName = #Class;                                             \
    static ::quellor::Meta* StaticMeta();                                                          \
    static void QuellorRegister(::quellor::MetaRegistrar<Class>& reg);

// A reflected class with no reflected polymorphic base (QLObject, the value types, Engine).
#define QUELLOR_REFLECT_ROOT(Class)                                                                \
    QUELLOR_REFLECT_COMMON_(Class)                                                                 \
    virtual ::quellor::Meta* GetMeta() const;

// A reflected class whose base already declares GetMeta.
#define QUELLOR_REFLECT(Class)                                                                     \
    QUELLOR_REFLECT_COMMON_(Class)                                                                 \
    ::quellor::Meta* GetMeta() const override;

// A reflected component or system: also its static type identifier, spelt like its record.
#define QUELLOR_REFLECT_KEYED(Class)                                                               \
    QUELLOR_REFLECT(Class)                                                                         \
    inline static const std::string ID{#Class};

// A keyed class whose objects answer GetMeta with their base's record: its own record exists
// and is found by name, but the class does not override GetMeta. Pairs with
// QUELLOR_RECORD_ONLY in the .cpp.
#define QUELLOR_REFLECT_KEYED_BASE_META(Class)                                                     \
    QUELLOR_REFLECT_COMMON_(Class)                                                                 \
    inline static const std::string ID{#Class};
