#include "platform/file_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>

#include "platform/code_page.h"
#include "platform/letter_case.h"

namespace platform {

namespace {

// A listing is trusted only when the folder's time stamp is older than this
// before the listing was read: file systems stamp with coarse clocks, and a
// change in the same tick would not show.
constexpr int64_t kRacyNanos = 2'000'000'000;
constexpr size_t kCacheLimit = 256;

bool IsSeparator(unsigned char c) { return c == '\\' || c == '/'; }

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

int64_t StampNanos(const struct timespec& ts) { return int64_t(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec; }

int64_t NowNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

struct Listing {
    int64_t stamp = 0;     // the folder's change time when read
    int64_t readAt = 0;
    std::vector<std::string> names;  // sorted
};

std::mutex g_cacheMutex;
std::map<std::string, Listing> g_cache;

bool ReadListing(const std::string& folder, std::vector<std::string>& names) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    while (struct dirent* entry = readdir(dir)) {
        std::string n = entry->d_name;
        if (n != "." && n != "..") names.push_back(std::move(n));
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return true;
}

// The names in a folder, from the cache when it can be trusted.
std::vector<std::string> FolderNames(const std::string& folder) {
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
    int64_t stamp = std::max(StampNanos(st.st_mtim), StampNanos(st.st_ctim));
    std::lock_guard lock(g_cacheMutex);
    auto it = g_cache.find(folder);
    if (it != g_cache.end() && it->second.stamp == stamp && stamp < it->second.readAt - kRacyNanos)
        return it->second.names;
    Listing listing;
    listing.stamp = stamp;
    listing.readAt = NowNanos();
    if (!ReadListing(folder, listing.names)) return {};
    if (g_cache.size() >= kCacheLimit) g_cache.clear();
    auto names = listing.names;
    g_cache[folder] = std::move(listing);
    return names;
}

bool KindMatches(const std::string& path, FileKind kind) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    switch (kind) {
        case FileKind::File: return S_ISREG(st.st_mode);
        case FileKind::Folder: return S_ISDIR(st.st_mode);
        default: return true;
    }
}

// One component under a folder: the exact name first (as stored, then as
// UTF-8), then any entry equal without regard to case.
std::optional<std::string> FindComponent(const std::string& folder, const std::string& component, FileKind kind) {
    std::string utf8 = ToUtf8(component);
    const std::string* exacts[] = {&utf8, &component};
    for (const std::string* exact : exacts) {
        std::string path = Join(folder, *exact);
        if (KindMatches(path, kind)) return path;
    }
    std::string foldedUtf8 = FoldUtf8(utf8);
    std::string foldedBytes = FoldCodePage(component);
    for (const std::string& entry : FolderNames(folder)) {
        if (FoldUtf8(entry) != foldedUtf8 && FoldCodePage(entry) != foldedBytes) continue;
        std::string path = Join(folder, entry);
        if (KindMatches(path, kind)) return path;
    }
    return std::nullopt;
}

}  // namespace

bool SplitGameName(const std::string& name, std::vector<std::string>& components) {
    components.clear();
    if (name.empty() || IsSeparator(static_cast<unsigned char>(name[0]))) return false;
    std::string current;
    auto finish = [&]() -> bool {
        if (current == "..") return false;
        if (!current.empty() && current != ".") components.push_back(current);
        current.clear();
        return true;
    };
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c == 0 || c == ':') return false;  // NUL, or a drive or stream colon
        if (IsLeadByte(c) && i + 1 < name.size()) {
            current += name[i];
            current += name[++i];
            continue;
        }
        if (IsSeparator(c)) {
            if (!finish()) return false;
        } else {
            current += char(c);
        }
    }
    if (!finish()) return false;
    return !components.empty();
}

std::optional<std::string> ResolveGameName(const std::string& folder, const std::string& name, FileKind kind) {
    std::vector<std::string> components;
    // No folder is no folder: never the current one.
    if (folder.empty() || !SplitGameName(name, components)) return std::nullopt;
    std::string path = folder;
    for (size_t i = 0; i < components.size(); ++i) {
        bool last = i + 1 == components.size();
        auto found = FindComponent(path, components[i], last ? kind : FileKind::Folder);
        if (!found) return std::nullopt;
        path = *found;
    }
    return path;
}

std::optional<std::string> GameNameForWriting(const std::string& folder, const std::string& name) {
    std::vector<std::string> components;
    if (folder.empty() || !SplitGameName(name, components)) return std::nullopt;
    std::string path = folder;
    for (size_t i = 0; i + 1 < components.size(); ++i) {
        auto found = FindComponent(path, components[i], FileKind::Folder);
        if (!found) return std::nullopt;
        path = *found;
    }
    if (!KindMatches(path, FileKind::Folder)) return std::nullopt;
    if (auto existing = FindComponent(path, components.back(), FileKind::Any)) return existing;
    return Join(path, ToUtf8(components.back()));
}

void ForgetFolderListing(const std::string& folder) {
    std::lock_guard lock(g_cacheMutex);
    g_cache.erase(folder);
    if (!folder.empty() && folder.back() == '/') g_cache.erase(folder.substr(0, folder.size() - 1));
    else g_cache.erase(folder + "/");
}

bool SameGameName(const std::string& a, const std::string& b) { return FoldCodePage(a) == FoldCodePage(b); }

}  // namespace platform
