#pragma once
// Lets a benchmark time the blits on a narrower path than the machine's
// widest: VARNOW_BLIT_PATH=portable, avx2 or avx512 (unset: the widest).
// Each run prints the path it timed.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "media/board/wide_blit.h"

inline bool ChooseBlitPathFromEnvironment() {
    if (const char* wanted = std::getenv("VARNOW_BLIT_PATH"); wanted && *wanted) {
        bool found = false;
        for (BlitPath path : AvailableBlitPaths())
            if (std::strcmp(BlitPathName(path), wanted) == 0) {
                SetBlitPathForTesting(path);
                found = true;
            }
        if (!found) {
            std::fprintf(stderr, "VARNOW_BLIT_PATH=%s: this processor has no such path\n", wanted);
            std::exit(2);
        }
    }
    std::fprintf(stderr, "blit path: %s\n", BlitPathName(CurrentBlitPath()));
    return true;
}

// Chosen while the program starts, before the benchmarks run.
inline const bool kBlitPathChosen = ChooseBlitPathFromEnvironment();
