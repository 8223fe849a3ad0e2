// The .wtf template: its bytes, saving beside and renaming, and what a load takes, refuses
// and asks in the animal-only mode.
#include <filesystem>
#include <fstream>

#include <cstring>

#include "app/document/mode_ini.h"
#include "app/frame/program_settings.h"
#include "platform/res/resource_store.h"
#include "wfr_fixture.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

// Little-endian field of a byte image.
template <class T>
T At(const std::string& b, std::size_t offset) {
  T v{};
  std::memcpy(&v, b.data() + offset, sizeof v);
  return v;
}

}  // namespace

TEST(WaveTemplateBytes, FreshBlockHasTheStoredLayout) {
  res::SetLanguage(res::Language::English);
  WaveFormRecognitionParam block;
  SetDefaultWaveFormRecognitionParam(0, &block, 0);
  const std::string b = WaveFormTemplateBytes(block);
  ASSERT_EQ(b.size(), 784u);
  const std::string head("\x01\x00\x01\x00\x00\x00\x00\x00" "Delta\0\0\0\0\0\0\0", 20);
  EXPECT_EQ(b.substr(0, 20), head);
  // Records in the stored order: Delta, Alpha, Theta, Spindle, Band1..3, K-complex, EOG(R), EOG(L), EMG.
  const struct {
    std::size_t offset;
    const char* name;
  } records[] = {{8, "Delta"},    {88, "Alpha"},      {168, "Theta"},  {248, "Spindle"}, {328, "Band1"}, {408, "Band2"},
                 {488, "Band3"},  {568, "K-COMPLEX"}, {640, "EOG(R)"}, {704, "EOG(L)"},  {768, "EMG"}};
  for (const auto& r : records) {
    EXPECT_STREQ(b.c_str() + r.offset, r.name) << "record at " << r.offset;
    EXPECT_EQ(At<std::int32_t>(b, r.offset + 12), -1) << "channel of " << r.name;
  }
  EXPECT_EQ(At<double>(b, 88 + 40), 8.0) << "Alpha frequency minimum";
  EXPECT_EQ(At<std::uint16_t>(b, 8 + 70), 1) << "Delta EMG cancel";
  EXPECT_EQ(At<double>(b, 640 + 32), 40.0) << "EOG(R) detect angle";
}

TEST(WaveTemplateBytes, ParseRefusesOtherVersionsAndShortFilesLeavingTheBlock) {
  res::SetLanguage(res::Language::English);
  WaveFormRecognitionParam good;
  SetDefaultWaveFormRecognitionParam(0, &good, 0);
  good.bands[WaveFormRecognitionParam::kTheta].amplitudeMin = 7.25;
  const std::string image = WaveFormTemplateBytes(good);
  struct Case {
    const char* what;
    std::string bytes;
    WaveTemplateRead expected;
  };
  std::string v0 = image, v2 = image;
  v0[0] = 0;
  v2[0] = 2;
  for (const Case& c : {Case{"version 1", image, WaveTemplateRead::kRead}, Case{"version 0", v0, WaveTemplateRead::kRefused},
                        Case{"version 2", v2, WaveTemplateRead::kRefused},
                        Case{"783 bytes", image.substr(0, 783), WaveTemplateRead::kRefused},
                        Case{"two bytes", image.substr(0, 2), WaveTemplateRead::kRefused},
                        Case{"empty", std::string{}, WaveTemplateRead::kRefused},
                        Case{"longer than a block", image + "tail", WaveTemplateRead::kRead}}) {
    SCOPED_TRACE(c.what);
    WaveFormRecognitionParam block;
    SetDefaultWaveFormRecognitionParam(0, &block, 0);
    const std::string before = WaveFormTemplateBytes(block);
    const auto* data = reinterpret_cast<const std::uint8_t*>(c.bytes.data());
    EXPECT_EQ(ParseWaveFormTemplate(std::span<const std::uint8_t>(data, c.bytes.size()), &block), c.expected);
    EXPECT_EQ(WaveFormTemplateBytes(block), c.expected == WaveTemplateRead::kRead ? image : before);
  }
}

TEST(WaveTemplateBytes, AnimalCompatibilityLooksAtTheHumanOnlyChannels) {
  WaveFormRecognitionParam block;
  EXPECT_EQ(IsTemplateAnimalCompatible(block, 1), 1);
  block.bands[WaveFormRecognitionParam::kBand2].channel = 3;
  block.emgChannel = 2;
  EXPECT_EQ(IsTemplateAnimalCompatible(block, 1), 1) << "free bands and EMG are allowed";
  block.eogLeft.channel = 0;
  EXPECT_EQ(IsTemplateAnimalCompatible(block, 1), 0);
  EXPECT_EQ(IsTemplateAnimalCompatible(block, 0), 1) << "outside the animal-only mode everything goes";
}

TEST_F(WaveFormSetupTest, SaveWritesTheBlockAndLoadGivesItBackByteForByte) {
  LyrRawDlgWaveFormRecognition& dlg = Open();
  Select(dlg, 1020, 2);  // Delta on channel 1
  dlg.SetDlgItemText(1004, "33.5");
  const std::string path = OutPath("night.wtf");
  WriteAll(path, "old contents");
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(dlg.ClickButton(LyrRawDlgWaveFormRecognition::kSave));
  const std::string saved = ReadAll(path);
  ASSERT_EQ(saved.size(), 784u);
  EXPECT_EQ(saved, Bytes()) << "the rows are stored before the write";
  EXPECT_EQ(At<std::int32_t>(saved, 8 + 12), 1);
  EXPECT_EQ(At<double>(saved, 8 + 24), 33.5);
  for (const auto& e : std::filesystem::directory_iterator(folder_->Path()))
    EXPECT_EQ(e.path().string().find(".tmp"), std::string::npos) << "no staging file is left: " << e.path();

  // A file that cannot be written is named, and the old file stays.
  const std::string nowhere = OutPath("missing-folder/night.wtf");
  testhooks::Reset();
  testhooks::AnswerFileDialog(ui::IDOK, {nowhere});
  ASSERT_TRUE(dlg.ClickButton(LyrRawDlgWaveFormRecognition::kSave));
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "The template file could not be written:\n" + nowhere);

  // Another set-up, then the template back.
  Select(dlg, 1020, 0);
  dlg.SetDlgItemText(1004, "1");
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(dlg.ClickButton(LyrRawDlgWaveFormRecognition::kLoad));
  EXPECT_EQ(Bytes(), saved);
  EXPECT_EQ(dlg.GetDlgItemText(1004), "33.500");
  EXPECT_EQ(dlg.Item(1020).GetCurSel(), 2);
  Close(dlg, ui::IDCANCEL);
}

TEST_F(WaveFormSetupTest, LoadRefusesWrongVersionsShortAndMissingFilesChangingNothing) {
  WaveFormRecognitionParam other = Block();
  other.bands[WaveFormRecognitionParam::kAlpha].amplitudeMax = 99.0;
  std::string image = WaveFormTemplateBytes(other);
  std::string v0 = image, v2 = image;
  v0[0] = 0;
  v2[0] = 2;
  LyrRawDlgWaveFormRecognition& dlg = Open();
  const std::string before = Bytes();
  struct Case {
    const char* what;
    std::string bytes;  // empty: no file
    std::string text;
    bool beep;
  };
  const std::string refused = res::LoadString(2278);
  for (const Case& c : {Case{"version 0", v0, refused, true}, Case{"version 2", v2, refused, true},
                        Case{"783 bytes", image.substr(0, 783), refused, true},
                        Case{"missing", std::string{}, "The template file could not be opened:\n", false}}) {
    SCOPED_TRACE(c.what);
    testhooks::Reset();
    const std::string path = OutPath(std::string(c.what) + ".wtf");
    if (!c.bytes.empty()) WriteAll(path, c.bytes);
    testhooks::AnswerFileDialog(ui::IDOK, {path});
    ASSERT_TRUE(dlg.ClickButton(LyrRawDlgWaveFormRecognition::kLoad));
    ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
    const std::string shown = testhooks::ShownMessageBoxes()[0].text;
    if (c.bytes.empty()) {
      EXPECT_EQ(shown, c.text + path) << "the message names the file";
    } else {
      EXPECT_EQ(shown, c.text);
    }
    EXPECT_EQ(!testhooks::Beeps().empty() && testhooks::Beeps()[0] == ui::MB_ICONEXCLAMATION, c.beep);
    EXPECT_EQ(Bytes(), before);
  }
  Close(dlg, ui::IDCANCEL);
}

TEST_F(WaveFormSetupTest, ChannelsBeyondTheRecordingShowNoneAndBecomeMinusOne) {
  WaveFormRecognitionParam other = Block();
  other.bands[WaveFormRecognitionParam::kTheta].channel = 12;  // of 12 channels: 0 .. 11
  other.emgChannel = 40;
  const std::string path = OutPath("wide.wtf");
  WriteAll(path, WaveFormTemplateBytes(other));
  LyrRawDlgWaveFormRecognition& dlg = Open();
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(dlg.ClickButton(LyrRawDlgWaveFormRecognition::kLoad));
  EXPECT_EQ(dlg.Item(1034).GetCurSel(), 0);
  EXPECT_EQ(dlg.Item(1034).GetString(0), "None");
  EXPECT_EQ(Block().bands[WaveFormRecognitionParam::kTheta].channel, -1);
  EXPECT_EQ(Block().emgChannel, -1);
  EXPECT_FALSE(dlg.Item(1040).IsEnabled()) << "a row without channel is disabled";
  Close(dlg, ui::IDCANCEL);
}

TEST_F(WaveFormSetupTest, AnimalOnlyLoadAsksForHumanChannelsAndRebuildsOnOk) {
  AnimalOnlyMode = 1;
  WaveFormRecognitionParam human = Block();
  human.bands[WaveFormRecognitionParam::kDelta].channel = 0;
  human.bands[WaveFormRecognitionParam::kBand1].channel = 1;
  const std::string path = OutPath("human.wtf");
  WriteAll(path, WaveFormTemplateBytes(human));

  // Cancel: the block stays.
  LyrRawDlgWaveFormRecognition* dlg = &Open();
  const std::string before = Bytes();
  testhooks::Reset();
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  ASSERT_TRUE(dlg->ClickButton(LyrRawDlgWaveFormRecognition::kLoad));
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, res::LoadString(2535));
  EXPECT_TRUE(testhooks::Beeps().empty()) << "the question comes without a beep";
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(AnimalOnlyMode, 1);

  // OK: the mode goes off, the mode file says so, the window comes back in the full layout.
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  testhooks::AnswerMessageBox(ui::IDOK);
  ASSERT_TRUE(dlg->ClickButton(LyrRawDlgWaveFormRecognition::kLoad));
  EXPECT_EQ(AnimalOnlyMode, 0);
  EXPECT_EQ(ReadModeIni().animalOnly, 0);
  testhooks::ProcessMessages();
  dlg = Frame().WaveFormRecognitionDlg;
  ASSERT_NE(dlg, nullptr) << "the window is built anew";
  EXPECT_EQ(Bytes(), WaveFormTemplateBytes(human));
  EXPECT_TRUE(dlg->Item(1020).IsVisible()) << "the established bands show again";
  EXPECT_EQ(dlg->Item(1020).GetCurSel(), 1);
  Close(*dlg, ui::IDCANCEL);
}

TEST_F(WaveFormSetupTest, AnimalOnlyLoadOfFreeBandsIsSilent) {
  AnimalOnlyMode = 1;
  WaveFormRecognitionParam animal = Block();
  animal.bands[WaveFormRecognitionParam::kBand3].channel = 2;
  animal.emgChannel = 4;
  const std::string path = OutPath("animal.wtf");
  WriteAll(path, WaveFormTemplateBytes(animal));
  LyrRawDlgWaveFormRecognition& dlg = Open();
  testhooks::Reset();
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(dlg.ClickButton(LyrRawDlgWaveFormRecognition::kLoad));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  EXPECT_EQ(Block().bands[WaveFormRecognitionParam::kBand3].channel, 2);
  EXPECT_EQ(Block().emgChannel, 4);
  for (const auto b : {WaveFormRecognitionParam::kDelta, WaveFormRecognitionParam::kTheta,
                       WaveFormRecognitionParam::kAlpha, WaveFormRecognitionParam::kSpindle})
    EXPECT_EQ(Block().bands[b].channel, -1);
  EXPECT_EQ(Block().kComplex.channel, -1);
  EXPECT_EQ(Block().eogRight.channel, -1);
  EXPECT_EQ(AnimalOnlyMode, 1);
  Close(dlg, ui::IDCANCEL);
}
