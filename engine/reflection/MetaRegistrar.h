#pragma once
// Declaring reflected classes.
//
// A class gets its record, its GetMeta override and (for components and systems) its static
// `ID` from one declaration in two halves. The class name is written as an identifier only;
// the registered name and "ID" are both spelt from it, so they cannot drift apart.
//
// 1. In the class body, first thing (access is public after it):
//        class Transform2D : public Component {
//            QUELLOR_REFLECT_KEYED(Transform2D)   // component or system: also `ID`
//        public: ...
//    Use QUELLOR_REFLECT(Class) for other classes under a reflected base, and
//    QUELLOR_REFLECT_ROOT(Class) for classes without one (value types, QLObject, Engine).
//    QUELLOR_REFLECT_KEYED_BASE_META(Class), with QUELLOR_RECORD_ONLY in the .cpp, for a
//    component or system that keeps its record but answers GetMeta with its base's.
//    The class header only needs "engine/reflection/Reflected.h".
//
// 2. In the class's .cpp, inside its namespace, the record's row and its registrar:
//        QUELLOR_RECORD(Transform2D, Component, DerivedMetaNotPOD, WithID)
//        {
//            reg.Member(QL_FIELD(m_x)).Getter(QL_METHOD(GetX));
//            reg.Member(QL_FIELD(m_scaleX));
//        }
//    Arguments: the class; its reflected base (NoBase for none; a renderer base is not
//    recorded); its operations (DerivedMetaNotPOD, DerivedMetaNotPODNoCopy,
//    DerivedMetaNotPODNoDef, DerivedMetaNotPODNoDefNoCopy); WithID to register the static
//    member "ID" on the class's `ID`, NoID otherwise.
//    In the body, `reg` is a MetaRegistrar<Class>:
//      - reg.Member(QL_FIELD(m_field))       member named after the field, located through the
//                                            member pointer (fields of second bases too);
//      - reg.MemberAt("name", accessor)      member reached through `F& accessor(Class&)`,
//                                            e.g. an array element; the name is written once;
//      - reg.Method(QL_METHOD(Name))         method named after the C++ method;
//      - reg.Method("Name", &Class::GetName) where the registered name differs;
//      - on a member: .Setter(QL_METHOD(SetX)) registers the method and binds a second,
//        separate binding as the setter; .Setter(&Class::SetX) binds the setter only;
//        .Getter(...) likewise; .Extension(".mat") sets the asset-extension hint.
//    QL_FIELD and QL_METHOD stringise the identifier, so a misspelt field name lives only in
//    the field's declaration. Argument and result records come from the C++ types.
//
// 3. The library's one registration call (RegisterEngineTypes for engine/) names every class
//    it declares with MetaOf<Class>(); main and test fixtures run it once. A record is built on
//    first use, after its base and the records its registrar names; nothing registers from
//    static initialisers. Enumerations used as arguments are mapped to a built-in record with
//    QUELLOR_BUILTIN_ENUM (BuiltinTypes.h).
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>

#include "engine/reflection/BuiltinTypes.h"
#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/Reflected.h"
#include "engine/reflection/Variable.h"

namespace quellor {

// The base argument of a record without a reflected base.
struct NoBase {};

enum class RecordID { WithID, NoID };

// Options on one member, returned by MetaRegistrar::Member.
template <class T>
class MemberHandle {
public:
    MemberHandle(Meta* record, Member* member) : m_record(record), m_member(member) {}

    // The method under its name, and a second binding of it as this member's setter.
    template <class M>
    MemberHandle& Setter(const char* name, M method)
    {
        m_record->AddMethod(Function::Bind<T>(method), name);
        return Setter(method);
    }
    // Only the setter binding.
    template <class M>
    MemberHandle& Setter(M method)
    {
        Function* setter = m_member->SetSetter(Function::Bind<T>(method));
        setter->SetName(m_record->Name() + "::" + m_member->GetName() + " setter");
        return *this;
    }

    template <class M>
    MemberHandle& Getter(const char* name, M method)
    {
        m_record->AddMethod(Function::Bind<T>(method), name);
        return Getter(method);
    }
    template <class M>
    MemberHandle& Getter(M method)
    {
        Function* getter = m_member->SetGetter(Function::Bind<T>(method));
        getter->SetName(m_record->Name() + "::" + m_member->GetName() + " getter");
        return *this;
    }

    MemberHandle& Extension(std::string extension)
    {
        m_member->SetExtension(std::move(extension));
        return *this;
    }

    Member* Get() const { return m_member; }

private:
    Meta* m_record;
    Member* m_member;
};

// The registration steps of class T, run once right after its record is built.
template <class T>
class MetaRegistrar {
public:
    explicit MetaRegistrar(Meta* record) : m_record(record) {}

    Meta* Record() const { return m_record; }

    // A data member of T or of one of its bases (second bases included).
    template <class F, class C>
        requires(!std::is_function_v<F>)
    MemberHandle<T> Member(const char* name, F C::*field)
    {
        static_assert(std::is_base_of_v<C, T>, "the field is not one of this class");
        static_assert(!std::is_const_v<F>, "constant fields cannot be read into");
        // Reached through the declaring part of the object, which moves to a second base.
        auto locate = [field](void* object) -> void* {
            C* part = static_cast<T*>(object);
            return std::addressof(part->*field);
        };
        return Add(MetaOf<F>(), std::move(locate), name);
    }

    // A member reached through an accessor returning a reference into the object.
    template <class Accessor>
    MemberHandle<T> MemberAt(const char* name, Accessor accessor)
    {
        using Result = std::invoke_result_t<Accessor, T&>;
        static_assert(std::is_lvalue_reference_v<Result>, "the accessor must return a reference");
        using F = std::remove_reference_t<Result>;
        static_assert(!std::is_const_v<F>, "constant fields cannot be read into");
        auto locate = [accessor](void* object) -> void* { return std::addressof(accessor(*static_cast<T*>(object))); };
        return Add(MetaOf<F>(), std::move(locate), name);
    }

    template <class M>
    Function* Method(const char* name, M method)
    {
        return m_record->AddMethod(Function::Bind<T>(method), name);
    }

private:
    MemberHandle<T> Add(Meta* type, ::quellor::Member::Locator locate, const char* name)
    {
        auto member = std::make_unique<::quellor::Member>(type, std::move(locate), name);
        ::quellor::Member* raw = member.get();
        m_record->AddMember(std::move(member));
        return MemberHandle<T>(m_record, raw);
    }

    Meta* m_record;
};

namespace detail {

struct RecordSlot {
    std::atomic<Meta*> record{nullptr};
};

template <class T, class Base>
void* ToBase(void* object)
{
    return static_cast<Base*>(static_cast<T*>(object));
}

template <class T, class Base>
void* FromBase(void* object)
{
    return static_cast<T*>(static_cast<Base*>(object));
}

template <class T, class Base, class Ops, RecordID id>
Meta* BuildRecord(RecordSlot& slot, void (*registrar)(MetaRegistrar<T>&))
{
    constexpr bool hasBase = !std::is_same_v<Base, NoBase>;
    if constexpr (hasBase) {
        static_assert(std::is_base_of_v<Base, T>, "the record's base is not a base of the class");
        static_assert(std::is_same_v<typename Base::QuellorSelf, Base>, "the base needs its own record");
    }

    Meta* record = slot.record.load(std::memory_order_acquire);
    if (record && record->IsFilled()) {
        return record;
    }
    std::lock_guard<std::recursive_mutex> lock(MetaRegistry::Instance().BuildMutex());
    record = slot.record.load(std::memory_order_acquire);
    if (!record) {
        Meta* base = nullptr;
        if constexpr (hasBase) {
            base = MetaOf<Base>();
        }
        // The base's registrar may have named this class and built it already.
        record = slot.record.load(std::memory_order_acquire);
        if (!record) {
            record = Meta::Create(T::QuellorName, sizeof(T), std::make_unique<Ops>(), base);
            if constexpr (hasBase) {
                record->SetBaseCasts(&ToBase<T, Base>, &FromBase<T, Base>);
            }
            slot.record.store(record, std::memory_order_release);
        }
    }
    // A registrar that names this record again (directly or through another record) gets it
    // while it is still being filled.
    if (record->BeginFilling()) {
        MetaRegistrar<T> reg(record);
        registrar(reg);
        if constexpr (id == RecordID::WithID) {
            record->AddStaticMember("ID", const_cast<std::string*>(&T::ID), MetaOf<std::string>());
        }
        record->FinishFilling();
    }
    return record;
}

} // namespace detail
} // namespace quellor

#define QUELLOR_RECORD(Class, Base, Ops, IdRule)                                                   \
    ::quellor::Meta* Class::GetMeta() const                                                        \
    {                                                                                              \
        return StaticMeta();                                                                       \
    }                                                                                              \
    QUELLOR_RECORD_ONLY(Class, Base, Ops, IdRule)

// The record and registrar of a class declared with QUELLOR_REFLECT_KEYED_BASE_META, which
// keeps its base's GetMeta.
#define QUELLOR_RECORD_ONLY(Class, Base, Ops, IdRule)                                              \
    static_assert(std::is_same_v<Class::QuellorSelf, Class>, #Class " needs QUELLOR_REFLECT in its body"); \
    ::quellor::Meta* Class::StaticMeta()                                                           \
    {                                                                                              \
        static ::quellor::detail::RecordSlot slot;                                                 \
        return ::quellor::detail::BuildRecord<Class, Base, ::quellor::Ops<Class>,                  \
                                              ::quellor::RecordID::IdRule>(slot, &Class::QuellorRegister); \
    }                                                                                              \
    void Class::QuellorRegister([[maybe_unused]] ::quellor::MetaRegistrar<Class>& reg)

#define QL_FIELD(name) #name, &QuellorSelf::name
#define QL_METHOD(name) #name, &QuellorSelf::name
