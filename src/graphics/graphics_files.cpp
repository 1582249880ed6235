#include "graphics/graphics_files.h"

#include "data/asset_lookup.h"

namespace {

GraphicsFileFinder& Finder() {
    static GraphicsFileFinder finder;
    return finder;
}

}  // namespace

std::string FindGraphicsFile(const std::string& folder, const std::string& name) {
    if (Finder()) return Finder()(folder, name);
    if (name.empty()) return std::string();
    return RequireAssetFile(name, folder, kImageExtensions);
}

void SetGraphicsFileFinder(GraphicsFileFinder finder) { Finder() = std::move(finder); }
