// Pictures of the workspace's spectrum panes and zoom pane on the generated night: the epoch
// spectra with band bars, the simple spectrum, the zoom pane with a latency mark, and the
// spectrum dialogs and text outputs in English and Japanese.
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

// Runs a workspace menu command whose dialog is pictured and then cancelled.
bool DialogShot(LyrWorkspaceFrame& wf, std::uint32_t command, int templateId, const std::string& path) {
  bool ok = false;
  testhooks::ScriptDialog(templateId, [&](ui::Dialog& d) {
    ok = Shot(d, path);
    d.EndDialog(ui::IDCANCEL);
  });
  ui::ExecuteCommand(wf, command);
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

  LyrWorkspaceFrame& wf = *ws->Frame();
  for (auto lang : {res::Language::English, res::Language::Japanese}) {
    res::SetLanguage(lang);
    const std::string suffix = lang == res::Language::English ? ".png" : "_ja.png";
    ok &= DialogShot(wf, 32826, IDD_FFT_PARAMETER, c.out + "/workspace_dlg_fft_parameter" + suffix);
    ok &= DialogShot(wf, 32825, IDD_FFT_SCALE, c.out + "/workspace_dlg_fft_scale" + suffix);
    ok &= DialogShot(wf, 32824, IDD_FFT_SELECT_CH, c.out + "/workspace_dlg_fft_channels" + suffix);
    ok &= DialogShot(wf, 32846, IDD_TEXT_OUT_AVERAGE, c.out + "/workspace_dlg_average_fft" + suffix);
    ok &= DialogShot(wf, 32832, IDD_TEXT_OUT_CONTINUOUS, c.out + "/workspace_dlg_continuous_fft" + suffix);
    show(3);
    ok &= Shot(*ws, c.out + "/workspace_fft_epoch" + suffix);
  }
  res::SetLanguage(res::Language::English);
  return ok;
}

ShotRegistrar reg("workspace_spectra", SpectraShots);

}  // namespace
