// The title screen: the first screen of the game.
#pragma once

namespace kestran {
struct Runtime;
}

namespace kestran::game {

// Clears the screen and shows the game's name, its three choices and the credits.
void DrawTitleScreen(Runtime& rt);

// The title screen: drawn once, then keys are read one at a time. The choices (N, L, D) lead
// to screens that do not exist yet, so every key is read and ignored until the program ends.
void TitleScreen(Runtime& rt);

}  // namespace kestran::game
