#pragma once
// The records of the built-in types and the mapping from C++ types to records.
//
// MetaOf<T>() is the record of a C++ type: the class's own record for reflected classes
// (built on first use), the built-in record for the numbers, bool, std::string, TiXmlElement
// and the enumerations mapped with QUELLOR_BUILTIN_ENUM. Any other type does not compile.
#include <string>
#include <type_traits>

class TiXmlElement;

namespace quellor {

class Meta;

enum class BuiltinType {
    Char,
    UnsignedChar,
    Short,
    UnsignedShort,
    Int,
    UnsignedInt,
    Float,
    Bool,
    String,
    EnemyType,
    EnvironmentType,
    Code,
    TiXmlElement,
    Count
};

// The record of a built-in type; all thirteen are built together on first use.
Meta* BuiltinMeta(BuiltinType type);
// Builds the thirteen built-in records now (the engine's registration call does).
void RegisterBuiltinTypes();

template <class T, class = void>
struct TypeRecord {
    static_assert(sizeof(T) == 0, "this type has no reflection record");
};

// Reflected classes: the record their declaration builds.
template <class T>
struct TypeRecord<T, std::void_t<decltype(T::StaticMeta())>> {
    static Meta* Get() { return T::StaticMeta(); }
};

#define QUELLOR_BUILTIN_RECORD_(Type, Builtin)                                                     \
    template <>                                                                                    \
    struct TypeRecord<Type, void> {                                                                \
        static Meta* Get() { return BuiltinMeta(BuiltinType::Builtin); }                           \
    };

QUELLOR_BUILTIN_RECORD_(char, Char)
QUELLOR_BUILTIN_RECORD_(signed char, Char)
QUELLOR_BUILTIN_RECORD_(unsigned char, UnsignedChar)
QUELLOR_BUILTIN_RECORD_(short, Short)
QUELLOR_BUILTIN_RECORD_(unsigned short, UnsignedShort)
QUELLOR_BUILTIN_RECORD_(int, Int)
QUELLOR_BUILTIN_RECORD_(unsigned int, UnsignedInt)
QUELLOR_BUILTIN_RECORD_(float, Float)
QUELLOR_BUILTIN_RECORD_(bool, Bool)
QUELLOR_BUILTIN_RECORD_(std::string, String)
QUELLOR_BUILTIN_RECORD_(::TiXmlElement, TiXmlElement)

// Maps a 4-byte enumeration to one of the built-in enumeration records ("EnemyType",
// "EnvironmentType", "code"). Use inside namespace quellor, once per enumeration:
//     QUELLOR_BUILTIN_ENUM(EnvironmentType, EnvironmentType)
#define QUELLOR_BUILTIN_ENUM(Type, Builtin)                                                        \
    static_assert(std::is_enum_v<Type> && sizeof(Type) == 4, "built-in enumerations are 4 bytes"); \
    QUELLOR_BUILTIN_RECORD_(Type, Builtin)

template <class T>
Meta* MetaOf()
{
    return TypeRecord<std::remove_cv_t<T>>::Get();
}

} // namespace quellor
