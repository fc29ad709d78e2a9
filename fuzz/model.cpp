// Model files from arbitrary bytes. A refused file must leave a loaded model as it was; an
// accepted one is written again by the content writer and must load to the same vertices and
// skeleton.
#include "renderer/Model.h"
#include "tools/writers/ModelWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using tarsel::tools::ModelDescription;

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "model fuzz: %s\n", what);
        std::abort();
    }
}

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// What a load decides: the vertex bytes, and the file's part of each node (the writer derives
// the current and global transforms from the bind pose), bone and name.
struct Snapshot {
    std::vector<std::uint8_t> vertices;
    bool skinned = false;
    std::vector<std::int32_t> parents;
    std::vector<std::uint8_t> bindLocals;
    std::vector<std::uint8_t> bones;
    std::vector<std::string> names;

    explicit Snapshot(const ZOR::Model& model)
        : vertices(model.GetVertexData().begin(), model.GetVertexData().end()), skinned(model.IsSkinned())
    {
        if (const ZOR::Skeleton* skeleton = model.GetSkeleton()) {
            for (const ZOR::Skeleton::Node& node : skeleton->GetNodes()) {
                parents.push_back(node.parent);
                const auto* bytes = reinterpret_cast<const std::uint8_t*>(&node.bindLocal);
                bindLocals.insert(bindLocals.end(), bytes, bytes + sizeof(node.bindLocal));
            }
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(skeleton->GetBones().data());
            bones.assign(bytes, bytes + skeleton->GetBones().size() * sizeof(ZOR::Skeleton::Bone));
            names = skeleton->GetNames();
        }
    }
    bool operator==(const Snapshot&) const = default;
};

ModelDescription Describe(const ZOR::Model& model)
{
    ModelDescription description;
    description.skinned = model.IsSkinned();
    const std::size_t stride = model.IsSkinned() ? sizeof(ZOR::Model::SkinnedVertex) : sizeof(ZOR::Model::StaticVertex);
    const std::span<const std::uint8_t> bytes = model.GetVertexData();
    for (std::size_t offset = 0; offset + stride <= bytes.size(); offset += stride) {
        ZOR::Model::SkinnedVertex read{};
        std::memcpy(&read, bytes.data() + offset, stride);
        tarsel::tools::MeshVertex& vertex = description.vertices.emplace_back();
        vertex.position = read.position;
        vertex.normal = read.normal;
        vertex.tangent = read.tangent;
        vertex.bitangent = read.bitangent;
        vertex.uv = read.uv;
        std::memcpy(vertex.boneIds, read.boneIds, sizeof(read.boneIds));
        std::memcpy(vertex.weights, read.weights, sizeof(read.weights));
    }
    if (const ZOR::Skeleton* skeleton = model.GetSkeleton()) {
        description.nodes = skeleton->GetNodes();
        description.bones = skeleton->GetBones();
        description.names = skeleton->GetNames();
    }
    return description;
}

// A small skinned model for the refused files to land on.
std::string Loaded()
{
    ModelDescription model;
    model.skinned = true;
    model.vertices.resize(3);
    model.vertices[1].position.x = 1.0f;
    model.vertices[2].weights[0] = 1.0f;
    model.nodes = {tarsel::tools::MakeNode(-1, ZOR::float4x4())};
    model.bones = {{0, 1, ZOR::float4x4()}};
    model.names = {"root"};
    return tarsel::tools::WriteModel(model);
}

} // namespace

// No render context: every byte is read on the CPU side, which is what is under test.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Failed loads log a line each; keep the fuzzer's output readable.
    static const bool silenced = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(silenced);
    static const std::string loaded = Loaded();

    ZOR::Model earlier;
    Check(earlier.LoadFromMemory(nullptr, Bytes(loaded), "loaded.model"), "the small model does not load");
    const Snapshot before(earlier);
    if (!earlier.LoadFromMemory(nullptr, {data, size}, "fuzz.model")) {
        Check(Snapshot(earlier) == before, "a refused file changed the model");
        return 0;
    }

    ZOR::Model model;
    Check(model.LoadFromMemory(nullptr, {data, size}, "fuzz.model"), "a file loads only over another model");
    model.CalculateAABB();
    ZOR::Model back;
    Check(back.LoadFromMemory(nullptr, Bytes(tarsel::tools::WriteModel(Describe(model))), "saved.model"),
          "the model written again does not load");
    Check(Snapshot(back) == Snapshot(model), "the model written again loads differently");
    return 0;
}
