#pragma once
// Fakes of everything the system state and the interpreter reach outside
// themselves, and a fixture that installs them with a database, a system
// state, the common-event states and a seeded random generator.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "data/database/database.h"
#include "data/folders.h"
#include "data/random.h"
#include "game/common_events/common_event_state.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/interpreter/regular_scripter.h"
#include "game/interpreter/scripter.h"
#include "game/system/game_system.h"
#include "game/system/system_hooks.h"
#include "media/input/multi_input.h"
#include "media/sheet/sheet.h"
#include "platform/headless/headless_platform.h"
#include "support/lcf_builder.h"

namespace interp_test {

// Records every audio call; slots are modelled so lock counting can be seen.
class FakeAudio : public ISystemAudio {
public:
    void PlayMusic(const std::string& path, int32_t fadeInMs) override {
        log.push_back("play " + std::filesystem::path(path).stem().string() + " " + std::to_string(fadeInMs));
    }
    void StopMusic() override { log.push_back("stop"); }
    void FadeOutMusic(int32_t ms) override { log.push_back("fade " + std::to_string(ms)); }
    void SetMusicVolume(int32_t v) override { volume = v; }
    void SetMusicTempo(int32_t v) override { tempo = v; }
    void SetMusicBalance(int32_t v) override { balance = v; }
    void PlaySound(const std::string& path, int32_t, int32_t, int32_t) override {
        log.push_back("sound " + std::filesystem::path(path).stem().string());
    }
    void StopAllSounds() override { log.push_back("stop sounds"); }
    // A locked slot per lock call, as the front end takes one unless the
    // file already sits in a locked, loaded slot.
    void LockSound(const std::string& path) override {
        ++lockCalls;
        for (auto& s : slots)
            if (s.locked && s.loaded && s.path == path) return;
        slots.push_back({path, true, true});
    }
    void UnlockSound(const std::string& path) override {
        for (auto& s : slots)
            if (s.locked && s.path == path) {
                s.locked = false;
                return;
            }
    }
    bool SoundReallyLocked(const std::string& path) override {
        for (auto& s : slots)
            if (s.locked && s.loaded && s.path == path) return true;
        return false;
    }
    int LockedSlots() const {
        int n = 0;
        for (auto& s : slots) n += s.locked;
        return n;
    }
    // A movie closes the wave player: samples gone, marks kept.
    void EmptySlots() {
        for (auto& s : slots) s.loaded = false;
    }
    void CloseWave() override {
        log.push_back("close wave");
        EmptySlots();
    }
    void OpenWave() override { log.push_back("open wave"); }

    struct Slot {
        std::string path;
        bool locked, loaded;
    };
    std::vector<Slot> slots;
    std::vector<std::string> log;
    int lockCalls = 0;
    int32_t volume = -1, tempo = -1, balance = -1;
};

class FakeScreen : public ISystemScreen {
public:
    void LoadSkin(const std::string& skin, const std::string&, const std::string&, int32_t tiling,
                  int32_t font) override {
        skinName = skin;
        skinTiling = tiling;
        skinFont = font;
        ++skinLoads;
    }
    void LoadFace(const std::string& name, int32_t index, bool mirrored) override {
        faceName = name;
        faceIndex = index;
        faceMirrored = mirrored;
    }
    void RestartFrameClock() override { ++clockRestarts; }
    TSorvoSheet* Face() override { return face.Width() > 0 ? &face : nullptr; }
    void PlayMovie(const std::string& path, int32_t x, int32_t y, int32_t width, int32_t height) override {
        movies.push_back(std::filesystem::path(path).filename().string() + " " + std::to_string(x) + " " +
                         std::to_string(y) + " " + std::to_string(width) + " " + std::to_string(height));
        if (duringMovie) duringMovie();
    }
    std::vector<std::string> movies;
    std::function<void()> duringMovie;
    TSorvoSheet face;

    std::string skinName, faceName;
    int32_t skinTiling = -1, skinFont = -1, faceIndex = -1;
    bool faceMirrored = false;
    int skinLoads = 0, clockRestarts = 0;
};

class FakeWindow : public IMessageWindowHooks {
public:
    bool IsVisible() const override { return visible; }
    bool IsClosing() const override { return closing; }
    bool HoldsOpenState() const override { return holdsOpenState; }
    void Open() override {
        visible = true;
        closing = false;
        lines.clear();
        ++opens;
    }
    void Close() override { closing = true; }
    void CloseNow() override { visible = closing = false; }
    void AddLine(const std::string& text) override { lines.push_back(text); }
    int LineCount() const override { return int(lines.size()); }
    bool InnPending() const override { return innPending; }
    void ClearInnPending() override { innPending = false; }
    int InnAnswer() const override { return innAnswer; }
    int32_t InnPrice() const override { return innPrice; }
    void SetInnCheck(int32_t price) override {
        innCheck = true;
        innPrice = price;
    }
    void AnswerInn(int answer) override {
        innPending = true;
        innAnswer = answer;
    }

    bool innCheck = false;
    bool visible = false, closing = false, holdsOpenState = false;
    bool innPending = false;
    int innAnswer = 0;
    int32_t innPrice = 0;
    int opens = 0;
    std::vector<std::string> lines;
};

class FakePool : public IMessagePoolHooks {
public:
    bool HasLines() const override { return !lines.empty(); }
    std::string TakeLine() override {
        std::string s = lines.front();
        lines.pop_front();
        return s;
    }
    void AddLine(const std::string& text) override { lines.push_back(text); }
    std::deque<std::string> lines;
};

struct FakeEvent {
    int32_t id = 0;
    bool activePage = true;
    bool startRequest = false;
    bool byKey = false;
    TLcfEventScriptList script;
};

class FakeMap : public IMapWorldHooks {
public:
    FakeEvent& AddEvent(int32_t id, const TLcfEventScriptList& script) {
        events.push_back({id, true, false, false, script});
        return events.back();
    }
    FakeEvent* Find(int32_t id) {
        for (auto& e : events)
            if (e.id == id) return &e;
        return nullptr;
    }
    const FakeEvent* Find(int32_t id) const { return const_cast<FakeMap*>(this)->Find(id); }

    int EventCount() const override { return int(events.size()); }
    int32_t EventIdAt(int index) const override { return events[size_t(index)].id; }
    bool EventExists(int32_t id) const override { return Find(id) != nullptr; }
    const TLcfEventScriptList* ActivePageScript(int32_t id) const override {
        const FakeEvent* e = Find(id);
        return e && e->activePage ? &e->script : nullptr;
    }
    bool HasStartRequest(int32_t id) const override { return Find(id) && Find(id)->startRequest; }
    void ClearStartRequest(int32_t id) override {
        if (auto* e = Find(id)) e->startRequest = false;
    }
    bool StartedByKey(int32_t id) const override { return Find(id) && Find(id)->byKey; }
    void EndEventRun(int32_t id) override { ended.push_back(id); }
    void RefreshAll() override { ++refreshes; }
    bool AnyForcedRoutePending() const override { return routePending; }
    bool PartyBoardingOrLeaving() const override { return boarding; }
    bool AirshipAscendingOrDescending() const override { return false; }
    void CancelPartyForcedRoute() override { ++partyRouteCancels; }
    TLcfgCharacter* PartyCharacter() override { return reinterpret_cast<TLcfgCharacter*>(&partyTag); }
    TLcfgCharacter* VehicleCharacter(int vehicle) override {
        return reinterpret_cast<TLcfgCharacter*>(&vehicleTags[size_t(vehicle - 1)]);
    }
    TLcfgCharacter* EventCharacter(int32_t id) override { return reinterpret_cast<TLcfgCharacter*>(Find(id)); }

    std::deque<FakeEvent> events;
    std::vector<int32_t> ended;
    int refreshes = 0, partyRouteCancels = 0;
    bool routePending = false, boarding = false;
    int partyTag = 0;
    int vehicleTags[3] = {};
};

class FakeParty : public IPartyHooks, public IFieldSceneHooks, public IBattleSceneHooks {
public:
    void LoseGold(int32_t amount) override { gold -= amount; }
    bool MapStampCurrent() const override { return mapStampCurrent; }
    bool DatabaseStampCurrent() const override { return databaseStampCurrent; }
    void InnRest() override { ++rests; }
    bool EnemyTurnsEnabled() const override { return enemyTurns; }
    bool EventsEnabled() const override { return battleEvents; }
    void DisableEvents() override { battleEvents = false; }

    int32_t gold = 1000;
    bool mapStampCurrent = true, databaseStampCurrent = true, enemyTurns = true, battleEvents = true;
    int rests = 0;
};

// Lines of a script, built through the packed form.
inline TLcfEventScriptList Lines(const lcf_builder::Script& script) { return script.List(); }

class InterpreterTest : public ::testing::Test {
protected:
    InterpreterTest() {
        auto p = std::make_unique<platform::HeadlessPlatform>();
        sys = p.get();
        platform::SetPlatform(std::move(p));
        folder = std::filesystem::temp_directory_path() /
                 ("varnow_interp_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder / "Music");
        std::filesystem::create_directories(folder / "Sound");
        for (const char* m : {"Town", "Battle", "Field"}) Touch(folder / "Music" / (std::string(m) + ".mid"));
        for (const char* s : {"Cursor", "Decide", "Cancel", "Buzzer", "Chime"})
            Touch(folder / "Sound" / (std::string(s) + ".wav"));
        SetGameFolder(folder.string(), "Varnow");
        db = std::make_unique<TLcfDataBase>();
        DbSystem->sounds[kSoundCursor].name = "Cursor";
        DbSystem->sounds[kSoundDecision].name = "Decide";
        DbSystem->sounds[kSoundCancel].name = "Cancel";
        DbSystem->sounds[kSoundBuzzer].name = "Buzzer";
        DbSystem->music[kMusicBattle].name = "Battle";
        DbSystem->systemSkin = "Blue";
        system = std::make_unique<TLcfgSystem>(&audio, &screen);
        GameSystem = system.get();
        commonEvents = std::make_unique<TLcfgCommonEvent>();
        commonEvents->Reset();
        GameCommonEvents = commonEvents.get();
        input = std::make_unique<TMultiInput>();
        GameInterpreterHooks = {&window, &pool, &party, &party, &map, &party, input.get(), false};
        SetRandomSource(&random);
        scripter = std::make_unique<TLcfgScripter>();
        GameScripter = scripter.get();
    }
    ~InterpreterTest() override {
        SetRandomSource(nullptr);
        GameScripter = nullptr;
        GameInterpreterHooks = {};
        GameCommonEvents = nullptr;
        GameSystem = nullptr;
        scripter.reset();
        commonEvents.reset();
        system.reset();
        db.reset();
        input.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
        platform::SetPlatform(nullptr);
    }

    static void Touch(const std::filesystem::path& p) { std::ofstream(p) << "x"; }

    // How often sound `name` was played.
    int Sounds(const std::string& name) const {
        return int(std::count(audio.log.begin(), audio.log.end(), "sound " + name));
    }
    int32_t Var(int32_t id) const { return GameSystem->GetVariable(id); }
    // Runs the script through once as a parallel process of event `eventId`.
    static void RunParallel(const lcf_builder::Script& script, int32_t eventId = 0) {
        TLcfgRegularScripter r;
        r.Start(eventId, script.List());
        r.Update();
    }

    // Database common event `id` (the table grows to hold it).
    TLcfCommonEventItem& CommonEvent(int32_t id, uint8_t trigger, const TLcfEventScriptList& script) {
        TLcfCommonEventItem* e = DbCommonEvent->GetOrCreate(id);
        for (int32_t i = 1; i < id; ++i) DbCommonEvent->GetOrCreate(i);
        e->trigger = trigger;
        e->script.Assign(script);
        commonEvents->Reset();
        return *e;
    }

    platform::HeadlessPlatform* sys = nullptr;
    std::filesystem::path folder;
    FakeAudio audio;
    FakeScreen screen;
    FakeWindow window;
    FakePool pool;
    FakeMap map;
    FakeParty party;
    SeededRandom random{12345};
    std::unique_ptr<TLcfDataBase> db;
    std::unique_ptr<TLcfgSystem> system;
    std::unique_ptr<TLcfgCommonEvent> commonEvents;
    std::unique_ptr<TMultiInput> input;
    std::unique_ptr<TLcfgScripter> scripter;
};

}  // namespace interp_test
