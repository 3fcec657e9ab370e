// The bot's idea of where the hero stands in the labyrinth, kept by dead reckoning from the keys
// it presses and the walls of the floor maps, and the way to the next place it wants to reach.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace kestran::bot {

struct Position {
    int floor = 0;   // 0: in town
    int x = 1;       // 1..20
    int y = 0;       // 0..19
    int facing = 3;  // 1 west, 2 north, 3 east, 4 south
};

enum class Goal { Explore, GoDown, GoUp, Elevator, Master };

class Explorer {
public:
    // The hero has just entered from the town: the staircase of floor 1, facing east.
    void Enter();
    void Leave() { pos_.floor = 0; }
    void Set(const Position& p) { pos_ = p; }
    const Position& position() const { return pos_; }
    bool InLabyrinth() const { return pos_.floor > 0; }

    // What a key does to the position (the key as the exploration loop takes it).
    void StepForward();
    void Turn(int quarterTurns);
    // Follows a walking key ("{Up}", "{Left}", "{Right}", "{Down}"); other keys change nothing.
    void Follow(const std::string& key);
    void ChangeFloor(int floor) { pos_.floor = floor; }

    // The cell's start-up event ("U", "D", "T", "1", ...): chests may be gone since.
    char StartEvent(int x, int y) const;
    double ExploredShare() const;

    // The key (in key-script notation) that takes the hero one move toward the goal, or empty
    // when the goal is reached or cannot be reached.
    std::string NextKey(Goal goal);
    // The key of a step to a neighbouring cell where monsters may be met (`pick` chooses among
    // them), or empty when no neighbour is one; to linger where the fights are.
    std::string WanderKey(int pick) const;
    // Like NextKey(Goal::Explore), but only toward cells at most `reach` steps from the floor's
    // up staircase, so that the way home stays short.
    std::string ExploreNear(int reach);
    // The start-up event of the hero's own cell.
    char EventHere() const { return StartEvent(pos_.x, pos_.y); }

private:
    bool Walled(int x, int y, int direction) const;
    // The first direction of a shortest way to the nearest cell that `wanted` accepts.
    std::optional<int> FirstStepTo(bool (*wanted)(const Explorer&, int x, int y)) const;
    std::string KeyFor(int direction) const;

    Position pos_;
    std::array<std::array<std::array<bool, 21>, 20>, 7> visited_{};
    std::array<std::array<bool, 21>, 20> nearStairs_{};  // the cells ExploreNear may aim at
};

}  // namespace kestran::bot
