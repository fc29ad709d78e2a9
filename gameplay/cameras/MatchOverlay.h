#pragma once
// The 2D pictures the level intro and the win camera lay over the match, and what both read
// of the players. Every picture is an entity of the space "default" named after a base name
// made unique, with a Transform2D and a GraphicsComponent2D.
#include <string>
#include <vector>

namespace quellor {

class Entity;
class GameLogicSystem;
class Transform2D;

// The four team names the game's content has pictures for.
bool IsContentTeam(const std::string& team);

// A new picture at (x, y) of size (width, height) on a z-layer (higher layers cover lower ones);
// an empty material sets none, so the sprite keeps the renderer's default. Null without an
// engine or a space "default".
Entity* CreateOverlayPicture(const std::string& baseName, const std::string& material, float x, float y,
                             float width, float height, unsigned layer = 0);
// The picture's placement; null once the entity has gone or has none.
Transform2D* PictureTransform(Entity* picture);

// The joined players still alive, in join order, with their player indices.
struct IndexedPlayer {
    int index = 0;
    Entity* entity = nullptr;
};
std::vector<IndexedPlayer> LivePlayers(const GameLogicSystem& logic);

} // namespace quellor
