#pragma once
// The second graphics screen: the graphics and the particle quality (saved under "QUALITY" in
// config.ini) and the resolution (saved by the render context), each stepped with the arrows of
// its row, and a back entry. Each value shows as 3D text beside its arrows: a label model per
// quality ("gfxName", "parName", kept in the level for the next visit) and one digit or letter
// model per character of the resolution, removed 0.75 s after the screen is left.
#include "engine/EntityRef.h"
#include "frontend/screens/GraphicsMenuScreen.h"
#include "renderer/RenderSystem.h"
#include "renderer/math/Dimension.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quellor {

class MoreGraphicsOptionsMenu : public GraphicsMenuScreen {
public:
    enum Row : unsigned { GraphicsRow = 0, ParticleRow = 1, ResolutionRow = 2, BackRow = 3 };

    // One character of the resolution read-out: its model (empty for a character that has
    // none) and its offset from the reference arrow along the world axes.
    struct Glyph {
        std::string model;
        float x = 0.0f;
        float y = 0.0f;
        float z = 0.0f;
    };

    MoreGraphicsOptionsMenu();
    ~MoreGraphicsOptionsMenu() override;

    // The row after a move up or down; the rows stop at both ends.
    static unsigned NextRow(unsigned row, bool up);
    // The level entities that mark a row on the board: its two arrows, or "back2" for the back row.
    static std::vector<const char*> RowEntities(unsigned row);

    // The next quality level: Left goes down and wraps from LOW to ULTRA, Right up and wraps from
    // ULTRA to LOW. A value outside the four levels stays as it is.
    static std::uint32_t StepQuality(std::uint32_t quality, bool right);
    // "LOW", "MEDIUM", "HIGH", "ULTRA", and the label models; empty outside the four levels.
    static std::string QualityName(std::uint32_t quality);
    static std::string QualityModel(std::uint32_t quality);
    // The mode the arrows choose: from the first mode of the chosen size (or from the end of the
    // list when none has it) one back or one on, wrapping; nothing when there are no modes.
    static std::optional<unsigned> StepResolution(const std::vector<ZOR::DisplayMode>& modes,
                                                  const ZOR::Dimension& chosen, bool right);
    // The read-out of width x height, one glyph per character of "%dx%d", 1.5 apart along x.
    static std::vector<Glyph> ResolutionGlyphs(std::uint32_t width, std::uint32_t height);

    unsigned GetRow() const { return m_row; }
    std::size_t GetReadoutSize() const { return m_readout.size(); }

protected:
    void Start() override;
    void End() override;
    void UpdateScreen(float dt) override;
    void OnKey(Key key) override;
    void OnBack() override;

private:
    void Press(bool right);
    void StepQualityRow(bool particle, bool right);
    void StepResolutionRow(bool right);
    void Select();
    void RefreshHighlight();
    void BuildResolutionReadout();
    // Finds the label in "default", or makes it beside the arrow on a first visit.
    Entity* MakeLabel(const std::string& name, const EntityRef& arrow, std::uint32_t quality);

    std::array<EntityRef, 6> m_arrows{};
    EntityRef m_graphicsLabel;
    EntityRef m_particleLabel;
    EntityRef m_back;
    std::vector<EntityRef> m_readout;
    std::uint32_t m_graphicsQuality = ZOR::RenderSystem::Ultra;
    std::uint32_t m_particleQuality = ZOR::RenderSystem::Ultra;
    ZOR::Dimension m_resolution{};
    std::vector<ZOR::DisplayMode> m_modes;
    unsigned m_row = GraphicsRow;
};

} // namespace quellor
