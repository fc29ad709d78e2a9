// Animation files from arbitrary bytes, then played on a small skeleton so that the sampled
// tracks (any ids, key counts, times and durations) go through the controller.
#include "renderer/AnimationController.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool silenced = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(silenced);
    ZOR::Animation clip;
    if (!clip.LoadFromMemory({data, size}, "fuzz.anim"))
        return 0;

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
