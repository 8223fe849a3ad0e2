#include "app/video/mjpeg_frame_encoder.h"

#include <dlfcn.h>

#include <algorithm>
#include <thread>
#include <type_traits>

#include "app/video/avi_film_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/macros.h>
#include <libavutil/version.h>
#include <libswscale/swscale.h>
#include <libswscale/version.h>
}

namespace {

// The codec libraries are bound on the first film, not at start-up: they bring many libraries
// of their own, and most sessions make no film.
// They are system libraries, found on the system's library path, and stay loaded.
struct Codecs {
  void* avutil = nullptr;
  void* swscale = nullptr;
  void* avcodec = nullptr;
  decltype(&av_log_set_level) logSetLevel = nullptr;
  decltype(&av_frame_alloc) frameAlloc = nullptr;
  decltype(&av_frame_free) frameFree = nullptr;
  decltype(&av_frame_get_buffer) frameGetBuffer = nullptr;
  decltype(&av_frame_make_writable) frameMakeWritable = nullptr;
  decltype(&avcodec_find_encoder) findEncoder = nullptr;
  decltype(&avcodec_alloc_context3) allocContext = nullptr;
  decltype(&avcodec_free_context) freeContext = nullptr;
  decltype(&avcodec_open2) open = nullptr;
  decltype(&avcodec_send_frame) sendFrame = nullptr;
  decltype(&avcodec_receive_packet) receivePacket = nullptr;
  decltype(&av_packet_alloc) packetAlloc = nullptr;
  decltype(&av_packet_free) packetFree = nullptr;
  decltype(&av_packet_unref) packetUnref = nullptr;
  decltype(&sws_getContext) swsGetContext = nullptr;
  decltype(&sws_freeContext) swsFreeContext = nullptr;
  decltype(&sws_getCoefficients) swsGetCoefficients = nullptr;
  decltype(&sws_setColorspaceDetails) swsSetColorspaceDetails = nullptr;
  decltype(&sws_scale) swsScale = nullptr;
  bool ok = false;

  Codecs() {
    avutil = ::dlopen("libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR), RTLD_NOW | RTLD_LOCAL);
    swscale = ::dlopen("libswscale.so." AV_STRINGIFY(LIBSWSCALE_VERSION_MAJOR), RTLD_NOW | RTLD_LOCAL);
    avcodec = ::dlopen("libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR), RTLD_NOW | RTLD_LOCAL);
    if (avutil == nullptr || swscale == nullptr || avcodec == nullptr) return;
    bool all = true;
    auto bind = [&all](void* lib, auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(::dlsym(lib, name));
      all = all && fn != nullptr;
    };
    bind(avutil, logSetLevel, "av_log_set_level");
    bind(avutil, frameAlloc, "av_frame_alloc");
    bind(avutil, frameFree, "av_frame_free");
    bind(avutil, frameGetBuffer, "av_frame_get_buffer");
    bind(avutil, frameMakeWritable, "av_frame_make_writable");
    bind(avcodec, findEncoder, "avcodec_find_encoder");
    bind(avcodec, allocContext, "avcodec_alloc_context3");
    bind(avcodec, freeContext, "avcodec_free_context");
    bind(avcodec, open, "avcodec_open2");
    bind(avcodec, sendFrame, "avcodec_send_frame");
    bind(avcodec, receivePacket, "avcodec_receive_packet");
    bind(avcodec, packetAlloc, "av_packet_alloc");
    bind(avcodec, packetFree, "av_packet_free");
    bind(avcodec, packetUnref, "av_packet_unref");
    bind(swscale, swsGetContext, "sws_getContext");
    bind(swscale, swsFreeContext, "sws_freeContext");
    bind(swscale, swsGetCoefficients, "sws_getCoefficients");
    bind(swscale, swsSetColorspaceDetails, "sws_setColorspaceDetails");
    bind(swscale, swsScale, "sws_scale");
    ok = all;
  }
};

// Null when the libraries are missing.
const Codecs* Bound() {
  static const Codecs codecs;
  return codecs.ok ? &codecs : nullptr;
}

}  // namespace

struct MjpegFrameEncoder::Impl {
  const Codecs* av = nullptr;
  AVCodecContext* codec = nullptr;
  SwsContext* scaler = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitsPerPixel = 0;
  std::uint32_t imageSize = 0;

  ~Impl() {
    av->packetFree(&packet);
    av->frameFree(&frame);
    av->swsFreeContext(scaler);
    av->freeContext(&codec);
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
  const Codecs* av = Bound();
  if (av == nullptr) return false;
  av->logSetLevel(AV_LOG_QUIET);
  const AVCodec* enc = av->findEncoder(AV_CODEC_ID_MJPEG);
  if (enc == nullptr) return false;
  auto impl = std::make_unique<Impl>();
  impl->av = av;
  impl->width = width;
  impl->height = height;
  impl->bitsPerPixel = bitsPerPixel;
  impl->imageSize = AviFrameImageSize(width, height, bitsPerPixel);
  impl->codec = av->allocContext(enc);
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
  if (av->open(c, enc, nullptr) < 0) return false;

  impl->frame = av->frameAlloc();
  impl->packet = av->packetAlloc();
  if (impl->frame == nullptr || impl->packet == nullptr) return false;
  impl->frame->format = AV_PIX_FMT_YUVJ420P;
  impl->frame->width = width;
  impl->frame->height = height;
  impl->frame->color_range = AVCOL_RANGE_JPEG;
  if (av->frameGetBuffer(impl->frame, 0) < 0) return false;

  const AVPixelFormat source = bitsPerPixel == 32 ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR24;
  impl->scaler = av->swsGetContext(width, height, source, width, height, AV_PIX_FMT_YUV420P, SWS_POINT, nullptr,
                                nullptr, nullptr);
  if (impl->scaler == nullptr) return false;
  // Full-range output, as JPEG holds it.
  const int* coefficients = av->swsGetCoefficients(SWS_CS_ITU601);
  av->swsSetColorspaceDetails(impl->scaler, coefficients, 1, coefficients, 1, 0, 1 << 16, 1 << 16);
  impl_ = std::move(impl);
  return true;
}

bool MjpegFrameEncoder::Encode(const std::uint8_t* dib, std::size_t size, std::string* jpeg) {
  if (!impl_ || dib == nullptr || jpeg == nullptr || size < impl_->imageSize) return false;
  Impl& m = *impl_;
  if (m.av->frameMakeWritable(m.frame) < 0) return false;
  // Bottom-up rows: start at the last row and step backwards.
  const int row = static_cast<int>(m.imageSize / static_cast<std::uint32_t>(m.height));
  const std::uint8_t* src[4] = {dib + static_cast<std::size_t>(row) * static_cast<std::size_t>(m.height - 1), nullptr,
                                nullptr, nullptr};
  const int srcStride[4] = {-row, 0, 0, 0};
  if (m.av->swsScale(m.scaler, src, srcStride, 0, m.height, m.frame->data, m.frame->linesize) != m.height) return false;
  // A fixed quantiser takes its value from each picture.
  m.frame->quality = m.codec->global_quality;
  if (m.av->sendFrame(m.codec, m.frame) < 0) return false;
  if (m.av->receivePacket(m.codec, m.packet) < 0) return false;
  jpeg->assign(reinterpret_cast<const char*>(m.packet->data), static_cast<std::size_t>(m.packet->size));
  m.av->packetUnref(m.packet);
  return !jpeg->empty();
}
