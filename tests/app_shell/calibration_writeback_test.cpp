// A calibration changed while a recording is open is written into its own raw data file when
// the recording is left, once, and never into a recording the program does not own.
#include <optional>

#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app_shell/app_fixture.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "platform/ui/messages.h"
#include "sample_recording.h"

namespace {

class CalibrationWriteBack : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    EpochSeconds = 30;
    PageSeconds = 30;
    testhooks::Reset();
    samples::Options o;
    o.hours = 0.05;
    o.channels = 3;
    o.rateHz = 64;
    night_ = folder_->Path() + "/night.fyd";
    std::string error;
    ASSERT_TRUE(samples::WriteSampleRecording(o, night_, &error)) << error;
    ASSERT_NE(app_->OpenDocumentFile(night_), nullptr);
    ASSERT_EQ(DocumentLoaded, 1);
  }
  void TearDown() override {
    if (app_ && DocumentLoaded != 0) {
      sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
      Doc().OnNewDocument();
      sys::ClearKeyStateForTesting();
    }
    AppTest::TearDown();
  }
  // The user changes channel 1's calibration in the Calibration dialog.
  void ChangeCalibration() {
    ChCalibrationEntry& cal = Doc().ChInfo[1].calibration;
    cal.calibrated = 1;
    cal.topSample = 40000;
    cal.bottomSample = 20000;
    cal.topValue = 250.0;
    cal.bottomValue = -250.0;
    Doc().ChInfo[1].unitsPerCm = 50.0;
    Doc().CalibrationChanged = 1;
  }
  _FynRawG2Param StoredChannel(int c) {
    FynFileAccessRaw raw(night_.c_str());
    _FynRawG2Param g2;
    EXPECT_EQ(raw.InitParams(), 0);
    EXPECT_EQ(raw.GetGroup2ParamRaw(c, &g2), 0);
    return g2;
  }
  bool HasSleepGroup() {
    FynFileAccessRaw raw(night_.c_str());
    std::uint32_t offset = 0;
    return raw.InitParams() == 0 && raw.GetPropGroupAddress("SLEEP", &offset) == 0 && offset != 0;
  }
  std::string night_;
};

TEST_F(CalibrationWriteBack, YesWritesTheChangeOnceAndGivesTheFileBack) {
  const bool sleepGroup = HasSleepGroup();
  const auto before = sys::ReadWholeFile(night_);
  ASSERT_TRUE(before.has_value());
  ChangeCalibration();
  testhooks::AnswerMessageBox(ui::IDYES);  // "The calibration has changed. Save the change?"
  ASSERT_TRUE(Doc().OnNewDocument());
  EXPECT_EQ(DocumentLoaded, 0);
  EXPECT_EQ(Doc().CalibrationChanged, 0u);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u) << "no failure is reported";

  const _FynRawG2Param g2 = StoredChannel(1);
  EXPECT_EQ(g2.calFlag, 1);
  EXPECT_EQ(g2.calTopSample, 40000);
  EXPECT_EQ(g2.calBottomSample, 20000);
  EXPECT_DOUBLE_EQ(g2.calTopPhysical, 250.0);
  EXPECT_DOUBLE_EQ(g2.calBottomPhysical, -250.0);
  EXPECT_EQ(g2.drawRateFlag, 1);
  // With the "SLEEP" group the draw rate is the calibration span over the units per cm.
  EXPECT_DOUBLE_EQ(g2.drawRate, sleepGroup ? 500.0 * 10.0 / 50.0 : 50.0);
  // The user's file is writable again once the recording is left.
  EXPECT_EQ(sys::GetFileAttributes(night_) & sys::kAttrReadOnly, 0u);

  // Opened again, the recording reads the new calibration; leaving it writes nothing more.
  const auto written = sys::ReadWholeFile(night_);
  ASSERT_NE(app_->OpenDocumentFile(night_), nullptr);
  EXPECT_EQ(Doc().ChInfo[1].calibration.topSample, 40000);
  EXPECT_DOUBLE_EQ(Doc().ChInfo[1].unitsPerCm, 50.0);
  testhooks::Reset();
  ASSERT_TRUE(Doc().OnNewDocument());
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  EXPECT_EQ(sys::ReadWholeFile(night_), written);
  EXPECT_NE(written, before);
}

TEST_F(CalibrationWriteBack, NoAndForeignRecordingsLeaveTheFileAlone) {
  const auto before = sys::ReadWholeFile(night_);
  ChangeCalibration();
  testhooks::AnswerMessageBox(ui::IDNO);
  ASSERT_TRUE(Doc().OnNewDocument());
  EXPECT_EQ(sys::ReadWholeFile(night_), before);

  // A recording the program does not own (an analysis file, a plug-in's) is never written,
  // whatever its flag says.
  ASSERT_NE(app_->OpenDocumentFile(night_), nullptr);
  ChangeCalibration();
  Doc().RecordInfo.sourceKind = 3;
  EXPECT_EQ(Frame().RebuildRawFileCalibration(), 1);
  EXPECT_EQ(sys::ReadWholeFile(night_), before);
  Doc().RecordInfo.sourceKind = 0;
  Doc().CalibrationChanged = 0;
}

TEST_F(CalibrationWriteBack, AFileThatCannotBeRebuiltIsReported) {
  ChangeCalibration();
  // The file was damaged behind the program's back: the editor cannot read it.
  sys::SetFileAttributes(night_, sys::kAttrNormal);
  ASSERT_TRUE(sys::WriteFileAtomic(night_, "not a recording"));
  EXPECT_EQ(Frame().RebuildRawFileCalibration(), 0);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "The calibration could not be written to the raw data file.");
  EXPECT_EQ(Doc().CalibrationChanged, 0u) << "the question is not asked again for this recording";
  EXPECT_EQ(sys::ReadWholeFile(night_), std::optional<std::string>("not a recording"));
}

}  // namespace
