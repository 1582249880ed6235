// Program entry: the real platform, then the start-up sequence.
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/program_path.h"
#include "platform/sdl/sdl_platform.h"
#include "scenes/startup.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    if (auto status = ReadOptions(args)) return *status;
    platform::SetPlatform(platform::CreateSdlPlatform());
    int code = VarnowMain(args, platform::CurrentFolder());
    platform::SetPlatform(nullptr);
    return code;
}
