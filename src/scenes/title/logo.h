#pragma once
// The start-up logo "LOGO1": a 320x240 XYZ1 image built into the program.
// It is drawn in code at first use (no file on disk) and encoded once.

#include <cstdint>
#include <vector>

const std::vector<uint8_t>& Logo1Xyz();
