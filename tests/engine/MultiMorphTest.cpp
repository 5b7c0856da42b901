// The multi-morph model: members, sub-sequence groups, alignment, the proposed video name.
#include <gtest/gtest.h>

#include "MorphError.h"
#include "MultiMorph.h"

namespace qv {

namespace {

TMorphing& AddWithSubSeq(TMultiMorph& mm, int32_t subSeq) {
  TMorphing& m = mm.AddMorphing(std::make_unique<TMorphing>());
  m.SetSubSeq(subSeq);
  return m;
}

// The groups as (number, member indexes).
std::vector<std::pair<int32_t, std::vector<int32_t>>> Groups(const TMultiMorph& mm) {
  std::vector<std::pair<int32_t, std::vector<int32_t>>> groups;
  for (const auto& seq : mm.Sequences()) {
    std::vector<int32_t> members;
    for (TMorphing* m : seq->List()) {
      for (int32_t i = 0; i < mm.Count(); ++i)
        if (&mm.Morphs(i) == m) members.push_back(i);
    }
    groups.push_back({seq->SeqID(), members});
  }
  return groups;
}

}  // namespace

TEST(MultiMorph, GroupsFollowTheFirstOccurrenceOfTheirNumbers) {
  TMultiMorph mm;
  for (int32_t s : {3, 1, 3, 0}) AddWithSubSeq(mm, s);
  const std::vector<std::pair<int32_t, std::vector<int32_t>>> expected{
      {3, {0, 2}}, {1, {1}}, {0, {3}}};
  mm.InitializeSequences();
  EXPECT_EQ(Groups(mm), expected);
  mm.InitializeSequences();
  EXPECT_EQ(Groups(mm), expected);

  // A later change of numbers counts at the next InitializeSequences only.
  mm.Morphs(3).SetSubSeq(1);
  EXPECT_EQ(Groups(mm), expected);
  mm.InitializeSequences();
  EXPECT_EQ(Groups(mm), (std::vector<std::pair<int32_t, std::vector<int32_t>>>{
                            {3, {0, 2}}, {1, {1, 3}}}));
  mm.ClearSequences();
  EXPECT_TRUE(mm.Sequences().empty());
}

TEST(MultiMorph, MembersAreOwnedAndIndexesChecked) {
  TMultiMorph mm;
  AddWithSubSeq(mm, 1);
  AddWithSubSeq(mm, 2);
  AddWithSubSeq(mm, 3);
  mm.InitializeSequences();
  mm.DelMorphing(1);
  EXPECT_TRUE(mm.Sequences().empty());  // they named the freed member
  ASSERT_EQ(mm.Count(), 2);
  EXPECT_EQ(mm.Morphs(1).SubSeq(), 3);
  EXPECT_THROW(mm.GetMorphs(2), EMorphError);
  EXPECT_THROW(mm.GetMorphs(-1), EMorphError);
  EXPECT_THROW(mm.DelMorphing(2), EMorphError);
  mm.Clear();
  EXPECT_EQ(mm.Count(), 0);
  EXPECT_FALSE(mm.Modified());  // adding and removing members does not mark the sequence
}

TEST(MultiMorph, MemberSettingsMarkTheMemberOnly) {
  TMultiMorph mm;
  TMorphing& m = AddWithSubSeq(mm, 0);
  m.SetUnModified();
  m.SetSubSeq(0);
  m.SetOffset({0, 0});
  EXPECT_FALSE(m.Modified());
  m.SetHorzAlign(ha_center);
  EXPECT_TRUE(m.Modified());
  EXPECT_FALSE(mm.Modified());
}

TEST(MultiMorph, NewMultiMorphDefaults) {
  TMultiMorph mm;
  EXPECT_EQ(mm.MType(), "Multimorph");
  EXPECT_EQ(mm.FramesPerSecond(), 0);
  EXPECT_EQ(mm.Width(), 0);
  EXPECT_EQ(mm.Height(), 0);
  EXPECT_FALSE(mm.ShowCompressDialog());
  EXPECT_EQ(mm.GetOutFileName(), ".avi");
  mm.SetFileName("/irgendwo/tief/Reise.msq");
  EXPECT_EQ(mm.OutFileName(), "Reise.avi");
  mm.BackGround().SetWidth(1920);
  EXPECT_EQ(mm.Width(), 1920);
}

TEST(MultiMorph, AlignedLeft) {
  struct Case {
    THorzAlign Align;
    int32_t Own, Member, Bg, Expected;
  } cases[] = {
      {ha_none, 250, 800, 1920, 250}, {ha_left, 250, 800, 1920, 0},
      {ha_right, 250, 800, 1920, 1120}, {ha_center, 250, 800, 1920, 560},
      {ha_center, 0, 801, 1920, 559},  // half of 1119, toward zero
      {ha_center, 0, 1921, 1920, 0},   // half of -1, toward zero
      {ha_right, 0, 2000, 1920, -80},   {THorzAlign(7), 33, 800, 1920, 33},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AlignedLeft(c.Align, c.Own, c.Member, c.Bg), c.Expected)
        << int(c.Align) << " " << c.Member;
}

TEST(MultiMorph, NothingToRenderGivesNoFrame) {
  TMultiMorph mm;
  mm.InitializeSequences();
  EXPECT_FALSE(mm.GetFirstFrame());
  AddWithSubSeq(mm, 1);  // no project: cannot be rendered
  mm.InitializeSequences();
  EXPECT_EQ(mm.FrameCount(), 0);
  EXPECT_FALSE(mm.GetFirstFrame());
  EXPECT_FALSE(mm.GetNextFrame());
  const auto list = mm.UnrenderableMembers();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Index, 0);
  EXPECT_EQ(mm.UnrenderableText(),
            "Diese Morphings der Sequenz werden nicht gerendert:\r1. ?: keine lesbare "
            "Morphing-Datei");
}

}  // namespace qv
