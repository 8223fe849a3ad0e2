// The recognised-wave list (dialog 145): its rows by wave type, and its opening by a right
// click on a recognised wave of the page.
#include <cfloat>

#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/raw/raw_mouse.h"
#include "app/settings/lyr_raw_dlg_wfr_result.h"
#include "platform/draw/dc.h"
#include "wfr_fixture.h"

namespace {

using W = WaveFormRecognitionParam;
using L = LyrRawDlgWFRResult;

std::intptr_t Pos(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) | static_cast<std::uint32_t>(x & 0xFFFF));
}

RecognizedWaveRecord Wave(int type) {
  RecognizedWaveRecord w;
  w.type = static_cast<std::int16_t>(type);
  w.halfWaves = 6;
  w.startSample = 64 * 95;
  w.durationMs = 1234.567f;
  w.meanAmplitude = 88.126f;
  w.meanFrequencyHz = 1.5f;
  w.frequencyVariance = FLT_MAX;
  return w;
}

std::vector<std::string> Labels(const std::vector<L::Line>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(l.label);
  return out;
}

}  // namespace

TEST_F(WaveFormSetupTest, ListRowsFollowTheWaveType) {
  Block().bands[W::kBand2].channel = 0;
  Block().bands[W::kBand2].name = "Sawtooth";
  Block().kComplex.channel = 1;
  ClockTimeDisplay = 0;
  const auto band = L::Lines(Doc(), Wave(6));
  ASSERT_EQ(band.size(), 7u);
  EXPECT_EQ(Labels(band), (std::vector<std::string>{"Sawtooth", "01 00:01:35.000", "Duration(msec.)", "Abs. mean amp.(uV)",
                                                    "Half wave count", "Mean freq.(Hz)", "Mean variance freq.(Hz)"}));
  EXPECT_EQ(band[2].value, "1234.57");
  EXPECT_EQ(band[3].value, "88.13");
  EXPECT_EQ(band[4].value, "6");
  EXPECT_EQ(band[5].value, "1.50");
  EXPECT_EQ(band[6].value, "Error") << "the largest float has no value";
  RecognizedWaveRecord measured = Wave(6);
  measured.frequencyVariance = 0.25f;
  EXPECT_EQ(L::Lines(Doc(), measured)[6].value, "0.25");

  const auto k = L::Lines(Doc(), Wave(8));
  ASSERT_EQ(k.size(), 4u);
  EXPECT_EQ(k[0].label, "K-COMPLEX");
  EXPECT_EQ(k[3].label, "Peak to peak amp.(uV)");
  EXPECT_EQ(k[3].value, "88.13");
  EXPECT_EQ(L::Lines(Doc(), Wave(9)).size(), 4u);

  for (const int type : {0, 11, -3}) EXPECT_TRUE(L::Lines(Doc(), Wave(type)).empty()) << type;

  // A type whose channel went to "None" after the drawing: no unit and no time.
  const auto lost = L::Lines(Doc(), Wave(1));
  EXPECT_EQ(lost[1].label, "");
  EXPECT_EQ(lost[3].label, "Abs. mean amp.");
}

TEST_F(WaveFormSetupTest, RightClickOnADeltaWaveOpensItsListBesideTheFrame) {
  testhooks::SetVirtualScreen(1366, 768, 360, 203);
  Block().bands[W::kDelta].channel = 0;
  Block().bands[W::kDelta].amplitudeMin = 20;  // the night's delta trains reach this
  LyrRawAreaView& view = *Frame().RawView()->Row(2)->AreaView();
  const RecognizedWaveRecord* wave = nullptr;
  for (int page = 0; page < 30 && wave == nullptr; ++page) {
    Frame().SetPageByEpoch(page, page * kPerPage);
    testhooks::RenderWindow(view);
    ASSERT_NE(view.RecognizedWaves(), nullptr);
    for (const auto& r : view.RecognizedWaves()->Records())
      if (r.type == kWaveTypeDelta) {
        wave = &r;
        break;
      }
  }
  ASSERT_NE(wave, nullptr) << "the night has delta waves";
  const RecognizedWaveRecord copy = *wave;
  view.SendMessage(ui::WM_RBUTTONUP, 0, Pos((copy.left + copy.right) / 2, (copy.top + copy.bottom) / 2));
  LyrRawDlgWFRResult* list = WFRResultDlg(2);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->IsWindowVisible());
  EXPECT_TRUE(list->IsTopMost());
  EXPECT_EQ(list->Item(L::kList).GetCount(), 7);
  EXPECT_EQ(list->Item(L::kList).GetItemText(0, 0), "Delta");
  const ui::Point frameRight = view.ClientToScreen(ui::Point{copy.right, copy.top});
  const ui::Rect placed = list->GetWindowRect();
  const draw::Point expected = rawmouse::WaveListWindowPos(
      draw::Rect{frameRight.x - (copy.right - copy.left), frameRight.y, frameRight.x, frameRight.y}, placed.Width(), 1366);
  EXPECT_EQ(placed.left, expected.x);
  EXPECT_EQ(placed.top, expected.y);

  // A right click beside the waves closes it, and no menu comes.
  testhooks::Reset();
  view.SendMessage(ui::WM_RBUTTONUP, 0, Pos(2, 2));
  EXPECT_EQ(WFRResultDlg(2), nullptr);
  testhooks::ProcessMessages();
  testhooks::SetVirtualScreen(0, 0, 0, 0);
}

TEST_F(WaveFormSetupTest, ListPlacementAndEnterInAnotherRowsList) {
  EXPECT_EQ(rawmouse::WaveListWindowPos(draw::Rect{100, 50, 200, 80}, 240, 1366).x, 205);
  EXPECT_EQ(rawmouse::WaveListWindowPos(draw::Rect{1100, 50, 1200, 80}, 240, 1366).x, 1100 - 240 - 5);
  EXPECT_EQ(rawmouse::WaveListWindowPos(draw::Rect{100, 50, 1300, 80}, 240, 1366).x, 0) << "never off the left";

  Block().bands[W::kDelta].channel = 0;
  const RecognizedWaveRecord w = Wave(1);
  ASSERT_TRUE(ShowWFRResultForWave(&Doc(), 1, &w, 3, draw::Rect{10, 10, 50, 40}));
  LyrRawDlgWFRResult* first = WFRResultDlg(1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(WFRResultIndex(1), 3);
  // Enter in row 1's list asks the middle row, which holds none: the list stays.
  first->OnOK();
  EXPECT_EQ(WFRResultDlg(1), first);
  ASSERT_TRUE(ShowWFRResultForWave(&Doc(), 2, &w, 0, draw::Rect{10, 10, 50, 40}));
  WFRResultDlg(2)->OnCancel();
  EXPECT_EQ(WFRResultDlg(2), nullptr);
  EXPECT_EQ(CloseWFRResultDlg(1), 1);
  EXPECT_EQ(CloseWFRResultDlg(1), 0);
  testhooks::ProcessMessages();
}
