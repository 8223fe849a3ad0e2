#pragma once
// A workspace pane of a benchmark: made once on the offscreen platform over a document,
// 1000 x 600 pixels and shown.
#include <memory>

#include "platform/ui/app.h"
#include "platform/ui/document.h"
#include "platform/ui/messages.h"

namespace benchnight {

template <class Pane, class Doc>
Pane& PaneOn(Doc& doc) {
  static std::unique_ptr<Pane> pane = [&doc] {
    ui::EnsureToolkit();
    auto p = std::make_unique<Pane>();
    ui::CreateContext context;
    context.currentDocument = &doc;
    p->CreateView(nullptr, 0, context, ui::Rect{0, 0, 1000, 600});
    p->ShowWindow(ui::SW_SHOW);
    return p;
  }();
  return *pane;
}

}  // namespace benchnight
