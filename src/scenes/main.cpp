// Program entry: the real platform, then the start-up sequence.
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/program_path.h"
#include "platform/sdl/sdl_platform.h"
#include "scenes/startup.h"

int main(int argc, char** argv) {
    platform::SetPlatform(platform::CreateSdlPlatform());
    int code = VarnowMain(std::vector<std::string>(argv, argv + argc), platform::CurrentFolder());
    platform::SetPlatform(nullptr);
    return code;
}
