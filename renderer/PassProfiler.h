#pragma once

namespace ZOR {

// Told the name of each pass as the frame reaches it (timing tools hook in here), and which
// stage of the frame's CPU work runs from then on.
class PassProfiler {
public:
    // Culling the octree; filling and sorting the buckets and the overlay lists; building
    // instance records; everything else the frame does, which is mostly calls to the render
    // context. Idle: the frame has ended.
    enum class Stage { Cull, BucketAndSort, Batch, Submit, Idle };

    virtual ~PassProfiler() = default;
    virtual void OnPass(const char* pass) = 0;
    virtual void OnStage(Stage) {}
};

} // namespace ZOR
