// Program entry. The start-up sequence lives in the scenes library so that
// tests and the harness can run it too.
#include <cstdio>

int main(int, char**) {
    std::fprintf(stderr, "varnow: start-up not built yet\n");
    return 1;
}
