// The cut of a recording into a new raw data file, read back byte by byte with a reader of
// the test's own, and through the program's readers.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/results/raw_output_file.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "tools/raw_output_cases/raw_output_cases.h"

namespace {

// Little-endian fields of a byte string, read in order.
class Bytes {
 public:
  explicit Bytes(std::string b) : b_(std::move(b)) {}
  std::size_t pos() const { return pos_; }
  std::size_t size() const { return b_.size(); }
  void Seek(std::size_t p) { pos_ = p; }
  std::uint64_t N(int n) {
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<std::uint64_t>(static_cast<unsigned char>(b_.at(pos_ + i))) << (8 * i);
    pos_ += static_cast<std::size_t>(n);
    return v;
  }
  std::uint16_t U16() { return static_cast<std::uint16_t>(N(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(N(4)); }
  double F64() {
    const std::uint64_t bits = N(8);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
  }
  std::string Text() {
    const std::uint32_t n = U32();
    std::string s = b_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  bool AllZero(std::size_t from, std::size_t to) const {
    for (std::size_t i = from; i < to; ++i)
      if (b_[i] != 0) return false;
    return true;
  }

 private:
  std::string b_;
  std::size_t pos_ = 0;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::uint16_t SourceWord(int c, long long i) { return rawcases::Word(c, i); }

class RawOutputFile : public ::testing::Test {
 protected:
  void SetUp() override {
    testhooks::Reset();
    savedEpoch_ = EpochSeconds;
    EpochSeconds = 2;
    dir_ = std::filesystem::path(::testing::TempDir()) / ("raw_output_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    source_ = (dir_ / "source.fyd").string();
    ASSERT_TRUE(rawcases::WriteSource(source_, rawcases::Source{}));
    rawcases::Attach(doc_, source_, rawcases::Source{});
    // The range of epochs 1..2 is samples 20..59.
    doc_.Events = {{0, 19}, {1, 20}, {0, 59}, {1, 60}};
  }
  void TearDown() override {
    EpochSeconds = savedEpoch_;
    std::filesystem::remove_all(dir_);
    testhooks::Reset();
  }
  static bool WriteSource(const std::string& path) { return rawcases::WriteSource(path, rawcases::Source{}); }

  std::array<std::int32_t, 32> Flags(std::initializer_list<int> channels) {
    std::array<std::int32_t, 32> f{};
    for (int c : channels) f[static_cast<std::size_t>(c)] = 1;
    return f;
  }

  CQLM2_AnalyzerDoc doc_;
  std::filesystem::path dir_;
  std::string source_;
  std::int32_t savedEpoch_ = 30;
};

TEST_F(RawOutputFile, TinyCutByteByByte) {
  const std::string out = (dir_ / "cut.fyd").string();
  ASSERT_EQ(rawout::WriteRawOutput(doc_, out, 1, 2, Flags({0, 2})), 1);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  Bytes b(ReadAll(out));

  // ID and header.
  EXPECT_EQ(b.U32(), 26u);
  EXPECT_EQ(b.U16(), 2);
  EXPECT_EQ(b.Text(), "FY_VEX_RAWDATA");
  EXPECT_EQ(b.U16(), 0x0110);
  EXPECT_EQ(b.U32(), 8u);
  EXPECT_EQ(b.U16(), 5);  // the range holds events
  EXPECT_EQ(b.U16(), 1);

  // Common group: 64 bytes of three sub-blocks.
  const std::size_t common = b.pos();
  EXPECT_EQ(b.U32(), 64u);
  EXPECT_EQ(b.U16(), 3);
  EXPECT_EQ(b.U32(), 24u);
  EXPECT_EQ(b.U16(), 0);
  EXPECT_EQ(b.U16(), 2);          // K
  EXPECT_EQ(b.U32(), 40u);        // 2 epochs x 20 samples
  EXPECT_DOUBLE_EQ(b.F64(), 10 * 1.00001);
  EXPECT_EQ(b.U16(), 16);
  EXPECT_EQ(b.U16(), 0);
  EXPECT_EQ(b.U32(), 20u);
  // 23:59:59 plus epoch 1 (2 s) is past midnight.
  for (int v : {1, 2024, 4, 13, 0, 0, 1, 0}) EXPECT_EQ(b.U16(), v);
  EXPECT_EQ(b.U32(), 14u);
  EXPECT_EQ(b.U16(), 0);
  EXPECT_EQ(b.U16(), 0);
  EXPECT_EQ(b.U32(), 0u);
  EXPECT_EQ(b.U16(), 0xFFFF);
  EXPECT_EQ(b.pos() - common, 64u);

  // Channel group: CH1 calibrated, CH3 not.
  const std::size_t group = b.pos();
  const std::uint32_t groupLength = b.U32();
  EXPECT_EQ(b.U16(), 2);
  for (int c : {0, 2}) {
    const bool cal = c == 0;
    const std::string unit = cal ? "uV" : "volt";
    const std::size_t start = b.pos();
    EXPECT_EQ(b.U32(), 78u + 3 + unit.size()) << c;
    EXPECT_EQ(b.U16(), 3);
    b.U32();
    EXPECT_EQ(b.Text(), "CH" + std::to_string(c + 1));
    EXPECT_EQ(b.Text(), "");
    b.U32();
    EXPECT_EQ(b.U16(), 7 + c);
    EXPECT_DOUBLE_EQ(b.F64(), 400.0);
    EXPECT_EQ(b.U16(), cal ? 1 : 0);
    EXPECT_EQ(b.U16(), cal ? 30000 : 0xFFFF);
    EXPECT_EQ(b.U16(), cal ? 100 : 0);
    EXPECT_DOUBLE_EQ(b.F64(), cal ? 250.0 : 0.4);
    EXPECT_DOUBLE_EQ(b.F64(), cal ? -250.0 : -0.4);
    EXPECT_EQ(b.Text(), unit);
    EXPECT_EQ(b.U16(), 1);
    EXPECT_DOUBLE_EQ(b.F64(), 50.0 + c);
    EXPECT_EQ(b.U32(), 10u);
    for (int v : {0x11, 0x22, 0x33}) EXPECT_EQ(b.U16(), v);
    EXPECT_EQ(b.pos() - start, 78u + 3 + unit.size());
  }
  EXPECT_EQ(b.pos() - group, groupLength);

  // Subject group: always 153,600 bytes.
  const std::size_t subject = b.pos();
  EXPECT_EQ(b.U32(), rawout::kPropertyGroupBytes);
  EXPECT_EQ(b.U32(), 18u);
  EXPECT_EQ(b.Text(), "ORVENTALIS");
  EXPECT_EQ(b.U16(), 7);
  EXPECT_EQ(b.U16(), 3);
  b.U32();
  EXPECT_EQ(b.Text(), "Taro");
  EXPECT_EQ(b.U16(), 1);
  EXPECT_EQ(b.U32(), 0x00350007u);
  EXPECT_EQ(b.Text(), "night 2");
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(b.U32(), 6u);
    EXPECT_EQ(b.U16(), 0);
  }
  b.U32();
  EXPECT_EQ(b.U16(), 10);
  for (int k = 0; k < 10; ++k) {
    b.U32();
    EXPECT_EQ(b.Text(), k == 0 ? "Bed" : "");
    EXPECT_EQ(b.Text(), k == 0 ? "A-3" : "");
  }
  EXPECT_TRUE(b.AllZero(b.pos(), subject + rawout::kPropertyGroupBytes));
  b.Seek(subject + rawout::kPropertyGroupBytes);

  // Data: frames of CH1 and CH3 for samples 20..59.
  EXPECT_EQ(b.U32(), 4u + 2 * 2 * 40);
  for (long long i = 20; i < 60; ++i)
    for (int c : {0, 2}) ASSERT_EQ(b.U16(), SourceWord(c, i)) << i;

  // Events: the one at the first sample is stored at 0, the one at the last kept.
  const std::size_t events = b.pos();
  EXPECT_EQ(b.U32(), 20u + (4 + 6) + (4 + 7) + 6 * 2);
  EXPECT_EQ(b.U16(), 2);
  b.U32();
  EXPECT_EQ(b.U16(), 2);
  EXPECT_EQ(b.Text(), "Lights");
  EXPECT_EQ(b.Text(), "Arousal");
  b.U32();
  EXPECT_EQ(b.U32(), 2u);
  EXPECT_EQ(b.U16(), 1);
  EXPECT_EQ(b.U32(), 0u);
  EXPECT_EQ(b.U16(), 0);
  EXPECT_EQ(b.U32(), 39u);
  EXPECT_EQ(b.pos(), b.size());
  EXPECT_EQ(b.size() - events, 20u + (4 + 6) + (4 + 7) + 6 * 2);
}

TEST_F(RawOutputFile, ProgramReaderTakesTheCut) {
  const std::string out = (dir_ / "cut.fyd").string();
  doc_.ChInfo[1].startOffset = 3;  // the last selected channel's offset moves the range
  ASSERT_EQ(rawout::WriteRawOutput(doc_, out, 3, 4, Flags({1})), 1);
  FynFileAccessRaw raw(out.c_str());
  ASSERT_EQ(raw.InitParams(), 0);
  _FynRawG1Param g;
  ASSERT_EQ(raw.GetGroup1ParamRaw(&g), 0);
  EXPECT_EQ(g.channels, 1);
  EXPECT_EQ(g.dataCount, 40u);
  EXPECT_EQ(g.startTimeFlag, 1);
  // 23:59:59 + 3 / 10 s (whole seconds: none) + 3 epochs of 2 s.
  EXPECT_EQ(g.day, 13);
  EXPECT_EQ(g.second, 5);
  std::vector<std::uint16_t> words(40);
  ASSERT_EQ(raw.GetRawDataWORDAll(0, 39, words.data()), 0);
  // The own raw file is read at the first channel's offset (0).
  for (int i = 0; i < 40; ++i) EXPECT_EQ(words[static_cast<std::size_t>(i)], SourceWord(1, 60 + i));
  // Events rebased to the range's first sample 63: only the one at 60 was before it.
  EXPECT_EQ(raw.GetEventFlg(), 0);
}

TEST_F(RawOutputFile, NoEventsNoStartTimeFourGroups) {
  doc_.Events.clear();
  doc_.RecordInfo.startTimeValid = 0;
  doc_.RecordInfo.dataType = 5;
  const std::string out = (dir_ / "plain.fyd").string();
  ASSERT_EQ(rawout::WriteRawOutput(doc_, out, 0, 0, Flags({0, 1, 2})), 1);
  Bytes b(ReadAll(out));
  b.Seek(26 + 4);
  EXPECT_EQ(b.U16(), 4);
  EXPECT_EQ(b.U16(), 0);
  b.Seek(26 + 8 + 6 + 4);
  EXPECT_EQ(b.U16(), 1);  // a non-zero data-type word is stored as 1
  b.Seek(26 + 8 + 6 + 24 + 4);
  for (int v : {0, 2000, 1, 1, 0, 0, 0, 0}) EXPECT_EQ(b.U16(), v);
  // The file ends with the data block: 3 channels x 20 samples.
  b.Seek(b.size() - 4 - 2 * 3 * 20);
  EXPECT_EQ(b.U32(), 4u + 2 * 3 * 20);
}

// Whatever fails, the user is told and a file already at the path stays as it was.
TEST_F(RawOutputFile, FailuresLeaveThePreviousFile) {
  const std::string out = (dir_ / "kept.fyd").string();
  std::ofstream(out, std::ios::binary) << "previous";
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::string path;
  };
  const std::vector<Case> cases = {
      {"the source cannot be read", [this] { std::filesystem::remove(source_); }, out},
      {"the source is cut short",
       [this] { std::filesystem::resize_file(source_, std::filesystem::file_size(source_) - 50); }, out},
      {"the target is the open recording", [] {}, source_},
      {"the folder does not exist", [] {}, (dir_ / "none" / "x.fyd").string()},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteSource(source_));
    const std::string sourceBytes = ReadAll(source_);
    c.arrange();
    testhooks::Reset();
    EXPECT_EQ(rawout::WriteRawOutput(doc_, c.path, 0, 4, Flags({0})), 0) << c.what;
    EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 1u) << c.what;
    EXPECT_EQ(ReadAll(out), "previous") << c.what;
    if (c.path == source_) {
      EXPECT_EQ(ReadAll(source_), sourceBytes);
    }
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      const std::string name = e.path().filename().string();
      EXPECT_TRUE(name == "source.fyd" || name == "kept.fyd") << c.what << ": " << name << " left behind";
    }
  }
}

// Every file of the cases tool reads back through the program's reader: its channels, its
// samples from the range's first sample, and only the events of the range.
TEST(RawOutputCases, EachCaseReadsBack) {
  const std::string dir = ::testing::TempDir() + "raw_output_cases_" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  std::string error;
  const std::vector<std::string> files = rawcases::WriteCases(dir, &error);
  ASSERT_EQ(files.size(), 9u) << error;
  struct Expect {
    std::string name;
    int channels;
    std::uint32_t count;
    long long firstSample;
    std::uint32_t events;
  };
  const Expect expected[] = {
      {"a_events_at_the_ends", 3, 40, 20, 2}, {"b_no_events", 3, 100, 0, 0},
      {"c_no_start_time", 1, 40, 0, 0},       {"c_past_midnight_with_offset", 1, 40, 40, 2},
      {"d_calibrated_and_not", 2, 20, 0, 0},  {"e_non_adjacent", 2, 60, 20, 0},
      {"f_data_type_word", 1, 20, 0, 0},      {"g_empty_texts", 1, 20, 0, 0},
      {"g_full_texts", 1, 20, 0, 0},
  };
  for (const Expect& e : expected) {
    const std::string path = dir + "/case_" + e.name + ".fyd";
    FynFileAccessRaw raw(path.c_str());
    ASSERT_EQ(raw.InitParams(), 0) << e.name;
    _FynRawG1Param g;
    ASSERT_EQ(raw.GetGroup1ParamRaw(&g), 0) << e.name;
    EXPECT_EQ(g.channels, e.channels) << e.name;
    EXPECT_EQ(g.dataCount, e.count) << e.name;
    std::vector<std::uint16_t> words(static_cast<std::size_t>(e.channels) * e.count);
    ASSERT_EQ(raw.GetRawDataWORDAll(0, e.count - 1, words.data()), 0) << e.name;
    // The first selected channel's word at the range's first sample (the own file is read at
    // the first channel's offset, 0).
    const int firstChannel = e.name == "c_past_midnight_with_offset" ? 1 : (e.name == "f_data_type_word" ? 2 : 0);
    EXPECT_EQ(words[0], rawcases::Word(firstChannel, e.firstSample)) << e.name;
    std::uint32_t events = 0;
    if (raw.GetEventFlg() != 0) raw.GetEventCount(&events);
    EXPECT_EQ(events, e.events) << e.name;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
