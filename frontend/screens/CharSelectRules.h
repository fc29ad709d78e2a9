#pragma once
// The rules of the character select, apart from its entities so that they run without an
// engine: the four slots (pad i owns slot i) with their stage, cosmetic positions and team
// colour, the confirm and back state machine, the start test, the computer-player list, the
// team board's rows, the entry list a match starts from, the preview's turn and the placement
// basis the screen lays its widgets out in.
//
// Team colours are numbered 0 red, 1 orange, 2 purple, 3 green; a number outside 0-3 reads as red.
// Cosmetic entries are "model:material"; the stage of a slot is 0 hair, 1 mask, 2 team, 3 ready.
#include "engine/reflection/Quat.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/cameras/LevelIntroCam.h"

#include <array>
#include <string>
#include <vector>

namespace quellor {

class CharSelectRules {
public:
    static constexpr int kSlots = 4;
    static constexpr int kTeams = 4;
    static constexpr int kReady = 3;
    static constexpr float kHalfPi = 1.5707964f;

    struct Slot {
        bool joined = false;
        bool busy = false;
        int stage = 0;
        int hair = 0;
        int mask = 0;
        int team = 0;
    };

    // What a confirm or a back asks of the screen. The stage moves with PlaceCheckmark (up one)
    // and RemoveCheckmark (down one); the select cue plays when selectCue is set.
    enum class Step { None, Join, Leave, PlaceCheckmark, RemoveCheckmark, StartMatch, BackToMenu };
    struct Outcome {
        Step step = Step::None;
        bool selectCue = false;
    };

    // One player of the match, as the level intro takes it: slot 0-3 for a person, -1 for a
    // computer player, and the team name.
    using PlayerEntry = IntroPlayerEntry;

    // One member of the team board: a streak and a number tile on the row at height `row`.
    struct BoardMember {
        int team = 0;
        int slot = -1; // -1: a computer player
        float row = 0.0f;
        std::string streak;
        std::string tile;
    };

    // p the camera position, d the unit look vector, r the horizontal right and u = r x d.
    struct Basis {
        Vec4 p, d, r, u;
        // p + a r + b u + c d, w = 1.
        Vec4 At(float a, float b, float c) const;
    };

    // The colour's names and materials.
    static int ClampTeam(int colour) { return colour >= 0 && colour < kTeams ? colour : 0; }
    static const char* TeamName(int colour);
    static const char* BodyMaterial(int colour);
    static const char* SwatchMaterial(int colour);
    static const char* StreakMaterial(int colour);
    static const char* HeaderMaterial(int colour);
    // "char_select_number_<slot>.mat", or "char_select_number_cp.mat" for -1.
    static std::string NumberTile(int slot);
    // The preview body before the slot's team is known: by slot index, green past 2.
    static const char* SlotBody(int slot) { return BodyMaterial(slot < 3 ? slot : 3); }

    // The model and material names of a "model:material" entry (without extensions). An entry
    // without ":" gives the whole entry for both.
    static std::pair<std::string, std::string> SplitEntry(const std::string& entry);
    // The position after a step right (+1) or left (-1), wrapping at both ends; 0 for an empty list.
    static int Wrap(int position, int count, int step);

    explicit CharSelectRules(std::vector<std::string> hair = {}, std::vector<std::string> masks = {});

    const Slot& GetSlot(int slot) const { return m_slots[Index(slot)]; }
    bool& Busy(int slot) { return m_slots[Index(slot)].busy; }
    void SetAllBusy(bool busy);
    bool AnyJoined() const;
    int JoinedCount() const;
    const std::vector<int>& GetComputerPlayers() const { return m_computers; }
    const std::vector<std::string>& GetHairList() const { return m_hair; }
    const std::vector<std::string>& GetMaskList() const { return m_masks; }
    // The slot's current entries; empty when the list is.
    std::string HairEntry(int slot) const { return EntryAt(m_hair, GetSlot(slot).hair); }
    std::string MaskEntry(int slot) const { return EntryAt(m_masks, GetSlot(slot).mask); }

    // The state machine. `unlocked` is whether the slot's item of its stage (hair in stage 0,
    // mask in stage 1) may be confirmed; other stages ignore it.
    Outcome Confirm(int slot, bool unlocked) const;
    Outcome Back(int slot) const;
    // The start test of pad `pad` confirming in stage 3: every lower slot joined, every joined
    // slot ready, no slot busy.
    bool CanStart(int pad) const;

    // A join puts the slot on its own colour, at stage 0 with the first hair and mask (what its
    // icons show), then drops computer players from the end while people and computer players
    // together exceed four.
    void Join(int slot);
    void Leave(int slot);
    void AdvanceStage(int slot);
    void RetreatStage(int slot);

    // Right (+1) or left (-1) in the slot's stage: 0 moves the hair, 1 the mask, 2 the team;
    // returns the stage acted on, or -1 in stage 3.
    int Cycle(int slot, int step);

    // Add: below four players append the slot's colour; when full, recolour the first entry of
    // another colour. Remove: overwrite the first entry of the slot's colour with the last and
    // drop the last. False when nothing changed.
    bool AddComputer(int slot);
    bool RemoveComputer(int slot);

    // The board: per team in colour order, the joined slots in slot order and then the
    // computer players in list order, at rows b_t - 2k (b = 17.5, 5, -7.5, -20).
    std::vector<BoardMember> Board() const;
    // Joined slots in slot order, then the computer players in list order.
    std::vector<PlayerEntry> Entries() const;

    // The preview's turn in a frame: -(pi/2) dt for the left shoulder (it wins), +(pi/2) dt
    // for the right one, else 0.
    static float TurnAngle(bool left, bool right, float dt);
    // The rotation turned by the angle about the vertical axis, normalised unless zero.
    static Quat Turn(const Quat& rotation, float angle);

    // The basis from the camera fields; a zero look stays zero.
    static Basis MakeBasis(const Vec4& position, const Vec4& look);
    // A widget at `at` facing the camera: the matrix with columns r, u and -n, n the unit vector
    // from p to `at`. The mirrored form is that turned by 3.14 rad about u.
    static Quat Facing(const Basis& basis, const Vec4& at, bool mirrored);

private:
    static int Index(int slot) { return slot >= 0 && slot < kSlots ? slot : 0; }
    static std::string EntryAt(const std::vector<std::string>& list, int position);

    std::array<Slot, kSlots> m_slots{};
    std::vector<int> m_computers;
    std::vector<std::string> m_hair;
    std::vector<std::string> m_masks;
};

} // namespace quellor
