#include "sample_video.h"

#include <cstring>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

namespace {

constexpr int kCodeBits = 12;
constexpr std::uint32_t kQuarters[4] = {0xA02828, 0x28A028, 0x2828A0, 0x808080};

// Block of bit b: column 2 + b of sixteen, in the band from 1/16 to 3/16 of the height.
void CodeBlock(int b, int width, int height, int& x0, int& x1, int& y0, int& y1) {
  x0 = (2 + b) * width / 16;
  x1 = (3 + b) * width / 16;
  y0 = height / 16;
  y1 = 3 * height / 16;
}

// Digits of a 3 x 5 font, one bit per cell, rows top first.
constexpr std::uint16_t kDigits[10] = {0x7B6F, 0x2492, 0x73E7, 0x73CF, 0x5BC9, 0x79CF, 0x79EF, 0x7249, 0x7BEF, 0x7BCF};

struct Rgb {
  std::uint8_t r, g, b;
};

std::vector<Rgb> DrawPicture(int frame, int width, int height) {
  std::vector<Rgb> px(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = kQuarters[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
      px[static_cast<std::size_t>(y) * width + x] = {static_cast<std::uint8_t>(c >> 16),
                                                     static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)};
    }
  auto fill = [&](int x0, int x1, int y0, int y1, Rgb c) {
    for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
      for (int x = std::max(x0, 0); x < std::min(x1, width); ++x) px[static_cast<std::size_t>(y) * width + x] = c;
  };
  for (int b = 0; b < kCodeBits; ++b) {
    int x0, x1, y0, y1;
    CodeBlock(b, width, height, x0, x1, y0, y1);
    const std::uint8_t v = (frame >> b) & 1 ? 255 : 0;
    fill(x0, x1, y0, y1, {v, v, v});
  }
  // The number in digits, in the lower left quarter.
  const std::string text = std::to_string(frame);
  const int cell = std::max(1, height / 40);
  int x = width / 16;
  const int y = height / 2 + height / 8;
  for (char ch : text) {
    const std::uint16_t glyph = kDigits[ch - '0'];
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 3; ++c)
        if (glyph & (1u << (14 - (r * 3 + c))))
          fill(x + c * cell, x + (c + 1) * cell, y + r * cell, y + (r + 1) * cell, {255, 255, 0});
    x += 4 * cell;
  }
  return px;
}

void ToYuv(const std::vector<Rgb>& px, int width, int height, AVFrame* f) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Rgb p = px[static_cast<std::size_t>(y) * width + x];
      f->data[0][y * f->linesize[0] + x] =
          static_cast<std::uint8_t>(((66 * p.r + 129 * p.g + 25 * p.b + 128) >> 8) + 16);
    }
  for (int y = 0; y < height / 2; ++y)
    for (int x = 0; x < width / 2; ++x) {
      const Rgb p = px[static_cast<std::size_t>(2 * y) * width + 2 * x];
      f->data[1][y * f->linesize[1] + x] =
          static_cast<std::uint8_t>(((-38 * p.r - 74 * p.g + 112 * p.b + 128) >> 8) + 128);
      f->data[2][y * f->linesize[2] + x] =
          static_cast<std::uint8_t>(((112 * p.r - 94 * p.g - 18 * p.b + 128) >> 8) + 128);
    }
}

bool Fail(std::string* error, const char* what) {
  if (error != nullptr) *error = what;
  return false;
}

struct Writer {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* codec = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  AVStream* stream = nullptr;
  bool opened = false;
  ~Writer() {
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    if (fmt != nullptr) {
      if (opened) avio_closep(&fmt->pb);
      avformat_free_context(fmt);
    }
  }
  bool Drain() {
    for (;;) {
      const int r = avcodec_receive_packet(codec, packet);
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
      if (r < 0) return false;
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      if (av_interleaved_write_frame(fmt, packet) < 0) return false;
    }
  }
};

}  // namespace

std::uint32_t SampleQuarterColour(int quarter) { return kQuarters[quarter & 3]; }

bool WriteSampleVideo(const SampleVideoSpec& spec, std::string* error) {
  av_log_set_level(AV_LOG_QUIET);
  Writer w;
  if (avformat_alloc_output_context2(&w.fmt, nullptr, nullptr, spec.path.c_str()) < 0 || w.fmt == nullptr)
    return Fail(error, "no container for the file's extension");
  const AVCodec* enc = avcodec_find_encoder_by_name(spec.codec.c_str());
  if (enc == nullptr) return Fail(error, "no such encoder");
  w.stream = avformat_new_stream(w.fmt, nullptr);
  w.codec = avcodec_alloc_context3(enc);
  if (w.stream == nullptr || w.codec == nullptr) return Fail(error, "out of memory");
  w.codec->width = spec.width;
  w.codec->height = spec.height;
  w.codec->time_base = AVRational{spec.rateDen, spec.rateNum};
  w.codec->framerate = AVRational{spec.rateNum, spec.rateDen};
  w.codec->pix_fmt = AV_PIX_FMT_YUV420P;
  w.codec->gop_size = spec.keyInterval;
  w.codec->max_b_frames = spec.bFrames;
  if (spec.codec == "libx264") {
    const std::string params = "keyint=" + std::to_string(spec.keyInterval) +
                               ":min-keyint=" + std::to_string(spec.keyInterval) +
                               ":scenecut=0:bframes=" + std::to_string(spec.bFrames);
    av_opt_set(w.codec->priv_data, "preset", "veryfast", 0);
    av_opt_set(w.codec->priv_data, "crf", "16", 0);
    av_opt_set(w.codec->priv_data, "x264-params", params.c_str(), 0);
  } else {
    w.codec->flags |= AV_CODEC_FLAG_QSCALE;
    w.codec->global_quality = FF_QP2LAMBDA * 3;
    w.codec->bit_rate = 4000000;
    w.codec->rc_max_rate = 0;
  }
  if (w.fmt->oformat->flags & AVFMT_GLOBALHEADER) w.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(w.codec, enc, nullptr) < 0) return Fail(error, "the encoder refused its settings");
  if (avcodec_parameters_from_context(w.stream->codecpar, w.codec) < 0) return Fail(error, "stream parameters");
  w.stream->time_base = w.codec->time_base;
  w.stream->avg_frame_rate = w.codec->framerate;
  w.stream->r_frame_rate = w.codec->framerate;
  if (!(w.fmt->oformat->flags & AVFMT_NOFILE)) {
    if (avio_open(&w.fmt->pb, spec.path.c_str(), AVIO_FLAG_WRITE) < 0) return Fail(error, "cannot create the file");
    w.opened = true;
  }
  if (avformat_write_header(w.fmt, nullptr) < 0) return Fail(error, "cannot write the header");
  w.frame = av_frame_alloc();
  w.packet = av_packet_alloc();
  if (w.frame == nullptr || w.packet == nullptr) return Fail(error, "out of memory");
  w.frame->format = AV_PIX_FMT_YUV420P;
  w.frame->width = spec.width;
  w.frame->height = spec.height;
  if (av_frame_get_buffer(w.frame, 0) < 0) return Fail(error, "out of memory");
  for (int i = 0; i < spec.frames; ++i) {
    if (av_frame_make_writable(w.frame) < 0) return Fail(error, "frame buffer");
    ToYuv(DrawPicture(i, spec.width, spec.height), spec.width, spec.height, w.frame);
    w.frame->pts = spec.firstPts + i;
    w.frame->quality = w.codec->global_quality;
    if (avcodec_send_frame(w.codec, w.frame) < 0 || !w.Drain()) return Fail(error, "encoding failed");
  }
  if (avcodec_send_frame(w.codec, nullptr) < 0 || !w.Drain()) return Fail(error, "encoding failed");
  if (av_write_trailer(w.fmt) < 0) return Fail(error, "cannot finish the file");
  return true;
}

int ReadFrameCode(const std::uint8_t* bits, int width, int height, int rowBytes) {
  if (bits == nullptr || width < 16 || height < 16) return -1;
  int value = 0;
  for (int b = 0; b < kCodeBits; ++b) {
    int x0, x1, y0, y1;
    CodeBlock(b, width, height, x0, x1, y0, y1);
    const std::uint8_t* p = bits + static_cast<std::size_t>((y0 + y1) / 2) * rowBytes + ((x0 + x1) / 2) * 4;
    const int luma = (p[0] + p[1] + p[2]) / 3;
    if (luma > 170) {
      value |= 1 << b;
    } else if (luma > 85) {
      return -1;
    }
  }
  return value;
}
