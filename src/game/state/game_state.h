// state/: the game's variables, its constant tables (items, monsters, abilities) and the floor
// maps, with the rules on the hero's record that every screen uses.
//
// Every variable of the game, under the names the rest of the game uses. All of it lives for the
// whole run: InitializeGameState dimensions the arrays and fills the constant tables once, a new
// game rewrites only the hero's record, and a load replaces every saved variable.
//
// Counts, indices and gold are whole numbers held in single-precision variables. Texts are
// Shift-JIS. Arrays are used only after InitializeGameState has given them their sizes.
#pragma once

#include "runtime/values/arrays.h"
#include "runtime/values/sjis.h"

namespace kestran::game {

struct GameState {
    // --- the hero ---
    PbString heroName;
    PbArray<float> heroStats;          // 0..6 attributes (order of attributeNames), 7 HP, 8 MP, 9 TP, 10 experience
    PbArray<PbString> attributeNames;  // 7
    float maxHp = 0;
    float maxMp = 0;
    float maxTp = 0;
    float heroLevel = 0;
    float damageBonus = 0;
    float hitBonus = 0;
    float evadeBonus = 0;
    float physicalDefense = 0;
    float magicDefense = 0;
    float gold = 0;
    PbString handedness;  // "右", "左" or "両"
    PbString bodyState;   // "通常", "毒", "病気" or "毒　病気" (see the body-state operations)
    PbString reservedText;

    // --- creation and level-up: bonus points being distributed ---
    PbArray<float> pointsAdded;  // 7
    float bonusPoints = 0;

    // --- backpack (10 slots) and worn equipment (6 slots: head, body, right, left, arms, feet) ---
    // A slot is free when its names are empty; occupied backpack slots always come first.
    PbArray<PbString> inventoryTrueName;
    PbArray<PbString> inventoryName;  // "?" + kind name while unidentified
    PbArray<PbString> inventoryCode;
    PbArray<PbString> equipTrueName;
    PbArray<PbString> equipName;
    PbArray<PbString> equipCode;

    // --- learned abilities (10 each, filled from index 0, never removed) ---
    PbArray<PbString> learnedSkills;
    PbArray<PbString> learnedMageSpells;
    PbArray<PbString> learnedPriestSpells;

    // --- companion ---
    PbString companionName;  // empty: no companion
    PbString companionLine;

    // --- position: floor 0 is the town; posX 1..20 is the character of the row, posY 0..19 the row ---
    float dungeonFloor = 0;
    float posX = 0;
    float posY = 0;
    float facing = 0;  // 1 west, 2 north, 3 east, 4 south
    float stealthWalk = 0;
    float stepTaken = 0;
    float redrawRequest = 0;
    PbString cellEvent;

    // --- the corridor view: wall digit and "0"/"1" side flags of the six examined cells ---
    PbArray<PbString> viewCells;
    PbArray<PbString> viewWalls;

    // --- the fight ---
    PbArray<PbString> monsterName;  // 3
    PbArray<float> monsterHp;
    PbArray<float> monsterPower;
    float monsterKind = 0;
    float lastMonster = 0;
    PbString bossFight;
    float surprise = 0;
    float messageRow = 0;
    float monstersActed = 0;
    float turnHitBonus = 0;
    float turnDamageBonus = 0;
    float hitsAll = 0;
    float abilityCost = 0;
    float handHitBonus = 0;
    float handAttack = 0;
    float fightArmourBonus = 0;
    float armourSum = 0;
    float damageTaken = 0;

    // --- town screens ---
    PbArray<PbString> shopStock;  // per item of the item table: "1" = on sale
    float shelfStart = 0;
    float price = 0;
    float requiredStat = 0;
    float chosenSlot = 0;
    float fee = 0;
    PbString saveDrive;
    PbString loadDrive;
    PbString saveFileName;
    PbString loadFileName;

    // --- constant tables, filled at start-up ---
    PbArray<PbString> itemTrueName;  // 100
    PbArray<PbString> itemGenericName;
    PbArray<PbString> itemCode;
    PbArray<PbString> monsterTableName;  // 100, entries 0..30 filled
    PbArray<PbString> monsterTableCode;
    PbArray<PbString> abilityNames;  // 30, filled on every entry into the guild

    // --- floor maps, indexed (floor - 1, row); walls never change, events are saved ---
    PbArray<PbString> mapWalls;
    PbArray<PbString> mapEvents;
};

}  // namespace kestran::game
