#include "game/abilities/skill_menus.h"

#include "game/backpack_list.h"
#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "runtime/values/numbers.h"
#include "runtime/values/strings.h"

namespace kestran::game {
namespace {

constexpr auto kStealthWalk = "忍び足"_sj;
constexpr auto kAppraisal = "鑑定"_sj;
constexpr float kStealthCost = 10;
constexpr float kAppraisalCost = 7;

void DrawSkillMenu(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.heroName, "が修得している技能です"_sj});
    double hintRow = 21;
    for (int i = 0; i < kLearnedSlots; ++i) {
        const PbString& name = s.learnedSkills(i);
        if (name.empty()) continue;
        PrintAt(g, 33, i + 4, {name});
        if (name == kStealthWalk.view()) PrintAt(g, 55, hintRow--, {"忍び足を使う(S)"_sj});
        if (name == kAppraisal.view()) PrintAt(g, 55, hintRow--, {"持ち物を鑑定する(I)"_sj});
    }
    PrintChoices(g, 22, {"戻る(R)"_sj});
}

// Identifies the chosen slot after its question: true once done, false on "N".
bool AppraiseChosen(Game& g, double slot) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.inventoryName(slot), "を鑑定しますか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return false;
    s.heroStats(kTechniquePoints) = PbStore(double(s.heroStats(kTechniquePoints)) - kAppraisalCost);
    PrintAt(g, 1, 3, {"鑑定しました！"_sj});
    PrintAt(g, 1, 4, {s.inventoryName(slot), "は"_sj, s.inventoryTrueName(slot), "でした"_sj});
    s.inventoryName(slot) = s.inventoryTrueName(slot);
    PromptForKey(g, 6);
    return true;
}

}  // namespace

bool IsLearned(PbArray<PbString>& list, std::string_view name) {
    for (int i = 0; i < kLearnedSlots; ++i) {
        if (list(i) == name) return true;
    }
    return false;
}

void SkillMenu(Game& g) {
    GameState& s = g.s;
    if (s.learnedSkills(0).empty()) return ShowNotice(g, {s.heroName, "は何も技能を身につけていません"_sj});
    for (;;) {
        DrawSkillMenu(g);
        for (bool used = false; !used;) {
            const PbString key = ReadKey(g);
            if (IsKey(key, 'R')) return;
            if (IsKey(key, 'S') && IsLearned(s.learnedSkills, kStealthWalk)) {
                UseStealthWalk(g);
                used = true;
            } else if (IsKey(key, 'I') && IsLearned(s.learnedSkills, kAppraisal)) {
                IdentifyBySkill(g);
                used = true;
            }
        }
    }
}

void UseStealthWalk(Game& g) {
    GameState& s = g.s;
    if (s.dungeonFloor == 0) return ShowNotice(g, {"街の中では忍び足を使っても意味がありません"_sj});
    if (s.stealthWalk == 1) return ShowNotice(g, {"すでに忍び足を使いながら歩いています"_sj});
    if (s.heroStats(kTechniquePoints) < kStealthCost) {
        return ShowNotice(g, {kStealthWalk, "を使うにはテクニックポイントが足りません"_sj});
    }
    ClearScreen(g);
    PrintAt(g, 1, 1, {"本当に忍び足を使いますか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return;
    s.heroStats(kTechniquePoints) = PbStore(double(s.heroStats(kTechniquePoints)) - kStealthCost);
    s.stealthWalk = 1;
    PrintAt(g, 1, 3, {"忍び足を使いました！"_sj});
    PrintAt(g, 1, 4, {"このフロアーにいる間は有効です"_sj});
    PromptForKey(g, 5);
}

void IdentifyBySkill(Game& g) {
    GameState& s = g.s;
    for (;;) {
        ClearScreen(g);
        if (s.inventoryName(0).empty()) {
            PrintAt(g, 1, 1, {"何も道具を持っていません"_sj});
            return PromptForKey(g, 2);
        }
        ListBackpack(g, "どの持ち物を鑑定しますか？"_sj, "数字キーで鑑定する物を選んでください"_sj,
                     "鑑定するのをやめる(N)"_sj);
        const PbString key = ReadKey(g);
        if (IsKey(key, 'N')) return;
        s.chosenSlot = PbStore(PbVal(key));
        const double slot = s.chosenSlot;
        if (PbLeft(s.inventoryName(slot), 1) != "?") {
            if (!s.inventoryName(slot).empty()) ShowNotice(g, {"その持ち物はすでに鑑定されています"_sj});
            continue;
        }
        if (s.heroStats(kTechniquePoints) < kAppraisalCost) {
            return ShowNotice(g, {"鑑定するにはテクニックポイントが足りません"_sj});
        }
        if (AppraiseChosen(g, slot)) return;
    }
}

}  // namespace kestran::game
