// A settings file that cannot be read whole gives the defaults and a message, and is kept as
// "<name>.damaged" before the next write; the window keeps its panes and bars.
#include <random>

#include "app/frame/resume_file.h"
#include "open_save_fixture.h"

namespace {

class DamagedSettings : public OpenSaveTest {
 protected:
  void TearDown() override {
    ResumeFile::ForgetDamageForTesting();
    OpenSaveTest::TearDown();
  }
  // A whole settings file whose page length is not the default.
  std::string WholeFile() {
    AnalysisParamBlocks blocks;
    SetDefaultAllBlocks(&blocks, 1);
    std::array<LyrChInfo, 32> channels;
    for (auto& ch : channels) ch.SetDefault();
    const std::int32_t savedPage = PageSeconds, savedEpoch = EpochSeconds;
    EpochSeconds = 30;
    PageSeconds = 90;
    EXPECT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks, channels), 1);
    PageSeconds = savedPage;
    EpochSeconds = savedEpoch;
    return Bytes(ResumeFile::Path());
  }
};

TEST_F(DamagedSettings, DefaultsMessageAndTheFileKeptAside) {
  const std::string whole = WholeFile();
  ASSERT_EQ(whole.size(), ResumeFile::kFileSize);
  std::mt19937 rng(3);
  std::string noise(whole.size(), '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  struct Case { const char* what; std::string bytes; bool damaged; };
  const Case cases[] = {
      {"whole", whole, false},
      {"cut to 100 bytes", whole.substr(0, 100), true},
      {"cut inside the blocks", whole.substr(0, 20000), true},
      {"random bytes", noise, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = ResumeFile::Path();
    std::filesystem::remove(path + ".damaged");
    WriteBytes(path, c.bytes);
    testhooks::Reset();
    ASSERT_TRUE(Start());
    const std::vector<std::string> texts = BoxTexts();
    if (!c.damaged) {
      EXPECT_TRUE(texts.empty()) << testing::PrintToString(texts);
      EXPECT_EQ(PageSeconds, 90);
      Stop();
      continue;
    }
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(path), std::string::npos) << texts[0];
    EXPECT_NE(texts[0].find(".damaged"), std::string::npos) << texts[0];
    // The defaults: the wave window and the bars are there.
    EXPECT_EQ(ShowStandardBar, 1);
    EXPECT_NE(Frame().RawView(), nullptr);
    EXPECT_NE(Frame().StandardBar, nullptr);
    EXPECT_NE(PageSeconds, 90);
    EXPECT_EQ(Bytes(path), c.bytes) << "nothing is written before the next write";
    ASSERT_EQ(Frame().WriteResumeFile(), 1);
    EXPECT_EQ(Bytes(path + ".damaged"), c.bytes);
    const std::string rewritten = Bytes(path);
    EXPECT_TRUE(ResumeFile::IsWhole({reinterpret_cast<const std::uint8_t*>(rewritten.data()), rewritten.size()}));
    Stop();
  }
}

}  // namespace
