#include "frontend/screens/MoreGraphicsOptionsMenu.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Invoke.h"
#include "engine/Transform3D.h"
#include "engine/Wait.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/GraphicsOptionsMenu.h"
#include "frontend/screens/LevelProps.h"
#include "frontend/screens/ScreenConfig.h"

#include <cstdio>

namespace quellor {

namespace {

const Vec4 kPosition(72.47f, 20.5f, 81.1f, 1.0f);
const Vec4 kLook(0.14f, 0.0f, -0.98f, 0.0f);
constexpr float kGlideSeconds = 1.5f;
constexpr int kGlideLane = 3;
constexpr int kCleanupLane = 6;
constexpr float kCleanupDelay = 0.75f;
constexpr std::uint32_t kQualityCount = 4;

enum Arrow : unsigned { LeftGraphics, RightGraphics, LeftParticle, RightParticle, LeftResolution, RightResolution };
const char* const kArrowNames[] = {"arrowLGraphics", "arrowRGraphics", "arrowLParticle",
                                   "arrowRParticle", "arrowLRes", "arrowRRes"};
constexpr const char* kBackName = "back2";
const char* const kQualityNames[kQualityCount] = {"LOW", "MEDIUM", "HIGH", "ULTRA"};
const char* const kQualityModels[kQualityCount] = {"setting_low.model", "setting_medium.model",
                                                   "setting_high.model", "setting_ultra.model"};

constexpr float kGlyphAdvance = 1.5f;
const Vec4 kGlyphOffset(4.0f, -1.5f, 1.5f, 0.0f);
const Vec4 kLabelOffset(4.0f, -1.5f, 0.0f, 0.0f);
constexpr float kGlyphScale = 2.0f;
constexpr float kLabelScale = 3.0f;

const char* const kSelected = "green.mat";
const char* const kUnselected = "black.mat";

// Gives a new entity its place beside the reference arrow (the arrow's rotation, its position
// plus the offset, its scale times the factor) and a model component.
Entity* PlaceBesideArrow(Entity* entity, const EntityRef& arrow, const Vec4& offset, float scale)
{
    if (!entity)
        return nullptr;
    if (auto* transform = entity->AddComponent<Transform3D>(true)) {
        const Transform3D* reference = ComponentOf<Transform3D>(arrow);
        const Transform3D origin;
        const Transform3D& from = reference ? *reference : origin;
        transform->m_rotation = from.m_rotation;
        transform->SetPosition(from.m_x + offset.x, from.m_y + offset.y, from.m_z + offset.z);
        transform->SetScale(from.m_scaleX * scale, from.m_scaleY * scale, from.m_scaleZ * scale);
    }
    entity->AddComponent<GraphicsComponent3D>(true);
    return entity;
}

} // namespace

MoreGraphicsOptionsMenu::MoreGraphicsOptionsMenu() : GraphicsMenuScreen("MoreGraphicsOptionsMenu") {}

MoreGraphicsOptionsMenu::~MoreGraphicsOptionsMenu() = default;

std::uint32_t MoreGraphicsOptionsMenu::StepQuality(std::uint32_t quality, bool right)
{
    if (quality >= kQualityCount)
        return quality;
    return right ? (quality + 1) % kQualityCount : (quality + kQualityCount - 1) % kQualityCount;
}

std::string MoreGraphicsOptionsMenu::QualityName(std::uint32_t quality)
{
    return quality < kQualityCount ? kQualityNames[quality] : "";
}

std::string MoreGraphicsOptionsMenu::QualityModel(std::uint32_t quality)
{
    return quality < kQualityCount ? kQualityModels[quality] : "";
}

std::optional<unsigned> MoreGraphicsOptionsMenu::StepResolution(const std::vector<ZOR::DisplayMode>& modes,
                                                                const ZOR::Dimension& chosen, bool right)
{
    // With no modes there is nothing to step to (and a modulo by the count would divide by 0).
    const auto count = static_cast<unsigned>(modes.size());
    if (count == 0)
        return std::nullopt;
    unsigned position = count;
    for (unsigned i = 0; i < count; ++i) {
        if (modes[i].resolution.width == chosen.width && modes[i].resolution.height == chosen.height) {
            position = i;
            break;
        }
    }
    if (right)
        return (position + 1) % count;
    return position == 0 ? count - 1 : position - 1;
}

std::vector<MoreGraphicsOptionsMenu::Glyph> MoreGraphicsOptionsMenu::ResolutionGlyphs(std::uint32_t width,
                                                                                      std::uint32_t height)
{
    char text[32];
    std::snprintf(text, sizeof text, "%ux%u", width, height);
    std::vector<Glyph> glyphs;
    for (std::size_t i = 0; text[i] != '\0'; ++i) {
        Glyph glyph;
        const char c = text[i];
        if (c == 'x')
            glyph.model = "letter_x.model";
        else if (c >= '0' && c <= '9')
            glyph.model = std::string("num_") + c + ".model";
        glyph.x = kGlyphOffset.x + kGlyphAdvance * static_cast<float>(i);
        glyph.y = kGlyphOffset.y;
        glyph.z = kGlyphOffset.z;
        glyphs.push_back(std::move(glyph));
    }
    return glyphs;
}

unsigned MoreGraphicsOptionsMenu::NextRow(unsigned row, bool up)
{
    if (up)
        return row > GraphicsRow ? row - 1 : row;
    return row < BackRow ? row + 1 : row;
}

std::vector<const char*> MoreGraphicsOptionsMenu::RowEntities(unsigned row)
{
    if (row < BackRow)
        return {kArrowNames[2 * row], kArrowNames[2 * row + 1]};
    return {kBackName};
}

void MoreGraphicsOptionsMenu::Start()
{
    for (unsigned i = 0; i < m_arrows.size(); ++i)
        m_arrows[i] = FindLevelEntity(kArrowNames[i]);
    m_back = FindLevelEntity(kBackName);
    if (GraphicsSystem* graphics = GetGraphics()) {
        m_graphicsQuality = graphics->GetGraphicsQuality();
        m_particleQuality = graphics->GetParticleQuality();
        m_modes = graphics->GetDisplayModeList();
        m_resolution = graphics->GetResolution();
    }
    BuildResolutionReadout();
    m_graphicsLabel = MakeLabel("gfxName", m_arrows[LeftGraphics], m_graphicsQuality);
    m_particleLabel = MakeLabel("parName", m_arrows[LeftParticle], m_particleQuality);
    StartGlide(kPosition, kLook, kGlideSeconds, kGlideLane);
    RefreshHighlight();
}

Entity* MoreGraphicsOptionsMenu::MakeLabel(const std::string& name, const EntityRef& arrow, std::uint32_t quality)
{
    Engine* engine = Engine::Existing();
    Entity* label = engine ? engine->GetEntity(name, kSpace) : nullptr;
    // The labels stay in the level for the next visit.
    if (!label)
        label = PlaceBesideArrow(CreateEntity(name, false, true), arrow, kLabelOffset, kLabelScale);
    SetPropModel(label, QualityModel(quality));
    return label;
}

void MoreGraphicsOptionsMenu::End()
{
    // The digits stay a moment while the camera glides away; the labels stay for the next visit.
    auto* actions = DefaultSystem<ActionSystem>();
    if (!actions || m_readout.empty())
        return;
    auto* removal = new ActionList(true, true);
    for (const EntityRef& ref : m_readout) {
        removal->PushBack(new Invoke([ref] {
                              EntityRef gone = ref;
                              DestroyRef(gone);
                          }),
                          0);
    }
    m_readout.clear();
    actions->AddAction(MakeSequence(new Wait(kCleanupDelay), removal), kCleanupLane);
}

void MoreGraphicsOptionsMenu::UpdateScreen(float)
{
    if (IsReady())
        RefreshHighlight();
}

void MoreGraphicsOptionsMenu::OnKey(Key key)
{
    switch (key) {
    case Key::Down:
        PlayHighlight();
        m_row = NextRow(m_row, false);
        break;
    case Key::Up:
        PlayHighlight();
        m_row = NextRow(m_row, true);
        break;
    case Key::Left:
        Press(false);
        break;
    case Key::Right:
        Press(true);
        break;
    case Key::Activate:
        Select();
        break;
    }
}

void MoreGraphicsOptionsMenu::OnBack()
{
    HandOver(new GraphicsOptionsMenu);
}

void MoreGraphicsOptionsMenu::Press(bool right)
{
    PlayHighlight();
    if (m_row == GraphicsRow || m_row == ParticleRow)
        StepQualityRow(m_row == ParticleRow, right);
    else if (m_row == ResolutionRow)
        StepResolutionRow(right);
    SaveScreenConfig();
}

void MoreGraphicsOptionsMenu::StepQualityRow(bool particle, bool right)
{
    std::uint32_t& quality = particle ? m_particleQuality : m_graphicsQuality;
    const std::uint32_t stepped = StepQuality(quality, right);
    if (stepped == quality)
        return;
    quality = stepped;
    if (GraphicsSystem* graphics = GetGraphics()) {
        const auto level = static_cast<ZOR::RenderSystem::Quality>(stepped);
        if (particle)
            graphics->SetParticleQuality(level);
        else
            graphics->SetGraphicsQuality(level);
    }
    SetPropModel(particle ? m_particleLabel : m_graphicsLabel, QualityModel(stepped));
    WriteScreenSetting("QUALITY", particle ? "PARTICLE" : "GRAPHICS", QualityName(stepped));
}

void MoreGraphicsOptionsMenu::StepResolutionRow(bool right)
{
    const std::optional<unsigned> index = StepResolution(m_modes, m_resolution, right);
    if (!index)
        return;
    // The render context applies the mode and records WIDTH and HEIGHT itself.
    if (GraphicsSystem* graphics = GetGraphics())
        graphics->SetDisplayMode(*index);
    m_resolution = m_modes[*index].resolution;
    BuildResolutionReadout();
}

void MoreGraphicsOptionsMenu::Select()
{
    PlaySelect();
    if (m_row == BackRow)
        HandOver(new GraphicsOptionsMenu);
}

void MoreGraphicsOptionsMenu::RefreshHighlight()
{
    SetPropMaterial(m_graphicsLabel, m_row == GraphicsRow ? kSelected : kUnselected);
    SetPropMaterial(m_particleLabel, m_row == ParticleRow ? kSelected : kUnselected);
    for (const EntityRef& ref : m_readout)
        SetPropMaterial(ref, m_row == ResolutionRow ? kSelected : kUnselected);
    SetPropMaterial(m_back, m_row == BackRow ? "text_menu_selected.mat" : "text_menu.mat");
}

void MoreGraphicsOptionsMenu::BuildResolutionReadout()
{
    for (EntityRef& ref : m_readout)
        DestroyRef(ref);
    m_readout.clear();
    for (const Glyph& glyph : ResolutionGlyphs(m_resolution.width, m_resolution.height)) {
        // Kept apart from the screen's own entities: End removes them only 0.75 s later.
        Entity* entity = PlaceBesideArrow(CreateEntity("letter", true, true), m_arrows[LeftResolution],
                                          Vec4(glyph.x, glyph.y, glyph.z, 0.0f), kGlyphScale);
        if (!entity)
            continue;
        SetPropMaterial(entity, "test_menu.mat");
        if (!glyph.model.empty())
            SetPropModel(entity, glyph.model);
        m_readout.emplace_back(entity);
    }
}

} // namespace quellor
