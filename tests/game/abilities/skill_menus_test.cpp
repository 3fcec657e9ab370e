// The skill menu of the character menu: stealth and identifying by skill.
#include "game/abilities/skill_menus.h"

#include "game/camp/camp_fixture.h"

namespace kestran::game::testing {
namespace {

using SkillMenuTest = CampTest;

TEST_F(SkillMenuTest, TheKeyOfASkillNotLearnedIsIgnored) {
    s.learnedSkills(0) = "解除"_sj;
    s.dungeonFloor = 1;
    Keys("SiR");
    ASSERT_TRUE(Play([&] { SkillMenu(g); }));
    EXPECT_EQ(s.stealthWalk, 0);
    EXPECT_EQ(Row(1), " CAMPERが修得している技能です");
}

TEST_F(SkillMenuTest, StealthNeedsTenTechniquePoints) {
    s.dungeonFloor = 1;
    s.heroStats(kTechniquePoints) = 9;
    Keys("x");
    ASSERT_TRUE(Play([&] { UseStealthWalk(g); }));
    EXPECT_EQ(Row(1), " 忍び足を使うにはテクニックポイントが足りません");
    s.heroStats(kTechniquePoints) = 10;
    Keys("Yx");
    ASSERT_TRUE(Play([&] { UseStealthWalk(g); }));
    EXPECT_EQ(s.heroStats(kTechniquePoints), 0);
    EXPECT_EQ(s.stealthWalk, 1);
}

}  // namespace
}  // namespace kestran::game::testing
