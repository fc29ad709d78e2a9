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
#include "gameplay/GameLogicSystem.h"
#include "platform/ScriptedInputSource.h"
#include "renderer/Config.h"
#include "renderer/dx11/DXRenderContext.h"
#include "tests/support/ContentDir.h"
#include "tools/writers/ImageWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

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

std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Basename(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

FlowGame::FlowGame(FlowSetup setup) : m_setup(std::move(setup)), m_documents(true)
{
    m_documentsPath = m_documents.Path();
    if (!m_setup.documents.empty()) {
        // The temporary folder puts the previous value back when it goes.
        m_documentsPath = m_setup.documents;
        std::error_code ec;
        fs::create_directories(m_documentsPath, ec);
        setenv("TARSEL_DOCUMENTS", m_documentsPath.c_str(), 1);
    }
    m_display.modes = m_setup.modes;
    SeedDocuments();
    MakeWorkingDirectory();
    m_cwd.emplace(m_workingPath);

    Options options;
    options.fixedDt = m_setup.dt;
    options.simulatedClock = m_setup.simulatedClock;
    options.seed = m_setup.seed;
    m_documents.Write("input.txt", m_setup.inputScript.empty() ? "# nothing\n" : m_setup.inputScript);
    options.inputFile = (m_documents / "input.txt").string();
    m_game.emplace(options);

    auto backend = std::make_unique<RecordingAudioBackend>();
    m_sound = backend->GetRecord();
    m_game->SetAudioBackend(std::move(backend));
    if (m_setup.renderContext)
        m_game->SetRenderContextFactory(m_setup.renderContext);
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
        const bool low = m_setup.config == ConfigSeed::TestLow;
        if (m_setup.config == ConfigSeed::Test || low) {
            config.Write<bool>("EFFECTS", "SHADOWS", false);
            config.Write<bool>("EFFECTS", "GOD_RAYS", false);
        }
        if (low) {
            config.Write<bool>("EFFECTS", "BLOOM", false);
            config.Write("QUALITY", "GRAPHICS", "LOW");
            config.Write("QUALITY", "PARTICLE", "LOW");
        }
        if (m_setup.config != ConfigSeed::FirstRun) {
            config.SaveFullscreen(false);
            config.SaveResolution(ZOR::Dimension{800, 450});
            config.SaveAnisotropy(ZOR::Anisotropy::X1);
        }
        if (m_setup.configure) {
            m_setup.configure(config);
            config.Save(config.GetFileName());
        }
    }
    if (m_setup.saveContent)
        std::ofstream(m_documentsPath / "Corvath/Tarsel/SaveContent.data", std::ios::binary | std::ios::trunc)
            << *m_setup.saveContent;
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
    // A fixture file takes the place of a content file of the same path.
    auto linkFiles = [&](const fs::path& folder, const fs::path& into) {
        std::error_code ec;
        for (auto entry = fs::recursive_directory_iterator(folder, fs::directory_options::follow_directory_symlink, ec);
             !ec && entry != fs::recursive_directory_iterator(); entry.increment(ec)) {
            if (!entry->is_regular_file())
                continue;
            // Lexically: the built content's files are links, and fs::relative would follow them.
            const fs::path link = into / entry->path().lexically_relative(folder);
            std::error_code gone;
            fs::remove(link, gone);
            Link(entry->path(), link);
        }
        if (ec)
            ADD_FAILURE() << "cannot read the folder " << folder << ": " << ec.message();
    };
    if (m_setup.overContent) {
        // Whole folders where no fixture goes, file by file where one does.
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(content, ec)) {
            const fs::path name = entry.path().filename();
            bool shared = false;
            for (const fs::path& fixtures : m_setup.fixtureFolders)
                shared = shared || fs::exists(fixtures / name);
            if (shared)
                linkFiles(entry.path(), m_workingPath / name);
            else
                Link(entry.path(), m_workingPath / name);
        }
    } else {
        for (const char* folder : kLinkedFromContent)
            Link(content / folder, m_workingPath / folder);
    }
    for (const fs::path& fixtures : m_setup.fixtureFolders)
        linkFiles(fixtures, m_workingPath);
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
    // Always installed: the cadence may change while the game runs.
    m_game->GetGraphicsSystem()->SetDrawFilter([this] { return ShouldDraw(); });
    return true;
}

bool FlowGame::ShouldDraw()
{
    ++m_updates;
    if (m_setup.drawEvery <= 1)
        return true;
    if (m_drawNext) {
        m_drawNext = false;
        return true;
    }
    bool loading = false;
    m_game->GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
        if (dynamic_cast<const quellor::LoadAssets*>(&action) && action.IsStarted() && !action.IsFinished())
            loading = true;
    });
    return loading || m_updates % m_setup.drawEvery == 0;
}

bool FlowGame::Frame()
{
    if (m_setup.person)
        m_setup.person(*this, m_game->GetFrameCount() + 1);
    return m_game->Frame();
}

bool FlowGame::RunUntil(const std::function<bool()>& predicate, std::uint32_t maxFrames)
{
    for (std::uint32_t i = 0; i < maxFrames; ++i) {
        if (predicate())
            return true;
        if (!Frame()) {
            std::printf("The game stopped while waiting:\n%s", Dump().c_str());
            return false;
        }
    }
    if (predicate())
        return true;
    std::printf("No result after %u frames:\n%s", static_cast<unsigned>(maxFrames), Dump().c_str());
    return false;
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
    quellor::Engine* engine = quellor::Engine::Existing();
    return engine ? engine->GetEntity(name, "default") : nullptr;
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

std::vector<quellor::Entity*> FlowGame::FindEntitiesWithPrefix(const std::string& prefix) const
{
    std::vector<quellor::Entity*> found;
    quellor::Engine* engine = quellor::Engine::Existing();
    quellor::Space* space = engine ? engine->GetSpace("default") : nullptr;
    if (!space)
        return found;
    for (const auto& [name, entity] : space->GetEntityMap())
        if (entity && name.rfind(prefix, 0) == 0)
            found.push_back(entity);
    std::sort(found.begin(), found.end(),
              [](const quellor::Entity* a, const quellor::Entity* b) { return a->GetName() < b->GetName(); });
    return found;
}

quellor::GameLogicSystem* FlowGame::GetGameLogic() const
{
    return quellor::DefaultSystem<quellor::GameLogicSystem>();
}

std::vector<quellor::Entity*> FlowGame::Players() const
{
    std::vector<quellor::Entity*> players;
    if (quellor::GameLogicSystem* logic = GetGameLogic())
        for (const auto& entry : logic->GetPlayerList())
            players.push_back(entry.Get());
    return players;
}

std::map<std::string, int> FlowGame::Scores() const
{
    quellor::GameLogicSystem* logic = GetGameLogic();
    return logic ? logic->GetScores() : std::map<std::string, int>{};
}

std::vector<std::uint8_t> FlowGame::Screenshot(const std::string& name, const std::string& folder)
{
    m_drawNext = m_setup.drawEvery > 1;
    Frame();
    auto* context = dynamic_cast<ZOR::DXRenderContext*>(m_game->GetGraphicsSystem()->GetRenderContext());
    ZOR::DXRenderContext::ReadBackData data;
    if (!context || !context->ReadBack(context->GetBackBuffer(), data) || data.bytes.empty()) {
        ADD_FAILURE() << "cannot read the back buffer for " << name;
        return {};
    }
    const fs::path into = ContentDir().parent_path() / "screenshots" / folder;
    std::error_code ec;
    fs::create_directories(into, ec);
    tools::Image image{data.size.width, data.size.height, data.bytes};
    for (std::size_t i = 3; i < image.rgba.size(); i += 4)
        image.rgba[i] = 255;
    std::ofstream(into / (name + ".png"), std::ios::binary) << tools::WritePng(image);
    return std::move(image.rgba);
}

std::string FlowGame::Dump() const
{
    std::ostringstream out;
    out << "frame " << m_game->GetFrameCount() << ", fade " << GetFadeFactor() << "\nscreens:";
    for (const std::string& screen : RunningScreens())
        out << ' ' << screen;
    const std::vector<quellor::Entity*> entities = FindEntitiesWithPrefix("");
    out << "\n" << entities.size() << " entities of \"default\":";
    for (const quellor::Entity* entity : entities)
        out << ' ' << entity->GetName();
    out << "\nplayers:";
    for (const quellor::Entity* player : Players())
        out << ' ' << (player ? player->GetName() : std::string("(gone)"));
    out << "\nscores:";
    for (const auto& [team, score] : Scores())
        out << ' ' << team << '=' << score;
    const std::vector<std::string> calls = SoundCalls();
    out << "\nlast sound calls:\n";
    for (std::size_t i = calls.size() > 12 ? calls.size() - 12 : 0; i < calls.size(); ++i)
        out << "  " << calls[i] << '\n';
    return out.str();
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

quellor::MenuScreen* FlowGame::FindScreen(const std::string& name) const
{
    quellor::MenuScreen* found = nullptr;
    m_game->GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
        const auto* screen = dynamic_cast<const quellor::MenuScreen*>(&action);
        if (screen && screen->GetScreenName() == name && screen->IsStarted() && !screen->IsFinished())
            found = const_cast<quellor::MenuScreen*>(screen);
    });
    return found;
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
    return ReadWhole(m_documentsPath / "Corvath/Tarsel/config.ini");
}

std::string FlowGame::ReadSaveContent() const
{
    return ReadWhole(m_documentsPath / "Corvath/Tarsel/SaveContent.data");
}

} // namespace tarsel::test
