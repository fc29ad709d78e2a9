#include "gameplay/OrbEmitters.h"

#include <cstdio>
#include <memory>

namespace quellor {

namespace {

std::unique_ptr<OrbEmitters> s_emitters;
unsigned s_loads = 0;

} // namespace

OrbEmitters::OrbEmitters()
{
    Load(m_blast, kBlastFile);
    m_blast.Emit(false);
    Load(m_inner, kInnerFile);
    Load(m_outer, kOuterFile);
    ++s_loads;
}

const OrbEmitters& OrbEmitters::Get()
{
    if (!s_emitters)
        s_emitters = std::make_unique<OrbEmitters>();
    return *s_emitters;
}

bool OrbEmitters::IsLoaded()
{
    return s_emitters != nullptr;
}

unsigned OrbEmitters::GetLoadCount()
{
    return s_loads;
}

void OrbEmitters::Reset()
{
    s_emitters.reset();
}

void OrbEmitters::Load(ZOR::ParticleEmitter& emitter, const std::string& path)
{
    if (!emitter.Load(path))
        std::printf("Warning: OrbComponent cannot read \"%s\"; a default emitter stands in\n", path.c_str());
}

} // namespace quellor
