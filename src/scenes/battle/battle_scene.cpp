// The battle's frame: set-up and start, the per-frame tick, the waits,
// the active-time gauges with the command queue and the ready list, and
// the end of the battle.

#include "scenes/battle/battle_scene.h"

#include <algorithm>
#include <cmath>

#include "data/database/battle.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/database/item.h"
#include "data/database/status.h"
#include "data/database/system.h"
#include "data/database/vocabulary.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/enemies/monster.h"
#include "game/interpreter/battle_scripter.h"
#include "game/interpreter/scripter.h"
#include "game/party/party_info.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"
#include "graphics/graphics_files.h"
#include "graphics/system_graphic.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "media/sheet/sheet.h"
#include "scenes/debug/debug_scene.h"
#include "scenes/field/field_scene.h"
#include "scenes/game_main.h"
#include "scenes/startup.h"
#include "scenes/windows/message_window.h"

namespace {

constexpr int32_t kFullGauge = IBattleSceneLink::kFullGauge;

const std::string& Term(int id) {
    static const std::string empty;
    return DbVocabulary ? DbVocabulary->Get(id) : empty;
}

int MemberCount() { return GamePartyInfo ? GamePartyInfo->MemberCount() : 0; }
TLcfgPlayerItem* Member(int slot) { return GamePartyInfo ? GamePartyInfo->Member(slot) : nullptr; }
int EnemyCount() { return GameMonsters ? GameMonsters->Count() : 0; }
TLcfgMonsterItem* Enemy(int i) { return GameMonsters ? GameMonsters->Items(i) : nullptr; }

// Either side's battle animation.
bool AnimationRunning() {
    return (GameMonsters && GameMonsters->Animation().Active()) || (GamePlayers && GamePlayers->AnimationRunning());
}

void Sound(int index) {
    if (GameSystem) GameSystem->PlaySound(GameSystem->Sound(index));
}

}  // namespace

bool CompareOrder(const TOrder& a, const TOrder& b) {
    if (a.depth != b.depth) return a.depth < b.depth;
    return a.index > b.index;
}

TLcfBattleScene::TLcfBattleScene() : backdrop_(std::make_unique<TSorvoSheet>()) {
    statusWindow.OnUpdate = [this] { RunGauges(); };
    commandWindow.EscapePossible = [this] { return EscapePossible(); };
    SetBattleLink(this);
    TLcfBattleScene::Reset();
}

TLcfBattleScene::~TLcfBattleScene() {
    if (&BattleLink() == this) SetBattleLink(nullptr);
}

void TLcfBattleScene::Reset() {
    TLcfScene::Reset();
    queue.fill(-1);
    // The field's windows follow this too: in layout 0 they are never
    // translucent once a battle scene exists.
    if (DbBattle && BattleLayout() == 0) DbBattle->translucentWindows = 0;
    started = false;
    phase_ = kPartyCommand;
    backdrop_->FreePixels();
    for (TLcfWindow* w : std::initializer_list<TLcfWindow*>{&statusWindow, &partyCommandWindow, &commandWindow,
                                                            &skillWindow, &itemWindow, &targetWindow,
                                                            &monsterWindow, &messageWindow})
        w->CloseNow();
    statusWindow.backRequest = 0;
    commandingSlot = -1;
    itemTop = itemCursor = 0;
    escapeChance = 0;
    messageLinesUsed = 0;
    readyList.clear();
    targetingEnemies = 0;
    endState = kRunning;
    endCountdown = 0;
    defeatPending = victoryPending = 0;
    autoBattle = 0;
    lastTargetKind = 0;
    lastTargetIndex = -1;
    lastActorId = 0;
    chosenCommands.clear();
    enemyTurnsEnabled = 1;
    eventsEnabled = 0;
    holding = 0;
    if (GamePlayers) GamePlayers->ResetAnimation();
    if (GameMonsters) GameMonsters->Reset();
    if (GameBattleScripter) GameBattleScripter->Clear();
    for (TLcfgPanorama& layer : layers_) layer.Clear();
}

// --- Start ------------------------------------------------------------------------------

bool TLcfBattleScene::TerrainBackdrop() const {
    if (setup.terrainId <= 0 || !DbGround) return false;
    const TLcfGroundItem* terrain = DbGround->Find(setup.terrainId);
    return terrain && terrain->backdropKind == 1;
}

void TLcfBattleScene::LoadBackdrop() {
    backdrop_->AutoSize = true;
    backdrop_->FreePixels();
    if (TerrainBackdrop()) {
        // Two scrolling layers over a 20 x 15 tile area that does not loop.
        const TLcfGroundItem& t = *DbGround->Find(setup.terrainId);
        layers_[0].Configure(t.layer1Image, true, 15, 20, t.layer1SpeedV, t.layer1SpeedH, false, false, false, false,
                             t.layer1SpeedV != 0, t.layer1SpeedH != 0, t.layer1ScrollV != 0, t.layer1ScrollH != 0);
        layers_[0].LoadFrame(t.layer1Image);
        if (t.layer2Shown) {
            layers_[1].Configure(t.layer2Image, true, 15, 20, t.layer2SpeedV, t.layer2SpeedH, false, true, false,
                                 false, t.layer2SpeedV != 0, t.layer2SpeedH != 0, t.layer2ScrollV != 0,
                                 t.layer2ScrollH != 0);
            layers_[1].LoadFrame(t.layer2Image);
        }
        return;
    }
    if (!setup.backdrop.empty()) backdrop_->LoadFromFile(FindGraphicsFile("Backdrop", setup.backdrop), false);
}

void TLcfBattleScene::ChangeBackdrop(const std::string& name) {
    setup.backdrop = name;
    setup.terrainId = 0;
    for (TLcfgPanorama& layer : layers_) layer.Clear();
    LoadBackdrop();
}

int32_t TLcfBattleScene::ExecutingCommandId(const TLcfgPlayerItem& actor) const {
    const auto it = chosenCommands.find(actor.Id());
    return it == chosenCommands.end() ? 0 : it->second;
}

int32_t TLcfBattleScene::ComputeEscapeChance() const {
    const int32_t troop = GameMonsters ? std::max(1, GameMonsters->AverageAgility()) : 1;
    const int32_t party = GamePartyInfo ? std::max(1, GamePartyInfo->AverageAgility()) : 1;
    const double chance = 150.0 - std::nearbyint(100.0 * double(troop) / double(party));
    return int32_t(std::clamp(chance, 0.0, 100.0));
}

void TLcfBattleScene::ShowLine(const std::string& text, int minimum, int total) {
    messageWindow.SetUp();
    messageWindow.SetLine(0, text);
    WaitFrames(minimum, total);
}

void TLcfBattleScene::Start() {
    Reset();
    started = true;
    LoadBackdrop();
    if (setup.startCondition == kStartBackAttack || setup.startCondition == kStartPincer) setup.firstStrike = false;
    if (GameMonsters) GameMonsters->SetupTroop(setup.troopId);
    if (GamePlayers) {
        GamePlayers->PlaceForBattle();
        GamePlayers->ResetTurnCounts();
    }
    if (GamePartyInfo) GamePartyInfo->ResetTurns();
    if (GameMonsters) GameMonsters->ResetTurnCounts();
    if (GameScreen) GameScreen->StopFlash();
    escapeChance = ComputeEscapeChance();

    const int32_t show = GameSystem ? GameSystem->Transition(kTransitionBattleStartShow) : kNoTransition;
    if (show != kNoTransition)
        ShowScreen(show);
    else
        GameDraw->Board().Brightness = 100;

    if (!Term(TLcfVocabulary::kBattleStart2).empty()) {
        ShowLine(Term(TLcfVocabulary::kBattleStart2), 10, 80);
        messageWindow.CloseNow();
    }
    const int c = setup.startCondition;
    if (c == kStartInitiative || c == kStartSurround || (setup.firstStrike && c == kStartNormal)) {
        ShowLine(Term(TLcfVocabulary::kBattleStart), 30, 70);
        messageWindow.CloseNow();
    } else if (c > 0) {
        WaitFrames(30, 70);
    }
    if (GamePlayers) GamePlayers->UpdateFacing();
    if (GameMonsters) GameMonsters->UpdateFacing();
    OpenPartyCommand();
}

void TLcfBattleScene::OpenPartyCommand() {
    eventsEnabled = 1;
    RunBattleEvents(nullptr, 3);
    messageWindow.CloseNow();
    commandWindow.SetCursorVisible(false);
    const int layout = BattleLayout();
    statusWindow.Layout(layout == 0 ? 104 : 76);
    if (layout == 0) {
        monsterWindow.Layout();
        monsterWindow.SetActive(false);
        monsterWindow.SetCursorVisible(false);
    } else {
        partyCommandWindow.Place(MayEscapeFromPartyCommand());
        partyCommandWindow.SetCursorVisible(true);
        partyCommandWindow.SetActive(true);
        partyCommandWindow.SetCursor(0);
    }
    SetPhase(kPartyCommand);
}

bool TLcfBattleScene::MayEscapeFromPartyCommand() const {
    if (!setup.escapeAllowed || (GamePartyInfo && GamePartyInfo->battleTurns != 0)) return false;
    const int c = setup.startCondition;
    return setup.firstStrike || c == kStartInitiative || c == kStartSurround;
}

bool TLcfBattleScene::EscapePossible() const {
    return setup.escapeAllowed && setup.startCondition >= 0 && setup.startCondition <= 3;
}

bool TLcfBattleScene::BattleEventRunning() const { return GameBattleScripter && GameBattleScripter->IsRunning(); }

// --- Update -----------------------------------------------------------------------------

void TLcfBattleScene::Update() {
    try {
        if (!started) Start();
        Tick();
        const int layout = BattleLayout();
        switch (phase_) {
            case kPartyCommand: {
                bool fight = false;
                if (layout == 0) {
                    fight = true;
                } else if (partyCommandWindow.Active() && GameInput && GameInput->IsPressed(TMultiInput::kDecision)) {
                    const int choice = partyCommandWindow.Cursor();
                    if (choice == 2) {
                        if (MayEscapeFromPartyCommand()) {
                            Sound(kSoundDecision);
                            PartyFlee();
                        } else {
                            Sound(kSoundBuzzer);
                        }
                        break;
                    }
                    Sound(kSoundDecision);
                    autoBattle = choice == 1;
                    // This battle's flags: the actors' own settings stay as
                    // they are saved.
                    for (int i = 0; i < MemberCount(); ++i)
                        if (TLcfgPlayerItem* a = Member(i)) a->show.autoThisBattle = choice == 1 ? 1 : a->autoBattle;
                    fight = true;
                }
                if (fight) {
                    commandingSlot = -1;
                    SlideWindows(true);
                    StartGauges();
                }
                break;
            }
            case kGauges:
                if (layout != 0 && statusWindow.backRequest) {
                    Sound(kSoundCancel);
                    partyCommandWindow.SetEscapeEnabled(MayEscapeFromPartyCommand());
                    statusWindow.SetCursorVisible(false);
                    statusWindow.SetActive(false);
                    if (layout == 2) commandWindow.CloseNow();
                    SlideWindows(false);
                    partyCommandWindow.SetActive(true);
                    partyCommandWindow.SetCursorVisible(true);
                    phase_ = kPartyCommand;
                    statusWindow.backRequest = 0;
                } else {
                    ProcessReadyList();
                }
                break;
            case kActorCommand: ProcessReadyList(); break;
            case kFleeing: LeaveByFlight(); break;
            default: break;
        }
    } catch (const ELcfBattleEnd&) {
        // The battle is over; the scene number says where to go.
    }
}

void TLcfBattleScene::StartGauges() {
    partyCommandWindow.SetActive(false);
    statusWindow.SetCursorVisible(false);
    statusWindow.SetActive(false);
    const int first = queue[0] >= 0 ? queue[0] : 0;
    statusWindow.PointAt(first);
    if (BattleLayout() == 1) PlaceCommandsFor(first);
    SetPhase(kGauges);
}

void TLcfBattleScene::NestedFrame() {
    if (GameInput) GameInput->Update();
    Tick();
    DrawAndWait();
}

void TLcfBattleScene::SlideWindows(bool out) {
    if (BattleLayout() == 0) return;
    if (GameInput) GameInput->Flush();
    for (int k = 1; k <= 9; ++k) {
        const int32_t n = out ? k : 9 - k;
        const int32_t shift = out ? -8 * n - 4 : -8 * n;
        partyCommandWindow.MoveTo(shift, partyCommandWindow.Y());
        statusWindow.MoveTo(shift + 76, statusWindow.Y());
        commandWindow.MoveTo(shift + 320, commandWindow.Y());
        Tick();
        DrawAndWait();
    }
    if (GameInput) GameInput->Flush();
}

// --- Tick -------------------------------------------------------------------------------

void TLcfBattleScene::Tick() {
    if (GameScreen) GameScreen->Update();
    if (GamePlayers) GamePlayers->UpdateBattle();
    if (GameMonsters) GameMonsters->Update();

    const bool scriptWaits = GameBattleScripter && (GameBattleScripter->IsWaiting() ||
                                                    GameBattleScripter->waitingForKey || GameBattleScripter->waitingForAnyKey);
    const bool messageOpen = GameMessageWindow && GameMessageWindow->IsVisible();
    if (endState == kRunning) {
        if (defeatPending) {
            if (--endCountdown < 1) Defeat();
            ++statusWindow.counter;
            return;
        }
        if (victoryPending) {
            if (--endCountdown == 0)
                Victory();
            else
                return;
        }
        CheckBattleEnd();
        if (!scriptWaits && !messageOpen && !holding) {
            phaseBeforeWindows_ = phase_;
            monsterWindow.RefreshList();
            monsterWindow.Update();
            commandWindow.Update();
            if (phase_ == kActorCommand && commandWindow.IsOpen() && !inCommandInput_) {
                // Target and list choices tick the battle themselves; the
                // flag keeps them from starting a second input.
                struct Guard {
                    bool& flag;
                    ~Guard() { flag = false; }
                } guard{inCommandInput_};
                inCommandInput_ = true;
                ActorCommandInput();
            }
            statusWindow.Update();
            partyCommandWindow.Update();
            skillWindow.Update();
            itemWindow.Update();
            targetWindow.Update();
        }
    } else if (endState == kVictoryUnderWay) {
        statusWindow.Update();
    }
    if (!scriptWaits) {
        messageWindow.Update();
        if (GameMessageWindow) GameMessageWindow->Update();
    }
    // Battle event pages run through the battle interpreter while events
    // are enabled and no animation runs.
    if (eventsEnabled && !AnimationRunning() && GameBattleScripter) GameBattleScripter->Update();

    for (TLcfgPanorama& layer : layers_) layer.AutoScroll();
    if (GamePartyInfo && (GamePartyInfo->TimerState(0).inBattle || GamePartyInfo->TimerState(1).inBattle)) {
        // A timer stops itself when it reaches 0, so the flags are taken
        // before the count.
        const bool flagged[2] = {GamePartyInfo->TimerState(0).inBattle != 0, GamePartyInfo->TimerState(1).inBattle != 0};
        GamePartyInfo->TickTimers();
        // A battle that is ending is not ended again: the frames its end
        // waits tick on, and a timer started at 0 never stops itself.
        for (int t = 0; t < 2 && endState != kEnded; ++t)
            if (flagged[t] && GamePartyInfo->TimerState(t).frames / 60 == 0) EndBattle(kAbort);
    }
    if (TestPlayMode && GameInput && platform::Sys().IsKeyHeld(platform::Key::F9)) RunDebugScene();
}

void TLcfBattleScene::RunDebugScene() {
    if (!GameSystem || !DebugScene) return;
    GameSystem->scene = kSceneDebug;
    auto saved = DebugScene->BattleInProgress;
    DebugScene->BattleInProgress = [] { return true; };
    while (GameSystem->scene == kSceneDebug) {
        GameInput->Update();
        DebugScene->Update();
        if (GameDraw->GetLag() < GameDraw->MaxLag() / 2) {
            DebugScene->Draw();
            GameDraw->Flip();
        }
        GameDraw->WaitFrame();
    }
    DebugScene->BattleInProgress = saved;
}

void TLcfBattleScene::WaitFrames(int minimum, int total) {
    holding = 0;
    if (GameInput) GameInput->Flush();
    for (int i = 0; i < total; ++i) {
        NestedFrame();
        if (i >= minimum && GameInput &&
            (GameInput->IsHeld(TMultiInput::kDecision) || GameInput->IsHeld(TMultiInput::kShift)))
            break;
    }
    while (GameInput && GameInput->IsHeld(TMultiInput::kCancel)) {
        holding = 1;
        NestedFrame();
    }
    holding = 0;
    if (GameInput) GameInput->Flush();
}

// --- Gauges, queue and ready list -------------------------------------------------------

void TLcfBattleScene::SetQueuedActor(int i, int32_t slot) {
    if (i >= 0 && i < kQueue - 1) queue[size_t(i)] = slot;
}

int32_t TLcfBattleScene::QueuedActor(int i) const { return i >= 0 && i < kQueue ? queue[size_t(i)] : -1; }

void TLcfBattleScene::RemoveFromQueue(int slot) {
    for (int i = 0; i < kQueue - 1; ++i) {
        if (queue[size_t(i)] != slot) continue;
        for (int j = i; j < kQueue - 1; ++j) queue[size_t(j)] = queue[size_t(j + 1)];
        queue[kQueue - 1] = -1;
        return;
    }
}

void TLcfBattleScene::RunGauges() {
    // Cancel while the gauges run asks for the party command again.
    if (BattleLayout() != 0 && phase_ == kGauges && phaseBeforeWindows_ == kGauges && GameInput &&
        GameInput->IsPressed(TMultiInput::kCancel))
        statusWindow.backRequest = 1;
    if (endState != kRunning || !statusWindow.IsOpen() || BattleEventRunning()) return;
    if (phase_ != kPartyCommand && statusWindow.backRequest) return;
    bool someoneStands = false;
    for (int i = 0; i < MemberCount(); ++i)
        if (TLcfgPlayerItem* a = Member(i); a && !a->IsIncapacitated()) someoneStands = true;
    if (!someoneStands) return;

    int64_t sum = 0;
    for (int i = 0; i < MemberCount(); ++i)
        if (TLcfgPlayerItem* a = Member(i); a && a->present) sum += a->EffectiveAgility();
    for (int i = 0; i < EnemyCount(); ++i)
        if (Enemy(i)->present) sum += Enemy(i)->EffectiveAgility();
    // A battle of agility 0 everywhere still moves (the divisor stays at
    // least 1).
    auto gain = [sum](const TLcfgUnitItem& b) {
        const int64_t divisor = std::max<int64_t>(1, (sum * 100) / (int64_t(b.EffectiveAgility()) + 1));
        return kFullGauge / divisor;
    };
    const bool animation = AnimationRunning();
    const bool waitRule = !GameSystem || GameSystem->battleWaitMode == 0 || phase_ == kGauges;

    for (int i = 0; i < MemberCount(); ++i) {
        TLcfgPlayerItem* a = Member(i);
        if (!a || !a->CanAct()) continue;
        if (a->actionMarker == 0 && phase_ != kPartyCommand && !animation && waitRule)
            a->gauge = int32_t(std::min<int64_t>(INT32_MAX, a->gauge + gain(*a)));
        if (a->gauge > kFullGauge) {
            a->gauge = kFullGauge;
            if (!animation) {
                for (int q = 0; q < kQueue - 1; ++q) {
                    if (queue[size_t(q)] == i) break;
                    if (queue[size_t(q)] == -1) {
                        queue[size_t(q)] = i;
                        break;
                    }
                }
            }
        }
    }
    for (int i = 0; i < EnemyCount(); ++i) {
        TLcfgMonsterItem* e = Enemy(i);
        if (!e->IsAlive() || animation) continue;
        if (e->gauge > kFullGauge && enemyTurnsEnabled) {
            e->gauge = 0;
            e->actionMarker = 1;
            lastActorId = -1;
            EnemyReady(*e);
            break;
        }
        if (phase_ != kPartyCommand && e->actionMarker == 0 && waitRule)
            e->gauge = int32_t(std::min<int64_t>(INT32_MAX, e->gauge + gain(*e)));
    }
    if (phase_ != kGauges) return;
    for (int q = 0; q < kQueue - 1; ++q) {
        TLcfgPlayerItem* a = Member(queue[size_t(q)]);
        if (queue[size_t(q)] >= 0 && (!a || !a->CanAct())) {
            RemoveFromQueue(queue[size_t(q)]);
            break;
        }
    }
    CommandInputStart();
}

void TLcfBattleScene::CommandInputStart() {
    const int layout = BattleLayout();
    if (layout == 0) {
        // While an actor picks its target or list (the party changed under
        // it), no other actor's commands open before its choice is settled.
        if (commandWindow.Active()) {
            SetPhase(kActorCommand);
        } else if (queue[0] >= 0 && !inCommandInput_) {
            commandingSlot = queue[0];
            OpenActorCommands(queue[0]);
        }
        return;
    }
    if (statusWindow.CursorVisible()) {
        for (int q = 0; q < kQueue - 1; ++q) {
            TLcfgPlayerItem* a = Member(queue[size_t(q)]);
            if (a && a->IsAlive() && DecidesByItself(*a)) {
                statusWindow.PointAt(queue[size_t(q)]);
                commandingSlot = queue[size_t(q)];
                OpenActorCommands(commandingSlot);
                return;
            }
        }
        TLcfgPlayerItem* a = Member(statusWindow.Cursor());
        if (a && a->gauge >= kFullGauge && GameInput && GameInput->IsPressed(TMultiInput::kDecision)) {
            Sound(kSoundDecision);
            commandingSlot = statusWindow.Cursor();
            OpenActorCommands(commandingSlot);
            return;
        }
        // The commands beside the status follow its cursor. Commands closed
        // by a cancel stay closed until the cursor moves on.
        TLcfgPlayerItem* under = Member(statusWindow.Cursor());
        if (under && !commandWindow.Active() && commandWindow.ActorId() != under->Id())
            PlaceCommandsFor(statusWindow.Cursor());
        return;
    }
    if (queue[0] >= 0) {
        statusWindow.PointAt(queue[0]);
        statusWindow.SetCursorVisible(true);
        statusWindow.SetActive(true);
        PlaceCommandsFor(queue[0]);
    }
}

void TLcfBattleScene::OpenActorCommands(int slot) {
    TLcfgPlayerItem* a = Member(slot);
    if (!a) return;
    if (!commandWindow.Active()) {
        partyCommandWindow.SetActive(false);
        statusWindow.SetActive(false);
        const int layout = BattleLayout();
        if (layout == 0) {
            statusWindow.SetCursorVisible(true);
            statusWindow.PointAt(slot);
        }
        const int32_t x = layout == 0 ? 28 : layout == 1 ? 244 : 0;
        const int32_t y = layout == 2 ? 80 : 160;
        commandWindow.PlaceFor(a->Id(), x, y, false);
        commandWindow.SetCursorVisible(true);
        commandWindow.SetActive(true);
    }
    SetPhase(kActorCommand);
}

void TLcfBattleScene::ActorReady(int slot) {
    TLcfgPlayerItem* a = Member(slot);
    if (!a) return;
    if (GamePartyInfo) GamePartyInfo->CountTurn();
    a->CountTurn();
    const TLcfgUnitActItem& act = a->action;
    const bool basicWithoutTarget = act.basic == 0 || act.basic == 2 || act.basic == 6 || act.basic == 7 || act.basic == 8;
    if (act.targetKind != 0 || basicWithoutTarget || act.kind == TLcfgUnitActItem::kChooseAtTurn) {
        // An actor whose action was dropped chooses again while its entry
        // still stands at the head of the list: that entry carries the new
        // action. A second entry would give it a second turn (a defence,
        // whose action outlives the turn, would run twice).
        if (std::find(readyList.begin(), readyList.end(), a) == readyList.end()) readyList.push_back(a);
        if (act.kind == TLcfgUnitActItem::kChooseAtTurn) a->DecideAction();
    }
    commandWindow.SetCursorVisible(false);
    bool queued = false;
    for (int q = 0; q < kQueue - 1; ++q) queued = queued || queue[size_t(q)] == slot;
    RemoveFromQueue(slot);
    if (queued) {
        a->gauge = 0;
        // Its gauge stands until the turn is over. An actor left out of the
        // ready list has no turn to wait for.
        if (std::find(readyList.begin(), readyList.end(), a) != readyList.end()) a->actionMarker = 1;
    }
    if (GameBattleScripter) GameBattleScripter->ClearPageFlags();
}

void TLcfBattleScene::EnemyReady(TLcfgUnitItem& enemy) {
    if (GamePartyInfo) GamePartyInfo->CountTurn();
    enemy.CountTurn();
    if (enemy.present) readyList.push_back(&enemy);
    if (!readyList.empty()) readyList.back()->DecideAction();
    if (GameBattleScripter) GameBattleScripter->ClearPageFlags();
}

void TLcfBattleScene::ProcessReadyList() {
    if (victoryPending || defeatPending || readyList.empty()) return;
    TLcfgUnitItem* head = readyList.front();
    RunBattleEvents(head, 1);
    if (!ExecuteAction(*head)) return;
    if (head->IsEnemy()) RunBattleEvents(head, 2);
    if (head->action.basic != TLcfgUnitActItem::kDefend) head->action.kind = TLcfgUnitActItem::kNone;
    if (head->IsEnemy()) {
        head->actionMarker = 0;
        eventsEnabled = 1;
    } else if (head->actionMarker == 1) {
        // An actor whose turn never began (it fell or left the party
        // meanwhile) is idle again; one that acts ends with its motion.
        head->actionMarker = 0;
    }
    auto it = std::find(readyList.begin(), readyList.end(), head);
    if (it != readyList.end()) readyList.erase(it);
    CheckBattleEnd();
}

void TLcfBattleScene::RunBattleEvents(TLcfgUnitItem* battler, int trigger) {
    const bool scriptWaits = GameBattleScripter && (GameBattleScripter->IsWaiting() ||
                                                    GameBattleScripter->waitingForKey || GameBattleScripter->waitingForAnyKey);
    if (trigger == 2 && (messageWindow.IsVisible() || (GameMessageWindow && GameMessageWindow->IsVisible()) || scriptWaits))
        return;
    CheckBattleEnd();
    // Every page that comes due now is played out before the turn goes on;
    // one page may make the next one's conditions hold.
    for (;;) {
        while (BattleEventRunning()) {
            // A page that stalls (a message on screen) switches events off;
            // here nothing else would switch them on again, so the page
            // would never finish.
            eventsEnabled = 1;
            if (GameInput) GameInput->Update();
            Tick();
            if (BattleEventRunning()) DrawAndWait();
        }
        if (GameSystem && GameSystem->scene == kSceneGameOver) throw ELcfBattleEnd();
        CheckBattleEnd();
        if (!GameBattleScripter || !GameMonsters ||
            !GameBattleScripter->FindTriggeredPage(GameMonsters->GroupId(), trigger, battler))
            break;
    }
}

void TLcfBattleScene::PartyShrank() {
    int w = 0;
    std::array<int32_t, kQueue> packed;
    packed.fill(-1);
    for (int q = 0; q < kQueue - 1; ++q)
        if (queue[size_t(q)] >= 0 && queue[size_t(q)] < MemberCount()) packed[size_t(w++)] = queue[size_t(q)];
    queue = packed;
    // Commands open (or a target or list being chosen from them) stay with
    // the actor they were opened for, at its new slot; an actor who left
    // has none.
    if (phase_ == kActorCommand) {
        commandingSlot = -1;
        for (int i = 0; i < MemberCount(); ++i)
            if (const TLcfgPlayerItem* m = Member(i); m && m->Id() == commandWindow.ActorId()) commandingSlot = i;
    }
    const bool cursorShown = statusWindow.CursorVisible(), cursorActive = statusWindow.Active();
    statusWindow.CloseNow();
    statusWindow.Layout(statusWindow.X());
    if (BattleLayout() == 0) {
        SetPhase(kGauges);
        statusWindow.SetCursorVisible(false);
        commandWindow.CloseNow();
        return;
    }
    statusWindow.PointAt(0);
    statusWindow.SetCursorVisible(cursorShown);
    statusWindow.SetActive(cursorActive);
}

void TLcfBattleScene::RebuildBattleSprites(int32_t actorId) {
    if (GamePlayers) GamePlayers->Get(actorId)->BuildBattleSprites();
}

// --- End --------------------------------------------------------------------------------

void TLcfBattleScene::CheckBattleEnd() {
    if (MemberCount() == 0) EndBattle(kEscape);
    bool allDown = true;
    for (int i = 0; i < MemberCount(); ++i)
        if (TLcfgPlayerItem* a = Member(i); a && !a->IsIncapacitated()) allDown = false;
    defeatPending = allDown;
    if (defeatPending) {
        endCountdown = 60;
        return;
    }
    const bool anyAlive = GameMonsters && GameMonsters->AliveCount() > 0;
    victoryPending = !anyAlive;
    if (victoryPending) {
        endCountdown = 60;
        monsterWindow.RefreshList();
    }
}

void TLcfBattleScene::EndBattle(int kind) {
    resultTarget.Write(uint8_t(kind));
    resultTarget.Reset();
    if (GamePlayers)
        for (int i = 0; i < GamePlayers->Count(); ++i) GamePlayers->Items(i)->EndBattle();
    const int32_t erase = GameSystem ? GameSystem->Transition(kTransitionBattleEndErase) : kNoTransition;
    // Without an erase the last battle picture stays for the field's show.
    if (erase != kNoTransition) EraseScreen(erase);
    Reset();
    endState = kEnded;
    if (GameScreen) GameScreen->StopFlash();

    if (BattleTestMode) {
        WaitFrames(30, 30);
        GameSystem->scene = kSceneGameOver;
        throw ELcfBattleEnd();
    }
    const bool defeatContinues = DbBattle && DbBattle->defeatContinues != 0;
    if (kind == kDefeat && !setup.defeatHandledByCaller && (setup.startedByEvent || !defeatContinues)) {
        GameSystem->scene = kSceneGameOver;
        throw ELcfBattleEnd();
    }
    if (GamePartyInfo) {
        GamePartyInfo->CountBattle();
        if (kind == kVictory) GamePartyInfo->CountVictory();
        if (kind == kEscape) GamePartyInfo->CountEscape();
        if (kind == kDefeat) GamePartyInfo->CountDefeat();
    }
    if (GameInterpreterHooks.map) GameInterpreterHooks.map->RefreshAll();
    GameSystem->scene = kSceneField;
    // Armour that guards against conditions cures them after the battle.
    for (int i = 0; i < MemberCount(); ++i) {
        TLcfgPlayerItem* a = Member(i);
        if (!a || !DbItem) continue;
        for (int slot = 1; slot <= 4; ++slot) {
            const int32_t id = a->Equipment(slot);
            if (id <= 0) continue;
            const TLcfItemItem* item = DbItem->FindItem(id);
            if (item->kind < 2 || item->kind > 5 || item->conditionMode != 1) continue;
            for (int32_t c = 1; c <= (DbStatus ? DbStatus->Count() : 0); ++c)
                if (item->HasCondition(c) && DbStatus->FindStatus(c)->persistence == 0) a->CureCondition(c);
        }
    }
    if (kind == kDefeat && !setup.startedByEvent && DbBattle) {
        if (DbBattle->defeatTeleport && GameInterpreterHooks.field) {
            GameInterpreterHooks.field->RequestTeleport(DbBattle->teleportMap, DbBattle->teleportX,
                                                        DbBattle->teleportY, DbBattle->teleportDirection);
            GameInterpreterHooks.field->PerformTeleport();
        }
        if (GameScripter && DbBattle->defeatCommonEvent > 0) GameScripter->StartCommonEvent(DbBattle->defeatCommonEvent);
    }
    GameSystem->PlayMusic(GameSystem->MusicRecord(kGameMusicBeforeBattle));
    if (FieldScene) {
        if (!screenWasBlack) {
            const int32_t show = GameSystem->Transition(kTransitionBattleEndShow);
            if (show != kNoTransition) FieldScene->ShowScreen(show);
            else GameDraw->Board().Brightness = 100;
        }
        FieldScene->started = true;
    }
    throw ELcfBattleEnd();
}

// --- Draw -------------------------------------------------------------------------------

void TLcfBattleScene::DrawBattlers() {
    std::vector<TOrder> order;
    for (int i = 0; i < EnemyCount(); ++i)
        if (Enemy(i)->IsShown()) order.push_back({i, Enemy(i)->DrawOrder(), false});
    for (int i = 0; i < MemberCount(); ++i)
        if (TLcfgPlayerItem* a = Member(i)) order.push_back({a->Id(), a->DrawOrder(), true});
    std::sort(order.begin(), order.end(), CompareOrder);
    TSorvoBoard& board = GameDraw->Board();
    auto battler = [](const TOrder& o) -> TLcfgUnitItem* {
        if (o.isActor) return GamePlayers ? GamePlayers->Get(o.index) : nullptr;
        return Enemy(o.index);
    };
    for (const TOrder& o : order) {
        if (o.isActor)
            static_cast<TLcfgPlayerItem*>(battler(o))->DrawBattler(board);
        else
            Enemy(o.index)->Draw(board);
    }
    // An animation on a whole side goes over its battlers in drawing order.
    std::vector<int32_t> enemies, actors;
    for (const TOrder& o : order) (o.isActor ? actors : enemies).push_back(o.index);
    if (GameMonsters) GameMonsters->DrawAnimation(board, enemies);
    if (GamePlayers) GamePlayers->DrawAnimation(board, actors);
    const int32_t sy = GameScreen ? GameScreen->shakeY : 0;
    for (const TOrder& o : order)
        if (TLcfgUnitItem* b = battler(o)) b->DrawPopup(board, 0, sy);
}

bool TLcfBattleScene::CommandWindowShown() const {
    if (BattleLayout() != 2) return true;
    const TLcfgPlayerItem* under = Member(statusWindow.Cursor());
    return !(under && under->show.autoThisBattle);
}

void TLcfBattleScene::Draw() {
    TSorvoBoard& board = GameDraw->Board();
    board.Clear();
    const int32_t shakeX = GameScreen ? GameScreen->shakeX : 0, shakeY = GameScreen ? GameScreen->shakeY : 0;
    if (TerrainBackdrop()) {
        const bool second = DbGround->Find(setup.terrainId)->layer2Shown != 0;
        for (int n = 0; n < (second ? 2 : 1); ++n) {
            if (GameScreen) GameScreen->ApplyTone(layers_[size_t(n)].Sheet().ColorControl2);
            // Cells of 16 pixels from one beyond each edge, so that a shaken
            // screen shows no gap.
            for (int32_t row = -1; row <= 15; ++row)
                for (int32_t column = -1; column <= 20; ++column)
                    layers_[size_t(n)].DrawTile(board, 16 * column, 16 * row, shakeY, shakeX);
        }
    } else if (backdrop_->Width() > 0) {
        if (GameScreen) GameScreen->ApplyTone(backdrop_->ColorControl2);
        board.Draw(shakeX, 0, *backdrop_, RectOfSize(0, 0, 320, backdrop_->Height()));
    }
    DrawBattlers();
    if (GameScreen) GameScreen->DrawEffects(board);
    statusWindow.Draw();
    partyCommandWindow.Draw();
    skillWindow.Draw();
    itemWindow.Draw();
    targetWindow.Draw();
    monsterWindow.Draw();
    if (CommandWindowShown()) commandWindow.Draw();
    if (!(targetingEnemies && monsterWindow.HasConditions())) messageWindow.Draw();
    if (GameMessageWindow) GameMessageWindow->Draw();
    if (targetingEnemies && GameSystemGraphic) {
        monsterWindow.ConditionLine().Draw();
        if (TLcfgMonsterItem* e = Enemy(monsterWindow.SelectedEnemy()))
            GameSystemGraphic->DrawAnimIcon0(e->battleX + e->PictureWidth() / 2, e->battleY,
                                             monsterWindow.FrameCounter());
    }
    if (GamePartyInfo && GameSystemGraphic) {
        for (int t = 0; t < 2; ++t) {
            const auto& timer = GamePartyInfo->TimerState(t);
            if (timer.inBattle && timer.visible && timer.running)
                GameSystemGraphic->DrawTimer(t == 0 ? 4 : 276, 140, timer.frames);
        }
    }
    if (DbSystem && DbSystem->frameOverlay == 1 && GameSystemGraphic) GameSystemGraphic->DrawFrameOverlay();
}
