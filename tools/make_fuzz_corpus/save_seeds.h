#pragma once
// Seeds of the save-file target: games standing on the map that target
// builds, with the party walking, aboard the boat under the map's
// overrides, and rising in the airship.
#include <filesystem>

// CORPUS_DIR/save_file.
void WriteSaveSeeds(const std::filesystem::path& dir);
