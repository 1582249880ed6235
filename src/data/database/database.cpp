#include "data/database/database.h"

#include <algorithm>
#include <fstream>

#include "data/folders.h"
#include "data/record/var_int.h"
#include "data/bad_file_header.h"
#include "data/stderr_note.h"
#include "data/string_table.h"
#include "platform/file_names.h"

TLcfPlayer* DbPlayer = nullptr;
TLcfSkill* DbSkill = nullptr;
TLcfItem* DbItem = nullptr;
TLcfMonster* DbMonster = nullptr;
TLcfMonGroup* DbMonGroup = nullptr;
TLcfGround* DbGround = nullptr;
TLcfAttrib* DbAttrib = nullptr;
TLcfStatus* DbStatus = nullptr;
TLcfAnimation* DbAnimation = nullptr;
TLcfChipSet* DbChipSet = nullptr;
TLcfVocabulary* DbVocabulary = nullptr;
TLcfSystem* DbSystem = nullptr;
TLcfSwitch* DbSwitch = nullptr;
TLcfVariable* DbVariable = nullptr;
TLcfCommonEvent* DbCommonEvent = nullptr;
TLcfJob* DbJob = nullptr;
TLcfAnimation2* DbAnimation2 = nullptr;
TLcfBattle* DbBattle = nullptr;

TLcfDataBase* GameDataBase = nullptr;

namespace {

// No real database comes near this; a larger file is not read into memory.
constexpr std::uintmax_t kMaxDatabaseFileSize = 256u << 20;

}  // namespace

template <class T>
void TLcfDataBase::AddList(T*& global, int32_t section) {
    auto list = std::make_unique<T>();
    global = list.get();
    globals_.push_back(reinterpret_cast<void**>(&global));
    tables_.push_back({section, list.get(), nullptr});
    ownedLists_.push_back(std::move(list));
}

template <class T>
void TLcfDataBase::AddRecord(T*& global, int32_t section) {
    auto record = std::make_unique<T>();
    global = record.get();
    globals_.push_back(reinterpret_cast<void**>(&global));
    tables_.push_back({section, nullptr, record.get()});
    ownedRecords_.push_back(std::move(record));
}

TLcfDataBase::TLcfDataBase() {
    AddList(DbPlayer, 11);
    AddList(DbSkill, 12);
    AddList(DbItem, 13);
    AddList(DbMonster, 14);
    AddList(DbMonGroup, 15);
    AddList(DbGround, 16);
    AddList(DbAttrib, 17);
    AddList(DbStatus, 18);
    AddList(DbAnimation, 19);
    AddList(DbChipSet, 20);
    AddRecord(DbVocabulary, 21);
    AddRecord(DbSystem, 22);
    AddList(DbSwitch, 23);
    AddList(DbVariable, 24);
    AddList(DbCommonEvent, 25);
    AddList(DbJob, 30);
    AddList(DbAnimation2, 32);
    AddRecord(DbBattle, 29);
    Reset();
}

TLcfDataBase::~TLcfDataBase() {
    size_t list = 0, record = 0;
    for (size_t i = 0; i < tables_.size(); ++i) {
        void* own = tables_[i].list ? static_cast<void*>(tables_[i].list) : static_cast<void*>(tables_[i].record);
        // The globals may already name the tables of a newer database.
        void* global = *globals_[i];
        if (tables_[i].list) ownedLists_[list++].reset();
        else ownedRecords_[record++].reset();
        if (global == own) *globals_[i] = nullptr;
    }
}

void TLcfDataBase::Reset() {
    for (const Table& t : tables_) {
        if (t.list) t.list->SetCount(1);
        else t.record->Clear();
    }
    cachedSize_ = 0;
    cachedAge_ = 0;
}

const TLcfDataBase::Table* TLcfDataBase::TableForSection(int32_t section) const {
    for (const Table& t : tables_)
        if (t.section == section) return &t;
    return nullptr;
}

void TLcfDataBase::Load() { Load(ExeDir); }

void TLcfDataBase::Load(const std::string& gameFolder) {
    auto found = platform::ResolveGameName(gameFolder, kDatabaseFileName, platform::FileKind::File);
    LoadFromFile(found ? std::filesystem::path(*found) : std::filesystem::path(gameFolder) / kDatabaseFileName);
}

void TLcfDataBase::LoadFromFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    if (!file || ec) throw EFOpenError(FormatStr(kStrFileOpenError, path.string()));
    auto stamp = std::filesystem::last_write_time(path, ec);
    int64_t age = ec ? 0 : static_cast<int64_t>(stamp.time_since_epoch().count());
    if (size > kMaxDatabaseFileSize) NamingFileOnError(path.string(), [] { throw EReadError(); });
    if (static_cast<int64_t>(size) != cachedSize_ || age != cachedAge_) {
        Reset();
        cachedSize_ = static_cast<int64_t>(size);
        cachedAge_ = age;
    }
    std::vector<uint8_t> bytes(size);
    if (size && !file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        NamingFileOnError(path.string(), [] { throw EReadError(); });
    ByteReader r(bytes.data(), bytes.size());
    NamingFileOnError(path.string(), [&] { LoadFromStream(r); });
}

void TLcfDataBase::LoadFromStream(ByteReader& r) {
    std::string magic;
    try {
        magic = ReadVarString(r);
    } catch (const EReadError&) {
        magic.clear();
    }
    if (magic != kDatabaseMagic) throw EBadFileHeader("a game database", kDatabaseMagic);
    while (!r.AtEnd()) {
        int32_t section = ReadVarInt(r);
        // A length past the end of the file is cut there, which ends the loop.
        size_t length = ReadVarLength(r);
        length = std::min(length, r.Remaining());
        size_t start = r.Position();
        if (const Table* t = TableForSection(section)) {
            ByteReader data = r.Sub(length);
            if (t->list) LoadNestedList(*t->list, data);
            else LoadNestedRecord(*t->record, data);
        }
        r.Seek(start + length);
    }
}
