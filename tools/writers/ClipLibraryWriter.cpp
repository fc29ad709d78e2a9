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

// Calls each(name, motion, variant) for every clip in library order.
template <class Each>
void ForEachClip(Each&& each)
{
    for (const ClipSet set : {ClipSet::Idle, ClipSet::Run, ClipSet::InAir}) {
        unsigned variant = 0;
        for (int direction = 0; direction < quellor::kClipDirectionCount; ++direction)
            for (int pitch = 0; pitch < quellor::kClipPitchCount; ++pitch)
                for (const bool blast : {false, true})
                    each(quellor::AnimationClipName(set, static_cast<ClipDirection>(direction),
                                                    static_cast<ClipPitch>(pitch), blast),
                         MotionOf(set), variant++);
    }
    unsigned variant = quellor::kClipsPerSet;
    for (const char* name : quellor::DamageClipNames())
        each(std::string(name), Motion::Idle, variant++);
}

} // namespace

std::vector<std::string> LibraryNames()
{
    std::vector<std::string> names;
    ForEachClip([&](std::string name, Motion, unsigned) { names.push_back(std::move(name)); });
    return names;
}

std::vector<LibraryClip> BuildLibrary()
{
    std::vector<LibraryClip> clips;
    ForEachClip([&](std::string name, Motion motion, unsigned variant) {
        clips.push_back({std::move(name), BuildClip(motion, variant, 1.0f + 0.01f * static_cast<float>(variant))});
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
