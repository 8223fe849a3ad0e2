#include "app/video/avi_film_file.h"

#include <algorithm>
#include <string_view>

#include "platform/system/file_io.h"

namespace {

constexpr std::uint32_t kAvifHasIndex = 0x10;
constexpr std::uint32_t kAviifKeyFrame = 0x10;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::string_view kStreamName{"Video #1", 9};  // with its terminating zero

// Little-endian record bytes.
class Bytes {
 public:
  void Tag(std::string_view fourcc) { out_.append(fourcc.substr(0, 4)); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  void U16(std::uint16_t v) {
    out_.push_back(static_cast<char>(v & 0xFF));
    out_.push_back(static_cast<char>(v >> 8));
  }
  void Raw(std::string_view bytes) { out_.append(bytes); }
  const std::string& Data() const { return out_; }
  std::size_t Size() const { return out_.size(); }

 private:
  std::string out_;
};

}  // namespace

std::uint32_t AviFrameImageSize(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel) {
  if (width <= 0 || height <= 0) return 0;
  const std::uint64_t row = (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
  const std::uint64_t size = row * static_cast<std::uint64_t>(height);
  return size > 0xFFFFFFFFull ? 0 : static_cast<std::uint32_t>(size);
}

namespace {

// What one stream's film needs besides its frames.
struct AviStreamFormat {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t framesPerSecond = 0;
  std::string_view handler;      // strh handler FOURCC
  std::uint32_t compression = 0;  // biCompression: 0 (BI_RGB) or a FOURCC
  std::uint16_t bitsPerPixel = 0;
  std::uint32_t imageSize = 0;   // biSizeImage: the size of a decoded frame
  std::string_view chunkId;      // "00db" (uncompressed) or "00dc" (compressed)
};

std::uint32_t FourCc(std::string_view tag) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4 && i < tag.size(); ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(tag[i])) << (8 * i);
  return v;
}

// Writes the RIFF file of one video stream whose frames are the given byte blocks, every
// one a key frame, with the index players seek by.
bool WriteAviStream(const std::string& path, const AviStreamFormat& fmt, const std::vector<std::string_view>& frames) {
  if (frames.empty() || fmt.framesPerSecond == 0) return false;
  if (fmt.width <= 0 || fmt.height <= 0 || fmt.width > 0xFFFF || fmt.height > 0xFFFF) return false;

  const std::uint64_t count = frames.size();
  std::uint64_t moviSize = 4;
  std::uint32_t largest = 0;
  for (const auto& frame : frames) {
    if (frame.size() > 0xFFFFFFF0ull) return false;
    moviSize += 8 + frame.size() + (frame.size() & 1u);
    largest = std::max(largest, static_cast<std::uint32_t>(frame.size()));
  }
  const std::uint64_t indexSize = count * 16;

  // Header list: main header, then the one stream's header, format and name.
  Bytes strl;
  strl.Tag("strl");
  strl.Tag("strh");
  strl.U32(56);
  strl.Tag("vids");
  strl.Tag(fmt.handler);
  strl.U32(0);                               // flags
  strl.U16(0);                               // priority
  strl.U16(0);                               // language
  strl.U32(0);                               // initial frames
  strl.U32(1);                               // scale
  strl.U32(fmt.framesPerSecond);             // rate
  strl.U32(0);                               // start
  strl.U32(static_cast<std::uint32_t>(count));  // length in frames
  strl.U32(largest);                         // suggested buffer size
  strl.U32(0xFFFFFFFFu);                     // quality: the default
  strl.U32(0);                               // sample size: varies (video)
  strl.U16(0);
  strl.U16(0);
  strl.U16(static_cast<std::uint16_t>(fmt.width));
  strl.U16(static_cast<std::uint16_t>(fmt.height));
  strl.Tag("strf");
  strl.U32(40);
  strl.U32(40);
  strl.U32(static_cast<std::uint32_t>(fmt.width));
  strl.U32(static_cast<std::uint32_t>(fmt.height));  // positive: bottom-up rows
  strl.U16(1);
  strl.U16(fmt.bitsPerPixel);
  strl.U32(fmt.compression);
  strl.U32(fmt.imageSize);
  strl.U32(0);
  strl.U32(0);
  strl.U32(0);
  strl.U32(0);
  strl.Tag("strn");
  strl.U32(static_cast<std::uint32_t>(kStreamName.size()));
  strl.Raw(kStreamName);
  if (kStreamName.size() & 1u) strl.Raw(std::string_view("\0", 1));

  Bytes hdrl;
  hdrl.Tag("hdrl");
  hdrl.Tag("avih");
  hdrl.U32(56);
  hdrl.U32(1000000u / fmt.framesPerSecond);  // microseconds a frame
  hdrl.U32(static_cast<std::uint32_t>(std::min<std::uint64_t>(0xFFFFFFFFull, static_cast<std::uint64_t>(largest) * fmt.framesPerSecond)));
  hdrl.U32(0);                                   // padding granularity
  hdrl.U32(kAvifHasIndex);
  hdrl.U32(static_cast<std::uint32_t>(count));  // total frames
  hdrl.U32(0);                                   // initial frames
  hdrl.U32(1);                                   // streams
  hdrl.U32(largest);                             // suggested buffer size
  hdrl.U32(static_cast<std::uint32_t>(fmt.width));
  hdrl.U32(static_cast<std::uint32_t>(fmt.height));
  for (int i = 0; i < 4; ++i) hdrl.U32(0);
  hdrl.Tag("LIST");
  hdrl.U32(static_cast<std::uint32_t>(strl.Size()));
  hdrl.Raw(strl.Data());

  const std::uint64_t riffSize = 4 + (8 + hdrl.Size()) + (8 + moviSize) + (8 + indexSize);
  if (riffSize > 0xFFFFFFF0ull) return false;  // longer than one RIFF file holds

  sys::AtomicFileWriter out;
  if (!out.Open(path)) return false;
  Bytes head;
  head.Tag("RIFF");
  head.U32(static_cast<std::uint32_t>(riffSize));
  head.Tag("AVI ");
  head.Tag("LIST");
  head.U32(static_cast<std::uint32_t>(hdrl.Size()));
  head.Raw(hdrl.Data());
  head.Tag("LIST");
  head.U32(static_cast<std::uint32_t>(moviSize));
  head.Tag("movi");
  if (!out.Write(head.Data())) return false;

  for (const auto& frame : frames) {
    Bytes chunkHead;
    chunkHead.Tag(fmt.chunkId);
    chunkHead.U32(static_cast<std::uint32_t>(frame.size()));
    if (!out.Write(chunkHead.Data()) || !out.Write(frame.data(), frame.size())) return false;
    if ((frame.size() & 1u) && !out.Write(std::string_view("\0", 1))) return false;
  }

  // The index: offsets count from the "movi" tag.
  Bytes index;
  index.Tag("idx1");
  index.U32(static_cast<std::uint32_t>(indexSize));
  std::uint64_t offset = 4;
  for (const auto& frame : frames) {
    index.Tag(fmt.chunkId);
    index.U32(kAviifKeyFrame);
    index.U32(static_cast<std::uint32_t>(offset));
    index.U32(static_cast<std::uint32_t>(frame.size()));
    offset += 8 + frame.size() + (frame.size() & 1u);
  }
  if (!out.Write(index.Data())) return false;
  return out.Commit();
}

}  // namespace

bool WriteDibAviFile(const std::string& path, const AviFilmFrames& film) {
  if (film.bitsPerPixel != 16 && film.bitsPerPixel != 24 && film.bitsPerPixel != 32) return false;
  const std::uint32_t imageSize = AviFrameImageSize(film.width, film.height, film.bitsPerPixel);
  if (imageSize == 0) return false;
  std::vector<std::string_view> frames;
  frames.reserve(film.frames.size());
  for (const auto& frame : film.frames) {
    if (frame.size() != imageSize) return false;
    frames.emplace_back(reinterpret_cast<const char*>(frame.data()), frame.size());
  }
  AviStreamFormat fmt;
  fmt.width = film.width;
  fmt.height = film.height;
  fmt.framesPerSecond = film.framesPerSecond;
  fmt.handler = "DIB ";
  fmt.compression = kBiRgb;
  fmt.bitsPerPixel = film.bitsPerPixel;
  fmt.imageSize = imageSize;
  fmt.chunkId = "00db";
  return WriteAviStream(path, fmt, frames);
}

bool WriteMjpegAviFile(const std::string& path, const AviJpegFilm& film) {
  std::vector<std::string_view> frames;
  frames.reserve(film.frames.size());
  for (const auto& frame : film.frames) {
    if (frame.empty()) return false;
    frames.emplace_back(frame);
  }
  AviStreamFormat fmt;
  fmt.width = film.width;
  fmt.height = film.height;
  fmt.framesPerSecond = film.framesPerSecond;
  fmt.handler = "MJPG";
  fmt.compression = FourCc("MJPG");
  fmt.bitsPerPixel = 24;
  fmt.imageSize = AviFrameImageSize(film.width, film.height, 24);
  fmt.chunkId = "00dc";
  return WriteAviStream(path, fmt, frames);
}
