#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "common/draw/fyn_bitmap.h"
#include "common/draw/fyn_dib.h"
#include "common/fyn_message.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/system/binary_file.h"

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

class BitmapFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("qlm_bitmap_" + std::to_string(::getpid()) + "_" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    fyn::ClearLastMessage();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  static std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::filesystem::path dir_;
};

// A 24-bit capture: header values, file layout and the pixels that come back.
TEST_F(BitmapFiles, CaptureOf100By10At24BitsGivesA3054ByteFile) {
  draw::Image surface(200, 50, 32);
  surface.Fill(draw::Rgb(255, 255, 255));
  draw::Dc dc(surface);
  dc.FillSolidRect(draw::Rect{10, 5, 20, 15}, draw::Rgb(255, 0, 0));

  // Given right-to-left and bottom-to-top: the same area as its normalised form.
  FynSaveBitmapFile bmp(&dc, draw::Rect{110, 15, 10, 5}, nullptr, Path("cap.bmp").c_str());
  EXPECT_EQ(bmp.CopyRect().left, 10);
  EXPECT_EQ(bmp.CopyRect().bottom, 15);
  ASSERT_EQ(bmp.InitTransaction(), 1);
  EXPECT_EQ(bmp.PackedSize(), 3040u);  // 40 + 10 x 300
  ASSERT_EQ(bmp.WriteBitmap(), 1);

  auto file = Bytes(Path("cap.bmp"));
  ASSERT_EQ(file.size(), 3054u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32(file, 2), 3054u);
  EXPECT_EQ(U32(file, 10), 54u);
  EXPECT_EQ(U32(file, 14 + 20), 3000u);  // image size
  EXPECT_EQ(U32(file, 14 + 32), 0u);     // no colour table for 24 bits

  // The top-left pixel of the area (red) is the first pixel of the last stored row.
  const std::size_t lastRow = 54 + 9 * 300;
  EXPECT_EQ(file[lastRow + 0], 0);    // blue
  EXPECT_EQ(file[lastRow + 2], 255);  // red
  draw::Image back = draw::Image::Load(Path("cap.bmp"));
  ASSERT_FALSE(back.IsNull());
  EXPECT_EQ(back.Width(), 100);
  EXPECT_EQ(back.GetPixel(0, 0), draw::Rgb(255, 0, 0));
  EXPECT_EQ(back.GetPixel(50, 5), draw::Rgb(255, 255, 255));

  // A standard image tool reads the file as it is.
  if (std::system("command -v identify >/dev/null 2>&1") == 0) {
    std::string cmd = "identify -format '%w %h %z' '" + Path("cap.bmp") + "' > '" + Path("id.txt") + "' 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::ifstream id(Path("id.txt"));
    std::string line;
    std::getline(id, line);
    EXPECT_EQ(line, "100 10 8");
  }
}

TEST_F(BitmapFiles, EverySurfaceIsTrueColourSoCapturesAre24Bit) {
  // Drawing surfaces are true colour whatever the image behind them: 24-bit captures.
  draw::Image surface(101, 4, 8);
  draw::Dc dc(surface);
  FynSaveBitmapFile bmp(&dc, draw::Rect{0, 0, 101, 4}, nullptr, Path("pal.bmp").c_str());
  ASSERT_EQ(bmp.InitTransaction(), 1);
  ASSERT_EQ(bmp.WriteBitmap(), 1);
  auto file = Bytes(Path("pal.bmp"));
  EXPECT_EQ(U32(file, 10), 54u);
  EXPECT_EQ(file.size(), 54u + 4 * 304);  // a 101-pixel row at 24 bits takes 304 bytes
}

TEST_F(BitmapFiles, NothingCapturedOrUnwritablePathWritesNothing) {
  draw::Image surface(10, 10, 32);
  draw::Dc dc(surface);
  FynSaveBitmapFile bmp(&dc, draw::Rect{0, 0, 10, 10}, nullptr, Path("none.bmp").c_str());
  EXPECT_EQ(bmp.WriteBitmap(), 0);
  EXPECT_FALSE(std::filesystem::exists(Path("none.bmp")));
  ASSERT_EQ(bmp.InitTransaction(), 1);
  bmp.SetWriteFileName(Path("missing-folder/x.bmp").c_str());
  EXPECT_EQ(bmp.WriteBitmap(), 0);
}

// Images of each bit count written and read back through the bitmap reader.
TEST_F(BitmapFiles, DibWritesAndReadsEveryBitCount) {
  struct Case { int bits; int entries; int headerSize; int offBits; int imageSize; };
  const Case cases[] = {
      {1, 2, 48, 62, 10 * 4},     // 1 bit: 2 entries, a 10-pixel row in 4 bytes
      {4, 16, 104, 118, 10 * 8},  // 4 bits: 40 bits -> 8 bytes a row
      {8, 256, 1064, 1078, 10 * 12},
      {24, 0, 40, 54, 10 * 32},   // 24 bits: rows of 32 bytes, image size 320
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    FynDib dib(draw::Size{10, 10}, c.bits);
    // Colours used 0 is what files from elsewhere carry: the entry count follows the bits.
    std::vector<std::uint8_t> block(dib.Header(), dib.Header() + dib.GetSizeHeader());
    block[32] = block[33] = 0;
    block.resize(block.size() + static_cast<std::size_t>(c.imageSize));
    for (std::size_t i = dib.GetSizeHeader(); i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 7);
    auto* owned = static_cast<std::uint8_t*>(std::malloc(block.size()));
    std::copy(block.begin(), block.end(), owned);
    FynDib src;
    ASSERT_EQ(src.AttachMemory(owned, 1, nullptr), 1);
    EXPECT_EQ(src.ColorTableEntries(), c.entries);
    EXPECT_EQ(src.GetSizeHeader(), c.headerSize);
    EXPECT_EQ(src.GetSizeImage(), c.imageSize);

    sys::BinaryFile out;
    ASSERT_TRUE(out.Open(Path("dib.bmp"), sys::BinaryFile::kWrite | sys::BinaryFile::kCreate));
    ASSERT_EQ(src.Write(&out), 1);
    out.Close();
    auto file = Bytes(Path("dib.bmp"));
    EXPECT_EQ(U32(file, 2), 0u);  // the writer stores no file size
    EXPECT_EQ(U32(file, 10), static_cast<std::uint32_t>(c.offBits));

    sys::BinaryFile in;
    ASSERT_TRUE(in.Open(Path("dib.bmp"), sys::BinaryFile::kRead));
    FynDib back;
    ASSERT_EQ(back.Read(&in), 1);
    EXPECT_EQ(back.GetDimensions().cx, 10);
    EXPECT_EQ(back.BitCount(), c.bits);
    EXPECT_TRUE(std::equal(back.ImageBits(), back.ImageBits() + c.imageSize, block.data() + c.headerSize));

    // The mapped copy stores the real length.
    ASSERT_EQ(back.CopyToMapFile(Path("mapped.bmp").c_str()), 1);
    back.Empty();
    auto mapped = Bytes(Path("mapped.bmp"));
    EXPECT_EQ(U32(mapped, 2), mapped.size());
    FynDib attached;
    ASSERT_EQ(attached.AttachMapFile(Path("mapped.bmp").c_str(), 0), 1);
    EXPECT_EQ(attached.GetSizeImage(), c.imageSize);
  }
}

TEST_F(BitmapFiles, DamagedFilesAreRefusedWithTheirMessage) {
  FynDib good(draw::Size{4, 4}, 8);
  std::vector<std::uint8_t> block(good.Header(), good.Header() + good.GetSizeHeader());
  std::vector<std::uint8_t> file(14, 0);
  file[0] = 'B';
  file[1] = 'M';
  const std::uint32_t off = 14 + static_cast<std::uint32_t>(block.size());
  for (int i = 0; i < 4; ++i) file[10 + i] = static_cast<std::uint8_t>(off >> (8 * i));
  file.insert(file.end(), block.begin(), block.end());
  file.resize(file.size() + 16, 0);

  struct Case { const char* what; std::size_t at; std::uint8_t value; bool truncate; };
  const Case cases[] = {
      {"wrong type", 0, 'X', false},
      {"header size not 40", 14, 41, false},
      {"colour count past the header block", 14 + 33, 0x10, false},  // 4096 entries
      {"row offset past the end", 12, 0x10, false},
      {"rows cut short", 0, 'B', true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto bad = file;
    bad[c.at] = c.value;
    if (c.truncate) bad.resize(bad.size() - 8);
    std::ofstream(Path("bad.bmp"), std::ios::binary).write(reinterpret_cast<const char*>(bad.data()), bad.size());
    sys::BinaryFile in;
    ASSERT_TRUE(in.Open(Path("bad.bmp"), sys::BinaryFile::kRead));
    FynDib dib;
    fyn::ClearLastMessage();
    EXPECT_EQ(dib.Read(&in), 0);
    EXPECT_EQ(fyn::LastMessage(), "Read error");
  }
  std::ofstream(Path("text.bmp")) << "not a bitmap at all";
  FynDib dib;
  EXPECT_EQ(dib.AttachMapFile(Path("text.bmp").c_str(), 0), 0);
  EXPECT_EQ(fyn::LastMessage(), "Invalid bitmap file");
  EXPECT_EQ(dib.AttachMapFile(Path("absent.bmp").c_str(), 0), 0);
  EXPECT_EQ(fyn::LastMessage(), "Empty bitmap file");
}

TEST_F(BitmapFiles, RunLengthEncodingRestoresTheRows) {
  for (int bits : {4, 8}) {
    SCOPED_TRACE(bits);
    const int w = 37, h = 5;
    FynDib dib(draw::Size{w, h}, bits);
    const int stride = ((w * bits + 31) / 32) * 4;
    auto* block = static_cast<std::uint8_t*>(std::calloc(dib.GetSizeHeader() + stride * h, 1));
    std::copy(dib.Header(), dib.Header() + dib.GetSizeHeader(), block);
    std::uint8_t* rows = block + dib.GetSizeHeader();
    // Runs, single pixels and literal stretches on each row.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int v = (x < 12) ? 3 : (x < 20 ? (x * 5 + y) % 16 : 9);
        if (bits == 8) rows[y * stride + x] = static_cast<std::uint8_t>(v);
        else rows[y * stride + x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : v);
      }
    std::vector<std::uint8_t> original(rows, rows + stride * h);
    FynDib image;
    ASSERT_EQ(image.AttachMemory(block, 1, nullptr), 1);
    ASSERT_EQ(image.Compress(nullptr, 1), 1);
    EXPECT_EQ(image.Compression(), bits == 8 ? 1 : 2);
    EXPECT_LT(image.GetSizeImage(), stride * h);
    ASSERT_EQ(image.Compress(nullptr, 0), 1);
    EXPECT_EQ(image.Compression(), 0);
    ASSERT_EQ(image.GetSizeImage(), stride * h);
    EXPECT_TRUE(std::equal(original.begin(), original.end(), image.ImageBits()));
  }
  FynDib rgb(draw::Size{4, 4}, 24);
  EXPECT_EQ(rgb.Compress(nullptr, 1), 0);
  EXPECT_EQ(rgb.Compression(), 0);
}

}  // namespace
