#pragma once
// The workspace's spectrum panes: the simple spectrum of a span picked on the wave page
// (pane 2) and the spectra of the current epoch, one row per chosen channel (pane 3). Both draw
// what the document computed, as coloured bars by frequency band with an optional band-sum
// chart, and show the frequency and every row's value under the mouse.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/workspace/workspace_placeholder_panes.h"
#include "platform/draw/geometry.h"

class CQLM2_AnalyzerDoc;
struct FFTPageParam;

class LyrWorkspaceSpectrumPane : public LyrWorkspaceEmptyPane {
 public:
  void OnDraw(draw::Dc& dc) override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnMouseMove(std::uint32_t flags, ui::Point point) override;

  // Draws the pane into a client rectangle (the window's own in OnDraw).
  void Render(draw::Dc& dc, const draw::Rect& client);
  // Read-out arrays for a spectrum area of `width` columns (none for a width below 2).
  void InitReadXY(int width);
  // Rows laid out: the channels chosen for the pane.
  int GetShownChannelCount() const;
  // Frequency and value texts under the spectrum column `offset` (the latest read-out).
  void ShowReadout(int offset, int y);

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  CQLM2_AnalyzerDoc* Doc() const;
  int ReadWidth = 0;
  int ReadCount = 0;
  std::vector<int> BinPerColumn;
  std::vector<float> ValuePerColumn;
  int CursorX = -1;
  int CursorY = 0;
  // The latest read-out: the frequency, then one value text per row.
  std::vector<std::string> ReadoutTexts;

 protected:
  struct Row {
    int channel = -1;
    std::span<const float> values;  // empty: the channel has no spectrum
  };
  virtual std::vector<Row> Rows() const = 0;
  virtual int Points() const = 0;
  virtual double RangeHz() const = 0;
  // Mode 0 scales every row by the largest values of all rows.
  virtual bool CommonScale() const = 0;
  virtual const char* DrawFailure() const = 0;
  virtual const char* AllocFailure() const = 0;

 private:
  draw::Rect client_{};
  int axis_ = 0;
  std::vector<Row> rows_;
};

// Pane 2.
class LyrWorkspaceFFTSimpleView : public LyrWorkspaceSpectrumPane {
 protected:
  std::vector<Row> Rows() const override;
  int Points() const override;
  double RangeHz() const override;
  bool CommonScale() const override { return false; }
  const char* DrawFailure() const override { return "LyrWorkspaceFFTSimpleView::OnDraw"; }
  const char* AllocFailure() const override { return "LyrWorkspaceFFTSimpleView::InitReadXY"; }
};

// Pane 3; its menu commands run the spectrum settings dialogs and the spectrum text outputs.
class LyrWorkspaceFFTEpochView : public LyrWorkspaceSpectrumPane {
 public:
  int RunDialog(std::uint32_t command) override;

 protected:
  std::vector<Row> Rows() const override;
  int Points() const override;
  double RangeHz() const override;
  bool CommonScale() const override { return true; }
  const char* DrawFailure() const override { return "LyrWorkspaceFFTEpochView::OnDraw"; }
  const char* AllocFailure() const override { return "LyrWorkspaceFFTEpochView::InitReadXY"; }
};
