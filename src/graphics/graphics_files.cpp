#include "graphics/graphics_files.h"

#include <filesystem>

namespace {

GraphicsFileFinder& Finder() {
    static GraphicsFileFinder finder;
    return finder;
}

// The game folder's own lookup: the current folder's sub-folder, with the
// image extensions in the order the game tries them.
std::string DefaultFind(const std::string& folder, const std::string& name) {
    if (name.empty()) return std::string();
    for (const char* ext : {".bmp", ".png", ".xyz"}) {
        std::filesystem::path p = std::filesystem::path(folder) / (name + ext);
        std::error_code ec;
        if (std::filesystem::is_regular_file(p, ec)) return p.string();
    }
    return name;
}

}  // namespace

std::string FindGraphicsFile(const std::string& folder, const std::string& name) {
    if (Finder()) return Finder()(folder, name);
    return DefaultFind(folder, name);
}

void SetGraphicsFileFinder(GraphicsFileFinder finder) { Finder() = std::move(finder); }
