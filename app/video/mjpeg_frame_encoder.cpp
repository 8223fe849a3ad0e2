#include "app/video/mjpeg_frame_encoder.h"

#include <algorithm>
#include <thread>

#include "app/video/avi_film_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

struct MjpegFrameEncoder::Impl {
  AVCodecContext* codec = nullptr;
  SwsContext* scaler = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitsPerPixel = 0;
  std::uint32_t imageSize = 0;

  ~Impl() {
    av_packet_free(&packet);
    av_frame_free(&frame);
    sws_freeContext(scaler);
    avcodec_free_context(&codec);
  }
};

MjpegFrameEncoder::MjpegFrameEncoder() = default;
MjpegFrameEncoder::~MjpegFrameEncoder() = default;

int MjpegFrameEncoder::QuantiserForQuality(int quality) {
  const int q = std::clamp(quality, 1, 100);
  // 100 -> 2, 1 -> 31, evenly between.
  return 31 - ((q - 1) * 29 + 49) / 99;
}

bool MjpegFrameEncoder::IsOpen() const { return impl_ != nullptr; }

void MjpegFrameEncoder::Close() { impl_.reset(); }

bool MjpegFrameEncoder::Open(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel, int quality) {
  Close();
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return false;
  if (bitsPerPixel != 24 && bitsPerPixel != 32) return false;
  av_log_set_level(AV_LOG_QUIET);
  const AVCodec* enc = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
  if (enc == nullptr) return false;
  auto impl = std::make_unique<Impl>();
  impl->width = width;
  impl->height = height;
  impl->bitsPerPixel = bitsPerPixel;
  impl->imageSize = AviFrameImageSize(width, height, bitsPerPixel);
  impl->codec = avcodec_alloc_context3(enc);
  if (impl->codec == nullptr) return false;
  AVCodecContext* c = impl->codec;
  c->width = width;
  c->height = height;
  c->pix_fmt = AV_PIX_FMT_YUVJ420P;
  c->color_range = AVCOL_RANGE_JPEG;
  c->time_base = AVRational{1, 30};
  c->flags |= AV_CODEC_FLAG_QSCALE;
  c->global_quality = FF_QP2LAMBDA * QuantiserForQuality(quality);
  // Slices of the picture are compressed side by side.
  c->thread_type = FF_THREAD_SLICE;
  c->thread_count = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  if (avcodec_open2(c, enc, nullptr) < 0) return false;

  impl->frame = av_frame_alloc();
  impl->packet = av_packet_alloc();
  if (impl->frame == nullptr || impl->packet == nullptr) return false;
  impl->frame->format = AV_PIX_FMT_YUVJ420P;
  impl->frame->width = width;
  impl->frame->height = height;
  impl->frame->color_range = AVCOL_RANGE_JPEG;
  if (av_frame_get_buffer(impl->frame, 0) < 0) return false;

  const AVPixelFormat source = bitsPerPixel == 32 ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR24;
  impl->scaler = sws_getContext(width, height, source, width, height, AV_PIX_FMT_YUV420P, SWS_POINT, nullptr,
                                nullptr, nullptr);
  if (impl->scaler == nullptr) return false;
  // Full-range output, as JPEG holds it.
  const int* coefficients = sws_getCoefficients(SWS_CS_ITU601);
  sws_setColorspaceDetails(impl->scaler, coefficients, 1, coefficients, 1, 0, 1 << 16, 1 << 16);
  impl_ = std::move(impl);
  return true;
}

bool MjpegFrameEncoder::Encode(const std::uint8_t* dib, std::size_t size, std::string* jpeg) {
  if (!impl_ || dib == nullptr || jpeg == nullptr || size < impl_->imageSize) return false;
  Impl& m = *impl_;
  if (av_frame_make_writable(m.frame) < 0) return false;
  // Bottom-up rows: start at the last row and step backwards.
  const int row = static_cast<int>(m.imageSize / static_cast<std::uint32_t>(m.height));
  const std::uint8_t* src[4] = {dib + static_cast<std::size_t>(row) * static_cast<std::size_t>(m.height - 1), nullptr,
                                nullptr, nullptr};
  const int srcStride[4] = {-row, 0, 0, 0};
  if (sws_scale(m.scaler, src, srcStride, 0, m.height, m.frame->data, m.frame->linesize) != m.height) return false;
  // A fixed quantiser takes its value from each picture.
  m.frame->quality = m.codec->global_quality;
  if (avcodec_send_frame(m.codec, m.frame) < 0) return false;
  if (avcodec_receive_packet(m.codec, m.packet) < 0) return false;
  jpeg->assign(reinterpret_cast<const char*>(m.packet->data), static_cast<std::size_t>(m.packet->size));
  av_packet_unref(m.packet);
  return !jpeg->empty();
}
