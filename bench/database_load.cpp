// Load time of a large generated database: 5000 items, 5000 skills, 1000
// enemies, 500 common events of 200 lines, full terms and system records,
// 5000 switch and 5000 variable names. Tables whose records are still kept
// raw load through that path (chunk structure checked, bytes kept).
#include <benchmark/benchmark.h>

#include <algorithm>

#include "data/database/database.h"
#include "data/record/var_int.h"

namespace {

// A raw record of `ints` integer chunks, a name, a description and a
// flag block, the shape of item, skill and enemy records.
std::vector<uint8_t> RawRecord(int index, int ints, int flagBytes, const std::vector<uint8_t>& nested = {}) {
    ByteWriter w;
    WriteVarInt(w, 1);
    WriteVarString(w, "Entry " + std::to_string(index));
    WriteVarInt(w, 2);
    WriteVarString(w, "A description of a typical length for the help line.");
    for (int i = 0; i < ints; ++i) {
        WriteVarInt(w, 3 + i);
        WriteVarInt(w, (index * 37 + i * 101) % 5000, true);
    }
    WriteVarInt(w, 60);
    WriteVarInt(w, flagBytes);
    WriteVarInt(w, 61);
    WriteVarInt(w, flagBytes);
    for (int i = 0; i < flagBytes; ++i) w.WriteU8(uint8_t(i & 1));
    if (!nested.empty()) {
        WriteVarInt(w, 80);
        WriteVarInt(w, static_cast<int32_t>(nested.size()));
        w.WriteBytes(nested);
    }
    return w.Take();
}

void FillRaw(TCatalog& list, int count, int ints, int flagBytes, const std::vector<uint8_t>& nested = {}) {
    list.SetCount(count);
    for (int i = 0; i < count; ++i)
        static_cast<TLcfRawItem*>(list.Items(i))->chunks = RawRecord(i, ints, flagBytes, nested);
}

void FillScript(TLcfEventScriptList& script) {
    script.Clear();
    for (int line = 0; line < 199; ++line) {
        switch (line % 4) {
        case 0: script.Add(TLcfEventScriptLine(10110, 0, "Hello there, traveller. The road north is closed.", {})); break;
        case 1: script.Add(TLcfEventScriptLine(10220, 1, "", {0, 12, 12, 0, 0, 250, 0})); break;
        case 2: script.Add(TLcfEventScriptLine(12010, 1, "", {1, 45, 0, 1, 0, 0})); break;
        default: script.Add(TLcfEventScriptLine(11340, 2, "", {10005, 0, 0, 2, 1, 2, 34, 35, 4})); break;
        }
    }
    script.Add(TLcfEventScriptLine(0, 0));
}

std::vector<uint8_t> BuildDatabase(bool onlyCommonEvents) {
    TLcfDataBase db;
    DbCommonEvent->SetCount(500);
    for (int i = 0; i < 500; ++i) {
        DbCommonEvent->Items(i)->name = "Common event " + std::to_string(i + 1);
        FillScript(DbCommonEvent->Items(i)->script);
    }
    if (!onlyCommonEvents) {
        FillRaw(*DbItem, 5000, 30, 20);
        FillRaw(*DbSkill, 5000, 25, 20);
        ByteWriter actions;
        WriteVarInt(actions, 5);
        for (int a = 1; a <= 5; ++a) {
            WriteVarInt(actions, a);
            for (int c = 1; c <= 8; ++c) {
                WriteVarInt(actions, c);
                WriteVarInt(actions, a * c, true);
            }
            WriteVarInt(actions, 0);
        }
        FillRaw(*DbMonster, 1000, 30, 20, actions.Bytes());
        for (int id = 2; id < 154; ++id) DbVocabulary->Set(id, "Term " + std::to_string(id));
        DbSwitch->SetCount(5000);
        DbVariable->SetCount(5000);
        for (int i = 0; i < 5000; ++i) {
            DbSwitch->Items(i)->name = "Switch " + std::to_string(i + 1);
            DbVariable->Items(i)->name = "Variable " + std::to_string(i + 1);
        }
    }
    ByteWriter w;
    WriteVarString(w, kDatabaseMagic);
    std::vector<TLcfDataBase::Table> tables = db.Tables();
    std::sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) { return a.section < b.section; });
    for (const auto& t : tables) {
        if (onlyCommonEvents && t.section != 25) continue;
        ByteWriter section;
        if (t.list)
            t.list->SaveToStream(section);
        else
            t.record->SaveToStream(section);
        WriteVarInt(w, t.section);
        WriteVarInt(w, static_cast<int32_t>(section.Size()));
        w.WriteBytes(section.Data());
    }
    return w.Take();
}

void Load(benchmark::State& state, bool onlyCommonEvents) {
    const std::vector<uint8_t> bytes = BuildDatabase(onlyCommonEvents);
    TLcfDataBase db;
    for (auto _ : state) {
        ByteReader r(bytes.data(), bytes.size());
        db.LoadFromStream(r);
        benchmark::DoNotOptimize(DbCommonEvent->Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}

void BM_LoadLargeDatabase(benchmark::State& state) { Load(state, false); }
void BM_LoadCommonEventsOnly(benchmark::State& state) { Load(state, true); }

}  // namespace

BENCHMARK(BM_LoadLargeDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCommonEventsOnly)->Unit(benchmark::kMillisecond);
