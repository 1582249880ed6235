#include "scenes/startup.h"

#include <cstdio>
#include <memory>
#include <new>

#include "data/errors.h"
#include "data/folders.h"
#include "data/stderr_note.h"
#include "data/string_table.h"
#include "data/database/database.h"
#include "data/database/system.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/random.h"
#include "game/game_world_hooks.h"
#include "game/save/save_data.h"
#include "graphics/system_graphic.h"
#include "media/audio/audio_cantrel.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "platform/code_page.h"
#include "platform/file_io.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "scenes/game_main.h"
#include "scenes/windows/message_window.h"
#include "scenes/windows/window.h"

bool BattleTestMode = false;
bool TestPlayMode = false;
bool ShowLogo = true;
bool ShowTitle = true;
std::function<void()> OnBeforeTeardown;
std::optional<uint64_t> StartupRandomSeed;

namespace {

// Title of error boxes before the main form has its caption.
const char* const kDefaultApplicationTitle = "Varnow";

std::string Word(const std::vector<std::string>& args, size_t n) { return n < args.size() ? args[n] : std::string(); }

const char* const kUsage =
    "Usage: varnow [TestPlay | BattleTest] [HideTitle] [Window] [TROOP FORMATION CONDITION TERRAIN]\n"
    "\n"
    "Plays the game in the current folder (the folder that holds Varnow.ldb), or in the\n"
    "folder of the varnow file or link that was started when that folder holds a game:\n"
    "  cd GAME && varnow\n"
    "\n"
    "The words are read by their place; give \"\" for a word left out:\n"
    "  1  TestPlay     test play: no logo; F9 on the map opens the debug screen\n"
    "     BattleTest   a battle test against the troop of words 4 to 7\n"
    "  2  HideTitle    the title without its picture and music\n"
    "  3  Window       a window in place of full screen\n"
    "  4-7             with BattleTest: the troop number, the formation, the start\n"
    "                  condition and the terrain number (0 for none), as whole numbers\n"
    "For example: varnow \"\" \"\" Window   or   varnow BattleTest \"\" Window 1 0 0 0\n"
    "\n"
    "Environment: VARNOW_CODEPAGE, the code page of the game's text: a number such as\n"
    "932 (the default) or 1252, or a name such as utf-8, shift_jis, gbk, big5, euc-kr,\n"
    "cp1251 or cp1252.\n";


// The game folder holds no game: say which folder was searched and how a
// game is started. A first word that is none of ours was most likely meant
// as the game's folder.
int ReportNoGame(const std::vector<std::string>& args) {
    const std::string first = Word(args, 1);
    if (!first.empty() && first != "TestPlay" && first != "BattleTest")
        NoteOnStderr("\"" + first + "\" is no word varnow knows, and it takes no folder name: start it from "
                     "inside the game's folder.");
    platform::Sys().ShowMessageBox(kDefaultApplicationTitle, FormatStr(kStrNoGameHere, ExeDir), true);
    return 1;
}

// No KVT folder for a game that needs one: the program's own message in the
// box, and on stderr where the folder was looked for.
int ReportNoKvtFolder() {
    std::string remembered = platform::ReadSetting(kRegistryKey, kRuntimePackagePathValue);
    NoteOnStderr("no KVT folder was found: the settings file " + platform::SettingsFilePath() +
                 (remembered.empty() ? std::string(" names none") : " names " + remembered + ", which does not exist") +
                 ", and the game folder " + ExeDir + " holds no KVT folder");
    platform::Sys().ShowMessageBox(LoadStr(65262), LoadStr(65263), false);
    return 1;
}

// Leaves full screen, shows the message in an error box titled with the
// application's title (and on stderr).
void ReportFatalError(const std::string& message) {
    std::string text = platform::MessageToUtf8(message);
    if (GameDraw)
        GameDraw->ShowFatalError(text);
    else
        platform::Sys().ShowMessageBox(kDefaultApplicationTitle, text, true);
}

// The form's creation: screen object, command line, game folder's name and
// writability, caption.
void FormCreate(const std::vector<std::string>& args) {
    GameDraw = new TSorvoDraw();
    GameDraw->SetFrameRate(60);
    GameDraw->SetMaxLag(20);
    // "Zoom 1": the picture doubled, a 640x480 window.
    GameDraw->SetScreenZoom(true);
    ReadCommandLine(args);
    GameDraw->SetScreenMode(Word(args, 3) == "Window" ? smWindow : smFullScreen);
    // The game folder not being writable stands for the program file's
    // read-only bit: saves then go to the documents folder.
    ExeReadOnly = !platform::IsFolderWritable(ExeDir);
    std::string title = "Untitled";
    if (auto ini = FindGameFile(GameIniName()))
        title = platform::IniFile::Load(*ini).ReadString("Varnow", "GameTitle", title);
    GameDraw->SetCaption(platform::ToUtf8(title));
    GameDraw->Initialize();
}

// The party's start position from the map tree.
TPartyStart GameStartPosition() {
    const TLcfMapStartPosition& p = GameMapTree->startPosition;
    return {p.GetMapId(TLcfMapStartPosition::kParty), p.GetX(TLcfMapStartPosition::kParty),
            p.GetY(TLcfMapStartPosition::kParty)};
}

// The form's first showing: every process-wide object, in order.
void FormShow() {
    // Audio results are not tested: a game plays on without sound.
    CantrelInit();
    CantrelOpenMidi();
    CantrelOpenWave();
    if (StartupRandomSeed)
        SeedRandom(*StartupRandomSeed);
    else
        Randomize();
    GameInput = new TMultiInput();
    // Sampled at every pump of the frame wait, so that no tap between two
    // frames is lost.
    GameDraw->OnPump = [] { GameInput->Sample(); };
    GameMapTree = new TLcfMapTree();
    GameMapUnit = new TLcfMap(0);
    GameMapTree->Load();
    GameDataBase = new TLcfDataBase();
    GameDataBase->Load();
    GameSystemGraphic = new TLcfSystemGraphic(GameDraw->Board());
    // The system state loads the skin into it at every reset.
    GameSaveData = new TLcfgSaveData(GameSystemGraphic);
    GameSaveData->StartPosition = GameStartPosition;
    GameSaveData->Reset();
    // The message box and the queue of lines game logic leaves for it.
    GameMessagePool = new TLcfMessagePool();
    GameMessageWindow = new TLcfMessageWindow();
    GameMessageWindow->testPlay = TestPlayMode;
    GameInterpreterHooks.messageWindow = GameMessageWindow;
    GameInterpreterHooks.messagePool = GameMessagePool;
    GameInterpreterHooks.input = GameInput;
    GameInterpreterHooks.testPlay = TestPlayMode;
    InstallGameWorldHooks(GameSystemGraphic);
    CreateScenes();
}

// Closing: both display buffers black, then the audio goes.
void FormCloseQuery() {
    for (int i = 0; i < 2; ++i) {
        GameDraw->Board().Clear();
        GameDraw->Flip();
    }
    CantrelDone();
}

// Everything FormShow made, audio first, the screen object last.
void FormDestroy() {
    CantrelDone();
    if (GameDraw) GameDraw->OnPump = nullptr;
    GameInterpreterHooks.messageWindow = nullptr;
    GameInterpreterHooks.messagePool = nullptr;
    GameInterpreterHooks.input = nullptr;
    RemoveGameWorldHooks();
    delete GameMessageWindow;
    GameMessageWindow = nullptr;
    delete GameMessagePool;
    GameMessagePool = nullptr;
    delete GameInput;
    GameInput = nullptr;
    delete GameMapUnit;
    GameMapUnit = nullptr;
    delete GameMapTree;
    GameMapTree = nullptr;
    delete GameDataBase;
    GameDataBase = nullptr;
    delete GameSaveData;
    GameSaveData = nullptr;
    delete GameDataBase;
    GameDataBase = nullptr;
    DestroyScenes();
    delete GameSystemGraphic;
    GameSystemGraphic = nullptr;
    delete GameDraw;
    GameDraw = nullptr;
}

int RunGame(const std::vector<std::string>& args, const std::string& currentFolder) {
    // Program entry: the game folder, then the KVT folder unless the game
    // carries everything itself.
    if (auto status = ReadOptions(args)) return *status;
    SetGameFolder(ChooseGameFolder(Word(args, 0), currentFolder), Word(args, 0));
    if (!FindGameFile(kDatabaseFileName)) return ReportNoGame(args);
    if (!ReadFullPackageFlag() && GetRuntimePackagePath().empty()) return ReportNoKvtFolder();
    GameCommandLine = args;
    FormCreate(args);
    FormShow();
    GameDraw->OnMain = SorvoDrawMain;
    int code = GameDraw->Run();
    if (OnBeforeTeardown) OnBeforeTeardown();
    FormCloseQuery();
    return code;
}

}  // namespace

// Options in the manner of other command-line tools: "--help" (or "-h")
// prints the usage; any other word starting with "--" is none of ours.
// Answers the exit status when the program is to end here.
std::optional<int> ReadOptions(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (args[i].rfind("--", 0) == 0) {
            std::fprintf(stderr, "varnow: unknown option \"%s\"\n%s", args[i].c_str(), kUsage);
            return 2;
        }
    }
    return std::nullopt;
}

void ReadCommandLine(const std::vector<std::string>& args) {
    BattleTestMode = Word(args, 1) == "BattleTest";
    TestPlayMode = BattleTestMode || Word(args, 1) == "TestPlay";
    ShowLogo = !TestPlayMode;
    ShowTitle = Word(args, 2) != "HideTitle";
}

int VarnowMain(const std::vector<std::string>& args, const std::string& currentFolder) {
    int code = 1;
    try {
        code = RunGame(args, currentFolder);
    } catch (const ESorvoDrawAbort&) {
        code = 0;  // the window closed: nothing to say
    } catch (const std::bad_alloc&) {
        ReportFatalError(LoadStr(kStrOutOfMemory));
        code = 1;
    } catch (const std::exception& e) {
        ReportFatalError(e.what());
        code = 1;
    }
    FormDestroy();
    return code;
}
