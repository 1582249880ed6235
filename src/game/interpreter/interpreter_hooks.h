#pragma once
// What the interpreter reaches outside itself: the message window and pool,
// the field and battle scenes, the map world and the party. Each is a small
// interface that the real object implements; tests plug in fakes. A hook
// left null stands for "not there": the interpreter behaves as if the window
// were closed, the pool empty, no event existed and so on.

#include <cstdint>
#include <string>

class TLcfEventScriptList;
class TLcfgCharacter;
class TMultiInput;
class TLcfgBranchTarget;

// The message box of the field and of battles.
class IMessageWindowHooks {
public:
    virtual ~IMessageWindowHooks() = default;
    // Opening, open or closing.
    virtual bool IsVisible() const = 0;
    // In its closing animation.
    virtual bool IsClosing() const = 0;
    // Closing but still holding its open state, so a new message may take
    // the box over.
    virtual bool HoldsOpenState() const = 0;
    virtual void Open() = 0;
    // Starts the closing animation.
    virtual void Close() = 0;
    virtual void CloseNow() = 0;
    virtual void AddLine(const std::string& text) = 0;
    virtual int LineCount() const = 0;
    // The inn question: pending until the interpreter settles the payment.
    virtual bool InnPending() const = 0;
    virtual void ClearInnPending() = 0;
    // 0 when the first choice (stay) was taken.
    virtual int InnAnswer() const = 0;
    virtual int32_t InnPrice() const = 0;
    // What the message commands hand over right after Open: a choice line,
    // the choice cancel picks (0 refused, else 1-based), where the chosen
    // index goes, and a number input of some digits into a variable.
    virtual void AddChoice(const std::string& text) { (void)text; }
    virtual void SetCancelChoice(int32_t choice) { (void)choice; }
    virtual void SetResultTarget(const TLcfgBranchTarget& target) { (void)target; }
    virtual void SetNumberInput(int32_t digits, int32_t variableId) {
        (void)digits;
        (void)variableId;
    }
    // The inn question: the first choice (stay) needs at least `price` gold.
    virtual void SetInnCheck(int32_t price) { (void)price; }
    // The inn question answered without being asked (a free inn stays at
    // once): the interpreter settles it as if the box had closed.
    virtual void AnswerInn(int answer) { (void)answer; }
};

// Lines queued by game logic (level-ups, battle results).
class IMessagePoolHooks {
public:
    virtual ~IMessagePoolHooks() = default;
    virtual bool HasLines() const = 0;
    // Removes and answers the first line.
    virtual std::string TakeLine() = 0;
    // Queues a line at the end (game logic: level-ups, class changes). An
    // empty line ends a group.
    virtual void AddLine(const std::string& text) = 0;
};

// The field scene.
class IFieldSceneHooks {
public:
    virtual ~IFieldSceneHooks() = default;
    // The inn's rest (fade, full recovery, music) after the price is paid.
    virtual void InnRest() = 0;
    // Stores a transfer of the party to map, x, y; facing 0 keeps the
    // direction, 1-4 face up, right, down, left. Carried out by
    // PerformTeleport, from the scene's own update or at once by a command.
    virtual void RequestTeleport(int32_t mapId, int32_t x, int32_t y, int32_t facing) {
        (void)mapId;
        (void)x;
        (void)y;
        (void)facing;
    }
    // Carries out the pending transfers now (nothing when none is pending).
    virtual void PerformTeleport() {}
    // The party changed on the field: game over when no member can act.
    virtual void CheckGameOver() {}
    // A script erases or shows the field's picture with a transition type
    // 0-19; each returns when the transition is over.
    virtual void EraseFieldScreen(int32_t transition) { (void)transition; }
    virtual void ShowFieldScreen(int32_t transition) { (void)transition; }
};

// The battle scene.
class IBattleSceneHooks {
public:
    virtual ~IBattleSceneHooks() = default;
    // Set by the battle scene's reset, cleared when the party flees; the map
    // interpreter runs only while it is set. Not the battle's own
    // "events enabled" flag, which the battle interpreter clears.
    virtual bool EnemyTurnsEnabled() const = 0;
    // The battle's "events enabled" flag: the battle interpreter runs while
    // it is set and clears it when a command makes it wait.
    virtual bool EventsEnabled() const = 0;
    virtual void DisableEvents() = 0;
    // The four entries of the command queue: party indexes of the actors
    // waiting for command input, -1 for an empty entry.
    virtual int32_t CommandQueueEntry(int entry) const {
        (void)entry;
        return -1;
    }
    virtual void SetCommandQueueEntry(int entry, int32_t partyIndex) {
        (void)entry;
        (void)partyIndex;
    }
    // The party shrank and the queue was packed: the status window is laid
    // out again and command input restarts by the battle layout.
    virtual void PartyShrank() {}
    // An actor's weapons changed in battle: its battle sprites (body and
    // weapon strips) are built again.
    virtual void RebuildBattleSprites(int32_t actorId) { (void)actorId; }
};

// The current map: its events, the party and the vehicles.
class IMapWorldHooks {
public:
    virtual ~IMapWorldHooks() = default;
    // Events in list order.
    virtual int EventCount() const = 0;
    virtual int32_t EventIdAt(int index) const = 0;
    virtual bool EventExists(int32_t id) const = 0;
    // The active page's script, or nullptr when the event has no active
    // page (or does not exist).
    virtual const TLcfEventScriptList* ActivePageScript(int32_t id) const = 0;
    virtual bool HasStartRequest(int32_t id) const = 0;
    virtual void ClearStartRequest(int32_t id) = 0;
    // Was the request made with the decision key?
    virtual bool StartedByKey(int32_t id) const = 0;
    // The event's script ended: its facing follows its move direction again
    // and its running mark is cleared.
    virtual void EndEventRun(int32_t id) = 0;
    // All map events re-select their active pages.
    virtual void RefreshAll() = 0;
    // Does some map event have a forced move route not yet run through once?
    virtual bool AnyForcedRoutePending() const = 0;
    virtual bool PartyBoardingOrLeaving() const = 0;
    virtual bool AirshipAscendingOrDescending() const = 0;
    virtual void CancelPartyForcedRoute() = 0;
    // Characters: the party, vehicle 1..3, a map event (nullptr when missing).
    virtual TLcfgCharacter* PartyCharacter() = 0;
    virtual TLcfgCharacter* VehicleCharacter(int vehicle) = 0;
    virtual TLcfgCharacter* EventCharacter(int32_t id) = 0;
    // The script of page `pageId` of map event `id` as the map file holds
    // it; nullptr when there is no such page.
    virtual const TLcfEventScriptList* EventPageScript(int32_t id, int32_t pageId) const {
        (void)id;
        (void)pageId;
        return nullptr;
    }
    // Erases the event for the rest of the visit: inactive, not drawn, no
    // script runs for it (a parallel one stops after its current step).
    virtual void EraseEvent(int32_t id) { (void)id; }
    // The vehicle the party is aboard: 1 boat, 2 ship, 3 airship; 0 on foot.
    virtual int32_t VehicleAboard() const { return 0; }
    // The party's map graphic follows its first member.
    virtual void RefreshPartyGraphic() {}
};

// The party's information and its save stamps.
class IPartyHooks {
public:
    virtual ~IPartyHooks() = default;
    virtual void LoseGold(int32_t amount) = 0;
    // The party's stamps against the current map file's and the database's
    // save counters: state of another map or database is not loaded.
    virtual bool MapStampCurrent() const = 0;
    virtual bool DatabaseStampCurrent() const = 0;
};

struct TLcfgInterpreterHooks {
    IMessageWindowHooks* messageWindow = nullptr;
    IMessagePoolHooks* messagePool = nullptr;
    IFieldSceneHooks* field = nullptr;
    IBattleSceneHooks* battle = nullptr;  // null counts as enemy turns enabled
    IMapWorldHooks* map = nullptr;
    IPartyHooks* party = nullptr;
    // The input object; null reads as no button.
    TMultiInput* input = nullptr;
    // Test play: F10 ends the running event.
    bool testPlay = false;
};

// The objects of the running game.
extern TLcfgInterpreterHooks GameInterpreterHooks;
