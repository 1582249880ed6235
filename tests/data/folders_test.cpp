// Folders and asset lookup: the order in which the game folder and the KVT
// folder are searched, the KVT setting and its write-back, the full-package
// flag, and the game-folder rule.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/asset_lookup.h"
#include "data/errors.h"
#include "data/folders.h"
#include "platform/code_page.h"
#include "platform/settings.h"
#include "support/env_guard.h"
#include "support/test_paths.h"

using testing_support::TempDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

namespace {

// A game folder and a KVT folder under a temporary home whose settings file
// names the KVT folder.
class AssetLookup : public ::testing::Test {
protected:
    void SetUp() override {
        SetGameFolder((root_ / "game").string(), "varnow");
        fs::create_directories(root_ / "game");
        fs::create_directories(root_ / "kvt");
        platform::WriteSetting(kRegistryKey, kRuntimePackagePathValue, (root_ / "kvt").string());
    }
    void TearDown() override { SetGameFolder("", "varnow"); }
    fs::path Game(const std::string& rel) { return root_ / "game" / rel; }
    fs::path Kvt(const std::string& rel) { return root_ / "kvt" / rel; }

    TempDir root_;
    EnvGuard home_{"HOME", root_.path().string()};
    EnvGuard config_{"XDG_CONFIG_HOME", std::nullopt};
};

}  // namespace

TEST_F(AssetLookup, WholeGameFolderBeforeTheKvtFolder) {
    WriteFile(Game("CharSet/Hero.png"), "png");
    WriteFile(Kvt("CharSet/Hero.bmp"), "bmp");
    EXPECT_EQ(FindAssetFile("Hero", "CharSet", kImageExtensions), Game("CharSet/Hero.png").string());
    // Within one folder the list's order decides: bmp before png.
    WriteFile(Game("CharSet/Hero.bmp"), "bmp");
    EXPECT_EQ(FindAssetFile("Hero", "CharSet", kImageExtensions), Game("CharSet/Hero.bmp").string());
    // Only in the KVT folder, as the last extension of the list.
    WriteFile(Kvt("Music/Theme.mp3"), "mp3");
    EXPECT_EQ(FindAssetFile("Theme", "Music", kMusicExtensions), Kvt("Music/Theme.mp3").string());
}

TEST_F(AssetLookup, NameInAnotherCaseIsFound) {
    WriteFile(Game("system/skin.png"), "png");
    WriteFile(Kvt("sound/CURSOR1.WAV"), "wav");
    EXPECT_EQ(FindAssetFile("Skin", "System", kImageExtensions), Game("system/skin.png").string());
    EXPECT_EQ(FindAssetFile("Cursor1", "Sound", kSoundExtensions), Kvt("sound/CURSOR1.WAV").string());
}

TEST_F(AssetLookup, EmptyNameMissAndEscapesAreDistinct) {
    EXPECT_EQ(FindAssetFile("", "CharSet", kImageExtensions), std::string());
    EXPECT_EQ(FindAssetFile("Nobody", "CharSet", kImageExtensions), std::nullopt);
    WriteFile(root_ / "outside.png", "png");
    WriteFile(Game("Picture/x.png"), "png");
    EXPECT_EQ(FindAssetFile("..\\..\\outside", "Picture", kImageExtensions), std::nullopt);
    EXPECT_EQ(FindAssetFile((root_ / "outside").string(), "Picture", kImageExtensions), std::nullopt);
    testing::internal::CaptureStderr();
    try {
        RequireAssetFile("Nobody", "CharSet", kImageExtensions);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"CharSet\\Nobody\".");
    }
    // Stderr names the folders searched and the extensions tried.
    const std::string note = testing::internal::GetCapturedStderr();
    EXPECT_NE(note.find(".bmp, .png, .xyz"), std::string::npos) << note;
    EXPECT_NE(note.find(Game("CharSet/").string()), std::string::npos) << note;
    EXPECT_NE(note.find(Kvt("CharSet/").string()), std::string::npos) << note;
}

TEST_F(AssetLookup, NoKvtFolderSearchesNothingRelative) {
    platform::WriteSetting(kRegistryKey, kRuntimePackagePathValue, "");
    // A file of that name in the current folder must not be taken.
    TempDir cwd;
    WriteFile(cwd / "Picture/x.png", "png");
    auto old = fs::current_path();
    fs::current_path(cwd.path());
    EXPECT_EQ(FindAssetFile("x", "Picture", kImageExtensions), std::nullopt);
    fs::current_path(old);
}

TEST_F(AssetLookup, KvtFolderInTheGameFolderIsWrittenBack) {
    platform::WriteSetting(kRegistryKey, kRuntimePackagePathValue, "");
    EXPECT_EQ(GetRuntimePackagePath(), "");
    fs::create_directories(Game("kvt"));
    EXPECT_EQ(GetRuntimePackagePath(), Game("kvt").string() + "/");
    EXPECT_EQ(platform::ReadSetting(kRegistryKey, kRuntimePackagePathValue), Game("kvt").string());
    // A value already set is kept, and answered with a trailing delimiter.
    fs::create_directories(root_ / "elsewhere/KVT");
    platform::WriteSetting(kRegistryKey, kRuntimePackagePathValue, (root_ / "elsewhere/KVT").string());
    EXPECT_EQ(GetRuntimePackagePath(), (root_ / "elsewhere/KVT/").string());
    // Once that folder is gone, the game's own KVT takes its place.
    fs::remove_all(root_ / "elsewhere");
    EXPECT_EQ(GetRuntimePackagePath(), Game("kvt").string() + "/");
    EXPECT_EQ(platform::ReadSetting(kRegistryKey, kRuntimePackagePathValue), Game("kvt").string());
    // A game folder given relative to the current folder is stored absolute.
    platform::WriteSetting(kRegistryKey, kRuntimePackagePathValue, "/gone/KVT");
    auto old = fs::current_path();
    fs::current_path(Game(""));
    SetGameFolder(".", "varnow");
    EXPECT_EQ(GetRuntimePackagePath(), Game("kvt").string() + "/");
    fs::current_path(old);
    EXPECT_EQ(platform::ReadSetting(kRegistryKey, kRuntimePackagePathValue), Game("kvt").string());
}

TEST_F(AssetLookup, FullPackageFlagIsANumber) {
    EXPECT_FALSE(ReadFullPackageFlag());
    WriteFile(Game("VARNOW.INI"), "[Varnow]\nFullPackageFlag=1\n");
    EXPECT_TRUE(ReadFullPackageFlag());
    WriteFile(Game("VARNOW.INI"), "[Varnow]\nFullPackageFlag=true\n");
    EXPECT_FALSE(ReadFullPackageFlag());
    WriteFile(Game("VARNOW.INI"), "[VARNOW]\nfullpackageflag = -2\n");
    EXPECT_TRUE(ReadFullPackageFlag());
}

TEST(Folders, GameFolderRule) {
    TempDir root;
    WriteFile(root / "game/varnow.LDB", "x");
    WriteFile(root / "game/varnow", "#!/bin/sh\n");
    fs::create_directories(root / "bin");
    std::string cwd = (root / "bin").string();
    // The program's folder when it holds the database...
    EXPECT_EQ(ChooseGameFolder((root / "game/varnow").string(), cwd), (root / "game").string() + "/");
    EXPECT_EQ(ChooseGameFolder("../game/varnow", cwd), cwd + "/../game/");
    // ...else the current folder.
    WriteFile(root / "bin/varnow", "#!/bin/sh\n");
    EXPECT_EQ(ChooseGameFolder((root / "bin/varnow").string(), (root / "game").string()),
              (root / "game").string() + "/");
    SetGameFolder((root / "game").string() + "/", "/usr/bin/MyGame");
    EXPECT_EQ(GameFolderName, "game");
    EXPECT_EQ(GetExeFolder(), (root / "game").string() + "/");
    EXPECT_EQ(GameIniName(), "MyGame.ini");
    SetGameFolder("", "varnow.bin");
    EXPECT_EQ(GameIniName(), "varnow.ini");
}

TEST(Folders, SmallHelpers) {
    EnvGuard cp("VARNOW_CODEPAGE", "932");
    platform::ReloadCodePage();
    EXPECT_EQ(WithTrailingBackslash("/a/b"), "/a/b/");
    EXPECT_EQ(WithTrailingBackslash("/a/b/"), "/a/b/");
    EXPECT_EQ(WithTrailingBackslash("KVT\\"), "KVT\\");
    // The trail byte of a double-byte character is no delimiter.
    EXPECT_EQ(WithTrailingBackslash("/g/\x95\x5C"), "/g/\x95\x5C/");
    TempDir dir;
    WriteFile(dir / "a.avi", "RIFF\x10\0\0\0AVI ");
    WriteFile(dir / "b.mpg", "RIF");
    EXPECT_TRUE(IsRiffFile((dir / "a.avi").string()));
    EXPECT_FALSE(IsRiffFile((dir / "b.mpg").string()));
    EXPECT_FALSE(IsRiffFile((dir / "c.avi").string()));
    EnvGuard t("TMPDIR", "/var/tmp");
    EXPECT_EQ(GetTempFolder(), "/var/tmp/");
}

TEST(Folders, KvtFolderWorksWhenTheSettingsCannotBeWritten) {
    TempDir root;
    WriteFile(root / "file", "x");
    EnvGuard config("XDG_CONFIG_HOME", (root / "file").string());  // not a folder
    fs::create_directories(root / "game/KVT/CharSet");
    WriteFile(root / "game/KVT/CharSet/Hero.png", "png");
    SetGameFolder((root / "game").string(), "varnow");
    EXPECT_EQ(GetRuntimePackagePath(), (root / "game/KVT").string() + "/");
    EXPECT_EQ(FindAssetFile("Hero", "CharSet", kImageExtensions), (root / "game/KVT/CharSet/Hero.png").string());
    SetGameFolder("", "varnow");
}
