#pragma once
// Writes the drawn images through the game library's own image writers.

#include "output.h"

namespace mkdemo {

// Every image of the art, as 8-bit indexed PNG or XYZ1 (both kinds are
// used, so a game folder exercises both readers).
void WriteImages(OutputFolder& out);

}  // namespace mkdemo
