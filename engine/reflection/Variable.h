#pragma once
// A boxed value: a type record and a pointer to the value, which the box may own. A class
// value's pointer always addresses the object as the record's own class.
#include <string>
#include <type_traits>

#include "engine/reflection/BuiltinTypes.h"

namespace quellor {

class Meta;

class Variable {
public:
    Variable() = default;
    Variable(Meta* type, void* data, bool owns = false, bool indirect = false);

    // Boxes the value at `value`, typed by T's record. With `copy` the box owns a new copy of
    // it (through the record's Copy for classes, a new std::string for strings, a copied
    // block for the other built-ins); without, it points at `value` and owns nothing.
    template <class T>
        requires(!std::is_same_v<std::remove_cv_t<T>, Meta> && !std::is_void_v<T>)
    Variable(T* value, bool copy) : Variable(MetaOf<T>(), RecordAddress(value), copy, 0)
    {
    }

    // A copy never owns: the original keeps the value.
    Variable(const Variable& other);
    Variable& operator=(const Variable& other);
    ~Variable();

    bool Owns() const { return m_owns; }
    void SetOwns(bool owns) { m_owns = owns; }
    bool IsIndirect() const { return m_indirect; }
    Meta* GetType() const { return m_type; }
    void* GetData() const { return m_data; }

    // The value's address: the data, or the pointer stored at data when indirect.
    void* Value() const;
    // The address of the named member of the boxed object, or null when the record has no
    // such member or the box is empty.
    void* MemberAddress(const std::string& name) const;

    // The value read by the box's own record (integers, bool and enumerations; floats).
    bool ReadInteger(long long& out) const;
    bool ReadFloat(double& out) const;

    // Values of a record made, copied and freed the way boxes own them: classes through
    // their operations, strings as std::string, other built-ins as zeroed raw blocks.
    // Foreign (opaque) built-ins are neither made nor copied: null.
    static void* CreateValue(const Meta* type);
    static void* CopyValue(const Meta* type, const void* source);
    static void DestroyValue(const Meta* type, void* value);

private:
    // The value's address as the class its record describes: a class without a record of its
    // own is boxed with its base's record, so it is seen as that base.
    template <class T>
    static void* RecordAddress(T* value)
    {
        using U = std::remove_cv_t<T>;
        if constexpr (std::is_class_v<U> && requires { typename U::QuellorSelf; }) {
            return static_cast<typename U::QuellorSelf*>(const_cast<U*>(value));
        } else {
            return const_cast<U*>(value);
        }
    }

    // The shared constructor of the typed boxes.
    Variable(Meta* type, void* value, bool copy, int);

    bool m_owns = false;
    bool m_indirect = false;
    Meta* m_type = nullptr;
    void* m_data = nullptr;
};

} // namespace quellor
