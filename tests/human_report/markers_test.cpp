// The report's time markers, their check and the epoch counts the sections share.
#include "tests/human_report/report_fixture.h"

#include "platform/ui/messages.h"

namespace {

using Markers = reportfix::ReportTest;

struct DefaultCase {
  const char* what;
  std::vector<int> stages;
  int epochSeconds;
  int so, lsp, bo;
};

TEST_F(Markers, DefaultsFollowTheScoring) {
  const std::vector<int> ten(10, 4), nine(9, 4);
  auto night = [](std::initializer_list<std::vector<int>> parts) {
    std::vector<int> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
  };
  const DefaultCase cases[] = {
      // 300 s of sleep at 30-s epochs is 10 epochs: the run of nine does not start sleep.
      {"first long run", night({{1, 1}, nine, {1}, ten, {1, 0}}), 30, 12, 21, 22},
      {"runs of nine only", night({{1}, nine, {1}, nine, {1}}), 30, 0, 19, 20},
      {"free stages and MT are no sleep", night({{1}, nine, {8}, {4}, {7, 9}}), 30, 0, 11, 12},
      {"+20 codes count alike", night({{21}, std::vector<int>(10, 24), {28}}), 30, 1, 10, 10},
      {"nothing scored", std::vector<int>(6, 0), 30, 0, 5, 5},
      // 300 / 60 = 5 epochs make the run at 60-s epochs.
      {"60-s epochs", night({{1}, std::vector<int>(5, 22)}), 60, 1, 5, 5},
  };
  for (const DefaultCase& c : cases) {
    SCOPED_TRACE(c.what);
    EpochSeconds = c.epochSeconds;
    Stages(c.stages);
    doc_.RecordSeconds = static_cast<std::int32_t>(c.stages.size()) * c.epochSeconds;
    report_.m_pDoc = &doc_;
    SetMarkers(7, 7, 7, 7);
    report_.SetDefaultTimes();
    EXPECT_EQ(BedInEpoch, 0);
    EXPECT_EQ(SleepOnsetEpoch, c.so);
    EXPECT_EQ(LastSleepPageEpoch, c.lsp);
    EXPECT_EQ(BedOutEpoch, c.bo);
  }
}

TEST_F(Markers, CheckRefusesContradictionsAndUnscoredEpochs) {
  Stages({1, 4, 4, 0, 4, 4, 1});
  report_.m_pDoc = &doc_;
  const struct {
    int bi, so, lsp, bo;
    const char* message;
  } cases[] = {
      {0, 2, 2, 6, "There is a contradiction in Time. "},  // SO = LSP
      {3, 3, 5, 3, "There is a contradiction in Time. "},  // BI = BO
      {0, 3, 2, 6, "There is a contradiction in Time. "},  // SO after LSP
      {5, 4, 6, 6, "There is a contradiction in Time. "},  // BI after SO
      {0, 1, 5, 6, "All the epochs must be specified."},  // epoch 3 is not scored
      {4, 4, 5, 6, nullptr},
  };
  for (const auto& c : cases) {
    testhooks::Reset();
    SetMarkers(c.bi, c.so, c.lsp, c.bo);
    const int ok = report_.CheckTimes();
    if (c.message == nullptr) {
      EXPECT_EQ(ok, 1) << c.bi << " " << c.so << " " << c.lsp << " " << c.bo;
      EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
      continue;
    }
    EXPECT_EQ(ok, 0);
    ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, c.message);
    EXPECT_EQ(testhooks::Beeps(), std::vector<std::uint32_t>{ui::MB_ICONEXCLAMATION});
  }
}

TEST_F(Markers, CountsMergeByStageType) {
  Stages({4, 5, 6, 26, 3, 2, 1, 8, 0, 25});
  report_.m_pDoc = &doc_;
  // Type 1 reads 6 as 5: codes 5, 6, 26, 25 are Stage 3 there.
  EXPECT_EQ(report_.CountStage(1, 5, 0, 9), 4);
  EXPECT_EQ(report_.CountStage(1, 6, 0, 9), 0);
  EXPECT_EQ(report_.CountStage(0, 6, 0, 9), 2);
  // Type 3 reads 4, 5 and 6 as 3.
  EXPECT_EQ(report_.CountStage(3, 3, 0, 9), 6);
  EXPECT_EQ(report_.CountStage(3, 3, 5, 4), 0) << "an empty range";
  // TST over SO..LSP leaves out 0, 1 and the free stages.
  SetMarkers(0, 0, 9, 9);
  EXPECT_EQ(report_.CountTST(), 7);
  EXPECT_EQ(report_.CountTIB(), 10);
  EXPECT_EQ(report_.CountSPT(), 10);
}

}  // namespace
