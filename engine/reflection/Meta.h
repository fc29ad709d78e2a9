#pragma once
// The reflection record of one type: name, size, operations, bases and the tables of static
// members, members and methods. Records live in MetaRegistry, which owns and frees them.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/reflection/MetaNotPOD.h"

namespace quellor {

class Function;
class Member;
class Variable;

class Meta {
public:
    // What the value of a record is made of. Every class record is Class; the built-in
    // records say how their bytes read (see BuiltinTypes.h).
    enum class Kind : std::uint8_t {
        Class,
        SignedInteger,
        UnsignedInteger,
        Float,
        Bool,
        String,
        Enumeration,
        Opaque, // a foreign type only ever handled by pointer
    };

    // Pointer conversions between a class and its base, object address to object address.
    using Cast = void* (*)(void*);

    // Builds a record and enters it into the registry under its name (the first record of a
    // name wins; later ones stay unregistered but are still owned and freed by the registry).
    // Null bases are skipped, so (null, B, null) gives the single base B.
    static Meta* Create(std::string name, std::uint32_t size, std::unique_ptr<MetaNotPOD> ops,
                        Meta* base1 = nullptr, Meta* base2 = nullptr, Meta* base3 = nullptr);
    // A built-in record: no operations, no base.
    static Meta* CreateBuiltin(std::string name, std::uint32_t size, Kind kind);

    Meta(const Meta&) = delete;
    Meta& operator=(const Meta&) = delete;
    ~Meta();

    // Tables; the first entry of a name wins. The record owns everything handed to it.
    Member* AddMember(std::unique_ptr<Member> member);
    Function* AddMethod(std::unique_ptr<Function> function, std::string name);
    void AddStaticMember(std::string name, void* address, Meta* type);

    Member* GetMember(const std::string& name) const;
    Function* GetMethod(const std::string& name) const;
    Variable* GetStaticMember(const std::string& name) const;
    const std::unordered_map<std::string, Member*>& GetMembers() const { return m_members; }
    const std::unordered_map<std::string, Function*>& GetMethods() const { return m_methods; }
    const std::unordered_map<std::string, Variable*>& GetStaticMembers() const { return m_staticMembers; }

    std::string GetName() const { return m_name; }
    const std::string& Name() const { return m_name; }
    MetaNotPOD* GetOps() const { return m_ops.get(); }
    std::uint32_t GetSize() const { return m_size; }
    Kind GetKind() const { return m_kind; }
    bool IsBuiltin() const { return m_kind != Kind::Class; }
    const std::vector<Meta*>& GetBases() const { return m_bases; }

    // Called by the value reader with the value and its element; no engine type sets one.
    Function* GetCustomSerializer() const { return m_customReader; }
    void SetCustomSerializer(std::unique_ptr<Function> reader);
    // When set, the value reader reads neither the value nor its members.
    bool GetSkipReading() const { return m_skipReading; }
    void SetSkipReading(bool skip) { m_skipReading = skip; }

    // True when `other` is this record or one of its bases, transitively.
    bool IsA(const Meta* other) const;
    // `object` is an instance seen as this record's class; returns it seen as `target`, an
    // ancestor (null when `target` is not one, or when object is null).
    void* CastTo(void* object, const Meta* target) const;
    // `object` is seen as `source`, an ancestor of this record, and really is an instance of
    // this record's class; returns it seen as this class (null when `source` is no ancestor).
    void* CastFrom(void* object, const Meta* source) const;

    // Build-time only: the conversions to and from the first base, for classes whose base
    // subobject may not sit at offset zero. Without them the conversion is the identity.
    void SetBaseCasts(Cast toBase, Cast fromBase);

    // Build-time state, used by the declaration helpers to build each record once and to let a
    // record's registrar name records that name it back.
    bool IsFilled() const { return m_state.load(std::memory_order_acquire) == kFilled; }
    bool BeginFilling();
    void FinishFilling();

private:
    Meta(std::string name, std::uint32_t size, std::unique_ptr<MetaNotPOD> ops, Kind kind);

    struct BaseLink {
        Cast toBase = nullptr;
        Cast fromBase = nullptr;
    };

    static constexpr int kBare = 0;
    static constexpr int kFilling = 1;
    static constexpr int kFilled = 2;

    std::vector<Meta*> m_bases;
    std::vector<BaseLink> m_baseCasts;
    std::unique_ptr<MetaNotPOD> m_ops;
    std::uint32_t m_size;
    std::string m_name;
    Kind m_kind;
    bool m_skipReading = false;
    std::atomic<int> m_state{kBare};

    std::unordered_map<std::string, Variable*> m_staticMembers;
    std::unordered_map<std::string, Member*> m_members;
    std::unordered_map<std::string, Function*> m_methods;
    Function* m_customReader = nullptr;

    // Everything added, winners and losers alike, freed with the record.
    std::vector<std::unique_ptr<Variable>> m_ownedStatics;
    std::vector<std::unique_ptr<Member>> m_ownedMembers;
    std::vector<std::unique_ptr<Function>> m_ownedFunctions;
};

} // namespace quellor
