#pragma once
// Sine and cosine of byte angles: 256 steps to a full turn.

#include <cstdint>

double TableSin(uint8_t angle);
double TableCos(uint8_t angle);
