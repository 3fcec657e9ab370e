// The campaign in town: the inn, the shop, the guild, the tavern and the backpack.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "campaign.h"
#include "outfit.h"
#include "reading.h"

namespace kestran::bot {
namespace {

constexpr std::array<const char*, 6> kSlotLabels{"頭", "胴", "右手", "左手", "腕", "脚"};

// How much good an item of the item table does where it is worn: attack and some of the hit
// bonus for a weapon, armour and some of the magic resistance for the rest; 0 for anything else.
int ItemValue(const std::string& name) {
    const std::string code = ItemCodeNamed(name);
    if (code.size() < 12 || code[0] == 'P') return 0;
    const int first = std::atoi(code.substr(1, 2).c_str());
    const int second = std::atoi(code.substr(3, 2).c_str());
    return first * 2 + second;
}

int StrengthNeeded(const std::string& name) {
    const std::string code = ItemCodeNamed(name);
    return code.size() < 12 ? 999 : std::atoi(code.substr(5, 2).c_str());
}

bool TwoHanded(const std::string& name) {
    const std::string code = ItemCodeNamed(name);
    return code.size() >= 13 && code[0] == 'W' && code[7] == '1';
}

struct SkillOffer {
    const char* name;
    const char* list;  // the guild's key
    int stat;          // the attribute it needs
    long need;
    long price;
};
// The guild's skills the campaign learns, in this order.
constexpr std::array<SkillOffer, 6> kSkillOffers{{{"気合斬", "F", 0, 30, 500},
                                                  {"解除", "T", 4, 30, 500},
                                                  {"斬撃波", "F", 0, 35, 1000},
                                                  {"背後に回る", "T", 4, 45, 2000},
                                                  {"滅破弾撃", "F", 0, 60, 4000},
                                                  {"急所を狙う", "T", 4, 80, 8000}}};

// The digit of the list row naming `name` right after its parenthesis ("( 2 )斬撃波   ST=35"), or -1.
int DigitNaming(const Screen& s, const std::string& name) {
    for (const std::string& row : s.rows) {
        const std::size_t at = row.find("( ");
        if (at == std::string::npos || at + 5 > row.size() || row[at + 4] != ')') continue;
        if (row.compare(at + 5, name.size(), name) == 0) return row[at + 2] - '0';
    }
    return -1;
}

}  // namespace

bool CampaignPlayer::Upgrade(const std::string& name) const {
    const int slot = SlotForType(ItemTypeNamed(name));
    if (slot < 0 || TwoHanded(name) || StrengthNeeded(name) > stats_[0]) return false;
    return ItemValue(name) > worn_[std::size_t(slot)].value;
}

std::string CampaignPlayer::SkillToLearn() const {
    for (const SkillOffer& offer : kSkillOffers) {
        if (std::find(skills_.begin(), skills_.end(), offer.name) != skills_.end()) continue;
        if (stats_[std::size_t(offer.stat)] >= offer.need && gold_ >= offer.price + 300) return offer.name;
    }
    return {};
}

std::string CampaignPlayer::Town(const Screen& s) {
    if (s.Has("街に戻ってきましたので仲間と別れました")) companion_ = false;
    if (!s.Has("ここはオディシスの街です")) return {};
    if (!inTown_) {
        inTown_ = true;
        explorer_.Leave();
        goHome_ = false;
        using_.clear();
        shopDone_ = guildDone_ = tavernDone_ = false;
        ++townVisits_;
    }
    if (restartReady_) {
        restartReady_ = false;
        restartNow_ = true;
        loading_ = true;
        return "{Close}";
    }
    if ((hp_ < maxHp_ || poisoned_) && gold_ >= 10) return "I";
    const bool wantsToEquip = std::any_of(carried_.begin(), carried_.end(), [&](const std::string& name) {
        return Upgrade(name) && std::find(refused_.begin(), refused_.end(), name) == refused_.end();
    });
    if (!outfitSeen_ || wantsToEquip) return "C";
    if (!shopDone_) {
        shelf_ = 0;
        shopSteps_ = 0;
        lastShelfTop_.clear();
        return "S";
    }
    if (!guildDone_ && !SkillToLearn().empty()) return "G";
    const bool wantsCompanion = plan_.alwaysCompanion || (!everHired_ && level_ >= 3) || MasterReady();
    if (!tavernDone_ && !companion_ && wantsCompanion) return "T";
    enteringLabyrinth_ = true;
    return "M";
}

std::string CampaignPlayer::Inn(const Screen& s) {
    if (s.Has("一晩 10ゴールドですがよろしいですか")) return gold_ >= 10 ? "Y" : "N";
    if (s.Has("宿に泊まるだけのお金がありません")) {
        gold_ = 0;
        return " ";
    }
    if (s.Has("日記をつけますか")) return ++innVisits_ % 5 == 0 || restartAfterSave_ ? "Y" : "N";
    if (s.Has("ぐっすりと眠りました")) {
        hp_ = maxHp_;
        poisoned_ = false;
        gold_ -= 10;
        return " ";
    }
    return {};
}

int CampaignPlayer::ShelfDigitToBuy(const Screen& s) const {
    const std::vector<ShelfItem> shelf = ShelfItems(s);
    const bool room = carried_.size() < 9;
    // Gear waits until the stones and potions the next descent needs are paid for.
    // Toward the master: one stone to flee home with, the rest of the backpack for full cures.
    const int stonesWanted = MasterReady() ? 1 : LevelPlanFloor() >= 4 ? 2 : LevelPlanFloor() >= 3 ? 1 : 0;
    const int potionsWanted = MasterReady() ? 2 : level_ >= 10 ? 5 : 3;
    const int curesWanted = MasterReady() ? 5 : level_ >= 25 ? 2 : 0;
    const long reserve = 20 + 100 * std::max(0, stonesWanted - Count("太陽の石")) +
                         50 * std::max(0, potionsWanted - Count("体力回復薬"));
    for (const ShelfItem& item : shelf) {
        const bool wanted = (item.name == "太陽の石" && Count(item.name) < stonesWanted) ||
                            (item.name == "体力回復薬" && Count(item.name) < potionsWanted) ||
                            (item.name == "体力完治薬" && Count(item.name) < curesWanted);
        if (wanted && room && item.price + 20 <= gold_) return item.digit;
    }
    auto affordable = [&](const ShelfItem& item) { return room && item.price + reserve <= gold_; };
    const ShelfItem* best = nullptr;
    int bestGain = 0;
    for (const ShelfItem& item : shelf) {
        if (!affordable(item) || !Upgrade(item.name)) continue;
        const int slot = SlotForType(ItemTypeNamed(item.name));
        bool carriedBetter = false;
        for (const std::string& name : carried_)
            carriedBetter = carriedBetter || (SlotForType(ItemTypeNamed(name)) == slot && Upgrade(name) &&
                                              ItemValue(name) >= ItemValue(item.name));
        const int gain = ItemValue(item.name) - worn_[std::size_t(slot)].value;
        if (!carriedBetter && gain > bestGain) {
            best = &item;
            bestGain = gain;
        }
    }
    return best ? best->digit : -1;
}

std::string CampaignPlayer::Shop(const Screen& s) {
    if (s.Has("ここは道具屋です")) {
        gold_ = s.NumberAfter("所持金").value_or(gold_);
        if (++shopSteps_ > 60) {
            shopDone_ = true;
            return "E";
        }
        const bool sellable = std::any_of(carried_.begin(), carried_.end(), [&](const std::string& name) {
            const char type = ItemTypeNamed(name);
            return (name[0] == '?' && carried_.size() >= 7) || (type != 0 && type != 'P' && !Upgrade(name));
        });
        const bool unknown =
            std::any_of(carried_.begin(), carried_.end(), [](const std::string& name) { return name[0] == '?'; });
        if (unknown && gold_ >= 300 && shopSteps_ < 30) return "I";
        if (sellable && shopSteps_ < 40) return "S";
        const int digit = ShelfDigitToBuy(s);
        if (digit >= 0) return std::string(1, char('0' + digit));
        if (s.rows[5] != lastShelfTop_) {
            lastShelfTop_ = s.rows[5];
            return "N";
        }
        shopDone_ = true;
        return "E";
    }
    if (s.Has("それでも購入しますか？(Y/N)")) return "N";
    if (s.Has("を購入します")) return "Y";
    if (s.RowHas(1, "を購入しました")) {
        const std::string& row = s.rows[1];
        carried_.push_back(row.substr(1, row.find("を購入しました") - 1));
        return " ";
    }
    return SaleOrIdentification(s);
}

std::string CampaignPlayer::SaleOrIdentification(const Screen& s) {
    const bool selling = s.Has("どれを売りますか？");
    if (!selling && !s.Has("どの持ち物を鑑定しますか？")) return {};
    carried_.clear();
    for (const ListedEntry& e : ListedEntries(s))
        carried_.push_back(e.name);
    for (const ListedEntry& e : ListedEntries(s)) {
        const char type = ItemTypeNamed(e.name);
        const bool unknown = e.name[0] == '?';
        const bool sell =
            (unknown && carried_.size() >= 7 && gold_ < 300) || (type != 0 && type != 'P' && !Upgrade(e.name));
        if ((selling && sell) || (!selling && unknown)) {
            if (selling)
                carried_.erase(std::find(carried_.begin(), carried_.end(), e.name));
            else
                outfitSeen_ = false;
            return std::string(1, char('0' + e.digit));
        }
    }
    return "N";
}

std::string CampaignPlayer::Guild(const Screen& s) {
    if (s.Has("ここは冒険者ギルドです")) {
        const std::string skill = guildDone_ ? std::string() : SkillToLearn();
        for (const auto& offer : kSkillOffers) {
            if (skill == offer.name) return offer.list;
        }
        guildDone_ = true;
        return "E";
    }
    if (s.Has("修得したい技能を数字キーで選んでください")) {
        gold_ = s.NumberAfter("所持金　").value_or(gold_);
        const std::string skill = guildDone_ ? std::string() : SkillToLearn();
        const int digit = skill.empty() ? -1 : DigitNaming(s, skill);
        if (digit < 0) return "N";
        return std::string(1, char('0' + digit));
    }
    if (s.Has("を修得しました！")) {
        const std::string& row = s.rows[3];
        skills_.push_back(row.substr(1, row.find("を修得しました！") - 1));
        return " ";
    }
    if (s.Has("を修得するだけの") || s.Has("はすでに修得しています")) {
        guildDone_ = true;
        return " ";
    }
    return {};
}

std::string CampaignPlayer::Tavern(const Screen& s) {
    if (s.Has("ここは酒場です")) {
        tavernDone_ = true;
        return companion_ ? "E" : "1";
    }
    // The answer stays on the screen under the question.
    if (s.Has("を誘いました")) {
        companion_ = true;
        everHired_ = true;
        return " ";
    }
    if (s.Has("を誘いますか？(Y/N)")) return "Y";
    return {};
}

std::string CampaignPlayer::Character(const Screen& s) {
    if (s.Has("持ち物を見る(I)") && s.Has("戻る(R)")) {
        ReadSheet(s);
        const bool wantsToEquip = std::any_of(carried_.begin(), carried_.end(), [&](const std::string& name) {
            return Upgrade(name) && std::find(refused_.begin(), refused_.end(), name) == refused_.end();
        });
        if (!outfitSeen_ || wantsToEquip || !using_.empty()) return "I";
        return "R";
    }
    if (const auto outfit = ReadOutfit(s)) {
        outfitSeen_ = true;
        carried_ = outfit->carried;
        for (std::size_t i = 0; i < kSlotLabels.size(); ++i) {
            const std::string& row = s.rows[4 + i];
            std::size_t at = row.find(kSlotLabels[i]) + std::string(kSlotLabels[i]).size();
            at = row.find_first_not_of(' ', at);
            const std::string name = row.substr(at, row.find(' ', at) - at);
            worn_[i].name = name == "装備していません" ? std::string() : name;
            worn_[i].value = ItemValue(worn_[i].name);
        }
        if (!using_.empty()) {
            if (std::find(carried_.begin(), carried_.end(), using_) != carried_.end()) return "U";
            using_.clear();
        }
        equipping_.clear();
        for (const std::string& name : carried_) {
            if (Upgrade(name) && std::find(refused_.begin(), refused_.end(), name) == refused_.end()) {
                equipping_ = name;
                return "E";
            }
        }
        return "R";
    }
    if (s.Has("装備する持ち物を数字キーで選んでください")) {
        const int digit = equipping_.empty() ? -1 : DigitOfEntry(s, equipping_);
        return digit < 0 ? "R" : std::string(1, char('0' + digit));
    }
    if (s.Has("をどちらの手に装備しますか？(L/R)")) return ItemTypeNamed(equipping_) == 'S' ? "L" : "R";
    if (s.Has("は重くて装備できませんでした") || s.Has("は両手用の武器です") ||
        s.Has("すでに両手用の武器を装備していますので")) {
        refused_.push_back(equipping_);
        return " ";
    }
    if (s.Has("使用できる道具を持っていません")) {
        carried_.erase(std::remove_if(carried_.begin(), carried_.end(),
                                      [](const std::string& name) { return ItemTypeNamed(name) == 'P'; }),
                       carried_.end());
        using_.clear();
        return " ";
    }
    if (s.Has("使用する道具を数字キーで選んでください")) {
        carried_.clear();
        for (const ListedEntry& e : ListedEntries(s))
            carried_.push_back(e.name);
        const int digit = using_.empty() ? -1 : DigitOfEntry(s, using_);
        if (digit >= 0) return std::string(1, char('0' + digit));
        carried_.erase(std::remove(carried_.begin(), carried_.end(), using_), carried_.end());
        using_.clear();
        return s.Has("戻る(R)") ? "R" : "N";
    }
    if (s.RowHas(3, "を使いました")) {
        const auto at = std::find(carried_.begin(), carried_.end(), using_);
        if (at != carried_.end()) carried_.erase(at);
        if (using_ != "太陽の石") using_.clear();
        return " ";
    }
    return {};
}

}  // namespace kestran::bot
