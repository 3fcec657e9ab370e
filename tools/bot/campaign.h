// The bot's campaign player: plays one hero through a whole game as a careful player would. It
// fights near the stairs of the deepest floor its level allows, goes home to the inn before the
// hit points run out (by the stairs, the elevator or a stone that carries it home), buys better
// equipment, potions and stones, learns skills at the guild, hires a companion, writes the diary
// now and then and once ends the program to load the diary in a second run; when strong enough it
// goes down to the last floor and fights the master. It presses no key without a purpose.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "explorer.h"
#include "reading.h"
#include "screen.h"
#include "strategy.h"

namespace kestran::bot {

// The levels and maximum hit points from which the campaign fights on each floor (index: floor
// - 1), and from which it goes down to fight the master.
struct CampaignPlan {
    std::array<int, 6> floorLevel{1, 4, 8, 12, 17, 22};
    std::array<int, 6> floorHp{0, 140, 200, 270, 350, 430};
    // Whether a companion goes down on every descent (else only once, and to the master).
    bool alwaysCompanion = true;
    int masterLevel = 26;
    int masterHp = 500;
    // After this many keys the next diary at the inn is followed by a restart and a load.
    long restartAfterKeys = 3000;
};

class CampaignPlayer final : public Strategy {
public:
    CampaignPlayer(uint32_t seed, CampaignPlan plan) : random_(seed), plan_(plan) {}

    std::string Next(const Screen& screen) override;
    bool HeroDied() const override { return died_; }
    int DeepestFloor() const override { return deepest_; }
    // The player has closed the program to load its diary in a new run.
    bool WantsRestart() const { return restartNow_; }
    void Restarted() { restartNow_ = false; }
    bool FoughtMaster() const { return masterFought_; }
    int Level() const { return level_; }

private:
    struct Worn {
        std::string name;
        int value = 0;
    };

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string Title(const Screen& s);
    std::string Creation(const Screen& s);
    std::string Files(const Screen& s);
    std::string Town(const Screen& s);
    std::string Inn(const Screen& s);
    std::string Shop(const Screen& s);
    std::string Guild(const Screen& s);
    std::string Tavern(const Screen& s);
    std::string Character(const Screen& s);
    std::string Fight(const Screen& s);
    std::string Chest(const Screen& s);
    std::string Labyrinth(const Screen& s);
    std::string Camp(const Screen& s);
    std::string Walk(Goal goal);

    void ReadSheet(const Screen& s);
    void ReadPanel(const Screen& s);
    bool Hurt(double share) const { return hp_ * 100 < maxHp_ * long(share * 100); }
    int LevelPlanFloor() const;
    bool MasterReady() const;
    // Shopping: the backpack item to sell, the shelf item to buy (digit), or -1.
    int ShelfDigitToBuy(const Screen& s) const;
    std::string SaleOrIdentification(const Screen& s);
    bool Upgrade(const std::string& name) const;
    int Count(const std::string& name) const;
    std::string SkillToLearn() const;
    std::string PotionForFight() const;

    std::mt19937 random_;
    CampaignPlan plan_;
    long keys_ = 0;
    // The hero as the screens showed it last.
    std::array<long, 7> stats_{};
    long level_ = 1, hp_ = 1, maxHp_ = 1, tp_ = 0, maxTp_ = 0, gold_ = 0;
    bool poisoned_ = false;
    std::array<Worn, 6> worn_{};
    std::vector<std::string> carried_;
    std::vector<std::string> skills_;
    bool outfitSeen_ = false;
    bool companion_ = false;
    bool everHired_ = false;
    // Progress of a visit to a screen with several steps.
    int distributed_ = 0;
    std::array<int, 7> plannedPoints_{};
    int addedHere_ = 0;
    long levelPoints_ = 0;  // level-up points given so far, to spread them over the attributes
    int shelf_ = 0;
    int shopSteps_ = 0;
    std::string equipping_;
    std::vector<std::string> refused_;
    std::string using_;  // the item being used in the camp
    bool goHome_ = false;
    bool backpackFull_ = false;
    std::string fightSkill_;
    int lastBonus_ = 0;
    std::string lastShelfTop_;
    bool shopDone_ = false, guildDone_ = false, tavernDone_ = false;
    bool restartReady_ = false;
    int rerolls_ = 0;
    StuckCounter stuck_;
    int sameScreen_ = 0;
    bool enteringLabyrinth_ = false;
    bool inTown_ = true;
    bool campDone_ = false;
    int townVisits_ = 0;
    int innVisits_ = 0;
    bool savedOnce_ = false;
    bool restartDone_ = false;
    bool restartAfterSave_ = false;
    bool restartNow_ = false;
    bool loading_ = false;
    bool masterFought_ = false;
    bool died_ = false;
    int deepest_ = 0;
    int wander_ = 0;
    Explorer explorer_;
};

}  // namespace kestran::bot
