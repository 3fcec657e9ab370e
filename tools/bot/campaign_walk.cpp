// The campaign in the labyrinth: down to the floor the hero's level allows, fights there, home
// before the hit points run out, and at last the master's cell.
#include <algorithm>

#include "campaign.h"
#include "reading.h"

namespace kestran::bot {

std::string CampaignPlayer::Walk(Goal goal) {
    // Fights are sought near the stairs, farther as the hero grows.
    std::string key = goal == Goal::Explore ? explorer_.ExploreNear(6 + int(level_) * 2) : explorer_.NextKey(goal);
    // The elevator cannot be reached from every part of a floor: then the stairs.
    if (key.empty() && goal == Goal::Elevator) key = explorer_.NextKey(goHome_ ? Goal::GoUp : Goal::GoDown);
    if (key.empty() && goal == Goal::Explore) key = explorer_.WanderKey(wander_++ / 2);
    if (key.empty()) {
        const char* keys[] = {"{Up}", "{Left}", "{Right}", "{Up}"};
        key = keys[Pick(4)];
    }
    explorer_.Follow(key);
    return key;
}

std::string CampaignPlayer::Labyrinth(const Screen& s) {
    if (s.Has("エレベーターに乗りました")) {
        const int floor = goHome_ ? 1 : std::min(MasterReady() ? 6 : LevelPlanFloor(), 3);
        explorer_.ChangeFloor(floor);
        return std::string(1, char('0' + floor));
    }
    if (!(s.RowHas(22, "キャンプ (C)") && s.RowHas(21, "移動（カーソルキー)"))) return {};
    if (enteringLabyrinth_) {
        explorer_.Enter();
        enteringLabyrinth_ = false;
        inTown_ = false;
        backpackFull_ = false;
    }
    ReadPanel(s);
    const int floor = explorer_.position().floor;
    deepest_ = std::max(deepest_, floor);
    const bool toMaster = MasterReady();
    const int target = toMaster ? 6 : LevelPlanFloor();
    const bool stone = Count("太陽の石") > 0;
    const bool cures = Count("体力完治薬") > 0;
    const double retreat = toMaster && cures ? 0.3 : stone ? 0.45 : 0.6;
    if (Hurt(retreat) || (poisoned_ && Hurt(0.8))) goHome_ = true;

    if (goHome_) {
        if (stone) {
            using_ = "太陽の石";
            return "C";
        }
        if (s.Has("上に上がる(U)")) {
            explorer_.ChangeFloor(floor - 1);
            return "U";
        }
        if (floor <= 3 && floor > 1) {
            if (s.Has("エレベーターを使う(E)")) return "E";
            return Walk(Goal::Elevator);
        }
        return Walk(Goal::GoUp);
    }
    if (floor < target) {
        if (floor < 3 && target > floor + 1 && s.Has("エレベーターを使う(E)")) return "E";
        if (s.Has("下に下りる(D)")) {
            explorer_.ChangeFloor(floor + 1);
            return "D";
        }
        return Walk(floor < 3 && target > floor + 1 ? Goal::Elevator : Goal::GoDown);
    }
    if (floor > target) {
        if (s.Has("上に上がる(U)")) {
            explorer_.ChangeFloor(floor - 1);
            return "U";
        }
        return Walk(Goal::GoUp);
    }
    if (toMaster) {
        // The master is met whole: heal in the camp on the way to it.
        if (Hurt(0.7) && Count("体力完治薬") > 0) {
            using_ = "体力完治薬";
            return "C";
        }
        return Walk(Goal::Master);
    }
    if (s.Has("宝箱を開ける(O)") && !Hurt(0.6)) return "O";
    return Walk(Goal::Explore);
}

}  // namespace kestran::bot
