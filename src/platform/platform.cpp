#include "platform/platform.h"

#include <stdexcept>

namespace platform {

namespace {
std::unique_ptr<Platform>& Holder() {
    static std::unique_ptr<Platform> holder;
    return holder;
}
}  // namespace

Platform& Sys() {
    auto& p = Holder();
    if (!p) throw std::logic_error("platform used before it was set");
    return *p;
}

void SetPlatform(std::unique_ptr<Platform> platform) { Holder() = std::move(platform); }

bool HasPlatform() { return Holder() != nullptr; }

}  // namespace platform
