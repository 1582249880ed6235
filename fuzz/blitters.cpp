// Drives every blit with arbitrary rectangles, positions, zooms, angles and
// wave settings on small sheets and boards. Coordinates reach the blits from
// game scripts, so none may read or write outside a sheet or the board.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "media/board/board.h"

namespace {

TRect AnyRect(FuzzedDataProvider& in) {
    // Mostly near the sheet, sometimes anywhere in 32 bits.
    auto coord = [&] {
        return in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-40, 40) : in.ConsumeIntegral<int32_t>();
    };
    return TRect(coord(), coord(), coord(), coord());
}

double AnyZoom(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return in.ConsumeFloatingPointInRange(0.0, 4.0);
        case 1:
            return in.ConsumeFloatingPointInRange(-2.0, 2.0);
        case 2:
            return in.ConsumeFloatingPoint<double>();
        default:
            return 1.0;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    TSorvoSheet sheet;
    sheet.SetSize(in.ConsumeIntegralInRange(0, 24), in.ConsumeIntegralInRange(0, 24));
    for (int32_t i = 0; i < sheet.Width() * sheet.Height(); ++i) sheet.Pixels()[i] = in.ConsumeIntegral<uint8_t>();
    TSorvoBoard board;
    board.SetSize(in.ConsumeIntegralInRange(0, 40), in.ConsumeIntegralInRange(0, 40));
    board.Brightness = in.ConsumeIntegralInRange(-10, 210);
    while (in.remaining_bytes() > 0) {
        sheet.Transparent = in.ConsumeBool();
        sheet.Opacity = in.ConsumeIntegralInRange(-5, 300);
        const TRect src = AnyRect(in);
        const int32_t x = in.ConsumeIntegral<int32_t>() % 64, y = in.ConsumeIntegral<int32_t>() % 64;
        switch (in.ConsumeIntegralInRange(0, 6)) {
            case 0:
                board.Draw(x, y, sheet, src);
                break;
            case 1:
                board.StretchDraw(AnyRect(in), sheet, src);
                break;
            case 2:
                board.ZoomDraw(x, y, sheet, src, in.ConsumeIntegral<int16_t>(), in.ConsumeIntegral<int16_t>(),
                               AnyZoom(in));
                break;
            case 3:
                board.RotateDraw(x, y, sheet, src, in.ConsumeIntegral<int16_t>(), in.ConsumeIntegral<int16_t>(),
                                 in.ConsumeIntegral<uint8_t>(), AnyZoom(in));
                break;
            case 4:
                board.WaveDraw(x, y, sheet, src, in.ConsumeIntegral<int16_t>(), in.ConsumeIntegral<int16_t>(),
                               in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                               in.ConsumeIntegral<int32_t>(), AnyZoom(in));
                break;
            case 5:
                board.CopyFromBoard(x, y, board, src);
                break;
            default: {
                TSorvoSheet other;
                other.SetSize(9, 7);
                other.Draw(x, y, sheet, src);
                sheet.FillRect(AnyRect(in), in.ConsumeIntegral<uint8_t>());
                (void)sheet.IsBlank(src);
                (void)sheet.SameContent(src, AnyRect(in));
                board.FillRect(src, in.ConsumeIntegral<uint32_t>());
                break;
            }
        }
    }
    return 0;
}
