// A hero in the labyrinth facing a group of monsters, for the fight's tests.
#pragma once

#include "game/dungeon/dungeon_fixture.h"
#include "game/fight/fight.h"
#include "game/fight/fight_internal.h"
#include "game/state/code_fields.h"

namespace kestran::game::testing {

class FightTest : public DungeonTest {
protected:
    FightTest() {
        StandAt(1, 2, 0, kEast);
        s.hitBonus = 5;
        s.damageBonus = 5;
        s.evadeBonus = 5;
        s.physicalDefense = 3;
        s.magicDefense = 2;
        s.handedness = "右"_sj;
        s.bodyState = "通常"_sj;
        s.heroStats(3) = 12;  // agility
        s.heroStats(1) = 20;  // intelligence
        s.maxMp = 60;
        s.heroStats(8) = 60;
        s.bossFight = "0";
    }

    // `count` monsters of table entry `kind` in the group slots.
    void Group(int kind, int count) {
        s.monsterKind = kind;
        s.lastMonster = count - 1;
        for (int i = 0; i < 3; ++i) {
            const bool here = i < count;
            s.monsterName(i) = here ? s.monsterTableName(kind) : "";
            s.monsterHp(i) = here ? float(MonsterHitPoints(s.monsterTableCode(kind))) : 0;
            s.monsterPower(i) = s.monsterHp(i);
        }
    }

    // Puts item `item` of the table into equipment slot `slot`.
    void Wear(int slot, int item) {
        s.equipTrueName(slot) = s.itemTrueName(item);
        s.equipName(slot) = s.itemTrueName(item);
        s.equipCode(slot) = s.itemCode(item);
    }

    void Carry(int slot, int item) {
        s.inventoryTrueName(slot) = s.itemTrueName(item);
        s.inventoryName(slot) = s.itemTrueName(item);
        s.inventoryCode(slot) = s.itemCode(item);
    }

    static std::string Num(double v) { return " " + std::to_string(long(v)) + " "; }
};

}  // namespace kestran::game::testing
