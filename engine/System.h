#pragma once
// Base of the engine's systems. A space updates its active systems once a frame in three timed
// passes (PreUpdate, Update, PostUpdate), in the order of its update list.
#include "engine/QLObject.h"

#include <cstdint>
#include <string>

namespace quellor {

class Space;

class System : public QLObject {
    QUELLOR_REFLECT_KEYED(System)

    System() = default;
    ~System() override;

    virtual void Update(float dt);
    virtual void Initialize();
    virtual void Shutdown();
    virtual void PreUpdate(float dt);
    virtual void PostUpdate(float dt);

    bool IsActive() const { return m_active; }
    void SetActive(bool active) { m_active = active; }

    // The key under which its space maps it, and that space; set when it is added.
    const std::string& GetName() const { return m_name; }
    Space* GetSpace() const { return m_space; }

    // Seconds spent in the last call of each pass; after a frame the three read 0 and the
    // total keeps that frame's sum.
    float GetPreUpdateTime() const { return m_preUpdateTime; }
    float GetUpdateTime() const { return m_updateTime; }
    float GetPostUpdateTime() const { return m_postUpdateTime; }
    float GetTotalTime() const { return m_totalTime; }

    // Sort key of the update list, highest first.
    std::uint32_t priority = 0;

private:
    friend class Engine;
    friend class Space;

    std::string m_name;
    bool m_active = true;
    float m_preUpdateTime = 0.0f;
    float m_updateTime = 0.0f;
    float m_postUpdateTime = 0.0f;
    float m_totalTime = 0.0f;
    Space* m_space = nullptr;
    bool m_queuedForDestruction = false;
};

} // namespace quellor
