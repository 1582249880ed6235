#include "scene_seeds.h"

#include <algorithm>
#include <fstream>
#include <utility>
#include <string>
#include <vector>

#include "../../fuzz/scene_input.h"
#include "data/database/battle.h"
#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/job.h"
#include "data/database/mon_group.h"
#include "data/database/monster.h"
#include "data/database/player.h"
#include "data/database/skill.h"
#include "data/database/status.h"

namespace {

// The sections whose records the scenes use.
constexpr int32_t kSections[] = {11, 12, 13, 14, 15, 17, 18, 19, 29, 30};

// The demo's records as edits: the header's edit count still 0.
std::vector<uint8_t> DemoEdits(TLcfDataBase& demo, size_t& count) {
    std::vector<uint8_t> edits;
    count = 0;
    const std::vector<TLcfDataBase::Table> tables = scene_input::SortedTables(demo);
    for (size_t index = 0; index < tables.size(); ++index) {
        const TLcfDataBase::Table& t = tables[index];
        if (std::find(std::begin(kSections), std::end(kSections), t.section) == std::end(kSections)) continue;
        if (t.record) {
            scene_input::EncodeRecord(edits, count, uint8_t(index), 1, *t.record);
            continue;
        }
        for (int i = 0; i < t.list->Count(); ++i) {
            TCatalogItem* record = t.list->Items(i);
            if (record->Id() > scene_input::kMaxRecord) break;
            scene_input::EncodeRecord(edits, count, uint8_t(index), record->Id(), *record);
        }
    }
    for (int i = 0; DbMonGroup && i < DbMonGroup->Count(); ++i) {
        const TLcfMonGroupItem& troop = *DbMonGroup->Items(i);
        if (troop.Id() > scene_input::kMaxRecord) break;
        for (int p = 0; p < troop.pages.Count() && troop.pages.Items(p)->Id() <= 4; ++p)
            scene_input::EncodeScript(edits, count, troop.Id(), troop.pages.Items(p)->Id(),
                                      troop.pages.Items(p)->script);
    }
    return edits;
}

// The index (in section order) of the table of `section`.
uint8_t TableIndex(TLcfDataBase& db, int32_t section) {
    const std::vector<TLcfDataBase::Table> tables = scene_input::SortedTables(db);
    for (size_t index = 0; index < tables.size(); ++index)
        if (tables[index].section == section) return uint8_t(index);
    return 0;
}

// The id of the field of `record` that holds `member`.
uint8_t FieldOf(TCatalogBaseItem& record, const void* member) {
    for (int field = 1; field < 256; ++field) {
        TCatalogVarData d;
        record.DescribeField(field, d, false);
        if (d.data == member) return uint8_t(field);
    }
    return 0;
}

// A later party: every hero of the demo starts at `level` and has learnt
// what the demo's class of the hero teaches (a new game teaches from the
// hero's own list).
void RaiseHeroes(TLcfDataBase& demo, int32_t level, std::vector<uint8_t>& edits, size_t& count) {
    const uint8_t table = TableIndex(demo, 11);
    for (int i = 0; i < DbPlayer->Count() && DbPlayer->Items(i)->Id() <= scene_input::kMaxRecord; ++i) {
        TLcfPlayerItem& hero = *DbPlayer->Items(i);
        const uint8_t record = uint8_t(hero.Id() - 1);
        scene_input::AppendEdit(edits, {table, record, FieldOf(hero, &hero.initialLevel), 0, 0, 0, level});
        ++count;
        const TLcfJobItem* job = DbJob->Find(hero.jobClass);
        if (!job || hero.skills.Count() == 0) continue;
        TLcfPlayerLearningItem& entry = *hero.skills.Items(0);
        const uint8_t list = FieldOf(hero, &hero.skills);
        for (int j = 0; j < job->skills.Count() && j < scene_input::kMaxRecord; ++j) {
            const TLcfLearningItem& l = *job->skills.Items(j);
            scene_input::AppendEdit(edits, {table, record, list, uint8_t(j), FieldOf(entry, &entry.level), 0, l.level});
            scene_input::AppendEdit(edits,
                                    {table, record, list, uint8_t(j), FieldOf(entry, &entry.skillId), 0, l.skillId});
            count += 2;
        }
    }
}

// The skills a hero of the demo knows at `level`, in the order learnt.
std::vector<int32_t> SkillsAt(const TLcfPlayerItem& hero, int32_t level) {
    std::vector<int32_t> known;
    auto learn = [&](const TLcfLearningItem& l) {
        if (l.level <= level && std::find(known.begin(), known.end(), l.skillId) == known.end())
            known.push_back(l.skillId);
    };
    if (const TLcfJobItem* job = DbJob->Find(hero.jobClass))
        for (int i = 0; i < job->skills.Count(); ++i) learn(*job->skills.Items(i));
    else
        for (int i = 0; i < hero.skills.Count(); ++i) learn(*hero.skills.Items(i));
    return known;
}

// Each skill the demo's first four heroes know at level 15 that `use`
// accepts, once, with the index of the first hero who knows it and its entry
// in that hero's list (sorted by id).
template <class Use, class Seed>
void ForEachFirstKnownSkill(Use use, Seed seed) {
    std::vector<int32_t> done;
    for (int i = 0; i < DbPlayer->Count() && i < 4; ++i) {
        std::vector<int32_t> skills = SkillsAt(*DbPlayer->Items(i), 15);
        std::sort(skills.begin(), skills.end());
        for (size_t k = 0; k < skills.size(); ++k) {
            const TLcfSkillItem* skill = DbSkill->Find(skills[k]);
            if (!skill || !use(*skill) || std::find(done.begin(), done.end(), skills[k]) != done.end()) continue;
            done.push_back(skills[k]);
            seed(i, skills[k], int(k));
        }
    }
}

// The row of a hero's battle command window that holds the first command
// of `kind` (0 when none does).
int RowOf(const TLcfPlayerItem& hero, int kind) {
    for (int row = 0; row < TLcfPlayerItem::kCommandSlots && hero.battleCommands[size_t(row)] > 0; ++row)
        if (DbBattle->commands.FindCommand(hero.battleCommands[size_t(row)])->kind == kind) return row;
    return 0;
}

// `times` presses of the key byte `key`, each released for a frame.
std::vector<uint8_t> Presses(uint8_t key, int times) {
    std::vector<uint8_t> keys;
    for (int i = 0; i < times; ++i) keys.insert(keys.end(), {key, 0});
    return keys;
}

std::vector<uint8_t> Then(std::vector<uint8_t> first, const std::vector<uint8_t>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A battle's frames (fuzz/battle_scene.cpp). When the party strikes
// first the gauges start full: decision on the troop's appearance opens
// the lone hero's command window by frame 33 (by frame 71 without it).
constexpr size_t kBattleFrames = 240;
constexpr int kIntroPresses = 17;
constexpr size_t kFirstCommand = 36;

// To entry `index` of a list of two columns.
std::vector<uint8_t> ToEntry(int index) {
    std::vector<uint8_t> keys = Presses(1, index / 2);
    if (index % 2) keys = Then(keys, Presses(3, 1));
    return keys;
}

void Write(const std::filesystem::path& path, std::array<uint8_t, 4> setup, uint16_t frames,
           const std::vector<uint8_t>& edits, size_t count, const std::vector<uint8_t>& keys) {
    std::vector<uint8_t> seed = scene_input::Header(frames, setup);
    scene_input::SetEditCount(seed, count);
    seed.insert(seed.end(), edits.begin(), edits.end());
    seed.insert(seed.end(), keys.begin(), keys.end());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(seed.data()), std::streamsize(seed.size()));
}

}  // namespace

void WriteSceneSeeds(const std::filesystem::path& dir, const std::filesystem::path& demoFolder) {
    TLcfDataBase demo;
    demo.Load(demoFolder.string());
    size_t count = 0;
    const std::vector<uint8_t> edits = DemoEdits(demo, count);
    // Decision every other frame: commands, targets and messages go on.
    const std::vector<uint8_t> decide = {8, 0};
    // Down, decision, up, decision, cancel: through the lists and back.
    const std::vector<uint8_t> browse = {1, 0, 8, 0, 4, 0, 8, 0, 16, 0, 3, 0, 8, 0};

    const std::filesystem::path battle = dir / "battle_scene";
    std::filesystem::create_directories(battle);
    for (int layout = 0; layout < 3; ++layout)
        for (int condition = 0; condition < 5; ++condition) {
            const uint8_t flags = uint8_t(condition | 16 | layout << 5 | (condition >= 3 ? 0x80 : 0));
            for (int troop = 0; troop < 3; ++troop)
                Write(battle / ("layout" + std::to_string(layout) + "_start" + std::to_string(condition) + "_troop" +
                                std::to_string(troop + 1)),
                      {flags, uint8_t(3 + 4 * troop), uint8_t(troop), uint8_t(troop)}, 159, edits, count,
                      troop == 2 ? browse : decide);
        }
    // A later party: every hero at level 15, knowing what the demo's
    // classes teach by then.
    size_t laterCount = count;
    std::vector<uint8_t> later = edits;
    RaiseHeroes(demo, 15, later, laterCount);
    const int32_t troops = std::min<int32_t>(DbMonGroup->Count(), 8);
    // The party flees at once by the party command; a battle the field
    // starts as a random encounter.
    Write(battle / "flee_layout1", {16 | 1 << 5, 3, 0, 0}, 159, edits, count, {1, 0, 1, 0, 8, 0});
    Write(battle / "encounter", {16, 3, 0, 16 | 1}, 159, edits, count, decide);
    // With the first strike, the list of a hero's command `row` at entry
    // `entry`, then decision on everything (the target, the messages). The
    // party is hero 1 and the hero chosen (index `hero`; the battle's party
    // always holds hero 1 first): hero 1 defends first.
    auto command = [&](int row, int entry, int hero = 0) {
        std::vector<uint8_t> keys = Presses(8, kIntroPresses);
        keys.resize(kFirstCommand, 0);
        if (hero > 0) keys = Then(keys, Then(Presses(1, RowOf(*DbPlayer->Items(0), 3)), {8, 0, 0, 0, 0, 0}));
        // The list takes a few frames to open.
        keys = Then(keys, Then(Presses(1, row), Then({8, 0, 0, 0, 0, 0}, Then(ToEntry(entry), {8, 0}))));
        while (keys.size() + 2 <= kBattleFrames) keys = Then(keys, {8, 0});
        return keys;
    };
    // The first hero's attack on every foe of the first troop, which the
    // later party wins; and the first hero running away.
    for (int i = 0; i < DbPlayer->Count() && i < 1; ++i) {
        std::vector<int32_t> skills = SkillsAt(*DbPlayer->Items(i), 15);
        std::sort(skills.begin(), skills.end());
        for (size_t k = 0; k < skills.size(); ++k)
            if (DbSkill->Find(skills[k]) && DbSkill->Find(skills[k])->scope == TLcfSkillItem::kAllEnemies)
                for (uint8_t test : {0, 64})
                    Write(battle / (test ? "victory_battle_test" : "victory"), {16 | 8, 0, 0, test}, 239, later,
                          laterCount, command(RowOf(*DbPlayer->Items(i), 1), int(k), i));
    }
    Write(battle / "run", {16 | 8, 0, 0, 0}, 239, later, laterCount, command(RowOf(*DbPlayer->Items(0), 5), 0));
    // Each troop whose monsters inflict a condition by a skill, attacking
    // from behind (its gauges start full) the first hero.
    for (int t = 0; t < troops; ++t) {
        const TLcfMonGroupItem& troop = *DbMonGroup->Items(t);
        bool inflicts = false;
        for (int m = 0; m < troop.members.Count(); ++m)
            if (const TLcfMonsterItem* monster = DbMonster->Find(troop.members.Items(m)->monsterId))
                for (int a = 0; a < monster->actions.Count(); ++a) {
                    const TLcfMonsterActItem& act = *monster->actions.Items(a);
                    const TLcfSkillItem* skill = DbSkill->Find(act.skillId);
                    if (act.kind == TLcfMonsterActItem::kSkill && skill)
                        for (int32_t c = 1; c <= DbStatus->Count(); ++c) inflicts |= skill->HasCondition(c);
                }
        if (inflicts)
            Write(battle / ("back_attack_troop" + std::to_string(t + 1)), {16 | 2, 0, uint8_t(t), 0}, 239, later,
                  laterCount, decide);
    }
    // Each item the demo's party may use in battle (the hero holds three of
    // every item, listed by id) against troop `id` (mod the troops).
    bool seed = false;
    for (int i = 0; i < DbItem->Count() && DbItem->Items(i)->Id() <= scene_input::kMaxRecord; ++i) {
        const TLcfItemItem& item = *DbItem->Items(i);
        if (item.kind < TLcfItemItem::kMedicine && !item.performsSkill) continue;
        // The seeds differ only in the parameter they raise.
        if (item.kind == TLcfItemItem::kSeed && std::exchange(seed, true)) continue;
        Write(battle / ("item" + std::to_string(item.Id())), {16 | 8, 0, uint8_t(item.Id() % troops), 32}, 159,
              later, laterCount, command(RowOf(*DbPlayer->Items(0), 4), item.Id() - 1));
    }
    // Each skill of the demo's heroes at level 15 (listed by id) that may be
    // used in battle, by the first hero who knows it, against troop `id`.
    ForEachFirstKnownSkill([](const TLcfSkillItem& skill) { return skill.kind != TLcfSkillItem::kTeleport; },
                           [&](int i, int32_t id, int entry) {
                               Write(battle / ("hero" + std::to_string(i + 1) + "_skill" + std::to_string(id)),
                                     {16 | 8, uint8_t(i << 2), uint8_t(id % troops), 0}, 159, later, laterCount,
                                     command(RowOf(*DbPlayer->Items(i), 1), entry, i));
                           });
    // The base game alone: no edits.
    Write(battle / "base", {16, 3, 0, 0}, 159, {}, 0, decide);

    const std::filesystem::path menu = dir / "menu_scenes";
    std::filesystem::create_directories(menu);
    const char* const names[4] = {"menu", "shop", "name", "save"};
    for (int scene = 0; scene < 4; ++scene)
        for (int keys = 0; keys < 2; ++keys) {
            const uint8_t flags = uint8_t(scene | (keys ? 4 : 0) | (keys ? 0x28 : 0));
            Write(menu / (std::string(names[scene]) + std::to_string(keys)), {flags, 3, 0x1f, 0x47}, 239, edits, count,
                  keys ? browse : decide);
        }
    Write(menu / "base", {0, 3, 0xff, 0x47}, 239, {}, 0, browse);
    // Each item of the demo used from the menu's item screen (the party
    // holds all of them), on the first member and again.
    for (int i = 0; i < DbItem->Count() && DbItem->Items(i)->Id() <= scene_input::kMaxRecord; ++i) {
        const TLcfItemItem& item = *DbItem->Items(i);
        if (item.kind < TLcfItemItem::kMedicine && !item.performsSkill) continue;
        Write(menu / ("item" + std::to_string(item.Id())), {0x80, 3, 0, 0x42}, 239, later, laterCount,
              Then({8, 0}, Then(ToEntry(item.Id() - 1), Then(Presses(8, 3), Presses(16, 3)))));
    }
    // Each skill a hero of the demo may use on the map, at level 15, by the
    // first hero who knows it (listed by id): healing, reviving, curing,
    // the teleport, the escape and the switch skills. The party is hero 1,
    // then the hero chosen and the rest: the skill screen's member is the
    // second when the hero is not hero 1.
    ForEachFirstKnownSkill(
        [](const TLcfSkillItem& skill) { return !skill.IsNormalKind() || skill.scope > TLcfSkillItem::kAllEnemies; },
        [&](int i, int32_t id, int entry) {
            Write(menu / ("hero" + std::to_string(i + 1) + "_skill" + std::to_string(id)),
                  {0, uint8_t(3 | i << 2), 0, 0x47}, 239, later, laterCount,
                  Then(Presses(1, 1), Then(Presses(8, 1), Then(Presses(1, i > 0 ? 1 : 0),
                       Then(Presses(8, 1), Then(ToEntry(entry), Then(Presses(8, 3), Presses(16, 3))))))));
        });
    // A save to load from slot 1, and the save list walked down and up
    // (scrolled) before a save, and left.
    Write(menu / "load", {3 | 8, 3, 0, 0x47}, 239, edits, count, {8, 0});
    Write(menu / "save_walk", {3 | 4, 3, 0, 0x47}, 239, edits, count,
          Then(Presses(1, 4), Then(Presses(4, 4), Then(Presses(8, 1), Presses(16, 1)))));
    Write(menu / "load_left", {3, 3, 0, 0x47}, 239, edits, count, Then(Presses(1, 4), Then(Presses(4, 2), {16, 0})));
    // Each row of the menu (the eight of the base game and the quit row):
    // down to it, decision, then through its screen.
    for (int row = 0; row < 9; ++row)
        Write(menu / ("menu_row" + std::to_string(row)), {0, 3, 0x1f, 0x47}, 239, edits, count,
              Then(Presses(1, row), Then({8, 0}, browse)));
}
