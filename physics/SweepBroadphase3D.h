#pragma once
#include "physics/NSquared3D.h"
#include "physics/StaticProxyTree3D.h"

#include <cstdint>
#include <vector>

namespace quellor {

// The broadphase the world uses. It gives exactly the pairs of the all-pairs loop, in the same
// order, and the same ray hits, but finds them without testing every pair:
// - the proxies of moving bodies are swept along one axis, sorted by their boxes' low ends;
// - the proxies of static bodies sit in a tree that each moving box and each ray descends;
// - two static proxies are never paired: their contact would be refused anyway.
// The pairs found are then put in the order of the proxies' places in the set.
// Lists and tree are refreshed by UpdatePairs, which the world calls after moving the boxes, and
// by the first ray after a proxy was added or removed. In between, static proxies' boxes must
// stay as they are (the world changes them only at the start of a step).
class SweepBroadphase3D : public NSquared3D {
public:
    SweepBroadphase3D() = default;

    RayCastResult3D& RayCast(RayCastResult3D& result, const Ray3D& ray, float maxDistance) override;
    const ColliderPairList3D& UpdatePairs() override;
    void AddProxy(BroadphaseProxy3D* proxy) override;
    void RemoveProxy(BroadphaseProxy3D* proxy) override;

    // Test hook: how many proxies the tree holds.
    std::size_t GetTreeSize() const { return m_tree.GetEntries().size(); }

private:
    // The box is copied in, so that the sweep reads one array instead of chasing proxies.
    struct SweepEntry {
        ZOR::float3 min;
        ZOR::float3 max;
        std::int32_t index;
    };
    struct RayCandidate {
        std::int32_t index;
        float fraction;
    };

    // Sorts every proxy into the sweep, the tree or the lists, rebuilding the tree when its
    // boxes are no longer those of the static proxies.
    void Classify();
    // Sweeps the moving boxes along the axis over which they spread most.
    void SweepMoving();
    void AddFound(std::int32_t a, std::int32_t b);
    // Puts the found pairs in all-pairs order (by the lower place, then the higher) and lists
    // them until the pair pool runs dry.
    void EmitFound();
    void AddRayCandidate(std::int32_t index, const Ray3D& ray, float maxDistance);

    std::vector<SweepEntry> m_sweep; // proxies of moving bodies
    // Static proxies whose boxes are infinite or inverted (a mesh's own empty box): met one by
    // one, as the tree's margins need finite boxes.
    std::vector<std::int32_t> m_oddStatic;
    // What a ray tests one by one: everything outside the tree, in set order.
    std::vector<std::int32_t> m_rayList;
    StaticProxyTree3D m_tree;
    bool m_current = false;

    // Scratch, kept so that steps and rays stop allocating once they have warmed up.
    std::vector<StaticProxyTree3D::Entry> m_static;
    struct Found {
        std::int32_t low;
        std::int32_t high;
    };
    std::vector<Found> m_found;
    std::vector<std::int32_t> m_bucketStart; // per place: where its pairs begin in m_ordered
    std::vector<std::int32_t> m_ordered;     // the higher places, grouped by the lower
    std::vector<std::int32_t> m_near;
    std::vector<RayCandidate> m_rayCandidates;
};

} // namespace quellor
