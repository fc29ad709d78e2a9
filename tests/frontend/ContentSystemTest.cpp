// The cosmetic content store and its save file in a temporary documents folder: the first
// run's bytes, round trips, the unlock rule, and damaged or hostile files, which keep what was
// read before the fault, warn once and never allocate from an unchecked length or count.
#include "frontend/content/ContentSystem.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tools/writers/SaveContentWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

using quellor::ContentSystem;
using Names = ContentSystem::Names;
using tarsel::test::TempDir;

// The largest single allocation while a probe is on: a damaged length or count must not
// turn into a large block.
namespace {
std::atomic<bool> g_probing{false};
std::atomic<std::size_t> g_largest{0};
} // namespace

namespace {
void* Allocate(std::size_t size) noexcept
{
    if (g_probing.load(std::memory_order_relaxed) && size > g_largest.load(std::memory_order_relaxed))
        g_largest.store(size, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
} // namespace

void* operator new(std::size_t size)
{
    if (void* block = Allocate(size))
        return block;
    throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace {

const Names kHair = {"hair_tarsel:hair_black", "hair_tarsel:mask_purple", "hair_tarsel:mask_red"};
const Names kMasks = {"mask_default:mask_default", "mask_fox:mask_fox0", "mask_default:mask_fox1",
                      "mask_bunny:mask_bunny"};

std::string Sample(const std::string& name)
{
    for (const auto& sample : tarsel::tools::SaveContentSamples())
        if (sample.name == name)
            return sample.bytes;
    ADD_FAILURE() << "no sample " << name;
    return {};
}

class ContentSystemTest : public ::testing::Test {
protected:
    ContentSystemTest() : documents(true) {}

    std::filesystem::path SavePath() const { return documents / "Corvath/Tarsel/SaveContent.data"; }
    std::string SavedBytes() const { return documents.Read("Corvath/Tarsel/SaveContent.data"); }
    void WriteSave(const std::string& bytes) const
    {
        std::filesystem::create_directories(SavePath().parent_path());
        documents.Write("Corvath/Tarsel/SaveContent.data", bytes);
    }

    TempDir documents;
};

TEST_F(ContentSystemTest, AFirstRunWritesTheTwoHundredTwentyGoldenBytes)
{
    ContentSystem content;
    EXPECT_TRUE(content.GetLockedHair().empty());
    EXPECT_TRUE(content.GetLockedMasks().empty());
    EXPECT_EQ(content.GetHair(), kHair);
    EXPECT_EQ(content.GetMasks(), kMasks);
    content.Load(); // no file: nothing changes
    content.Save();
    const std::string bytes = SavedBytes();
    ASSERT_EQ(bytes.size(), 220u);
    EXPECT_EQ(bytes, Sample("fresh"));
    // Hats: count 1, then length 18 and "birthday_halo_hat" with its NUL, little-endian.
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x01\0\0\0\x12\0\0\0", 8));
    EXPECT_EQ(bytes.substr(8, 18), std::string("birthday_halo_hat\0", 18));
    EXPECT_EQ(bytes.substr(26, 4), std::string("\x03\0\0\0", 4));
    EXPECT_EQ(bytes.substr(110, 4), std::string("\x04\0\0\0", 4));
    EXPECT_FALSE(std::filesystem::exists(SavePath().string() + ".tmp"));
}

TEST_F(ContentSystemTest, ASavedBirthdayHatComesBackAfterTheHaloAndUnknownMasksGoForGood)
{
    WriteSave(tarsel::tools::SaveContentFile({"birthday_hat"}, {}, {"mask_cat:mask_cat", "mask_fox:mask_fox0"}));
    {
        ContentSystem content;
        content.Load();
        EXPECT_EQ(content.GetUnlockedHats(), (Names{"birthday_halo_hat", "birthday_hat"}));
        EXPECT_EQ(content.GetUnlockedMasks(), kMasks);
        EXPECT_FALSE(content.IsMaskUnlocked("mask_cat:mask_cat"));
        content.Save();
    }
    EXPECT_EQ(SavedBytes(), tarsel::tools::SaveContentFile({"birthday_halo_hat", "birthday_hat"}, kHair, kMasks));
}

TEST_F(ContentSystemTest, TheUnlockRuleAndTheLockedLists)
{
    ContentSystem content(ContentSystem::Unlocked{{}, {"hair_tarsel:mask_red"}, {}});
    EXPECT_EQ(content.GetLockedHair(), (Names{"hair_tarsel:hair_black", "hair_tarsel:mask_purple"}));
    EXPECT_EQ(content.GetLockedMasks(), kMasks);
    EXPECT_FALSE(content.UnlockMask("mask_fox:mask_fox0")); // newly added: false, appended
    EXPECT_TRUE(content.UnlockMask("mask_fox:mask_fox0"));  // already there: true, no change
    EXPECT_FALSE(content.UnlockMask("mask_fox:mask_fox9")); // not in the master list
    EXPECT_FALSE(content.UnlockMask("Mask_fox:mask_fox0")); // whole names, case and all
    EXPECT_EQ(content.GetUnlockedMasks(), Names{"mask_fox:mask_fox0"});
    EXPECT_FALSE(content.UnlockHair("hair_tarsel:hair_black"));
    EXPECT_EQ(content.GetUnlockedHair(), (Names{"hair_tarsel:mask_red", "hair_tarsel:hair_black"}));
    EXPECT_TRUE(content.IsHairUnlocked("hair_tarsel:hair_black"));
    EXPECT_FALSE(content.UnlockHat("birthday_hat"));
    EXPECT_TRUE(content.UnlockHat("birthday_hat"));
    EXPECT_FALSE(content.UnlockHat("party_hat"));
    EXPECT_EQ(content.GetUnlockedHats(), Names{"birthday_hat"});
}

// Each sample loaded into a store with nothing unlocked: what it unlocked and whether it
// reported a fault.
TEST_F(ContentSystemTest, DamagedFilesKeepWhatCameBeforeTheFault)
{
    struct Case {
        const char* sample;
        Names hats, hair, masks;
        bool whole;
    };
    const Case cases[] = {
        {"fresh", {"birthday_halo_hat"}, kHair, kMasks, true},
        {"no_nul", {"birthday_hat", "birthday_halo_hat"}, {}, {}, true},
        {"duplicate", {"birthday_hat"}, {}, {}, true},
        {"empty", {}, {}, {}, false},
        {"cut_in_name", {"birthday_hat"}, {}, {}, false},
        {"length_minus_one", {"birthday_hat"}, {}, {}, false},
        {"length_max", {"birthday_hat"}, {}, {}, false},
        {"huge_count", {"birthday_hat"}, {}, {}, false},
        {"negative_count", {}, {}, {"mask_fox:mask_fox0"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sample);
        const std::string bytes = Sample(c.sample);
        ContentSystem content(ContentSystem::Unlocked{});
        g_largest = 0;
        g_probing = true;
        const bool whole = content.LoadFrom(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        g_probing = false;
        EXPECT_EQ(whole, c.whole);
        EXPECT_EQ(content.GetUnlockedHats(), c.hats);
        EXPECT_EQ(content.GetUnlockedHair(), c.hair);
        EXPECT_EQ(content.GetUnlockedMasks(), c.masks);
        EXPECT_LT(g_largest.load(), 4096u);
    }
}

TEST_F(ContentSystemTest, ADamagedFileWarnsOnceNamingItAndKeepsTheDefaults)
{
    WriteSave(Sample("cut_in_name"));
    ContentSystem content;
    tarsel::test::StdoutCapture capture;
    content.Load();
    const std::string& text = capture.Text();
    EXPECT_NE(text.find(SavePath().string()), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(content.GetUnlockedHats(), (Names{"birthday_halo_hat", "birthday_hat"}));
    EXPECT_EQ(content.GetUnlockedHair(), kHair);
}

TEST_F(ContentSystemTest, ADocumentsPathThatIsAFileWarnsAndWritesNothing)
{
    documents.Write("not_a_folder", "x");
    setenv("TARSEL_DOCUMENTS", (documents / "not_a_folder").c_str(), 1);
    ContentSystem content;
    tarsel::test::StdoutCapture capture;
    EXPECT_EQ(content.GetSavePath(), "");
    content.Load();
    content.Save();
    const std::string& text = capture.Text();
    EXPECT_NE(text.find("Warning"), std::string::npos) << text;
    EXPECT_EQ(documents.Read("not_a_folder"), "x");
    EXPECT_EQ(content.GetUnlockedHats(), Names{"birthday_halo_hat"});
    setenv("TARSEL_DOCUMENTS", documents.Path().c_str(), 1);
}

TEST_F(ContentSystemTest, ASaveFailingPartWayKeepsTheOldFile)
{
    const std::string old = Sample("birthday_hat");
    WriteSave(old);
    ContentSystem content;
    content.UnlockHat("birthday_hat");
    content.SetWriteLimit(100);
    tarsel::test::StdoutCapture capture;
    content.Save();
    EXPECT_NE(capture.Text().find("Warning"), std::string::npos);
    EXPECT_EQ(SavedBytes(), old);
    EXPECT_FALSE(std::filesystem::exists(SavePath().string() + ".tmp"));
    content.SetWriteLimit(std::nullopt);
    content.Save();
    EXPECT_EQ(SavedBytes(), tarsel::tools::SaveContentFile({"birthday_halo_hat", "birthday_hat"}, kHair, kMasks));
}

} // namespace
