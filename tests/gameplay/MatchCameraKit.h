#pragma once
// A match as the level intro and the win camera find it: people with a body, a motor and a
// third-person camera (whose reticle archetypes the world holds), computer players with a body
// and a motor, and the pictures both lay over the view, found by their material.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "tests/support/gameplay/GameWorld.h"
#include "tests/support/gameplay/PlayerBuilder.h"

#include <string>
#include <vector>

namespace quellor::test {

// The reticle and ring archetypes a person's camera clones.
inline void WriteReticleArchetypes(tarsel::test::GameWorld& world)
{
    for (const char* name : {"reticle", "reticuleRing"})
        world.WriteFile(std::string("archetypes/") + name + ".arch",
                        std::string("<archetype><Transform2D/><GraphicsComponent2D><m_materialName><string value=\"") +
                            name + ".mat\"/></m_materialName></GraphicsComponent2D></archetype>\n");
    world.resources->ScanDirectory("");
}

// Not joined: the match start spawns players and their set-up joins them later.
inline Entity* MakePerson(tarsel::test::GameWorld& world, const std::string& name, const std::string& team, int pad,
                          float x = 0.0f, float y = 0.0f, float z = 0.0f)
{
    Entity* player = tarsel::test::BuildPlayer(*world.engine, name, x, y, z, {team, pad});
    player->AddComponent<ThirdPersonCameraComponent>(true)->SetTarget(player);
    return player;
}

inline Entity* MakeBot(tarsel::test::GameWorld& world, const std::string& name, const std::string& team,
                       float x = 0.0f, float y = 0.0f, float z = 0.0f)
{
    return tarsel::test::BuildPlayer(*world.engine, name, x, y, z, {team, -1});
}

// A picture's sprite and placement; null for a gone entity.
inline GraphicsComponent2D* SpriteOf(Entity* picture)
{
    return picture ? picture->GetComponent<GraphicsComponent2D>() : nullptr;
}
inline Transform2D* PlaceOf(Entity* picture)
{
    return picture ? picture->GetComponent<Transform2D>() : nullptr;
}

// The entities of "default" whose sprite asks for the material ("" for none), in creation order.
inline std::vector<Entity*> PicturesWith(tarsel::test::GameWorld& world, const std::string& material)
{
    std::vector<Entity*> found;
    for (GraphicsComponent2D* sprite : world.graphics->GetGraphicsComponent2Ds())
        if (sprite->m_materialName == material && sprite->GetEntity() && !sprite->GetEntity()->IsDestroyed())
            found.push_back(sprite->GetEntity());
    return found;
}

} // namespace quellor::test
