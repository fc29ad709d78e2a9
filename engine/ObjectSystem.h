#pragma once
// Turns level and archetype files into entities. A level (".ql") holds one element per entity,
// each holding one wrapper of component elements; an archetype (".arch") holds the component
// elements of one entity directly. Each component element names its type in the reflection
// registry; the component is created and filled by the value reader and added to its entity
// under the type's "ID". Files are found by name in the resource system's file table.
#include "engine/System.h"
#include "engine/reflection/Reflected.h"

#include <string>

class TiXmlNode;

namespace quellor {

class Entity;

class ObjectSystem : public System {
    QUELLOR_REFLECT_KEYED(ObjectSystem)

    ObjectSystem() = default;
    ~ObjectSystem() override;

    // Creates every entity of the level file in the space "default", in file order, named by
    // their tags. The name is the key of the file table ("Beta.ql").
    void LoadLevel(std::string levelName);

    // Creates one entity named `entityName` in the named space and reads the archetype's
    // components into it. The entity is made and returned even when the archetype cannot be
    // found or read (then it has no components); null only when the space does not exist.
    Entity* Clone(const std::string& archetypeName, const std::string& entityName, const std::string& spaceName);

    // Reads the component elements below the first child element of `node` into the entity,
    // adding and (when asked) initialising them one at a time in document order. An element
    // that names no registered type, a type without "ID", a type that is not a component or
    // one that cannot be created is skipped with a warning; the others are read. Returns the
    // entity.
    Entity* ReadComponents(TiXmlNode* node, Entity* entity, bool initialize);

    // The name itself when no entity of the space "default" has it, else the name followed by
    // a number from a process-wide counter shared by all names.
    std::string UniqueEntityName(const std::string& name);

    // A new entity of the space "default" named by UniqueEntityName from the base name (the
    // base name as it is when there is no object system); null without an engine.
    static Entity* CreateUniqueEntity(const std::string& baseName);
};

} // namespace quellor
