#include "game/saves/saving.h"

#include <string_view>

#include "game/game_screen.h"
#include "game/hero/character_sheet.h"
#include "game/saves/save_file.h"
#include "runtime/runtime.h"
#include "runtime/values/error.h"
#include "runtime/values/file_table.h"
#include "runtime/values/files.h"
#include "runtime/values/return_table.h"
#include "runtime/values/strings.h"

namespace kestran::game {
namespace {

constexpr double kFile = 1;
constexpr int kShareDefault = 0;
constexpr std::string_view kSaveName = ":KSSAVE";
constexpr std::string_view kPredecessorName = ":VELDSAVE";

// After a failed file operation file 1 may still be open. It is dropped without being closed,
// so that a half-written save never replaces the old one and the next attempt can open file 1
// again.
void DropFile(Runtime& rt) {
    PbAbandonFile(rt, kFile);
}

bool WriteFile(Runtime& rt, GameState& s, const PbString& name) {
    try {
        PbOpen(rt, name, kModeOutput, kShareDefault, kFile);
        WriteSaveFile(rt, s, kFile);
        PbClose(rt, {kFile});
        return true;
    } catch (const PbError&) {
        DropFile(rt);
        return false;
    }
}

bool ReadFile(Runtime& rt, GameState& s, const PbString& name, int floors) {
    try {
        PbOpen(rt, name, kModeInput, kShareDefault, kFile);
        ReadSaveFile(rt, s, kFile, floors);
        PbClose(rt, {kFile});
    } catch (const PbError&) {
        DropFile(rt);
        return false;
    }
    return IsPlayableSave(s);
}

void PrintDevicePrompt(Game& g) {
    PrintLine(g, {" デバイスを指定して下さい（通常は「 C 」を入力して下さい)  "_sj});
}

// The drive key and its confirmation at `row`; false when the player answered "N".
bool AskDrive(Game& g, PbString& drive, double row) {
    drive = ReadKey(g);
    PrintAt(g, 1, row, {drive, "ドライブでよろしいですか？(Y/N)"_sj});
    return ReadYesNo(g) == Answer::Yes;
}

void PrintMessage(Game& g, std::string_view first, std::string_view second) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {first});
    PrintLine(g, {second});
}

Scene LoadFailed(Game& g) {
    PrintMessage(g, "デバイスもしくはセーブファイルが見つかりませんでした"_sj,
                 " 何かキーを押すとタイトルに戻ります"_sj);
    WaitForKey(g);
    return Scene::Title;
}

void AskSaveDrive(Game& g) {
    do {
        ClearScreen(g);
        PrintAt(g, 1, 1, {"キャラクターをセーブします"_sj});
        PrintDevicePrompt(g);
        PrintLine(g, {" 同一デバイス上のセーブデータは上書きされます"_sj});
    } while (!AskDrive(g, g.s.saveDrive, 5));
}

void AskLoadDrive(Game& g, std::string_view heading) {
    do {
        ClearScreen(g);
        PrintAt(g, 1, 1, {heading});
        PrintDevicePrompt(g);
    } while (!AskDrive(g, g.s.loadDrive, 4));
}

}  // namespace

void SaveCharacter(Game& g) {
    PbGosub call(g.rt);
    for (;;) {
        AskSaveDrive(g);
        g.s.saveFileName = g.s.saveDrive + PbString(kSaveName);
        if (WriteFile(g.rt, g.s, g.s.saveFileName)) break;
        PrintMessage(g, "指定したデバイスが見つかりませんでした"_sj, " 何かキーを押すとデバイス選択画面に戻ります"_sj);
        WaitForKey(g);
    }
    PrintMessage(g, "セーブしました"_sj, " 何かキーを押して下さい"_sj);
    WaitForKey(g);
}

Scene LoadCharacter(Game& g) {
    PbGosub call(g.rt);
    GameState next = g.s;
    Game staged{g.rt, next, g.catalogue, g.fitCheck};
    AskLoadDrive(staged, "キャラクターをロードします"_sj);
    next.loadFileName = next.loadDrive + PbString(kSaveName);
    if (!ReadFile(g.rt, next, next.loadFileName, kSaveFloors)) return LoadFailed(g);
    g.s = std::move(next);

    PrintMessage(g, "ロードしました"_sj, " 何かキーを押して下さい"_sj);
    WaitForKey(g);
    ShowCharacterSheet(g);
    PrintAt(g, 1, 20, {"以上のキャラクターを読み込みました"_sj});
    PrintAt(g, 1, 21, {"冒険を再開します"_sj});
    PrintAt(g, 1, 22, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
    return Scene::Town;
}

Scene ConvertCharacter(Game& g) {
    GameState next = g.s;
    Game staged{g.rt, next, g.catalogue, g.fitCheck};
    AskLoadDrive(staged, "ヴェルドリンガのキャラクターをコンバートします"_sj);
    next.loadFileName = next.loadDrive + PbString(kPredecessorName);
    if (!ReadFile(g.rt, next, next.loadFileName, kPredecessorFloors)) return LoadFailed(g);

    PrintMessage(staged, "コンバートするキャラクターをロードしました"_sj, " 何かキーを押して下さい"_sj);
    WaitForKey(staged);
    ShowCharacterSheet(staged);
    PrintAt(staged, 1, 21, {"以上のキャラクターをコンバートします"_sj});
    PrintAt(staged, 1, 22, {"何かキーを押して下さい"_sj});
    WaitForKey(staged);

    // The predecessor had no sixth floor: the fifth gets its staircase down.
    PbMidAssign(next.mapEvents(kPredecessorFloors - 1, 0), 10, 1, "D");
    next.saveFileName = next.loadDrive + PbString(kSaveName);
    if (!WriteFile(g.rt, next, next.saveFileName)) return LoadFailed(g);
    g.s = std::move(next);

    PrintMessage(g, "キャラクターのコンバートが終了しました"_sj, " 何かキーを押して下さい"_sj);
    WaitForKey(g);
    return Scene::Title;
}

}  // namespace kestran::game
