#include "renderer/Model.h"

#include "renderer/ByteReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace ZOR {

namespace {

constexpr char kMagic[] = "ZOR_MODEL";
constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kStaticStride = sizeof(Model::StaticVertex);
constexpr std::size_t kSkinnedStride = sizeof(Model::SkinnedVertex);
constexpr std::size_t kStaticStreamStride = 12;
constexpr std::size_t kSkinnedStreamStride = 44;

} // namespace

bool Model::Load(RenderContext* context, const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    switch (ReadFileBytes(path, bytes)) {
    case FileReadResult::CannotOpen:
        return false;
    case FileReadResult::ReadError:
        Log("Failed to load model \"%s\": the file cannot be read", path.c_str());
        return false;
    case FileReadResult::Ok:
        break;
    }
    return LoadFromMemory(context, bytes, path);
}

bool Model::LoadFromMemory(RenderContext* context, std::span<const std::uint8_t> bytes, const std::string& path)
{
    // The magic is compared up to and including its NUL; the rest of its 12 bytes is ignored.
    if (bytes.size() < sizeof(kMagic) || std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) != 0) {
        Log("%s is not a ZOR model! Use the converter tool.", path.c_str());
        return false;
    }
    const auto fail = [&path](const char* reason) {
        Log("Failed to load model \"%s\": %s", path.c_str(), reason);
        return false;
    };
    if (bytes.size() < kHeaderSize)
        return fail("the header is cut short");

    ByteReader reader(bytes.subspan(12));
    std::uint32_t skinnedFlag = 0, vertexCount = 0, nodeCount = 0, boneCount = 0, reserved = 0;
    reader.Read(skinnedFlag);
    reader.Read(vertexCount);
    reader.Read(nodeCount);
    reader.Read(boneCount);
    reader.Read(reserved);
    const bool skinned = skinnedFlag != 0;
    const std::size_t stride = skinned ? kSkinnedStride : kStaticStride;

    // Everything is parsed into temporaries first; the model changes only once all is well.
    std::span<const std::uint8_t> vertexBytes;
    if (!reader.Has(vertexCount, stride) || !reader.ReadBytes(static_cast<std::uint64_t>(vertexCount) * stride, vertexBytes))
        return fail("the vertices exceed the file");
    if (static_cast<std::uint64_t>(vertexCount) * stride > std::numeric_limits<std::uint32_t>::max())
        return fail("the vertex buffer would exceed 4 GiB");

    std::vector<Skeleton::Node> nodes;
    std::vector<Skeleton::Bone> bones;
    std::vector<std::string> names;
    if (skinned) {
        if (!reader.ReadArray(nodes, nodeCount))
            return fail("the nodes exceed the file");
        if (!reader.ReadArray(bones, boneCount))
            return fail("the bones exceed the file");
        std::uint32_t nameCount = 0;
        if (!reader.Read(nameCount))
            return fail("the name count is cut short");
        if (!reader.Has(nameCount, sizeof(std::uint32_t)))
            return fail("the name count exceeds the file");
        names.reserve(nameCount);
        for (std::uint32_t i = 0; i < nameCount; ++i) {
            std::uint32_t length = 0;
            std::span<const std::uint8_t> text;
            if (!reader.Read(length) || !reader.ReadBytes(length, text))
                return fail("a name exceeds the file");
            const auto* chars = reinterpret_cast<const char*>(text.data());
            names.emplace_back(chars, ::strnlen(chars, text.size()));
        }

        // The animation controller walks these indices: refuse any that point nowhere.
        for (std::size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].parent >= 0 && static_cast<std::size_t>(nodes[i].parent) >= i)
                return fail("a node's parent does not come before it");
        for (const Skeleton::Bone& bone : bones)
            if (bone.node >= nodes.size())
                return fail("a bone names a node past the nodes");
        for (std::uint32_t v = 0; v < vertexCount; ++v) {
            SkinnedVertex vertex;
            std::memcpy(&vertex, vertexBytes.data() + static_cast<std::size_t>(v) * stride, sizeof(vertex));
            for (int k = 0; k < 4; ++k)
                if (vertex.weights[k] != 0.0f && vertex.boneIds[k] >= boneCount)
                    return fail("a vertex is weighted to a bone past the bones");
        }
    }

    // The position stream: x, y, z of each vertex, then for skinned vertices their bone ids and
    // weights unchanged.
    const std::size_t streamStride = skinned ? kSkinnedStreamStride : kStaticStreamStride;
    std::vector<std::uint8_t> stream(static_cast<std::size_t>(vertexCount) * streamStride);
    for (std::uint32_t v = 0; v < vertexCount; ++v) {
        const std::uint8_t* source = vertexBytes.data() + static_cast<std::size_t>(v) * stride;
        std::uint8_t* target = stream.data() + static_cast<std::size_t>(v) * streamStride;
        std::memcpy(target, source, 12);
        if (skinned)
            std::memcpy(target + 12, source + kStaticStride, 32);
    }

    m_vertexData.assign(vertexBytes.begin(), vertexBytes.end());
    m_vertexCount = vertexCount;
    if (skinned) {
        if (!m_skeleton)
            m_skeleton = std::make_unique<Skeleton>();
        m_skeleton->GetNodes() = std::move(nodes);
        m_skeleton->GetBones() = std::move(bones);
        // Names of an earlier load stay in front.
        auto& allNames = m_skeleton->GetNames();
        allNames.insert(allNames.end(), std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
    } else {
        // A static model has no skeleton, whatever an earlier load left: the vertex stride and
        // IsSkinned must agree with the vertices now held.
        m_skeleton.reset();
    }

    if (context) {
        context->CreateVertexBuffer(m_vertexBuffers[0], BufferUsage::Static,
                                    static_cast<std::uint32_t>(m_vertexData.size()), m_vertexData.data());
        context->CreateVertexBuffer(m_vertexBuffers[1], BufferUsage::Static, static_cast<std::uint32_t>(stream.size()),
                                    stream.data());
    }
    return true;
}

AABB Model::CalculateAABB() const
{
    const std::size_t stride = IsSkinned() ? kSkinnedStride : kStaticStride;
    constexpr float inf = std::numeric_limits<float>::infinity();
    float3 low(inf, inf, inf), high(-inf, -inf, -inf);
    for (std::size_t offset = 0; offset + 12 <= m_vertexData.size(); offset += stride) {
        float p[3];
        std::memcpy(p, m_vertexData.data() + offset, sizeof(p));
        low.x = std::min(low.x, p[0]);
        low.y = std::min(low.y, p[1]);
        low.z = std::min(low.z, p[2]);
        high.x = std::max(high.x, p[0]);
        high.y = std::max(high.y, p[1]);
        high.z = std::max(high.z, p[2]);
    }
    return AABB(low, high);
}

} // namespace ZOR
