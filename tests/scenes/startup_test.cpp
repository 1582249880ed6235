// Start-up on the headless platform: the KVT check, the missing map tree,
// the caption from the ini named after the program, the frame pace and the
// clean close.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/folders.h"
#include "platform/headless/headless_platform.h"
#include "platform/settings.h"
#include "scenes/startup.h"
#include "support/demo_game.h"
#include "support/env_guard.h"
#include "support/read_file.h"
#include "support/test_paths.h"

using testing_support::TempDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        auto p = std::make_unique<platform::HeadlessPlatform>();
        sys_ = p.get();
        platform::SetPlatform(std::move(p));
    }
    void TearDown() override {
        platform::SetPlatform(nullptr);
        SetGameFolder("", "varnow");
    }
    // Runs varnow as if started as `program` from the current folder `cwd`.
    int Run(const fs::path& program, const fs::path& cwd, std::vector<std::string> words = {}) {
        std::vector<std::string> args{program.string()};
        args.insert(args.end(), words.begin(), words.end());
        return VarnowMain(args, cwd.string());
    }

    TempDir root_;
    EnvGuard home_{"HOME", root_.path().string()};
    EnvGuard config_{"XDG_CONFIG_HOME", std::nullopt};
    platform::HeadlessPlatform* sys_ = nullptr;
};

}  // namespace

TEST_F(Startup, GameWithoutKvtShowsTheRuntimePackageMessageAndWhereItLooked) {
    WriteFile(root_ / "game/Varnow.ldb", "x");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run("/usr/games/varnow", root_ / "game"), 1);
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(sys_->messageBoxes.size(), 1u);
    EXPECT_EQ(sys_->messageBoxes[0].caption, "Zembra");
    EXPECT_EQ(sys_->messageBoxes[0].text, "The Zembra Runtime Package is not present or not registered.");
    EXPECT_EQ(sys_->display().ModeChanges(), 0);  // no window was opened
    EXPECT_NE(err.find(platform::SettingsFilePath() + " names none"), std::string::npos) << err;
    EXPECT_NE(err.find("the game folder " + (root_ / "game/").string() + " holds no KVT folder"), std::string::npos)
        << err;
    // A remembered folder that is gone is named as such.
    platform::WriteSetting(kRegistryKey, kRuntimePackagePathValue, (root_ / "gone/KVT").string());
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run("/usr/games/varnow", root_ / "game"), 1);
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("names " + (root_ / "gone/KVT").string() + ", which does not exist"), std::string::npos) << err;
}

TEST_F(Startup, FolderWithoutAGameSaysSoAndHowAGameIsStarted) {
    fs::create_directories(root_ / "empty/KVT");
    for (const std::vector<std::string>& words : {std::vector<std::string>{}, {"/some/game"}}) {
        sys_->messageBoxes.clear();
        testing::internal::CaptureStderr();
        EXPECT_EQ(Run("/usr/games/varnow", root_ / "empty", words), 1);
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(sys_->messageBoxes.size(), 1u);
        EXPECT_TRUE(sys_->messageBoxes[0].isError);
        EXPECT_EQ(sys_->messageBoxes[0].text, "No game was found in the folder " + (root_ / "empty/").string() +
                                                  ": it holds no Varnow.ldb. To play a game, start varnow from "
                                                  "inside the game's folder (cd GAME && varnow).");
        EXPECT_EQ(sys_->display().ModeChanges(), 0);
        // A folder given as a word is no word of ours.
        EXPECT_EQ(err.find("\"/some/game\" is no word varnow knows, and it takes no folder name") != std::string::npos, !words.empty()) << err;
    }
}

TEST_F(Startup, HelpPrintsTheUsageAndOtherOptionsAreRefused) {
    fs::create_directories(root_ / "empty");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Run("/usr/games/varnow", root_ / "empty", {"--help"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("Usage: varnow [TestPlay | BattleTest]", 0), 0u);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run("/usr/games/varnow", root_ / "empty", {"TestPlay", "--version"}), 2);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("varnow: unknown option \"--version\"\nUsage: varnow", 0), 0u) << err;
    EXPECT_TRUE(sys_->messageBoxes.empty());
}

TEST_F(Startup, MissingMapTreeIsAFatalErrorNamingTheFile) {
    fs::create_directories(root_ / "game/KVT");
    WriteFile(root_ / "game/Varnow.ldb", "x");
    EXPECT_NE(Run(root_ / "game/varnow", root_ / "elsewhere", {"", "", "Window"}), 0);
    ASSERT_EQ(sys_->messageBoxes.size(), 1u);
    EXPECT_TRUE(sys_->messageBoxes[0].isError);
    EXPECT_EQ(sys_->messageBoxes[0].caption, "Untitled");
    EXPECT_NE(sys_->messageBoxes[0].text.find((root_ / "game/Varnow.lmt").string()), std::string::npos);
    // The KVT folder found in the game folder was remembered.
    EXPECT_EQ(platform::ReadSetting(kRegistryKey, kRuntimePackagePathValue), (root_ / "game/KVT").string());
}

TEST_F(Startup, FatalErrorLeavesFullScreenFirst) {
    WriteFile(root_ / "game/varnow.ini", "[Varnow]\nFullPackageFlag=1\n");
    WriteFile(root_ / "game/Varnow.ldb", "x");
    EXPECT_NE(Run("/usr/games/varnow", root_ / "game"), 0);  // full screen: no "Window" word
    ASSERT_EQ(sys_->messageBoxes.size(), 1u);
    EXPECT_FALSE(sys_->display().IsFullScreen());
}

TEST_F(Startup, RunsAtSixtyFramesWithTheIniCaptionAndClosesCleanly) {
    if (!e2e::WriteDemoGame(root_ / "game")) GTEST_SKIP() << "mkdemo was not built";
    // Shift-JIS title in the ini named after the program file.
    WriteFile(root_ / "game/Varnow.ini", "[Varnow]\nFullPackageFlag=1\nGameTitle=\x83\x65\x83\x58\x83\x67 Quest\n");
    uint64_t start = sys_->NowMicros();
    sys_->RequestQuit(start + 2'000'000);
    EXPECT_EQ(Run(root_ / "game/varnow", root_.path(), {"TestPlay", "HideTitle", "Window"}), 0);
    EXPECT_TRUE(sys_->messageBoxes.empty());
    EXPECT_EQ(sys_->display().Caption(), "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 Quest");
    EXPECT_FALSE(sys_->display().IsFullScreen());
    EXPECT_EQ(sys_->display().LogicalWidth(), 640);  // zoomed
    EXPECT_TRUE(TestPlayMode);
    EXPECT_FALSE(ShowLogo);
    EXPECT_FALSE(ShowTitle);
    // Two seconds at 60 frames a second: the reset's 20 black frames are
    // waited without flips, every later frame is shown.
    EXPECT_NEAR(double(sys_->display().presentCount), 104.0, 4.0);
    EXPECT_EQ(GameFolderName, "game");
}

TEST_F(Startup, CommandLineWordsAreCaseSensitive) {
    ReadCommandLine({"varnow", "testplay", "hidetitle"});
    EXPECT_FALSE(TestPlayMode);
    EXPECT_TRUE(ShowLogo);
    EXPECT_TRUE(ShowTitle);
    ReadCommandLine({"varnow", "BattleTest"});
    EXPECT_TRUE(BattleTestMode);
    EXPECT_TRUE(TestPlayMode);
}

// Damaged or missing game files: the box keeps the program's text, stderr
// names the file (and for a header of another kind, says so).
TEST_F(Startup, DamagedOrMissingFilesAreNamedOnStderr) {
    if (!e2e::WriteDemoGame(root_ / "game")) GTEST_SKIP() << "mkdemo was not built";
    const fs::path game = root_ / "game";
    auto run = [&](std::string& box) {
        sys_->messageBoxes.clear();
        testing::internal::CaptureStderr();
        EXPECT_EQ(Run(game / "varnow", root_.path(), {"TestPlay", "HideTitle", "Window"}), 1);
        std::string err = testing::internal::GetCapturedStderr();
        box = sys_->messageBoxes.empty() ? std::string() : sys_->messageBoxes[0].text;
        return err;
    };
    std::string box;
    // A map tree of random bytes.
    const std::string tree = testing_support::ReadFile(game / "Varnow.lmt");
    WriteFile(game / "Varnow.lmt", std::string("\x07\x93garbage\x11\x42", 11));
    std::string err = run(box);
    EXPECT_EQ(box, "Event script referenced a \"shigunichi\" that does not exist.");
    EXPECT_NE(err.find("varnow: " + (game / "Varnow.lmt").string() +
                       " is not a map tree: it does not start with the header \"LcfMapTree\""),
              std::string::npos)
        << err;
    WriteFile(game / "Varnow.lmt", tree);
    // A database cut short.
    const std::string database = testing_support::ReadFile(game / "Varnow.ldb");
    WriteFile(game / "Varnow.ldb", database.substr(0, database.size() / 2));
    err = run(box);
    EXPECT_EQ(box, "Read error: the data ends early or is damaged.");
    EXPECT_NE(err.find("varnow: " + (game / "Varnow.ldb").string() + ": Read error"), std::string::npos) << err;
    WriteFile(game / "Varnow.ldb", database);
    // An image that is none.
    WriteFile(game / "System/Lantern.png", "no image at all");
    err = run(box);
    EXPECT_EQ(box, "Invalid bitmap.");
    EXPECT_NE(err.find("varnow: " + (game / "System/Lantern.png").string() +
                       " is not an image: it starts with none of the headers of BMP, PNG or XYZ"),
              std::string::npos)
        << err;
    // No image at all: where it was looked for.
    fs::remove(game / "System/Lantern.png");
    err = run(box);
    EXPECT_EQ(box, "Cannot open file \"System\\Lantern\".");
    EXPECT_NE(err.find("varnow: no file for \"System\\Lantern\" (.bmp, .png, .xyz, any case) in the game folder " +
                       (game / "System/").string()),
              std::string::npos)
        << err;
}

// The game's own failure to start: the message and exit status, and (under
// the leak checker) nothing the half-made game state made is left behind.
TEST_F(Startup, MissingSecondSystemImageIsAFatalErrorThatFreesWhatStartUpMade) {
    if (!e2e::WriteDemoGame(root_ / "game")) GTEST_SKIP() << "mkdemo was not built";
    fs::remove_all(root_ / "game/System2");
    EXPECT_EQ(Run(root_ / "game/varnow", root_.path(), {"TestPlay", "HideTitle", "Window"}), 1);
    ASSERT_EQ(sys_->messageBoxes.size(), 1u);
    EXPECT_TRUE(sys_->messageBoxes[0].isError);
    EXPECT_NE(sys_->messageBoxes[0].text.find("Gauges"), std::string::npos) << sys_->messageBoxes[0].text;
}
