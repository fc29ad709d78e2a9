#include "gameplay/cameras/MatchOverlay.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "gameplay/GameLogicSystem.h"

namespace quellor {

bool IsContentTeam(const std::string& team)
{
    return team == "red" || team == "orange" || team == "purple" || team == "green";
}

Entity* CreateOverlayPicture(const std::string& baseName, const std::string& material, float x, float y,
                             float width, float height, unsigned layer)
{
    Entity* picture = ObjectSystem::CreateUniqueEntity(baseName);
    if (!picture)
        return nullptr;
    if (auto* transform = picture->AddComponent<Transform2D>(true)) {
        transform->m_x = x;
        transform->m_y = y;
        transform->m_scaleX = width;
        transform->m_scaleY = height;
    }
    if (auto* sprite = picture->AddComponent<GraphicsComponent2D>(true)) {
        sprite->SetZLayer(layer);
        if (!material.empty())
            sprite->SetMaterial(material);
    }
    return picture;
}

Transform2D* PictureTransform(Entity* picture)
{
    return picture ? picture->GetComponent<Transform2D>() : nullptr;
}

std::vector<IndexedPlayer> LivePlayers(const GameLogicSystem& logic)
{
    std::vector<IndexedPlayer> players;
    const int count = static_cast<int>(logic.GetPlayerCount());
    for (int i = 0; i < count; ++i)
        if (Entity* player = logic.GetPlayer(i))
            players.push_back({i, player});
    return players;
}

} // namespace quellor
