// The hypnogram lines on rendered images of a known hypnogram, their cursor, clicks and span
// menu, utility mode over the utility window's files, and the printed header.
#include "hypnogram_fixture.h"

#include "app/document/ch_info.h"
#include "app/results/lyr_utility_hypnogram_frame.h"
#include "app/trend/lyr_trend_hypno_print.h"

namespace {

bool SameImage(const draw::Image& a, const draw::Image& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

// Left edge of an epoch's bar in line 0 (the line starts at epoch 0).
int X(const LyrTrendStageAreaView& line, int epoch) {
  const draw::Rect& r = line.DrawRect();
  return static_cast<int>(static_cast<double>(r.right - r.left) / line.EpochsPerLine() * epoch);
}

TEST_F(HypnogramTest, BarsSegmentsMarksAndGaps) {
  Record(400);
  Score(0, 10, 1);    // Wake
  Score(10, 20, 3);   // Stage 1
  Score(20, 21, 23);  // Stage 1, discarded
  Score(21, 22, 0);   // no stage: no row
  Score(22, 23, 2);   // REM, hidden below
  Score(23, 30, 4);   // Stage 2, weight 4
  doc_.Params.stageType.records[1].showInHypnogram = 0;
  doc_.Params.stageType.records[3].lineWeight = 4;
  Create();
  LyrTrendStageAreaView& line = Line(0);
  const draw::Image img = Render(line);
  // Rows in show order; REM hidden: Wake 1, Stage1 2, Stage2 3.
  const int wakeY = RowY(line, 1), s1Y = (line.DrawRect().bottom - line.DrawRect().top) / 7 * 2;
  (void)s1Y;
  const int x5 = X(line, 5) + 1;
  EXPECT_EQ(img.GetPixel(x5, wakeY), kStage[0]);
  EXPECT_EQ(CountInColumn(img, x5, kStage[0]), 2) << "weight 1 draws 2 pixels";
  EXPECT_EQ(CountInColumn(img, X(line, 25) + 1, kStage[3]), 4) << "weight 4 draws 4 pixels";
  // The change from Wake to Stage 1 draws its connecting segment at the epoch's left edge.
  EXPECT_GT(CountInColumn(img, X(line, 10), kSegment), 0);
  // The discarded epoch: the bar of its stage and a mark at the top of the plot.
  const int x20 = X(line, 20) + 1;
  EXPECT_EQ(img.GetPixel(x20, 0), kDiscard);
  EXPECT_EQ(CountInColumn(img, x20, kStage[2]), 2);
  // No row, and a hidden stage: gaps.
  for (int e : {21, 22}) {
    const int x = X(line, e) + 1;
    for (draw::ColorRef c : kStage) EXPECT_EQ(CountInColumn(img, x, c), 0) << e;
  }
  // Line 1 shows epochs 120..239, none scored.
  const draw::Image second = Render(Line(1));
  EXPECT_EQ(CountInColumn(second, X(Line(1), 5) + 1, kStage[0]), 0);
}

TEST_F(HypnogramTest, SeveralEpochsInOnePixelColumn) {
  TrendSettingWord1 = 1;
  SetTrendTimeScale(720);  // 1440 epochs on 400 pixels
  Record(1440);
  Score(0, 1440, 1);
  for (int e = 98; e < 102; ++e) Score(e, e + 1, e % 2 == 0 ? 1 : 5);  // Wake and Stage 3 alternate
  Create();
  LyrTrendStageAreaView& line = Line(0);
  const draw::Image img = Render(line);
  const int x = X(line, 101);
  ASSERT_EQ(X(line, 98), X(line, 101)) << "the epochs share a column";
  EXPECT_EQ(CountInColumn(img, x, kStage[0]), 2);
  EXPECT_EQ(CountInColumn(img, x, kStage[4]), 2) << "another row in the column draws its bar";
  EXPECT_GT(CountInColumn(img, x, kSegment), 0) << "and its segment";
  EXPECT_EQ(line.PosTable()[99], x) << "every epoch keeps its x";
}

TEST_F(HypnogramTest, CursorAndScreeningShift) {
  TrendSettingWord1 = 3;
  SetTrendTimeScale(60);
  Record(1000);
  Score(0, 1000, 1);
  Score(50, 400, 3);
  Create(361);  // 3 pixels per epoch
  host_.SetCursorEpoch(-1, 5);
  LyrTrendStageAreaView& line = Line(0);
  Render(line);
  EXPECT_EQ(line.CursorX(5), 15);
  EXPECT_EQ(line.CursorX(130), -1) << "an epoch of another line";
  Render(Line(1));
  EXPECT_EQ(Line(1).CursorX(130), 30);
  // R2_NOT: drawn twice, the cursor is gone.
  const ui::Rect c = line.GetClientRect();
  draw::Image img(c.Width(), c.Height(), 32);
  draw::Dc dc(img);
  line.OnDraw(dc);
  const draw::Image before = img;
  line.DrawCursor(dc, true);
  EXPECT_FALSE(SameImage(before, img));
  line.DrawCursor(dc, true);
  EXPECT_TRUE(SameImage(before, img));

  // A full table in a run shifts every line by one epoch: the same picture as a redraw
  // from the next epoch.
  ScreeningRunning = 1;
  Area().AllocEpochTable();
  for (int e = 0; e <= 360; ++e) Area().AdvanceEpoch(e);
  const draw::Image shifted = Render(line);
  EXPECT_EQ(Area().GetScrollFlag(0), 0) << "the line took its shift";
  ScreeningRunning = 0;
  Area().FillFrom(1);
  EXPECT_TRUE(SameImage(shifted, Render(line)));
}

TEST_F(HypnogramTest, ClicksZoomAndSpanMenu) {
  Record(500);
  Create(361);
  LyrTrendStageAreaView& line = Line(1);  // epochs 120..239
  line.OnLButtonDown(0, ui::Point{31, 5});
  EXPECT_EQ(host_.CursorEpoch(), 130);
  // Past the last epoch: the cursor stands on the last one.
  Area().SetCenterEpoch(450);  // line 1 shows 390..499, then the tail
  Render(line);
  line.OnLButtonDown(0, ui::Point{357, 5});
  EXPECT_EQ(host_.CursorEpoch(), 499);
  // A screening run ignores clicks.
  ScreeningRunning = 1;
  line.OnLButtonDown(0, ui::Point{3, 5});
  EXPECT_EQ(host_.CursorEpoch(), 499);
  ScreeningRunning = 0;

  // Armed zoom: the span becomes 30 minutes and the table centres on the click.
  Area().FillFrom(0);
  TrendZoomState = 2;
  line.OnLButtonDown(0, ui::Point{60, 5});  // epoch 140
  EXPECT_EQ(TrendZoomState, 0);
  EXPECT_EQ(TrendTimeMinutes, 30);
  EXPECT_EQ(host_.CursorEpoch(), 140);
  EXPECT_EQ(host_.GetCursorEpoch(1), -1);
  EXPECT_EQ(Area().GetEpochAt(0), 140 - 30);

  // Right click: with a zoom armed only the disarming; otherwise the span menu.
  TrendZoomState = 3;
  line.OnRButtonUp(0, ui::Point{5, 5});
  EXPECT_EQ(TrendZoomState, 0);
  EXPECT_EQ(TrendTimeMinutes, 30);
  testhooks::AnswerPopupMenu(33072);  // "3hours"
  line.OnRButtonUp(0, ui::Point{5, 5});
  EXPECT_EQ(TrendTimeMinutes, 180);
  EXPECT_EQ(HypnogramSpanRowOfCommand(33076), 9);
  EXPECT_EQ(HypnogramSpanRowOfCommand(33077), -1);
}

TEST_F(HypnogramTest, UtilityModeReadsTheFileAndItsMarkers) {
  LyrUtilityHypnogramFrame utility;
  UtilityHypnogramLoaded = 1;
  HypnogramSettingWord = 1;
  for (int seconds : {10, 30}) {
    UtilityResultFileRec f;
    f.path = seconds == 10 ? "/data/ten.raf" : "/data/thirty.raf";
    f.epochTime = seconds;
    f.stageType = doc_.Params.stageType;
    f.epochs.assign(static_cast<std::size_t>(7200 / seconds), LyrEpochRec{});
    for (LyrEpochRec& e : f.epochs) e.stage[0] = 1;
    utility.Files.Add(f);
  }
  utility.Files.File(1)->epochs[3].stage[0] = 2;
  DocumentLoaded = 0;
  ASSERT_TRUE(top_.Create(nullptr, 0, ui::Rect{0, 0, 440, 300}, false));
  std::array<LyrTrendStageAreaDummyView, 2> areas;
  for (int file = 0; file < 2; ++file) {
    LyrTrendStageAreaDummyView& a = areas[static_cast<std::size_t>(file)];
    a.Link.utility = &utility;
    a.SetUtilityMode(1);
    a.SetFileNo(file);
    a.SetLineTime(120);
    a.SetEpochTime(utility.Files.File(file)->epochTime);
    ASSERT_TRUE(a.CreateView(&top_, 10 + file, ui::CreateContext{}, ui::Rect{0, 0, 440, 100}));
    a.LayoutAxisViews();
    utility.StageAreas.push_back(&a);
  }
  EXPECT_EQ(areas[0].LineView(0)->EpochsPerLine(), 720);
  EXPECT_EQ(areas[1].LineView(0)->EpochsPerLine(), 240);
  EXPECT_EQ(areas[1].LineCount(), 1);

  LyrTrendStageAreaView& line = *areas[1].LineView(0);
  const draw::Image img = Render(line);
  EXPECT_EQ(CountInColumn(img, X(line, 1) + 1, kStage[0]), 2);
  EXPECT_EQ(CountInColumn(img, X(line, 3) + 1, kStage[1]), 2) << "the file's own stages";

  TrendZoomState = 1;
  const int width = line.DrawRect().right - line.DrawRect().left;
  line.OnLButtonDown(0, ui::Point{X(line, 120) + 1, 5});
  EXPECT_EQ(utility.GetEpochMarker(1, 0), 120);
  EXPECT_EQ(utility.GetEpochMarker(0, 0), 360) << "the same time in the 10-s file: 120 x 30 / 10";
  EXPECT_EQ(utility.StageAreaRedraws, 1);
  EXPECT_EQ(TrendZoomState, 1) << "no zoom in the utility window";
  line.OnLButtonDown(0, ui::Point{width + 50, 5});
  EXPECT_EQ(utility.GetEpochMarker(1, 0), 239) << "clamped to the file's last epoch";
  EXPECT_EQ(utility.GetEpochMarker(1, 1), 120);
  EXPECT_EQ(line.CursorX(239), line.PosTable()[239]);
  EXPECT_EQ(utility.FileNameOf(0), "ten.raf");
  for (auto& a : areas) a.DestroyWindow();
}

// Widths: 10 per character whatever its bytes.
int Chars(const std::string& s) {
  int n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80 ? 10 : 0;
  return n;
}

TEST(HypnogramPrintHeader, NameSexAgeAndWrappedComments) {
  LyrRecordInfo info;
  info.subjectName = "Tanaka";
  info.gender = 1;
  info.ageYears = 42;
  info.ageMonths = 3;
  info.memo = "睡眠検査の記録です";  // 9 characters of 3 bytes
  info.freeComments[2].text = "abcdefghij";
  const auto lines = TrendPrintHeaderLines(info, Chars, 40);
  ASSERT_EQ(lines.size(), 8U);
  EXPECT_EQ(lines[0], "Tanaka");
  EXPECT_EQ(lines[1], "Female\t42Year 3Month");
  EXPECT_EQ(lines[2], "睡眠検査");
  EXPECT_EQ(lines[3], "の記録で");
  EXPECT_EQ(lines[4], "す");
  EXPECT_EQ(lines[5], "abcd");
  EXPECT_EQ(lines[7], "ij");
  info.gender = static_cast<std::int16_t>(-1);  // 65535: no sex
  info.ageYears = info.ageMonths = 0;
  info.subjectName.clear();
  EXPECT_EQ(TrendPrintHeaderLines(info, Chars, 40)[0], "睡眠検査");
  info.gender = 0;
  EXPECT_EQ(TrendPrintHeaderLines(info, Chars, 40)[0], "Male\t");
}

}  // namespace

namespace {

// The trend print: every line of the strip in its print rectangle, in colour or black.
TEST_F(HypnogramTest, PrintDrawsEveryLineAsOneStrip) {
  TrendSettingWord1 = 12;
  SetTrendTimeScale(60);
  Record(12 * 120);
  for (int line = 0; line < 12; ++line) Score(line * 120, line * 120 + 120, line % 2 == 0 ? 1 : 4);
  Create(400, 30);
  for (std::int32_t inColour : {1, 0}) {
    PrintInColor = inColour;
    draw::Image page(2400, 1200, 32);
    draw::Dc dc(page);
    dc.FillSolidRect(ui::Rect{0, 0, 2400, 1200}, 0xFFFFFF);
    ui::View::PrintInfo info;
    info.drawRect = ui::Rect{0, 0, 2400, 1200};
    host_.OnPrint(dc, info);
    EXPECT_EQ(PrintTarget, 2);
    ASSERT_EQ(host_.StageArea.PrintRects.size(), 12U);
    for (int line = 0; line < 12; ++line) {
      const ui::Rect r = host_.StageArea.PrintRects[static_cast<std::size_t>(line)].second;
      const draw::ColorRef want = inColour != 0 ? kStage[line % 2 == 0 ? 0 : 3] : 0;
      int found = 0;
      for (int y = r.top; y < r.bottom; ++y) found += page.GetPixel((r.left + r.right) / 2, y) == want ? 1 : 0;
      EXPECT_GE(found, 2) << "line " << line << (inColour != 0 ? " in colour" : " in black");
      if (inColour == 0) {
        for (int y = r.top; y < r.bottom; ++y)
          EXPECT_NE(page.GetPixel((r.left + r.right) / 2, y), kStage[line % 2 == 0 ? 0 : 3]) << line;
      }
    }
    PrintTarget = 0;
  }
  PrintInColor = 1;
}

}  // namespace

namespace {

// The utility window's time scale of a file: ticks where a step boundary falls into an epoch,
// labels at the boundary, days counted on.
TEST(UtilityTimeScale, TicksLabelsAndDays) {
  LyrUtilityHypnogramFrame utility;
  UtilityResultFileRec f;
  f.epochTime = 30;
  f.startDateTime = {2000, 1, 12, 22, 10, 0};
  f.startMsOfDay = (22 * 3600 + 10 * 60) * 1000;
  f.epochs.assign(2000, LyrEpochRec{});
  for (LyrEpochRec& e : f.epochs) e.stage[0] = 1;
  utility.Files.Add(f);
  utility.m_TimeScaleMinutes = 120;  // a tick every hour
  std::int32_t start = 0, end = 0;
  EXPECT_EQ(utility.IsTimeScaleEpoch(0, 99), 1) << "22:59:30 to 23:00:00";
  EXPECT_EQ(utility.IsTimeScaleEpoch(0, 100), 0);
  EXPECT_EQ(utility.GetTimeScaleStart(0, 99, start, end), 23 * 3600);
  EXPECT_EQ(start, 22 * 3600 + 59 * 60 + 30);
  EXPECT_EQ(utility.GetTimeScaleStart(0, 219, start, end), 24 * 3600) << "midnight: 24:00";
  EXPECT_EQ(utility.GetEpochTimeParts(0, 220).day, "13");
  EXPECT_EQ(utility.GetEpochTimeParts(0, 220).hour, "0");
  EXPECT_EQ(utility.GetStage(0, 0, 5, 0), 1);
  EXPECT_EQ(utility.GetStage(0, 0, 2000, 0), 0) << "out of range";
  EXPECT_EQ(utility.GetStage(1, 0, 5, 0), 0) << "no such file";
}

}  // namespace
