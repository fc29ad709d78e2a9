// What a player reads: every generated label's text against its plate, the versus screen's
// player labels over each team's portrait, and the score read-out in the corner of each view
// at one to four views, on the badge behind it.
#include "engine/Entity.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/TextComponent.h"
#include "gameplay/GameLogicSystem.h"
#include "platform/DdsDecoder.h"
#include "renderer/Font.h"
#include "renderer/INIFile.h"
#include "tests/support/ContentDir.h"
#include "tests/support/gameplay/GameWorld.h"
#include "tools/writers/Contrast.h"
#include "tools/writers/FontBuilder.h"
#include "tools/writers/LabelContent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using tarsel::test::ContentDir;
using tarsel::tools::ContrastRatio;
using tarsel::tools::Rgb;

platform::DecodedImage Texture(const std::string& file)
{
    std::ifstream in(ContentDir() / file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    platform::DecodedImage image;
    std::string error;
    EXPECT_TRUE(platform::DecodeDds(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), image, error))
        << file << ": " << error;
    return image;
}

TEST(Legibility, EveryLabelsTextStandsOutFromItsPlate)
{
    // The measure itself: black on white is 21:1, the read-out's pure blue on white 8.6:1.
    EXPECT_NEAR(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0f, 0.01f);
    EXPECT_NEAR(ContrastRatio({0, 0, 255}, {255, 255, 255}), 8.59f, 0.01f);

    // Where each label's letters are: the same label drawn white on an opaque black plate.
    std::ifstream in(tarsel::tools::kDefaultFontPath, std::ios::binary);
    const std::vector<std::uint8_t> ttf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    tarsel::tools::BitmapFont letters;
    ASSERT_TRUE(tarsel::tools::RasterizeFont(ttf, 64, 32, 126, letters));

    for (const tarsel::tools::LabelTexture& label : tarsel::tools::Labels()) {
        const platform::DecodedImage image = Texture(label.folder + label.name + ".dds");
        tarsel::tools::LabelTexture mask = label;
        mask.style.back = {0, 0, 0, 255};
        mask.style.ink = {255, 255, 255, 255};
        const tarsel::tools::Image coverage = tarsel::tools::BuildLabelTexture(letters, mask);
        ASSERT_EQ(coverage.rgba.size(), image.rgba.size()) << label.name;
        // Text: the mean colour the file holds where the letters cover the pixel; plate: where no
        // letter reaches and the picture covers what is behind it (a clear label's outline).
        double text[3] = {}, plate[3] = {};
        std::size_t texts = 0, plates = 0;
        for (std::size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
            const std::uint8_t letter = coverage.rgba[i];
            double* sum = letter >= 192 ? text : letter == 0 && image.rgba[i + 3] >= 200 ? plate : nullptr;
            if (!sum)
                continue;
            for (int c = 0; c < 3; ++c)
                sum[c] += image.rgba[i + static_cast<std::size_t>(c)];
            ++(sum == text ? texts : plates);
        }
        if (texts < 10 || plates < 10) {
            ADD_FAILURE() << label.name << (texts < 10 ? " shows no letters" : " has no plate to read its letters on");
            continue;
        }
        const auto mean = [](const double* sum, std::size_t n) {
            return Rgb{static_cast<std::uint8_t>(sum[0] / static_cast<double>(n) + 0.5),
                       static_cast<std::uint8_t>(sum[1] / static_cast<double>(n) + 0.5),
                       static_cast<std::uint8_t>(sum[2] / static_cast<double>(n) + 0.5)};
        };
        EXPECT_GE(ContrastRatio(mean(text, texts), mean(plate, plates)), 4.5f)
            << label.name << ": its text barely stands out from its plate";
    }
}

TEST(Legibility, TheVersusScreensPlayerLabelsReadOnEveryTeamsPortrait)
{
    // Each label material lays its picture, blended by its alpha, over a team's portrait
    // background: its letters stand out from that background for every team.
    std::ifstream in(tarsel::tools::kDefaultFontPath, std::ios::binary);
    const std::vector<std::uint8_t> ttf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    tarsel::tools::BitmapFont letters;
    ASSERT_TRUE(tarsel::tools::RasterizeFont(ttf, 64, 32, 126, letters));
    const auto colourOf = [](const ZOR::INIFile& material) {
        return std::array<float, 3>{material.Read<float>("DIFFUSE_COLOR", "R"), material.Read<float>("DIFFUSE_COLOR", "G"),
                                    material.Read<float>("DIFFUSE_COLOR", "B")};
    };

    const std::pair<const char*, const char*> labels[] = {{"p1", "portrait_p1"}, {"p2", "portrait_p2"},
                                                          {"p3", "portrait_p3"}, {"p4", "portrait_p4"},
                                                          {"ai", "portrait_cp"}};
    for (const auto& [slot, texture] : labels) {
        ZOR::INIFile material;
        ASSERT_TRUE(material.Load((ContentDir() / "materials/characters" / (std::string(slot) + "_portrait_bg.mat")).string()))
            << slot;
        EXPECT_EQ(material.Read<int>("BLEND_MODE", "VALUE"), 1) << slot << ": the label is not alpha-blended";
        EXPECT_EQ(material.Read<std::string>("TEXTURE_MAP", "0"), std::string(texture) + ".dds") << slot;
        const std::array<float, 3> tint = colourOf(material);

        const auto& all = tarsel::tools::Labels();
        const auto label = std::find_if(all.begin(), all.end(), [&](const auto& l) { return l.name == texture; });
        ASSERT_NE(label, all.end()) << texture;
        const platform::DecodedImage image = Texture(label->folder + label->name + ".dds");
        tarsel::tools::LabelTexture mask = *label;
        mask.style.back = {0, 0, 0, 255};
        mask.style.ink = {255, 255, 255, 255};
        const tarsel::tools::Image coverage = tarsel::tools::BuildLabelTexture(letters, mask);
        ASSERT_EQ(coverage.rgba.size(), image.rgba.size()) << texture;

        for (const char* team : {"red", "orange", "purple", "green"}) {
            ZOR::INIFile portrait;
            ASSERT_TRUE(portrait.Load((ContentDir() / "materials/characters" / (std::string(team) + "_portrait_bg.mat")).string()))
                << team;
            const std::array<float, 3> back = colourOf(portrait);
            // The mean colour drawn where the letters cover the pixel, against the bare background.
            double text[3] = {};
            std::size_t texts = 0;
            for (std::size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
                if (coverage.rgba[i] < 192)
                    continue;
                const double a = image.rgba[i + 3] / 255.0;
                for (std::size_t c = 0; c < 3; ++c)
                    text[c] += image.rgba[i + c] * tint[c] * a + 255.0 * back[c] * (1.0 - a);
                ++texts;
            }
            ASSERT_GT(texts, 100u) << texture << " shows no letters";
            const Rgb ink{static_cast<std::uint8_t>(text[0] / static_cast<double>(texts) + 0.5),
                          static_cast<std::uint8_t>(text[1] / static_cast<double>(texts) + 0.5),
                          static_cast<std::uint8_t>(text[2] / static_cast<double>(texts) + 0.5)};
            const Rgb plate{static_cast<std::uint8_t>(255.0f * back[0] + 0.5f), static_cast<std::uint8_t>(255.0f * back[1] + 0.5f),
                            static_cast<std::uint8_t>(255.0f * back[2] + 0.5f)};
            EXPECT_GE(ContrastRatio(ink, plate), 4.5f) << texture << " on " << team << "'s portrait";
        }
    }
}

TEST(Legibility, TheScoreReadOutFitsEveryViewOnABadgeItReadsOn)
{
    // The read-out is drawn in font_64's pixels at its transform's place (a text takes no scale).
    ZOR::Font font;
    ASSERT_TRUE(font.Load((ContentDir() / "fonts/font_64.bff").string()));
    const std::string widest = "5 / 5";
    float width = 0.0f;
    for (const char c : widest)
        width += static_cast<float>(font.GetCharacterWidth(static_cast<std::uint8_t>(c)));
    const auto line = static_cast<float>(font.GetLineHeight());
    constexpr float kMargin = 8.0f;

    const platform::DecodedImage glyphs = Texture("textures/fonts/font_64.dds");
    const platform::DecodedImage badge = Texture("textures/score_bg.dds");
    ASSERT_EQ(badge.width, 128u);
    ASSERT_EQ(badge.height, 128u);
    ZOR::INIFile material;
    ASSERT_TRUE(material.Load((ContentDir() / "materials/hud/score_bg.mat").string()));
    const float tint[3] = {material.Read<float>("DIFFUSE_COLOR", "R"), material.Read<float>("DIFFUSE_COLOR", "G"),
                           material.Read<float>("DIFFUSE_COLOR", "B")};

    for (int views = 1; views <= 4; ++views) {
        tarsel::test::GameWorld world;
        for (int person = 0; person < views; ++person)
            world.JoinPlayer("person" + std::to_string(person), "red", person);
        world.Step(3);
        world.logic->m_scoreHudRequested = true;
        world.Step(3);
        ASSERT_EQ(world.graphics->GetActiveScreens(), static_cast<unsigned>(views));
        for (int i = 0; i < views; ++i) {
            const std::string what = std::to_string(views) + " views, view " + std::to_string(i);
            quellor::Entity* text = world.logic->GetScoreTexts().at(static_cast<std::size_t>(i)).Get();
            quellor::Entity* back = world.logic->GetScoreBackgrounds().at(static_cast<std::size_t>(i)).Get();
            ASSERT_NE(text, nullptr) << what;
            ASSERT_NE(back, nullptr) << what;
            auto* words = text->GetComponent<quellor::TextComponent>();
            const ZOR::float2 size = world.graphics->GetOrthographicProjectionSize(words->GetScreenID());
            const auto* at = text->GetComponent<quellor::Transform2D>();
            const auto* under = back->GetComponent<quellor::Transform2D>();
            const float x = at->m_x + words->m_offset.x, y = at->m_y + words->m_offset.y;
            EXPECT_GE(x, kMargin) << what;
            EXPECT_LE(x + width, size.x - kMargin) << what << ": \"" << widest << "\" runs past the view's right edge";
            EXPECT_GE(y, 0.0f) << what;
            EXPECT_LE(y + line, size.y) << what;
            EXPECT_GE(under->m_x, 0.0f) << what;
            EXPECT_GE(under->m_y, 0.0f) << what;
            EXPECT_LE(under->m_x + under->m_scaleX, size.x) << what;
            EXPECT_LE(under->m_y + under->m_scaleY, size.y) << what;

            // Under every inked pixel of the text the badge is opaque and the text colour reads
            // on it.
            const Rgb ink{static_cast<std::uint8_t>(words->m_color.x * 255.0f), static_cast<std::uint8_t>(words->m_color.y * 255.0f),
                          static_cast<std::uint8_t>(words->m_color.z * 255.0f)};
            const float texel = under->m_scaleX / static_cast<float>(badge.width);
            float pen = 0.0f;
            std::size_t inked = 0;
            float worst = 21.0f;
            for (const char c : widest) {
                const std::uint32_t k = static_cast<std::uint8_t>(c) - font.GetFirstCharacter();
                const std::uint32_t cellX = (k % font.GetCellsPerRow()) * font.GetCellWidth();
                const std::uint32_t cellY = (k / font.GetCellsPerRow()) * font.GetCellHeight();
                for (std::uint32_t gy = 0; gy < font.GetCellHeight(); ++gy)
                    for (std::uint32_t gx = 0; gx < font.GetCellWidth(); ++gx) {
                        if (glyphs.rgba[((std::size_t{cellY} + gy) * glyphs.width + cellX + gx) * 4 + 3] < 64)
                            continue;
                        const auto bx = static_cast<std::uint32_t>((x + pen + static_cast<float>(gx) - under->m_x) / texel);
                        const auto by = static_cast<std::uint32_t>((y + static_cast<float>(gy) - under->m_y) / texel);
                        ASSERT_LT(bx, badge.width) << what << ": the text leaves its badge";
                        ASSERT_LT(by, badge.height) << what << ": the text leaves its badge";
                        const std::uint8_t* p = &badge.rgba[(std::size_t{by} * badge.width + bx) * 4];
                        EXPECT_EQ(p[3], 255) << what << ": the badge is see-through under the text at " << bx << ", " << by;
                        const Rgb face{static_cast<std::uint8_t>(p[0] * tint[0]), static_cast<std::uint8_t>(p[1] * tint[1]),
                                       static_cast<std::uint8_t>(p[2] * tint[2])};
                        worst = std::min(worst, ContrastRatio(ink, face));
                        ++inked;
                    }
                pen += static_cast<float>(font.GetCharacterWidth(static_cast<std::uint8_t>(c)));
            }
            EXPECT_GT(inked, 200u) << what;
            EXPECT_GE(worst, 4.5f) << what << ": the read-out barely stands out from its badge";
        }
    }
    // Nothing of the badge shows along the texture's right and bottom edges, which meet the
    // view's.
    for (std::uint32_t i = 0; i < 128; ++i) {
        EXPECT_EQ(badge.rgba[(std::size_t{i} * 128 + 127) * 4 + 3], 0) << "right edge, row " << i;
        EXPECT_EQ(badge.rgba[(std::size_t{127} * 128 + i) * 4 + 3], 0) << "bottom edge, column " << i;
    }
}

} // namespace
