#pragma once
// The lift beam's mesh, rebuilt whole every frame from its two ends, its fade and its phase:
// a thin tube along a centre line that waves with 4D noise in the middle and is still at both
// ends, and two narrow bands at right angles that spiral around it. A pure function of its
// inputs, so the beam effect, its tests and the benchmark build the same mesh.
#include "renderer/math/float3.h"

namespace ZOR {
class DynamicMesh;
}

namespace quellor {

class LiftBeamMesh {
public:
    // Longer beams are drawn over their first kMaxLength units only.
    static constexpr float kMaxLength = 300.0f;
    // Past this length the waves ramp in over kRamp units at each end; up to it the envelope
    // is a triangle peaking at the middle.
    static constexpr float kShortBeam = 30.0f;
    static constexpr float kRamp = 15.0f;
    static constexpr int kSegmentsPerTenUnits = 16;
    static constexpr int kTubeSides = 6;
    // Two bands of two triangles, then a tube of kTubeSides sides (two triangles each).
    static constexpr unsigned kVerticesPerSegment = 12 + kTubeSides * 6;

    // The drawn length: |b - a| capped at kMaxLength; 0 for ends that are not finite.
    static float Length(const ZOR::float3& a, const ZOR::float3& b);
    // 16 segments for every started ten units of the drawn length.
    static int SegmentCount(float length);
    // The wave's strength at distance t along a beam of the drawn length, 0 to 1.
    static float Envelope(float t, float length);
    // The noise displacement of a centre point; 0 where the noise is not a number.
    static float Noise(const ZOR::float3& p, float phase);

    // Clears the mesh and fills it with the beam from a to b.
    static void Build(ZOR::DynamicMesh& mesh, const ZOR::float3& a, const ZOR::float3& b, float fade, float phase);
};

} // namespace quellor
