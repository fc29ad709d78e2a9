#pragma once
// The names of a character's 94 animation clips: 90 blend-space clips (set, direction, pitch,
// shot variant) and 4 damage clips. Header-only so that the content tools, which link only the
// renderer, spell the files exactly as the animation controller asks for them.
#include <array>
#include <string>

namespace quellor {

enum class ClipSet { Idle, Run, InAir };
enum class ClipDirection { Base, Left, Right, ExtremeLeft, ExtremeRight };
enum class ClipPitch { Level, Up, Down };

constexpr int kClipSetCount = 3;
constexpr int kClipDirectionCount = 5;
constexpr int kClipPitchCount = 3;
// Per set: every direction in every pitch row, plain and shot.
constexpr int kClipsPerSet = kClipDirectionCount * kClipPitchCount * 2;
constexpr int kBlendSpaceClipCount = kClipSetCount * kClipsPerSet;

inline const char* ClipSetName(ClipSet set)
{
    static constexpr std::array<const char*, kClipSetCount> names = {"idle", "run", "inair"};
    return names[static_cast<int>(set)];
}

inline const char* ClipDirectionName(ClipDirection direction)
{
    static constexpr std::array<const char*, kClipDirectionCount> names = {"base", "left", "right",
                                                                           "extremeleft", "extremeright"};
    return names[static_cast<int>(direction)];
}

// "" for the level row.
inline const char* ClipPitchName(ClipPitch pitch)
{
    static constexpr std::array<const char*, kClipPitchCount> names = {"", "up", "down"};
    return names[static_cast<int>(pitch)];
}

// set "_" direction ["_" pitch] ["_blast"] ".anim"; a pitched base clip leaves the direction
// out ("run_up.anim").
inline std::string AnimationClipName(ClipSet set, ClipDirection direction, ClipPitch pitch, bool blast)
{
    std::string name = ClipSetName(set);
    if (pitch == ClipPitch::Level || direction != ClipDirection::Base)
        name += std::string("_") + ClipDirectionName(direction);
    if (pitch != ClipPitch::Level)
        name += std::string("_") + ClipPitchName(pitch);
    if (blast)
        name += "_blast";
    return name + ".anim";
}

// A dense index of the 90 blend-space clips: set, then plain before shot, then direction, then
// pitch row. Within a set that is the order in which the clips are started.
constexpr int BlendSpaceClipIndex(ClipSet set, ClipDirection direction, ClipPitch pitch, bool blast)
{
    return ((static_cast<int>(set) * 2 + (blast ? 1 : 0)) * kClipDirectionCount + static_cast<int>(direction)) *
               kClipPitchCount +
           static_cast<int>(pitch);
}

// The name of a dense index, the inverse of BlendSpaceClipIndex.
inline std::string BlendSpaceClipName(int index)
{
    const int pitch = index % kClipPitchCount;
    const int direction = index / kClipPitchCount % kClipDirectionCount;
    const int blast = index / (kClipPitchCount * kClipDirectionCount) % 2;
    const int set = index / kClipsPerSet;
    return AnimationClipName(static_cast<ClipSet>(set), static_cast<ClipDirection>(direction),
                             static_cast<ClipPitch>(pitch), blast != 0);
}

inline const std::array<const char*, 4>& DamageClipNames()
{
    static constexpr std::array<const char*, 4> names = {"damage_back.anim", "damage_front.anim",
                                                          "damage_left.anim", "damage_right.anim"};
    return names;
}

} // namespace quellor
