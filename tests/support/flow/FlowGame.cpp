#include "tests/support/flow/FlowGame.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/LoadAssets.h"
#include "engine/Settings.h"
#include "engine/Space.h"
#include "engine/System.h"
#include "engine/Transform2D.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/MenuScreen.h"
#include "platform/ScriptedInputSource.h"
#include "renderer/Config.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tarsel::test {

namespace {

namespace fs = std::filesystem;

// What a temporary working directory takes from the built content: the shaders and the fonts
// the loading screen draws with.
const char* const kLinkedFromContent[] = {"shaders", "fonts", "textures/fonts"};

void Link(const fs::path& target, const fs::path& link)
{
    std::error_code ec;
    fs::create_directories(link.parent_path(), ec);
    fs::create_symlink(fs::absolute(target), link, ec);
    if (ec)
        ADD_FAILURE() << "cannot link " << link << " to " << target << ": " << ec.message();
}

std::string Basename(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

FlowGame::FlowGame(FlowSetup setup) : m_setup(std::move(setup)), m_documents(true)
{
    m_display.modes = m_setup.modes;
    SeedDocuments();
    MakeWorkingDirectory();
    m_cwd.emplace(m_workingPath);

    Options options;
    options.fixedDt = m_setup.dt;
    options.simulatedClock = true;
    m_documents.Write("input.txt", m_setup.inputScript.empty() ? "# nothing\n" : m_setup.inputScript);
    options.inputFile = (m_documents / "input.txt").string();
    m_game.emplace(options);

    auto backend = std::make_unique<RecordingAudioBackend>();
    m_sound = backend->GetRecord();
    m_game->SetAudioBackend(std::move(backend));
    if (m_setup.startupTree) {
        m_game->SetStartupTree(m_setup.startupTree);
    } else if (m_setup.screen) {
        auto screen = m_setup.screen;
        m_game->SetStartupTree([screen](Game&) { return quellor::MakeSequence(new quellor::LoadAssets, screen()); });
    }
}

FlowGame::~FlowGame()
{
    // The engine goes while the working directory and the documents are still there.
    m_game.reset();
}

void FlowGame::SeedDocuments()
{
    const std::string configPath = quellor::GetConfigPath(); // makes Corvath/Tarsel
    if (m_setup.config != ConfigSeed::None) {
        // The first run's file, written by the code that writes it in the game.
        ZOR::Config config = quellor::LoadConfig(configPath);
        if (m_setup.config == ConfigSeed::Test) {
            config.Write<bool>("EFFECTS", "SHADOWS", false);
            config.Write<bool>("EFFECTS", "GOD_RAYS", false);
            config.SaveFullscreen(false);
            config.SaveResolution(ZOR::Dimension{800, 450});
            config.SaveAnisotropy(ZOR::Anisotropy::X1);
        }
    }
    if (m_setup.saveContent)
        m_documents.Write("Corvath/Tarsel/SaveContent.data", *m_setup.saveContent);
}

void FlowGame::MakeWorkingDirectory()
{
    if (!m_setup.workingDirectory.empty()) {
        m_workingPath = m_setup.workingDirectory;
        return;
    }
    m_folder.emplace(false);
    m_workingPath = m_folder->Path();
    const fs::path content = fs::absolute(ContentDir());
    for (const char* folder : kLinkedFromContent)
        Link(content / folder, m_workingPath / folder);
    for (const fs::path& fixtures : m_setup.fixtureFolders) {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(fixtures, ec))
            if (entry.is_regular_file())
                Link(entry.path(), m_workingPath / fs::relative(entry.path(), fixtures));
        if (ec)
            ADD_FAILURE() << "cannot read the fixture folder " << fixtures << ": " << ec.message();
    }
    if (m_setup.writeFixtures)
        m_setup.writeFixtures(m_workingPath);
}

bool FlowGame::Start()
{
    std::string error;
    if (!m_game->LoadInputScript(error)) {
        ADD_FAILURE() << "input script: " << error;
        return false;
    }
    if (!m_game->Start()) {
        ADD_FAILURE() << "the game did not start";
        return false;
    }
    return true;
}

bool FlowGame::Frame()
{
    return m_game->Frame();
}

bool FlowGame::RunUntil(const std::function<bool()>& predicate, std::uint32_t maxFrames)
{
    for (std::uint32_t i = 0; i < maxFrames; ++i) {
        if (predicate())
            return true;
        if (!Frame())
            return false;
    }
    return predicate();
}

void FlowGame::RunFrames(std::uint32_t count)
{
    for (std::uint32_t i = 0; i < count && Frame(); ++i) {
    }
}

platform::ScriptedInputSource& FlowGame::Input()
{
    return *m_game->GetScriptedInput();
}

quellor::Entity* FlowGame::FindEntity(const std::string& name) const
{
    return quellor::Engine::HasInstance() ? quellor::Engine::Instance()->GetEntity(name, "default") : nullptr;
}

quellor::Transform2D* FlowGame::FindTransform2D(const std::string& name) const
{
    quellor::Entity* entity = FindEntity(name);
    return entity ? entity->GetComponent<quellor::Transform2D>() : nullptr;
}

quellor::Transform3D* FlowGame::FindTransform3D(const std::string& name) const
{
    quellor::Entity* entity = FindEntity(name);
    return entity ? entity->GetComponent<quellor::Transform3D>() : nullptr;
}

std::string FlowGame::FindMaterial(const std::string& name) const
{
    quellor::Entity* entity = FindEntity(name);
    if (!entity)
        return {};
    if (auto* sprite = entity->GetComponent<quellor::GraphicsComponent2D>())
        return sprite->m_materialName;
    if (auto* model = entity->GetComponent<quellor::GraphicsComponent3D>())
        return model->m_materialName;
    if (auto* skinned = entity->GetComponent<quellor::GraphicsComponent3DSkinned>())
        return skinned->m_materialName;
    return {};
}

std::optional<float> FlowGame::FindAlpha2D(const std::string& name) const
{
    quellor::Entity* entity = FindEntity(name);
    auto* sprite = entity ? entity->GetComponent<quellor::GraphicsComponent2D>() : nullptr;
    if (!sprite)
        return std::nullopt;
    return sprite->GetAlpha();
}

float FlowGame::GetFadeFactor() const
{
    return m_game->GetGraphicsSystem()->GetFadeFactor();
}

unsigned FlowGame::GetScreenCount() const
{
    return m_game->GetGraphicsSystem()->GetActiveScreens();
}

bool FlowGame::IsSystemActive(const std::string& name) const
{
    quellor::System* system = quellor::Engine::Instance()->GetSystem(name, "default");
    return system && system->IsActive();
}

std::vector<std::string> FlowGame::RunningScreens() const
{
    std::vector<std::string> names;
    m_game->GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
        if (const auto* screen = dynamic_cast<const quellor::MenuScreen*>(&action))
            if (screen->IsStarted() && !screen->IsFinished())
                names.push_back(screen->GetScreenName());
    });
    return names;
}

std::vector<std::string> FlowGame::SoundCalls() const
{
    std::vector<std::string> calls;
    for (const std::string& call : m_sound->calls) {
        unsigned id = 0;
        int used = 0;
        if (std::sscanf(call.c_str(), "play %u%n", &id, &used) == 1) {
            const auto found = m_sound->loaded.find(id);
            const std::string file = found == m_sound->loaded.end() ? "?" : Basename(found->second);
            calls.push_back("play " + file + call.substr(static_cast<std::size_t>(used)));
        } else {
            calls.push_back(call);
        }
    }
    return calls;
}

int FlowGame::CountPlays(const std::string& file) const
{
    int count = 0;
    for (const std::string& call : SoundCalls())
        if (call.rfind("play " + file + " ", 0) == 0)
            ++count;
    return count;
}

std::string FlowGame::ReadConfig() const
{
    const fs::path path = m_documents / "Corvath/Tarsel/config.ini";
    return fs::exists(path) ? m_documents.Read("Corvath/Tarsel/config.ini") : std::string();
}

std::string FlowGame::ReadSaveContent() const
{
    const fs::path path = m_documents / "Corvath/Tarsel/SaveContent.data";
    return fs::exists(path) ? m_documents.Read("Corvath/Tarsel/SaveContent.data") : std::string();
}

} // namespace tarsel::test
