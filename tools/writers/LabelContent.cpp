#include "tools/writers/LabelContent.h"

#include "tools/writers/Contrast.h"
#include "tools/writers/QuitButton.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tarsel::tools {

namespace {

using Rgba = std::array<std::uint8_t, 4>;

struct Team {
    const char* name;
    const char* banner; // the text of its victory banner
    Rgba colour;
};

// Purple's banner is "blue_victory" by the game's own naming.
const Team kTeams[] = {
    {"red", "RED", {210, 50, 40, 255}},
    {"orange", "ORANGE", {235, 135, 30, 255}},
    {"purple", "PURPLE", {135, 60, 200, 255}},
    {"green", "GREEN", {60, 170, 70, 255}},
};

constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kBoard{70, 45, 25, 255};  // wood-brown menu boards
constexpr Rgba kPanel{20, 24, 40, 230};  // the 2D screens' panels
constexpr Rgba kClear{0, 0, 0, 0};

LabelStyle Style(std::uint32_t width, std::uint32_t height, Rgba back, Rgba ink = kWhite)
{
    LabelStyle style;
    style.width = width;
    style.height = height;
    style.back = back;
    style.ink = ink;
    return style;
}

// A plate of a team's colour takes the ink that reads on it.
LabelStyle TeamPlate(std::uint32_t width, std::uint32_t height, Rgba colour)
{
    const Rgb ink = ContrastingInk({colour[0], colour[1], colour[2]});
    return Style(width, height, colour, {ink[0], ink[1], ink[2], 255});
}

// The 2D panels are pictures of the 1440 x 1080 design grid, at a quarter of its size; the
// credits pages keep their 2048:1080 aspect.
LabelStyle PanelStyle() { return Style(360, 270, kPanel); }
LabelStyle CreditsStyle() { return Style(384, 202, kPanel); }

// The pause panels' entries sit beside the marks the pause menu places on the design grid: its
// cursor (75 grid units square, at u = 400 and v = 275 + 105 i on the main page, at v = 475 and
// 695 on the yes/no question) and the options' check marks (at u = 475, v = 325, 435 and 555).
// Lines are placed on the quarter-size picture, so grid units are divided by 4.
constexpr float kGrid = 0.25f;
constexpr float kMark = 75.0f;
constexpr float kEntryHeight = 24.0f;

PanelLine Title(const char* text) { return {text, -1.0f, 150.0f * kGrid, 36.0f}; }

// An entry to the right of a mark whose top-left corner is at (u, v) on the grid.
PanelLine Entry(const std::string& text, float u, float v)
{
    return {text, (u + kMark + 20.0f) * kGrid, (v + kMark / 2.0f) * kGrid, kEntryHeight};
}

std::vector<PanelLine> PauseLines()
{
    std::vector<PanelLine> lines = {Title("PAUSED")};
    const char* const entries[] = {"Resume", "How to play", "Options", "Credits", "Quit to menu", "Quit game"};
    for (int i = 0; i < 6; ++i)
        lines.push_back(Entry(entries[i], 400.0f, 275.0f + 105.0f * static_cast<float>(i)));
    return lines;
}

// The options page with the entry under the (hidden) cursor marked left of its check mark.
std::vector<PanelLine> OptionsLines(int selected)
{
    std::vector<PanelLine> lines = {Title("OPTIONS")};
    const char* const entries[] = {"Mute music", "Mute all", "Full screen"};
    const float rows[] = {325.0f, 435.0f, 555.0f};
    for (int i = 0; i < 3; ++i) {
        lines.push_back(Entry(entries[i], 475.0f, rows[i]));
        if (i == selected)
            lines.push_back(Entry(">", 475.0f - kMark - 40.0f, rows[i]));
    }
    return lines;
}

// The results screen shows its title picture at the full height of the screen, 4:3, and lays
// the team rows over it from a fifth of that height down: the word stands in the band above the
// rows and the rest of the picture stays clear, so the rows and their markers read over it.
constexpr float kTitleBand = 0.2f;

std::vector<PanelLine> TopBandLines(const char* text, std::uint32_t height)
{
    const float band = kTitleBand * static_cast<float>(height);
    // Room is kept above and below the letters for their outline.
    return {{text, -1.0f, band / 2.0f, band * 0.7f}};
}

PanelLine PortraitLabel(const char* text) { return {text, 16.0f, 208.0f, 64.0f}; }

std::vector<PanelLine> QuestionLines()
{
    return {Title("ARE YOU SURE?"), Entry("No", 525.0f, 475.0f), Entry("Yes", 525.0f, 695.0f)};
}

const char* const kPadHelp = "HOW TO PLAY\nleft stick: move   A: jump\nright trigger: shoot an orb\nleft trigger: lift   Start: pause";
const char* const kKeyHelp =
    "HOW TO PLAY\nW A S D: move   Left Shift: jump\nright mouse or Q: shoot an orb\nleft mouse or E: lift   Esc: pause";

} // namespace

std::vector<LabelTexture> Labels()
{
    std::vector<LabelTexture> labels = {
        {"dojo_xbox_menu", kPadHelp, Style(512, 256, kBoard)},
        {"dojo_keyboard_menu", kKeyHelp, Style(512, 256, kBoard)},
        {"char_select_title", "CHARACTER SELECT", Style(512, 64, kBoard)},
        {"char_menu_controls_keyboard", "Enter: join   arrows: choose   Z / X: computer   Esc: back", Style(512, 64, kBoard)},
        {"char_menu_controls_360_controller", "A: join   stick: choose   X / Y: computer   B: back", Style(512, 64, kBoard)},
        // Number tiles are shown square: on character select's team board and as the win's badges.
        {"char_select_number_0", "P1", Style(128, 128, kBoard)},
        {"char_select_number_1", "P2", Style(128, 128, kBoard)},
        {"char_select_number_2", "P3", Style(128, 128, kBoard)},
        {"char_select_number_3", "P4", Style(128, 128, kBoard)},
        {"char_select_number_cp", "CP", Style(128, 128, kBoard)},
        // The versus screen's player labels, laid over the team's portrait (one picture texel a
        // design unit of the 256-unit column): bottom left, inside the 150 units the next column
        // leaves uncovered and below the team's boid (units 90 to 170 across, 80 to 160 down).
        {"portrait_p1", "", Style(256, 256, kClear), {PortraitLabel("P1")}},
        {"portrait_p2", "", Style(256, 256, kClear), {PortraitLabel("P2")}},
        {"portrait_p3", "", Style(256, 256, kClear), {PortraitLabel("P3")}},
        {"portrait_p4", "", Style(256, 256, kClear), {PortraitLabel("P4")}},
        {"portrait_cp", "", Style(256, 256, kClear), {PortraitLabel("CP")}},
        {"versus", "VS", Style(256, 128, kClear)},
        {"countdown_three", "3", Style(128, 128, kClear)},
        {"countdown_two", "2", Style(128, 128, kClear)},
        {"countdown_one", "1", Style(128, 128, kClear)},
        {"countdown_fight", "FIGHT!", Style(256, 128, kClear)},
        {"results_title", "", Style(512, 384, kClear), TopBandLines("RESULTS", 384)},
        {"results_feather", "*", Style(64, 64, kClear, {255, 230, 120, 255})},
        {"results_win", "WIN", Style(256, 128, kClear, {120, 230, 120, 255})},
        {"results_loss", "LOSS", Style(256, 128, kClear, {230, 120, 120, 255})},
        {"2d_pause", "", PanelStyle(), PauseLines()},
        {"2d_htp_xbox", kPadHelp, PanelStyle()},
        {"2d_htp_keyboard", kKeyHelp, PanelStyle()},
        {"2d_options", "", PanelStyle(), OptionsLines(0)},
        {"2d_options_0", "", PanelStyle(), OptionsLines(1)},
        {"2d_options_1", "", PanelStyle(), OptionsLines(2)},
        {"2d_credits", "CREDITS\n\nTarsel\nmade by the Tarsel team", PanelStyle()},
        {"2d_cda", "", PanelStyle(), QuestionLines()},
        // Marks fill their square (a fitted label would keep a fifth of it clear on each side).
        {"2d_cursor", "", Style(64, 64, kClear), {{">", -1.0f, 32.0f, 64.0f}}},
        {"2d_checkmark", "", Style(64, 64, kClear, {120, 230, 120, 255}), {{"X", -1.0f, 32.0f, 64.0f}}},
    };
    // The menu level's boards: item names beside the plates the screens light up.
    const std::pair<const char*, const char*> items[] = {
        {"menu_title", "TARSEL"},
        {"menu_play", "PLAY"},
        {"menu_options", "OPTIONS"},
        {"menu_how_to_play", "HOW TO PLAY"},
        {"menu_credits", "CREDITS"},
        {"menu_mute_music", "MUTE MUSIC"},
        {"menu_mute_all", "MUTE ALL"},
        {"menu_graphics_options", "GRAPHICS OPTIONS"},
        {"menu_back", "BACK"},
        {"menu_lighting", "LIGHTING"},
        {"menu_bloom", "BLOOM"},
        {"menu_depth_of_field", "DEPTH OF FIELD"},
        {"menu_ssao", "AMBIENT OCCLUSION"},
        {"menu_sun", "SUN RAYS"},
        {"menu_fullscreen", "FULL SCREEN"},
        {"menu_shadows", "SHADOWS"},
        {"menu_more_options", "MORE OPTIONS"},
        {"menu_graphics_quality", "GRAPHICS"},
        {"menu_particle_quality", "PARTICLES"},
        {"menu_resolution", "RESOLUTION"},
    };
    for (const auto& [name, text] : items)
        labels.push_back({name, text, Style(256, 64, kBoard)});
    // The main menu's quit button: a plate of the same look with its flap's question below it.
    labels.push_back({"quit_button", "", Style(quit::kTextureSize, quit::kTextureSize, kBoard), quit::TextureLines()});
    const char* const credits[8] = {"TARSEL",       "Design",         "Programming", "Rendering",
                                    "Engine",       "Sound and music", "Testing",    "Thank you for playing"};
    for (int page = 0; page < 8; ++page)
        labels.push_back({"credits_" + std::to_string(page + 1), credits[page], CreditsStyle()});
    for (const Team& team : kTeams) {
        const std::string name = team.name;
        labels.push_back({"char_select_" + name + "_title", team.banner, TeamPlate(256, 64, team.colour)});
        labels.push_back({"team_tag_" + name, "TEAM", TeamPlate(128, 64, team.colour)});
        labels.push_back({"single_tag_" + name, "V", Style(64, 64, kClear, team.colour)});
    }
    // The banners are named by their colour; purple's is the blue one.
    const std::pair<const char*, const char*> banners[] = {
        {"red_victory", "RED WINS!"}, {"orange_victory", "ORANGE WINS!"}, {"blue_victory", "PURPLE WINS!"}, {"green_victory", "GREEN WINS!"}};
    for (const auto& [name, text] : banners)
        labels.push_back({name, text, Style(512, 128, kClear)});
    // The start-up pictures: the two makers' names, then the advice to play with a pad.
    const Rgba night{16, 16, 24, 255};
    const std::string splash = "textures/ui/splash/";
    labels.push_back({"corvath_logo", "CORVATH", Style(320, 160, night, {235, 150, 60, 255}), {}, splash});
    labels.push_back({"vantrell_logo", "VANTRELL", Style(320, 160, night, {110, 170, 235, 255}), {}, splash});
    labels.push_back({"controller_recommended", "A GAMEPAD IS\nRECOMMENDED", Style(320, 160, night, {120, 210, 120, 255}), {}, splash});
    return labels;
}

Image BuildScoreBadge()
{
    constexpr std::uint32_t size = 128;
    // The read-out's text, drawn in font_64's pixels with its left edge 11 in from the badge's
    // and its cells 28 down, puts its digits across about x 13..107 and y 43..76; the badge
    // frames them, a rim in deep blue around a pale face.
    constexpr float left = 6.0f, right = 116.0f, top = 30.0f, bottom = 90.0f, corner = 14.0f, rim = 3.0f;
    const std::array<std::uint8_t, 3> face{240, 242, 250}, edge{30, 40, 110};
    Image image;
    image.width = image.height = size;
    image.rgba.assign(std::size_t{size} * size * 4, 0);
    for (std::uint32_t y = 0; y < size; ++y) {
        for (std::uint32_t x = 0; x < size; ++x) {
            // Signed distance from the rounded rectangle's edge (negative inside), at the pixel's centre.
            const float qx = std::abs(static_cast<float>(x) + 0.5f - (left + right) / 2.0f) - ((right - left) / 2.0f - corner);
            const float qy = std::abs(static_cast<float>(y) + 0.5f - (top + bottom) / 2.0f) - ((bottom - top) / 2.0f - corner);
            const float d = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - corner;
            const float a = std::clamp(0.5f - d, 0.0f, 1.0f);
            const float face01 = std::clamp(-d - rim + 0.5f, 0.0f, 1.0f);
            std::uint8_t* p = image.rgba.data() + (std::size_t{y} * size + x) * 4;
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<std::uint8_t>(std::lround(edge[static_cast<std::size_t>(c)] +
                                                             (face[static_cast<std::size_t>(c)] - edge[static_cast<std::size_t>(c)]) * face01));
            p[3] = static_cast<std::uint8_t>(std::lround(a * 255.0f));
        }
    }
    return image;
}

Image BuildLabelTexture(const BitmapFont& font, const LabelTexture& label)
{
    return label.lines.empty() ? BuildLabel(font, label.text, label.style) : BuildPanel(font, label.lines, label.style);
}

Image BuildRingImage(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    constexpr std::uint32_t size = 64;
    Image image;
    image.width = image.height = size;
    image.rgba.resize(size * size * 4);
    for (std::uint32_t y = 0; y < size; ++y) {
        for (std::uint32_t x = 0; x < size; ++x) {
            const float dx = static_cast<float>(x) + 0.5f - size / 2.0f;
            const float dy = static_cast<float>(y) + 0.5f - size / 2.0f;
            // A band 5 pixels wide at radius 26, fading over a pixel and a half on each side.
            const float off = std::abs(std::sqrt(dx * dx + dy * dy) - 26.0f);
            const float a = std::clamp((4.0f - off) / 1.5f, 0.0f, 1.0f);
            std::uint8_t* p = image.rgba.data() + (std::size_t{y} * size + x) * 4;
            p[0] = r;
            p[1] = g;
            p[2] = b;
            p[3] = static_cast<std::uint8_t>(std::lround(a * 255.0f));
        }
    }
    return image;
}

Image BuildStripImage(std::uint32_t frames, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    constexpr std::uint32_t size = 64;
    constexpr float kPi = 3.14159265f;
    Image image;
    image.width = size * std::max<std::uint32_t>(frames, 1);
    image.height = size;
    image.rgba.resize(std::size_t{image.width} * size * 4);
    for (std::uint32_t y = 0; y < size; ++y) {
        for (std::uint32_t x = 0; x < image.width; ++x) {
            const std::uint32_t frame = x / size;
            const float dx = static_cast<float>(x % size) + 0.5f - size / 2.0f;
            const float dy = static_cast<float>(y) + 0.5f - size / 2.0f;
            float a;
            if (frames <= 1) {
                // Waves whose periods divide the tile, so that it tiles without seams.
                a = 0.5f + 0.25f * std::sin(2.0f * kPi * static_cast<float>(x) / size * 2.0f) +
                    0.25f * std::sin(2.0f * kPi * static_cast<float>(y) / size * 3.0f);
            } else {
                const float d = std::sqrt(dx * dx + dy * dy) / (size / 2.0f);
                const float turn = 2.0f * kPi * static_cast<float>(frame) / static_cast<float>(frames);
                const float rays = 0.5f + 0.5f * std::cos(6.0f * (std::atan2(dy, dx) + turn / 6.0f));
                a = std::clamp(1.0f - d, 0.0f, 1.0f) * (0.6f + 0.4f * rays);
            }
            a = std::clamp(a, 0.0f, 1.0f);
            std::uint8_t* p = image.rgba.data() + (std::size_t{y} * image.width + x) * 4;
            p[0] = r;
            p[1] = g;
            p[2] = b;
            p[3] = static_cast<std::uint8_t>(std::lround(a * 255.0f));
        }
    }
    return image;
}

Image BuildWhiteImage()
{
    Image image;
    image.width = image.height = 4;
    image.rgba.assign(4 * 4 * 4, 255);
    return image;
}

} // namespace tarsel::tools
