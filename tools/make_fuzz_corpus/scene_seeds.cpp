#include "scene_seeds.h"

#include <fstream>
#include <string>
#include <vector>

#include "../../fuzz/scene_input.h"
#include "data/database/database.h"

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
    // Each row of the menu: down to it, decision, then through its screen.
    for (int row = 0; row < 8; ++row)
        Write(menu / ("menu_row" + std::to_string(row)), {0, 3, 0x1f, 0x47}, 239, edits, count,
              Then(Presses(1, row), Then({8, 0}, browse)));
}
