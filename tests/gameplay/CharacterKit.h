#pragma once
// The generated player character in a game world: its model and the 94-clip library written
// into the world's folder and loaded by its render system, and character entities wearing it.
#include "engine/Entity.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "renderer/Model.h"
#include "tests/support/gameplay/GameWorld.h"
#include "tools/writers/AnimationWriter.h"
#include "tools/writers/CharacterBuilder.h"
#include "tools/writers/ClipLibraryWriter.h"
#include "tools/writers/ModelWriter.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace quellor::test {

inline const char* kCharacterModel = "base_idle.model";

// The model and every clip of the library but those left out.
inline void LoadCharacterAssets(tarsel::test::GameWorld& world, const std::set<std::string>& leftOut = {})
{
    using namespace tarsel::tools;
    world.WriteFile(std::string("models/") + kCharacterModel, WriteModel(character::BuildModel()));
    ASSERT_TRUE(world.graphics->LoadModel(std::string("models/") + kCharacterModel));
    for (const character::LibraryClip& clip : character::BuildLibrary()) {
        if (leftOut.count(clip.name))
            continue;
        world.WriteFile("animations/" + clip.name, WriteAnimation(clip.clip));
        ASSERT_TRUE(world.graphics->LoadAnimation("animations/" + clip.name)) << clip.name;
    }
}

// Loads a clip written from a description under the given name.
inline void LoadClip(tarsel::test::GameWorld& world, const std::string& name, const tarsel::tools::ClipDescription& clip)
{
    world.WriteFile("animations/" + name, tarsel::tools::WriteAnimation(clip));
    ASSERT_TRUE(world.graphics->LoadAnimation("animations/" + name)) << name;
}

// Gives an entity the character's skinned model.
inline GraphicsComponent3DSkinned* Dress(Entity* entity)
{
    auto* skinned = new GraphicsComponent3DSkinned;
    skinned->m_modelName = kCharacterModel;
    entity->AddComponent(GraphicsComponent3DSkinned::ID, skinned, true);
    return skinned;
}

inline const ZOR::Skeleton* CharacterSkeleton(tarsel::test::GameWorld& world)
{
    const ZOR::Model* model = world.graphics->GetModel(kCharacterModel);
    return model ? model->GetSkeleton() : nullptr;
}

// Two controllers' bone matrices agree.
inline void ExpectPose(const std::vector<ZOR::float4x4>& posed, const std::vector<ZOR::float4x4>& expected,
                       const std::string& what)
{
    ASSERT_EQ(posed.size(), expected.size()) << what;
    for (std::size_t bone = 0; bone < posed.size(); ++bone)
        for (int k = 0; k < 16; ++k)
            ASSERT_NEAR(posed[bone].m[k], expected[bone].m[k], 1e-4f) << what << ": bone " << bone << " element " << k;
}

} // namespace quellor::test
