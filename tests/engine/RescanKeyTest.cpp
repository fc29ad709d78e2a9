// Ctrl+R, read through the input system in the same frame, rescans the resource table once per
// press of R.
#include "engine/Engine.h"
#include "engine/Input.h"
#include "engine/ResourceSystem.h"
#include "platform/ScriptedInputSource.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quellor {
namespace {

struct Announcements {
    void Heard(const FileInfo& file) { paths.push_back(file.path); }
    std::vector<std::string> paths;
};

class RescanKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.Write("levels/arena.ql", "<level/>");
        source = std::make_shared<platform::ScriptedInputSource>();
        Engine::Instance()->AddSystem("Input", new Input(source), "default");
        auto* resources = new ResourceSystem;
        Engine::Instance()->AddSystem(ResourceSystem::ID, resources, "default");
        resources->GetFileChangedEvent().ConnectSlot(MakeDelegate(&heard, &Announcements::Heard), 1, false);
    }
    void TearDown() override { Engine::DestroyInstance(); }

    // Saves the level again: the next rescan announces it.
    void Touch()
    {
        const auto path = dir / "levels/arena.ql";
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    }

    // One frame; how many announcements it made.
    std::size_t Frame()
    {
        const std::size_t before = heard.paths.size();
        Engine::Instance()->Update(1.0f / 60.0f);
        return heard.paths.size() - before;
    }

    tarsel::test::TempDir dir;
    tarsel::test::WorkingDirectory cwd{dir.Path()};
    std::shared_ptr<platform::ScriptedInputSource> source;
    Announcements heard;
};

} // namespace

TEST_F(RescanKeyTest, CtrlRRescansOncePerPress)
{
    Touch();
    source->SetKey('R', true);
    EXPECT_EQ(Frame(), 0u) << "R without Ctrl";
    source->SetKey('R', false);
    Frame();

    source->SetKey(163, true); // right Ctrl
    EXPECT_EQ(Frame(), 0u) << "Ctrl without R";
    source->SetKey('R', true);
    EXPECT_EQ(Frame(), 1u);
    EXPECT_EQ(heard.paths.back(), "levels/arena.ql");

    // Held, R does not rescan again.
    Touch();
    EXPECT_EQ(Frame(), 0u);
    EXPECT_EQ(Frame(), 0u);
    source->SetKey('R', false);
    EXPECT_EQ(Frame(), 0u);
    // A tap between two frames is a press.
    source->TapKey('R');
    EXPECT_EQ(Frame(), 1u);

    // R pressed first, Ctrl after: R is no longer newly pressed.
    Touch();
    source->SetKey(163, false);
    source->SetKey('R', true);
    Frame();
    source->SetKey(162, true);
    EXPECT_EQ(Frame(), 0u);
}

TEST_F(RescanKeyTest, WithoutInputNothingRescans)
{
    Engine::DestroyInstance();
    auto* resources = new ResourceSystem;
    Engine::Instance()->AddSystem(ResourceSystem::ID, resources, "default");
    resources->GetFileChangedEvent().ConnectSlot(MakeDelegate(&heard, &Announcements::Heard), 1, false);
    Touch();
    source->SetKey(17, true);
    source->SetKey('R', true);
    EXPECT_EQ(Frame(), 0u);
    resources->Update(0.0f);
    EXPECT_EQ(heard.paths.size(), 0u);
}

} // namespace quellor
