// The item shop: ten items to a shelf, buying, identifying and selling. Stock is unlimited; an
// identified item sold to the shop stays on its shelves for good.
#pragma once

#include <string_view>

#include "game/game.h"

namespace kestran::game {

// The shop's screen and key loop, drawn afresh after every action; gives the town on "E".
Scene ItemShop(Game& g);

// Prints the shelf that starts at rank shelfStart among the items on sale (rows 5 to 14).
void ShowShelf(Game& g);
// The next shelf, unless it would be empty.
void NextShelf(Game& g);
// The previous shelf, unless this is the first.
void PreviousShelf(Game& g);
// Offers the item of the shelf that `key` picks (a non-digit picks the first).
void BuyItem(Game& g, std::string_view key);
// Lists the backpack and identifies unidentified items for a quarter of their price, until "N".
void IdentifyItem(Game& g);
// Lists the backpack and buys items, until "N" or until nothing is left.
void SellItem(Game& g);

}  // namespace kestran::game
