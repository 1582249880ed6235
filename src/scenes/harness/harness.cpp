#include "scenes/harness/harness.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "data/folders.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "game/save/save_clock.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/image/bitmap.h"
#include "media/image/png.h"
#include "platform/file_io.h"
#include "platform/settings.h"
#include "scenes/game_main.h"
#include "scenes/startup.h"
#include "scenes/title/title_scene.h"

namespace {

constexpr uint64_t kFrameMicros = 1'000'000 / 60;

// The key names of a key script and the keys they hold, in the order the
// usage lists them.
const std::vector<std::pair<std::string, platform::Key>>& KeyNames() {
    static const std::vector<std::pair<std::string, platform::Key>> keys = {
        {"decision", platform::Key::Enter}, {"cancel", platform::Key::Escape}, {"up", platform::Key::Up},
        {"down", platform::Key::Down},      {"left", platform::Key::Left},      {"right", platform::Key::Right},
        {"shift", platform::Key::Shift},    {"ctrl", platform::Key::Ctrl},      {"f9", platform::Key::F9},
        {"f12", platform::Key::F12},
    };
    return keys;
}

bool KeyOf(const std::string& name, platform::Key& key) {
    for (const auto& [known, k] : KeyNames())
        if (known == name) {
            key = k;
            return true;
        }
    return false;
}

// A frame number: decimal digits only, within int.
bool ParseFrame(const std::string& text, int& out) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoi(text);
    return true;
}

// The game state tests and people check, read from the live objects.
void ReadState(THarnessResult& r) {
    r.sceneNumber = GameSystem->scene;
    if (GameParty) {
        r.mapId = GameParty->mapId;
        r.x = GameParty->x;
        r.y = GameParty->y;
        r.direction = GameParty->facing;
    }
    for (int32_t id = 1; id <= GameSystem->SwitchCount(); ++id)
        if (GameSystem->GetSwitch(id)) r.switchesOn.push_back(id);
    for (int32_t id = 1; id <= GameSystem->VariableCount(); ++id)
        if (int32_t v = GameSystem->GetVariable(id)) r.variables[id] = v;
    if (GamePartyInfo) {
        r.gold = GamePartyInfo->gold;
        for (int slot = 0; slot < GamePartyInfo->MemberCount(); ++slot) r.members.push_back(GamePartyInfo->MemberId(slot));
    }
}

std::string Summary(const THarnessResult& r, uint64_t seed) {
    static const char* const kDirections[4] = {"up", "right", "down", "left"};
    std::ostringstream s;
    s << "seed " << seed << "\n"
      << "scene " << r.sceneNumber << "\n"
      << "frames " << GameSystem->frameCount << "\n"
      << "map " << r.mapId << "\n"
      << "party position " << r.x << " " << r.y << "\n"
      << "party facing " << (r.direction >= 0 && r.direction < 4 ? kDirections[r.direction] : "?") << "\n"
      << "switches on:";
    if (r.switchesOn.empty()) s << " none";
    for (int32_t id : r.switchesOn) s << " " << id;
    s << "\nvariables:";
    if (r.variables.empty()) s << " all 0";
    for (auto [id, value] : r.variables) s << " " << id << "=" << value;
    s << "\ngold " << r.gold << "\nparty members:";
    if (r.members.empty()) s << " none";
    for (size_t i = 0; i < r.members.size(); ++i) {
        s << (i ? ", " : " ") << r.members[i];
        if (GamePartyInfo)
            if (TLcfgPlayerItem* actor = GamePartyInfo->Member(int(i))) s << " " << actor->GetName();
    }
    s << "\n";
    return s.str();
}

}  // namespace

bool WriteFramePng(const platform::CapturedFrame& f, const std::string& path, std::string* error) {
    Bitmap b;
    b.SetFormat(f.width, f.height, 24);
    for (int y = 0; y < f.height; ++y) {
        uint8_t* row = b.Row(y);
        for (int x = 0; x < f.width; ++x) {
            uint16_t p = f.pixels[size_t(y) * size_t(f.width) + size_t(x)];
            uint8_t r = uint8_t((p >> 11) << 3), g = uint8_t(((p >> 5) & 63) << 2), bl = uint8_t((p & 31) << 3);
            row[3 * x] = uint8_t(bl | bl >> 5);
            row[3 * x + 1] = uint8_t(g | g >> 6);
            row[3 * x + 2] = uint8_t(r | r >> 5);
        }
    }
    std::vector<uint8_t> bytes = WritePng(b);
    return platform::WriteFileAtomic(path, bytes.data(), bytes.size(), error);
}

std::string HarnessKeyNames() {
    std::string names;
    for (const auto& [name, key] : KeyNames()) names += (names.empty() ? "" : " ") + name;
    return names;
}

bool ParseKeyScript(const std::string& text, std::vector<THarnessKey>& out, std::string* error) {
    std::istringstream in(text);
    std::string word;
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    while (in >> word) {
        size_t at = word.find('@');
        THarnessKey k;
        platform::Key unused;
        k.name = word.substr(0, at);
        if (!KeyOf(k.name, unused))
            return fail("unknown key \"" + k.name + "\" in \"" + word + "\" (the keys: " + HarnessKeyNames() + ")");
        if (at == std::string::npos) return fail("no frame in \"" + word + "\" (KEY@FRAME or KEY@FIRST-LAST)");
        std::string range = word.substr(at + 1);
        size_t dash = range.find('-');
        if (!ParseFrame(range.substr(0, dash), k.firstFrame) ||
            (dash != std::string::npos && !ParseFrame(range.substr(dash + 1), k.lastFrame)))
            return fail("bad frame range in \"" + word + "\" (KEY@FRAME or KEY@FIRST-LAST, frames from 0)");
        if (dash == std::string::npos) k.lastFrame = k.firstFrame;
        if (k.lastFrame < k.firstFrame)
            return fail("frame range ends before it starts in \"" + word + "\"");
        out.push_back(k);
    }
    return true;
}

THarnessResult RunHarness(const THarnessOptions& options) {
    THarnessResult result;
    auto owned = std::make_unique<platform::HeadlessPlatform>();
    platform::HeadlessPlatform* sys = owned.get();
    platform::SetPlatform(std::move(owned));
    const uint64_t start = sys->NowMicros();
    auto frameNow = [&] { return int((sys->NowMicros() - start) / kFrameMicros); };

    platform::CapturedFrame last;  // the last presented picture
    bool haveLast = false;
    // Keys: held exactly on their frames.
    std::map<platform::Key, bool> held;
    int driverFrame = -1;
    bool driverDone = false;
    std::vector<std::string> driverHold;
    sys->onPump = [&] {
        int frame = frameNow();
        std::map<platform::Key, bool> want;
        for (const auto& k : options.keys) {
            platform::Key key;
            KeyOf(k.name, key);
            if (frame >= k.firstFrame && frame <= k.lastFrame) want[key] = true;
            else want.emplace(key, false);
        }
        if (options.driver) {
            // Once a frame, however often the events are pumped in it.
            if (frame != driverFrame) {
                driverFrame = frame;
                driverHold.clear();
                if (!options.driver(frame, haveLast ? &last : nullptr, driverHold)) driverDone = true;
            }
            for (const std::string& name : driverHold) {
                platform::Key key;
                if (KeyOf(name, key)) want[key] = true;
            }
        }
        // A key the driver let go of is released.
        for (auto& [key, down] : held) want.emplace(key, false);
        for (auto [key, down] : want)
            if (held[key] != down) {
                held[key] = down;
                if (down) sys->PressKey(key); else sys->ReleaseKey(key);
            }
        if (!result.titleMicros && TitleScene && TitleScene->Started() && GameSystem->scene == 6 &&
            TitleScene->Window().IsOpen())
            result.titleMicros = sys->NowMicros() - start;
        if (frame >= options.frames || driverDone) sys->RequestQuit();
    };
    std::vector<int> pending = options.pngFrames;
    std::sort(pending.begin(), pending.end());
    auto flushPngs = [&](int upTo) {
        while (!pending.empty() && pending.front() <= upTo) {
            if (haveLast && !options.pngFolder.empty()) {
                char name[32];
                std::snprintf(name, sizeof name, "frame_%04d.png", pending.front());
                std::string path = (std::filesystem::path(options.pngFolder) / name).string();
                std::string error;
                if (WriteFramePng(last, path, &error))
                    result.pngFiles.push_back(path);
                else
                    result.pngErrors.push_back(error);
            }
            pending.erase(pending.begin());
        }
    };
    sys->display().onPresent = [&](const platform::CapturedFrame& f) {
        int frame = frameNow();
        if (!result.firstPresentMicros) result.firstPresentMicros = std::max<uint64_t>(1, sys->NowMicros() - start);
        // Pictures of earlier frames are final once a later frame presents.
        flushPngs(frame - 1);
        last = f;
        haveLast = true;
    };

    OnBeforeTeardown = [&] {
        flushPngs(options.frames);
        if (options.inspect) options.inspect();
        ReadState(result);
        if (GameSaveData && options.saveSlot > 0)
            result.saved = GameSaveData->Save(options.saveSlot, &result.saveError);
        std::string summary = Summary(result, options.seed);
        if (options.saveSlot > 0)
            summary += "saved slot " + std::to_string(options.saveSlot) +
                       (result.saved ? "" : " FAILED: " + result.saveError) + "\n";
        result.summary = summary;
    };

    std::string folder = WithTrailingBackslash(options.gameFolder);
    std::vector<std::string> args{folder + "varnow"};
    args.insert(args.end(), options.words.begin(), options.words.end());
    StartupRandomSeed = options.seed;
    static const double kStartDay = DaysSince1899(2000, 1, 1, 0, 0, 0);
    SetSaveClock([sys, start] { return kStartDay + double(sys->NowMicros() - start) / 86'400'000'000.0; });
    if (!options.settingsFile.empty()) platform::UseSettingsFile(options.settingsFile);
    result.exitCode = VarnowMain(args, folder);
    platform::UseSettingsFile("");
    SetSaveClock(nullptr);
    StartupRandomSeed.reset();
    OnBeforeTeardown = nullptr;
    for (int frame : pending)
        result.pngErrors.push_back("frame " + std::to_string(frame) + " was not shown: no PNG written");
    result.presentCount = int(sys->display().presentCount);
    result.messageBoxes = sys->messageBoxes;
    platform::SetPlatform(nullptr);
    return result;
}
