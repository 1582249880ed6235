// Plays the menu (every sub-screen: items, skills, equipment, status, order,
// save, quit), a shop, the name entry or the save screen of an edited
// database for a bounded number of frames with keys by frame: heroes,
// classes, skills, items and conditions as the edits leave them (any value
// a game file could hold), a party of one to four, gold and items. Every
// save the run writes (into the game's temporary folder) must load back,
// and the game loaded from it must save as it loaded. Nothing may crash,
// hang, overflow or allocate without bound; a clear error ends the run.
//
// Input: scene_input.h, with the set-up bytes
//   2   bits 0-1 the scene: the menu, a shop, the name entry, the save
//       screen; bit 2 the save screen saves (else it loads, and with bit 3
//       slot 1 holds the game as set up); bits 3-4 the shop's kind, bits
//       5-6 its message set; bit 7 the party holds items 1-32 (else 1-8)
//   3   bits 0-1 the heroes added - 1, bits 2-3 the first of them - 1
//       (after the database's starting party; four at most)
//   4   the shop's goods (a bit for each of items 1-8); the named hero - 1
//       (mod 4) and bit 4 the name kept
//   5   the gold (times 37) and each item's count (bits 0-3)
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "data/database/item.h"
#include "game/party/party_info.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "scene_world.h"
#include "scenes/game_main.h"
#include "scenes/name/name_scene.h"
#include "scenes/save/save_file_scene.h"
#include "scenes/shop/shop_scene.h"

namespace {

constexpr int kMaxFrames = 240;

std::vector<uint8_t> Chunk(TLcfgSaveData& save, int id) {
    ByteWriter w;
    save.ChunkOwner(id)->SaveToStream(w);
    return w.Take();
}

std::vector<std::vector<uint8_t>> Chunks(TLcfgSaveData& save) {
    std::vector<std::vector<uint8_t>> chunks;
    for (int id = TLcfgSaveData::kFirstChunk + 1; id <= TLcfgSaveData::kLastChunk; ++id)
        chunks.push_back(Chunk(save, id));
    return chunks;
}

// Every save of the run loads, and what it loads saves the same; the
// files go, so the next input starts without saves.
void CheckSaves() {
    for (int slot = 1; slot <= TLcfgSaveData::kSlotCount; ++slot) {
        const std::filesystem::path path = SlotFileName(slot);
        if (!std::filesystem::exists(path)) continue;
        std::string error;
        if (!GameSaveData->Load(slot, &error)) std::abort();
        const auto loaded = Chunks(*GameSaveData);
        const std::vector<uint8_t> bytes = GameSaveData->SaveToBytes();
        GameSaveData->LoadFromBytes(bytes, false);
        if (Chunks(*GameSaveData) != loaded) std::abort();
        std::filesystem::remove(path);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    scene_world::DefaultFlags(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    scene_world::World& w = scene_world::TheWorld();
    if (!w.Prepare(std::span<const uint8_t>(data, size), kMaxFrames, true, [] {})) return 0;
    GamePartyInfo->gold = 37 * data[5];
    const int32_t items = data[2] & 0x80 ? scene_input::kMaxRecord : 8;
    for (int32_t id = 1; id <= DbItem->Count() && id <= items; ++id) GamePartyInfo->GainItem(id, 1 + (data[5] & 15));

    const int scenes[4] = {kSceneMenu, kSceneShop, kSceneName, kSceneSave};
    const int scene = scenes[data[2] & 3];
    if (scene == kSceneShop) {
        ShopScene->kind = (data[2] >> 3) & 3;
        ShopScene->messageSet = (data[2] >> 5) & 3;
        ShopScene->goods.clear();
        for (int32_t id = 1; id <= 8; ++id)
            if (data[4] >> (id - 1) & 1) ShopScene->goods.push_back(id);
    } else if (scene == kSceneName) {
        NameScene->actorId = 1 + data[4] % 4;
        NameScene->keepName = (data[4] & 16) != 0;
    } else if (scene == kSceneSave) {
        SaveFileScene->saveMode = (data[2] & 4) != 0;
        SaveFileScene->fromMenu = false;
        if (!SaveFileScene->saveMode && (data[2] & 8) != 0 && !GameSaveData->Save(1)) return 0;
    }
    GameSystem->scene = scene;
    // The menu's save screen and its way back belong to the run.
    w.Run([](int s) { return s == kSceneMenu || s == kSceneShop || s == kSceneName || s == kSceneSave; });
    CheckSaves();
    return 0;
}
