#include "game/event/map_event.h"

#include <algorithm>

#include "data/map/map.h"
#include "data/random.h"
#include "data/record/var_int.h"
#include "game/interpreter/scripter.h"
#include "game/map/game_map.h"
#include "game/map/world_hooks.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"

TLcfgEventItem::TLcfgEventItem(int32_t id) : TLcfgCharacter(id), scripter_(std::make_unique<TLcfgRegularScripter>()) {
    TLcfgEventItem::Clear();
}

void TLcfgEventItem::DescribeField(int id, TCatalogVarData& d, bool reading) {
    switch (id) {
    case 101: d.SetBoolean(&startRequested, 0); break;
    case 102: d.SetInteger(&routePosition, 0); break;
    case 103: d.SetBoolean(&startedByKey, 0); break;
    case 108: d.SetRecord(scripter_.get()); break;
    default: TLcfgCharacter::DescribeField(id, d, reading); break;
    }
}

void TLcfgEventItem::Clear() {
    TLcfgCharacter::Clear();
    definition_ = GameMapUnit ? GameMapUnit->events.Find(Id()) : nullptr;
    mapId = GameMapUnit ? GameMapUnit->Id() : 0;
    if (definition_) {
        x = ClampCoordinate(definition_->x);
        y = ClampCoordinate(definition_->y);
    }
    page_ = nullptr;
    Refresh();
}

void TLcfgEventItem::LoadFromStream(ByteReader& r) {
    // Clear chooses the page, so the Refresh after the read sees the same
    // page and keeps the start request, the route position and the parallel
    // interpreter. But the page also set fields (transparency, frequency,
    // pattern, graphic, pause) that the writer leaves out when they hold
    // their defaults: those go back to the defaults before the read, or an
    // event a route made opaque, slower or retextured would come back as
    // its page shows it.
    Clear();
    SetOmittedFieldsToDefaults();
    ReadFields(r);
    ClampLoadedFields();
    definition_ = GameMapUnit ? GameMapUnit->events.Find(Id()) : nullptr;
    if (page_) routePosition = std::clamp(routePosition, 0, page_->moveRoute.Count());
    Refresh();
    savedFrequency_ = FrequencyAfterRoute();
}

int32_t TLcfgEventItem::FrequencyAfterRoute() const {
    return page_ ? std::clamp(page_->moveFrequency, 1, 8) : 2;
}

bool TLcfgEventItem::PageConditionsHold(const TLcfEventPageItem& page) const {
    const TLcfEventCondition& c = page.condition;
    IWorldPartyHooks* party = GameWorldHooks.party;
    if ((c.flags & TLcfEventCondition::kSwitchA) && !(GameSystem && GameSystem->GetSwitch(c.switchA))) return false;
    if ((c.flags & TLcfEventCondition::kSwitchB) && !(GameSystem && GameSystem->GetSwitch(c.switchB))) return false;
    if (c.flags & TLcfEventCondition::kVariable) {
        const int32_t v = GameSystem ? GameSystem->GetVariable(c.variableId) : 0, value = c.variableValue;
        bool holds = false;
        switch (c.compare) {
        case 0: holds = v == value; break;
        case 1: holds = v >= value; break;
        case 2: holds = v <= value; break;
        case 3: holds = v > value; break;
        case 4: holds = v < value; break;
        case 5: holds = v != value; break;
        default: holds = false; break;
        }
        if (!holds) return false;
    }
    if ((c.flags & TLcfEventCondition::kItem) && !(party && party->HasItem(c.itemId))) return false;
    if ((c.flags & TLcfEventCondition::kHero) && !(party && party->HasActor(c.heroId))) return false;
    if ((c.flags & TLcfEventCondition::kTimer1) && !((party ? party->TimerSeconds(1) : 0) <= c.timer1Seconds))
        return false;
    if ((c.flags & TLcfEventCondition::kTimer2) && !((party ? party->TimerSeconds(2) : 0) <= c.timer2Seconds))
        return false;
    return true;
}

void TLcfgEventItem::Refresh() {
    const TLcfEventPageItem* chosen = nullptr;
    if (definition_) {
        // Pages are kept in id order: the highest id is tried first.
        for (int i = definition_->pages.Count() - 1; i >= 0 && !chosen; --i) {
            const TLcfEventPageItem* page = definition_->pages.Items(i);
            if (PageConditionsHold(*page)) chosen = page;
        }
    }
    if (!chosen) {
        startRequested = 0;
        waitingForScript = 0;
        page_ = nullptr;
        through = 1;
        return;
    }
    if (chosen == page_) return;
    const TLcfEventPageItem* previous = page_;
    page_ = chosen;
    startRequested = 0;
    waitingForScript = 0;
    sheetName = chosen->sheetName;
    sheetIndex = std::clamp(chosen->sheetIndex, 0, sheetName.empty() ? 143 : 7);
    const uint8_t pageDirection = uint8_t(std::min<int>(chosen->direction, 3));
    if (progress == 0 &&
        (!previous || previous->direction != chosen->direction || previous->pattern != chosen->pattern))
        direction = facing = pageDirection;
    animationType = uint8_t(std::min<int>(chosen->animationType, 5));
    if (animationType == 4 || animationType == 5) pattern = std::clamp(chosen->pattern, 0, 3);
    transparency = chosen->semiTransparent ? 3 : 0;
    frequency = std::clamp(chosen->moveFrequency, 1, 8);
    layer = uint8_t(std::min<int>(chosen->layer, 2));
    overlapForbidden = chosen->overlapForbidden;
    facingLocked = animationType == 2 || animationType == 3 || animationType == 4;
    if (facingLocked) facing = pageDirection;
    speed = std::clamp(chosen->moveSpeed, 1, 6);
    const int32_t t = MovePause(frequency);
    if (chosen->moveType == kMoveRandom) pause = (Random(4) + 3) * t / 5;  // multiply first
    else if (chosen->moveType == kMoveRoute) pause = t / 2;
    else pause = t;
    if (!previous || !previous->moveRoute.SameCommands(chosen->moveRoute)) routePosition = 0;
    through = routeThrough;
    // Deferred while the process runs, so the running command finishes.
    scripter_->RequestClear();
}

int32_t TLcfgEventItem::PageNumber() const { return page_ ? page_->Id() : 0; }
int32_t TLcfgEventItem::Trigger() const { return page_ ? int32_t(page_->trigger) : int32_t(kTriggerNone); }

void TLcfgEventItem::RequestStart() {
    if (!active || startRequested || !page_) return;
    if (page_->script.Count() <= 1) return;  // only the end line
    startRequested = 1;
    waitingForScript = 1;
    const int32_t t = Trigger();
    if (t <= kTriggerEventTouch && !facingLocked && animationType != 5) {
        const uint8_t keep = direction;
        FaceParty();
        facing = uint8_t(direction % 4);
        direction = keep;
    }
}

void TLcfgEventItem::StartByTouch() {
    waitCounter = 0;
    RequestStart();
    startedByKey = 0;
}

bool TLcfgEventItem::CheckEventTouch() {
    if (InterpreterRunning() || !GameParty) return false;
    if (GameParty->x == x && GameParty->y == y && layer != 1 && Trigger() == kTriggerEventTouch &&
        !GameParty->forcedActive) {
        StartByTouch();
        return true;
    }
    return false;
}

bool TLcfgEventItem::CheckFrontTouch() {
    if (InterpreterRunning() || !GameParty || !GameMap) return false;
    const int32_t fx = GameMap->WrapX(x + DirectionDx(direction));
    const int32_t fy = GameMap->WrapY(y + DirectionDy(direction));
    if (fx == GameParty->x && fy == GameParty->y && layer == 1 && Trigger() == kTriggerEventTouch) {
        StartByTouch();
        return true;
    }
    return false;
}

void TLcfgEventItem::UpdateMovement() {
    if (!page_) return;
    RunMoveRoute(forcedRoute, forcedPosition, true);
    if (!page_) return;  // the route's switch may have taken the page away
    if (Trigger() == kTriggerAutorun) {
        RequestStart();
        startedByKey = 0;
    }
    if (progress > 0) return;
    CheckEventTouch();
    if (!page_ || waitingForScript || forcedActive || page_->moveType == kMoveFixed || waitCounter < pause) return;
    if (!EventsMayMove()) return;
    const uint8_t remembered = direction;
    const int32_t t = MovePause(frequency);
    const int32_t moveType = page_->moveType;
    bool started = false;
    switch (moveType) {
    case kMoveRandom: {
        const int32_t r = Random(10);
        if (r <= 1) TurnLeft();
        else if (r <= 3) TurnRight();
        else if (r == 4) TurnAround();
        else if (r >= 8) {
            waitCounter = Random(pause);
            return;
        }
        started = Move(direction);
        break;
    }
    case kMoveVertical:
    case kMoveHorizontal: {
        const uint8_t a = moveType == kMoveVertical ? 0 : 1, b = moveType == kMoveVertical ? 2 : 3;
        if (direction != a && direction != b) direction = moveType == kMoveVertical ? 2 : 1;
        started = Move(direction);
        if (!started && waitCounter >= t + 20) {
            TurnAround();
            started = Move(direction);
        }
        break;
    }
    case kMoveToward:
    case kMoveAway: {
        int32_t r = 2;
        if (!IsOnScreen() || (r = Random(10)) == 0) FaceRandomDirection();
        else if (r != 1) {
            if (moveType == kMoveToward) FaceParty(); else FaceAwayFromParty();
        }
        started = Move(direction);
        break;
    }
    case kMoveRoute:
        RunMoveRoute(page_->moveRoute, routePosition, false);
        return;
    default:
        return;
    }
    if (!started) {
        if (startRequested || waitCounter >= t + 60) {
            waitCounter = 0;
        } else {
            direction = remembered;
            if (!facingLocked && remembered < 4) facing = remembered;
        }
    } else {
        pause = moveType == kMoveRandom ? (Random(4) + 3) * t / 5 : t;
    }
}

bool TLcfgEventItem::Update() {
    if (active && !updated && page_ && Trigger() == kTriggerParallel) {
        if (!scripter_->IsRunning()) scripter_->Start(Id(), page_->script);
        scripter_->Update();
    }
    return TLcfgCharacter::Update();
}

bool TLcfgEventItem::Move(int32_t d) {
    const bool started = TLcfgCharacter::Move(d);
    if (!started) CheckFrontTouch();
    return started;
}

void TLcfgEventItem::UpdateFacing() {
    if (page_ && animationType != 5) TLcfgCharacter::UpdateFacing();
}

void TLcfgEventItem::Draw(TSorvoBoard& board) {
    if (page_) TLcfgCharacter::Draw(board);
}

// --- The list ------------------------------------------------------------------------

void TLcfgEvent::RefreshAll() {
    for (int i = 0; i < Count(); ++i) Items(i)->Refresh();
}

void TLcfgEvent::LoadFromStream(ByteReader& r) {
    if (GameParty && GameMapUnit && GameParty->mapStamp != GameMapUnit->saveCounter) {
        r.Skip(r.Remaining());  // another version of the map: keep the fresh events
        return;
    }
    const int32_t count = ReadVarInt(r);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t id = ReadVarInt(r);
        if (!GameMapUnit || !GameMapUnit->events.Find(id)) {
            SkipRecord(r);  // an event this map file does not have
            continue;
        }
        GetOrCreate(id)->LoadFromStream(r);
    }
}
