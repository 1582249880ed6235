// Writes the small seed files of the record-format fuzz targets:
//   make_fuzz_corpus CORPUS_DIR
// into CORPUS_DIR/database_loader and CORPUS_DIR/event_list. Every file is
// valid data made with our own writers.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "data/database/database.h"
#include "data/database/event.h"
#include "data/record/var_int.h"

namespace {

std::vector<uint8_t> SaveTable(const TLcfDataBase::Table& t) {
    ByteWriter w;
    if (t.list)
        t.list->SaveToStream(w);
    else
        t.record->SaveToStream(w);
    return w.Take();
}

// The database's sections in ascending id order, only those in `sections`
// (all when empty).
void WriteBytes(const std::filesystem::path& path, const ByteWriter& w) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(w.Bytes().data()), static_cast<std::streamsize>(w.Size()));
}

void WriteEvents(TLcfEvent& events, const std::filesystem::path& path) {
    ByteWriter w;
    events.SaveToStream(w);
    WriteBytes(path, w);
}

void Write(TLcfDataBase& db, const std::filesystem::path& path, std::vector<int32_t> sections = {}) {
    ByteWriter w;
    WriteVarString(w, kDatabaseMagic);
    std::vector<TLcfDataBase::Table> tables = db.Tables();
    std::sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) { return a.section < b.section; });
    for (const auto& t : tables) {
        if (!sections.empty() && std::find(sections.begin(), sections.end(), t.section) == sections.end()) continue;
        std::vector<uint8_t> bytes = SaveTable(t);
        WriteVarInt(w, t.section);
        WriteVarInt(w, static_cast<int32_t>(bytes.size()));
        w.WriteBytes(bytes);
    }
    WriteBytes(path, w);
}

// A raw entry with a few typical chunks: a name, integers and a flag block.
void FillRaw(TLcfRawItem& item, const std::string& name) {
    ByteWriter w;
    WriteVarInt(w, 1);
    WriteVarString(w, name);
    WriteVarInt(w, 2);
    WriteVarInt(w, 300, true);
    WriteVarInt(w, 3);
    WriteVarInt(w, 1);
    w.WriteU8(1);
    WriteVarInt(w, 61);
    WriteVarInt(w, 3);
    w.WriteBytes("\x01\x00\x01", 3);
    item.chunks = w.Take();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_corpus DIR\n");
        return 2;
    }
    std::filesystem::path dir = std::filesystem::path(argv[1]) / "database_loader";
    std::filesystem::create_directories(dir);
    TLcfDataBase db;
    Write(db, dir / "header_only.ldb", {-1});
    Write(db, dir / "defaults.ldb");

    DbSystem->boatSheet = "Boat";
    DbSystem->party.Resize(2, 2);
    DbSystem->music[kMusicBattle].name = "Fight";
    DbSystem->sounds[kSoundCursor].name = "Cursor";
    DbSystem->battleTestParty.SetCount(1);
    DbSystem->battleTestParty.Items(0)->equipment[1] = 4;
    Write(db, dir / "system.ldb", {22});

    DbVocabulary->Set(TLcfVocabulary::kCurrency, "G");
    DbVocabulary->ShopTerms(1).texts[0] = "Hi";
    DbVocabulary->InnTerms(1).texts[3] = "Stay";
    Write(db, dir / "terms.ldb", {21});

    DbSwitch->SetCount(3);
    DbSwitch->Items(1)->name = "Door";
    DbVariable->SetCount(2);
    DbVariable->Items(0)->name = "Count";
    Write(db, dir / "names.ldb", {23, 24});

    DbCommonEvent->SetCount(2);
    TLcfCommonEventItem* ce = DbCommonEvent->Items(0);
    ce->name = "Clock";
    ce->trigger = TLcfCommonEventItem::kParallel;
    ce->needsSwitch = 1;
    ce->script.Clear();
    ce->script.Add(TLcfEventScriptLine(10110, 0, "Hello", {}));
    ce->script.Add(TLcfEventScriptLine(11340, 0, "", {10005, 0, 0, 2, 1, 2, 34, 35}));
    ce->script.Add(TLcfEventScriptLine(0, 0));
    Write(db, dir / "common_events.ldb", {25});

    DbItem->SetCount(2);
    FillRaw(*DbItem->Items(0), "Potion");
    DbPlayer->SetCount(1);
    DbPlayer->Items(0)->name = "Alex";
    Write(db, dir / "raw_tables.ldb", {11, 13});

    Write(db, dir / "everything.ldb");

    std::filesystem::path events = std::filesystem::path(argv[1]) / "event_list";
    std::filesystem::create_directories(events);
    TLcfEvent list;
    WriteEvents(list, events / "empty.bin");
    list.SetCount(2);
    WriteEvents(list, events / "two_plain.bin");
    TLcfEventItem* ev = list.Items(1);
    ev->name = "Chest";
    ev->x = 4;
    ev->y = 7;
    ev->pages.SetCount(2);
    TLcfEventPageItem* page = ev->pages.Items(1);
    page->condition.flags = TLcfEventCondition::kSwitchA | TLcfEventCondition::kVariable;
    page->condition.switchA = 3;
    page->condition.variableValue = 10;
    page->sheetName = "Chest";
    page->trigger = 1;
    page->moveType = 6;
    const uint8_t route[] = {1, 2, 0x20, 7, 0x22, 2, 'C', 'h', 1, 0x23, 1, 'x', 100, 100, 50};
    page->moveRoute.SetData(route);
    page->script.Clear();
    page->script.Add(TLcfEventScriptLine(10110, 0, "Found it", {}));
    page->script.Add(TLcfEventScriptLine(10150, 0, "", {1, 1, 0, 0, 1}));
    page->script.Add(TLcfEventScriptLine(0, 0));
    WriteEvents(list, events / "chest.bin");
    return 0;
}
