// EDF, EDF+ and BDF recordings: named on the command line of a program with fresh settings,
// they are read by the first plug-in beside the program that accepts them, with absolute paths
// stored; the DSI plug-in gives each channel a sensitivity that keeps its signal in its row.
#include <edflib.h>
#include <unistd.h>

#include "app/document/import_plugin.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "open_save_fixture.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"

namespace {

class EdfOpen : public OpenSaveTest {
 protected:
  void SetUp() override {
    OpenSaveTest::SetUp();
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) != nullptr) cwd_ = cwd;
  }
  void TearDown() override {
    if (!cwd_.empty()) {
      EXPECT_EQ(chdir(cwd_.c_str()), 0);
    }
    OpenSaveTest::TearDown();
    PluginPath.clear();
    LastFolderPath.clear();
  }
  std::string cwd_;
};

TEST_F(EdfOpen, CommandLineOpensForeignRecordingsWithFreshSettings) {
  const std::string dir = folder_->Path();
  const std::string dsi = InstallDsiPlugin(dir);
  // Plug-ins are asked in name order: a file that is no library comes first, a second copy of
  // the reader after the first.
  WriteBytes(dir + "/RXQD_IMP_AAA.so", "not a library");
  std::filesystem::copy_file(dsi, dir + "/RXQD_IMP_ZZZ.so");
  std::filesystem::create_directory(dir + "/nights");
  struct Case { const char* name; int type; };
  for (const Case& c : {Case{"night.edf", EDFLIB_FILETYPE_EDF}, Case{"night+.edf", EDFLIB_FILETYPE_EDFPLUS},
                        Case{"night.bdf", EDFLIB_FILETYPE_BDF}, Case{"night+.bdf", EDFLIB_FILETYPE_BDFPLUS}}) {
    SCOPED_TRACE(c.name);
    EdfSpec spec;
    spec.fileType = c.type;
    ASSERT_TRUE(WriteEdfRecording(dir + "/nights/" + c.name, spec));
    ASSERT_EQ(chdir(dir.c_str()), 0);
    PluginPath.clear();
    testhooks::Reset();
    ASSERT_TRUE(Start({std::string("nights/") + c.name}));
    EXPECT_TRUE(testhooks::ShownMessageBoxes().empty()) << testing::PrintToString(BoxTexts());
    EXPECT_EQ(DocumentLoaded, 1);
    EXPECT_EQ(Doc().RecordInfo.sourceKind, 3);
    EXPECT_EQ(Doc().RecordInfo.channelCount, 4);
    EXPECT_EQ(Doc().RecordInfo.path, dir + "/nights/" + c.name);
    EXPECT_EQ(PluginPath, dsi);
    EXPECT_EQ(LastFolderPath, dir + "/nights");
    // The filters the recording names survive the settings loaded at start-up.
    if (c.type == EDFLIB_FILETYPE_EDF || c.type == EDFLIB_FILETYPE_BDF) {
      EXPECT_EQ(Doc().ChInfo[0].filterMode, 2);
      EXPECT_DOUBLE_EQ(Doc().ChInfo[0].cut2Hz, 0.3);
    }
    EXPECT_DOUBLE_EQ(Doc().ChInfo[0].unitsPerCm, 1000.0);
    sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
    Doc().OnNewDocument();
    sys::ClearKeyStateForTesting();
    Stop();
  }
}

TEST_F(EdfOpen, StoredPluginThatRefusesGivesWayToOneBesideTheProgram) {
  const std::string dsi = InstallDsiPlugin(folder_->Path());
  ASSERT_TRUE(Start());
  const std::string path = folder_->Path() + "/night.edf";
  ASSERT_TRUE(WriteEdfRecording(path, EdfSpec{}));
  PluginPath = "/nowhere/RXQD_IMP_GONE.so";
  ASSERT_NE(app_->OpenDocumentFile(path), nullptr);
  EXPECT_EQ(PluginPath, dsi);
  EXPECT_EQ(Doc().RecordInfo.sourceKind, 3);
}

// Each channel drawn as a page in its own colour: fewer than 1 % of its pixels leave its row.
class EdfRows : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<testhooks::TempProgramFolder>();
    InstallDsiPlugin(folder_->Path());
    saved_ = {EpochSeconds, PageSeconds, PrintTarget, PrintInColor, static_cast<int>(ShowChannelName)};
    savedColours_ = DisplayColors;
    DisplayColors[2] = kWhite;  // the grid in the paper's colour: only waves leave marks
    EpochSeconds = 10;
    PageSeconds = 30;
    PrintTarget = 1;
    PrintInColor = 1;
    ShowChannelName = 0;
    PluginPath.clear();
    DocumentLoaded = 0;
  }
  void TearDown() override {
    ReleasePluginModule("");
    DisplayColors = savedColours_;
    EpochSeconds = saved_[0];
    PageSeconds = saved_[1];
    PrintTarget = static_cast<std::uint16_t>(saved_[2]);
    PrintInColor = saved_[3];
    ShowChannelName = static_cast<std::uint32_t>(saved_[4]);
    PluginPath.clear();
    DocumentLoaded = 0;
    testhooks::Reset();
  }
  static constexpr draw::ColorRef kWhite = draw::Rgb(255, 255, 255);
  std::unique_ptr<testhooks::TempProgramFolder> folder_;
  std::array<int, 5> saved_{};
  std::array<std::uint32_t, 9> savedColours_{};
};

TEST_F(EdfRows, EachChannelStaysInItsRowAtTheDefaultGain) {
  struct Case { const char* what; int type; double physMin, physMax; };
  const Case cases[] = {
      {"EDF +/-1000", EDFLIB_FILETYPE_EDFPLUS, -1000.0, 1000.0},
      {"EDF +/-3000", EDFLIB_FILETYPE_EDF, -3000.0, 3000.0},
      {"BDF +/-1000", EDFLIB_FILETYPE_BDFPLUS, -1000.0, 1000.0},
      {"BDF +/-3000", EDFLIB_FILETYPE_BDF, -3000.0, 3000.0},
      {"reversed range", EDFLIB_FILETYPE_EDFPLUS, 1000.0, -1000.0},
  };
  const draw::ColorRef colours[4] = {draw::Rgb(255, 0, 0), draw::Rgb(0, 0, 255), draw::Rgb(0, 160, 0),
                                     draw::Rgb(160, 0, 160)};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EdfSpec spec;
    spec.fileType = c.type;
    spec.physMin = c.physMin;
    spec.physMax = c.physMax;
    const std::string path = folder_->Path() + "/rows.edf";
    ASSERT_TRUE(WriteEdfRecording(path, spec));
    CQLM2_AnalyzerDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    LyrRawAreaView view;
    view.SetDocument(&doc);
    view.SetRowIndex(2);
    constexpr int kTop = 0, kBottom = 399;
    view.SetPrintRect(draw::Rect{50, kTop, 649, kBottom}, 5);
    for (int ch = 0; ch < 4; ++ch) {
      doc.ChInfo[ch].colour = colours[ch];
      doc.ChInfo[ch].scaleMode = 0;
    }
    draw::Image image(700, 450, 32);
    draw::Dc dc(image);
    dc.FillSolidRect(draw::Rect{0, 0, 700, 450}, kWhite);
    view.DrawPage(dc);
    // Four rows of (399 - 0 + 1) / 4 = 100 pixels.
    for (int ch = 0; ch < 4; ++ch) {
      const int rowTop = kTop + ch * 100, rowBottom = rowTop + 100;
      int inside = 0, outside = 0;
      for (int y = 0; y < 450; ++y)
        for (int x = 0; x < 700; ++x)
          if (dc.GetPixel(x, y) == colours[ch]) (y >= rowTop && y <= rowBottom ? inside : outside)++;
      EXPECT_GT(inside, 500) << "channel " << ch << " is drawn";
      EXPECT_LT(outside * 100, inside + outside) << "channel " << ch << ": " << outside << " of "
                                                  << inside + outside << " pixels outside its row";
    }
    view.SetDocument(nullptr);
    doc.OnNewDocument();
  }
}

}  // namespace
