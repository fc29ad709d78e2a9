#include "tools/writers/ClipLibraryWriter.h"

#include "gameplay/AnimationClipNames.h"
#include "tools/writers/CharacterBuilder.h"
#include "tools/writers/FileWriting.h"

namespace tarsel::tools::character {

using quellor::ClipDirection;
using quellor::ClipPitch;
using quellor::ClipSet;

namespace {

Motion MotionOf(ClipSet set)
{
    switch (set) {
    case ClipSet::Run: return Motion::Run;
    case ClipSet::InAir: return Motion::InAir;
    case ClipSet::Idle: break;
    }
    return Motion::Idle;
}

// Calls each(name, motion, variant, shot) for every clip in library order; shot clips aim the
// shooting arm along their direction and pitch.
template <class Each>
void ForEachClip(Each&& each)
{
    for (const ClipSet set : {ClipSet::Idle, ClipSet::Run, ClipSet::InAir}) {
        unsigned variant = 0;
        for (int d = 0; d < quellor::kClipDirectionCount; ++d)
            for (int p = 0; p < quellor::kClipPitchCount; ++p)
                for (const bool blast : {false, true}) {
                    const ShotAim aim{static_cast<ClipDirection>(d), static_cast<ClipPitch>(p)};
                    each(quellor::AnimationClipName(set, aim.direction, aim.pitch, blast), MotionOf(set), variant++,
                         blast ? std::optional<ShotAim>(aim) : std::nullopt);
                }
    }
    unsigned variant = quellor::kClipsPerSet;
    for (const char* name : quellor::DamageClipNames())
        each(std::string(name), Motion::Idle, variant++, std::optional<ShotAim>());
}

} // namespace

std::vector<std::string> LibraryNames()
{
    std::vector<std::string> names;
    ForEachClip([&](std::string name, Motion, unsigned, const std::optional<ShotAim>&) { names.push_back(std::move(name)); });
    return names;
}

std::vector<LibraryClip> BuildLibrary()
{
    std::vector<LibraryClip> clips;
    ForEachClip([&](std::string name, Motion motion, unsigned variant, const std::optional<ShotAim>& shot) {
        clips.push_back({std::move(name), BuildClip(motion, variant, 1.0f + 0.01f * static_cast<float>(variant), shot)});
    });
    return clips;
}

bool WriteLibrary(const std::filesystem::path& folder)
{
    bool ok = true;
    for (const LibraryClip& clip : BuildLibrary())
        ok = WriteFileIfChanged(folder / clip.name, WriteAnimation(clip.clip)) && ok;
    return ok;
}

} // namespace tarsel::tools::character
