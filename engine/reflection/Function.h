#pragma once
// A reflected method binding. One generic binder over member-function pointers takes the
// argument and return records from the C++ types; calls go through the real member pointer, so
// virtual overrides and methods of a second base class reach the right object.
//
// Calling: push the object first, then the arguments in order, then Invoke:
//     f->PushArgument(Variable(&entity, false));
//     f->PushArgument(Variable(&id, false));
//     std::unique_ptr<Variable> result(f->Invoke());
// Invoke always empties the pending list. It checks the count, the object's record (the
// method's class or one derived from it) and each argument (the parameter's record, a class
// derived from it, or a value conversion: integers, bool and enumerations between themselves
// with range checks, int → bool as ≠ 0, integers and floats to float); a mismatch logs a
// warning and returns null. Results: null for void; an owning copy for numbers, bool and
// strings returned by value; a non-owning box for a returned reference or pointer, a pointer
// typed by the object's own record (the declared record with null data for a null pointer).
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/reflection/BuiltinTypes.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/ReflectionWarning.h"
#include "engine/reflection/ScalarValue.h"
#include "engine/reflection/Variable.h"

namespace quellor {

namespace binding {

template <class M>
struct MethodTraits;

#define QUELLOR_METHOD_TRAITS_(Qualifiers)                                                         \
    template <class R, class C, class... A>                                                        \
    struct MethodTraits<R (C::*)(A...) Qualifiers> {                                               \
        using Class = C;                                                                           \
        using Signature = R(A...);                                                                 \
    };
QUELLOR_METHOD_TRAITS_()
QUELLOR_METHOD_TRAITS_(const)
QUELLOR_METHOD_TRAITS_(noexcept)
QUELLOR_METHOD_TRAITS_(const noexcept)
#undef QUELLOR_METHOD_TRAITS_

template <class X>
concept ReflectedClass = std::is_class_v<X> && requires { X::StaticMeta(); };

template <class V>
constexpr bool kScalar = std::is_arithmetic_v<V> || std::is_enum_v<V>;

template <class>
constexpr bool kUnsupported = false;

// The record a parameter or result of C++ type P is described by (pointers: the pointee).
template <class P>
Meta* RecordOf()
{
    using V = std::remove_cvref_t<P>;
    if constexpr (std::is_void_v<V>) {
        return nullptr;
    } else if constexpr (std::is_pointer_v<V>) {
        return MetaOf<std::remove_cv_t<std::remove_pointer_t<V>>>();
    } else {
        return MetaOf<V>();
    }
}

// Whether an integer fits V (any integer type, char included).
template <class V>
bool InRange(long long n)
{
    if constexpr (std::is_signed_v<V>) {
        return n >= static_cast<long long>(std::numeric_limits<V>::min()) &&
               n <= static_cast<long long>(std::numeric_limits<V>::max());
    } else {
        return n >= 0 && static_cast<unsigned long long>(n) <= std::numeric_limits<V>::max();
    }
}

template <class V>
bool UnboxScalar(const Variable& box, V& out)
{
    Meta* type = box.GetType();
    long long n = 0;
    if constexpr (std::is_floating_point_v<V>) {
        double d = 0;
        if (box.ReadFloat(d)) {
            out = static_cast<V>(d);
            return true;
        }
        if (scalar::IsIntegerLike(type) && box.ReadInteger(n)) {
            out = static_cast<V>(n);
            return true;
        }
        return false;
    } else if constexpr (std::is_same_v<V, bool>) {
        if (!scalar::IsIntegerLike(type) || !box.ReadInteger(n)) {
            return false;
        }
        out = n != 0;
        return true;
    } else if constexpr (std::is_enum_v<V>) {
        // Its own record, or a plain integer within the enumeration's underlying range.
        using U = std::underlying_type_t<V>;
        const bool plainInteger = type && (type->GetKind() == Meta::Kind::SignedInteger ||
                                           type->GetKind() == Meta::Kind::UnsignedInteger);
        if ((type != MetaOf<V>() && !plainInteger) || !box.ReadInteger(n) || !InRange<U>(n)) {
            return false;
        }
        out = static_cast<V>(static_cast<U>(n));
        return true;
    } else {
        if (!scalar::IsIntegerLike(type) || !box.ReadInteger(n) || !InRange<V>(n)) {
            return false;
        }
        out = static_cast<V>(n);
        return true;
    }
}

// Holds one unboxed argument for parameter type P between the checks and the call.
template <class P>
class Argument {
    using V = std::remove_cvref_t<P>;
    static constexpr bool kMutableReference =
        std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>;
    static_assert(!std::is_rvalue_reference_v<P>, "rvalue-reference parameters cannot be bound");

public:
    bool Load(const Variable& box)
    {
        Meta* type = box.GetType();
        void* value = box.Value();
        if (!type) {
            return false;
        }
        if constexpr (kScalar<V> && !kMutableReference) {
            return UnboxScalar<V>(box, m_value);
        } else if constexpr (kScalar<V>) {
            m_address = value;
            return type == MetaOf<V>() && value;
        } else if constexpr (std::is_same_v<V, std::string>) {
            m_address = value;
            return type->GetKind() == Meta::Kind::String && value;
        } else if constexpr (std::is_pointer_v<V>) {
            using X = std::remove_cv_t<std::remove_pointer_t<V>>;
            if constexpr (ReflectedClass<X>) {
                static_assert(std::is_same_v<typename X::QuellorSelf, X>,
                              "pointer parameters must name a class with its own record");
                if (!type->IsA(MetaOf<X>())) {
                    return false;
                }
                m_address = type->CastTo(value, MetaOf<X>());
                return m_address || !value;
            } else {
                m_address = value;
                return type == MetaOf<X>();
            }
        } else if constexpr (ReflectedClass<V>) {
            static_assert(std::is_same_v<typename V::QuellorSelf, V>,
                          "class parameters must name a class with its own record");
            if (!value || !type->IsA(MetaOf<V>())) {
                return false;
            }
            m_address = type->CastTo(value, MetaOf<V>());
            return m_address != nullptr;
        } else {
            static_assert(kUnsupported<P>, "this parameter type cannot be bound");
            return false;
        }
    }

    P Get()
    {
        if constexpr (kScalar<V> && !kMutableReference) {
            return m_value;
        } else if constexpr (std::is_pointer_v<V>) {
            return static_cast<V>(m_address);
        } else {
            return *static_cast<V*>(m_address);
        }
    }

private:
    std::conditional_t<kScalar<V>, V, char> m_value{};
    void* m_address = nullptr;
};

// A pointer result, typed by the object's own record when it has one derived from the declared.
template <class X>
Variable* BoxObject(X* object)
{
    using Self = typename X::QuellorSelf;
    Meta* declared = MetaOf<X>();
    if (!object) {
        return new Variable(declared, nullptr);
    }
    Self* asSelf = object;
    Meta* dynamic = asSelf->GetMeta();
    if (dynamic && dynamic != declared && dynamic->IsA(declared)) {
        if (void* exact = dynamic->CastFrom(asSelf, declared)) {
            return new Variable(dynamic, exact);
        }
    }
    return new Variable(declared, asSelf);
}

template <class R>
Variable* BoxResult(R&& result)
{
    using V = std::remove_cvref_t<R>;
    if constexpr (kScalar<V>) {
        static_assert(sizeof(V) <= sizeof(long long), "unexpected scalar size");
        Meta* type = MetaOf<V>();
        if (type->GetSize() != sizeof(V)) {
            return nullptr;
        }
        void* block = Variable::CreateValue(type);
        const V copy = result;
        std::memcpy(block, &copy, sizeof(V));
        return new Variable(type, block, true);
    } else if constexpr (std::is_same_v<V, std::string>) {
        if constexpr (std::is_lvalue_reference_v<R>) {
            return new Variable(MetaOf<std::string>(), const_cast<std::string*>(&result), false);
        } else {
            return new Variable(MetaOf<std::string>(), new std::string(std::move(result)), true);
        }
    } else if constexpr (std::is_pointer_v<V>) {
        using X = std::remove_cv_t<std::remove_pointer_t<V>>;
        if constexpr (ReflectedClass<X>) {
            return BoxObject<X>(const_cast<X*>(result));
        } else {
            return new Variable(MetaOf<X>(), const_cast<X*>(result), false);
        }
    } else if constexpr (ReflectedClass<V>) {
        if constexpr (std::is_lvalue_reference_v<R>) {
            return BoxObject<V>(const_cast<V*>(&result));
        } else {
            using Self = typename V::QuellorSelf;
            Self* copy = new V(std::move(result));
            return new Variable(MetaOf<V>(), copy, true);
        }
    } else {
        static_assert(kUnsupported<R>, "this result type cannot be bound");
        return nullptr;
    }
}

} // namespace binding

class Function {
public:
    using Invoker = std::function<Variable*(const Function&, const std::vector<Variable>&)>;

    // Binds a method of class T (by default the class the pointer names). The method may be
    // declared in a base of T, second bases included.
    template <class T = void, class M>
    static std::unique_ptr<Function> Bind(M method);

    Function(const Function&) = delete;
    Function& operator=(const Function&) = delete;
    ~Function();

    // Appends a copy of the box (a copy never owns). The first argument is the object.
    void PushArgument(Variable argument);
    // Calls the method with the pending arguments, empties the list and returns the boxed
    // result (the caller owns it), or null for void methods and refused calls.
    Variable* Invoke();

    Meta* GetReturnType() const { return m_returnType; }
    const std::vector<Meta*>& GetArgumentTypes() const { return m_argumentTypes; }
    Meta* GetObjectType() const { return m_objectType; }
    std::size_t GetPendingCount() const { return m_pending.size(); }
    // "Class::Method" for messages; set when the binding is registered.
    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }

private:
    Function() = default;

    template <class C, class Declaring, class R, class... A, class PM>
    static std::unique_ptr<Function> Make(PM method, std::type_identity<R(A...)>);

    template <class C, class Declaring, class R, class... A, class PM, std::size_t... I>
    static Variable* Call(const Function& self, PM method, const std::vector<Variable>& args,
                          std::index_sequence<I...>);

    void WarnArgument(std::size_t index, const Variable& box) const;

    Meta* m_returnType = nullptr;
    std::vector<Meta*> m_argumentTypes;
    Meta* m_objectType = nullptr;
    Invoker m_invoker;
    std::vector<Variable> m_pending;
    std::string m_name;
};

template <class T, class M>
std::unique_ptr<Function> Function::Bind(M method)
{
    using Traits = binding::MethodTraits<M>;
    using C = std::conditional_t<std::is_void_v<T>, typename Traits::Class, T>;
    static_assert(std::is_base_of_v<typename Traits::Class, C>, "the method is not one of this class");
    static_assert(std::is_same_v<typename C::QuellorSelf, C>, "the bound class needs its own record");
    return Make<C, typename Traits::Class>(method, std::type_identity<typename Traits::Signature>{});
}

template <class C, class Declaring, class R, class... A, class PM>
std::unique_ptr<Function> Function::Make(PM method, std::type_identity<R(A...)>)
{
    std::unique_ptr<Function> f(new Function());
    f->m_objectType = MetaOf<C>();
    f->m_returnType = binding::RecordOf<R>();
    (f->m_argumentTypes.push_back(binding::RecordOf<A>()), ...);
    f->m_invoker = [method](const Function& self, const std::vector<Variable>& args) {
        return Call<C, Declaring, R, A...>(self, method, args, std::index_sequence_for<A...>{});
    };
    return f;
}

template <class C, class Declaring, class R, class... A, class PM, std::size_t... I>
Variable* Function::Call(const Function& self, PM method, const std::vector<Variable>& args,
                         std::index_sequence<I...>)
{
    const Variable& objectBox = args[0];
    Meta* objectType = objectBox.GetType();
    if (!objectType || !objectType->IsA(self.m_objectType)) {
        ReflectionWarning("%s called on a %s, not a %s", self.m_name.c_str(),
                          objectType ? objectType->Name().c_str() : "untyped box",
                          self.m_objectType->Name().c_str());
        return nullptr;
    }
    C* object = static_cast<C*>(objectType->CastTo(objectBox.Value(), self.m_objectType));
    if (!object) {
        ReflectionWarning("%s called on no object", self.m_name.c_str());
        return nullptr;
    }
    [[maybe_unused]] std::tuple<binding::Argument<A>...> unboxed;
    bool loaded = true;
    ((loaded = loaded && (std::get<I>(unboxed).Load(args[I + 1]) || (self.WarnArgument(I, args[I + 1]), false))),
     ...);
    if (!loaded) {
        return nullptr;
    }
    // The method is called on the part of the object that declares it: the conversion moves
    // `this` to a second base where needed, and virtual methods still dispatch.
    Declaring* part = object;
    if constexpr (std::is_void_v<R>) {
        (part->*method)(std::get<I>(unboxed).Get()...);
        return nullptr;
    } else {
        return binding::BoxResult<R>((part->*method)(std::get<I>(unboxed).Get()...));
    }
}

} // namespace quellor
