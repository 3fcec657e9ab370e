#include "game/saves/save_file.h"

#include "game/hero_slots.h"
#include "game/state/tables.h"
#include "runtime/values/files.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

// A line of three strings joined by written commas.
void WriteTriple(Runtime& rt, double n, const PbString& a, const PbString& b, const PbString& c,
                 std::source_location where) {
    PbPrintFileString(rt, n, a, PbSep::Semicolon, where);
    PbPrintFileString(rt, n, ",", PbSep::Semicolon, where);
    PbPrintFileString(rt, n, b, PbSep::Semicolon, where);
    PbPrintFileString(rt, n, ",", PbSep::Semicolon, where);
    PbPrintFileString(rt, n, c, PbSep::End, where);
}

// Numbers in zones of 14 columns, the last one ending the line.
void WriteNumbers(Runtime& rt, double n, std::initializer_list<float> values, std::source_location where) {
    std::size_t left = values.size();
    for (float v : values)
        PbPrintFileNumber(rt, n, v, --left == 0 ? PbSep::End : PbSep::Comma, where);
}

void WriteHero(Runtime& rt, GameState& s, double n, std::source_location where) {
    for (int i = 0; i < kHeroStatCount; ++i)
        PbPrintFileNumber(rt, n, s.heroStats(i, where), PbSep::End, where);
    PbPrintFileString(rt, n, s.heroName, PbSep::Semicolon, where);
    PbPrintFileString(rt, n, ",", PbSep::Semicolon, where);
    WriteNumbers(rt, n, {s.damageBonus, s.hitBonus, s.evadeBonus, s.physicalDefense, s.magicDefense}, where);
    for (int i = 0; i < kBackpackSlots; ++i) {
        WriteTriple(rt, n, s.inventoryTrueName(i, where), s.inventoryName(i, where), s.inventoryCode(i, where), where);
    }
    WriteNumbers(
        rt, n,
        {s.maxHp, s.maxTp, s.maxMp, s.gold, s.dungeonFloor, s.posX, s.posY, s.heroLevel, s.facing, s.stealthWalk},
        where);
    for (int i = 0; i < kEquipSlots; ++i)
        WriteTriple(rt, n, s.equipTrueName(i, where), s.equipName(i, where), s.equipCode(i, where), where);
    PbPrintFileString(rt, n, s.handedness, PbSep::Semicolon, where);
    PbPrintFileString(rt, n, ",", PbSep::Semicolon, where);
    WriteTriple(rt, n, s.companionName, s.reservedText, s.bodyState, where);
}

void WriteWorld(Runtime& rt, GameState& s, double n, int floors, std::source_location where) {
    for (int f = 0; f < floors; ++f) {
        for (int y = 0; y < kFloorSize; ++y)
            PbPrintFileString(rt, n, s.mapEvents(f, y, where), PbSep::End, where);
    }
    for (int i = 0; i < kLearnedSlots; ++i) {
        WriteTriple(rt, n, s.learnedSkills(i, where), s.learnedMageSpells(i, where), s.learnedPriestSpells(i, where),
                    where);
    }
    for (int i = 0; i < kItemCount; ++i)
        PbPrintFileString(rt, n, s.shopStock(i, where), PbSep::End, where);
}

void ReadStrings(Runtime& rt, double n, std::initializer_list<PbString*> vars, std::source_location where) {
    for (PbString* v : vars)
        PbInputFileString(rt, n, *v, where);
}

void ReadNumbers(Runtime& rt, double n, std::initializer_list<float*> vars, std::source_location where) {
    for (float* v : vars)
        PbInputFileNumber(rt, n, *v, where);
}

void ReadHero(Runtime& rt, GameState& s, double n, std::source_location where) {
    for (int i = 0; i < kHeroStatCount; ++i)
        PbInputFileNumber(rt, n, s.heroStats(i, where), where);
    PbInputFileString(rt, n, s.heroName, where);
    ReadNumbers(rt, n, {&s.damageBonus, &s.hitBonus, &s.evadeBonus, &s.physicalDefense, &s.magicDefense}, where);
    for (int i = 0; i < kBackpackSlots; ++i) {
        ReadStrings(rt, n, {&s.inventoryTrueName(i, where), &s.inventoryName(i, where), &s.inventoryCode(i, where)},
                    where);
    }
    ReadNumbers(rt, n,
                {&s.maxHp, &s.maxTp, &s.maxMp, &s.gold, &s.dungeonFloor, &s.posX, &s.posY, &s.heroLevel, &s.facing,
                 &s.stealthWalk},
                where);
    for (int i = 0; i < kEquipSlots; ++i)
        ReadStrings(rt, n, {&s.equipTrueName(i, where), &s.equipName(i, where), &s.equipCode(i, where)}, where);
    ReadStrings(rt, n, {&s.handedness, &s.companionName, &s.reservedText, &s.bodyState}, where);
}

void ReadWorld(Runtime& rt, GameState& s, double n, int floors, std::source_location where) {
    for (int f = 0; f < floors; ++f) {
        for (int y = 0; y < kFloorSize; ++y)
            PbInputFileString(rt, n, s.mapEvents(f, y, where), where);
    }
    for (int i = 0; i < kLearnedSlots; ++i) {
        ReadStrings(rt, n,
                    {&s.learnedSkills(i, where), &s.learnedMageSpells(i, where), &s.learnedPriestSpells(i, where)},
                    where);
    }
    for (int i = 0; i < kItemCount; ++i)
        PbInputFileString(rt, n, s.shopStock(i, where), where);
}

bool IsWholeIn(float v, double low, double high) {
    return v >= low && v <= high && PbInt(v) == v;
}

// A text PRINT # can write back so that INPUT # reads it as it is: no comma, colon or double
// quote, and no blank at either end, which reading drops from an unquoted field (only a quoted
// field of an edited file can bring one in).
bool IsWritable(std::string_view text) {
    if (!text.empty() && (text.front() == ' ' || text.back() == ' ')) return false;
    for (std::size_t i = 0; i < text.size(); i += SjisCharLength(text, i)) {
        if (text[i] == ',' || text[i] == ':' || text[i] == '"') return false;
    }
    return true;
}

bool AllWritable(PbArray<PbString>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!IsWritable(texts.data()[i])) return false;
    }
    return true;
}

bool TextsWritable(GameState& s) {
    for (const PbString* text : {&s.heroName, &s.handedness, &s.companionName, &s.reservedText, &s.bodyState}) {
        if (!IsWritable(*text)) return false;
    }
    for (PbArray<PbString>* texts :
         {&s.inventoryTrueName, &s.inventoryName, &s.inventoryCode, &s.equipTrueName, &s.equipName, &s.equipCode,
          &s.mapEvents, &s.learnedSkills, &s.learnedMageSpells, &s.learnedPriestSpells, &s.shopStock}) {
        if (!AllWritable(*texts)) return false;
    }
    return true;
}

}  // namespace

void WriteSaveFile(Runtime& rt, GameState& s, double n, int floors, std::source_location where) {
    WriteHero(rt, s, n, where);
    WriteWorld(rt, s, n, floors, where);
}

void ReadSaveFile(Runtime& rt, GameState& s, double n, int floors, std::source_location where) {
    ReadHero(rt, s, n, where);
    ReadWorld(rt, s, n, floors, where);
}

bool IsPlayableSave(GameState& s) {
    if (!TextsWritable(s)) return false;
    for (int f = 0; f < kFloorCount; ++f) {
        for (int y = 0; y < kFloorSize; ++y) {
            if (s.mapEvents(f, y).size() != std::size_t(kFloorSize)) return false;
        }
    }
    if (!IsWholeIn(s.dungeonFloor, 0, kFloorCount)) return false;
    if (!(s.heroLevel >= 1)) return false;  // a fight's experience is divided by the level
    if (s.dungeonFloor == 0) return true;
    return IsWholeIn(s.posX, 1, kFloorSize) && IsWholeIn(s.posY, 0, kFloorSize - 1) && IsWholeIn(s.facing, 1, 4);
}

}  // namespace kestran::game
