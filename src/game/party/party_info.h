#pragma once
// The party-wide state that belongs to no one actor: the members and their
// order, the shared inventory, the gold, the two event timers and the
// battle and step counters, with a 48x48 face picture per party slot.
// Saved as chunk 109 of the save file.

#include <array>
#include <cstdint>
#include <memory>

#include "data/record/catalog_base_item.h"
#include "data/record/counted_array.h"

class TSorvoBoard;
class TSorvoSheet;
class TLcfgPlayerItem;

class TLcfgPartyInfo : public TCatalogBaseItem {
public:
    static constexpr int kMaxMembers = 4;
    static constexpr int32_t kMaxGold = 999999;
    static constexpr int32_t kMaxItemCount = 99;
    static constexpr int32_t kMaxTimerFrames = 359999;
    static constexpr int kFaceSize = 48;

    struct Timer {
        int32_t frames = 0;
        uint8_t running = 0, visible = 0, inBattle = 0;
    };

    TLcfgPartyInfo();
    ~TLcfgPartyInfo() override;
    TLcfgPartyInfo(const TLcfgPartyInfo&) = delete;
    TLcfgPartyInfo& operator=(const TLcfgPartyInfo&) = delete;

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // Every field cleared; the database's initial party joins.
    void Clear() override;
    void Reset() { Clear(); }
    // Reset, the generic read, the loaded state made sound (members, items,
    // gold, timers), then the faces and the party's map sprite.
    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override;

    // --- Members ------------------------------------------------------------
    int MemberCount() const { return int(members_.size()); }
    int32_t MemberId(int slot) const { return slot >= 0 && slot < MemberCount() ? members_[size_t(slot)] : 0; }
    // The actor of a slot, null outside the party.
    TLcfgPlayerItem* Member(int slot) const;
    void AddMember(int32_t actorId);
    void RemoveMember(int32_t actorId);
    bool IsMember(int32_t actorId) const;
    TSorvoSheet& FaceSheet(int slot);
    void LoadFace(int slot);
    void DrawFace(TSorvoBoard& board, int slot, int32_t x, int32_t y);

    // --- Inventory ----------------------------------------------------------
    int ItemEntryCount() const { return int(items_.size()); }
    int32_t ItemIdAt(int index) const;
    int32_t ItemCountAt(int index) const;
    int32_t ItemUsesAt(int index) const;
    int32_t ItemCount(int32_t itemId) const;
    int32_t EquippedCount(int32_t itemId) const;
    bool HasItem(int32_t itemId) const { return ItemCount(itemId) > 0 || EquippedCount(itemId) > 0; }
    void GainItem(int32_t itemId, int32_t n);
    void LoseItem(int32_t itemId, int32_t n);
    void UseItem(int32_t itemId);
    bool ItemUsable(int32_t itemId) const;

    // --- Gold -----------------------------------------------------------------
    void GainGold(int32_t n);
    void LoseGold(int32_t n);

    // --- Timers (which 0 timer 1, any other timer 2) -------------------------
    void SetTimer(int which, int32_t seconds);
    void StartTimer(int which, bool visible, bool inBattle);
    void StopTimer(int which);
    int32_t Timer1Seconds() const { return timers_[0].frames / 60; }
    int32_t Timer2Seconds() const { return timers_[1].frames / 60; }
    const Timer& TimerState(int which) const { return timers_[which == 0 ? 0 : 1]; }
    void TickTimers();

    // --- Counters and battle tests -------------------------------------------
    void CountBattle() { ++battles; }
    void CountVictory() { ++victories; }
    void CountDefeat() { ++defeats; }
    void CountEscape() { ++escapes; }
    void CountStep() { ++steps; }
    void CountTurn() { ++battleTurns; }
    void ResetTurns() { battleTurns = 0; }
    bool TurnMatches(int32_t a, int32_t b) const;
    int32_t AverageAgility() const;
    int32_t AverageLevel() const;
    int32_t Exhaustion() const;

    int32_t gold = 0;
    int32_t battles = 0, victories = 0, defeats = 0, escapes = 0;
    int32_t battleTurns = 0;
    int32_t steps = 0;

private:
    struct Entry {
        int32_t id;
        int32_t count;
        int32_t uses;
    };
    int FindEntry(int32_t itemId) const;
    void Normalise();
    void SyncChunkForms();

    std::vector<int32_t> members_;
    std::vector<Entry> items_;
    std::array<Timer, 2> timers_{};
    std::array<std::unique_ptr<TSorvoSheet>, kMaxMembers> faces_;

    // Chunk forms of the lists.
    TCountedArray<uint16_t> memberChunk_;
    TCountedArray<uint16_t> itemIdChunk_;
    std::vector<uint8_t> itemCountChunk_, itemUseChunk_;
    int32_t itemCountField_ = 0;
};

// The party information of the running game.
extern TLcfgPartyInfo* GamePartyInfo;
