// Animation files from arbitrary bytes. A refused file must leave a loaded clip as it was; an
// accepted one is written again by the content writer and must load to the same tracks, and is
// played on a small skeleton so that the sampled tracks (any ids, key counts, times and
// durations) go through the controller.
#include "renderer/AnimationController.h"
#include "tools/writers/AnimationWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "anim fuzz: %s\n", what);
        std::abort();
    }
}

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Bitwise, so that NaN times and keys compare equal to themselves.
template <class T>
bool SameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

template <class Key>
bool SameKeys(const std::vector<Key>& a, const std::vector<Key>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Key)) == 0);
}

bool SameClip(const ZOR::Animation& a, const ZOR::Animation& b)
{
    if (a.GetName() != b.GetName() || !SameBits(a.GetDuration(), b.GetDuration()) ||
        !SameBits(a.GetTicksPerSecond(), b.GetTicksPerSecond()) || a.GetTracks().size() != b.GetTracks().size())
        return false;
    for (std::size_t t = 0; t < a.GetTracks().size(); ++t) {
        const ZOR::Animation::Track& x = a.GetTracks()[t];
        const ZOR::Animation::Track& y = b.GetTracks()[t];
        if (x.id != y.id || !SameKeys(x.positionKeys, y.positionKeys) || !SameKeys(x.rotationKeys, y.rotationKeys))
            return false;
    }
    return true;
}

// A one-track clip for the refused files to land on.
std::string Loaded()
{
    tarsel::tools::ClipDescription clip;
    clip.duration = 4.0f;
    ZOR::Animation::Track track;
    track.id = 1;
    track.positionKeys = {{0.0f, ZOR::float3(0, 1, 0)}};
    track.rotationKeys = {{2.0f, ZOR::float4(0, 0, 0, 1)}};
    clip.tracks = {track};
    return tarsel::tools::WriteAnimation(clip);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool silenced = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(silenced);
    static const std::string loaded = Loaded();

    ZOR::Animation before;
    Check(before.LoadFromMemory(Bytes(loaded), "fuzz.anim"), "the small clip does not load");
    ZOR::Animation clip;
    clip.LoadFromMemory(Bytes(loaded), "fuzz.anim");
    if (!clip.LoadFromMemory({data, size}, "fuzz.anim")) {
        Check(SameClip(clip, before), "a refused file changed the clip");
        return 0;
    }

    tarsel::tools::ClipDescription description;
    description.duration = clip.GetDuration();
    description.ticksPerSecond = clip.GetTicksPerSecond();
    description.tracks = clip.GetTracks();
    ZOR::Animation back;
    Check(back.LoadFromMemory(Bytes(tarsel::tools::WriteAnimation(description)), "fuzz.anim"),
          "the clip written again does not load");
    Check(SameClip(back, clip), "the clip written again loads differently");

    static ZOR::Skeleton skeleton = [] {
        ZOR::Skeleton s;
        ZOR::Skeleton::Node node{};
        node.parent = -1;
        s.GetNodes() = {node, node, node};
        s.GetNodes()[1].parent = 0;
        s.GetNodes()[2].parent = 1;
        ZOR::Skeleton::Bone bone{};
        s.GetBones() = {bone, bone, bone};
        for (std::uint32_t i = 0; i < 3; ++i) {
            s.GetBones()[i].node = i;
            s.GetBones()[i].parent = i == 0 ? 3 : i - 1;
        }
        return s;
    }();
    ZOR::AnimationController controller;
    controller.SetSkeleton(&skeleton);
    controller.AddAnimation(&clip);
    controller.PlayAnimation(clip.GetName());
    controller.Update(0.25f);
    controller.Update(1000.0f);
    controller.SetLoop(false);
    controller.Update(0.5f);
    controller.GetBoneTransform(2);
    return 0;
}
