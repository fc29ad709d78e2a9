#pragma once
// A graphics system on a recording render context (no GPU), added to the space "default" of a
// fresh engine, and spy components that log their updates.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "tests/support/RecordingRenderContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quellor::test {

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = Engine::Instance();
        context = std::make_shared<tarsel::test::RecordingRenderContext>();
        graphics = new GraphicsSystem(context, window);
        engine->AddSystem("GraphicsSystem", graphics, "default");
    }
    void TearDown() override { Engine::DestroyInstance(); }

    // An entity of "default" with a transform at (x, y, z).
    Entity* Placed(const std::string& name, float x = 0.0f, float y = 0.0f, float z = 0.0f)
    {
        Entity* entity = engine->CreateEntity(name, "default");
        auto* t = entity->AddComponent<Transform3D>(true);
        t->SetPosition(x, y, z);
        return entity;
    }

    platform::NativeWindow* window = nullptr;
    std::shared_ptr<tarsel::test::RecordingRenderContext> context;
    Engine* engine = nullptr;
    GraphicsSystem* graphics = nullptr;
};

// A component whose update only logs its tag.
template <class Base>
class Spy : public Base {
public:
    Spy(std::vector<std::string>* log, std::string tag) : m_log(log), m_tag(std::move(tag)) {}
    void Update(float) override { m_log->push_back(m_tag); }

private:
    std::vector<std::string>* m_log;
    std::string m_tag;
};

} // namespace quellor::test
