// Load time of a large generated database: 5000 items, 5000 skills, 1000
// enemies, 500 common events of 200 lines, full terms and system records,
// 5000 switch and 5000 variable names.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "data/database/database.h"
#include "data/record/var_int.h"

namespace {

// Typical entries: a name, a help line, numbers and flag sets.
void FillItems(int count) {
    DbItem->SetCount(count);
    for (int i = 0; i < count; ++i) {
        TLcfItemItem* it = DbItem->Items(i);
        it->name = "Item " + std::to_string(i + 1);
        it->description = "A description of a typical length for the help line.";
        it->kind = static_cast<uint8_t>(i % 11);
        it->price = (i * 37) % 5000;
        it->attackBonus = i % 50;
        it->hpPoints = i % 500;
        for (int id = 1; id <= 20; ++id) it->heroSet.SetEntry(id, uint8_t(id & 1));
        for (int id = 1; id <= 20; ++id) it->conditionSet.SetEntry(id, uint8_t(id & 1));
    }
}

void FillSkills(int count) {
    DbSkill->SetCount(count);
    for (int i = 0; i < count; ++i) {
        TLcfSkillItem* s = DbSkill->Items(i);
        s->name = "Skill " + std::to_string(i + 1);
        s->description = "A description of a typical length for the help line.";
        s->message1 = "casts a spell!";
        s->spCost = i % 100;
        s->baseEffect = (i * 101) % 5000;
        for (int id = 1; id <= 20; ++id) s->attributeSet.SetEntry(id, uint8_t(id & 1));
    }
}

void FillMonsters(int count) {
    DbMonster->SetCount(count);
    for (int i = 0; i < count; ++i) {
        TLcfMonsterItem* m = DbMonster->Items(i);
        m->name = "Monster " + std::to_string(i + 1);
        m->picture = "Monster" + std::to_string(i % 40);
        m->maxHp = (i * 37) % 5000;
        m->experience = i;
        for (int id = 1; id <= 20; ++id) m->statusRanks.SetEntry(id, uint8_t(id % 5));
        for (int a = 1; a <= 5; ++a) {
            TLcfMonsterActItem* act = m->actions.Add();
            act->kind = static_cast<uint8_t>(a % 3);
            act->skillId = a * 7;
            act->condition = static_cast<uint8_t>(a);
            act->conditionA = a;
            act->conditionB = a * 10;
        }
    }
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
        DbStatus->SetCount(20);
        DbAttrib->SetCount(20);
        FillItems(5000);
        FillSkills(5000);
        FillMonsters(1000);
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
