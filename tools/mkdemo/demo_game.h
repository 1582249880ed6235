#pragma once
// Writes the whole demo game into a folder.

#include <filesystem>

#include "output.h"

namespace mkdemo {

// Writes every file of the demo game below `out`'s root.
void WriteDemoGame(OutputFolder& out);

}  // namespace mkdemo
