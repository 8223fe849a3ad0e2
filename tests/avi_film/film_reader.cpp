#include "film_reader.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {

std::uint32_t U32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  if (at + 4 <= b.size()) std::memcpy(&v, b.data() + at, 4);
  return v;
}

}  // namespace

FilmLayout ReadFilmLayout(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  FilmLayout f;
  if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "AVI ") != 0) return f;
  if (U32(b, 4) + 8 != b.size()) return f;
  std::size_t moviTag = 0;
  std::vector<std::uint32_t> offsets;
  auto walk = [&](auto& self, std::size_t at, std::size_t end, bool inMovi) -> void {
    while (at + 8 <= end) {
      const std::string id = b.substr(at, 4);
      const std::uint32_t size = U32(b, at + 4);
      const std::size_t data = at + 8;
      if (id == "LIST") {
        const bool movi = b.compare(data, 4, "movi") == 0;
        if (movi) moviTag = data;
        self(self, data + 4, data + size, movi);
      } else if (inMovi) {
        f.chunkIds.push_back(id);
        f.chunks.push_back(b.substr(data, size));
      } else if (id == "avih") {
        f.totalFrames = U32(b, data + 16);
      } else if (id == "strh") {
        f.handler = b.substr(data + 4, 4);
        f.scale = U32(b, data + 20);
        f.rate = U32(b, data + 24);
        f.length = U32(b, data + 32);
      } else if (id == "strf") {
        f.width = static_cast<std::int32_t>(U32(b, data + 4));
        f.height = static_cast<std::int32_t>(U32(b, data + 8));
        f.bitCount = static_cast<std::uint16_t>(U32(b, data + 14) & 0xFFFF);
        f.compression = U32(b, data + 16);
      } else if (id == "idx1") {
        for (std::size_t e = data; e + 16 <= data + size; e += 16) {
          f.indexIds.push_back(b.substr(e, 4));
          f.indexFlags.push_back(U32(b, e + 4));
          offsets.push_back(U32(b, e + 8));
        }
      }
      at = data + size + (size & 1u);
    }
  };
  walk(walk, 12, b.size(), false);
  for (std::size_t i = 0; i < offsets.size(); ++i)
    if (b.compare(moviTag + offsets[i], 4, f.indexIds[i]) != 0) return f;
  f.valid = true;
  return f;
}

DecodedFilm DecodeFilm(const std::string& path) {
  DecodedFilm film;
  av_log_set_level(AV_LOG_QUIET);
  AVFormatContext* fmt = nullptr;
  if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0) return film;
  if (avformat_find_stream_info(fmt, nullptr) < 0) {
    avformat_close_input(&fmt);
    return film;
  }
  const int index = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0) {
    avformat_close_input(&fmt);
    return film;
  }
  AVStream* stream = fmt->streams[index];
  const AVCodec* dec = avcodec_find_decoder(stream->codecpar->codec_id);
  AVCodecContext* codec = dec ? avcodec_alloc_context3(dec) : nullptr;
  if (codec == nullptr || avcodec_parameters_to_context(codec, stream->codecpar) < 0 ||
      avcodec_open2(codec, dec, nullptr) < 0) {
    avcodec_free_context(&codec);
    avformat_close_input(&fmt);
    return film;
  }
  film.opened = true;
  film.codec = dec->name;
  film.width = codec->width;
  film.height = codec->height;
  film.framesPerSecond = av_q2d(stream->avg_frame_rate.num != 0 ? stream->avg_frame_rate : stream->r_frame_rate);
  film.streamFrames = stream->nb_frames;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  SwsContext* sws = nullptr;
  auto take = [&]() {
    while (avcodec_receive_frame(codec, frame) >= 0) {
      sws = sws_getCachedContext(sws, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                 frame->width, frame->height, AV_PIX_FMT_BGR24, SWS_POINT, nullptr, nullptr, nullptr);
      std::vector<std::uint8_t> out(static_cast<std::size_t>(frame->width) * frame->height * 3);
      std::uint8_t* dst[4] = {out.data(), nullptr, nullptr, nullptr};
      const int dstStride[4] = {frame->width * 3, 0, 0, 0};
      sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
      film.frames.push_back(std::move(out));
    }
  };
  while (av_read_frame(fmt, packet) >= 0) {
    if (packet->stream_index == index && avcodec_send_packet(codec, packet) >= 0) take();
    av_packet_unref(packet);
  }
  avcodec_send_packet(codec, nullptr);
  take();
  sws_freeContext(sws);
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&codec);
  avformat_close_input(&fmt);
  return film;
}

double MeanDifference(const std::vector<std::uint8_t>& decoded, const std::vector<std::uint8_t>& dib, int width,
                      int height, int bitsPerPixel) {
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  const int bytes = bitsPerPixel / 8;
  const std::size_t row = (static_cast<std::size_t>(width) * bytes + 3) / 4 * 4;
  if (decoded.size() != pixels * 3 || dib.size() != row * static_cast<std::size_t>(height)) return -1;
  double sum = 0;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* d = decoded.data() + static_cast<std::size_t>(y) * width * 3;
    const std::uint8_t* s = dib.data() + static_cast<std::size_t>(height - 1 - y) * row;
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) sum += std::abs(static_cast<int>(d[x * 3 + c]) - static_cast<int>(s[x * bytes + c]));
  }
  return sum / static_cast<double>(pixels * 3);
}
