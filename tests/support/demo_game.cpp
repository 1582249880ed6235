#include "support/demo_game.h"

#include <cstdlib>
#include <string>

#include "data/byte_writer.h"
#include "data/map/map_tree.h"
#include "platform/file_io.h"

namespace fs = std::filesystem;

namespace e2e {

bool WriteDemoGame(const fs::path& dir) {
    const fs::path tool = fs::path(VARNOW_BINARY_DIR) / "mkdemo";
    if (!fs::exists(tool)) return false;
    std::string command = "\"" + tool.string() + "\" \"" + dir.string() + "\" >/dev/null";
    if (std::system(command.c_str()) != 0) return false;
    if (!fs::exists(dir / "Varnow.lmt")) {
        TLcfMapTree tree;
        tree.AppendToOrder(tree.Add());
        tree.startPosition.positions[TLcfMapStartPosition::kParty][0] = kFallbackStartMap;
        tree.startPosition.positions[TLcfMapStartPosition::kParty][1] = kFallbackStartX;
        tree.startPosition.positions[TLcfMapStartPosition::kParty][2] = kFallbackStartY;
        ByteWriter w;
        tree.SaveTree(w);
        testing_support::WriteFile(dir / "Varnow.lmt", std::string(w.Bytes().begin(), w.Bytes().end()));
    }
    return true;
}

int StartMapOf(const fs::path& dir) {
    TLcfMapTree tree;
    tree.LoadFromFile((dir / "Varnow.lmt").string());
    return tree.startPosition.GetMapId(TLcfMapStartPosition::kParty);
}

}  // namespace e2e
