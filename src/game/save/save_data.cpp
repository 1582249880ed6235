#include "game/save/save_data.h"

#include <cstdio>

#include "data/errors.h"
#include "data/folders.h"
#include "data/record/var_int.h"
#include "data/bad_file_header.h"
#include "data/stderr_note.h"
#include "data/string_table.h"
#include "game/actors/player.h"
#include "game/common_events/common_event_state.h"
#include "game/enemies/monster.h"
#include "game/interpreter/battle_scripter.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/interpreter/scripter.h"
#include "game/map/game_map.h"
#include "game/map/world_hooks.h"
#include "game/panorama/panorama.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "game/party/party_info.h"
#include "game/save/save_clock.h"
#include "game/system/game_system.h"
#include "game/system/system_hooks.h"
#include "game/teleport/teleport.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"
#include "platform/file_io.h"

TLcfgSaveData* GameSaveData = nullptr;

namespace {

const char* const kSaveMagic = "LcfSaveData";
constexpr int kStrNoStartPosition = 65308;
constexpr int kStrNoSuchMap = 65286;

// One chunk of the outer level: id and the bytes of its body.
struct TChunkSpan {
    int32_t id;
    std::span<const uint8_t> body;
};

// Reads the magic and the chunk list, checking every length against the
// bytes that follow it. Raises EReadError on any fault.
std::vector<TChunkSpan> SplitSaveFile(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    if (ReadVarString(r) != kSaveMagic) throw EBadFileHeader("a save file", kSaveMagic);
    std::vector<TChunkSpan> chunks;
    while (!r.AtEnd()) {
        int32_t id = ReadVarInt(r);
        size_t length = ReadVarLength(r);  // negative lengths are rejected
        if (length > r.Remaining()) throw EReadError();
        chunks.push_back({id, r.Take(length)});
    }
    return chunks;
}

// The common-event states and the actors are lists; the file sees each as
// one chunk.
template <class List>
class TListChunk : public TCatalogBaseItem {
public:
    explicit TListChunk(List& list) : list_(list) {}
    void DescribeField(int, TCatalogVarData&, bool) override {}
    // One entry per database common event (hero).
    void Clear() override { list_.Reset(); }
    void LoadFromStream(ByteReader& r) override { list_.LoadFromStream(r); }
    void SaveToStream(ByteWriter& w) override { list_.SaveToStream(w); }

private:
    List& list_;
};

}  // namespace

TLcfgSaveData::TLcfgSaveData(TLcfSystemGraphic* skin) {
    header_ = std::make_unique<TLcfgSaveHeader>();
    GameSaveHeader = header_.get();
    systemScreen_ = std::make_unique<TGameSystemScreen>(skin);
    for (size_t i = 0; i < owners_.size(); ++i) {
        if (i == 0) {
            auto system = std::make_unique<TLcfgSystem>(nullptr, systemScreen_.get());
            GameSystem = system.get();
            owners_[i] = std::move(system);
        } else if (i == 12) {
            auto scripter = std::make_unique<TLcfgScripter>();
            GameScripter = scripter.get();
            owners_[i] = std::move(scripter);
        } else if (i == 13) {
            commonEvents_ = std::make_unique<TLcfgCommonEvent>();
            GameCommonEvents = commonEvents_.get();
            owners_[i] = std::make_unique<TListChunk<TLcfgCommonEvent>>(*commonEvents_);
        } else if (i == 1) {
            auto screen = std::make_unique<TLcfgScreen>();
            screen_ = GameScreen = screen.get();
            owners_[i] = std::move(screen);
        } else if (i == 2) {
            auto pictures = std::make_unique<TLcfgPictureChunk>();
            GamePictures = &pictures->pictures;
            owners_[i] = std::move(pictures);
        } else if (i == 7) {
            players_ = std::make_unique<TLcfgPlayer>();
            GamePlayers = players_.get();
            owners_[i] = std::make_unique<TListChunk<TLcfgPlayer>>(*players_);
        } else if (i == 8) {
            auto partyInfo = std::make_unique<TLcfgPartyInfo>();
            GamePartyInfo = partyInfo.get();
            owners_[i] = std::move(partyInfo);
        } else if (i == 3) {
            auto party = std::make_unique<TLcfgParty>();
            party_ = GameParty = party.get();
            owners_[i] = std::move(party);
        } else if (i == 10) {
            auto map = std::make_unique<TLcfgMap>();
            map_ = GameMap = map.get();
            owners_[i] = std::move(map);
        } else if (i == 11) {
            auto panorama = std::make_unique<TLcfgPanorama>();
            GamePanorama = panorama.get();
            owners_[i] = std::move(panorama);
        } else if (i >= 4 && i <= 6) {
            auto vehicle = std::make_unique<TLcfgShip>(int32_t(i - 3));
            (i == 4 ? GameBoat : i == 5 ? GameShip : GameAirship) = vehicle.get();
            owners_[i] = std::move(vehicle);
        } else if (i == 9) {
            auto teleports = std::make_unique<TLcfgTeleportChunk>();
            GameTeleports = &teleports->targets;
            owners_[i] = std::move(teleports);
        }
    }
    monsters_ = std::make_unique<TLcfgMonster>();
    GameMonsters = monsters_.get();
    battleScripter_ = std::make_unique<TLcfgBattleScripter>();
    GameBattleScripter = battleScripter_.get();
}

TLcfgSaveData::~TLcfgSaveData() {
    if (GameSaveHeader == header_.get()) GameSaveHeader = nullptr;
    if (GameScreen == ChunkOwner(102)) GameScreen = nullptr;
    if (GamePictures == &static_cast<TLcfgPictureChunk*>(ChunkOwner(103))->pictures) GamePictures = nullptr;
    if (GamePanorama == ChunkOwner(112)) GamePanorama = nullptr;
    if (GameParty == party_) GameParty = nullptr;
    if (GameMap == map_) GameMap = nullptr;
    if (GameSystem == owners_[0].get()) GameSystem = nullptr;
    if (GameScripter == owners_[12].get()) GameScripter = nullptr;
    if (GameCommonEvents == commonEvents_.get()) GameCommonEvents = nullptr;
    if (GamePartyInfo == owners_[8].get()) GamePartyInfo = nullptr;
    if (GamePlayers == players_.get()) GamePlayers = nullptr;
    if (GameMonsters == monsters_.get()) GameMonsters = nullptr;
    if (GameBattleScripter == battleScripter_.get()) GameBattleScripter = nullptr;
    for (TLcfgShip** v : {&GameBoat, &GameShip, &GameAirship})
        for (int id = 105; id <= 107; ++id)
            if (*v == ChunkOwner(id)) *v = nullptr;
    if (auto* t = dynamic_cast<TLcfgTeleportChunk*>(ChunkOwner(110)); t && GameTeleports == &t->targets)
        GameTeleports = nullptr;
    // The system state lets go of its sounds before its screen goes.
    owners_ = {};
}

TCatalogBaseItem* TLcfgSaveData::ChunkOwner(int id) {
    if (id == kFirstChunk) return header_.get();
    if (id > kFirstChunk && id <= kLastChunk) return owners_[size_t(id - kFirstChunk - 1)].get();
    return nullptr;
}

void TLcfgSaveData::Reset() {
    header_->Clear();
    for (size_t i = 0; i < owners_.size(); ++i) {
        owners_[i]->Clear();
    }
    // The map events of the last game go with it.
    map_->events.Clear();
    monsters_->Reset();
    battleScripter_->Clear();
}

void TLcfgSaveData::NewGame() {
    Reset();
    TPartyStart start = StartPosition ? StartPosition() : TPartyStart{};
    if (start.mapId == 0) throw Exception(LoadStr(kStrNoStartPosition));
    // Facing 0: the party keeps the direction its reset gave it.
    if (IFieldSceneHooks* field = GameInterpreterHooks.field) {
        field->RequestTeleport(start.mapId, start.x, start.y, 0);
        field->PerformTeleport();
    } else {
        party_->SetPosition(start.mapId, start.x, start.y);
    }
}

void TLcfgSaveData::RefillHeader() {
    header_->Clear();
    header_->saveTime = SaveClockNow();
    if (!GamePartyInfo) return;
    if (TLcfgPlayerItem* leader = GamePartyInfo->Member(0)) {
        header_->leaderName = leader->GetName();
        header_->leaderLevel = leader->Level();
        header_->leaderHp = leader->hp;
    }
    for (int i = 0; i < TLcfgSaveHeader::kMembers; ++i)
        if (TLcfgPlayerItem* member = GamePartyInfo->Member(i)) header_->SetFace(i, member->FaceName(), member->FaceIndex());
}

std::vector<uint8_t> TLcfgSaveData::SaveToBytes() {
    ByteWriter out;
    WriteVarString(out, kSaveMagic);
    RefillHeader();
    for (int id = kFirstChunk; id <= kLastChunk; ++id) {
        ByteWriter body;
        ChunkOwner(id)->SaveToStream(body);
        WriteVarInt(out, id);
        WriteVarInt(out, int32_t(body.Size()));
        out.WriteBytes(body.Data());
    }
    return out.Take();
}

void TLcfgSaveData::LoadFromBytes(std::span<const uint8_t> bytes, bool headerOnly) {
    // The structure is checked whole before any object is touched.
    std::vector<TChunkSpan> chunks = SplitSaveFile(bytes);
    if (headerOnly) {
        // Only chunk 100, wherever it stands; the running game stays as it is.
        for (const auto& c : chunks)
            if (c.id == kFirstChunk) {
                ByteReader r(c.body);
                header_->LoadFromStream(r);
            }
        return;
    }
    Reset();
    for (const auto& c : chunks) {
        TCatalogBaseItem* owner = ChunkOwner(c.id);
        if (!owner) continue;
        ByteReader r(c.body);
        owner->LoadFromStream(r);
        if (c.id == 103 && AfterPicturesLoaded) AfterPicturesLoaded();
    }
    // The party's chunk set its map up; without it the game stands nowhere.
    if (party_->mapId == 0) throw EReadError(LoadStr(kStrNoSuchMap));
    // The panorama saves nothing: built again from the loaded map, with the
    // image of a saved override.
    if (GameWorldHooks.screen) GameWorldHooks.screen->ConfigurePanorama(true);
    // The map animation finds its animation and target again; one that has
    // gone with an edit of the game stops rather than failing the load.
    screen_->ReloadMapAnimation();
    if (AfterLoad) AfterLoad();
}

bool TLcfgSaveData::Load(int slot, std::string* error) {
    headerOnly_ = false;
    std::string path = SlotFileName(slot);
    if (!platform::FileExists(path)) return false;
    try {
        std::vector<uint8_t> bytes;
        if (!platform::ReadWholeFile(path, bytes)) throw EFOpenError(FormatStr(kStrFileOpenError, path));
        LoadFromBytes(bytes, false);
        return true;
    } catch (const std::exception& e) {
        // A damaged save leaves a new-game state, never a half-loaded one.
        Reset();
        NoteFileError(path, e);
        if (error) *error = *e.what() ? e.what() : EReadError().what();
        return false;
    }
}

bool TLcfgSaveData::LoadHeader(int slot) {
    header_->Clear();
    headerOnly_ = true;
    std::string path = SlotFileName(slot);
    bool ok = false;
    if (platform::FileExists(path)) {
        try {
            std::vector<uint8_t> bytes;
            if (platform::ReadWholeFile(path, bytes)) {
                LoadFromBytes(bytes, true);
                ok = true;
            }
        } catch (const std::exception&) {
            header_->Clear();
        }
    }
    headerOnly_ = false;
    return ok;
}

bool TLcfgSaveData::Save(int slot, std::string* error) {
    std::vector<uint8_t> bytes = SaveToBytes();
    std::string message;
    const std::string path = SlotFileName(slot);
    if (platform::WriteFileAtomic(path, bytes.data(), bytes.size(), &message)) return true;
    // The screen only buzzes: the reason goes to whoever can read it.
    if (message.empty()) message = FormatStr(kStrWriteError, path);
    NoteOnStderr("the game was not saved to " + path + ": " + message);
    if (error) *error = message;
    return false;
}

std::string SlotFileName(int slot) {
    std::string folder = ExeDir;
    if (ExeReadOnly) {
        folder = GetMyDocumentsFolder() + GameFolderName;
        folder = WithTrailingBackslash(folder);
    }
    if (!folder.empty()) platform::CreateFolders(folder);
    char name[32];
    std::snprintf(name, sizeof name, "Save%.2d.lsd", slot);
    return folder + name;
}
