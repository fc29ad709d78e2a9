#include "tools/writers/MeshBuilder.h"

#include <cmath>
#include <numbers>

namespace tarsel::tools {

using ZOR::float2;
using ZOR::float3;
using ZOR::float4;

namespace {

MeshVertex MakeVertex(const float3& p, const float3& n, const float3& t, const float3& b, const float2& uv,
                      std::uint32_t bone)
{
    MeshVertex v;
    v.position = float4(p.x, p.y, p.z, 1.0f);
    v.normal = n;
    v.tangent = t;
    v.bitangent = b;
    v.uv = uv;
    v.boneIds[0] = bone;
    v.weights[0] = 1.0f;
    return v;
}

// Appends triangle a, b, c turned so that it faces along outward.
void AddTriangle(std::vector<MeshVertex>& out, const MeshVertex& a, const MeshVertex& b, const MeshVertex& c,
                 const float3& outward)
{
    const float3 pa(a.position.x, a.position.y, a.position.z);
    const float3 pb(b.position.x, b.position.y, b.position.z);
    const float3 pc(c.position.x, c.position.y, c.position.z);
    const bool counterClockwise = (pb - pa).Cross(pc - pa).Dot(outward) > 0.0f;
    out.push_back(a);
    out.push_back(counterClockwise ? b : c);
    out.push_back(counterClockwise ? c : b);
}

} // namespace

void AddBox(std::vector<MeshVertex>& vertices, const float3& center, const float3& half, std::uint32_t bone)
{
    // Per face: normal, and the directions of +u (right) and +v (down) seen from outside.
    struct Face {
        float3 normal, right, down;
    };
    static const Face faces[6] = {
        {float3(0, 0, 1), float3(1, 0, 0), float3(0, -1, 0)},
        {float3(0, 0, -1), float3(-1, 0, 0), float3(0, -1, 0)},
        {float3(1, 0, 0), float3(0, 0, -1), float3(0, -1, 0)},
        {float3(-1, 0, 0), float3(0, 0, 1), float3(0, -1, 0)},
        {float3(0, 1, 0), float3(1, 0, 0), float3(0, 0, 1)},
        {float3(0, -1, 0), float3(1, 0, 0), float3(0, 0, -1)},
    };
    for (const Face& face : faces) {
        const auto corner = [&](float u, float v) {
            const float3 offset = face.normal + face.right * (2.0f * u - 1.0f) + face.down * (2.0f * v - 1.0f);
            return MakeVertex(center + offset * half, face.normal, face.right, face.down, float2(u, v), bone);
        };
        const MeshVertex v00 = corner(0, 0), v10 = corner(1, 0), v11 = corner(1, 1), v01 = corner(0, 1);
        AddTriangle(vertices, v00, v10, v11, face.normal);
        AddTriangle(vertices, v00, v11, v01, face.normal);
    }
}

ModelDescription BuildSphere(unsigned segments, unsigned rings)
{
    ModelDescription model;
    const double pi = std::numbers::pi;
    // Positions come from the ring and segment indices alone (the seam and the poles exact), so
    // neighbouring triangles share their corners bit for bit.
    const auto vertex = [&](unsigned ring, double u) {
        const double theta = pi * ring / rings;
        const double phi = 2.0 * pi * u;
        const unsigned wrapped = static_cast<unsigned>(std::lround(u * segments)) % segments;
        const double positionPhi = 2.0 * pi * wrapped / segments;
        double sinTheta = std::sin(theta), cosTheta = std::cos(theta);
        if (ring == 0) {
            sinTheta = 0.0;
            cosTheta = 1.0;
        } else if (ring == rings) {
            sinTheta = 0.0;
            cosTheta = -1.0;
        }
        const bool pole = ring == 0 || ring == rings;
        const double pc = pole ? 0.0 : std::cos(positionPhi), ps = pole ? 0.0 : std::sin(positionPhi);
        const float3 p(static_cast<float>(sinTheta * pc), static_cast<float>(cosTheta), static_cast<float>(sinTheta * ps));
        // Frame from the analytic derivatives: d/du and d/dv of the surface point.
        const double c = std::cos(phi), s = std::sin(phi);
        const float3 n = pole ? float3(0.0f, static_cast<float>(cosTheta), 0.0f) : p;
        const float3 t(static_cast<float>(-s), 0.0f, static_cast<float>(c));
        const float3 b(static_cast<float>(cosTheta * c), static_cast<float>(-sinTheta), static_cast<float>(cosTheta * s));
        return MakeVertex(p, n, t, b, float2(static_cast<float>(u), static_cast<float>(ring) / rings), 0);
    };
    for (unsigned ring = 0; ring < rings; ++ring) {
        for (unsigned seg = 0; seg < segments; ++seg) {
            const double u0 = static_cast<double>(seg) / segments;
            const double u1 = static_cast<double>(seg + 1) / segments;
            const double um = (seg + 0.5) / segments;
            if (ring == 0) {
                const MeshVertex top = vertex(0, um);
                const MeshVertex a = vertex(1, u0), b = vertex(1, u1);
                AddTriangle(model.vertices, top, b, a, top.normal);
            } else if (ring == rings - 1) {
                const MeshVertex bottom = vertex(rings, um);
                const MeshVertex a = vertex(ring, u0), b = vertex(ring, u1);
                AddTriangle(model.vertices, a, b, bottom, a.normal + b.normal);
            } else {
                const MeshVertex a = vertex(ring, u0), b = vertex(ring, u1);
                const MeshVertex c = vertex(ring + 1, u1), d = vertex(ring + 1, u0);
                const float3 outward = a.normal + c.normal;
                AddTriangle(model.vertices, a, b, c, outward);
                AddTriangle(model.vertices, a, c, d, outward);
            }
        }
    }
    return model;
}

ModelDescription BuildCube()
{
    ModelDescription model;
    AddBox(model.vertices, float3(0.0f, 0.0f, 0.0f), float3(0.5f, 0.5f, 0.5f));
    return model;
}

} // namespace tarsel::tools
