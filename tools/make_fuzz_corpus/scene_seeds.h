#pragma once
// Seeds of the scene targets (battle_scene, menu_scenes): the demo game's
// heroes, classes, skills, items, conditions, attributes, monsters, troops
// and their battle event pages as edits (fuzz/scene_input.h), under every
// battle layout and start condition, and for every menu scene.
#include <filesystem>

// CORPUS_DIR/battle_scene and CORPUS_DIR/menu_scenes from the database of
// the game in `demoFolder` (as tools/mkdemo writes it).
void WriteSceneSeeds(const std::filesystem::path& dir, const std::filesystem::path& demoFolder);
