// Pictures of the workspace's spectrum panes and zoom pane on the generated night: the epoch
// spectra with band bars, the simple spectrum, the zoom pane with a latency mark, and the
// spectrum dialogs and text outputs in English and Japanese.
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_dlg_fft.h"
#include "app/workspace/lyr_workspace_dlg_text_out_fft.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_zoom_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"
#include "tools/raw_screenshots/shots.h"

namespace {

bool Shot(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

// A dialog shown modeless for its picture, then destroyed.
bool DialogShot(ui::Dialog& d, ui::Window& owner, const std::string& path) {
  if (!d.CreateModeless(&owner)) return false;
  const bool ok = Shot(d, path);
  d.DestroyWindow();
  return ok;
}

bool SpectraShots(ShotContext& c) {
  CMainFrame& frame = c.frame;
  CQLM2_AnalyzerDoc& doc = c.doc;
  LyrWorkspaceDummyView* ws = frame.WorkspaceView();
  if (ws == nullptr || ws->Frame() == nullptr) return false;
  PaneRowRatio = 0.45;
  PaneColumnRatio = 0.3;
  frame.LayoutPanes();
  LyrWorkspaceAreaTabCtrl& tabs = frame.WorkspaceTabs;
  auto show = [&tabs](int id) {
    tabs.SelectPane(id);
    tabs.ShowSelectedPane(id);
  };
  bool ok = true;
  FFTPageParam& fp = doc.Params.fftPage;
  fp.showContent = 1;
  doc.Params.fftPageSelection.flags = {};
  const int channels = std::min(doc.RecordInfo.channelCount, 32);
  for (int ch = 0, n = 0; ch < channels && n < 2; ++ch)
    if (doc.ChInfo[static_cast<std::size_t>(ch)].rate == doc.ChInfo[0].rate) {
      doc.Params.fftPageSelection.flags[static_cast<std::size_t>(ch)] = 1;
      ++n;
    }
  doc.CalcEpochFFTData();
    show(3);
  ok &= Shot(*ws, c.out + "/workspace_fft_epoch.png");
  doc.CalcSimpleFFTData(2, 0, 0);
  show(2);
  ok &= Shot(*ws, c.out + "/workspace_fft_simple.png");

  show(1);
  LyrWorkspaceZoomView& zoom = *tabs.ZoomPane;
  for (int ch = 0; ch < std::min(channels, 3); ++ch)
    zoom.Spans[static_cast<std::size_t>(ch)] = ZoomSpan{1, 0, doc.ChInfo[static_cast<std::size_t>(ch)].rate * 4};
  zoom.Invalidate();
  testhooks::ProcessMessages();
  Shot(*ws, c.out + "/workspace_zoom_plain.png");
  zoom.Mode = 3;
  const ui::Rect r = zoom.GetClientRect();
  zoom.OnLButtonUp(0, ui::Point{r.Width() / 3, r.Height() / 2});
  ok &= Shot(*ws, c.out + "/workspace_zoom_mark.png");
  zoom.ResetZoom();

  const int lastEpoch = std::max(EpochSeconds > 0 ? doc.GetDivNum(EpochSeconds) - 1 : 0, 0);
  for (auto lang : {res::Language::English, res::Language::Japanese}) {
    res::SetLanguage(lang);
    const std::string suffix = lang == res::Language::Japanese ? "_ja.png" : ".png";
    {
      LyrWorkspaceDlgFFTParameter d(&doc, &frame);
      ok &= DialogShot(d, frame, c.out + "/workspace_dlg_fft_parameter" + suffix);
    }
    {
      LyrWorkspaceDlgFFTScale d(&doc, &frame);
      ok &= DialogShot(d, frame, c.out + "/workspace_dlg_fft_scale" + suffix);
    }
    {
      LyrWorkspaceDlgFFTSelectCh d(&doc, 1, &frame);
      ok &= DialogShot(d, frame, c.out + "/workspace_dlg_fft_channels" + suffix);
    }
    {
      LyrWorkspaceDlgTextOutAverage d(&doc, &frame);
      d.OutputPath = d.MakeDefaultFileName();
      d.EndEpoch = lastEpoch;
      ok &= DialogShot(d, frame, c.out + "/workspace_dlg_average_fft" + suffix);
    }
    {
      LyrWorkspaceDlgTextOutContinuous d(&doc, &frame);
      d.OutputPath = FftOutputDefaultPath(doc, "_cFFT");
      d.EndEpoch = lastEpoch;
      ok &= DialogShot(d, frame, c.out + "/workspace_dlg_continuous_fft" + suffix);
    }
    show(3);
    ok &= Shot(*ws, c.out + "/workspace_fft_epoch" + suffix);
  }
  res::SetLanguage(res::Language::English);
  return ok;
}

ShotRegistrar reg("workspace_spectra", SpectraShots);

}  // namespace
