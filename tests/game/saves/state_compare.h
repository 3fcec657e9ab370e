// Comparison of two whole game states, variable by variable, naming the first difference.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/state/game_state.h"

namespace kestran::game::testing {

template <class T>
bool SameArray(const PbArray<T>& a, const PbArray<T>& b) {
    return a.dims() == b.dims() && a.extent(0) == b.extent(0) && a.extent(1) == b.extent(1) &&
           std::equal(a.data(), a.data() + a.size(), b.data(), b.data() + b.size());
}

// Success when every variable of the two states is equal.
inline ::testing::AssertionResult SameState(const GameState& a, const GameState& b) {
    static constexpr float GameState::*kNumbers[] = {&GameState::maxHp,
                                                     &GameState::maxMp,
                                                     &GameState::maxTp,
                                                     &GameState::heroLevel,
                                                     &GameState::damageBonus,
                                                     &GameState::hitBonus,
                                                     &GameState::evadeBonus,
                                                     &GameState::physicalDefense,
                                                     &GameState::magicDefense,
                                                     &GameState::gold,
                                                     &GameState::bonusPoints,
                                                     &GameState::dungeonFloor,
                                                     &GameState::posX,
                                                     &GameState::posY,
                                                     &GameState::facing,
                                                     &GameState::stealthWalk,
                                                     &GameState::stepTaken,
                                                     &GameState::redrawRequest,
                                                     &GameState::monsterKind,
                                                     &GameState::lastMonster,
                                                     &GameState::surprise,
                                                     &GameState::messageRow,
                                                     &GameState::monstersActed,
                                                     &GameState::turnHitBonus,
                                                     &GameState::turnDamageBonus,
                                                     &GameState::hitsAll,
                                                     &GameState::abilityCost,
                                                     &GameState::handHitBonus,
                                                     &GameState::handAttack,
                                                     &GameState::fightArmourBonus,
                                                     &GameState::armourSum,
                                                     &GameState::damageTaken,
                                                     &GameState::shelfStart,
                                                     &GameState::price,
                                                     &GameState::requiredStat,
                                                     &GameState::chosenSlot,
                                                     &GameState::fee};
    static constexpr PbString GameState::*kStrings[] = {
        &GameState::heroName,      &GameState::handedness,    &GameState::bodyState,    &GameState::reservedText,
        &GameState::companionName, &GameState::companionLine, &GameState::cellEvent,    &GameState::bossFight,
        &GameState::saveDrive,     &GameState::loadDrive,     &GameState::saveFileName, &GameState::loadFileName};
    static constexpr PbArray<float> GameState::*kNumberArrays[] = {&GameState::heroStats, &GameState::pointsAdded,
                                                                   &GameState::monsterHp, &GameState::monsterPower};
    static constexpr PbArray<PbString> GameState::*kStringArrays[] = {
        &GameState::attributeNames,    &GameState::inventoryTrueName,
        &GameState::inventoryName,     &GameState::inventoryCode,
        &GameState::equipTrueName,     &GameState::equipName,
        &GameState::equipCode,         &GameState::learnedSkills,
        &GameState::learnedMageSpells, &GameState::learnedPriestSpells,
        &GameState::viewCells,         &GameState::viewWalls,
        &GameState::monsterName,       &GameState::shopStock,
        &GameState::itemTrueName,      &GameState::itemGenericName,
        &GameState::itemCode,          &GameState::monsterTableName,
        &GameState::monsterTableCode,  &GameState::abilityNames,
        &GameState::mapWalls,          &GameState::mapEvents};
    for (std::size_t i = 0; i < std::size(kNumbers); ++i) {
        if (a.*kNumbers[i] != b.*kNumbers[i]) return ::testing::AssertionFailure() << "number #" << i << " differs";
    }
    for (std::size_t i = 0; i < std::size(kStrings); ++i) {
        if (a.*kStrings[i] != b.*kStrings[i]) return ::testing::AssertionFailure() << "string #" << i << " differs";
    }
    for (std::size_t i = 0; i < std::size(kNumberArrays); ++i) {
        if (!SameArray(a.*kNumberArrays[i], b.*kNumberArrays[i]))
            return ::testing::AssertionFailure() << "number array #" << i << " differs";
    }
    for (std::size_t i = 0; i < std::size(kStringArrays); ++i) {
        if (!SameArray(a.*kStringArrays[i], b.*kStringArrays[i]))
            return ::testing::AssertionFailure() << "string array #" << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace kestran::game::testing
