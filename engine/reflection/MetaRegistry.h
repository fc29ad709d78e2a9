#pragma once
// The process-wide table of type records by registered name. It is made on first use, owns
// every record built (registered or not) and frees them at exit.
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace quellor {

class Meta;

class MetaRegistry {
public:
    static MetaRegistry& Instance();

    // The record registered under `name`, or null.
    Meta* Find(const std::string& name) const;

    // What Create made of a name.
    enum class Creation { Made, NoSuchType, NotOfBase, CannotBeMade };
    // A new object of the type registered under `name`, as the class of record `base` (the
    // object's own record or one of its bases): null, with the reason in `outcome`, when no
    // record has the name, the type is not a `base`, or its record cannot create it.
    void* Create(const std::string& name, const Meta* base, Creation& outcome) const;
    // A copy of the whole name → record table (for the census and tools).
    std::unordered_map<std::string, Meta*> Records() const;
    std::size_t Count() const;

    // Takes ownership of a new record and registers it unless its name is taken.
    // Returns true when the record is now the one registered under its name.
    bool Adopt(std::unique_ptr<Meta> record);

    // Held while records are built, so that one thread builds each record once and a
    // registrar may name records still being built further up its own call chain.
    std::recursive_mutex& BuildMutex() const { return m_mutex; }

    MetaRegistry(const MetaRegistry&) = delete;
    MetaRegistry& operator=(const MetaRegistry&) = delete;

private:
    MetaRegistry();
    ~MetaRegistry();

    mutable std::recursive_mutex m_mutex;
    std::unordered_map<std::string, Meta*> m_byName;
    std::vector<std::unique_ptr<Meta>> m_owned;
};

// Create as a reflected class Base: `CreateAs<Action>(name, outcome)`.
template <class Base>
Base* CreateAs(const std::string& name, MetaRegistry::Creation& outcome)
{
    return static_cast<Base*>(MetaRegistry::Instance().Create(name, Base::StaticMeta(), outcome));
}

} // namespace quellor
