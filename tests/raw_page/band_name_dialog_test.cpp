// The Band name dialog: one free band's name shown, stored cut to nine bytes on OK, kept on
// Cancel.
#include <gtest/gtest.h>

#include "../shared_dialogs/dialog_fixture.h"
#include "app/raw/lyr_raw_dlg_band_name.h"
#include "platform/res/ui_resource.h"

namespace {

using BandNameDialog = DialogTest;

std::string& FreeBandName(CQLM2_AnalyzerDoc& doc, int band) {
  return doc.Params.waveForm.bands[static_cast<std::size_t>(WaveFormRecognitionParam::kBand1 + band)].name;
}

TEST_F(BandNameDialog, OkStoresTheTypedNameOfTheGivenBandOnly) {
  struct Case { int band; std::string typed, stored; };
  const Case cases[] = {
      {0, "Beta", "Beta"},
      {1, "ABCDEFGHIJKL", "ABCDEFGHI"},  // twelve typed, nine kept
      {2, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.band);
    for (int b = 0; b < 3; ++b) FreeBandName(doc, b) = "Old" + std::to_string(b);
    testhooks::ScriptDialog(LyrRawDlgBandName::kTemplateId, [&](ui::Dialog& d) {
      EXPECT_EQ(d.GetDlgItemText(LyrRawDlgBandName::kName), "Old" + std::to_string(c.band));
      d.SetDlgItemText(LyrRawDlgBandName::kName, c.typed);
      d.ClickButton(ui::IDOK);
    });
    LyrRawDlgBandName dlg(&doc, c.band);
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    for (int b = 0; b < 3; ++b)
      EXPECT_EQ(FreeBandName(doc, b), b == c.band ? c.stored : "Old" + std::to_string(b));
  }
}

TEST_F(BandNameDialog, CancelKeepsTheName) {
  FreeBandName(doc, 2) = "Sigma";
  testhooks::ScriptDialog(LyrRawDlgBandName::kTemplateId, [](ui::Dialog& d) {
    d.SetDlgItemText(LyrRawDlgBandName::kName, "Other");
    d.ClickButton(ui::IDCANCEL);
  });
  LyrRawDlgBandName dlg(&doc, 2);
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(FreeBandName(doc, 2), "Sigma");
}

TEST_F(BandNameDialog, StoredNameFitsItsRecordWhenTheSavedBlockIsReadBack) {
  testhooks::ScriptDialog(LyrRawDlgBandName::kTemplateId, [](ui::Dialog& d) {
    d.SetDlgItemText(LyrRawDlgBandName::kName, "Theta-burst");
    d.ClickButton(ui::IDOK);
  });
  LyrRawDlgBandName dlg(&doc, 0);
  ASSERT_EQ(dlg.DoModal(), ui::IDOK);
  std::array<std::uint8_t, WaveFormRecognitionParam::kSize> block{};
  doc.Params.waveForm.Store(block);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data() + 328)), "Theta-bur");
}

TEST(BandNameTemplate, JapaneseTemplateCarriesTheNameEdit) {
  std::string error;
  const auto ja = res::LoadDialogResource(LyrRawDlgBandName::kTemplateId, 1041, &error);
  ASSERT_TRUE(ja) << error;
  bool found = false;
  for (const auto& n : ja->nodes) found = found || n.id == LyrRawDlgBandName::kName;
  EXPECT_TRUE(found);
}

}  // namespace
