// Model loading against assimp on the same triangles, and the animation controller on the
// player character with one clip and with the full 94-clip library.
#include "bench/BenchMain.h"

#include "renderer/AnimationController.h"
#include "renderer/Model.h"
#include "tools/writers/AnimationWriter.h"
#include "tools/writers/CharacterBuilder.h"
#include "tools/writers/ClipLibraryWriter.h"
#include "tools/writers/ModelWriter.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace tarsel::tools;

// Files for the benchmarks, in a folder removed at exit.
const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("tarsel-bench-assets-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(Folder(), ec);
        });
        return path;
    }();
    return folder;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

unsigned MeshTriangles() { return tarselbench::SmokeRun() ? 1000 : 100000; }

// A static triangle soup: a wavy grid, three vertices per triangle, no index buffer.
const ModelDescription& Mesh()
{
    static const ModelDescription mesh = [] {
        ModelDescription model;
        const unsigned triangles = MeshTriangles();
        model.vertices.reserve(triangles * 3);
        const unsigned side = static_cast<unsigned>(std::sqrt(triangles / 2.0)) + 1;
        for (unsigned t = 0; t < triangles; ++t) {
            const unsigned cell = t / 2, x = cell % side, z = cell / side;
            const float corners[2][3][2] = {{{0, 0}, {0, 1}, {1, 1}}, {{0, 0}, {1, 1}, {1, 0}}};
            for (const auto& corner : corners[t % 2]) {
                MeshVertex v;
                const float px = static_cast<float>(x) + corner[0], pz = static_cast<float>(z) + corner[1];
                v.position = ZOR::float4(px, std::sin(px * 0.1f) * std::cos(pz * 0.1f), pz, 1.0f);
                v.normal = ZOR::float3(0, 1, 0);
                v.tangent = ZOR::float3(1, 0, 0);
                v.bitangent = ZOR::float3(0, 0, 1);
                v.uv = ZOR::float2(px / side, pz / side);
                model.vertices.push_back(v);
            }
        }
        return model;
    }();
    return mesh;
}

// The same triangles as binary little-endian PLY: position, normal and uv per vertex, and one
// face of three indices per triangle.
std::string WritePly(const ModelDescription& model)
{
    const std::size_t vertices = model.vertices.size();
    std::string out = "ply\nformat binary_little_endian 1.0\nelement vertex " + std::to_string(vertices) +
                      "\nproperty float x\nproperty float y\nproperty float z\nproperty float nx\nproperty float ny\n"
                      "property float nz\nproperty float s\nproperty float t\nelement face " +
                      std::to_string(vertices / 3) + "\nproperty list uchar int vertex_indices\nend_header\n";
    for (const MeshVertex& v : model.vertices) {
        const float values[8] = {v.position.x, v.position.y, v.position.z, v.normal.x,
                                 v.normal.y,   v.normal.z,   v.uv.x,       v.uv.y};
        out.append(reinterpret_cast<const char*>(values), sizeof(values));
    }
    for (std::uint32_t f = 0; f < vertices / 3; ++f) {
        out.push_back(3);
        const std::int32_t indices[3] = {static_cast<std::int32_t>(f * 3), static_cast<std::int32_t>(f * 3 + 1),
                                         static_cast<std::int32_t>(f * 3 + 2)};
        out.append(reinterpret_cast<const char*>(indices), sizeof(indices));
    }
    return out;
}

void LoadModel(benchmark::State& state, const std::string& bytes, const std::string& name)
{
    const std::string path = (Folder() / name).string();
    WriteFile(path, bytes);
    for (auto _ : state) {
        ZOR::Model model; // no render context: buffer creation is left out
        if (!model.Load(nullptr, path)) {
            state.SkipWithError("load failed");
            return;
        }
        benchmark::DoNotOptimize(model.GetVertexCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
}

void BM_ModelLoad_Character(benchmark::State& state)
{
    LoadModel(state, WriteModel(character::BuildModel()), "character.model");
}
BENCHMARK(BM_ModelLoad_Character)->Unit(benchmark::kMicrosecond);

void BM_ModelLoad_Mesh(benchmark::State& state)
{
    LoadModel(state, WriteModel(Mesh()), "mesh.model");
    state.counters["triangles"] = MeshTriangles();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * MeshTriangles());
}
BENCHMARK(BM_ModelLoad_Mesh)->Unit(benchmark::kMillisecond);

void BM_AssimpPly_Mesh(benchmark::State& state)
{
    const std::string bytes = WritePly(Mesh());
    const std::string path = (Folder() / "mesh.ply").string();
    WriteFile(path, bytes);
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path, 0);
        if (!scene || scene->mNumMeshes == 0) {
            state.SkipWithError(importer.GetErrorString());
            return;
        }
        benchmark::DoNotOptimize(scene->mMeshes[0]->mNumVertices);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
    state.counters["triangles"] = MeshTriangles();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * MeshTriangles());
}
BENCHMARK(BM_AssimpPly_Mesh)->Unit(benchmark::kMillisecond);

// The character's skeleton, loaded as the game loads it.
const ZOR::Model& Character()
{
    static const std::unique_ptr<ZOR::Model> model = [] {
        const std::string path = (Folder() / "base_idle.model").string();
        WriteFile(path, WriteModel(character::BuildModel()));
        auto loaded = std::make_unique<ZOR::Model>();
        loaded->Load(nullptr, path);
        return loaded;
    }();
    return *model;
}

struct Library {
    std::vector<std::unique_ptr<ZOR::Animation>> clips;
};

// The character animation library: 90 blend-space clips and 4 damage clips.
const Library& Clips()
{
    static const Library library = [] {
        Library result;
        for (const character::LibraryClip& entry : character::BuildLibrary()) {
            const std::string bytes = WriteAnimation(entry.clip);
            auto clip = std::make_unique<ZOR::Animation>();
            clip->LoadFromMemory({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, entry.name);
            result.clips.push_back(std::move(clip));
        }
        return result;
    }();
    return library;
}

void BM_ControllerUpdate_OneClip(benchmark::State& state)
{
    ZOR::AnimationController controller;
    controller.SetSkeleton(Character().GetSkeleton());
    ZOR::Animation* idle = Clips().clips[0].get();
    controller.AddAnimation(idle);
    controller.PlayAnimation(idle->GetName());
    for (auto _ : state) {
        controller.Update(1.0f / 60.0f);
        benchmark::DoNotOptimize(controller.GetMatrixList().data());
    }
}
BENCHMARK(BM_ControllerUpdate_OneClip)->Unit(benchmark::kMicrosecond);

// Every clip plays and eight carry weight, as when a character runs while aiming.
void BM_ControllerUpdate_94Clips8Weighted(benchmark::State& state)
{
    ZOR::AnimationController controller;
    controller.SetSkeleton(Character().GetSkeleton());
    for (const auto& clip : Clips().clips) {
        controller.AddAnimation(clip.get());
        controller.PlayAnimation(clip->GetName(), 0.0f, ZOR::BlendGroup::All);
    }
    const char* weighted[8] = {"run_left.anim",         "run_left_up.anim",      "run_base.anim",
                               "run_up.anim",           "run_left_blast.anim",   "run_left_up_blast.anim",
                               "run_base_blast.anim",   "run_up_blast.anim"};
    for (const char* name : weighted)
        controller.SetBlendFactor(name, 0.125f);
    for (auto _ : state) {
        controller.Update(1.0f / 60.0f);
        benchmark::DoNotOptimize(controller.GetMatrixList().data());
    }
}
BENCHMARK(BM_ControllerUpdate_94Clips8Weighted)->Unit(benchmark::kMicrosecond);

} // namespace

TARSEL_BENCHMARK_MAIN();
