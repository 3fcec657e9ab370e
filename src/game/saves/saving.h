// saves/: the hero on a drive: the save file's fields in their order (save_file.h) and the
// screens that save, load and convert (here), called from the title, the inn and the camp.
//
// Saving, loading and converting the hero. The player names the drive by one key; the file is
// that letter followed by ":KSSAVE" (":VELDSAVE" for a hero of the predecessor game).
#pragma once

#include "game/game.h"

namespace kestran::game {

// Asks for the drive and writes the save file; asks again after a failure, so it returns only
// after a successful save (and a key).
void SaveCharacter(Game& g);

// Asks for the drive and reads the save file. Gives the town after a successful load; after a
// failure, the title, with every game variable as it was before the load began.
Scene LoadCharacter(Game& g);

// Reads a hero of the predecessor game, puts the staircase into floor 5 and writes it as a save
// file on the same drive. Gives the title. A failure leaves every game variable as it was.
Scene ConvertCharacter(Game& g);

}  // namespace kestran::game
