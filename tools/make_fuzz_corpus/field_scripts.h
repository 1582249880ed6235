#pragma once
// Seeds of the field-script and save-file targets: small maps whose events
// run the switch, variable, branch, call, transfer, vehicle, route and tile
// commands, and saves of a game standing on such a map.
#include <cstdint>
#include <filesystem>

class TLcfMap;

// A width x height field: floor, a wall along the top and left edges,
// water along the right edge, a counter at (4, 3).
void BuildFieldMap(TLcfMap& map, int32_t width, int32_t height);
// CORPUS_DIR/field_script.
void WriteFieldScriptSeeds(const std::filesystem::path& dir);
