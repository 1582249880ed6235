#pragma once
// The terms record (database section 21): every word and message of the
// interface the game author may change, with three shop message sets and two
// inn message sets stored as flat chunks. Every term chunk is written, even
// when empty.

#include <array>
#include <string>

#include "data/record/catalog_base_item.h"

// One shop's eleven texts (shop set k is chunks 41 + 13k .. 51 + 13k).
struct TLcfVocabularyShop {
    enum Text : int {
        kGreeting, kGreetingAgain, kBuy, kSell, kLeave,
        kBuyPrompt, kBuyQuantityPrompt, kBought,
        kSellPrompt, kSellQuantityPrompt, kSold,
        kCount
    };
    std::array<std::string, kCount> texts;
    const std::string& operator[](int i) const { return texts[static_cast<size_t>(i)]; }
};

// One inn's five texts (inn set k is chunks 80 + 5k .. 84 + 5k).
struct TLcfVocabularyInn {
    enum Text : int { kGreeting1, kGreeting2, kGreeting3, kStay, kLeave, kCount };
    std::array<std::string, kCount> texts;
    const std::string& operator[](int i) const { return texts[static_cast<size_t>(i)]; }
};

class TLcfVocabulary : public TCatalogBaseItem {
public:
    // Chunk ids of the terms the system reads.
    enum Term : int {
        kBattleStart = 2, kEscapeFailed = 4, kVictory = 5, kDefeat = 6, kExperienceReceived = 7,
        kGoldReceivedBefore = 8, kGoldReceivedAfter = 9, kItemFound = 10, kLevelUp = 36, kSkillLearned = 37,
        kBattleStart2 = 38, kMiss = 39, kItemCountLabel = 92, kShopCountLabel = 93, kCurrency = 95,
        kFight = 101, kAuto = 102, kEscape = 103, kItems = 106, kSkills = 107, kEquipment = 108, kSave = 110,
        kQuitGame = 112, kNewGame = 114, kContinue = 115, kShutdown = 117, kStatus = 118, kRow = 119,
        kOrder = 120, kWaitOn = 121, kWaitOff = 122, kLevel = 123, kStatusLabel1 = 124, kStatusLabel2 = 125,
        kNormal = 126, kStatusLabel3 = 127, kLevelShort = 128, kHpShort = 129, kSpShort = 130,
        kStatusLineLabel = 131, kAttack = 132, kDefense = 133, kSpirit = 134, kAgility = 135, kWeapon = 136,
        kShield = 137, kArmour = 138, kHelmet = 139, kAccessory = 140, kSaveWhere = 146, kLoadWhich = 147,
        kFile = 148, kQuitConfirm = 151, kYes = 152, kNo = 153,
    };
    static constexpr int kShopSetCount = 3;
    static constexpr int kInnSetCount = 2;
    static constexpr int kLastChunk = 153;

    TLcfVocabulary() = default;
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    // The term in chunk `id`; empty for an id that holds no term.
    const std::string& Get(int id) const;
    void Set(int id, const std::string& text);
    // Whether chunk `id` holds a term (outside the shop and inn sets).
    static bool IsTermChunk(int id);

    // Shop set 0..2 and inn set 0..1. The set number comes from event
    // scripts, so a number outside the range answers set 0.
    const TLcfVocabularyShop& GetShopTerms(int kind) const;
    const TLcfVocabularyInn& GetInnTerms(int kind) const;
    TLcfVocabularyShop& ShopTerms(int kind) { return shops_[static_cast<size_t>(ValidShop(kind))]; }
    TLcfVocabularyInn& InnTerms(int kind) { return inns_[static_cast<size_t>(ValidInn(kind))]; }

private:
    static int ValidShop(int kind) { return kind >= 0 && kind < kShopSetCount ? kind : 0; }
    static int ValidInn(int kind) { return kind >= 0 && kind < kInnSetCount ? kind : 0; }
    // Where chunk `id` lives, or nullptr.
    std::string* Slot(int id);

    std::array<std::string, kLastChunk + 1> terms_;  // indexed by chunk id
    std::array<TLcfVocabularyShop, kShopSetCount> shops_;
    std::array<TLcfVocabularyInn, kInnSetCount> inns_;
};
