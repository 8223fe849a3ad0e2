#include "tests/navigation/nav_fixture.h"

TEST_F(NavTest, JumpAcrossAPageBoundaryMovesTheBufferWindowByOnePage) {
  GoTo(7);
  Frame().JumpToEpoch(8, 1);
  EXPECT_EQ(Page(), 1);
  EXPECT_EQ(Epoch(), 8);
  EXPECT_EQ(Doc().PageReads.edgePageReads, 1);
  EXPECT_EQ(Doc().PageReads.edgeSpectrumMoves, 1);
  EXPECT_EQ(Doc().PageReads.fullReloads, 0);
  EXPECT_EQ(Doc().PageReads.epochSpectra, 1);

  Frame().JumpToEpoch(7, 1);
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(Epoch(), 7);
  EXPECT_EQ(Doc().PageReads.edgePageReads, 2);
  EXPECT_EQ(Doc().PageReads.fullReloads, 0);
}

TEST_F(NavTest, SingleStepsInsideAPageNeverReadPageData) {
  GoTo(8);
  for (int i = 0; i < 7; ++i) Frame().JumpToEpoch(Epoch() + 1, 1);
  EXPECT_EQ(Epoch(), 15);
  for (int i = 0; i < 7; ++i) Frame().JumpToEpoch(Epoch() - 1, 1);
  EXPECT_EQ(Epoch(), 8);
  EXPECT_EQ(Doc().PageReads.fullReloads + Doc().PageReads.edgePageReads, 0);
  EXPECT_EQ(Doc().PageReads.epochSpectra, 14) << "each step computes the epoch's spectra";
  EXPECT_EQ(Frame().EpochFrameRestores, 14);
}

TEST_F(NavTest, StepWithoutRestoreLeavesThePageImage) {
  GoTo(8);
  Frame().EpochFrameRestores = 0;
  Frame().JumpToEpoch(9, 0);
  EXPECT_EQ(Epoch(), 9);
  EXPECT_EQ(Frame().EpochFrameRestores, 0);
  Frame().JumpToEpoch(8, 0);
  EXPECT_EQ(Frame().EpochFrameRestores, 1) << "a step back always restores";
}

TEST_F(NavTest, MultiPageJumpReloadsEveryBuffer) {
  GoTo(2);
  Frame().JumpToEpoch(35, 1);
  EXPECT_EQ(Page(), 4);
  EXPECT_EQ(Epoch(), 35);
  EXPECT_EQ(Doc().PageReads.fullReloads, 1);
  EXPECT_EQ(Doc().PageReads.edgePageReads, 0);
  Frame().JumpToEpoch(12, 1);  // two pages back
  EXPECT_EQ(Page(), 1);
  EXPECT_EQ(Epoch(), 12);
  EXPECT_EQ(Doc().PageReads.fullReloads, 2);
}

TEST_F(NavTest, MovesOutOfTheRecordingChangeNothing) {
  GoTo(5);
  Frame().JumpToEpoch(kEpochs, 1);
  Frame().JumpToEpoch(-1, 1);
  Frame().SetPageByEpoch(5, -1);
  Frame().SetPageByEpoch(-1, -1);
  EXPECT_EQ(Epoch(), 5);
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(Doc().PageReads.fullReloads + Doc().PageReads.edgePageReads, 0);
}

TEST_F(NavTest, DerivedEpochFollowsTheDirectionOfThePageMove) {
  GoTo(20);
  Frame().SetPageByEpoch(3, -1);
  EXPECT_EQ(Epoch(), 24);
  Frame().SetPageByEpoch(2, -1);
  EXPECT_EQ(Epoch(), 23);
  Frame().SetPageByEpoch(0, -1);
  EXPECT_EQ(Epoch(), 0);
  Frame().SetPageByEpoch(2, 19);
  EXPECT_EQ(Epoch(), 19);
}

TEST_F(NavTest, VideoFollowsOnlyWhenAsked) {
  Doc().ChInfo[0].startOffset = 50;  // half a second at 100 samples/s
  GoTo(3);
  Frame().VideoTimeOfEpoch = -1.0;
  Frame().VideoFollowsWave = 0;
  Frame().JumpToEpoch(4, 1);
  Frame().SetPageByEpoch(2, -1);
  EXPECT_EQ(Frame().VideoTimeOfEpoch, -1.0);
  Frame().VideoFollowsWave = 1;
  Frame().JumpToEpoch(17, 1);
  EXPECT_DOUBLE_EQ(Frame().VideoTimeOfEpoch, 17 * 30 + 0.5);
}
