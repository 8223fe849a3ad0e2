#include <gtest/gtest.h>

#include <filesystem>

#include "app/video/avi_film_file.h"
#include "app/video/mjpeg_frame_encoder.h"
#include "film_reader.h"
#include "platform/testing/ui_testing.h"

namespace {

// A bottom-up DIB frame with a picture that shows any flip or shift: brightness grows down
// the picture, a red band moves right from frame to frame, and a blue block sits top left.
std::vector<std::uint8_t> TestFrame(int width, int height, int bitsPerPixel, int index) {
  const int bytes = bitsPerPixel / 8;
  const std::size_t row = AviFrameImageSize(width, 1, static_cast<std::uint16_t>(bitsPerPixel));
  std::vector<std::uint8_t> dib(row * static_cast<std::size_t>(height), 0);
  for (int y = 0; y < height; ++y) {       // y from the top
    std::uint8_t* line = dib.data() + static_cast<std::size_t>(height - 1 - y) * row;
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = line + x * bytes;
      const auto grey = static_cast<std::uint8_t>(30 + 180 * y / height);
      p[0] = p[1] = p[2] = grey;
      if (x >= 8 * index && x < 8 * index + 24) {
        p[0] = 20, p[1] = 20, p[2] = 230;
      }
      if (x < width / 4 && y < height / 4) {
        p[0] = 220, p[1] = 40, p[2] = 40;
      }
      if (bytes == 4) p[3] = 0;
    }
  }
  return dib;
}

// Encodes frames of the size into a film file.
bool WriteFilm(const std::string& path, int width, int height, int bitsPerPixel, int count, int quality,
               std::uint32_t rate, std::vector<std::vector<std::uint8_t>>* dibs = nullptr) {
  MjpegFrameEncoder encoder;
  if (!encoder.Open(width, height, static_cast<std::uint16_t>(bitsPerPixel), quality)) return false;
  AviJpegFilm film;
  film.width = width;
  film.height = height;
  film.framesPerSecond = rate;
  for (int i = 0; i < count; ++i) {
    std::vector<std::uint8_t> dib = TestFrame(width, height, bitsPerPixel, i);
    std::string jpeg;
    if (!encoder.Encode(dib.data(), dib.size(), &jpeg)) return false;
    film.frames.push_back(std::move(jpeg));
    if (dibs != nullptr) dibs->push_back(std::move(dib));
  }
  return WriteMjpegAviFile(path, film);
}

}  // namespace

TEST(MjpegFilm, HeaderChunksAndIndexNameTheMotionJpegStream) {
  testhooks::TempProgramFolder folder;
  const std::string path = folder.Path() + "/film.avi";
  ASSERT_TRUE(WriteFilm(path, 161, 99, 32, 3, 80, 12));
  const FilmLayout f = ReadFilmLayout(path);
  ASSERT_TRUE(f.valid) << "every index entry points at its chunk";
  EXPECT_EQ(f.handler, "MJPG");
  EXPECT_EQ(f.compression, 0x47504A4Du) << "biCompression is the FOURCC MJPG";
  EXPECT_EQ(f.bitCount, 24);
  EXPECT_EQ(f.width, 161);
  EXPECT_EQ(f.height, 99);
  EXPECT_EQ(f.scale, 1u);
  EXPECT_EQ(f.rate, 12u);
  EXPECT_EQ(f.length, 3u);
  EXPECT_EQ(f.totalFrames, 3u);
  EXPECT_EQ(f.chunkIds, (std::vector<std::string>(3, "00dc")));
  EXPECT_EQ(f.indexIds, (std::vector<std::string>(3, "00dc")));
  EXPECT_EQ(f.indexFlags, (std::vector<std::uint32_t>(3, 0x10u))) << "every frame a key frame";
  for (const std::string& chunk : f.chunks) {
    ASSERT_GE(chunk.size(), 4u);
    EXPECT_EQ(chunk.substr(0, 2), "\xFF\xD8") << "a JPEG image starts each chunk";
    EXPECT_EQ(chunk.substr(chunk.size() - 2), "\xFF\xD9");
  }
}

TEST(MjpegFilm, PlayersReadBackTheFramesWithinJpegTolerance) {
  testhooks::TempProgramFolder folder;
  struct Case {
    int width, height, bits, quality;
    double tolerance;
  };
  // Odd sizes and 24-bit rows padded to 4 bytes; the tolerance is the mean error per byte.
  const Case cases[] = {{161, 99, 32, 90, 4.0}, {75, 50, 24, 90, 4.0}, {160, 100, 32, 10, 12.0}};
  for (const Case& c : cases) {
    const std::string path = folder.Path() + "/read.avi";
    std::vector<std::vector<std::uint8_t>> dibs;
    ASSERT_TRUE(WriteFilm(path, c.width, c.height, c.bits, 5, c.quality, 7, &dibs)) << c.width;
    const DecodedFilm film = DecodeFilm(path);
    ASSERT_TRUE(film.opened) << c.width;
    EXPECT_EQ(film.codec, "mjpeg");
    EXPECT_EQ(film.width, c.width);
    EXPECT_EQ(film.height, c.height);
    EXPECT_DOUBLE_EQ(film.framesPerSecond, 7.0);
    EXPECT_EQ(film.streamFrames, 5);
    ASSERT_EQ(film.frames.size(), 5u) << c.width;
    for (std::size_t i = 0; i < 5; ++i) {
      const double diff = MeanDifference(film.frames[i], dibs[i], c.width, c.height, c.bits);
      EXPECT_GE(diff, 0.0);
      EXPECT_LT(diff, c.tolerance) << c.width << " frame " << i;
      // The band of another frame is far off: the frames are in order and not flipped.
      if (i > 0) {
        EXPECT_GT(MeanDifference(film.frames[i], dibs[i - 1], c.width, c.height, c.bits), diff);
      }
    }
  }
}

TEST(MjpegFilm, QualitySetsTheQuantiserAndTheSize) {
  EXPECT_EQ(MjpegFrameEncoder::QuantiserForQuality(100), 2);
  EXPECT_EQ(MjpegFrameEncoder::QuantiserForQuality(1), 31);
  EXPECT_EQ(MjpegFrameEncoder::QuantiserForQuality(0), 31) << "held to 1..100";
  EXPECT_EQ(MjpegFrameEncoder::QuantiserForQuality(250), 2);
  for (int q = 2; q <= 100; ++q)
    EXPECT_LE(MjpegFrameEncoder::QuantiserForQuality(q), MjpegFrameEncoder::QuantiserForQuality(q - 1));

  testhooks::TempProgramFolder folder;
  ASSERT_TRUE(WriteFilm(folder.Path() + "/fine.avi", 160, 100, 32, 2, 95, 10));
  ASSERT_TRUE(WriteFilm(folder.Path() + "/coarse.avi", 160, 100, 32, 2, 5, 10));
  EXPECT_GT(std::filesystem::file_size(folder.Path() + "/fine.avi"),
            std::filesystem::file_size(folder.Path() + "/coarse.avi"));
}

TEST(MjpegFilm, RefusesWhatItCannotWriteAndLeavesNoFile) {
  testhooks::TempProgramFolder folder;
  MjpegFrameEncoder encoder;
  EXPECT_FALSE(encoder.Open(0, 10, 32, 50));
  EXPECT_FALSE(encoder.Open(10, 10, 16, 50)) << "16-bit frames are written as full frames only";
  ASSERT_TRUE(encoder.Open(16, 8, 32, 50));
  std::string jpeg;
  const std::vector<std::uint8_t> shortFrame(16 * 8 * 4 - 1, 0);
  EXPECT_FALSE(encoder.Encode(shortFrame.data(), shortFrame.size(), &jpeg));

  AviJpegFilm good;
  good.width = 16;
  good.height = 8;
  good.framesPerSecond = 10;
  const std::vector<std::uint8_t> frame(16 * 8 * 4, 0x80);
  ASSERT_TRUE(encoder.Encode(frame.data(), frame.size(), &jpeg));
  good.frames = {jpeg, jpeg};
  struct Case {
    const char* what;
    AviJpegFilm film;
  };
  std::vector<Case> cases;
  cases.push_back({"no frame", good});
  cases.back().film.frames.clear();
  cases.push_back({"an empty frame", good});
  cases.back().film.frames[1].clear();
  cases.push_back({"no rate", good});
  cases.back().film.framesPerSecond = 0;
  cases.push_back({"no size", good});
  cases.back().film.width = 0;
  for (const Case& c : cases) {
    const std::string target = folder.Path() + "/refused.avi";
    EXPECT_FALSE(WriteMjpegAviFile(target, c.film)) << c.what;
    EXPECT_FALSE(std::filesystem::exists(target)) << c.what;
  }
  EXPECT_FALSE(WriteMjpegAviFile(folder.Path() + "/no/such/folder/film.avi", good));
  EXPECT_TRUE(WriteMjpegAviFile(folder.Path() + "/good.avi", good));
}
