#include "game/camp/camp_menu.h"

namespace kestran::game {

// Being built: the camp is struck at once.
CampExit CampMenu(Game&) {
    return CampExit::Strike;
}

}  // namespace kestran::game
