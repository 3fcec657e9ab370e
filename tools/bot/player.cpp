#include "player.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "outfit.h"
#include "reading.h"

namespace kestran::bot {
namespace {

constexpr std::array<const char*, 9> kNonsense{"x", "9", "{Esc}", "{Tab}", "{Home}", "q", "{Del}", "*", "{PgDn}"};
constexpr std::array<const char*, 6> kNames{"アキラ", "TARO", "ミリ", "{x0F}kenta{x0F}", " A B ", "ＺＥＲＯ"};

}  // namespace

// Any key a screen might wait for, when the same screen has come back too often.
std::string Player::Unstick() {
    constexpr std::array<const char*, 14> kAny{"Y",    "N",      "R", "E", "B", "{Enter}", " ",
                                               "{Up}", "{Left}", "0", "1", "A", "G",       "U"};
    return kAny[std::size_t(Pick(int(kAny.size())))];
}

std::string Player::Nonsense() {
    return kNonsense[std::size_t(Pick(int(kNonsense.size())))];
}

std::optional<std::string> Player::Title(const Screen& s) {
    if (!s.Has("(N) NEW  GAME")) return std::nullopt;
    if (everSaved_ && Chance(0.3)) return "L";
    if (Chance(0.05)) return "D";
    return Chance(0.1) ? "n" : "N";
}

std::optional<std::string> Player::Creation(const Screen& s) {
    if (s.Has("名前を入力して下さい")) {
        distributed_ = 0;
        return std::string(kNames[std::size_t(Pick(int(kNames.size())))]) + "{Enter}";
    }
    if (s.Has("レベルアップボーナスが残っています")) return " ";
    const bool levelUp = s.Has("レベルアップボーナスを振り分けて下さい");
    if ((levelUp || s.Has("ボーナスポイントを振り分けて下さい")) && !s.Has("これでよろしいですか")) {
        const long left = s.NumberAfter("残りのボーナスポイント").value_or(0);
        if (left > 0 && (levelUp || Chance(0.6))) return Chance(0.05) ? "-" : "+";
        return "{Enter}";
    }
    return std::nullopt;
}

std::optional<std::string> Player::Files(const Screen& s) {
    if (s.Has("キャラクターをセーブします") && !s.Has("ドライブでよろしいですか")) {
        savingAt_ = explorer_.position();
        return Chance(0.05) ? "Q" : "C";
    }
    if (s.Has("キャラクターをロードします") || s.Has("のキャラクターをコンバートします")) {
        if (s.Has("ドライブでよろしいですか")) return "Y";
        return "C";
    }
    if (s.Has("ドライブでよろしいですか")) return Chance(0.9) ? "Y" : "N";
    if (s.RowHas(1, "セーブしました")) {
        saved_ = savingAt_;
        everSaved_ = true;
        return " ";
    }
    if (s.Has("以上のキャラクターを読み込みました")) {
        explorer_.Set(saved_.value_or(Position{}));
        return " ";
    }
    return std::nullopt;
}

std::optional<std::string> Player::Town(const Screen& s) {
    if (s.Has("ここはオディシスの街です")) {
        explorer_.Leave();
        if (hpRatio_ < 0.75 && Chance(0.9)) {
            hpRatio_ = 1;  // rested, or refused for want of gold: either way not again at once
            return "I";
        }
        if ((!outfitKnown_ || WantsToEquip()) && Chance(0.8)) return "C";
        if (NeedsShopping() && Chance(0.6)) {
            shopKeys_ = 0;
            return "S";
        }
        const int roll = Pick(100);
        if (roll < 55) {
            enteringLabyrinth_ = true;
            return "M";
        }
        if (roll < 60) {
            shopKeys_ = 0;
            return "S";
        }
        if (roll < 72) return "G";
        if (roll < 80) return "T";
        if (roll < 92) return "C";
        if (roll < 97) return "I";
        return Nonsense();
    }
    if (s.Has("一晩 10ゴールドですがよろしいですか")) return Chance(0.9) ? "Y" : "N";
    if (s.Has("日記をつけますか")) return Chance(0.5) ? "Y" : "N";
    if (s.Has("ここは酒場です")) return Chance(0.6) ? Digit(5) : "E";
    if (s.Has("を誘いますか？(Y/N)")) return Chance(0.8) ? "Y" : "N";
    return std::nullopt;
}

std::optional<std::string> Player::Shop(const Screen& s) {
    if (s.Has("ここは道具屋です")) {
        if (auto key = Shopping(s)) return key;
        const int roll = Pick(100);
        if (roll < 45) return Digit(10);
        if (roll < 55) return "S";
        if (roll < 62) return "I";
        if (roll < 70) return Chance(0.5) ? "N" : "F";
        return "E";
    }
    if (s.Has("それでも購入しますか？(Y/N)")) return Chance(0.2) ? "Y" : "N";
    if (s.Has("を購入します")) return Chance(0.9) ? "Y" : "N";
    if (s.RowHas(1, "を購入しました")) {
        const std::string& row = s.rows[1];
        carried_.push_back(row.substr(1, row.find("を購入しました") - 1));
        return " ";
    }
    if (s.Has("どれを売りますか？") || s.Has("どの持ち物を鑑定しますか？")) {
        const auto digits = ListedDigits(s);
        if (digits.empty() || Chance(0.4)) return "N";
        return std::string(1, char('0' + digits[std::size_t(Pick(int(digits.size())))]));
    }
    return std::nullopt;
}

std::optional<std::string> Player::Guild(const Screen& s) {
    if (s.Has("ここは冒険者ギルドです")) {
        const char* keys[] = {"F", "T", "M", "P", "E", "E"};
        return keys[Pick(6)];
    }
    if (s.Has("修得したい技能を数字キーで選んでください") || s.Has("習得したい呪文を数字キーで選んでください")) {
        if (Chance(0.3)) return "N";
        return Digit(s.Has("魔術師呪文を習得します") || s.Has("神術師呪文を習得します") ? 10 : 5);
    }
    return std::nullopt;
}

std::optional<std::string> Player::CharacterScreens(const Screen& s) {
    if (s.Has("持ち物を見る(I)")) {
        if ((!outfitKnown_ || WantsToEquip()) && Chance(0.9)) return "I";
        const char* keys[] = {"I", "I", "I", "T", "P", "M", "R", "R"};
        return keys[Pick(8)];
    }
    if (const auto outfit = ReadOutfit(s)) {
        worn_ = outfit->worn;
        carried_ = outfit->carried;
        outfitKnown_ = true;
        equipping_ = ItemToEquip();
        if (!equipping_.empty() && Chance(0.9)) return "E";
        const char* keys[] = {"E", "T", "U", "D", "R", "R", "R", "R", "R"};
        return keys[Pick(9)];
    }
    if (s.Has("は重くて装備できませんでした") || s.Has("は両手用の武器です") ||
        s.Has("すでに両手用の武器を装備していますので")) {
        refused_.push_back(equipping_);
        return " ";
    }
    if (s.Has("をどちらの手に装備しますか？(L/R)")) {
        if (!equipping_.empty()) return ItemTypeNamed(equipping_) == 'S' ? "L" : "R";
        return Chance(0.7) ? "R" : "L";
    }
    if (s.Has("装備する持ち物を数字キーで選んでください") && !equipping_.empty()) {
        for (const std::string& row : s.rows) {
            const std::size_t close = row.find(')');
            if (close != std::string::npos && row.substr(close + 1) == equipping_ &&
                row.find("( ") != std::string::npos) {
                return std::string(1, row[row.find("( ") + 2]);
            }
        }
    }
    if (s.Has("使用する道具を数字キーで選んでください") && hpRatio_ < 0.5) {
        for (const std::string& row : s.rows) {
            if (row.find(")体力") != std::string::npos && row.find("( ") != std::string::npos) {
                return std::string(1, row[row.find("( ") + 2]);
            }
        }
    }
    const bool list =
        s.Has("装備する持ち物を数字キーで選んでください") || s.Has("使用する道具を数字キーで選んでください") ||
        s.Has("捨てる持ち物を数字キーで選んでください") || s.Has("装備をはずす個所を数字キーで選んでください");
    if (list) {
        const auto digits = ListedDigits(s);
        if (digits.empty() || Chance(0.25)) return "R";
        return std::string(1, char('0' + digits[std::size_t(Pick(int(digits.size())))]));
    }
    if (s.Has("戻る(R)") && (s.Has("が修得している技能です") || s.Has("が習得している魔術師呪文です") ||
                             s.Has("が習得している神術師呪文です"))) {
        std::vector<std::string> keys{"R", "R"};
        for (const char* hint : {"(S)", "(I)", "(C)", "(L)", "(A)", "(G)"}) {
            if (s.Has(hint)) keys.emplace_back(std::string(1, hint[1]));
        }
        return keys[std::size_t(Pick(int(keys.size())))];
    }
    return std::nullopt;
}

std::optional<std::string> Player::Fight(const Screen& s) {
    if (s.Has("魔物に遭遇しました！")) return " ";
    if (s.Has("武器で攻撃しますか？(Y/N)") || s.Has("本当に逃げますか？(Y/N)")) return Chance(0.92) ? "Y" : "N";
    if (s.Has("武器で攻撃する(A)") && s.Has("どうする？")) {
        long hp = 0;
        long max = 1;
        const bool known = HitPoints(s, hp, max);
        if (known) hpRatio_ = double(hp) / double(max);
        const bool hurt = known && hp * 5 < max * 2;
        if (hurt && Potions() > 0 && Chance(0.8)) return "I";
        if (hurt && Chance(0.7)) {
            const char* keys[] = {"R", "I", "P"};
            return keys[Pick(3)];
        }
        const int roll = Pick(100);
        if (roll < 72) return "A";
        if (roll < 80) return "T";
        if (roll < 87) return "M";
        if (roll < 93) return "P";
        if (roll < 96) return "I";
        if (roll < 98) return "R";
        return Nonsense();
    }
    if (s.Has("使用する技能を数字キーで選んでください") || s.Has("使用する呪文を数字キーで選んでください")) {
        const auto digits = ListedDigits(s);
        if (digits.empty() || Chance(0.3)) return "N";
        return std::string(1, char('0' + digits[std::size_t(Pick(int(digits.size())))]));
    }
    return std::nullopt;
}

std::optional<std::string> Player::Chest(const Screen& s) {
    if (s.Has("宝箱を開けます") && s.Has("そのまま開ける(O)")) {
        if (s.Has("にお願いする(M)")) return "M";
        if (s.Has("罠を解除する(C)") && Chance(0.7)) return "C";
        return Chance(0.9) ? "O" : "N";
    }
    if (s.Has("拾う(G)") && s.Has("を見つけました")) return Chance(0.75) ? "G" : "D";
    if (s.Has("何か持ち物を捨ててください(0-9)")) return Chance(0.5) ? Digit(10) : "N";
    return std::nullopt;
}

std::optional<std::string> Player::Labyrinth(const Screen& s) {
    if (s.Has("キャンプを張りました")) {
        const int roll = Pick(100);
        if (roll < 15) {
            savingAt_ = explorer_.position();
            return "S";
        }
        return roll < 45 ? "C" : "B";
    }
    if (s.Has("エレベーターに乗りました")) {
        if (Chance(0.2)) return "N";
        const int floor = 1 + Pick(3);
        explorer_.ChangeFloor(floor);
        return std::string(1, char('0' + floor));
    }
    if (!(s.RowHas(22, "キャンプ (C)") && s.RowHas(21, "移動（カーソルキー)"))) return std::nullopt;
    if (enteringLabyrinth_) {
        explorer_.Enter();
        enteringLabyrinth_ = false;
    }
    if (!explorer_.InLabyrinth()) explorer_.Set(saved_.value_or(Position{1, 1, 0, 3}));
    deepest_ = std::max(deepest_, explorer_.position().floor);
    long hp = 0;
    long max = 1;
    if (HitPoints(s, hp, max)) hpRatio_ = double(hp) / double(max);
    const long level = s.NumberAfter("LV").value_or(1);
    Goal goal = Goal::Explore;
    if (hp * 10 < max * 6) {
        goal = Goal::GoUp;
    } else if (explorer_.position().floor < 6 && explorer_.ExploredShare() > 0.3 &&
               level >= explorer_.position().floor * 2) {
        goal = Goal::GoDown;
    }
    if (s.Has("宝箱を開ける(O)") && Chance(0.8)) return "O";
    if (s.Has("上に上がる(U)") && goal == Goal::GoUp) {
        explorer_.ChangeFloor(explorer_.position().floor - 1);
        return "U";
    }
    if (s.Has("下に下りる(D)") && (goal == Goal::GoDown || explorer_.NextKey(Goal::Explore).empty())) {
        explorer_.ChangeFloor(explorer_.position().floor + 1);
        return "D";
    }
    if (s.Has("エレベーターを使う(E)") && Chance(0.15)) return "E";
    if (Chance(0.04)) return "C";
    if (Chance(0.02)) return Nonsense();
    std::string key = explorer_.NextKey(goal);
    if (key.empty() && goal == Goal::Explore)
        key = explorer_.NextKey(explorer_.position().floor < 6 ? Goal::GoDown : Goal::GoUp);
    if (key.empty() || Chance(0.05)) {
        const char* keys[] = {"{Up}", "{Left}", "{Right}", "{Down}"};
        key = keys[Pick(4)];
    }
    explorer_.Follow(key);
    return key;
}

std::optional<std::string> Player::Questions(const Screen& s) {
    if (s.Has("(Y/N)")) return Chance(0.85) ? "Y" : "N";
    if (s.Has("何かキーを押")) return Chance(0.9) ? " " : "x";
    if (s.Has("戻る(R)")) return Chance(0.5) ? "R" : Digit(10);
    if (s.Has("やっぱりやめる(N)")) return Chance(0.5) ? "N" : Digit(10);
    return std::nullopt;
}

int Player::Potions() const {
    int n = 0;
    for (const std::string& name : carried_)
        n += ItemTypeNamed(name) == 'P' && name != "太陽の石";
    return n;
}

std::string Player::ItemToEquip() const {
    for (const std::string& name : carried_) {
        const int slot = SlotForType(ItemTypeNamed(name));
        const bool refused = std::find(refused_.begin(), refused_.end(), name) != refused_.end();
        if (slot >= 0 && !worn_[std::size_t(slot)] && !refused) return name;
    }
    return {};
}

bool Player::WantsToEquip() const {
    return !ItemToEquip().empty();
}

bool Player::NeedsShopping() const {
    for (char type : {'W', 'A', 'S', 'H'}) {
        bool have = worn_[std::size_t(SlotForType(type))];
        for (const std::string& name : carried_)
            have = have || ItemTypeNamed(name) == type;
        if (!have) return true;
    }
    return Potions() < 2;
}

// The first thing the hero lacks that this shelf has and the gold pays for; the next shelf, or
// leaving, when there is nothing.
std::optional<std::string> Player::Shopping(const Screen& s) {
    if (++shopKeys_ > 12 || !NeedsShopping()) return "E";
    const long gold = s.NumberAfter("所持金").value_or(0);
    const std::vector<ShelfItem> shelf = ShelfItems(s);
    for (char type : {'W', 'A', 'S', 'H', 'P'}) {
        bool have = type == 'P' ? Potions() >= 2 : worn_[std::size_t(SlotForType(type))];
        for (const std::string& name : carried_)
            have = have || (type != 'P' && ItemTypeNamed(name) == type);
        if (have) continue;
        const ShelfItem* best = nullptr;
        for (const ShelfItem& item : shelf) {
            const bool wanted = ItemTypeNamed(item.name) == type && item.price <= gold && item.strength <= 20 &&
                                item.name != "太陽の石";
            if (wanted && (!best || item.price > best->price)) best = &item;
        }
        if (best) return std::string(1, char('0' + best->digit));
    }
    return shopKeys_ < 4 ? "N" : "E";
}

std::string Player::Next(const Screen& s) {
    sameScreen_ = stuck_.Update(s, explorer_.position());
    if (s.Has("は力尽き倒れた・・・")) {
        died_ = true;
        return " ";
    }
    if (sameScreen_ > 40) return Unstick();
    using Handler = std::optional<std::string> (Player::*)(const Screen&);
    for (Handler h :
         {&Player::Title, &Player::Creation, &Player::Files, &Player::Fight, &Player::Chest, &Player::Labyrinth,
          &Player::CharacterScreens, &Player::Town, &Player::Shop, &Player::Guild, &Player::Questions}) {
        if (auto key = (this->*h)(s)) return *key;
    }
    return Chance(0.5) ? Nonsense() : "Y";
}

}  // namespace kestran::bot
