#pragma once
// Result files of generated nights for the hypnogram utility's tests: saved by the program's
// own writer from the tests' tiny recording, at any epoch length.
#include <gtest/gtest.h>

#include <string>

#include "../result_files/raf_fixture.h"
#include "app/results/utility_result_file.h"

// A scored night of `epochs` epochs of `epochSeconds`, saved as a result file at `path`.
inline std::string SavedNight(const std::string& path, int epochs, int epochSeconds) {
  TinyDoc night(2, epochs * epochSeconds, epochSeconds);
  night.Score();
  night.record.startTimeValid = 1;
  night.record.startDateTime = {2026, 3, 14, 22, 30, 0, 0};
  ScriptedUi ui;
  ResultWriteRequest req{night.record.path, path, 0, night.Epochs() - 1, night.memos};
  EXPECT_EQ(WriteResultFile(night.doc, req, ui), 1) << path;
  return path;
}

// A file in memory: `stages` as the current codes of its epochs.
inline UtilityResultFileRec NightOf(int epochSeconds, const std::vector<int>& stages, int stageType = 0) {
  UtilityResultFileRec f;
  f.epochTime = epochSeconds;
  f.epochs.assign(stages.size(), LyrEpochRec{});
  for (std::size_t i = 0; i < stages.size(); ++i) f.epochs[i].stage[0] = static_cast<std::uint8_t>(stages[i]);
  f.epochCount = static_cast<std::int32_t>(stages.size());
  SetDefaultStageTypeParam(&f.stageType);
  f.stageType.stageType = static_cast<std::uint16_t>(stageType);
  f.storedStageType = f.stageType;
  return f;
}

class UtilityFilesTest : public RafTest {
 protected:
  void SetUp() override {
    RafTest::SetUp();
    UtilityHypnogramLoaded = 0;
    ClockTimeDisplay = 1;
  }
  void TearDown() override { UtilityHypnogramLoaded = 0; }
};
