// Render-system start-up and cache costs on the OpenGL back end (llvmpipe when headless):
// Initialize as a whole, then the shader set's 51 files compiled and its 37 pairs linked on their
// own; ns per GetTexture/GetMaterial with acquisition protection off and on; and bulk loading of
// the generated content on five loader threads (one per kind) and on one, in files per second.
// There is no peer to compare against. --smoke: a tiny run.
#include "renderer/RenderSystem.h"
#include "renderer/Window.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

fs::path ContentDir()
{
    if (const char* dir = std::getenv("TARSEL_CONTENT_DIR"))
        return dir;
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "content";
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

GLuint Compile(const fs::path& path)
{
    const bool vertex = path.extension() == ".vs";
    const std::string source = Read(path);
    const GLuint shader = glCreateShader(vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    return ok == GL_TRUE ? shader : 0;
}

std::vector<std::pair<std::string, std::string>> Pairs()
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* ps : {"FullscreenQuad", "FinalPass", "FinalPassNoLighting", "DirectionalLight", "HorizontalBlur",
                           "VerticalBlur", "Bloom", "Threshold", "SSAO", "DepthOfField", "GodRaysLightMask", "GodRays",
                           "EdgeDetection", "GlobalVolumetricFog", "BilateralBlur", "RadialBlur",
                           "ChromaticAberration", "Fade"})
        pairs.emplace_back("FullscreenQuad", ps);
    for (const char* vs : {"Renderable3D", "Renderable3DInstanced", "Renderable3DSkinned"})
        pairs.emplace_back(vs, "Renderable3D");
    for (const char* vs : {"Renderable3DShadow", "Renderable3DInstancedShadow", "Renderable3DSkinnedShadow"})
        pairs.emplace_back(vs, "Renderable3DShadow");
    for (const char* vs : {"ShadowPass", "ShadowPassInstanced", "ShadowPassSkinned"})
        pairs.emplace_back(vs, "ShadowPass");
    for (const char* same : {"Renderable2D", "Text", "BillboardedQuad", "Sky", "PointLight", "SpotLight", "Particle",
                             "Line", "DynamicMesh", "Decal"})
        pairs.emplace_back(same, same);
    return pairs;
}

// Generated files by kind, sorted so that every run loads the same set.
std::vector<std::string> Files(const fs::path& folder, const std::string& extension)
{
    std::vector<std::string> files;
    if (fs::exists(folder))
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.path().extension() == extension)
                files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    bool smoke = false;
    for (int i = 1; i < argc; ++i)
        smoke = smoke || std::strcmp(argv[i], "--smoke") == 0;
    const fs::path content = ContentDir();
    const fs::path shaders = content / "shaders";

    ZOR::Window window("render_init", ZOR::Dimension(800, 600), false);
    ZOR::RenderSystem system(ZOR::Config(""), window.GetHWND());
    system.SetShaderPath(shaders.string() + "/");
    const auto start = Clock::now();
    if (!window.IsAlive() || !system.Initialize()) {
        std::printf("render_init: OpenGL 4.5 could not start (set SDL_VIDEODRIVER=offscreen when headless)\n");
        return 1;
    }
    std::printf("Initialize (51 shader files, defaults, shadow map): %.1f ms, %zu shaders missing\n",
                Seconds(start) * 1e3, system.GetMissingShaders().size());

    // Compiling and linking on their own, straight through GL, as many rounds as asked.
    const int rounds = smoke ? 1 : 5;
    double compileTime = 0.0, linkTime = 0.0;
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::pair<std::string, GLuint>> compiled;
        auto t = Clock::now();
        for (const auto& entry : fs::directory_iterator(shaders))
            compiled.emplace_back(entry.path().filename().string(), Compile(entry.path()));
        compileTime += Seconds(t);
        const auto find = [&](const std::string& name) {
            for (const auto& [n, shader] : compiled)
                if (n == name)
                    return shader;
            return GLuint(0);
        };
        t = Clock::now();
        for (const auto& [vs, ps] : Pairs()) {
            const GLuint program = glCreateProgram();
            glAttachShader(program, find("ZOR_" + vs + ".vs"));
            glAttachShader(program, find("ZOR_" + ps + ".ps"));
            glLinkProgram(program);
            GLint ok = GL_FALSE;
            glGetProgramiv(program, GL_LINK_STATUS, &ok);
            glDeleteProgram(program);
        }
        linkTime += Seconds(t);
        for (const auto& [n, shader] : compiled)
            glDeleteShader(shader);
    }
    std::printf("compile 51 files: %.1f ms; link 37 pairs: %.1f ms (mean of %d)\n", compileTime * 1e3 / rounds,
                linkTime * 1e3 / rounds, rounds);

    // Look-ups.
    system.LoadTexture((content / "textures" / "sun.dds").string());
    system.LoadMaterial("bench.mat");
    const int lookups = smoke ? 10000 : 5000000;
    for (bool protect : {false, true}) {
        system.ProtectResourceAcquisitions(protect);
        std::uintptr_t sink = 0;
        auto t = Clock::now();
        for (int i = 0; i < lookups; ++i)
            sink += system.GetTexture("sun.dds").index;
        const double texture = Seconds(t);
        t = Clock::now();
        for (int i = 0; i < lookups; ++i)
            sink += reinterpret_cast<std::uintptr_t>(system.GetMaterial("bench.mat"));
        const double material = Seconds(t);
        std::printf("protection %s: GetTexture %.1f ns, GetMaterial %.1f ns (%zu)\n", protect ? "on " : "off",
                    texture * 1e9 / lookups, material * 1e9 / lookups, static_cast<std::size_t>(sink & 1));
    }
    system.ProtectResourceAcquisitions(false);

    // Bulk loading: every generated file of each kind, several rounds, unloaded in between.
    const std::vector<std::string> textures = Files(content / "textures", ".dds");
    const std::vector<std::string> models = Files(content / "models", ".model");
    const std::vector<std::string> clips = Files(content / "animations", ".anim");
    const std::vector<std::string> fonts = Files(content / "fonts", ".bff");
    const std::vector<std::string> materials = Files(content, ".mat");
    const std::size_t fileCount = textures.size() + models.size() + clips.size() + fonts.size() + materials.size();
    const int loadRounds = smoke ? 1 : 20;
    const std::function<void()> loaders[] = {
        [&] { for (const auto& f : textures) system.LoadTexture(f); },
        [&] { for (const auto& f : models) system.LoadModel(f); },
        [&] { for (const auto& f : clips) system.LoadAnimation(f); },
        [&] { for (const auto& f : fonts) system.LoadFont(f); },
        [&] { for (const auto& f : materials) system.LoadMaterial(f); },
    };
    const auto unload = [&] {
        for (const auto& f : textures)
            system.UnloadTexture(ZOR::RenderSystem::GetResourceName(f));
        system.UnloadModels();
        system.UnloadAnimations();
        system.UnloadFonts();
        for (const auto& f : materials)
            system.UnloadMaterial(ZOR::RenderSystem::GetResourceName(f));
    };
    for (int threads : {5, 1}) {
        double total = 0.0;
        for (int round = 0; round < loadRounds; ++round) {
            system.ProtectResourceAcquisitions(true);
            const auto t = Clock::now();
            if (threads == 5) {
                std::vector<std::thread> running;
                for (const auto& load : loaders)
                    running.emplace_back(load);
                for (std::thread& thread : running)
                    thread.join();
            } else {
                for (const auto& load : loaders)
                    load();
            }
            // The main thread's next frame uploads what the loaders queued.
            system.GetRenderContext()->SwapBuffers();
            total += Seconds(t);
            system.ProtectResourceAcquisitions(false);
            unload();
        }
        std::printf("bulk load on %d thread%s: %zu files, %.0f files/s\n", threads, threads == 1 ? "" : "s", fileCount,
                    static_cast<double>(fileCount) * loadRounds / total);
    }
    return 0;
}
