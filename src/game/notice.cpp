#include "game/notice.h"

namespace kestran::game {

void ShowNotice(Game& g, std::initializer_list<PrintItem> message, std::source_location where) {
    ClearScreen(g, where);
    PrintAt(g, 1, 1, message, where);
    PromptForKey(g, 2, where);
}

void PromptForKey(Game& g, double row, std::source_location where) {
    PrintAt(g, 1, row, {"何かキーを押して下さい"_sj}, where);
    WaitForKey(g, where);
}

}  // namespace kestran::game
