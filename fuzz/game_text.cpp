// Untrusted text from game folders: ini files, file names from game data,
// and code-page text converted for the screen's caption and messages.
// Properties: nothing crashes, a split name never climbs out of its folder,
// and conversion always yields valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_names.h"
#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);

    platform::IniFile ini(text);
    (void)ini.ReadString("Varnow", "GameTitle", "Untitled");
    (void)ini.ReadInteger("Varnow", "FullPackageFlag", 0);

    std::vector<std::string> parts;
    if (platform::SplitGameName(text, parts)) {
        for (const auto& p : parts)
            if (p.empty() || p == ".." || p == ".") std::abort();
    }

    if (!platform::IsValidUtf8(platform::ToUtf8(text))) std::abort();
    return 0;
}
