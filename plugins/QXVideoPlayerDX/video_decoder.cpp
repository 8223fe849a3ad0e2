#include "video_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <map>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

namespace {

// Decoded pictures kept around the current frame for steps back.
constexpr std::size_t kCachedFrames = 64;
// A frame this far ahead of the decoder is reached by decoding on rather than by seeking.
constexpr std::int64_t kDecodeAheadFrames = 48;
// Seeks that land after the wanted frame are retried this many times, further back each time.
constexpr int kSeekAttempts = 6;
// Pictures larger than this (a damaged header) are refused rather than allocated.
constexpr int kMaxPictureSide = 4096;

// Frame counts measured before, by file (with its size and time, so a changed file is measured
// again): reopening a file of the set needs no second pass over its tail.
struct Measured {
  std::uintmax_t size = 0;
  std::filesystem::file_time_type time{};
  std::int64_t count = 0;
};
std::mutex g_measuredLock;
std::map<std::string, Measured>& MeasuredFiles() {
  static std::map<std::string, Measured> files;
  return files;
}

std::optional<Measured> Stamp(const std::string& path) {
  std::error_code ec;
  Measured m;
  m.size = std::filesystem::file_size(path, ec);
  if (ec) return std::nullopt;
  m.time = std::filesystem::last_write_time(path, ec);
  if (ec) return std::nullopt;
  return m;
}

void QuietLibraries() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

struct FrameDeleter {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

}  // namespace

struct VideoDecoder::Impl {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* codec = nullptr;
  SwsContext* sws = nullptr;
  AVPacket* packet = nullptr;
  int stream = -1;
  double secondsPerTick = 0.0;
  double framesPerSecond = 25.0;
  std::int64_t firstTimestamp = AV_NOPTS_VALUE;
  std::int64_t count = 0;
  int width = 0;
  int height = 0;

  // Where the decoder stands: the number of the last frame it gave since the last seek (-1:
  // none yet), and whether the file's packets ran out.
  std::int64_t lastDecoded = -1;
  bool demuxEnded = false;
  std::map<std::int64_t, FramePtr> cache;
  std::int64_t current = -1;
  std::vector<std::uint8_t> picture;
  // AVI carries no presentation times: its pictures are numbered by the index, in order of
  // the chunks that hold one, counting on from the first packet read after a seek.
  bool sequential = false;
  std::vector<std::int64_t> pictureChunks;
  bool needBase = true;
  std::int64_t nextNumber = 0;

  ~Impl() { Close(); }

  void Close() {
    cache.clear();
    if (sws != nullptr) sws_freeContext(sws);
    sws = nullptr;
    if (codec != nullptr) avcodec_free_context(&codec);
    if (fmt != nullptr) avformat_close_input(&fmt);
    if (packet != nullptr) av_packet_free(&packet);
    stream = -1;
    firstTimestamp = AV_NOPTS_VALUE;
    count = 0;
    width = height = 0;
    lastDecoded = -1;
    demuxEnded = false;
    current = -1;
    picture.clear();
    sequential = false;
    pictureChunks.clear();
    needBase = true;
    nextNumber = 0;
  }

  // The next picture in presentation order, or null at the end (or on a hard error).
  FramePtr DecodeOne() {
    for (;;) {
      FramePtr frame(av_frame_alloc());
      if (!frame) return nullptr;
      const int r = avcodec_receive_frame(codec, frame.get());
      if (r == 0) return frame;
      if (r != AVERROR(EAGAIN)) return nullptr;
      if (demuxEnded) return nullptr;
      if (av_read_frame(fmt, packet) < 0) {
        demuxEnded = true;
        avcodec_send_packet(codec, nullptr);
        continue;
      }
      if (packet->stream_index == stream && packet->size > 0) {
        if (needBase) {
          const std::int64_t ts = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
          nextNumber = std::lower_bound(pictureChunks.begin(), pictureChunks.end(), ts) - pictureChunks.begin();
          needBase = false;
        }
        avcodec_send_packet(codec, packet);
      }
      av_packet_unref(packet);
    }
  }

  // Frame number of a decoded picture (the first one fixes the time origin).
  std::int64_t NumberOf(const AVFrame& frame) {
    if (sequential) return nextNumber++;
    const std::int64_t ts = frame.best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE) return lastDecoded + 1;
    if (firstTimestamp == AV_NOPTS_VALUE) firstTimestamp = ts;
    return std::llround(static_cast<double>(ts - firstTimestamp) * secondsPerTick * framesPerSecond);
  }

  void Keep(std::int64_t n, FramePtr frame) {
    cache[n] = std::move(frame);
    while (cache.size() > kCachedFrames) cache.erase(cache.begin());
  }

  void ResetDecoder() {
    avcodec_flush_buffers(codec);
    lastDecoded = -1;
    demuxEnded = false;
    needBase = true;
  }

  bool SeekBefore(std::int64_t frame) {
    bool ok = false;
    if (frame > 0) {
      const double seconds = static_cast<double>(frame) / framesPerSecond;
      const std::int64_t ts = (firstTimestamp == AV_NOPTS_VALUE ? 0 : firstTimestamp) +
                              static_cast<std::int64_t>(std::floor(seconds / secondsPerTick));
      ok = av_seek_frame(fmt, stream, ts, AVSEEK_FLAG_BACKWARD) >= 0;
    }
    if (!ok) {
      // The file's start: by byte where the container allows, else by timestamp.
      ok = (!sequential && !(fmt->iformat->flags & AVFMT_NO_BYTE_SEEK) && av_seek_frame(fmt, -1, 0, AVSEEK_FLAG_BYTE) >= 0) ||
           av_seek_frame(fmt, stream, firstTimestamp == AV_NOPTS_VALUE ? 0 : firstTimestamp, AVSEEK_FLAG_BACKWARD) >= 0;
    }
    ResetDecoder();
    return ok;
  }

  // Decodes on until frame `want` or a later one came; every picture is kept. True when a
  // picture at or before `want` is held afterwards.
  void DecodeUntil(std::int64_t want) {
    while (lastDecoded < want) {
      FramePtr frame = DecodeOne();
      if (!frame) break;
      const std::int64_t n = NumberOf(*frame);
      if (n < 0 || n <= lastDecoded) continue;
      lastDecoded = n;
      Keep(n, std::move(frame));
    }
  }

  // Seeks and decodes up to `want`; further back while the seek landed after it.
  void SeekTo(std::int64_t want) {
    std::int64_t back = 0;
    for (int attempt = 0; attempt < kSeekAttempts; ++attempt) {
      const std::int64_t target = attempt + 1 == kSeekAttempts ? 0 : want - back;
      cache.clear();
      if (!SeekBefore(target)) return;
      FramePtr first = DecodeOne();
      if (!first) return;
      std::int64_t n = NumberOf(*first);
      if (target > 0 && n > want) {
        back = std::max<std::int64_t>(back * 4, static_cast<std::int64_t>(framesPerSecond));
        continue;
      }
      if (n >= 0) {
        lastDecoded = n;
        Keep(n, std::move(first));
      }
      DecodeUntil(want);
      return;
    }
  }

  bool Convert(const AVFrame& frame) {
    sws = sws_getCachedContext(sws, frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), width, height,
                               AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (sws == nullptr) return false;
    picture.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    std::uint8_t* dst[4] = {picture.data(), nullptr, nullptr, nullptr};
    int dstStride[4] = {width * 4, 0, 0, 0};
    if (sws_scale(sws, frame.data, frame.linesize, 0, frame.height, dst, dstStride) <= 0) {
      picture.clear();
      return false;
    }
    return true;
  }

  bool Show(std::int64_t want) {
    if (count <= 0) return false;
    want = std::clamp<std::int64_t>(want, 0, count - 1);
    if (cache.find(want) == cache.end()) {
      if (lastDecoded >= 0 && want > lastDecoded && want - lastDecoded <= kDecodeAheadFrames && !demuxEnded)
        DecodeUntil(want);
      if (cache.find(want) == cache.end()) SeekTo(want);
    }
    // The wanted frame, or the nearest kept one before it (a picture the decoder dropped).
    // (Or, when the file lost its first pictures, the first one kept after it.)
    auto it = cache.upper_bound(want);
    if (it != cache.begin()) --it;
    if (it == cache.end() || it->first >= count) return false;
    current = it->first;
    return Convert(*it->second);
  }

  // Frame count: decodes the file's tail (further back until pictures come) to its last frame.
  std::int64_t MeasureCount() {
    const AVStream* st = fmt->streams[stream];
    double estimate = 0.0;
    if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
      estimate = static_cast<double>(st->duration) * secondsPerTick;
    else if (fmt->duration > 0)
      estimate = static_cast<double>(fmt->duration) / AV_TIME_BASE;
    const std::int64_t estimatedFrames = static_cast<std::int64_t>(estimate * framesPerSecond);
    std::int64_t back = static_cast<std::int64_t>(framesPerSecond * 3.0) + 30;
    for (;;) {
      const std::int64_t from = estimatedFrames - back;
      if (!SeekBefore(from)) return 0;
      std::int64_t last = -1;
      while (FramePtr frame = DecodeOne()) {
        const std::int64_t n = NumberOf(*frame);
        lastDecoded = std::max(lastDecoded, n);
        last = std::max(last, n);
      }
      if (last >= 0 || from <= 0) return last + 1;
      back *= 4;
    }
  }

  bool Open(const std::string& path) {
    Close();
    QuietLibraries();
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0) return false;
    if (avformat_find_stream_info(fmt, nullptr) < 0) return false;
    stream = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0) return false;
    AVStream* st = fmt->streams[stream];
    const AVCodec* decoder = avcodec_find_decoder(st->codecpar->codec_id);
    if (decoder == nullptr) return false;
    codec = avcodec_alloc_context3(decoder);
    if (codec == nullptr || avcodec_parameters_to_context(codec, st->codecpar) < 0) return false;
    codec->thread_count = 1;
    if (avcodec_open2(codec, decoder, nullptr) < 0) return false;
    packet = av_packet_alloc();
    if (packet == nullptr) return false;
    if (st->time_base.num <= 0 || st->time_base.den <= 0) return false;
    secondsPerTick = av_q2d(st->time_base);
    const AVRational rate = av_guess_frame_rate(fmt, st, nullptr);
    framesPerSecond = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 25.0;
    if (!(framesPerSecond > 0.1 && framesPerSecond < 1000.0)) framesPerSecond = 25.0;
    if (std::strcmp(fmt->iformat->name, "avi") == 0) {
      const int entries = avformat_index_get_entries_count(st);
      for (int i = 0; i < entries; ++i) {
        const AVIndexEntry* e = avformat_index_get_entry(st, i);
        if (e != nullptr && e->size > 0) pictureChunks.push_back(e->timestamp);
      }
      std::sort(pictureChunks.begin(), pictureChunks.end());
      sequential = !pictureChunks.empty();
    }

    // Frame 0: the first decoded picture fixes the time origin and the picture size.
    FramePtr first = DecodeOne();
    if (!first || first->width <= 0 || first->height <= 0) return false;
    if (first->width > kMaxPictureSide || first->height > kMaxPictureSide) return false;
    width = first->width;
    height = first->height;
    const std::int64_t n = NumberOf(*first);
    const std::optional<Measured> stamp = Stamp(path);
    {
      std::lock_guard g(g_measuredLock);
      auto it = MeasuredFiles().find(path);
      if (stamp && it != MeasuredFiles().end() && it->second.size == stamp->size && it->second.time == stamp->time)
        count = it->second.count;
    }
    if (count > 0 && n == 0) {
      // Known length: the decoder stays just after frame 0.
      lastDecoded = 0;
      Keep(0, std::move(first));
      return Show(0);
    }
    count = MeasureCount();
    if (count <= 0) return false;
    if (stamp) {
      std::lock_guard g(g_measuredLock);
      Measured m = *stamp;
      m.count = count;
      MeasuredFiles()[path] = m;
    }
    cache.clear();
    SeekTo(0);
    return Show(0);
  }
};

VideoDecoder::VideoDecoder() : impl_(std::make_unique<Impl>()) {}
VideoDecoder::~VideoDecoder() = default;

bool VideoDecoder::Open(const std::string& path) {
  if (impl_->Open(path)) return true;
  impl_->Close();
  return false;
}
void VideoDecoder::Close() { impl_->Close(); }
bool VideoDecoder::IsOpen() const { return impl_->count > 0; }
int VideoDecoder::Width() const { return impl_->width; }
int VideoDecoder::Height() const { return impl_->height; }
double VideoDecoder::FrameDuration() const { return 1.0 / impl_->framesPerSecond; }
std::int64_t VideoDecoder::FrameCount() const { return impl_->count; }
bool VideoDecoder::ShowFrame(std::int64_t frame) { return IsOpen() && impl_->Show(frame); }
bool VideoDecoder::NextFrame() {
  if (!IsOpen() || impl_->current + 1 >= impl_->count) return false;
  return impl_->Show(impl_->current + 1);
}
std::int64_t VideoDecoder::Current() const { return impl_->current; }
const std::vector<std::uint8_t>& VideoDecoder::Picture() const { return impl_->picture; }
