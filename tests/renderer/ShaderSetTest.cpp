// The shader files compiled and linked straight through OpenGL: every file compiles, every pair
// the passes bind links, and what the program exposes sits where the render system binds it.
#include "tests/support/GLContextFixture.h"
#include "tests/support/ContentDir.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::filesystem::path ShaderDir()
{
    return tarsel::test::ContentDir() / "shaders";
}

std::string ReadSource(const std::string& name)
{
    std::ifstream in(ShaderDir() / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

GLuint Compile(const std::string& name, std::string& log)
{
    const bool vertex = name.size() > 3 && name.compare(name.size() - 3, 3, ".vs") == 0;
    const std::string source = ReadSource(name);
    if (source.empty()) {
        log = "missing file";
        return 0;
    }
    const GLuint shader = glCreateShader(vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        char buffer[4096] = {};
        glGetShaderInfoLog(shader, sizeof(buffer), nullptr, buffer);
        log = buffer;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// The thirteen constant buffers' vertex and pixel slots as the render system binds them
// (-1: not bound to that stage), by block name, with their sizes in bytes.
struct BufferSlots {
    int vertex;
    int pixel;
    unsigned bytes;
};
const std::map<std::string, BufferSlots> kSlots = {
    {"Screen", {1, 6, 80}},   {"Camera", {0, 0, 320}},   {"Object", {3, -1, 132}}, {"Bones", {4, -1, 5120}},
    {"Billboard", {5, -1, 24}}, {"DirLight", {-1, 2, 32}}, {"Text", {6, -1, 24}},  {"Material", {-1, 1, 40}},
    {"Shadow", {2, 5, 72}},   {"Settings", {-1, 3, 96}}, {"Sun", {-1, 7, 32}},     {"Ambient", {-1, 4, 16}},
    {"ScreenFx", {-1, 8, 16}},
};
constexpr int kPixelBindingBase = 14;

// Byte offsets of block members that the renderer writes.
const std::map<std::string, int> kOffsets = {
    {"targetSize", 64}, {"invDt", 72},    {"k30", 76},        {"prevViewProj", 256}, {"normalMat", 64},
    {"glow", 128},      {"scale", 16},    {"shininess", 32},  {"flags", 36},         {"sunViewProj", 0},
    {"fade", 40},       {"bloom1", 24},   {"bloom2", 16},     {"godSamples", 60},    {"blur", 64},
    {"fog3", 76},       {"fogColor", 80}, {"size", 16},       {"radialStrength", 12}, {"invProj", 192},
};

const char* const kFullscreenPixel[] = {
    "ZOR_FullscreenQuad.ps", "ZOR_FinalPass.ps",     "ZOR_FinalPassNoLighting.ps", "ZOR_DirectionalLight.ps",
    "ZOR_HorizontalBlur.ps", "ZOR_VerticalBlur.ps",  "ZOR_Bloom.ps",               "ZOR_Threshold.ps",
    "ZOR_SSAO.ps",           "ZOR_DepthOfField.ps",  "ZOR_GodRaysLightMask.ps",    "ZOR_GodRays.ps",
    "ZOR_EdgeDetection.ps",  "ZOR_GlobalVolumetricFog.ps", "ZOR_BilateralBlur.ps", "ZOR_RadialBlur.ps",
    "ZOR_ChromaticAberration.ps", "ZOR_Fade.ps",
};

std::vector<std::pair<std::string, std::string>> Pairs()
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* ps : kFullscreenPixel)
        pairs.emplace_back("ZOR_FullscreenQuad.vs", ps);
    for (const char* vs : {"ZOR_Renderable3D.vs", "ZOR_Renderable3DInstanced.vs", "ZOR_Renderable3DSkinned.vs"})
        pairs.emplace_back(vs, "ZOR_Renderable3D.ps");
    for (const char* vs :
         {"ZOR_Renderable3DShadow.vs", "ZOR_Renderable3DInstancedShadow.vs", "ZOR_Renderable3DSkinnedShadow.vs"})
        pairs.emplace_back(vs, "ZOR_Renderable3DShadow.ps");
    for (const char* vs : {"ZOR_ShadowPass.vs", "ZOR_ShadowPassInstanced.vs", "ZOR_ShadowPassSkinned.vs"})
        pairs.emplace_back(vs, "ZOR_ShadowPass.ps");
    for (const char* same : {"Renderable2D", "Text", "BillboardedQuad", "Sky", "PointLight", "SpotLight", "Particle",
                             "Line", "DynamicMesh", "Decal"})
        pairs.emplace_back(std::string("ZOR_") + same + ".vs", std::string("ZOR_") + same + ".ps");
    return pairs;
}

class ShaderSetTest : public tarsel::test::GLContextFixture {};

TEST_F(ShaderSetTest, TheFolderHoldsExactlyTheFiftyOneFilesAndEachCompiles)
{
    Context();
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(ShaderDir()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names.size(), 51u);
    std::size_t vertex = 0;
    for (const std::string& name : names) {
        std::string log;
        const GLuint shader = Compile(name, log);
        EXPECT_NE(shader, 0u) << name << ": " << log;
        glDeleteShader(shader);
        vertex += name.ends_with(".vs") ? 1 : 0;
    }
    EXPECT_EQ(vertex, 20u);
}

TEST_F(ShaderSetTest, EveryPairLinksWithItsBlocksSamplersAndOffsetsWhereTheRendererPutsThem)
{
    Context();
    const auto pairs = Pairs();
    ASSERT_EQ(pairs.size(), 37u);
    std::size_t blocksSeen = 0, offsetsSeen = 0, samplersSeen = 0;
    for (const auto& [vsName, psName] : pairs) {
        SCOPED_TRACE(vsName + " + " + psName);
        std::string log;
        const GLuint vs = Compile(vsName, log);
        const GLuint ps = Compile(psName, log);
        ASSERT_TRUE(vs != 0 && ps != 0) << log;
        const GLuint program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, ps);
        glLinkProgram(program);
        GLint linked = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        if (linked != GL_TRUE) {
            char buffer[4096] = {};
            glGetProgramInfoLog(program, sizeof(buffer), nullptr, buffer);
            ADD_FAILURE() << buffer;
        }

        GLint blockCount = 0;
        glGetProgramiv(program, GL_ACTIVE_UNIFORM_BLOCKS, &blockCount);
        for (GLint b = 0; b < blockCount; ++b) {
            char name[128] = {};
            glGetActiveUniformBlockName(program, static_cast<GLuint>(b), sizeof(name), nullptr, name);
            const std::string block(name);
            ASSERT_GT(block.size(), 2u);
            const std::string stage = block.substr(block.size() - 2);
            const auto slots = kSlots.find(block.substr(0, block.size() - 2));
            ASSERT_NE(slots, kSlots.end()) << block;
            const int slot = stage == "VS" ? slots->second.vertex : slots->second.pixel;
            ASSERT_GE(slot, 0) << block << " is not bound to that stage";
            GLint binding = -1, bytes = 0;
            glGetActiveUniformBlockiv(program, static_cast<GLuint>(b), GL_UNIFORM_BLOCK_BINDING, &binding);
            glGetActiveUniformBlockiv(program, static_cast<GLuint>(b), GL_UNIFORM_BLOCK_DATA_SIZE, &bytes);
            EXPECT_EQ(binding, stage == "VS" ? slot : kPixelBindingBase + slot) << block;
            EXPECT_EQ(static_cast<unsigned>(bytes), (slots->second.bytes + 15u) / 16u * 16u) << block;
            ++blocksSeen;
        }

        GLint uniformCount = 0;
        glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &uniformCount);
        glUseProgram(program);
        for (GLint u = 0; u < uniformCount; ++u) {
            char name[128] = {};
            GLint size = 0;
            GLenum type = 0;
            glGetActiveUniform(program, static_cast<GLuint>(u), sizeof(name), nullptr, &size, &type, name);
            const std::string uniform(name);
            GLint offset = -1;
            const GLuint index = static_cast<GLuint>(u);
            glGetActiveUniformsiv(program, 1, &index, GL_UNIFORM_OFFSET, &offset);
            if (type == GL_SAMPLER_2D) {
                ASSERT_EQ(uniform.rfind("Texture", 0), 0u) << uniform;
                const int unitWanted = uniform[7] - '0';
                EXPECT_LE(unitWanted, 4);
                GLint unit = -1;
                glGetUniformiv(program, glGetUniformLocation(program, name), &unit);
                EXPECT_EQ(unit, unitWanted) << uniform;
                ++samplersSeen;
                continue;
            }
            const std::size_t dot = uniform.find('.');
            ASSERT_NE(dot, std::string::npos) << uniform << " lies outside every block";
            const auto expected = kOffsets.find(uniform.substr(dot + 1));
            if (expected != kOffsets.end()) {
                EXPECT_EQ(offset, expected->second) << uniform;
                ++offsetsSeen;
            }
        }
        glUseProgram(0);
        glDeleteProgram(program);
        glDeleteShader(vs);
        glDeleteShader(ps);
    }
    // The pairs between them use blocks, members and samplers, or nothing above was checked.
    EXPECT_GT(blocksSeen, 30u);
    EXPECT_GT(offsetsSeen, 10u);
    EXPECT_GT(samplersSeen, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
