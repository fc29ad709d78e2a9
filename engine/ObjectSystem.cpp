#include "engine/ObjectSystem.h"

#include "engine/Component.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ResourceSystem.h"
#include "engine/Space.h"
#include "engine/XmlFile.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/ReadVariable.h"
#include "engine/reflection/Variable.h"

#include <tinyxml.h>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace quellor {

QUELLOR_RECORD(ObjectSystem, System, DerivedMetaNotPOD, WithID)
{
    reg.Method(QL_METHOD(Clone));
}

namespace {

const std::string kDefaultSpace = "default";

// Shared by every name and never reset, so that names handed out stay unique for the process.
std::int32_t s_nameCounter = 0;

const FileInfo* FindFile(const System& system, const std::string& fileName, const char* what)
{
    auto* resources = dynamic_cast<ResourceSystem*>(system.FindSystem(ResourceSystem::ID));
    if (!resources) {
        std::printf("Warning: no ResourceSystem in this space; %s \"%s\" not loaded\n", what, fileName.c_str());
        return nullptr;
    }
    const FileInfo* file = resources->FindFile(fileName);
    if (!file)
        std::printf("Warning: %s \"%s\" is not in the file table; nothing loaded\n", what, fileName.c_str());
    return file;
}

void SkipComponent(const TiXmlElement& element, const char* why)
{
    const TiXmlDocument* document = element.GetDocument();
    std::printf("Warning: \"%s\" line %d: component \"%s\" %s; skipped\n", document ? document->Value() : "?",
                element.Row(), element.Value(), why);
}

} // namespace

ObjectSystem::~ObjectSystem() = default;

void ObjectSystem::LoadLevel(std::string levelName)
{
    const FileInfo* file = FindFile(*this, levelName, "level");
    if (!file)
        return;
    Engine* engine = GetEngine();
    std::printf("start: %s\n", file->path.c_str());
    TiXmlDocument document;
    const bool loaded = LoadXmlFile(file->path, document);
    std::printf("start0\n");
    if (!loaded || !engine)
        return;
    for (TiXmlElement* element = document.RootElement()->FirstChildElement(); element;
         element = element->NextSiblingElement()) {
        Entity* entity = engine->CreateEntity(element->Value(), kDefaultSpace);
        if (entity)
            ReadComponents(element, entity, true);
    }
}

Entity* ObjectSystem::Clone(const std::string& archetypeName, const std::string& entityName,
                            const std::string& spaceName)
{
    const FileInfo* file = FindFile(*this, archetypeName, "archetype");
    Engine* engine = GetEngine();
    if (!engine)
        return nullptr;
    Entity* entity = engine->CreateEntity(entityName, spaceName);
    if (!entity || !file)
        return entity;
    TiXmlDocument document;
    if (LoadXmlFile(file->path, document))
        ReadComponents(&document, entity, true);
    return entity;
}

Entity* ObjectSystem::ReadComponents(TiXmlNode* node, Entity* entity, bool initialize)
{
    if (!node || !entity)
        return entity;
    TiXmlElement* wrapper = node->FirstChildElement();
    if (!wrapper)
        return entity;
    MetaRegistry& registry = MetaRegistry::Instance();
    Meta* componentRecord = Component::StaticMeta();
    for (TiXmlElement* element = wrapper->FirstChildElement(); element; element = element->NextSiblingElement()) {
        Meta* record = registry.Find(element->Value());
        if (!record) {
            SkipComponent(*element, "names no registered type");
            continue;
        }
        Variable* id = record->GetStaticMember("ID");
        if (!id || !id->Value() || record->GetKind() != Meta::Kind::Class || !id->GetType() ||
            id->GetType()->GetKind() != Meta::Kind::String) {
            SkipComponent(*element, "has no \"ID\"");
            continue;
        }
        if (!componentRecord || !record->IsA(componentRecord)) {
            SkipComponent(*element, "is not a component");
            continue;
        }
        if (!record->GetOps() || !record->GetOps()->CanCreate()) {
            SkipComponent(*element, "cannot be created");
            continue;
        }
        std::unique_ptr<Variable> read(ReadVariable(element, nullptr));
        if (!read)
            continue; // the reader said why
        void* object = read->GetData();
        read.reset();
        auto* component = static_cast<Component*>(record->CastTo(object, componentRecord));
        if (!component) {
            record->GetOps()->Delete(object);
            SkipComponent(*element, "is not a component");
            continue;
        }
        entity->AddComponent(*static_cast<const std::string*>(id->Value()), component, initialize);
    }
    return entity;
}

Entity* ObjectSystem::CreateUniqueEntity(const std::string& baseName)
{
    Engine* engine = Engine::Existing();
    if (!engine)
        return nullptr;
    auto* objects = engine->GetSystem<ObjectSystem>(kDefaultSpace);
    return engine->CreateEntity(objects ? objects->UniqueEntityName(baseName) : baseName, kDefaultSpace);
}

std::string ObjectSystem::UniqueEntityName(const std::string& name)
{
    Engine* engine = GetEngine();
    if (!engine || !engine->HasEntity(name, kDefaultSpace))
        return name;
    for (;;) {
        std::string candidate = name + std::to_string(s_nameCounter);
        if (!engine->HasEntity(candidate, kDefaultSpace))
            return candidate;
        // Wraps instead of overflowing; four billion names are never all taken.
        s_nameCounter = static_cast<std::int32_t>(static_cast<std::uint32_t>(s_nameCounter) + 1u);
    }
}

} // namespace quellor
