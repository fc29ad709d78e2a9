#pragma once
// Recording systems, components and actions for the engine's tests.
#include "engine/Action.h"
#include "engine/Component.h"
#include "engine/EffectSwitcher.h"
#include "engine/Engine.h"
#include "engine/SoundPlayer.h"
#include "engine/System.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace quellor::test {

using Log = std::vector<std::string>;

// Every test gets a fresh engine and leaves none behind. The log outlives the engine, so that
// what shuts down at the end of the test may still write to it.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { engine = Engine::Instance(); }
    void TearDown() override { Engine::DestroyInstance(); }

    Log log;
    Engine* engine = nullptr;
};

// A system that logs its calls ("tag:pre", "tag:update", ...) and runs optional hooks.
class RecordingSystem : public System {
public:
    RecordingSystem(Log* log, std::string tag) : m_log(log), m_tag(std::move(tag)) { ++s_live; }
    ~RecordingSystem() override { --s_live; }

    void Update(float) override { Record("update", onUpdate); }
    void Initialize() override { Record("init", onInitialize); }
    void Shutdown() override { Record("shutdown", onShutdown); }
    void PreUpdate(float) override { Record("pre", onPreUpdate); }
    void PostUpdate(float) override { Record("post", onPostUpdate); }

    std::function<void()> onUpdate, onInitialize, onShutdown, onPreUpdate, onPostUpdate;
    inline static int s_live = 0;

private:
    void Record(const char* what, const std::function<void()>& hook)
    {
        if (m_log)
            m_log->push_back(m_tag + ":" + what);
        if (hook)
            hook();
    }

    Log* m_log;
    std::string m_tag;
};

// A component that logs its life and counts live instances.
class ProbeComponent : public Component {
public:
    inline static const std::string ID = "ProbeComponent";

    ProbeComponent(Log* log = nullptr, std::string tag = "probe") : m_log(log), m_tag(std::move(tag)) { ++s_live; }
    ~ProbeComponent() override { --s_live; }

    void Initialize() override
    {
        ++initialized;
        if (m_log)
            m_log->push_back(m_tag + ":init");
        if (onInitialize)
            onInitialize();
    }
    void Uninitialize() override
    {
        if (m_log)
            m_log->push_back(m_tag + ":uninit");
        if (onUninitialize)
            onUninitialize();
    }

    int initialized = 0;
    std::function<void()> onInitialize, onUninitialize;
    inline static int s_live = 0;

private:
    Log* m_log;
    std::string m_tag;
};

// An action that logs its events and updates and finishes after a set number of updates
// (0 = in its started handler, negative = never by itself).
class ProbeAction : public Action {
public:
    ProbeAction(Log* log, std::string tag, int finishAfterUpdates = -1, bool updateOnStart = true)
        : Action(updateOnStart), m_log(log), m_tag(std::move(tag)), m_finishAfter(finishAfterUpdates)
    {
        ++s_live;
        m_onStarted.ConnectSlot(MakeDelegate(this, &ProbeAction::OnStarted), 0, false);
        m_onFinished.ConnectSlot(MakeDelegate(this, &ProbeAction::OnFinished), 0, false);
        m_onCancelled.ConnectSlot(MakeDelegate(this, &ProbeAction::OnCancelled), 0, false);
        m_onEnded.ConnectSlot(MakeDelegate(this, &ProbeAction::OnEnded), 0, false);
    }
    ~ProbeAction() override { --s_live; }

    void Update(float) override
    {
        ++updates;
        Record("update");
        if (onUpdate)
            onUpdate();
        if (m_finishAfter > 0 && updates >= m_finishAfter)
            Finish();
    }

    int updates = 0;
    std::function<void()> onUpdate;
    inline static int s_live = 0;

private:
    void OnStarted()
    {
        Record("start");
        if (m_finishAfter == 0)
            Finish();
    }
    void OnFinished() { Record("finish"); }
    void OnCancelled() { Record("cancel"); }
    void OnEnded() { Record("end"); }
    void Record(const char* what)
    {
        if (m_log)
            m_log->push_back(m_tag + ":" + what);
    }

    Log* m_log;
    std::string m_tag;
    int m_finishAfter;
};

// Stands in for the sound system: records what it is asked to play.
class FakeSoundSystem : public System, public SoundPlayer {
public:
    void Play(const std::string& name, int group) override { played.emplace_back(name, group); }
    std::vector<std::pair<std::string, int>> played;
};

// Stands in for the graphics system: one switch per (effect, screen), screen -1 meaning all four.
class FakeGraphicsSystem : public System, public EffectSwitcher {
public:
    bool EffectEnabled(int effect, int screen) override
    {
        calls.push_back("enabled " + std::to_string(effect) + " " + std::to_string(screen));
        if (screen >= 0)
            return switches[{effect, screen}];
        for (int s = 0; s < 4; ++s)
            if (!switches[{effect, s}])
                return false;
        return true;
    }
    void EnableEffect(int effect, int screen) override { Set(effect, screen, true, "enable"); }
    void DisableEffect(int effect, int screen) override { Set(effect, screen, false, "disable"); }

    std::map<std::pair<int, int>, bool> switches;
    std::vector<std::string> calls;

private:
    void Set(int effect, int screen, bool on, const char* what)
    {
        calls.push_back(std::string(what) + " " + std::to_string(effect) + " " + std::to_string(screen));
        for (int s = 0; s < 4; ++s)
            if (screen < 0 || screen == s)
                switches[{effect, s}] = on;
    }
};

} // namespace quellor::test
