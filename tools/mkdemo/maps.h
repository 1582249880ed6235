#pragma once
// The demo's maps and map tree, designed here: tile layers, events with
// their scripts, and each map's place in the tree (music, backdrop,
// encounters). The events are the game library's own records.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/database/event.h"
#include "output.h"

namespace mkdemo {

namespace map_id {
enum : int { kVarrow = 1, kInn, kGreenReach, kHollowCave, kWhisperwood };
}

struct MapDesign {
    int id = 0;
    std::string name;
    int parent = 0;
    bool area = false;                  // a rectangle inside the parent map
    std::array<int32_t, 4> area_rect{};  // left, top, right, bottom (tiles)

    int chip_set = 1;
    int width = 20;
    int height = 15;
    uint8_t scroll = 0;  // 0 none, 1 vertical loop, 2 horizontal loop, 3 both
    bool panorama = false;
    std::string panorama_name;
    bool panorama_loop_x = false, panorama_loop_y = false;
    bool panorama_scroll_x = false, panorama_scroll_y = false;
    int panorama_speed_x = 0, panorama_speed_y = 0;

    bool generate = false;  // the random map generator builds the map at entry
    int generator_layout = 0;
    int room_width = 4, room_height = 2;
    bool wall_border = true, walls_two_high = true, floor_a = true, floor_b = true;
    bool objects_2 = true, objects_3 = true;
    std::array<uint16_t, 18> generator_tiles{};

    std::vector<int16_t> lower;  // width × height tile ids, row by row
    std::vector<int16_t> upper;
    std::unique_ptr<TLcfEvent> events;

    // Tree settings: 0 as the parent, 1 keep / from terrain / allowed,
    // 2 this entry's own / forbidden, as the tree stores them.
    uint8_t music_mode = 0;
    std::string music;
    uint8_t backdrop_mode = 0;
    std::string backdrop;
    uint8_t teleport = 0, escape = 0, save = 0;
    std::vector<int> encounters;  // troop ids
    int encounter_steps = 25;
};

struct StartPosition {
    int map = 0, x = 0, y = 0;
};

struct WorldDesign {
    std::vector<MapDesign> maps;  // by id
    std::vector<int> tree_order;
    StartPosition party, boat, ship, airship;
};

WorldDesign BuildWorld();

// Writes "Varnow.lmt" and "Map%04d.lmu" through the library's map and map
// tree records.
void WriteMaps(OutputFolder& out);

// Autotile shapes from the eight neighbour bits (down 128, right 64, up 32,
// left 16, down-left 8, down-right 4, up-right 2, up-left 1; a set bit is a
// neighbour of another kind).
int AutotileShape(int bits);

}  // namespace mkdemo
