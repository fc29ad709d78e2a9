#pragma once
// The emitters every orb copies: the launch blast (an emitter component of no entity, not
// emitting) and the inner and outer explosion bursts. They are read from their files, relative
// to the working directory, on first use and kept until the program exits; a file that cannot
// be read leaves a default emitter (one warning). No GPU or engine call is made here: the
// copies are what the renderer sees.
#include "engine/graphics/EmitterComponent.h"
#include "renderer/ParticleEmitter.h"

#include <string>

namespace quellor {

class OrbEmitters {
public:
    inline static const std::string kBlastFile{"emitters/orb_blast.pe"};
    inline static const std::string kInnerFile{"emitters/orb_explode_inner.pe"};
    inline static const std::string kOuterFile{"emitters/orb_explode_outer.pe"};

    // The shared set, loaded by the first call.
    static const OrbEmitters& Get();
    // Test hooks: whether the set is loaded, how many times it was, and dropping it so that the
    // next Get loads it again.
    static bool IsLoaded();
    static unsigned GetLoadCount();
    static void Reset();

    const EmitterComponent& GetBlast() const { return m_blast; }
    const ZOR::ParticleEmitter& GetInner() const { return m_inner; }
    const ZOR::ParticleEmitter& GetOuter() const { return m_outer; }

    OrbEmitters();
    OrbEmitters(const OrbEmitters&) = delete;
    OrbEmitters& operator=(const OrbEmitters&) = delete;

private:
    static void Load(ZOR::ParticleEmitter& emitter, const std::string& path);

    EmitterComponent m_blast;
    ZOR::ParticleEmitter m_inner;
    ZOR::ParticleEmitter m_outer;
};

} // namespace quellor
