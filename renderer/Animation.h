#pragma once
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ZOR {

// One skeletal animation clip: per animated node a track of position and rotation keys, with
// times in ticks.
class Animation {
public:
    struct PositionKey {
        float time;
        float3 position;
    };
    struct RotationKey {
        float time;
        float4 rotation; // quaternion x, y, z, w
    };
    struct Track {
        std::uint32_t id; // node (and bone) index the track drives
        std::vector<PositionKey> positionKeys;
        std::vector<RotationKey> rotationKeys;
    };

    // Reads an animation file. An unopenable file returns false silently; a malformed one logs
    // why. On failure the clip is left as it was.
    bool Load(const std::string& path);
    // The same from bytes already in memory; path gives the name and the log lines.
    bool LoadFromMemory(std::span<const std::uint8_t> bytes, const std::string& path);

    const std::string& GetName() const { return m_name; }
    const std::vector<Track>& GetTracks() const { return m_tracks; }
    float GetDuration() const { return m_duration; }
    float GetTicksPerSecond() const { return m_ticksPerSecond; }
    void SetDuration(float ticks) { m_duration = ticks; }

    // The clip name of a path: the text after its last '/' or '\', extension kept.
    static std::string NameFromPath(const std::string& path);

private:
    std::string m_name;
    std::vector<Track> m_tracks;
    float m_duration = 0.0f;
    float m_ticksPerSecond = 0.0f;
};

static_assert(sizeof(Animation::PositionKey) == 16, "a position key is a 16-byte file record");
static_assert(sizeof(Animation::RotationKey) == 20, "a rotation key is a 20-byte file record");

} // namespace ZOR
