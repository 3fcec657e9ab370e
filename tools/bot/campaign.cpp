#include "campaign.h"

#include <algorithm>
#include <array>

#include "outfit.h"
#include "reading.h"

namespace kestran::bot {
namespace {

constexpr std::array<const char*, 7> kAttributes{"筋力", "知力", "信仰心", "敏捷性", "器用度", "耐久力", "精神力"};
// Level-up points go round these attributes: endurance, strength and dexterity keep
// the hero alive, let it wear heavier gear, hit, and learn the thief's skills.
constexpr std::array<int, 7> kPointCycle{5, 4, 0, 5, 4, 0, 5};
constexpr std::array<const char*, 7> kUnstick{"{Enter}", "N", "R", "E", "B", " ", "Y"};

// Attack skills for ordinary fights, best first, with their technique point cost.
struct AttackSkill {
    const char* name;
    long cost;
};
constexpr std::array<AttackSkill, 3> kAttackSkills{{{"滅破弾撃", 8}, {"斬撃波", 5}, {"気合斬", 1}}};

}  // namespace

std::string CampaignPlayer::Next(const Screen& s) {
    ++keys_;
    sameScreen_ = stuck_.Update(s, explorer_.position());
    if (s.Has("は力尽き倒れた・・・")) {
        died_ = true;
        return " ";
    }
    if (sameScreen_ > 25) return kUnstick[std::size_t(sameScreen_ % int(kUnstick.size()))];
    if (!restartDone_ && keys_ >= plan_.restartAfterKeys) restartAfterSave_ = true;
    using Handler = std::string (CampaignPlayer::*)(const Screen&);
    for (Handler h : {&CampaignPlayer::Title, &CampaignPlayer::Files, &CampaignPlayer::Creation, &CampaignPlayer::Fight,
                      &CampaignPlayer::Chest, &CampaignPlayer::Labyrinth, &CampaignPlayer::Camp,
                      &CampaignPlayer::Character, &CampaignPlayer::Town, &CampaignPlayer::Inn, &CampaignPlayer::Shop,
                      &CampaignPlayer::Guild, &CampaignPlayer::Tavern}) {
        std::string key = (this->*h)(s);
        if (!key.empty()) return key;
    }
    if (s.Has("体内の毒が消えました")) poisoned_ = false;
    if (s.Has("(Y/N)")) return "Y";
    if (s.Has("何かキーを押")) return " ";
    if (s.Has("戻る(R)")) return "R";
    if (s.Has("やっぱりやめる(N)")) return "N";
    return " ";
}

std::string CampaignPlayer::Title(const Screen& s) {
    if (!s.Has("(N) NEW  GAME")) return {};
    return loading_ ? "L" : "N";
}

std::string CampaignPlayer::Files(const Screen& s) {
    if (s.Has("キャラクターをセーブします") || s.Has("キャラクターをロードします")) {
        return s.Has("ドライブでよろしいですか") ? "Y" : "C";
    }
    if (s.RowHas(1, "セーブしました")) {
        savedOnce_ = true;
        if (restartAfterSave_) restartReady_ = true;
        return " ";
    }
    if (s.Has("以上のキャラクターを読み込みました")) {
        loading_ = false;
        restartDone_ = true;
        restartAfterSave_ = false;
        inTown_ = true;
        explorer_.Leave();
        return " ";
    }
    return {};
}

std::string CampaignPlayer::Creation(const Screen& s) {
    if (s.Has("名前を入力して下さい")) return "ケン{Enter}";
    if (s.Has("ボーナスポイント") && s.Has("利き腕") && s.Has("これでよろしいですか") && !s.Has("ヒットポイント")) {
        // A roll: a right-handed hero with some strength and endurance, or the tenth roll.
        const long strength = s.NumberAfter("筋力").value_or(0);
        const long endurance = s.NumberAfter("耐久力").value_or(0);
        const bool good = s.Has("利き腕 　右") && strength >= 13 && endurance >= 13;
        return good || ++rerolls_ > 10 ? "Y" : "N";
    }
    if (s.Has("レベルアップボーナスが残っています")) {
        distributed_ = 0;
        addedHere_ = 0;
        return " ";
    }
    const bool levelUp = s.Has("レベルアップボーナスを振り分けて下さい");
    if (!levelUp && !s.Has("ボーナスポイントを振り分けて下さい")) {
        if (s.Has("これでよろしいですか") && s.Has("ヒットポイント")) {
            ReadSheet(s);
            return "Y";
        }
        if (s.Has("以上のようにレベルアップしました")) ReadSheet(s);
        return {};
    }
    if (s.Has("これでよろしいですか")) {
        if (levelUp) levelPoints_ += lastBonus_;
        distributed_ = 0;
        addedHere_ = 0;
        return "Y";
    }
    if (distributed_ == 0 && addedHere_ == 0) {
        const int bonus = int(s.NumberAfter("残りのボーナスポイント").value_or(0));
        lastBonus_ = bonus;
        plannedPoints_.fill(0);
        if (levelUp) {
            for (int k = 0; k < bonus; ++k)
                ++plannedPoints_[std::size_t(kPointCycle[std::size_t((levelPoints_ + k) % long(kPointCycle.size()))])];
        } else {
            // Strength for the shop's weapons and armour; the points left over are gold.
            const long strength = s.NumberAfter("筋力").value_or(18);
            plannedPoints_[0] = int(std::clamp(18 - strength, 0L, long(bonus)));
        }
    }
    if (distributed_ < 7 && addedHere_ < plannedPoints_[std::size_t(distributed_)]) {
        ++addedHere_;
        return "+";
    }
    ++distributed_;
    addedHere_ = 0;
    return "{Enter}";
}

void CampaignPlayer::ReadSheet(const Screen& s) {
    if (!s.Has("ヒットポイント") || !s.Has("キャラクター名")) return;
    for (std::size_t i = 0; i < kAttributes.size(); ++i)
        stats_[i] = s.NumberAfter(kAttributes[i]).value_or(stats_[i]);
    level_ = s.NumberAfter("レベル　　　").value_or(level_);
    gold_ = s.NumberAfter("所持金").value_or(gold_);
    const int r = s.RowOf("ヒットポイント");
    hp_ = s.NumberAfter("ヒットポイント").value_or(hp_);
    const std::size_t slash = s.rows[std::size_t(r)].find('/');
    if (slash != std::string::npos) maxHp_ = std::atol(s.rows[std::size_t(r)].c_str() + slash + 1);
    tp_ = s.NumberAfter("テクニックポイント").value_or(tp_);
    poisoned_ = s.Has("状態      毒");
}

void CampaignPlayer::ReadPanel(const Screen& s) {
    long now = 0;
    long max = 0;
    if (HitPoints(s, now, max)) {
        hp_ = now;
        maxHp_ = max;
    }
    if (PointsOf(s, "TP  ", now, max)) {
        tp_ = now;
        maxTp_ = max;
    }
    level_ = s.NumberAfter("LV").value_or(level_);
}

int CampaignPlayer::LevelPlanFloor() const {
    int floor = 1;
    for (int f = 1; f <= 6; ++f) {
        if (level_ >= plan_.floorLevel[std::size_t(f - 1)] && maxHp_ >= plan_.floorHp[std::size_t(f - 1)]) floor = f;
    }
    return floor;
}

bool CampaignPlayer::MasterReady() const {
    return level_ >= plan_.masterLevel && maxHp_ >= plan_.masterHp;
}

int CampaignPlayer::Count(const std::string& name) const {
    return int(std::count(carried_.begin(), carried_.end(), name));
}

std::string CampaignPlayer::Fight(const Screen& s) {
    if (s.Has("ダークキング")) masterFought_ = true;
    if (s.Has("魔物に遭遇しました！")) return " ";
    if (s.Has("は毒を受けた！")) poisoned_ = true;
    if (s.Has("武器で攻撃しますか？(Y/N)") || s.Has("本当に逃げますか？(Y/N)")) return "Y";
    if (s.Has("武器で攻撃する(A)") && s.Has("どうする？")) {
        ReadPanel(s);
        const bool master = s.Has("ダークキング");
        using_ = PotionForFight();
        if (Hurt(master || explorer_.position().floor >= 5 ? 0.55 : 0.4) && !using_.empty()) return "I";
        using_.clear();
        if (!master && Hurt(0.3)) return "R";
        // On the way to the master, monsters that have not noticed the hero are left behind.
        if (MasterReady() && !master && s.Has("に気付いていない！")) return "R";
        fightSkill_.clear();
        const bool knowsBackstab = std::find(skills_.begin(), skills_.end(), "背後に回る") != skills_.end();
        if (master && knowsBackstab && tp_ >= 16) {
            fightSkill_ = "背後に回る";
            return "T";
        }
        // On the way to the master most of the technique points are kept for it.
        const long kept = MasterReady() && !master ? maxTp_ * 2 / 3 : 0;
        for (const AttackSkill& skill : kAttackSkills) {
            if (tp_ - kept >= skill.cost && std::find(skills_.begin(), skills_.end(), skill.name) != skills_.end()) {
                fightSkill_ = skill.name;
                return "T";
            }
        }
        return "A";
    }
    if (s.Has("使用する技能を数字キーで選んでください")) {
        for (const ListedEntry& e : ListedEntries(s)) {
            if (!fightSkill_.empty() && e.name == fightSkill_) return std::string(1, char('0' + e.digit));
        }
        return "N";
    }
    if (s.Has("を使うにはテクニックポイントが足りません")) {
        fightSkill_.clear();
        return " ";
    }
    return {};
}

// The full cure when the wound is deep, else the potion of 50 points.
std::string CampaignPlayer::PotionForFight() const {
    const bool deep = maxHp_ - hp_ > 120;
    for (const char* potion : {deep ? "体力完治薬" : "体力回復薬", "体力回復薬", "体力完治薬", "万能薬"}) {
        if (Count(potion) > 0) return potion;
    }
    return {};
}

std::string CampaignPlayer::Chest(const Screen& s) {
    if (s.Has("宝箱を開けます") && s.Has("そのまま開ける(O)")) {
        if (s.Has("罠を解除する(C)") && tp_ >= 5) return "C";
        return Hurt(0.5) ? "N" : "O";
    }
    if (s.Has("何か持ち物を捨ててください(0-9)")) {
        backpackFull_ = true;
        return "N";
    }
    if (s.Has("拾う(G)") && s.Has("を見つけました")) {
        return carried_.size() < 9 && !backpackFull_ ? "G" : "D";
    }
    if (s.RowHas(1, "を手に入れました")) {
        const std::string& row = s.rows[1];
        carried_.push_back(row.substr(1, row.find("を手に入れました") - 1));
        return " ";
    }
    return {};
}

std::string CampaignPlayer::Camp(const Screen& s) {
    if (!s.Has("キャンプを張りました")) return {};
    if (!using_.empty() && !campDone_) {
        campDone_ = true;
        return "C";
    }
    campDone_ = false;
    return "B";
}

}  // namespace kestran::bot
