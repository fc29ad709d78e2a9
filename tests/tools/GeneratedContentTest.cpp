#include "engine/SoundSystem.h"
#include "renderer/Animation.h"
#include "renderer/AnimationController.h"
#include "renderer/Font.h"
#include "renderer/Model.h"

#include "tests/support/RecordingRenderContext.h"
#include "tests/support/TempDir.h"
#include "tools/writers/CharacterBuilder.h"
#include "tools/writers/ClipLibraryWriter.h"
#include "tools/writers/ContentGenerator.h"
#include "tools/writers/FontBuilder.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/LabelContent.h"
#include "tools/writers/MeshBuilder.h"
#include "tools/writers/ModelWriter.h"
#include "tools/writers/PropModels.h"
#include "tools/writers/ShapeContent.h"
#include "tools/writers/SoundWriter.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <tuple>

namespace {

using tarsel::test::TempDir;
using tarsel::tools::MeshVertex;
using tarsel::tools::ModelDescription;
using ZOR::float3;
using ZOR::float4x4;

using tarsel::test::ContentDir;

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

float3 Position(const MeshVertex& v) { return float3(v.position.x, v.position.y, v.position.z); }

TEST(GeneratedContent, TwoRunsWriteTheSameBytesAsTheBuildAndAMissingFontFails)
{
    TempDir first, second;
    ASSERT_TRUE(tarsel::tools::GenerateContent(first.Path(), tarsel::tools::kDefaultFontPath));
    ASSERT_TRUE(tarsel::tools::GenerateContent(second.Path(), tarsel::tools::kDefaultFontPath));
    const auto timeBefore = std::filesystem::last_write_time(first / "models/sphere.model");
    ASSERT_TRUE(tarsel::tools::GenerateContent(first.Path(), tarsel::tools::kDefaultFontPath));
    EXPECT_EQ(std::filesystem::last_write_time(first / "models/sphere.model"), timeBefore) << "unchanged files are left alone";
    for (const std::string& name : tarsel::tools::GeneratedContentFiles()) {
        const std::string bytes = ReadAll(first / name);
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_TRUE(bytes == ReadAll(second / name)) << name;
        EXPECT_TRUE(bytes == ReadAll(ContentDir() / name)) << name << " in the built content";
    }
    TempDir noFont;
    EXPECT_FALSE(tarsel::tools::GenerateContent(noFont.Path(), (noFont / "no-such-font.ttf").string()));
}

TEST(GeneratedContent, TheBuildListsEveryFileTheGeneratorWritesAndNoOther)
{
    // The generator's files and the shapes the built levels and archetypes name.
    std::set<std::string> written(tarsel::tools::GeneratedContentFiles().begin(),
                                  tarsel::tools::GeneratedContentFiles().end());
    for (const std::string& shape : tarsel::tools::ShapesNamedIn(ContentDir()))
        written.insert("shapes/" + shape);
    std::ifstream in(std::filesystem::path(TARSEL_SOURCE_DIR) / "tools/contentgen/generated_files.txt");
    ASSERT_TRUE(in) << "no tools/contentgen/generated_files.txt";
    std::set<std::string> listed;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') {
            EXPECT_TRUE(listed.insert(line).second) << line << " is listed twice";
        }
    for (const std::string& name : written)
        EXPECT_TRUE(listed.count(name)) << name << " is written but not in tools/contentgen/generated_files.txt";
    for (const std::string& name : listed)
        EXPECT_TRUE(written.count(name)) << name << " is in tools/contentgen/generated_files.txt but not written";
}

TEST(GeneratedContent, EveryOutputLoads)
{
    tarsel::test::RecordingRenderContext context;
    // Never a real device from a test; SDL's dummy driver still decodes.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    quellor::SoundSystem sound;
    sound.Initialize();
    ASSERT_TRUE(sound.IsAudible());
    std::size_t effects = 0;
    for (const std::string& name : tarsel::tools::GeneratedContentFiles()) {
        const std::string path = (ContentDir() / name).string();
        const std::string extension = std::filesystem::path(name).extension().string();
        if (extension == ".model") {
            ZOR::Model model;
            EXPECT_TRUE(model.Load(&context, path)) << name;
            const bool skinned = name == "models/base_idle.model" || name == "models/quitbutton_quit_hold.model" ||
                                 name == "models/scroll_menu.model" || name == "models/thumper.model";
            EXPECT_EQ(model.IsSkinned(), skinned) << name;
            EXPECT_TRUE(model.GetVertexBuffer(false)) << name;
            EXPECT_TRUE(model.GetVertexBuffer(true)) << name;
        } else if (extension == ".anim") {
            ZOR::Animation clip;
            EXPECT_TRUE(clip.Load(path)) << name;
        } else if (extension == ".bff") {
            ZOR::Font font;
            EXPECT_TRUE(font.Load(path)) << name;
        } else if (extension == ".ql") {
            // Arena levels load in the game's start-up tests, where every class is known.
            TiXmlDocument level;
            EXPECT_TRUE(level.Parse(ReadAll(path).c_str()) != nullptr && !level.Error()) << name;
        } else if (extension == ".ogg") {
            // Effects are the files under sounds/sfx, the rest songs: the loader's path rule.
            EXPECT_TRUE(sound.LoadSound(path)) << name;
            effects += name.find("sfx") != std::string::npos;
        } else {
            // Textures are checked for their layout below; decoding them is the back end's work.
            EXPECT_EQ(extension, ".dds") << name;
            EXPECT_EQ(ReadAll(path).substr(0, 4), "DDS ") << name;
        }
    }
    EXPECT_EQ(effects, 26u);
    sound.Shutdown();
}

// Checks shared by every generated mesh: counter-clockwise faces seen from outside, and unit,
// orthogonal tangent frames whose tangent runs along +u and bitangent along +v.
void ExpectSurfaceRules(const std::vector<MeshVertex>& vertices, const std::function<float3(std::size_t)>& inside)
{
    ASSERT_EQ(vertices.size() % 3, 0u);
    for (std::size_t t = 0; t < vertices.size(); t += 3) {
        const MeshVertex& a = vertices[t];
        const MeshVertex& b = vertices[t + 1];
        const MeshVertex& c = vertices[t + 2];
        const float3 e1 = Position(b) - Position(a), e2 = Position(c) - Position(a);
        const float3 centroid = (Position(a) + Position(b) + Position(c)) / 3.0f;
        EXPECT_GT(e1.Cross(e2).Dot(centroid - inside(t)), 0.0f) << "triangle " << t / 3 << " faces inward";

        const float du1 = b.uv.x - a.uv.x, dv1 = b.uv.y - a.uv.y, du2 = c.uv.x - a.uv.x, dv2 = c.uv.y - a.uv.y;
        const float r = 1.0f / (du1 * dv2 - du2 * dv1);
        const float3 alongU = (e1 * dv2 - e2 * dv1) * r;
        const float3 alongV = (e2 * du1 - e1 * du2) * r;
        for (const MeshVertex* v : {&a, &b, &c}) {
            EXPECT_NEAR(v->normal.Length(), 1.0f, 1e-5f);
            EXPECT_NEAR(v->tangent.Length(), 1.0f, 1e-5f);
            EXPECT_NEAR(v->bitangent.Length(), 1.0f, 1e-5f);
            EXPECT_NEAR(v->normal.Dot(v->tangent), 0.0f, 1e-5f);
            EXPECT_NEAR(v->normal.Dot(v->bitangent), 0.0f, 1e-5f);
            EXPECT_NEAR(v->tangent.Dot(v->bitangent), 0.0f, 1e-5f);
            EXPECT_GT(v->tangent.Dot(alongU), 0.0f) << "triangle " << t / 3;
            EXPECT_GT(v->bitangent.Dot(alongV), 0.0f) << "triangle " << t / 3;
            EXPECT_GE(v->uv.x, 0.0f);
            EXPECT_LE(v->uv.x, 1.0f);
            EXPECT_GE(v->uv.y, 0.0f);
            EXPECT_LE(v->uv.y, 1.0f);
        }
    }
}

using PositionKey = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;
PositionKey Key(const MeshVertex& v)
{
    std::uint32_t x, y, z;
    std::memcpy(&x, &v.position.x, 4);
    std::memcpy(&y, &v.position.y, 4);
    std::memcpy(&z, &v.position.z, 4);
    return {x, y, z};
}

TEST(GeneratedContent, SphereIsAClosedUnitSphereFacingOutward)
{
    const ModelDescription sphere = tarsel::tools::BuildSphere();
    EXPECT_TRUE(ReadAll(ContentDir() / "models/sphere.model") == tarsel::tools::WriteModel(sphere));
    EXPECT_FALSE(sphere.skinned);
    EXPECT_EQ(sphere.vertices.size(), 32u * 2 * 3 + 32u * 14 * 6);

    std::map<std::pair<PositionKey, PositionKey>, int> edges;
    for (std::size_t t = 0; t < sphere.vertices.size(); t += 3)
        for (int e = 0; e < 3; ++e)
            ++edges[{Key(sphere.vertices[t + e]), Key(sphere.vertices[t + (e + 1) % 3])}];
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1);
        const auto reverse = edges.find({edge.second, edge.first});
        ASSERT_NE(reverse, edges.end()) << "an open edge";
        EXPECT_EQ(reverse->second, 1);
    }
    for (const MeshVertex& v : sphere.vertices) {
        EXPECT_NEAR(Position(v).Length(), 1.0f, 1e-5f);
        EXPECT_EQ(v.position.w, 1.0f);
        EXPECT_GT(v.normal.Dot(Position(v)), 0.999f) << "normals point outward";
    }
    ExpectSurfaceRules(sphere.vertices, [](std::size_t) { return float3(); });
}

TEST(GeneratedContent, CubeHasUnitFacesAtHalfUnitCorners)
{
    const ModelDescription cube = tarsel::tools::BuildCube();
    EXPECT_TRUE(ReadAll(ContentDir() / "models/cube.model") == tarsel::tools::WriteModel(cube));
    ASSERT_EQ(cube.vertices.size(), 36u);
    for (const MeshVertex& v : cube.vertices) {
        for (float c : {v.position.x, v.position.y, v.position.z})
            EXPECT_EQ(std::abs(c), 0.5f);
        EXPECT_TRUE(v.uv.x == 0.0f || v.uv.x == 1.0f);
        EXPECT_TRUE(v.uv.y == 0.0f || v.uv.y == 1.0f);
        // A face normal: the vertex lies on the face it names.
        EXPECT_EQ(Position(v).Dot(v.normal), 0.5f);
    }
    ExpectSurfaceRules(cube.vertices, [](std::size_t) { return float3(); });
}

namespace character = tarsel::tools::character;

ZOR::Skeleton SkeletonOf(const ModelDescription& model)
{
    ZOR::Skeleton skeleton;
    skeleton.GetNodes() = model.nodes;
    skeleton.GetBones() = model.bones;
    skeleton.GetNames() = model.names;
    return skeleton;
}

TEST(GeneratedContent, CharacterKeepsTheRigRules)
{
    const ModelDescription model = character::BuildModel();
    EXPECT_TRUE(ReadAll(ContentDir() / "models/base_idle.model") == tarsel::tools::WriteModel(model));
    ASSERT_TRUE(model.skinned);
    const std::size_t bones = model.bones.size();
    ASSERT_GE(bones, 30u);
    ASSERT_EQ(model.nodes.size(), bones);
    ASSERT_EQ(model.names.size(), bones);
    for (std::size_t i = 0; i < bones; ++i) {
        const auto& bone = model.bones[i];
        const auto& node = model.nodes[i];
        EXPECT_EQ(bone.node, i);
        EXPECT_LT(node.parent, static_cast<std::int32_t>(i)) << "parents come first";
        if (node.parent < 0) {
            EXPECT_GE(bone.parent, bones);
        } else {
            EXPECT_EQ(bone.parent, static_cast<std::uint32_t>(node.parent));
        }
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(node.bindLocal.m[r * 4 + c], r == c ? 1.0f : 0.0f) << "bind transforms are translations";
    }

    std::vector<float3> boxCenter(bones);
    std::vector<int> boxCount(bones);
    float lowest = 1e9f, highest = -1e9f;
    std::vector<float> boneTop(bones, -1e9f);
    for (const MeshVertex& v : model.vertices) {
        ASSERT_LT(v.boneIds[0], bones);
        EXPECT_EQ(v.weights[0] + v.weights[1] + v.weights[2] + v.weights[3], 1.0f);
        boxCenter[v.boneIds[0]] += Position(v);
        ++boxCount[v.boneIds[0]];
        lowest = std::min(lowest, v.position.y);
        highest = std::max(highest, v.position.y);
        boneTop[v.boneIds[0]] = std::max(boneTop[v.boneIds[0]], v.position.y);
        if (v.boneIds[0] == character::kHandBone) {
            EXPECT_LE((Position(v) - character::kHandPoint).Length(), 1.0f);
        }
    }
    EXPECT_EQ(lowest, 0.0f) << "feet at y = 0";
    EXPECT_NEAR(highest, 16.0f, 1.0f);
    for (std::size_t i = 0; i < bones; ++i) {
        EXPECT_EQ(boxCount[i], 36) << "one box per bone";
        boxCenter[i] /= static_cast<float>(boxCount[i]);
        if (i != character::kHeadBone) {
            EXPECT_LT(boneTop[i], boneTop[character::kHeadBone]) << "the head is highest, not bone " << i;
        }
    }
    ExpectSurfaceRules(model.vertices, [&](std::size_t t) { return boxCenter[model.vertices[t].boneIds[0]]; });
}

TEST(GeneratedContent, CharacterBindPoseGivesIdentityMatricesAndTheHandPoint)
{
    const ModelDescription model = character::BuildModel();
    ZOR::Skeleton skeleton = SkeletonOf(model);
    ZOR::Animation idle;
    ASSERT_TRUE(idle.Load((ContentDir() / "animations/idle_base.anim").string()));
    ZOR::AnimationController controller;
    controller.SetSkeleton(&skeleton);
    controller.AddAnimation(&idle);
    controller.PlayAnimation("idle_base.anim", 0.0f, ZOR::BlendGroup::All); // weight 0: the bind pose
    controller.Update(0.5f);
    ASSERT_EQ(controller.GetMatrixList().size(), model.bones.size());
    for (const float4x4& m : controller.GetMatrixList())
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(m.m[i], float4x4().m[i], 1e-5f);
    const ZOR::float4 hand = controller.GetBoneTransform(character::kHandBone) *
                             ZOR::float4(character::kHandPoint.x, character::kHandPoint.y, character::kHandPoint.z, 1.0f);
    EXPECT_NEAR(hand.x, -6.5f, 1e-5f);
    EXPECT_NEAR(hand.y, 13.2f, 1e-5f);
    EXPECT_NEAR(hand.z, -0.2f, 1e-5f);

    // Playing the clip moves the pose away from the bind pose, and the hand still gets a finite place.
    controller.SetBlendFactor("idle_base.anim", 1.0f);
    controller.Update(0.5f);
    const float4x4 moved = controller.GetBoneTransform(character::kHandBone);
    for (float value : moved.m)
        EXPECT_TRUE(std::isfinite(value));
}

// A bind-pose point of the character where a bone draws it in the controller's current pose,
// and where the bone transform the game asks for (mounts, shots) puts it.
float3 Drawn(const ZOR::AnimationController& controller, unsigned bone, const float3& point)
{
    const ZOR::float4 p = controller.GetMatrixList()[bone] * ZOR::float4(point.x, point.y, point.z, 1.0f);
    return float3(p.x, p.y, p.z);
}
float3 Found(const ZOR::AnimationController& controller, unsigned bone, const float3& point)
{
    const ZOR::float4 p = controller.GetBoneTransform(bone) * ZOR::float4(point.x, point.y, point.z, 1.0f);
    return float3(p.x, p.y, p.z);
}

character::ShotAim AimOf(const std::string& clip)
{
    const std::string stem = clip.substr(clip.find('_') + 1);
    character::ShotAim aim;
    aim.direction = stem.starts_with("extremeleft")    ? quellor::ClipDirection::ExtremeLeft
                    : stem.starts_with("extremeright") ? quellor::ClipDirection::ExtremeRight
                    : stem.starts_with("left")         ? quellor::ClipDirection::Left
                    : stem.starts_with("right")        ? quellor::ClipDirection::Right
                                                       : quellor::ClipDirection::Base;
    aim.pitch = clip.find("_up") != std::string::npos     ? quellor::ClipPitch::Up
                : clip.find("_down") != std::string::npos ? quellor::ClipPitch::Down
                                                          : quellor::ClipPitch::Level;
    return aim;
}

TEST(GeneratedContent, ArmsHangInThePlainClipsAndTheShotClipsPointTheShootingArmAtTheAim)
{
    const ModelDescription model = character::BuildModel();
    ZOR::Skeleton skeleton = SkeletonOf(model);
    // Shoulder and elbow joints of each arm in the bind pose: the upper arm runs between them.
    const float3 shoulder[2] = {float3(2.2f, 13.2f, -0.2f), float3(-2.2f, 13.2f, -0.2f)};
    const float3 elbow[2] = {float3(4.0f, 13.2f, -0.2f), float3(-4.0f, 13.2f, -0.2f)};
    const float3 headTop(0.0f, 16.0f, 0.0f);
    const float hang = std::sin(45.0f * 3.14159265f / 180.0f);
    const float reach = (character::kHandPoint - shoulder[1]).Length();
    std::size_t shots = 0;
    for (const std::string& name : character::LibraryNames()) {
        ZOR::Animation clip;
        ASSERT_TRUE(clip.Load((ContentDir() / "animations" / name).string())) << name;
        ZOR::AnimationController controller;
        controller.SetSkeleton(&skeleton);
        controller.AddAnimation(&clip);
        controller.PlayAnimation(name, 1.0f, ZOR::BlendGroup::All);
        const bool shot = name.find("_blast") != std::string::npos;
        shots += shot;
        // Eight times a quarter second apart: across the idle loop and through every part of the run.
        for (int step = 0; step < 8; ++step) {
            controller.Update(0.25f);
            const std::string when = name + " at step " + std::to_string(step);
            for (int arm = 0; arm < 2; ++arm) {
                const unsigned bone = character::kUpperArmBones[arm];
                if (shot && bone == character::kShootingUpperArm)
                    continue;
                const float3 along = Drawn(controller, bone, elbow[arm]) - Drawn(controller, bone, shoulder[arm]);
                EXPECT_GE(-along.y / along.Length(), hang) << when << ", arm " << arm << " is less than 45 degrees down";
            }
            // Hats and masks sit on the head where it is drawn, shots leave the hand where it is drawn.
            EXPECT_LT((Found(controller, character::kHeadBone, headTop) - Drawn(controller, character::kHeadBone, headTop)).Length(),
                      1e-3f)
                << when;
            const float3 hand = Found(controller, character::kHandBone, character::kHandPoint);
            EXPECT_LT((hand - Drawn(controller, character::kHandBone, character::kHandPoint)).Length(), 1e-3f) << when;
            if (!shot)
                continue;
            // The shooting arm reaches straight along its aim, and the hand point ends it.
            const character::ShotAim aim = AimOf(name);
            const float3 s = Drawn(controller, character::kShootingUpperArm, shoulder[1]);
            EXPECT_LT((hand - (s + character::ShotArmDirection(aim) * reach)).Length(), 0.05f) << when;
            if (aim.pitch == quellor::ClipPitch::Up) {
                EXPECT_GT(hand.y, s.y + 2.0f) << when;
            } else if (aim.pitch == quellor::ClipPitch::Down) {
                EXPECT_LT(hand.y, s.y - 2.0f) << when;
            } else {
                EXPECT_NEAR(hand.y, s.y, 0.05f) << when;
            }
            if (aim.direction == quellor::ClipDirection::Base) {
                EXPECT_GT(hand.z, 3.0f) << when << ": the orb leaves ahead of the body (+z, where it faces)";
            }
        }
    }
    EXPECT_EQ(shots, 45u);
}

TEST(GeneratedContent, ClipsKeepTheContentRules)
{
    const std::size_t bones = character::BuildModel().bones.size();
    const std::pair<const char*, float> clips[] = {
        {"idle_base.anim", 60.0f}, {"run_base.anim", 24.0f}, {"inair_base.anim", -1.0f}};
    for (const auto& [name, duration] : clips) {
        ZOR::Animation clip;
        ASSERT_TRUE(clip.Load((ContentDir() / "animations" / name).string())) << name;
        EXPECT_EQ(clip.GetName(), name);
        EXPECT_EQ(clip.GetTicksPerSecond(), 30.0f);
        EXPECT_GT(clip.GetDuration(), 0.0f);
        if (duration > 0.0f) {
            EXPECT_EQ(clip.GetDuration(), duration) << name;
        }
        ASSERT_EQ(clip.GetTracks().size(), bones) << name;
        bool anyMotion = false;
        for (std::size_t i = 0; i < bones; ++i) {
            const auto& track = clip.GetTracks()[i];
            EXPECT_EQ(track.id, i);
            ASSERT_FALSE(track.positionKeys.empty());
            ASSERT_FALSE(track.rotationKeys.empty());
            for (std::size_t k = 1; k < track.positionKeys.size(); ++k)
                EXPECT_LT(track.positionKeys[k - 1].time, track.positionKeys[k].time);
            for (std::size_t k = 1; k < track.rotationKeys.size(); ++k)
                EXPECT_LT(track.rotationKeys[k - 1].time, track.rotationKeys[k].time);
            anyMotion = anyMotion || track.rotationKeys.size() > 1;
            if (duration > 0.0f && track.rotationKeys.size() > 1) {
                // Loops end where they start.
                EXPECT_EQ(std::memcmp(&track.rotationKeys.front().rotation, &track.rotationKeys.back().rotation, 16), 0);
                EXPECT_EQ(track.rotationKeys.back().time, clip.GetDuration());
            }
        }
        EXPECT_EQ(anyMotion, duration > 0.0f) << name << ": cycles move, the held pose does not";
    }
}

// A DDS header's fields, read from the bytes.
std::uint32_t Word(const std::string& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

TEST(GeneratedContent, FontsMatchTheirTexturesAndTheLoadingScreenMetrics)
{
    for (const std::uint32_t cell : {32u, 48u, 64u}) {
        const std::string name = "font_" + std::to_string(cell);
        ZOR::Font font;
        ASSERT_TRUE(font.Load((ContentDir() / "fonts" / (name + ".bff")).string()));
        EXPECT_EQ(font.GetCellWidth(), cell);
        EXPECT_EQ(font.GetCellHeight(), cell);
        EXPECT_EQ(font.GetImageWidth(), 16 * cell);
        EXPECT_EQ(font.GetImageHeight(), 16 * cell);
        EXPECT_EQ(font.GetCellsPerRow(), 16u);
        EXPECT_EQ(font.GetFirstCharacter(), 32);
        EXPECT_EQ(font.GetCharacterWidth(31), 0);
        EXPECT_EQ(font.GetCharacterWidth(127), 0);
        for (int c = 33; c <= 126; ++c) {
            EXPECT_GT(font.GetCharacterWidth(static_cast<std::uint8_t>(c)), 0) << c;
            EXPECT_LE(font.GetCharacterWidth(static_cast<std::uint8_t>(c)), 127) << c;
        }

        const std::string bff = ReadAll(ContentDir() / "fonts" / (name + ".bff"));
        const std::string dds = ReadAll(ContentDir() / "textures/fonts" / (name + ".dds"));
        EXPECT_EQ(static_cast<unsigned char>(bff[18]), 32) << "32 bits per pixel";
        ASSERT_EQ(dds.substr(0, 4), "DDS ");
        EXPECT_EQ(Word(dds, 12), 16 * cell); // height
        EXPECT_EQ(Word(dds, 16), 16 * cell); // width
        EXPECT_EQ(Word(dds, 88), 32u);       // bits per pixel
        const std::string image = bff.substr(276);
        const std::string texture = dds.substr(128);
        ASSERT_EQ(image.size(), texture.size());
        for (std::size_t p = 0; p < image.size(); p += 4) {
            // R, G, B, A in the font; B, G, R, A in the texture.
            ASSERT_EQ(image[p], texture[p + 2]) << p;
            ASSERT_EQ(image[p + 1], texture[p + 1]) << p;
            ASSERT_EQ(image[p + 2], texture[p]) << p;
            ASSERT_EQ(image[p + 3], texture[p + 3]) << p;
        }
    }
}

TEST(GeneratedContent, AGlyphCoversOnlyItsOwnCell)
{
    std::ifstream in(tarsel::tools::kDefaultFontPath, std::ios::binary);
    const std::vector<std::uint8_t> ttf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    tarsel::tools::BitmapFont only;
    ASSERT_TRUE(tarsel::tools::RasterizeFont(ttf, 64, 'A', 'A', only, tarsel::tools::GameFontLine(64)));
    const std::string generated = ReadAll(ContentDir() / "fonts/font_64.bff").substr(276);
    // 'A' is code 65: cell 33, row 2, column 1.
    const std::uint32_t side = only.imageWidth;
    std::size_t covered = 0;
    for (std::uint32_t y = 0; y < side; ++y) {
        for (std::uint32_t x = 0; x < side; ++x) {
            const std::size_t p = (static_cast<std::size_t>(y) * side + x) * 4 + 3;
            const bool inCell = x >= 64 && x < 128 && y >= 128 && y < 192;
            if (!inCell) {
                ASSERT_EQ(only.pixels[p], 0) << x << ", " << y;
                continue;
            }
            covered += only.pixels[p] != 0;
            // The full font holds the same pixels there: no neighbour draws into the cell.
            ASSERT_EQ(static_cast<std::uint8_t>(generated[p]), only.pixels[p]) << x << ", " << y;
        }
    }
    EXPECT_GT(covered, 200u);
    EXPECT_EQ(only.widths['B'], 0);
    EXPECT_GT(only.widths['A'], 0);
}

TEST(GeneratedContent, SunIsASoftWhiteDisc)
{
    const std::string dds = ReadAll(ContentDir() / "textures/sun.dds");
    ASSERT_EQ(dds.size(), 128u + 128 * 128 * 4);
    EXPECT_EQ(Word(dds, 12), 128u);
    EXPECT_EQ(Word(dds, 16), 128u);
    const auto alpha = [&](int x, int y) { return static_cast<std::uint8_t>(dds[128 + (y * 128 + x) * 4 + 3]); };
    EXPECT_EQ(alpha(64, 64), 255);
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(127, 64), 0);
    int soft = 0;
    for (int x = 64; x < 128; ++x)
        soft += alpha(x, 64) > 0 && alpha(x, 64) < 255;
    EXPECT_GE(soft, 4) << "the rim fades";
    for (std::size_t p = 128; p < dds.size(); p += 4)
        ASSERT_EQ(dds.substr(p, 3), std::string(3, '\xFF'));
}

} // namespace

TEST(GeneratedContent, SoundsKeepTheirLengthsAndEncodeTheSameBytesEachTime)
{
    std::size_t effects = 0, songs = 0;
    for (const tarsel::tools::NamedSound& named : tarsel::tools::BuildSounds()) {
        const float seconds = static_cast<float>(named.sound.samples.size()) / static_cast<float>(named.sound.rate);
        float peak = 0.0f;
        for (const float sample : named.sound.samples) {
            ASSERT_TRUE(std::isfinite(sample)) << named.path;
            peak = std::max(peak, std::abs(sample));
        }
        EXPECT_GT(peak, 0.05f) << named.path << " is audible";
        EXPECT_LE(peak, 1.0f) << named.path << " does not clip";
        if (named.path.rfind("sounds/sfx/", 0) == 0) {
            ++effects;
            EXPECT_GT(seconds, 0.0f) << named.path;
            EXPECT_LE(seconds, 1.5f) << named.path;
        } else {
            ++songs;
            EXPECT_EQ(named.path.rfind("sounds/music/", 0), 0u) << named.path;
            EXPECT_GE(seconds, 10.0f) << named.path;
            EXPECT_LE(seconds, 20.0f) << named.path;
        }
    }
    EXPECT_EQ(effects, 26u);
    EXPECT_EQ(songs, 2u);

    tarsel::tools::Sound beep;
    beep.samples.assign(2205, 0.25f);
    const std::string once = tarsel::tools::WriteOgg(beep, 7);
    EXPECT_EQ(once.substr(0, 4), "OggS");
    EXPECT_EQ(once, tarsel::tools::WriteOgg(beep, 7));
    EXPECT_NE(once, tarsel::tools::WriteOgg(beep, 8)) << "the serial is in the stream";
    EXPECT_TRUE(tarsel::tools::WriteOgg(tarsel::tools::Sound{}, 1).empty()) << "nothing to encode";
}

TEST(GeneratedContent, LabelsShowTheirTextInsideTheirMarginsAndStripsHoldTheirFrames)
{
    std::ifstream in(tarsel::tools::kDefaultFontPath, std::ios::binary);
    const std::vector<std::uint8_t> ttf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    tarsel::tools::BitmapFont font;
    ASSERT_TRUE(tarsel::tools::RasterizeFont(ttf, 64, 32, 126, font));
    tarsel::tools::LabelStyle style;
    style.width = 128;
    style.height = 32;
    style.back = {10, 20, 30, 255};
    style.ink = {250, 240, 230, 255};
    // A long line is shrunk into the margins: ink only in the middle 90% x 80%, none at the rim.
    const tarsel::tools::Image label = tarsel::tools::BuildLabel(font, "A LONG LABEL OF TEXT", style);
    ASSERT_EQ(label.rgba.size(), 128u * 32u * 4u);
    std::size_t inked = 0;
    for (std::uint32_t y = 0; y < 32; ++y)
        for (std::uint32_t x = 0; x < 128; ++x) {
            const std::uint8_t* p = &label.rgba[(std::size_t{y} * 128 + x) * 4];
            if (p[0] != 10) {
                ++inked;
                EXPECT_TRUE(x >= 6 && x < 122 && y >= 3 && y < 29) << x << "," << y;
            }
            EXPECT_EQ(p[3], 255);
        }
    EXPECT_GT(inked, 200u);
    // Two lines stack: the second line's ink lies below the first's.
    const tarsel::tools::Image two = tarsel::tools::BuildLabel(font, "I\n\nI", style);
    std::uint32_t top = 32, bottom = 0;
    for (std::uint32_t y = 0; y < 32; ++y)
        if (two.rgba[(std::size_t{y} * 128 + 64) * 4] != 10) {
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    EXPECT_GT(bottom - top, 16u);
    EXPECT_EQ(tarsel::tools::BuildLabel(font, "", style).rgba[0], 10) << "no text, only the back";

    for (const std::uint32_t frames : {1u, 5u, 12u}) {
        const tarsel::tools::Image strip = tarsel::tools::BuildStripImage(frames, 1, 2, 3);
        EXPECT_EQ(strip.width, 64u * frames);
        EXPECT_EQ(strip.height, 64u);
        if (frames > 1) {
            // Frames differ, and each is dark at its corners.
            EXPECT_NE(std::memcmp(&strip.rgba[0], &strip.rgba[64 * 4], 64 * 4), 0);
            EXPECT_EQ(strip.rgba[3], 0);
        }
    }
    std::set<std::string> names;
    for (const tarsel::tools::LabelTexture& entry : tarsel::tools::Labels())
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name << " twice";
}

TEST(GeneratedContent, PanelLinesStandWhereTheyArePlacedBesideThePauseMenusMarks)
{
    std::ifstream in(tarsel::tools::kDefaultFontPath, std::ios::binary);
    const std::vector<std::uint8_t> ttf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    tarsel::tools::BitmapFont font;
    ASSERT_TRUE(tarsel::tools::RasterizeFont(ttf, 64, 32, 126, font));
    // The ink's bounds inside a band of rows.
    struct Bounds {
        std::uint32_t left = ~0u, right = 0, top = ~0u, bottom = 0;
    };
    auto inkIn = [](const tarsel::tools::Image& image, std::uint32_t from, std::uint32_t to) {
        Bounds b;
        for (std::uint32_t y = from; y < to && y < image.height; ++y)
            for (std::uint32_t x = 0; x < image.width; ++x)
                if (image.rgba[(std::size_t{y} * image.width + x) * 4] > 128) {
                    b.left = std::min(b.left, x);
                    b.right = std::max(b.right, x);
                    b.top = std::min(b.top, y);
                    b.bottom = std::max(b.bottom, y);
                }
        return b;
    };
    tarsel::tools::LabelStyle style;
    style.width = 200;
    style.height = 100;
    style.back = {0, 0, 0, 255};
    const tarsel::tools::Image panel =
        tarsel::tools::BuildPanel(font, {{"ABC", 50.0f, 30.0f, 20.0f}, {"X", -1.0f, 75.0f, 20.0f}}, style);
    const Bounds first = inkIn(panel, 0, 50), second = inkIn(panel, 50, 100);
    EXPECT_GE(first.left, 50u);
    EXPECT_LE(first.left, 54u) << "the line starts at its left edge";
    EXPECT_GE(first.top, 20u);
    EXPECT_LE(first.bottom, 40u) << "the line stays within its height about its middle";
    EXPECT_NEAR((second.left + second.right) / 2.0, 100.0, 3.0) << "a negative left centres the line";
    EXPECT_GE(second.top, 65u);

    // Each main-page entry of the pause picture lies right of the cursor's square on its row.
    const tarsel::tools::Image* pause = nullptr;
    tarsel::tools::Image built;
    for (const tarsel::tools::LabelTexture& label : tarsel::tools::Labels())
        if (label.name == "2d_pause") {
            built = tarsel::tools::BuildLabelTexture(font, label);
            pause = &built;
        }
    ASSERT_NE(pause, nullptr);
    for (int i = 0; i < 6; ++i) {
        // The cursor's square on the quarter-size picture: u 400..475, v 275 + 105 i .. + 75.
        const auto top = static_cast<std::uint32_t>((275 + 105 * i) / 4), bottom = static_cast<std::uint32_t>((350 + 105 * i) / 4);
        const Bounds entry = inkIn(*pause, top, bottom);
        EXPECT_GT(entry.left, 475u / 4) << "entry " << i;
        EXPECT_LT(entry.left, 540u / 4) << "entry " << i;
    }
}

TEST(GeneratedContent, BlockLettersAndHingedPropsKeepTheirShapes)
{
    // One box (36 vertices) per dot: "1" has 10 dots, "x" 9; an unknown character is a gap.
    EXPECT_EQ(tarsel::tools::BuildBlockText("1").vertices.size(), 10u * 36u);
    EXPECT_EQ(tarsel::tools::BuildBlockText("x").vertices.size(), 9u * 36u);
    EXPECT_EQ(tarsel::tools::BuildBlockText("1?1").vertices.size(), 20u * 36u);
    // A word starts at x = 0 and stands on y = 0, a unit tall.
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const MeshVertex& v : tarsel::tools::BuildBlockText("MEDIUM").vertices) {
        minX = std::min(minX, v.position.x);
        maxX = std::max(maxX, v.position.x);
        minY = std::min(minY, v.position.y);
        maxY = std::max(maxY, v.position.y);
    }
    EXPECT_NEAR(minX, 0.0f, 1e-4f);
    EXPECT_NEAR(maxX, 6.0f * 6.0f / 7.0f - 1.0f / 7.0f, 1e-4f);
    EXPECT_NEAR(minY, 0.0f, 1e-4f);
    EXPECT_NEAR(maxY, 1.0f, 1e-4f);
    // The arrow points along -x: its tallest part lies on the -x side.
    float tipX = 0.0f, tallest = 0.0f;
    for (const MeshVertex& v : tarsel::tools::BuildArrow().vertices)
        if (v.position.y > tallest) {
            tallest = v.position.y;
            tipX = v.position.x;
        }
    EXPECT_LT(tipX, 0.0f);

    // The skinned props' clips drive exactly their two bones and load beside their models.
    tarsel::test::RecordingRenderContext context;
    const std::pair<const char*, std::vector<const char*>> props[] = {
        {"quitbutton_quit_hold", {"quitbutton_quit_hold", "quitbutton_foldup", "quitbutton_foldout", "quitbutton_areyousure_hold"}},
        {"scroll_menu", {"scroll_up_still", "scroll_up", "scroll_down"}},
        {"thumper", {"Thumper_anim2"}}};
    for (const auto& [model, clips] : props) {
        ZOR::Model loaded;
        ASSERT_TRUE(loaded.Load(&context, (ContentDir() / "models" / (std::string(model) + ".model")).string())) << model;
        ASSERT_TRUE(loaded.IsSkinned()) << model;
        for (const char* name : clips) {
            ZOR::Animation clip;
            ASSERT_TRUE(clip.Load((ContentDir() / "animations" / (std::string(name) + ".anim")).string())) << name;
            EXPECT_GT(clip.GetDuration(), 0.0f) << name;
            EXPECT_GT(clip.GetTicksPerSecond(), 0.0f) << name;
            ASSERT_EQ(clip.GetTracks().size(), 2u) << name;
            for (std::size_t i = 0; i < 2; ++i) {
                EXPECT_EQ(clip.GetTracks()[i].id, i) << name;
                EXPECT_FALSE(clip.GetTracks()[i].positionKeys.empty()) << name;
                EXPECT_FALSE(clip.GetTracks()[i].rotationKeys.empty()) << name;
            }
        }
    }
}
