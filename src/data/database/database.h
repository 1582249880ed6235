#pragma once
// The game's database, "Varnow.ldb": eighteen process-wide tables, created
// together, reset to a minimal valid state and loaded section by section.
//
// File: the string "LcfDataBase", then sections up to the end of the file,
// each a var-int section id, a var-int byte length and the table's stream
// form. Sections come in any order; unknown ones are skipped.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "data/database/animation.h"
#include "data/database/animation2.h"
#include "data/database/attrib.h"
#include "data/database/battle.h"
#include "data/database/chip_set.h"
#include "data/database/common_event.h"
#include "data/database/ground.h"
#include "data/database/item.h"
#include "data/database/job.h"
#include "data/database/mon_group.h"
#include "data/database/monster.h"
#include "data/database/player.h"
#include "data/database/skill.h"
#include "data/database/status.h"
#include "data/database/switch_variable.h"
#include "data/database/system.h"
#include "data/database/vocabulary.h"

// The tables, valid while a TLcfDataBase lives.
extern TLcfPlayer* DbPlayer;
extern TLcfSkill* DbSkill;
extern TLcfItem* DbItem;
extern TLcfMonster* DbMonster;
extern TLcfMonGroup* DbMonGroup;
extern TLcfGround* DbGround;
extern TLcfAttrib* DbAttrib;
extern TLcfStatus* DbStatus;
extern TLcfAnimation* DbAnimation;
extern TLcfChipSet* DbChipSet;
extern TLcfVocabulary* DbVocabulary;
extern TLcfSystem* DbSystem;
extern TLcfSwitch* DbSwitch;
extern TLcfVariable* DbVariable;
extern TLcfCommonEvent* DbCommonEvent;
extern TLcfJob* DbJob;
extern TLcfAnimation2* DbAnimation2;
extern TLcfBattle* DbBattle;

// The database file's name in the game folder.
inline constexpr const char* kDatabaseFileName = "Varnow.ldb";
// Its leading string.
inline constexpr const char* kDatabaseMagic = "LcfDataBase";

class TLcfDataBase {
public:
    // One table: a list or a record, and the section that holds it.
    struct Table {
        int32_t section = 0;
        TCatalog* list = nullptr;
        TCatalogBaseItem* record = nullptr;
    };

    // Creates the eighteen tables (setting the Db globals), then Reset.
    TLcfDataBase();
    // Frees the tables in creation order and clears the globals.
    ~TLcfDataBase();
    TLcfDataBase(const TLcfDataBase&) = delete;
    TLcfDataBase& operator=(const TLcfDataBase&) = delete;

    // Every list becomes one blank entry with id 1; records their defaults.
    void Reset();
    // LoadFromFile of the database file in the game folder (`ExeDir`), its
    // name matched without regard to case.
    void Load();
    void Load(const std::string& gameFolder);
    // Resets first unless the file has the size and stamp of the last load.
    void LoadFromFile(const std::filesystem::path& path);
    void LoadFromStream(ByteReader& r);

    // The tables in creation order.
    const std::vector<Table>& Tables() const { return tables_; }
    // The table of a section id, or nullptr.
    const Table* TableForSection(int32_t section) const;

    int64_t CachedSize() const { return cachedSize_; }
    int64_t CachedAge() const { return cachedAge_; }

private:
    template <class T>
    void AddList(T*& global, int32_t section);
    template <class T>
    void AddRecord(T*& global, int32_t section);

    std::vector<Table> tables_;
    std::vector<std::unique_ptr<TCatalog>> ownedLists_;
    std::vector<std::unique_ptr<TCatalogBaseItem>> ownedRecords_;
    std::vector<void**> globals_;
    int64_t cachedSize_ = 0;
    int64_t cachedAge_ = 0;
};

// The one database of the running game.
extern TLcfDataBase* GameDataBase;
