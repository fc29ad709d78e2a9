#include "renderer/Animation.h"

#include "renderer/ByteReader.h"
#include "renderer/dx11/RenderContext.h"

#include <cstring>

namespace ZOR {

namespace {

constexpr char kMagic[] = "ZOR_ANIMATION";
constexpr std::size_t kHeaderSize = 28;
constexpr std::size_t kTrackHeaderSize = 12;

} // namespace

std::string Animation::NameFromPath(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Animation::Load(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    switch (ReadFileBytes(path, bytes)) {
    case FileReadResult::CannotOpen:
        return false;
    case FileReadResult::ReadError:
        Log("Failed to load animation \"%s\": the file cannot be read", path.c_str());
        return false;
    case FileReadResult::Ok:
        break;
    }
    return LoadFromMemory(bytes, path);
}

bool Animation::LoadFromMemory(std::span<const std::uint8_t> bytes, const std::string& path)
{
    // The magic is compared up to and including its NUL; what follows it in the 16 bytes is
    // ignored.
    if (bytes.size() < sizeof(kMagic) || std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) != 0) {
        Log("%s is not a ZOR model! Use the converter tool.", path.c_str());
        return false;
    }
    const auto fail = [&path](const char* reason) {
        Log("Failed to load animation \"%s\": %s", path.c_str(), reason);
        return false;
    };
    if (bytes.size() < kHeaderSize)
        return fail("the header is cut short");

    ByteReader reader(bytes.subspan(16));
    std::uint32_t trackCount = 0;
    float duration = 0.0f;
    float ticksPerSecond = 0.0f;
    reader.Read(trackCount);
    reader.Read(duration);
    reader.Read(ticksPerSecond);

    // Every track needs at least its header: a count that cannot fit is refused before any
    // storage is reserved for it.
    if (!reader.Has(trackCount, kTrackHeaderSize))
        return fail("the track count exceeds the file");
    std::vector<Track> tracks;
    tracks.reserve(trackCount);
    for (std::uint32_t t = 0; t < trackCount; ++t) {
        Track track;
        std::uint32_t positionCount = 0;
        std::uint32_t rotationCount = 0;
        if (!reader.Read(track.id) || !reader.Read(positionCount) || !reader.Read(rotationCount))
            return fail("a track header is cut short");
        if (!reader.ReadArray(track.positionKeys, positionCount))
            return fail("the position keys of a track exceed the file");
        if (!reader.ReadArray(track.rotationKeys, rotationCount))
            return fail("the rotation keys of a track exceed the file");
        tracks.push_back(std::move(track));
    }

    m_name = NameFromPath(path);
    m_tracks = std::move(tracks);
    m_duration = duration;
    m_ticksPerSecond = ticksPerSecond;
    return true;
}

} // namespace ZOR
