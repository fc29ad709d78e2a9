// Pictures of the built content for a person to look at, in <build>/screenshots/content/: the
// menu level from each menu screen's camera target, and each arena from each node of its intro
// camera path. The game loads its assets and then only the level: no screen draws over it.
#include "engine/ActionList.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Invoke.h"
#include "engine/LoadAssets.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "tests/e2e/Scenario.h"
#include "tests/support/MenuTargets.h"

#include <memory>
#include <optional>
#include <set>
#include <string>

namespace tarsel::test {
namespace {

constexpr const char* kFolder = "content";

class ContentShots : public ::testing::Test {
protected:
    // The game on the built content: the loading screen, then the level, which stays.
    void Boot(const std::string& level)
    {
        FlowSetup setup = Scenario::ContentSetup();
        setup.startupTree = [level](Game&) {
            return quellor::MakeSequence(new quellor::LoadAssets, new quellor::Invoke([level] { LoadLevel(level); }));
        };
        game.emplace(std::move(setup));
        ASSERT_TRUE(game->Start());
        ASSERT_TRUE(game->RunUntil([&] { return m_loaded == level; }, 6000)) << game->Dump();
        game->GetGame().GetGraphicsSystem()->GetFadeFactor() = 1.0f;
    }

    static void LoadLevel(const std::string& level)
    {
        quellor::Engine* engine = quellor::Engine::Instance();
        if (auto* objects = engine->GetSystem<quellor::ObjectSystem>("default"))
            objects->LoadLevel(level);
        m_loaded = level;
    }

    // Puts the camera of the single screen at the place, looking along the direction, and keeps
    // the picture; it must not be one colour nor any picture taken before.
    void Shot(const std::string& name, float x, float y, float z, float lookX, float lookY, float lookZ)
    {
        ZOR::Camera& camera = game->GetGame().GetGraphicsSystem()->GetActiveCamera(-1);
        camera.SetPosition(x, y, z);
        camera.LookAt(ZOR::float3(lookX, lookY, lookZ), ZOR::float3(0.0f, 1.0f, 0.0f));
        const std::vector<std::uint8_t> rgba = game->Screenshot(name, kFolder);
        ASSERT_FALSE(rgba.empty()) << name;
        std::set<std::uint32_t> colours;
        for (std::size_t i = 0; i + 3 < rgba.size() && colours.size() < 16; i += 4)
            colours.insert(rgba[i] | rgba[i + 1] << 8u | rgba[i + 2] << 16u);
        EXPECT_GE(colours.size(), 16u) << name << " shows hardly anything";
        EXPECT_TRUE(m_shots.insert(rgba).second) << name << " is a picture taken before";
    }

    std::optional<FlowGame> game;

private:
    inline static std::string m_loaded;
    std::set<std::vector<std::uint8_t>> m_shots;
};

TEST_F(ContentShots, TheMenuLevelFromEachScreensCameraTarget)
{
    ASSERT_NO_FATAL_FAILURE(Boot("MainMenuTest.ql"));
    for (const MenuTarget& target : MenuTargets())
        Shot(std::string("menu_") + target.screen, target.position.x, target.position.y, target.position.z,
             target.look.x, target.look.y, target.look.z);
}

TEST_F(ContentShots, EachArenaFromEachNodeOfItsIntroPath)
{
    for (const char* level : {"Beta.ql", "alpha.ql"}) {
        if (game) {
            // As a match start does: the old level goes at the end of a frame, the new one comes after.
            quellor::Engine::Instance()->DestroyDefaultEntities();
            game->Frame();
            LoadLevel(level);
            game->Frame();
        } else {
            ASSERT_NO_FATAL_FAILURE(Boot(level));
        }
        const std::vector<quellor::Entity*> nodes = game->FindEntitiesWithPrefix("introCamera");
        ASSERT_GE(nodes.size(), 2u) << level;
        const std::string stem = std::string(level).substr(0, std::string(level).find('.'));
        for (quellor::Entity* node : nodes) {
            const auto* transform = node->GetComponent<quellor::Transform3D>();
            ASSERT_NE(transform, nullptr);
            // A camera node looks along its +x.
            const quellor::Quat& q = transform->m_rotation;
            Shot(stem + "_" + node->GetName(), transform->m_x, transform->m_y, transform->m_z,
                 1.0f - 2.0f * (q.y * q.y + q.z * q.z), 2.0f * (q.x * q.y + q.w * q.z), 2.0f * (q.x * q.z - q.w * q.y));
        }
    }
}

} // namespace
} // namespace tarsel::test
