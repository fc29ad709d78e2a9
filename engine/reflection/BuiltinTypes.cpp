#include "engine/reflection/BuiltinTypes.h"

#include <array>
#include <mutex>

#include <tinyxml.h>

#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaRegistry.h"

namespace quellor {

namespace {

struct BuiltinRow {
    const char* name;
    std::uint32_t size;
    Meta::Kind kind;
};

// In BuiltinType order.
constexpr std::array<BuiltinRow, static_cast<std::size_t>(BuiltinType::Count)> kRows{{
    {"char", 1, Meta::Kind::SignedInteger},
    {"unsigned char", 1, Meta::Kind::UnsignedInteger},
    {"short", 2, Meta::Kind::SignedInteger},
    {"unsigned short", 2, Meta::Kind::UnsignedInteger},
    {"int", 4, Meta::Kind::SignedInteger},
    {"unsigned int", 4, Meta::Kind::UnsignedInteger},
    {"float", 4, Meta::Kind::Float},
    {"bool", 1, Meta::Kind::Bool},
    {"string", sizeof(std::string), Meta::Kind::String},
    {"EnemyType", 4, Meta::Kind::Enumeration},
    {"EnvironmentType", 4, Meta::Kind::Enumeration},
    {"code", 4, Meta::Kind::Enumeration},
    {"TiXmlElement", sizeof(TiXmlElement), Meta::Kind::Opaque},
}};

static_assert(sizeof(short) == 2 && sizeof(int) == 4 && sizeof(float) == 4 && sizeof(bool) == 1);

using BuiltinTable = std::array<Meta*, kRows.size()>;

const BuiltinTable& Table()
{
    static const BuiltinTable table = [] {
        std::lock_guard<std::recursive_mutex> lock(MetaRegistry::Instance().BuildMutex());
        BuiltinTable built{};
        for (std::size_t i = 0; i < kRows.size(); ++i) {
            built[i] = Meta::CreateBuiltin(kRows[i].name, kRows[i].size, kRows[i].kind);
        }
        return built;
    }();
    return table;
}

} // namespace

Meta* BuiltinMeta(BuiltinType type)
{
    const auto index = static_cast<std::size_t>(type);
    return index < kRows.size() ? Table()[index] : nullptr;
}

void RegisterBuiltinTypes()
{
    (void)Table();
}

} // namespace quellor
