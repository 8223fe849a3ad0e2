#pragma once
// A started program with a recording of 40 epochs of 30 s shown in pages of
// 8 epochs (5 pages), ready for keys and moves.
#include "app/document/analysis_param_blocks.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"
#include "tests/app_shell/app_fixture.h"

class NavTest : public AppTest {
 protected:
  static constexpr int kEpochs = 40;
  static constexpr int kPerPage = 8;

  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    savedEpoch_ = EpochSeconds;
    savedPage_ = PageSeconds;
    savedWait_ = WaitingTime;
    Load(30, 240, kEpochs);
  }
  void TearDown() override {
    EpochSeconds = savedEpoch_;
    PageSeconds = savedPage_;
    WaitingTime = savedWait_;
    LearningSampleMode = 0;
    ScreeningFileIndex = -1;
    ScrollDirection = 0;
    RawPreviewMode = 0;
    while (ui::RemoveOnePendingMessage()) {
    }
    AppTest::TearDown();
  }

  void Load(int epochSeconds, int pageSeconds, int epochs) {
    EpochSeconds = epochSeconds;
    PageSeconds = pageSeconds;
    CQLM2_AnalyzerDoc& doc = Doc();
    doc.RecordSeconds = epochSeconds * epochs;
    doc.RecordInfo.channelCount = 1;
    doc.ChInfo[0].rate = 100;
    doc.PageRows = 1;
    doc.CurrentEpoch = 0;
    doc.CurrentPage = 0;
    ASSERT_EQ(doc.EpochTables.SetNew(epochs, 0, 1, 0, 1), 1);
    SetDefaultStageTypeParam(&doc.Params.stageType);
    DocumentLoaded = 1;
    Frame().KeyRepeatPauseMs = 0;
    doc.PageReads = {};
  }

  void GoTo(int epoch) {
    Doc().CurrentEpoch = epoch;
    Doc().CurrentPage = epoch / kPerPage;
    Doc().PageReads = {};
  }
  void KeyDown(std::uint32_t vk, std::uint16_t source = 0) {
    Frame().HandleNavigationKey(ui::WM_KEYDOWN, vk, 0, source);
  }
  int Epoch() { return Doc().CurrentEpoch; }
  int Page() { return Doc().CurrentPage; }

  int savedEpoch_ = 0;
  int savedPage_ = 0;
  int savedWait_ = 0;
};
