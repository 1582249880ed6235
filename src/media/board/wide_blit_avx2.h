#pragma once
// The AVX2 versions of the wide loops (see wide_blit.h, which chooses among
// the paths): for x86-64 processors with AVX2 but no AVX-512. Only built
// for x86-64; call them only where the processor has AVX2.

#include "media/board/wide_blit.h"

void Avx2Block(uint16_t* dst, size_t dstPitch, const uint8_t* src, size_t srcPitch, size_t width, size_t rows,
               const WideRule& rule);
bool Avx2Blank(const uint8_t* p, size_t n);
void Avx2SlantRuns(const SlantRun* runs, size_t count, const uint8_t* pixels, size_t size, int64_t pitch, int64_t du,
                   int64_t dv, const WideRule& rule);
void Avx2MappedRuns(const MappedRun* runs, size_t count, const WideRule& rule);
