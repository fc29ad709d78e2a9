// The game's window on a real X server with no window manager: its size and place, full screen,
// and the picture a player sees, as the server has them. Each test starts its own server; the
// game runs in the built content with an empty input script and silent audio.
#include "engine/Settings.h"
#include "engine/graphics/GraphicsSystem.h"
#include "platform/NativeWindow.h"
#include "platform/SdlDisplay.h"
#include "renderer/Config.h"
#include "renderer/RenderSystem.h"
#include "renderer/Window.h"
#include "tarsel/Game.h"
#include "tests/support/ContentDir.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"
#include "tests/support/XServer.h"
#include "tools/writers/ImageWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using tarsel::test::XServer;

namespace {

// Display 0 as SDL sees it, also offering 800 x 600 as a monitor does (Xvfb offers only its
// screen's own size), installed for the object's lifetime.
class WithWindowedMode : public platform::SdlDisplay {
public:
    WithWindowedMode() { platform::Display::Install(this); }
    ~WithWindowedMode() override { platform::Display::Install(nullptr); }
    WithWindowedMode(const WithWindowedMode&) = delete;
    WithWindowedMode& operator=(const WithWindowedMode&) = delete;

    bool GetModes(std::vector<platform::DisplayModeDesc>& modes, std::string& error) override
    {
        if (!SdlDisplay::GetModes(modes, error))
            return false;
        modes.push_back({800, 600, 60, 0});
        modes = Arrange(std::move(modes), {});
        return true;
    }
};

class DesktopWindow : public testing::Test {
protected:
    DesktopWindow() : documents(true) {}

    // False, leaving the reason in the server, when no X server can start.
    bool StartServer(unsigned width, unsigned height)
    {
        server.emplace(width, height);
        return server->IsRunning();
    }

    // The tests' low-cost settings (every effect off, low quality, 1x filtering) in a windowed
    // 800 x 600 configuration, written before the game starts.
    static ZOR::Config SeedWindowedConfig()
    {
        ZOR::Config config = quellor::LoadConfig(quellor::GetConfigPath());
        for (const char* effect : {"LIGHTING", "BLOOM", "SHADOWS", "GOD_RAYS", "SSAO", "DEPTH_OF_FIELD"})
            config.Write<bool>("EFFECTS", effect, false);
        config.Write("QUALITY", "GRAPHICS", "LOW");
        config.Write("QUALITY", "PARTICLE", "LOW");
        config.SaveAnisotropy(ZOR::Anisotropy::X1);
        config.SaveResolution(ZOR::Dimension(800, 600));
        config.SaveFullscreen(false);
        return config;
    }

    // The game in the built content, every frame lasting dt, started from whatever the documents
    // folder holds.
    bool StartGame(float dt)
    {
        cwd.emplace(tarsel::test::ContentDir());
        documents.Write("input.txt", "# nothing\n");
        tarsel::Options options;
        options.fixedDt = dt;
        options.inputFile = (documents / "input.txt").string();
        game.emplace(options);
        std::string error;
        return game->LoadInputScript(error) && game->Start();
    }

    platform::NativeWindow& GameWindow() { return *game->GetWindow()->GetHWND(); }

    // The game's window as the server has it, after one more frame has handled its messages.
    XServer::Geometry Settled()
    {
        game->Frame();
        const std::optional<XServer::Geometry> geometry = server->Query(GameWindow());
        if (!geometry)
            ADD_FAILURE() << "the game's window is not on " << server->DisplayName();
        return geometry.value_or(XServer::Geometry{});
    }

    ZOR::Config SavedConfig() const { return ZOR::Config(quellor::GetConfigPath()); }

    // Members go in reverse order: the game before the display and the server it is shown on.
    tarsel::test::TempDir documents;
    std::optional<XServer> server;
    std::optional<WithWindowedMode> display;
    std::optional<tarsel::test::WorkingDirectory> cwd;
    std::optional<tarsel::Game> game;
};

void ExpectPlaced(const XServer::Geometry& window, int x, int y, unsigned width, unsigned height)
{
    EXPECT_EQ(window.x, x);
    EXPECT_EQ(window.y, y);
    EXPECT_EQ(window.width, width);
    EXPECT_EQ(window.height, height);
}

struct Screen {
    unsigned width;
    unsigned height;
};

void PrintTo(const Screen& screen, std::ostream* out)
{
    *out << screen.width << "x" << screen.height;
}

class FirstStart : public DesktopWindow, public testing::WithParamInterface<Screen> {};

} // namespace

// No config.ini: the device picks the screen's own mode, saves it, and goes full screen at it.
// The first start keeps its own settings ("ULTRA", 16x filtering, the effects): they are the point.
TEST_P(FirstStart, TakesTheScreenAtItsModeAndShowsTheSplash)
{
    const Screen screen = GetParam();
    if (!StartServer(screen.width, screen.height))
        GTEST_SKIP() << server->Error();
    ASSERT_TRUE(StartGame(0.25f));
    EXPECT_EQ(server->DisconnectionsSoFar(), 0u) << "a connection to the display ended during start-up";

    const XServer::Geometry window = Settled();
    ExpectPlaced(window, 0, 0, screen.width, screen.height);
    EXPECT_TRUE(window.viewable);
    const ZOR::Config saved = SavedConfig();
    EXPECT_EQ(saved.GetResolution().width, screen.width);
    EXPECT_EQ(saved.GetResolution().height, screen.height);
    EXPECT_TRUE(saved.GetFullscreen());

    // The first picture fades in over a second; then the screen shows it.
    while (game->GetGraphicsSystem()->GetFadeFactor() < 0.75f && game->GetFrameCount() < 12)
        game->Frame();
    game->Frame();
    ASSERT_GE(game->GetGraphicsSystem()->GetFadeFactor(), 0.75f);
    tarsel::tools::Image shown{screen.width, screen.height, server->ReadWindow(GameWindow())};
    ASSERT_EQ(shown.rgba.size(), std::size_t{screen.width} * screen.height * 4);
    std::size_t lit = 0;
    for (std::size_t i = 0; i < shown.rgba.size(); i += 4)
        lit += std::max({shown.rgba[i], shown.rgba[i + 1], shown.rgba[i + 2]}) > 24 ? 1 : 0;
    EXPECT_GT(lit, shown.rgba.size() / 4 / 50) << "the screen is black while the splash shows";

    const std::filesystem::path into = tarsel::test::ContentDir().parent_path() / "screenshots" / "x11";
    std::filesystem::create_directories(into);
    std::ofstream(into / ("first_start_" + std::to_string(screen.width) + "x" + std::to_string(screen.height) + ".png"),
                  std::ios::binary)
        << tarsel::tools::WritePng(shown);
}

INSTANTIATE_TEST_SUITE_P(Screens, FirstStart, testing::Values(Screen{1024, 768}, Screen{1280, 720}),
                         [](const testing::TestParamInfo<Screen>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

// The graphics options' full-screen switch calls GraphicsSystem::SetFullscreen.
TEST_F(DesktopWindow, AWindowedStartIsCentredAndFullScreenComesAndGoes)
{
    if (!StartServer(1024, 768))
        GTEST_SKIP() << server->Error();
    display.emplace();
    SeedWindowedConfig();
    ASSERT_TRUE(StartGame(1.0f / 60.0f));
    ExpectPlaced(Settled(), 112, 84, 800, 600);

    game->GetGraphicsSystem()->SetFullscreen(true);
    ExpectPlaced(Settled(), 0, 0, 1024, 768);
    EXPECT_TRUE(SavedConfig().GetFullscreen());

    game->GetGraphicsSystem()->SetFullscreen(false);
    ExpectPlaced(Settled(), 112, 84, 800, 600);
    EXPECT_FALSE(SavedConfig().GetFullscreen());
}

// A configuration without a size (a hand-written one, say) starts windowed at the mode the device
// picks, centred, not in a window of one pixel.
TEST_F(DesktopWindow, AWindowedStartWithoutASizeTakesThePickedModesSize)
{
    if (!StartServer(1024, 768))
        GTEST_SKIP() << server->Error();
    display.emplace();
    ZOR::Config config = SeedWindowedConfig();
    config.Write("ZOR_CONFIG", "WIDTH", "");
    config.Write("ZOR_CONFIG", "HEIGHT", "");
    ASSERT_TRUE(config.Save(config.GetFileName()));
    ASSERT_TRUE(StartGame(1.0f / 60.0f));
    ExpectPlaced(Settled(), 0, 0, 1024, 768);
    EXPECT_FALSE(GameWindow().IsFullscreen());
    EXPECT_EQ(SavedConfig().GetResolution().width, 1024u);
}

TEST_F(DesktopWindow, DisplayCallsBeforeTheDeviceWarnAndLeaveTheWindowAlone)
{
    if (!StartServer(1024, 768))
        GTEST_SKIP() << server->Error();
    const ZOR::Config config = SeedWindowedConfig();
    ZOR::Window window("Tarsel", ZOR::Dimension(800, 600), true);
    ASSERT_NE(window.GetHWND(), nullptr);
    ZOR::RenderSystem system(config, window.GetHWND());

    tarsel::test::StdoutCapture out;
    system.SetDisplayMode(0);
    system.SetFullscreen(true);
    const std::string& text = out.Text();
    const std::string warning = "Warning: Display mode index 0 is out of boundaries. Valid indices are 0--1\n";
    const std::size_t first = text.find(warning);
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find(warning, first + 1), std::string::npos) << "full screen asks for the mode too:\n" << text;

    const std::optional<XServer::Geometry> placed = server->Query(*window.GetHWND());
    ASSERT_TRUE(placed);
    ExpectPlaced(*placed, 112, 84, 800, 600);
    EXPECT_FALSE(window.GetHWND()->IsFullscreen());
    // The setting itself is kept for the device.
    EXPECT_TRUE(system.GetFullscreen());
}

// No connection ends while the window opens on a server without other clients, as on a display
// without a window manager. One opened and closed before the window's own would be the last
// client leaving: the server resets then, and refuses the window's connection while it does
// ("x11 not available", about one start in ten).
TEST(XServerWithoutClients, NoConnectionEndsWhileTheWindowOpens)
{
    XServer server(640, 480);
    if (!server.IsRunning())
        GTEST_SKIP() << server.Error();
    ZOR::Window window("Tarsel", ZOR::Dimension(640, 480), false);
    ASSERT_NE(window.GetHWND(), nullptr);
    EXPECT_EQ(server.DisconnectionsSoFar(), 0u);
}
