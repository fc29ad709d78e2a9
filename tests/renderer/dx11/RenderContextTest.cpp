#include "renderer/dx11/RenderContext.h"
#include "tests/support/ErrorBoxRecorder.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using tarsel::test::ErrorBoxRecorder;
using tarsel::test::RecordingRenderContext;
using tarsel::test::StdoutCapture;
using Exception = ZOR::RenderContext::RenderContextException;

namespace {

// A null format reaches the function without the compiler's format check seeing a literal.
const char* NullFormat()
{
    static const char* volatile none = nullptr;
    return none;
}

} // namespace

TEST(Log, WritesTheTextAndANewline)
{
    StdoutCapture out;
    ZOR::Log("Warning: %s %d", "value", 42);
    ZOR::RenderContext::Log("Notice: second");
    EXPECT_EQ(out.Text(), "Warning: value 42\nNotice: second\n");
}

TEST(Log, CutsLongTextAt2047CharactersAndKeepsTheNewline)
{
    const std::string text(5000, 'a');
    StdoutCapture out;
    ZOR::Log("%s", text.c_str());
    EXPECT_EQ(out.Text(), std::string(2047, 'a') + "\n");
}

TEST(Log, NullFormatWritesError)
{
    StdoutCapture out;
    ZOR::Log(NullFormat());
    EXPECT_EQ(out.Text(), "Error!\n");
}

TEST(RenderContextException, FormatsItsTextAndAsksForOneErrorBox)
{
    ErrorBoxRecorder boxes;
    const Exception formatted("Failed to load texture \"%s\"", "a.dds");
    EXPECT_STREQ(formatted.what(), "Failed to load texture \"a.dds\"");
    const Exception unnamed(NullFormat());
    EXPECT_EQ(unnamed.GetMessage(), "Unhandled exception!");
    const std::string longText(3000, 'b');
    const Exception cut("%s", longText.c_str());
    EXPECT_EQ(cut.GetMessage().size(), 2047u);

    const auto requests = boxes.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0], (std::pair<std::string, std::string>{"Error!", "Failed to load texture \"a.dds\""}));
    EXPECT_EQ(requests[1], (std::pair<std::string, std::string>{"Error!", "Unhandled exception!"}));
}

TEST(RenderContextException, LeavesFullScreenOnTheMainThreadOnly)
{
    ErrorBoxRecorder boxes;
    RecordingRenderContext context;
    { const Exception onMain("Failed to test."); }
    std::thread([] { const Exception onLoader("Failed to load on a loader thread."); }).join();

    // The loader thread neither touched the display nor asked for a box.
    EXPECT_EQ(context.Calls(), (std::vector<std::string>{"SetFullscreen(false)"}));
    const auto requests = boxes.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].second, "Failed to test.");
}

TEST(RenderContext, ASecondContextWarnsOnceAndTheFirstStaysRegistered)
{
    EXPECT_EQ(ZOR::RenderContext::Instance(), nullptr);
    auto first = std::make_unique<RecordingRenderContext>();
    EXPECT_EQ(ZOR::RenderContext::Instance(), first.get());
    {
        StdoutCapture out;
        auto second = std::make_unique<RecordingRenderContext>();
        EXPECT_EQ(out.Text(), "Warning: A ZOR render context already exists!\n");
        EXPECT_EQ(ZOR::RenderContext::Instance(), first.get());
        second.reset();
        // The second one going away leaves the first one registered.
        EXPECT_EQ(ZOR::RenderContext::Instance(), first.get());
    }
    first.reset();
    EXPECT_EQ(ZOR::RenderContext::Instance(), nullptr);
}

TEST(RenderContext, BaseGettersReadTheConfigurationCopy)
{
    tarsel::test::TempDir folder;
    folder.Write("config.ini", "[ZOR_CONFIG]\nFULLSCREEN=1\nVSYNC=1\n");
    RecordingRenderContext context(ZOR::Config((folder / "config.ini").string()));
    EXPECT_TRUE(context.GetVsync());
    EXPECT_TRUE(context.GetFullscreen());
    EXPECT_EQ(context.GetBackBuffer(), ZOR::Handle(ZOR::ObjectType::BackBuffer, 0));
    EXPECT_TRUE(static_cast<bool>(context.GetBackBuffer()));
    EXPECT_TRUE(context.GetDisplayModeList().empty());

    // The level in use is the one read at construction; the file has no key for it.
    const std::string before = folder.Read("config.ini");
    context.SetMSAALevel(ZOR::MSAALevel::Samples4);
    EXPECT_EQ(context.GetConfig().GetMSAALevel(), ZOR::MSAALevel::Samples1);
    EXPECT_EQ(folder.Read("config.ini"), before);
}

TEST(RecordingRenderContext, RecordsCallsAndHandsOutSlotsPerKind)
{
    RecordingRenderContext context;
    ZOR::Handle a, b, target;
    EXPECT_TRUE(context.CreateTexture(a, "a.dds", true));
    EXPECT_TRUE(context.CreateTexture(b, nullptr, ZOR::Dimension(4, 2), ZOR::Format::R8G8B8A8_UNORM));
    EXPECT_TRUE(context.CreateRenderTarget(target, ZOR::RenderTargetPolicy::ScaledScreenSize,
                                           ZOR::Format::R16G16B16A16_FLOAT, 0.5f, ZOR::Dimension()));
    EXPECT_EQ(a, ZOR::Handle(ZOR::ObjectType::Texture, 0));
    EXPECT_EQ(b, ZOR::Handle(ZOR::ObjectType::Texture, 1));
    EXPECT_EQ(target, ZOR::Handle(ZOR::ObjectType::RenderTarget, 0));
    context.Release(a);
    EXPECT_FALSE(static_cast<bool>(a));
    context.OnSize(640, 480);
    EXPECT_EQ(context.Calls(), (std::vector<std::string>{
                                   "CreateTexture(null, \"a.dds\", true)",
                                   "CreateTexture(null, null, 4x2, 2)",
                                   "CreateRenderTarget(null, 2, 18, 0.5, 0x0)",
                                   "Release({2, 0})",
                                   "OnSize(640, 480)",
                               }));
    EXPECT_EQ(context.Count("CreateTexture"), 2u);
}
