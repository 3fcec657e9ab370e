#include "game/town/title.h"

#include "runtime/console/keyboard.h"
#include "runtime/console/screen.h"

namespace kestran::game {

void DrawTitleScreen(Runtime& rt) {
    PbCls(rt);
    PbLocate(rt, 33, 5);
    PbPrintString(rt, "KESTRAN", PbSep::End);
    PbLocate(rt, 33, 14);
    PbPrintString(rt, "(N) NEW  GAME", PbSep::End);
    PbLocate(rt, 33, 15);
    PbPrintString(rt, "(L) DATA LORD", PbSep::End);
    PbLocate(rt, 34, 16);
    PbPrintString(rt, "(D) CONVERT", PbSep::End);
    PbLocate(rt, 27, 20);
    PbPrintString(rt, "(C) 2026 THE KESTRAN TEAM", PbSep::End);
    PbLocate(rt, 13, 21);
    PbPrintString(rt, "A NEW IMPLEMENTATION OF THE GAME AND ITS RUNTIME IN C++", PbSep::End);
}

void TitleScreen(Runtime& rt) {
    DrawTitleScreen(rt);
    for (;;)
        PbInputChars(rt, 1);
}

}  // namespace kestran::game
