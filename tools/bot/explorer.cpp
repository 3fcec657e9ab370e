#include "explorer.h"

#include <deque>
#include <vector>

#include "game/state/tables.h"

namespace kestran::bot {
namespace {

constexpr int kDx[5] = {0, -1, 0, 1, 0};
constexpr int kDy[5] = {0, 0, -1, 0, 1};

int Turned(int direction, int quarterTurns) {
    return (direction - 1 + quarterTurns + 8) % 4 + 1;
}

int HexDigit(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

}  // namespace

void Explorer::Enter() {
    pos_ = Position{1, 1, 0, 3};
    visited_[1][0][1] = true;
}

char Explorer::StartEvent(int x, int y) const {
    return game::StartFloorRows()[std::size_t(pos_.floor - 1)][std::size_t(y)].events[std::size_t(x - 1)];
}

bool Explorer::Walled(int x, int y, int direction) const {
    const char digit = game::StartFloorRows()[std::size_t(pos_.floor - 1)][std::size_t(y)].walls[std::size_t(x - 1)];
    return (HexDigit(digit) >> (direction - 1) & 1) != 0;
}

void Explorer::StepForward() {
    if (!InLabyrinth() || Walled(pos_.x, pos_.y, pos_.facing)) return;
    pos_.x += kDx[pos_.facing];
    pos_.y += kDy[pos_.facing];
    visited_[std::size_t(pos_.floor)][std::size_t(pos_.y)][std::size_t(pos_.x)] = true;
}

void Explorer::Turn(int quarterTurns) {
    pos_.facing = Turned(pos_.facing, quarterTurns);
}

void Explorer::Follow(const std::string& key) {
    if (key == "{Up}") StepForward();
    if (key == "{Left}") Turn(-1);
    if (key == "{Right}") Turn(1);
    if (key == "{Down}") Turn(2);
}

double Explorer::ExploredShare() const {
    int seen = 0;
    for (const auto& row : visited_[std::size_t(pos_.floor)]) {
        for (bool v : row)
            seen += v;
    }
    return seen / 400.0;
}

std::optional<int> Explorer::FirstStepTo(bool (*wanted)(const Explorer&, int x, int y)) const {
    std::array<std::array<int, 21>, 20> first{};  // first direction taken to reach the cell; 0 unseen
    std::deque<std::pair<int, int>> queue{{pos_.x, pos_.y}};
    first[std::size_t(pos_.y)][std::size_t(pos_.x)] = -1;
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        if ((x != pos_.x || y != pos_.y) && wanted(*this, x, y)) return first[std::size_t(y)][std::size_t(x)];
        for (int d = 1; d <= 4; ++d) {
            if (Walled(x, y, d)) continue;
            const int nx = x + kDx[d];
            const int ny = y + kDy[d];
            if (first[std::size_t(ny)][std::size_t(nx)] != 0) continue;
            first[std::size_t(ny)][std::size_t(nx)] =
                first[std::size_t(y)][std::size_t(x)] == -1 ? d : first[std::size_t(y)][std::size_t(x)];
            queue.emplace_back(nx, ny);
        }
    }
    return std::nullopt;
}

std::string Explorer::KeyFor(int direction) const {
    const int turn = (direction - pos_.facing + 4) % 4;
    return turn == 0 ? "{Up}" : turn == 1 ? "{Right}" : turn == 2 ? "{Down}" : "{Left}";
}

std::string Explorer::NextKey(Goal goal) {
    std::optional<int> step;
    switch (goal) {
        case Goal::Explore:
            step = FirstStepTo([](const Explorer& e, int x, int y) {
                return !e.visited_[std::size_t(e.pos_.floor)][std::size_t(y)][std::size_t(x)] &&
                       e.StartEvent(x, y) != 'K';
            });
            break;
        case Goal::GoDown:
            step = FirstStepTo([](const Explorer& e, int x, int y) { return e.StartEvent(x, y) == 'D'; });
            break;
        case Goal::GoUp:
            step = FirstStepTo([](const Explorer& e, int x, int y) { return e.StartEvent(x, y) == 'U'; });
            break;
        case Goal::Elevator:
            step = FirstStepTo([](const Explorer& e, int x, int y) { return e.StartEvent(x, y) == 'E'; });
            break;
        case Goal::Master:
            step = FirstStepTo([](const Explorer& e, int x, int y) { return e.StartEvent(x, y) == 'K'; });
            break;
    }
    return step ? KeyFor(*step) : std::string();
}

std::string Explorer::ExploreNear(int reach) {
    std::array<std::array<int, 21>, 20> distance{};
    for (auto& row : distance)
        row.fill(-1);
    std::deque<std::pair<int, int>> queue;
    for (int y = 0; y < 20; ++y) {
        for (int x = 1; x <= 20; ++x) {
            if (StartEvent(x, y) != 'U') continue;
            distance[std::size_t(y)][std::size_t(x)] = 0;
            queue.emplace_back(x, y);
        }
    }
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        for (int d = 1; d <= 4; ++d) {
            const int nx = x + kDx[d];
            const int ny = y + kDy[d];
            if (Walled(x, y, d) || distance[std::size_t(ny)][std::size_t(nx)] >= 0) continue;
            distance[std::size_t(ny)][std::size_t(nx)] = distance[std::size_t(y)][std::size_t(x)] + 1;
            queue.emplace_back(nx, ny);
        }
    }
    for (int y = 0; y < 20; ++y) {
        for (int x = 1; x <= 20; ++x) {
            const int d = distance[std::size_t(y)][std::size_t(x)];
            nearStairs_[std::size_t(y)][std::size_t(x)] = d >= 0 && d <= reach;
        }
    }
    const auto step = FirstStepTo([](const Explorer& e, int x, int y) {
        return !e.visited_[std::size_t(e.pos_.floor)][std::size_t(y)][std::size_t(x)] && e.StartEvent(x, y) != 'K' &&
               e.nearStairs_[std::size_t(y)][std::size_t(x)];
    });
    return step ? KeyFor(*step) : std::string();
}

std::string Explorer::WanderKey(int pick) const {
    std::vector<int> open;
    for (int d = 1; d <= 4; ++d) {
        if (Walled(pos_.x, pos_.y, d)) continue;
        const char event = StartEvent(pos_.x + kDx[d], pos_.y + kDy[d]);
        if (event == '1' || event == '3') open.push_back(d);
    }
    if (open.empty()) return {};
    return KeyFor(open[std::size_t(pick) % open.size()]);
}

}  // namespace kestran::bot
