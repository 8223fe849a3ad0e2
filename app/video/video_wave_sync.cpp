#include "app/video/video_wave_sync.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/draw/dc.h"
#include "platform/ui/window.h"

namespace {

constexpr int kMiddleRawRow = 2;

// The page in samples of the fastest channel: its first sample and its length.
struct PageSamples {
  double rate = 0.0;
  std::int64_t start = 0;
  std::int64_t length = 0;
};

PageSamples PageOf(const CQLM2_AnalyzerDoc& doc) {
  PageSamples p;
  const int c = FastestChannel(doc);
  p.rate = c < 0 ? 0.0 : static_cast<double>(doc.ChInfo[static_cast<std::size_t>(c)].rate);
  if (p.rate <= 0.0 || EpochSeconds <= 0) return p;
  const auto rate = static_cast<std::int64_t>(p.rate);
  p.start = static_cast<std::int64_t>(PageSeconds / EpochSeconds) * doc.CurrentPage * EpochSeconds * rate;
  p.length = static_cast<std::int64_t>(PageSeconds) * rate;
  return p;
}

LyrRawAreaView* MiddleRawView(CMainFrame& frame) {
  LyrRawDummyView* raw = frame.RawView();
  LyrRawFrame* row = raw != nullptr ? raw->Row(kMiddleRawRow) : nullptr;
  return row != nullptr ? row->AreaView() : nullptr;
}

}  // namespace

int FastestChannel(const CQLM2_AnalyzerDoc& doc) {
  int best = -1;
  for (int c = 0; c < doc.RecordInfo.channelCount && c < static_cast<int>(doc.ChInfo.size()); ++c) {
    if (best < 0 || doc.ChInfo[static_cast<std::size_t>(c)].rate > doc.ChInfo[static_cast<std::size_t>(best)].rate)
      best = c;
  }
  return best;
}

int VideoCursorX(std::int64_t position, std::int64_t pageStart, std::int64_t pageLength, int pageWidth,
                 double recordingSamples) {
  const std::int64_t d = position - pageStart;
  if (pageLength <= 0 || pageWidth <= 0 || d < 0 || static_cast<double>(d) > recordingSamples) return -1;
  const auto x = static_cast<std::uint16_t>(static_cast<std::int64_t>(pageWidth) * d / pageLength);
  return x == 0 ? 1 : x;
}

void LyrWorkspaceDummyView::DrawVideoCursor(int mode, draw::Dc* target) {
  ++VideoCursorDraws;
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  CVPInfoExchange* video = frame != nullptr ? frame->VideoController() : nullptr;
  CQLM2_AnalyzerDoc* doc = frame != nullptr ? frame->GetDocument() : nullptr;
  if (video == nullptr || !video->IsBound() || doc == nullptr || VideoSyncTime < 0.0) return;
  LyrRawAreaView* view = MiddleRawView(*frame);
  if (view == nullptr || !view->IsWindow()) return;
  const PageSamples page = PageOf(*doc);
  if (page.rate <= 0.0) return;
  double time = VideoSyncTime;
  if (frame->VideoFollowsWave != 0) {
    const int c = FastestChannel(*doc);
    const auto& ch = doc->ChInfo[static_cast<std::size_t>(c)];
    time -= (1.0 / ch.rate) * ch.startOffset;
  }
  const auto position = static_cast<std::int64_t>(page.rate * time);
  const draw::Rect rect = view->GetPageRect(target);
  const int x = VideoCursorX(position, page.start, page.length, rect.right - rect.left,
                             static_cast<double>(doc->RecordSeconds) * page.rate);
  if (x < 0) return;
  auto draw = [&](draw::Dc& dc) {
    // Against the wave background the erasable line shows pure red.
    const draw::ColorRef colour =
        mode == draw::R2_XORPEN ? (DisplayColors[0] ^ 0xFFu) & 0xFFFFFFu : draw::Rgb(255, 0, 0);
    const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 3, colour});
    const int oldRop = dc.SetROP2(mode);
    dc.MoveTo(x, rect.top);
    dc.LineTo(x, rect.bottom);
    dc.SetROP2(oldRop);
    dc.SelectPen(old);
  };
  if (target != nullptr) {
    draw(*target);
  } else {
    ui::ClientDc client(*view);
    if (!client.IsValid()) return;
    draw(client.dc());
  }
  VideoMarkX = static_cast<std::uint16_t>(x);
}

void LyrWorkspaceDummyView::SyncWaveToVideo(double seconds) {
  if (seconds == VideoSyncTime) return;
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  CQLM2_AnalyzerDoc* doc = frame != nullptr ? frame->GetDocument() : nullptr;
  if (doc == nullptr || EpochSeconds <= 0 || PageSeconds < EpochSeconds) return;
  const PageSamples page = PageOf(*doc);
  DrawVideoCursor(draw::R2_XORPEN);
  VideoSyncTime = std::max(seconds, 0.0);
  const auto position = static_cast<std::int64_t>(page.rate * VideoSyncTime);
  const auto epoch = static_cast<std::int32_t>(VideoSyncTime / EpochSeconds);
  FollowingVideo = true;
  if (position >= page.start && position < page.start + page.length) {
    if (epoch == doc->CurrentEpoch) {
      frame->UpdateFrameBarTime();
    } else {
      frame->JumpToEpoch(epoch, 1);
      VideoSyncTime = std::max(seconds, 0.0);
      if (LyrRawAreaView* view = MiddleRawView(*frame)) view->Invalidate(false);
    }
  } else {
    doc->CurrentEpoch = epoch;
    const std::int32_t pageNumber = epoch / (PageSeconds / EpochSeconds);
    if (pageNumber != doc->CurrentPage) frame->SetPageByEpoch(pageNumber, epoch);
    frame->UpdateFrameBarTime();
  }
  FollowingVideo = false;
  DrawVideoCursor(draw::R2_XORPEN);
}
