#include "renderer/Model.h"

#include "tests/support/RecordingRenderContext.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tools/writers/ModelWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <span>

namespace {

using tarsel::test::RecordingRenderContext;
using tarsel::test::StdoutCapture;
using tarsel::test::TempDir;
using tarsel::tools::MakeNode;
using tarsel::tools::MeshVertex;
using tarsel::tools::ModelDescription;
using tarsel::tools::WriteModel;
using ZOR::float3;
using ZOR::float4;
using ZOR::float4x4;
using ZOR::Model;

// Records the bytes handed to each vertex buffer as well as the call.
class BufferContext : public RecordingRenderContext {
public:
    std::vector<std::string> buffers;
    bool CreateVertexBuffer(ZOR::Handle& handle, ZOR::BufferUsage usage, std::uint32_t bytes, const void* data) override
    {
        buffers.emplace_back(static_cast<const char*>(data), bytes);
        return RecordingRenderContext::CreateVertexBuffer(handle, usage, bytes, data);
    }
};

MeshVertex Vertex(float x, float y, float z, std::uint32_t bone = 0)
{
    MeshVertex v;
    v.position = float4(x, y, z, 1.0f);
    v.normal = float3(0, 0, 1);
    v.uv = ZOR::float2(x, y);
    v.boneIds[0] = bone;
    v.boneIds[1] = 7;
    v.weights[0] = 1.0f;
    v.weights[1] = 0.0f; // a bone id past the bones with no weight is harmless
    return v;
}

// x falls steadily (3, 2, 1) so that the first vertex holds the maximum.
ModelDescription StaticTriangle()
{
    ModelDescription model;
    model.vertices = {Vertex(3, -1, 5), Vertex(2, 4, -2), Vertex(1, 0, 0)};
    return model;
}

ModelDescription SkinnedTriangle(const char* firstName = "root")
{
    ModelDescription model = StaticTriangle();
    model.skinned = true;
    model.vertices[2].boneIds[0] = 1;
    float4x4 up;
    up.m[7] = 2.0f;
    model.nodes = {MakeNode(-1, float4x4()), MakeNode(0, up)};
    model.bones = {{0, 2, float4x4()}, {1, 0, float4x4()}};
    model.names = {firstName, "tip"};
    return model;
}

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(Model, StaticModelMakesTwelveBytePositionStream)
{
    TempDir dir;
    dir.Write("models/tri.model", WriteModel(StaticTriangle()));
    BufferContext context;
    Model model;
    ASSERT_TRUE(model.Load(&context, (dir / "models/tri.model").string()));
    EXPECT_FALSE(model.IsSkinned());
    EXPECT_EQ(model.GetSkeleton(), nullptr);
    EXPECT_EQ(model.GetVertexCount(), 3u);
    EXPECT_EQ(context.Calls(), (std::vector<std::string>{"CreateVertexBuffer(null, 1, 180, pointer)",
                                                        "CreateVertexBuffer(null, 1, 36, pointer)"}));
    ASSERT_EQ(context.buffers.size(), 2u);
    EXPECT_TRUE(context.buffers[0] == WriteModel(StaticTriangle()).substr(32));
    const float expected[9] = {3, -1, 5, 2, 4, -2, 1, 0, 0};
    EXPECT_EQ(std::memcmp(context.buffers[1].data(), expected, sizeof(expected)), 0);
    EXPECT_EQ(model.GetVertexBuffer(false), ZOR::Handle(ZOR::ObjectType::VertexBuffer, 0));
    EXPECT_EQ(model.GetVertexBuffer(true), ZOR::Handle(ZOR::ObjectType::VertexBuffer, 1));

    const ZOR::AABB box = model.CalculateAABB();
    EXPECT_EQ(box.min.x, 1.0f);
    EXPECT_EQ(box.max.x, 3.0f);
    EXPECT_EQ(box.min.y, -1.0f);
    EXPECT_EQ(box.max.y, 4.0f);
    EXPECT_EQ(box.min.z, -2.0f);
    EXPECT_EQ(box.max.z, 5.0f);
}

TEST(Model, SkinnedModelMakesFortyFourBytePositionStreamAndSkeleton)
{
    BufferContext context;
    Model model;
    const ModelDescription description = SkinnedTriangle();
    ASSERT_TRUE(model.LoadFromMemory(&context, Bytes(WriteModel(description)), "skinned.model"));
    ASSERT_TRUE(model.IsSkinned());
    EXPECT_EQ(context.Calls(), (std::vector<std::string>{"CreateVertexBuffer(null, 1, 276, pointer)",
                                                        "CreateVertexBuffer(null, 1, 132, pointer)"}));
    const std::string& stream = context.buffers[1];
    for (std::size_t v = 0; v < 3; ++v) {
        const MeshVertex& source = description.vertices[v];
        EXPECT_EQ(std::memcmp(stream.data() + v * 44, &source.position, 12), 0) << v;
        EXPECT_EQ(std::memcmp(stream.data() + v * 44 + 12, source.boneIds, 16), 0) << v;
        EXPECT_EQ(std::memcmp(stream.data() + v * 44 + 28, source.weights, 16), 0) << v;
    }

    const ZOR::Skeleton& skeleton = *model.GetSkeleton();
    ASSERT_EQ(skeleton.GetNodes().size(), 2u);
    ASSERT_EQ(skeleton.GetBones().size(), 2u);
    EXPECT_EQ(skeleton.GetNodes()[1].parent, 0);
    EXPECT_EQ(skeleton.GetNodes()[1].bindLocal.m[7], 2.0f);
    EXPECT_EQ(skeleton.GetNodes()[1].global.m[7], 2.0f);
    EXPECT_EQ(skeleton.GetBones()[0].parent, 2u);
    EXPECT_EQ(skeleton.GetNames(), (std::vector<std::string>{"root", "tip"}));
    EXPECT_EQ(skeleton.GetNames(1), "tip");
    // Skinned vertices are 92 bytes apart.
    EXPECT_EQ(model.CalculateAABB().min.x, 1.0f);
    EXPECT_EQ(model.CalculateAABB().max.y, 4.0f);
}

TEST(Model, ReloadReusesTheSkeletonAndAppendsNames)
{
    RecordingRenderContext context;
    Model model;
    ASSERT_TRUE(model.LoadFromMemory(&context, Bytes(WriteModel(SkinnedTriangle("first"))), "a.model"));
    const ZOR::Skeleton* skeleton = model.GetSkeleton();
    ModelDescription other = SkinnedTriangle("second");
    other.nodes.push_back(MakeNode(1, float4x4()));
    other.bones.push_back({2, 1, float4x4()});
    ASSERT_TRUE(model.LoadFromMemory(&context, Bytes(WriteModel(other)), "b.model"));
    EXPECT_EQ(model.GetSkeleton(), skeleton);
    EXPECT_EQ(skeleton->GetNodes().size(), 3u);
    EXPECT_EQ(skeleton->GetBones().size(), 3u);
    EXPECT_EQ(skeleton->GetNames(), (std::vector<std::string>{"first", "tip", "second", "tip"}));
    // The second load re-creates the buffers in the handles it already holds.
    EXPECT_EQ(context.Calls()[2], "CreateVertexBuffer({8, 0}, 1, 276, pointer)");
    EXPECT_EQ(context.Calls()[3], "CreateVertexBuffer({8, 1}, 1, 132, pointer)");
}

TEST(Model, StaticLoadAfterSkinnedDropsTheSkeleton)
{
    RecordingRenderContext context;
    Model model;
    ASSERT_TRUE(model.LoadFromMemory(&context, Bytes(WriteModel(SkinnedTriangle())), "a.model"));
    ASSERT_TRUE(model.LoadFromMemory(&context, Bytes(WriteModel(StaticTriangle())), "b.model"));
    EXPECT_FALSE(model.IsSkinned());
    EXPECT_EQ(model.GetSkeleton(), nullptr);
    // With 60-byte vertices every position is found.
    EXPECT_EQ(model.CalculateAABB().min.x, 1.0f);
    EXPECT_EQ(model.CalculateAABB().max.z, 5.0f);
}

TEST(Model, MagicIsComparedUpToItsNulAndLoadingWorksWithoutAContext)
{
    std::string bytes = WriteModel(StaticTriangle());
    bytes[10] = '?';
    bytes[11] = '\x01';
    Model model;
    EXPECT_TRUE(model.LoadFromMemory(nullptr, Bytes(bytes), "junk.model"));
    EXPECT_EQ(model.GetVertexCount(), 3u);
    EXPECT_FALSE(model.GetVertexBuffer(false));

    bytes[9] = 'X';
    Model other;
    StdoutCapture capture;
    EXPECT_FALSE(other.LoadFromMemory(nullptr, Bytes(bytes), "dir/bad.model"));
    EXPECT_EQ(capture.Text(), "dir/bad.model is not a ZOR model! Use the converter tool.\n");
    EXPECT_EQ(other.GetVertexCount(), 0u);
}

TEST(Model, UnopenableFileFailsSilently)
{
    TempDir dir;
    RecordingRenderContext context;
    Model model;
    StdoutCapture capture;
    EXPECT_FALSE(model.Load(&context, (dir / "none.model").string()));
    EXPECT_EQ(capture.Text(), "");
    EXPECT_TRUE(context.Calls().empty());
}

// A failed load logs one line, makes no buffer and leaves the model as the first load made it.
struct HostileModel : testing::Test {
    RecordingRenderContext context;
    Model model;
    const ZOR::Skeleton* skeleton = nullptr;

    HostileModel()
    {
        EXPECT_TRUE(model.LoadFromMemory(&context, Bytes(WriteModel(SkinnedTriangle("kept"))), "kept.model"));
        skeleton = model.GetSkeleton();
        context.ClearCalls();
    }

    void ExpectRejected(const std::string& bytes, const std::string& what)
    {
        StdoutCapture capture;
        EXPECT_FALSE(model.LoadFromMemory(&context, Bytes(bytes), "bad.model")) << what;
        const std::string& log = capture.Text();
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << what << ": " << log;
        EXPECT_TRUE(context.Calls().empty()) << what;
        EXPECT_EQ(model.GetVertexCount(), 3u) << what;
        EXPECT_EQ(model.GetSkeleton(), skeleton) << what;
        EXPECT_EQ(skeleton->GetNodes().size(), 2u) << what;
        EXPECT_EQ(skeleton->GetNames(), (std::vector<std::string>{"kept", "tip"})) << what;
    }
};

TEST_F(HostileModel, EveryTruncationFails)
{
    const std::string bytes = WriteModel(SkinnedTriangle());
    for (std::size_t size = 0; size < bytes.size(); ++size)
        ExpectRejected(bytes.substr(0, size), "cut at " + std::to_string(size));
}

TEST_F(HostileModel, CountsNearTwoToThe32FailWithoutAllocating)
{
    const std::string valid = WriteModel(SkinnedTriangle());
    const std::size_t names = 32 + 3 * 92 + 2 * 200 + 2 * 72;
    const std::uint32_t huge = std::numeric_limits<std::uint32_t>::max();
    const std::pair<std::size_t, const char*> fields[] = {
        {16, "vertex count"}, {20, "node count"}, {24, "bone count"}, {names, "name count"}, {names + 4, "name length"}};
    for (const auto& [offset, what] : fields) {
        for (const std::uint32_t value : {huge, huge / 92, huge / 200, huge / 72, huge / 4}) {
            std::string bytes = valid;
            std::memcpy(bytes.data() + offset, &value, 4);
            ExpectRejected(bytes, std::string(what) + " " + std::to_string(value));
        }
    }
}

TEST_F(HostileModel, IndicesThatPointNowhereAreRejected)
{
    ModelDescription selfParent = SkinnedTriangle();
    selfParent.nodes[1].parent = 1;
    ExpectRejected(WriteModel(selfParent), "a node that is its own parent");
    ModelDescription laterParent = SkinnedTriangle();
    laterParent.nodes[0].parent = 1;
    ExpectRejected(WriteModel(laterParent), "a parent after its child");
    ModelDescription farParent = SkinnedTriangle();
    farParent.nodes[1].parent = 1000;
    ExpectRejected(WriteModel(farParent), "a parent past the nodes");
    ModelDescription boneNode = SkinnedTriangle();
    boneNode.bones[1].node = 2;
    ExpectRejected(WriteModel(boneNode), "a bone's node past the nodes");
    ModelDescription weighted = SkinnedTriangle();
    weighted.vertices[1].boneIds[3] = 2;
    weighted.vertices[1].weights[3] = 0.25f;
    ExpectRejected(WriteModel(weighted), "a weighted bone id past the bones");
}

} // namespace
