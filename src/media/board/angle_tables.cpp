#include "media/board/angle_tables.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

struct AngleTables {
    std::array<double, 256> sine{}, cosine{};
    AngleTables() {
        for (int i = 0; i < 256; ++i) {
            sine[i] = std::sin(i * std::numbers::pi / 128);
            cosine[i] = std::cos(i * std::numbers::pi / 128);
        }
    }
};

const AngleTables& Tables() {
    static const AngleTables tables;
    return tables;
}

}  // namespace

double TableSin(uint8_t angle) {
    return Tables().sine[angle];
}
double TableCos(uint8_t angle) {
    return Tables().cosine[angle];
}
