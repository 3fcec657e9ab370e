// What the bot's window asks of a player: the next key at each key wait, and how the game went.
#pragma once

#include <string>

#include "screen.h"

namespace kestran::bot {

class Strategy {
public:
    virtual ~Strategy() = default;
    // The next key in key-script notation ("Y", "{Enter}", "{Up}", UTF-8 text for a name).
    virtual std::string Next(const Screen& screen) = 0;
    // The game said the hero died.
    virtual bool HeroDied() const = 0;
    virtual int DeepestFloor() const = 0;
};

}  // namespace kestran::bot
