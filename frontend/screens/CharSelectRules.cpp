#include "frontend/screens/CharSelectRules.h"

#include "engine/Transform3D.h"
#include "engine/reflection/Mat4.h"

#include <algorithm>
#include <cmath>

namespace quellor {

namespace {

const char* const kTeamNames[] = {"red", "orange", "purple", "green"};
const char* const kBodies[] = {"player_red.mat", "player_orange.mat", "player_purple.mat", "player_green.mat"};
// Orange and purple show the yellow and blue swatches.
const char* const kSwatches[] = {"red_boid.mat", "yellow_boid.mat", "blue_boid.mat", "green_boid.mat"};
const char* const kStreaks[] = {"char_select_red_streak.mat", "char_select_orange_streak.mat",
                                "char_select_purple_streak.mat", "char_select_green_streak.mat"};
const char* const kHeaders[] = {"char_select_red_title.mat", "char_select_orange_title.mat",
                                "char_select_purple_title.mat", "char_select_green_title.mat"};
const float kRowBases[] = {17.5f, 5.0f, -7.5f, -20.0f};
// The right arrows' turn, as the screen has always written it (not pi).
constexpr float kMirrorTurn = 3.14f;

float Length(const Vec4& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

} // namespace

Vec4 CharSelectRules::Basis::At(float a, float b, float c) const
{
    return Vec4(p.x + a * r.x + b * u.x + c * d.x, p.y + a * r.y + b * u.y + c * d.y,
                p.z + a * r.z + b * u.z + c * d.z, 1.0f);
}

const char* CharSelectRules::TeamName(int colour)
{
    return kTeamNames[ClampTeam(colour)];
}

const char* CharSelectRules::BodyMaterial(int colour)
{
    return kBodies[ClampTeam(colour)];
}

const char* CharSelectRules::SwatchMaterial(int colour)
{
    return kSwatches[ClampTeam(colour)];
}

const char* CharSelectRules::StreakMaterial(int colour)
{
    return kStreaks[ClampTeam(colour)];
}

const char* CharSelectRules::HeaderMaterial(int colour)
{
    return kHeaders[ClampTeam(colour)];
}

std::string CharSelectRules::NumberTile(int slot)
{
    if (slot < 0 || slot >= kSlots)
        return "char_select_number_cp.mat";
    return "char_select_number_" + std::to_string(slot) + ".mat";
}

std::pair<std::string, std::string> CharSelectRules::SplitEntry(const std::string& entry)
{
    const auto colon = entry.find(':');
    if (colon == std::string::npos)
        return {entry, entry};
    return {entry.substr(0, colon), entry.substr(colon + 1)};
}

int CharSelectRules::Wrap(int position, int count, int step)
{
    if (count <= 0)
        return 0;
    if (step > 0)
        return position >= count - 1 ? 0 : position + 1;
    return position <= 0 ? count - 1 : position - 1;
}

CharSelectRules::CharSelectRules(std::vector<std::string> hair, std::vector<std::string> masks)
    : m_hair(std::move(hair)), m_masks(std::move(masks))
{
}

std::string CharSelectRules::EntryAt(const std::vector<std::string>& list, int position)
{
    if (position < 0 || static_cast<std::size_t>(position) >= list.size())
        return list.empty() ? std::string() : list.front();
    return list[static_cast<std::size_t>(position)];
}

void CharSelectRules::SetAllBusy(bool busy)
{
    for (Slot& slot : m_slots)
        slot.busy = busy;
}

bool CharSelectRules::AnyJoined() const
{
    return JoinedCount() > 0;
}

int CharSelectRules::JoinedCount() const
{
    return static_cast<int>(std::count_if(m_slots.begin(), m_slots.end(), [](const Slot& s) { return s.joined; }));
}

CharSelectRules::Outcome CharSelectRules::Confirm(int slot, bool unlocked) const
{
    const Slot& s = GetSlot(slot);
    if (!s.joined)
        return {Step::Join, false};
    switch (s.stage) {
    case 0:
    case 1:
        return {unlocked ? Step::PlaceCheckmark : Step::None, true};
    case 2:
        return {Step::PlaceCheckmark, true};
    default:
        return {CanStart(slot) ? Step::StartMatch : Step::None, true};
    }
}

CharSelectRules::Outcome CharSelectRules::Back(int slot) const
{
    const Slot& s = GetSlot(slot);
    if (!s.joined)
        return AnyJoined() ? Outcome{} : Outcome{Step::BackToMenu, true};
    if (s.stage == 0)
        return {Step::Leave, false};
    return {Step::RemoveCheckmark, true};
}

bool CharSelectRules::CanStart(int pad) const
{
    for (int u = 0; u < kSlots; ++u) {
        const Slot& s = m_slots[static_cast<std::size_t>(u)];
        if ((u < pad && !s.joined) || (s.joined && s.stage != kReady) || s.busy)
            return false;
    }
    return true;
}

void CharSelectRules::Join(int slot)
{
    Slot& s = m_slots[Index(slot)];
    s.joined = true;
    s.stage = 0;
    s.hair = 0;
    s.mask = 0;
    s.team = Index(slot);
    // A match holds four players: each has a screen for its score display.
    while (!m_computers.empty() && JoinedCount() + static_cast<int>(m_computers.size()) > kSlots)
        m_computers.pop_back();
}

void CharSelectRules::Leave(int slot)
{
    Slot& s = m_slots[Index(slot)];
    s.joined = false;
    s.stage = 0;
}

void CharSelectRules::AdvanceStage(int slot)
{
    Slot& s = m_slots[Index(slot)];
    s.stage = std::min(s.stage + 1, kReady);
}

void CharSelectRules::RetreatStage(int slot)
{
    Slot& s = m_slots[Index(slot)];
    s.stage = std::max(s.stage - 1, 0);
}

int CharSelectRules::Cycle(int slot, int step)
{
    Slot& s = m_slots[Index(slot)];
    switch (s.stage) {
    case 0:
        s.hair = Wrap(s.hair, static_cast<int>(m_hair.size()), step);
        return 0;
    case 1:
        s.mask = Wrap(s.mask, static_cast<int>(m_masks.size()), step);
        return 1;
    case 2:
        s.team = Wrap(s.team, kTeams, step);
        return 2;
    default:
        return -1;
    }
}

bool CharSelectRules::AddComputer(int slot)
{
    const int colour = GetSlot(slot).team;
    if (JoinedCount() + static_cast<int>(m_computers.size()) < kSlots) {
        m_computers.push_back(colour);
        return true;
    }
    const auto other = std::find_if(m_computers.begin(), m_computers.end(), [&](int c) { return c != colour; });
    if (other == m_computers.end())
        return false;
    *other = colour;
    return true;
}

bool CharSelectRules::RemoveComputer(int slot)
{
    const auto found = std::find(m_computers.begin(), m_computers.end(), GetSlot(slot).team);
    if (found == m_computers.end())
        return false;
    *found = m_computers.back();
    m_computers.pop_back();
    return true;
}

std::vector<CharSelectRules::BoardMember> CharSelectRules::Board() const
{
    std::array<std::vector<int>, kTeams> members;
    for (int u = 0; u < kSlots; ++u)
        if (m_slots[static_cast<std::size_t>(u)].joined)
            members[static_cast<std::size_t>(ClampTeam(m_slots[static_cast<std::size_t>(u)].team))].push_back(u);
    for (int colour : m_computers)
        members[static_cast<std::size_t>(ClampTeam(colour))].push_back(-1);

    std::vector<BoardMember> board;
    for (int t = 0; t < kTeams; ++t) {
        const auto& list = members[static_cast<std::size_t>(t)];
        for (std::size_t k = 0; k < list.size(); ++k)
            board.push_back({t, list[k], kRowBases[t] - 2.0f * static_cast<float>(k), StreakMaterial(t),
                             NumberTile(list[k])});
    }
    return board;
}

std::vector<CharSelectRules::PlayerEntry> CharSelectRules::Entries() const
{
    std::vector<PlayerEntry> entries;
    for (int u = 0; u < kSlots; ++u)
        if (m_slots[static_cast<std::size_t>(u)].joined)
            entries.push_back({u, TeamName(m_slots[static_cast<std::size_t>(u)].team)});
    for (int colour : m_computers)
        entries.push_back({-1, TeamName(colour)});
    return entries;
}

float CharSelectRules::TurnAngle(bool left, bool right, float dt)
{
    if (left)
        return -kHalfPi * dt;
    if (right)
        return kHalfPi * dt;
    return 0.0f;
}

Quat CharSelectRules::Turn(const Quat& rotation, float angle)
{
    Mat4 m = Transform3D::BuildWorldMatrix(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, rotation);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float row0[3] = {m.m00, m.m01, m.m02};
    const float row2[3] = {m.m20, m.m21, m.m22};
    m.m00 = c * row0[0] + s * row2[0];
    m.m01 = c * row0[1] + s * row2[1];
    m.m02 = c * row0[2] + s * row2[2];
    m.m20 = c * row2[0] - s * row0[0];
    m.m21 = c * row2[1] - s * row0[1];
    m.m22 = c * row2[2] - s * row0[2];
    Quat turned;
    return turned.SetFromMat4(m).Normalize();
}

CharSelectRules::Basis CharSelectRules::MakeBasis(const Vec4& position, const Vec4& look)
{
    Basis basis;
    basis.p = Vec4(position.x, position.y, position.z, 1.0f);
    Vec4 d(look.x, look.y, look.z, 0.0f);
    const float length = Length(d);
    if (length > 0.0f)
        d = Vec4(d.x / length, d.y / length, d.z / length, 0.0f);
    basis.d = d;
    basis.r = Vec4(-d.z, 0.0f, d.x, 0.0f);
    basis.u = Vec4(-d.x * d.y, d.x * d.x + d.z * d.z, -d.y * d.z, 0.0f);
    return basis;
}

Quat CharSelectRules::Facing(const Basis& basis, const Vec4& at, bool mirrored)
{
    Vec4 n(at.x - basis.p.x, at.y - basis.p.y, at.z - basis.p.z, 0.0f);
    const float length = Length(n);
    if (length > 0.0f)
        n = Vec4(n.x / length, n.y / length, n.z / length, 0.0f);
    Vec4 x = basis.r;
    Vec4 z(-n.x, -n.y, -n.z, 0.0f);
    if (mirrored) {
        // Turned about its own up axis, which is u: the columns x and z rotate into each other.
        const float c = std::cos(kMirrorTurn);
        const float s = std::sin(kMirrorTurn);
        const Vec4 x0 = x;
        x = Vec4(c * x0.x - s * z.x, c * x0.y - s * z.y, c * x0.z - s * z.z, 0.0f);
        z = Vec4(s * x0.x + c * z.x, s * x0.y + c * z.y, s * x0.z + c * z.z, 0.0f);
    }
    const Vec4& y = basis.u;
    Mat4 m(x.x, y.x, z.x, 0.0f, x.y, y.y, z.y, 0.0f, x.z, y.z, z.z, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    Quat facing;
    facing.SetFromMat4(m);
    return facing;
}

} // namespace quellor
