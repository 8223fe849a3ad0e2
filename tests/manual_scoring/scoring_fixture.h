#pragma once
// A started program with a recording of 30 epochs of 30 s shown in pages of three epochs on
// five rows: channel 0 at 100 Hz, channel 1 at 200 Hz (the fastest, which range positions
// are counted in). Every row has a page, and the columns of the page map linearly onto its
// samples, so that a pointer x means a known time.
#include <algorithm>

#include "app/document/analysis_param_blocks.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_mouse.h"
#include "platform/ui/app.h"
#include "platform/ui/command.h"
#include "platform/ui/messages.h"
#include "tests/app_shell/app_fixture.h"

extern std::uint16_t LearningSampleMode;

class ScoringTest : public AppTest {
 protected:
  static constexpr int kEpochs = 30;
  static constexpr int kPerPage = 3;
  static constexpr int kFastRate = 200;

  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    savedEpoch_ = EpochSeconds;
    savedPage_ = PageSeconds;
    EpochSeconds = 30;
    PageSeconds = 90;
    CQLM2_AnalyzerDoc& doc = Doc();
    doc.RecordSeconds = 30 * kEpochs;
    doc.RecordInfo.channelCount = 2;
    doc.ChInfo[0].rate = 100;
    doc.ChInfo[1].rate = kFastRate;
    doc.PageRows = 5;
    doc.CurrentEpoch = 12;
    doc.CurrentPage = 4;
    ASSERT_EQ(doc.EpochTables.SetNew(kEpochs, 0, 2, 0, 1), 1);
    SetDefaultStageTypeParam(&doc.Params.stageType);
    FillPages();
    DocumentLoaded = 1;
    Frame().KeyRepeatPauseMs = 0;
    RawView()->LayoutRawFrames();
    Layout();
  }
  void TearDown() override {
    EpochSeconds = savedEpoch_;
    PageSeconds = savedPage_;
    LearningSampleMode = 0;
    RawPreviewMode = 0;
    RawSelection = RawSelectionState{};
    while (ui::RemoveOnePendingMessage()) {
    }
    AppTest::TearDown();
  }

  LyrRawDummyView* RawView() { return Frame().RawView(); }
  LyrRawAreaView& Row(int r) { return *RawView()->Row(r)->AreaView(); }
  // Page width of the rows (they share it) and the linear column map of every channel.
  void Layout() {
    width_ = Row(2).GetPageRect(nullptr).right - Row(2).GetPageRect(nullptr).left;
    height_ = Row(2).GetClientRect().Height();
    for (int c = 0; c < 2; ++c) {
      LyrChInfo& ch = Doc().ChInfo[c];
      ch.readX.resize(static_cast<std::size_t>(width_) + 1);
      for (int x = 0; x <= width_; ++x) ch.readX[x] = static_cast<std::int32_t>(std::int64_t(x) * ch.rate * 90 / (width_ + 1));
    }
  }
  // Client x of the middle of epoch position k of a page, rounded up so that the column's
  // time is the middle's time whatever the parity of the page width.
  int CellX(int k) const { return ((2 * k + 1) * (width_ + 1) + 2 * kPerPage - 1) / (2 * kPerPage); }
  int Y() const { return height_ / 4; }  // inside channel 0's band

  static std::intptr_t Pos(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) | static_cast<std::uint32_t>(x & 0xFFFF));
  }
  void Press(int row, int x, int y) { Row(row).SendMessage(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, Pos(x, y)); }
  void Move(int row, int x, int y) { Row(row).SendMessage(ui::WM_MOUSEMOVE, ui::MK_LBUTTON, Pos(x, y)); }
  void Release(int row, int x, int y) { Row(row).SendMessage(ui::WM_LBUTTONUP, 0, Pos(x, y)); }
  void Drag(int fromRow, int x1, int y1, int toRow, int x2, int y2) {
    Press(fromRow, x1, y1);
    Move(toRow, x2, y2);
    Release(toRow, x2, y2);
  }
  // Without a source a page move reads nothing: every row gets a page again.
  void FillPages() {
    for (auto& buffer : Doc().RecordInfo.pageBuffers) buffer.assign((100 + kFastRate) * 90 + 2, 0.0f);
  }
  void GoTo(int epoch) {
    FillPages();
    Doc().CurrentEpoch = epoch;
    Doc().CurrentPage = epoch / kPerPage;
  }
  int Stage(int epoch, int slot = 0) { return Doc().EpochTables.GetStage(0, epoch, slot); }

  int width_ = 0;
  int height_ = 0;
  int savedEpoch_ = 0;
  int savedPage_ = 0;
};
