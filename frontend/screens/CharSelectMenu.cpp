#include "frontend/screens/CharSelectMenu.h"

#include "frontend/screens/LevelProps.h"

#include "engine/ActionList.h"
#include "engine/Easing.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/Invoke.h"
#include "engine/SetValue.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/TweenTo.h"
#include "engine/Wait.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/content/ContentSystem.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/MatchStart.h"
#include "gameplay/SkinMountComponent.h"

#include <cstdio>
#include <initializer_list>
#include <memory>

namespace quellor {

namespace {

constexpr int kCtrl = 17;
constexpr int kBackspace = 8;
constexpr int kPadLeftShoulder = 8;
constexpr int kPadRightShoulder = 9;
constexpr int kLeftShift = 160;
constexpr int kRightShift = 161;

// The input rows, in the order a pass tries them: pad codes, then the keyboard's (pad 0 only).
struct InputRow {
    std::vector<int> pad;
    std::vector<int> keys;
};
enum Row { BackToMenu, ConfirmRow, BackRow, Left, Right, AddComputer, RemoveComputer, RowCount };
const InputRow kInputRows[RowCount] = {
    {{5}, {}},           {{10}, {32, 13}},     {{11}, {kBackspace, 27}}, {{2, 22, 26}, {37}},
    {{3, 23, 27}, {39}}, {{12}, {90}},         {{13}, {88}},
};

// Scales of the widgets once a join has opened the scroll (the mounts keep theirs).
float OpenedScale(unsigned widget)
{
    switch (widget) {
    case CharSelectMenu::Preview:
        return 0.75f;
    case CharSelectMenu::HairIcon:
    case CharSelectMenu::MaskIcon:
        return 0.65f;
    case CharSelectMenu::Swatch:
        return 2.0f;
    default:
        return 0.4f;
    }
}

// The heights of the three rows (hair, mask, team) and their checkmarks.
constexpr float kArrowRows[CharSelectMenu::kRows] = {-2.0f, -5.0f, -8.0f};
constexpr float kCheckRows[CharSelectMenu::kRows] = {-2.5f, -5.0f, -8.0f};

float SlotColumn(int slot)
{
    return 17.5f * static_cast<float>(slot) - 17.0f;
}

// The content store goes in under System's own key.
ContentSystem* Content()
{
    return DefaultSystem<ContentSystem>();
}

void AddClips(GraphicsSystem* graphics, ZOR::AnimationController& controller,
              std::initializer_list<const char*> clips, const char* owner)
{
    for (const char* clip : clips) {
        if (ZOR::Animation* animation = graphics ? graphics->GetAnimation(clip) : nullptr)
            controller.AddAnimation(animation);
        else
            std::printf("Warning: no animation \"%s\"; %s goes without it\n", clip, owner);
    }
}

} // namespace

const Vec4 CharSelectMenu::kCameraPosition(-2.7f, 54.0f, -43.3f, 1.0f);
const Vec4 CharSelectMenu::kCameraLook(0.0f, 0.0f, -1.0f, 0.0f);

CharSelectMenu::CharSelectMenu() : MenuScreen("CharSelectMenu") {}

CharSelectMenu::~CharSelectMenu() = default;

Entity* CharSelectMenu::GetScroll(int slot) const
{
    return slot >= 0 && slot < CharSelectRules::kSlots ? m_slots[static_cast<std::size_t>(slot)].scroll.Get() : nullptr;
}

Entity* CharSelectMenu::GetWidget(int slot, Widget widget) const
{
    if (slot < 0 || slot >= CharSelectRules::kSlots || widget >= WidgetCount)
        return nullptr;
    return m_slots[static_cast<std::size_t>(slot)].widgets[widget].Get();
}

Entity* CharSelectMenu::GetCheckmark(int slot, unsigned row) const
{
    if (slot < 0 || slot >= CharSelectRules::kSlots || row >= kRows)
        return nullptr;
    return m_slots[static_cast<std::size_t>(slot)].checkmarks[row].Get();
}

const std::vector<EntityRef>& CharSelectMenu::GetBoard(int team) const
{
    return m_board[static_cast<std::size_t>(CharSelectRules::ClampTeam(team))];
}

void CharSelectMenu::Update(float dt)
{
    if (!m_active)
        return;
    m_dt = dt;
    m_walkStopped = false;
    MenuScreen::Update(dt);
}

void CharSelectMenu::Start()
{
    StartGlide(kCameraPosition, kCameraLook, kGlide, kGlideLane, {new Invoke([this] { BuildScrolls(); })});
    if (ContentSystem* content = Content())
        m_rules = CharSelectRules(content->GetHair(), content->GetMasks());
    else
        std::printf("Warning: no ContentSystem; the character select offers no hair and no masks\n");
}

void CharSelectMenu::UpdateScreen(float)
{
    if (m_active)
        UpdateControlsPicture();
}

void CharSelectMenu::UpdateControlsPicture()
{
    auto* picture = ComponentOf<BillboardedQuadComponent>(m_controls);
    const Input* input = GetInput();
    if (!picture || !input)
        return;
    bool pad = false;
    for (int i = 0; i < CharSelectRules::kSlots; ++i)
        pad = pad || input->IsConnected(i);
    const char* material = pad ? kPadControls : kKeyboardControls;
    if (picture->m_materialName != material)
        picture->SetMaterial(material);
}

bool CharSelectMenu::PressedAny(const std::vector<int>& codes, int pad) const
{
    const Input* input = GetInput();
    if (!input)
        return false;
    for (int code : codes)
        if (input->KeyIsPressed(code, pad))
            return true;
    return false;
}

bool CharSelectMenu::HeldAny(const std::vector<int>& codes, int pad) const
{
    const Input* input = GetInput();
    if (!input)
        return false;
    for (int code : codes)
        if (input->KeyIsDown(code, pad))
            return true;
    return false;
}

bool CharSelectMenu::HandleInput(int pad, bool withKeyboard)
{
    if (withKeyboard && PressedAny({kBackspace}, -1) && HeldAny({kCtrl}, -1)) {
        ReturnToMenu(true);
        return true;
    }
    // A slot that animates holds back its pad and every later one until it is done.
    if (m_rules.GetSlot(pad).busy) {
        m_walkStopped = true;
        return true;
    }
    const bool acted = RunRow(pad, withKeyboard);
    if (m_active && !IsFinished())
        TurnPreview(pad, withKeyboard);
    return acted;
}

bool CharSelectMenu::RunRow(int pad, bool withKeyboard)
{
    int row = 0;
    while (row < RowCount && !PressedAny(kInputRows[row].pad, pad) && !(withKeyboard && PressedAny(kInputRows[row].keys, -1)))
        ++row;
    const bool joined = m_rules.GetSlot(pad).joined;
    switch (row) {
    case BackToMenu:
        ReturnToMenu(false);
        break;
    case ConfirmRow:
        Confirm(pad);
        break;
    case BackRow:
        Back(pad);
        break;
    case Left:
    case Right:
        Cycle(pad, row == Left ? -1 : 1);
        break;
    case AddComputer:
        if (joined) {
            m_rules.AddComputer(pad);
            RefreshTeamBoard();
        }
        break;
    case RemoveComputer:
        if (joined && !m_rules.GetComputerPlayers().empty() && m_rules.RemoveComputer(pad))
            RefreshTeamBoard();
        break;
    default:
        return false;
    }
    return true;
}

void CharSelectMenu::Confirm(int slot)
{
    const CharSelectRules::Slot& s = m_rules.GetSlot(slot);
    bool unlocked = true;
    if (ContentSystem* content = Content()) {
        if (s.stage == 0)
            unlocked = content->IsHairUnlocked(m_rules.HairEntry(slot));
        else if (s.stage == 1)
            unlocked = content->IsMaskUnlocked(m_rules.MaskEntry(slot));
    }
    const CharSelectRules::Outcome outcome = m_rules.Confirm(slot, s.joined && unlocked);
    switch (outcome.step) {
    case CharSelectRules::Step::Join:
        JoinSlot(slot);
        break;
    case CharSelectRules::Step::PlaceCheckmark:
        PlaceCheckmark(slot);
        m_rules.AdvanceStage(slot);
        break;
    case CharSelectRules::Step::StartMatch:
        StartMatch();
        break;
    default:
        break;
    }
    if (outcome.selectCue)
        PlaySelect();
}

void CharSelectMenu::Back(int slot)
{
    const CharSelectRules::Outcome outcome = m_rules.Back(slot);
    switch (outcome.step) {
    case CharSelectRules::Step::BackToMenu:
        ReturnToMenu(outcome.selectCue);
        break;
    case CharSelectRules::Step::Leave:
        LeaveSlot(slot);
        break;
    case CharSelectRules::Step::RemoveCheckmark:
        PlaySelect();
        RemoveCheckmark(slot);
        m_rules.RetreatStage(slot);
        break;
    default:
        break;
    }
}

void CharSelectMenu::Cycle(int slot, int step)
{
    PlayHighlight();
    const int row = m_rules.Cycle(slot, step);
    if (row == 0 || row == 1)
        ShowItem(slot, row);
    else if (row == 2)
        ShowTeam(slot);
}

void CharSelectMenu::TurnPreview(int slot, bool withKeyboard)
{
    Transform3D* transform = ComponentOf<Transform3D>(m_slots[static_cast<std::size_t>(slot)].widgets[Preview]);
    if (!transform)
        return;
    const bool left = HeldAny({kPadLeftShoulder}, slot) || (withKeyboard && HeldAny({kLeftShift}, -1));
    const bool right = HeldAny({kPadRightShoulder}, slot) || (withKeyboard && HeldAny({kRightShift}, -1));
    const float angle = CharSelectRules::TurnAngle(left, right, m_dt);
    if (angle != 0.0f)
        transform->m_rotation = CharSelectRules::Turn(transform->m_rotation, angle);
}

void CharSelectMenu::ReturnToMenu(bool withCue)
{
    if (withCue)
        PlaySelect();
    HandOver(new MainMenu(false));
}

void CharSelectMenu::StartMatch()
{
    m_active = false;
    m_walkStopped = true;
    auto start = std::make_shared<MatchStart>(m_rules);
    start->Queue(this);
}

Entity* CharSelectMenu::MakeEntity(const std::string& baseName, const Vec4& at, float sx, float sy, float sz)
{
    Entity* entity = CreateEntity(baseName, true);
    if (!entity)
        return nullptr;
    if (auto* transform = entity->AddComponent<Transform3D>(true)) {
        transform->SetPosition(at.x, at.y, at.z);
        transform->SetScale(sx, sy, sz);
    }
    return entity;
}

Entity* CharSelectMenu::MakeBillboard(const std::string& baseName, const Vec4& at, float sx, float sy, float sz,
                                      const std::string& material)
{
    Entity* entity = MakeEntity(baseName, at, sx, sy, sz);
    if (entity)
        if (auto* quad = entity->AddComponent<BillboardedQuadComponent>(true))
            quad->SetMaterial(material);
    return entity;
}

void CharSelectMenu::RunFront(Action* flow)
{
    ActionList* owner = GetOwnerList();
    if (!owner) {
        std::printf("Warning: %s runs in no list; an animation is dropped\n", GetScreenName().c_str());
        delete flow;
        return;
    }
    owner->PushFront(flow, 0);
    GetFlows().Track(flow);
}

void CharSelectMenu::BuildScrolls()
{
    m_basis = CharSelectRules::MakeBasis(GetCameraPosition(), GetCameraLook());
    GraphicsSystem* graphics = GetGraphics();
    std::vector<Action*> growth;
    auto grow = [&](const EntityRef& ref, float to) {
        if (Transform3D* transform = ComponentOf<Transform3D>(ref))
            growth.push_back(new TweenTo(&transform->m_scaleY, kScrollGrowth, to, Easing::kBackOut, true, false));
    };

    for (int k = 0; k < CharSelectRules::kSlots; ++k) {
        Entity* scroll = MakeEntity("", m_basis.At(-10.0f + 20.0f * static_cast<float>(k), 20.0f, 50.0f), 0.5f, 0.0f, 0.5f);
        if (!scroll)
            continue;
        m_slots[static_cast<std::size_t>(k)].scroll = scroll;
        if (auto* skinned = scroll->AddComponent<GraphicsComponent3DSkinned>(true)) {
            skinned->SetModel(kScrollModel);
            skinned->SetMaterial(kScrollMaterial);
            ZOR::AnimationController& controller = skinned->GetAnimationController();
            AddClips(graphics, controller, {kScrollStill, kScrollUp, kScrollDown}, "a scroll");
            controller.PlayAnimation(kScrollStill, 1.0f, ZOR::BlendGroup::All);
            controller.SetLoop(false);
        }
    }
    m_title = MakeBillboard("", m_basis.At(5.0f, 27.5f, 50.0f), 30.0f, 0.0f, 5.0f, "char_select_title.mat");
    m_controls = MakeBillboard("", m_basis.At(5.0f, -25.5f, 50.0f), 55.0f, 0.0f, 5.0f, kKeyboardControls);
    for (int k = 0; k < CharSelectRules::kTeams; ++k)
        m_headers.emplace_back(MakeBillboard("", m_basis.At(-45.0f, 20.5f - 12.5f * static_cast<float>(k), 50.0f),
                                             10.0f, 0.0f, 5.0f, CharSelectRules::HeaderMaterial(k)));

    grow(m_title, 6.0f);
    grow(m_controls, 10.0f);
    for (const EntityRef& header : m_headers)
        grow(header, 3.0f);
    for (const SlotEntities& slot : m_slots)
        grow(slot.scroll, 0.5f);
    auto* opening = new ActionList(true, true);
    for (Action* tween : growth)
        opening->PushBack(tween, 0);

    m_rules.SetAllBusy(true);
    RunFront(quellor::MakeSequence(opening, new SetValue(&m_rules.Busy(0), false), new SetValue(&m_rules.Busy(1), false),
                                   new SetValue(&m_rules.Busy(2), false), new SetValue(&m_rules.Busy(3), false)));
}

void CharSelectMenu::JoinSlot(int slot)
{
    SlotEntities& entities = m_slots[static_cast<std::size_t>(slot)];
    if (SoundSystem* sound = GetSound())
        sound->Play(kScrollOpenCue, 0);
    m_rules.Busy(slot) = true;
    if (auto* skinned = ComponentOf<GraphicsComponent3DSkinned>(entities.scroll))
        skinned->GetAnimationController().PlayAnimation(kScrollDown);
    m_rules.Join(slot);
    BuildSlot(slot);

    auto* open = new ActionList(true, true);
    for (unsigned widget = 0; widget < WidgetCount; ++widget) {
        if (widget == HairMount || widget == MaskMount)
            continue;
        if (Transform3D* transform = ComponentOf<Transform3D>(entities.widgets[widget])) {
            const float scale = OpenedScale(widget);
            for (float* axis : {&transform->m_scaleX, &transform->m_scaleY, &transform->m_scaleZ})
                open->PushBack(new SetValue(axis, scale), 0);
        }
    }
    open->PushBack(new SetValue(&m_rules.Busy(slot), false), 0);
    open->PushBack(new Invoke([this] { RefreshTeamBoard(); }), 0);
    RunFront(quellor::MakeSequence(new Wait(kOpening), open));
}

void CharSelectMenu::LeaveSlot(int slot)
{
    SlotEntities& entities = m_slots[static_cast<std::size_t>(slot)];
    if (SoundSystem* sound = GetSound())
        sound->Play(kScrollCloseCue, 0);
    DestroySlotWidgets(slot);
    m_rules.Busy(slot) = true;
    if (auto* skinned = ComponentOf<GraphicsComponent3DSkinned>(entities.scroll))
        skinned->GetAnimationController().PlayAnimation(kScrollUp);
    RunFront(quellor::MakeSequence(new Wait(kOpening), new Invoke([this] { RefreshTeamBoard(); }),
                                   new SetValue(&m_rules.Busy(slot), false)));
    m_rules.Leave(slot);
}

void CharSelectMenu::DestroySlotWidgets(int slot)
{
    for (EntityRef& widget : m_slots[static_cast<std::size_t>(slot)].widgets)
        DestroyRef(widget);
}

void CharSelectMenu::BuildSlot(int slot)
{
    SlotEntities& entities = m_slots[static_cast<std::size_t>(slot)];
    const float column = SlotColumn(slot);
    const Vec4 previewAt = m_basis.At(column, 1.0f, 45.0f);
    const Quat facing = CharSelectRules::Facing(m_basis, previewAt, false);
    const Quat mirrored = CharSelectRules::Facing(m_basis, previewAt, true);

    Entity* preview = MakeEntity("player", previewAt, 0.0f, 0.0f, 0.0f);
    entities.widgets[Preview] = preview;
    if (preview) {
        preview->GetComponent<Transform3D>()->m_rotation = facing;
        if (auto* skinned = preview->AddComponent<GraphicsComponent3DSkinned>(true)) {
            skinned->SetModel(kPreviewModel);
            skinned->SetMaterial(CharSelectRules::SlotBody(slot));
            ZOR::AnimationController& controller = skinned->GetAnimationController();
            AddClips(GetGraphics(), controller, {kPreviewClip}, "the preview character");
            controller.PlayAnimation(kPreviewClip, 1.0f, ZOR::BlendGroup::All);
        }
    }

    // The mounts take their model at their first update and follow the preview's head.
    auto mount = [&](Widget widget, const char* model, const char* material) {
        Entity* entity = CreateEntity("mask", true);
        entities.widgets[widget] = entity;
        if (!entity)
            return;
        entity->AddComponent<Transform3D>(true);
        if (auto* skin = entity->AddComponent<SkinMountComponent>(true)) {
            skin->SetTarget(preview);
            skin->SetMountName(model);
            skin->SetMatName(material);
            skin->m_boneNum = MatchStart::kMountBone;
        }
    };
    mount(MaskMount, "mask_default.model", "mask_red.mat");
    mount(HairMount, "hair_default.model", "hair_black.mat");

    for (unsigned row = 0; row < kRows; ++row) {
        for (const bool right : {false, true}) {
            const float offset = right ? 4.25f : -3.25f;
            Entity* arrow = MakeEntity("mask", m_basis.At(column + offset, kArrowRows[row], 45.0f), 0.0f, 0.0f, 0.0f);
            entities.widgets[HairLeft + 2 * row + (right ? 1 : 0)] = arrow;
            if (!arrow)
                continue;
            arrow->GetComponent<Transform3D>()->m_rotation = right ? mirrored : facing;
            if (auto* model = arrow->AddComponent<GraphicsComponent3D>(true)) {
                model->SetModel("arrow.model");
                model->SetMaterial("arrow_menu.mat");
            }
        }
    }

    for (const Widget icon : {HairIcon, MaskIcon}) {
        const float height = icon == HairIcon ? -12.0f : -15.0f;
        Entity* entity = MakeEntity("hairPreview", m_basis.At(column, height, 45.0f), 0.0f, 0.0f, 0.0f);
        entities.widgets[icon] = entity;
        if (entity)
            entity->AddComponent<GraphicsComponent3D>(true);
    }
    // The icons show the slot's entries, which the join has put on the first of each list.
    ShowItem(slot, 0);
    ShowItem(slot, 1);

    entities.widgets[Swatch] = MakeBillboard("hairPreview", m_basis.At(column, -8.0f, 45.0f), 0.0f, 0.0f, 0.0f,
                                             CharSelectRules::SwatchMaterial(m_rules.GetSlot(slot).team));
}

void CharSelectMenu::ShowItem(int slot, int row)
{
    const bool hair = row == 0;
    const std::string entry = hair ? m_rules.HairEntry(slot) : m_rules.MaskEntry(slot);
    auto [model, material] = CharSelectRules::SplitEntry(entry);
    if (ContentSystem* content = Content()) {
        if (hair && !content->IsHairUnlocked(entry)) {
            model = kLockedHair;
            material = kLockedHairMaterial;
        } else if (!hair && !content->IsMaskUnlocked(entry)) {
            model = kLockedMask;
            material = kLockedMaskMaterial;
        }
    }
    const SlotEntities& entities = m_slots[static_cast<std::size_t>(slot)];
    // A mount carries its model component only after its first update.
    for (const Widget widget : {hair ? HairMount : MaskMount, hair ? HairIcon : MaskIcon}) {
        if (auto* graphic = ComponentOf<GraphicsComponent3D>(entities.widgets[widget])) {
            graphic->SetModel(model + ".model");
            graphic->SetMaterial(material + ".mat");
        }
    }
}

void CharSelectMenu::ShowTeam(int slot)
{
    const SlotEntities& entities = m_slots[static_cast<std::size_t>(slot)];
    const int team = m_rules.GetSlot(slot).team;
    if (auto* swatch = ComponentOf<BillboardedQuadComponent>(entities.widgets[Swatch]))
        swatch->SetMaterial(CharSelectRules::SwatchMaterial(team));
    if (auto* body = ComponentOf<GraphicsComponent3DSkinned>(entities.widgets[Preview]))
        body->SetMaterial(CharSelectRules::BodyMaterial(team));
    RefreshTeamBoard();
}

Vec4 CharSelectMenu::CheckmarkPlace(const CharSelectRules::Basis& basis, int slot, unsigned row)
{
    const float column = 15.5f * static_cast<float>(slot) - 15.0f;
    return basis.At(column, kCheckRows[row < kRows ? row : 0], 40.0f);
}

void CharSelectMenu::PlaceCheckmark(int slot)
{
    const int row = m_rules.GetSlot(slot).stage;
    if (row < 0 || row >= static_cast<int>(kRows))
        return;
    m_rules.Busy(slot) = true;
    Entity* checkmark =
        MakeEntity("checkmark", CheckmarkPlace(m_basis, slot, static_cast<unsigned>(row)), 0.2f, 0.0f, 0.2f);
    if (checkmark)
        if (auto* model = checkmark->AddComponent<GraphicsComponent3D>(true)) {
            model->SetModel("checkmark.model");
            model->SetMaterial("green.mat");
        }
    EntityRef& stored = m_slots[static_cast<std::size_t>(slot)].checkmarks[static_cast<std::size_t>(row)];
    stored = checkmark;
    Transform3D* transform = ComponentOf<Transform3D>(stored);
    RunTracked(
        quellor::MakeSequence(
            transform ? new TweenTo(&transform->m_scaleY, 0.5f, 0.2f, Easing::kElasticOut, true, false) : nullptr,
            new SetValue(&m_rules.Busy(slot), false)),
        kCheckmarkLane);
}

void CharSelectMenu::RemoveCheckmark(int slot)
{
    const int row = m_rules.GetSlot(slot).stage - 1;
    if (row < 0 || row >= static_cast<int>(kRows))
        return;
    m_rules.Busy(slot) = true;
    EntityRef& stored = m_slots[static_cast<std::size_t>(slot)].checkmarks[static_cast<std::size_t>(row)];
    Transform3D* transform = ComponentOf<Transform3D>(stored);
    const EntityRef checkmark = stored;
    RunTracked(quellor::MakeSequence(
                   transform ? new TweenTo(&transform->m_scaleY, 0.3f, 0.0f, Easing::kBackIn, true, false) : nullptr,
                   new Invoke([checkmark] {
                       EntityRef gone = checkmark;
                       DestroyRef(gone);
                   }),
                   new SetValue(&m_rules.Busy(slot), false)),
               kCheckmarkLane);
    stored.Reset();
}

void CharSelectMenu::RefreshTeamBoard()
{
    for (std::vector<EntityRef>& team : m_board) {
        for (EntityRef& entity : team)
            DestroyRef(entity);
        team.clear();
    }
    for (const CharSelectRules::BoardMember& member : m_rules.Board()) {
        std::vector<EntityRef>& team = m_board[static_cast<std::size_t>(member.team)];
        team.emplace_back(MakeBillboard("", m_basis.At(-45.0f, member.row, 50.0f), 7.0f, 2.0f, 5.0f, member.streak));
        team.emplace_back(MakeBillboard("", m_basis.At(-50.0f, member.row, 50.0f), 2.0f, 2.0f, 7.0f, member.tile));
    }
}

} // namespace quellor
