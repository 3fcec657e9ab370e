// The bot's player: looks at the screen at each key wait and answers with a key a player might
// press there, now and then a key that means nothing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "explorer.h"
#include "reading.h"
#include "screen.h"
#include "strategy.h"

namespace kestran::bot {

class Player final : public Strategy {
public:
    explicit Player(uint32_t seed) : random_(seed) {}

    std::string Next(const Screen& screen) override;
    bool HeroDied() const override { return died_; }
    int DeepestFloor() const override { return deepest_; }

private:
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string Digit(int below) { return std::string(1, char('0' + Pick(below))); }
    std::string Nonsense();
    std::string Unstick();

    std::optional<std::string> Title(const Screen& s);
    std::optional<std::string> Creation(const Screen& s);
    std::optional<std::string> Files(const Screen& s);
    std::optional<std::string> Town(const Screen& s);
    std::optional<std::string> Shop(const Screen& s);
    std::optional<std::string> Guild(const Screen& s);
    std::optional<std::string> CharacterScreens(const Screen& s);
    std::optional<std::string> Fight(const Screen& s);
    std::optional<std::string> Chest(const Screen& s);
    std::optional<std::string> Labyrinth(const Screen& s);
    std::optional<std::string> Questions(const Screen& s);

    bool WantsToEquip() const;
    std::string ItemToEquip() const;
    bool NeedsShopping() const;
    int Potions() const;
    std::optional<std::string> Shopping(const Screen& s);

    std::mt19937 random_;
    // What the backpack screen showed last, and what was bought since.
    std::array<bool, 6> worn_{};
    bool outfitKnown_ = false;
    std::vector<std::string> carried_;
    std::string equipping_;
    std::vector<std::string> refused_;  // items the hero could not put on
    double hpRatio_ = 1;
    int shopKeys_ = 0;
    Explorer explorer_;
    std::optional<Position> saved_;  // where the hero stood at the last save
    Position savingAt_;
    bool enteringLabyrinth_ = false;
    bool died_ = false;
    int deepest_ = 0;
    bool everSaved_ = false;
    int distributed_ = 0;  // Enter presses in the bonus distribution
    StuckCounter stuck_;
    int sameScreen_ = 0;
};

}  // namespace kestran::bot
