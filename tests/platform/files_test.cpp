// The platform's file services: the case-insensitive resolver, ini files,
// the settings file, the user's folders, the code page and atomic writes.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_io.h"
#include "platform/file_names.h"
#include "platform/ini_file.h"
#include "platform/program_path.h"
#include "platform/settings.h"
#include "platform/user_folders.h"
#include "support/env_guard.h"
#include "support/read_file.h"
#include "support/test_paths.h"

using namespace platform;
using testing_support::TempDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

TEST(FileNames, FindsNamesWithoutRegardToCaseThroughBackslashes) {
    TempDir dir;
    WriteFile(dir / "system/skin.png", "x");
    WriteFile(dir / "Varnow.LDB", "x");
    std::string root = dir.path().string();
    auto found = ResolveGameName(root, "System\\Skin.png");
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, (dir / "system/skin.png").string());
    EXPECT_TRUE(ResolveGameName(root, "varnow.ldb"));
    EXPECT_TRUE(ResolveGameName(root + "/", "SYSTEM/SKIN.PNG"));
    EXPECT_TRUE(ResolveGameName(root, "System", FileKind::Folder));
    EXPECT_FALSE(ResolveGameName(root, "System", FileKind::File));
    EXPECT_FALSE(ResolveGameName(root, "System\\Skin.bmp"));

    // Every letter of the code page, not only ASCII: upper case finds lower
    // and the reverse, on disk in UTF-8 or in the code page's own bytes.
    auto inCodePage = [&](const char* codePage, const std::string& upper, const std::string& lower) {
        SCOPED_TRACE(codePage);
        EnvGuard cp("VARNOW_CODEPAGE", codePage);
        ReloadCodePage();
        const fs::path folder = dir / codePage;
        WriteFile(folder / (ToUtf8(lower) + ".mid"), "x");
        WriteFile(folder / (ToUtf8(upper) + "2.mid"), "x");
        WriteFile(folder / (lower + "3.mid"), "x");
        const std::string base = folder.string();
        EXPECT_EQ(ResolveGameName(base, upper + ".mid"), (folder / (ToUtf8(lower) + ".mid")).string());
        EXPECT_EQ(ResolveGameName(base, lower + "2.MID"), (folder / (ToUtf8(upper) + "2.mid")).string());
        EXPECT_EQ(ResolveGameName(base, upper + "3.mid"), (folder / (lower + "3.mid")).string());
        EXPECT_TRUE(SameGameName(upper, lower));
    };
    inCodePage("1252", "\xC9LAN \x8A\x9F", "\xE9lan \x9A\xFF");  // "ÉLAN ŠŸ", "élan šÿ"
    inCodePage("1251", "\xC3\xE5\xF0\xEE\xE9 \xA5", "\xE3\xE5\xF0\xEE\xE9 \xB4");  // "Герой Ґ", "герой ґ"
    inCodePage("1253", "\xC1\xED\xE1 \xA2", "\xE1\xED\xE1 \xDC");  // "Ανα Ά", "ανα ά"
    inCodePage("932", "\x82\x60\x83\x9F", "\x82\x81\x83\xBF");  // full-width "ＡΑ", "ａα"
}

TEST(FileNames, RefusesNamesThatLeaveTheFolder) {
    TempDir dir;
    WriteFile(dir / "game/Picture/a.png", "x");
    WriteFile(dir / "secret.png", "x");
    std::string game = (dir / "game").string();
    EXPECT_TRUE(ResolveGameName(game, "Picture\\a.png"));
    EXPECT_TRUE(ResolveGameName(game, ".\\Picture\\.\\a.png"));
    EXPECT_FALSE(ResolveGameName(game, "..\\secret.png"));
    EXPECT_FALSE(ResolveGameName(game, "Picture\\..\\..\\secret.png"));
    EXPECT_FALSE(ResolveGameName(game, "Picture/../../secret.png"));
    EXPECT_FALSE(ResolveGameName(game, (dir / "secret.png").string()));
    EXPECT_FALSE(ResolveGameName(game, "\\secret.png"));
    EXPECT_FALSE(ResolveGameName(game, "C:\\secret.png"));
    EXPECT_FALSE(ResolveGameName(game, std::string("Picture\\a.png\0x", 15)));
    EXPECT_FALSE(ResolveGameName(game, ""));
    EXPECT_FALSE(ResolveGameName("", "Picture\\a.png"));  // never the current folder
    std::vector<std::string> parts;
    EXPECT_FALSE(SplitGameName("..", parts));
}

TEST(FileNames, TrailByteBackslashIsNoSeparator) {
    EnvGuard cp("VARNOW_CODEPAGE", "932");
    ReloadCodePage();
    // 0x95 0x5C is one Shift-JIS character whose second byte is '\'.
    std::string name = "Picture\\\x95\x5C" "a";
    std::vector<std::string> parts;
    ASSERT_TRUE(SplitGameName(name, parts));
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[1], "\x95\x5C" "a");
    // On disk the name is UTF-8; the game names it in Shift-JIS.
    TempDir dir;
    std::string utf8 = ToUtf8("\x95\x5C" "A.png");
    WriteFile(dir / "picture" / utf8, "x");
    auto found = ResolveGameName(dir.path().string(), "Picture\\\x95\x5C" "a.PNG");
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, (dir / "picture" / utf8).string());
    // A double-byte character is folded whole, never by its trail byte:
    // 0x82 0x60 and 0x82 0x80 differ, and so do 0x83 0x41 and 0x83 0x61.
    EXPECT_FALSE(SameGameName("\x82\x60", "\x82\x80"));
    EXPECT_FALSE(SameGameName("\x83\x41", "\x83\x61"));
    EXPECT_TRUE(SameGameName("AbC\x82\x60", "aBc\x82\x60"));
}

TEST(FileNames, FileWrittenDuringTheRunIsNeverHidden) {
    TempDir dir;
    WriteFile(dir / "a.txt", "x");
    std::string root = dir.path().string();
    // Fill the cache with the folder's listing, then add files behind its back.
    EXPECT_FALSE(ResolveGameName(root, "SAVE01.LSD"));
    WriteFile(dir / "save01.lsd", "x");
    EXPECT_TRUE(ResolveGameName(root, "Save01.lsd"));
    std::string data = "save";
    ASSERT_TRUE(WriteFileAtomic((dir / "save02.lsd").string(), data.data(), data.size()));
    EXPECT_TRUE(ResolveGameName(root, "SAVE02.LSD"));
    // Writing goes to the existing name in any case, else a new one.
    EXPECT_EQ(*GameNameForWriting(root, "Save01.lsd"), (dir / "save01.lsd").string());
    EXPECT_EQ(*GameNameForWriting(root, "Save03.lsd"), (dir / "Save03.lsd").string());
    EXPECT_FALSE(GameNameForWriting(root, "NoFolder\\Save03.lsd"));
}

TEST(IniFile, SectionsAndKeysIgnoreCaseAndValuesAreTrimmed) {
    IniFile ini(
        "; a comment\r\n"
        "[varnow]\r\n"
        "  GameTitle =  My Game  \r\n"
        "FullPackageFlag=1\n"
        "Quoted=\"  spaced  \"\n"
        "gametitle=second\n"
        "[Other]\n"
        "GameTitle=other\n"
        "[VARNOW]\n"
        "Late=yes\n"
        "Hex=$1F\n"
        "Neg=-7\n"
        "Word=true\n"
        "Big=99999999999\n");
    EXPECT_EQ(ini.ReadString("Varnow", "GAMETITLE", "Untitled"), "My Game");
    EXPECT_EQ(ini.ReadString("Varnow", "Quoted", ""), "  spaced  ");
    EXPECT_EQ(ini.ReadString("Varnow", "Late", ""), "yes");
    EXPECT_EQ(ini.ReadString("Varnow", "Missing", "Untitled"), "Untitled");
    EXPECT_EQ(ini.ReadString("Nowhere", "GameTitle", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("Varnow", "FullPackageFlag", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Varnow", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Varnow", "Neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("Varnow", "Word", 0), 0);
    EXPECT_EQ(ini.ReadInteger("Varnow", "Big", 5), 5);
    EXPECT_EQ(IniFile::Load("/nonexistent/varnow.ini").ReadString("Varnow", "GameTitle", "Untitled"), "Untitled");
}

TEST(Settings, WrittenUnderTheConfigFolderAndReadBack) {
    TempDir home;
    EnvGuard h("HOME", home.path().string());
    EnvGuard x("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(ReadSetting("Software\\Korvella\\Zembra", "RuntimePackagePath"), "");
    ASSERT_TRUE(WriteSetting("Software\\Korvella\\Zembra", "RuntimePackagePath", "/games/KVT/"));
    EXPECT_EQ(SettingsFilePath(), (home / ".config/varnow/settings.ini").string());
    EXPECT_EQ(ReadSetting("software\\korvella\\zembra", "runtimepackagepath"), "/games/KVT/");
    EXPECT_NE(testing_support::ReadFile(home / ".config/varnow/settings.ini").find("RuntimePackagePath=/games/KVT/"),
              std::string::npos);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteSetting("Software\\Korvella\\Zembra", "RuntimePackagePath", "a\nb"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("RuntimePackagePath was not stored in " + SettingsFilePath() +
                                                          ": it holds a line break"),
              std::string::npos);

    TempDir config;
    EnvGuard x2("XDG_CONFIG_HOME", config.path().string());
    EXPECT_EQ(ReadSetting("Software\\Korvella\\Zembra", "RuntimePackagePath"), "");
    ASSERT_TRUE(WriteSetting("Software\\Korvella\\Zembra", "RuntimePackagePath", "/k/"));
    EXPECT_TRUE(fs::exists(config / "varnow/settings.ini"));

    // A file of its own (the runner's): the user's is neither read nor
    // written until the store returns to it.
    UseSettingsFile((home / "run/own.ini").string());
    EXPECT_EQ(ReadSetting("Software\\Korvella\\Zembra", "RuntimePackagePath"), "");
    ASSERT_TRUE(WriteSetting("Software\\Korvella\\Zembra", "RuntimePackagePath", "/own/"));
    UseSettingsFile("");
    EXPECT_NE(testing_support::ReadFile(home / "run/own.ini").find("RuntimePackagePath=/own/"), std::string::npos);
    EXPECT_EQ(ReadSetting("Software\\Korvella\\Zembra", "RuntimePackagePath"), "/k/");
}

TEST(Settings, UnwritableConfigIsNotFatal) {
    TempDir home;
    WriteFile(home / "file", "x");
    // The config "folder" is a file: nothing can be created beneath it.
    EnvGuard x("XDG_CONFIG_HOME", (home / "file").string());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteSetting("Software\\Korvella\\Zembra", "RuntimePackagePath", "/k/"));
    // Not fatal, but said: which folder could not be made.
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot create the settings folder " + (home / "file").string()),
              std::string::npos);
    EXPECT_EQ(ReadSetting("Software\\Korvella\\Zembra", "RuntimePackagePath"), "");
}

TEST(UserFolders, DocumentsFollowUserDirsThenFallBack) {
    TempDir home;
    EnvGuard h("HOME", home.path().string());
    EnvGuard x("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(DocumentsFolder(), home.path().string());
    fs::create_directories(home / "Desktop");
    EXPECT_EQ(DocumentsFolder(), (home / "Desktop").string());
    fs::create_directories(home / "Documents");
    EXPECT_EQ(DocumentsFolder(), (home / "Documents").string());
    fs::create_directories(home / "Dokumente");
    WriteFile(home / ".config/user-dirs.dirs",
              "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
              "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(DocumentsFolder(), (home / "Dokumente").string());
    // Set to the home folder itself: switched off.
    WriteFile(home / ".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n");
    EXPECT_EQ(DocumentsFolder(), (home / "Documents").string());
}

TEST(UserFolders, TempFromTmpdir) {
    {
        EnvGuard t("TMPDIR", "/var/tmp/x/");
        EXPECT_EQ(TempFolder(), "/var/tmp/x");
    }
    EnvGuard t("TMPDIR", std::nullopt);
    EXPECT_EQ(TempFolder(), "/tmp");
}

TEST(CodePage, LeadBytesAndConversion) {
    {
        EnvGuard cp("VARNOW_CODEPAGE", std::nullopt);
        ReloadCodePage();
        EXPECT_EQ(CodePage(), 932);
        EXPECT_TRUE(IsLeadByte(0x81));
        EXPECT_TRUE(IsLeadByte(0xE0));
        EXPECT_FALSE(IsLeadByte(0xA0));  // half-width katakana
        EXPECT_FALSE(IsLeadByte('A'));
        EXPECT_EQ(ToUtf8("\x83\x65\x83\x58\x83\x67"), "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");  // "test" in katakana
        EXPECT_EQ(ToUtf8("ab\x83"), "ab\xEF\xBF\xBD");  // cut off
        EXPECT_EQ(MessageToUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
        EXPECT_EQ(MessageToUtf8("\x83\x65"), "\xE3\x83\x86");
    }
    {
        EnvGuard cp("VARNOW_CODEPAGE", "1252");
        ReloadCodePage();
        EXPECT_FALSE(IsLeadByte(0x81));
        EXPECT_EQ(ToUtf8("caf\xE9"), "caf\xC3\xA9");
    }
    // The usual names and spellings, in any case.
    for (auto [text, number] : std::vector<std::pair<const char*, int>>{
             {"utf-8", 65001}, {"UTF8", 65001}, {"Shift_JIS", 932}, {"gbk", 936}, {"big5", 950}, {"euc-kr", 949},
             {"cp1251", 1251}, {"windows-1252", 1252}, {"CP1252", 1252}, {"874", 874}}) {
        EnvGuard cp("VARNOW_CODEPAGE", text);
        testing::internal::CaptureStderr();
        ReloadCodePage();
        EXPECT_EQ(CodePage(), number) << text;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << text;
    }
    // Anything else, a number iconv cannot convert included, is 932 with a
    // warning: the game's text is still read, not turned into "?".
    for (const char* text : {"nonsense", "12345", "99999", "-5", "cp"}) {
        EnvGuard cp("VARNOW_CODEPAGE", text);
        testing::internal::CaptureStderr();
        ReloadCodePage();
        EXPECT_EQ(CodePage(), 932) << text;
        const std::string warning = testing::internal::GetCapturedStderr();
        EXPECT_NE(warning.find(std::string("VARNOW_CODEPAGE=\"") + text + "\""), std::string::npos) << warning;
        EXPECT_NE(warning.find("using 932"), std::string::npos) << warning;
    }
    {
        // A pair the converter refuses after taking both bytes.
        EnvGuard cp("VARNOW_CODEPAGE", "949");
        ReloadCodePage();
        EXPECT_EQ(ToUtf8("a\xA2\xE8z"), "a\xEF\xBF\xBDz");
        EXPECT_EQ(ToUtf8("\xA2\xE8\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    }
    ReloadCodePage();
}

TEST(FileIo, AtomicWriteReplacesWholeAndLeavesNoTemporaries) {
    TempDir dir;
    std::string path = (dir / "Save01.lsd").string();
    std::string first(100000, 'a'), second = "short";
    ASSERT_TRUE(WriteFileAtomic(path, first.data(), first.size()));
    ASSERT_TRUE(WriteFileAtomic(path, second.data(), second.size()));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "short");
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    // A folder that is not there: failure, with a reason, and no exception.
    std::string error;
    EXPECT_FALSE(WriteFileAtomic((dir / "missing/x").string(), "x", 1, &error));
    // It names the file asked for, not the temporary one beside it.
    EXPECT_EQ(error, "Cannot create \"" + (dir / "missing/x").string() + "\": No such file or directory");
    EXPECT_FALSE(ReadWholeFile((dir / "missing/x").string(), bytes, &error));
    EXPECT_FALSE(ReadWholeFile(dir.path().string(), bytes));  // a folder
    EXPECT_FALSE(ReadWholeFile(path, bytes, nullptr, 3));     // over the limit
    EXPECT_TRUE(ReadFilePrefix(path, 4, bytes));
    EXPECT_EQ(bytes.size(), 4u);
}

// A write that fails half-way (here: the disk is "full", which stops root as
// well as anyone) must leave the old file whole and no temporary behind.
TEST(FileIo, WriteFailingHalfWayKeepsTheOldFile) {
    TempDir dir;
    std::string path = (dir / "Save01.lsd").string();
    std::string old = "the old save";
    ASSERT_TRUE(WriteFileAtomic(path, old.data(), old.size()));

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string big(100000, 'x'), error;
    bool written = WriteFileAtomic(path, big.data(), big.size(), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(written);
    EXPECT_FALSE(error.empty());
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), old);
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(ProgramPath, AsInvokedOrFoundThroughPath) {
    TempDir dir;
    WriteFile(dir / "bin/varnow", "#!/bin/sh\n");
    fs::permissions(dir / "bin/varnow", fs::perms::owner_all);
    EXPECT_EQ(ProgramPathFromArgv0("./game/varnow", "/home/me"), "/home/me/game/varnow");
    EXPECT_EQ(ProgramPathFromArgv0("/opt/g/varnow", "/home/me"), "/opt/g/varnow");
    EnvGuard p("PATH", "/nonexistent:" + (dir / "bin").string());
    EXPECT_EQ(ProgramPathFromArgv0("varnow", "/home/me"), (dir / "bin/varnow").string());
    EXPECT_EQ(ProgramPathFromArgv0("not-there", "/home/me"), "");
}
