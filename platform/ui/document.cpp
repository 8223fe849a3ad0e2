// Documents and views.
#include "platform/ui/document.h"

#include <algorithm>

#include "platform/ui/app.h"
#include "platform/ui/frame.h"

namespace ui {

Document::Document() = default;

Document::~Document() {
  std::vector<View*> views;
  views.swap(views_);
  for (View* v : views) v->SetDocument(nullptr);
}

bool Document::OnNewDocument() {
  DeleteContents();
  path_.clear();
  title_.clear();
  SetModifiedFlag(false);
  return true;
}

bool Document::OnOpenDocument(const std::string&) {
  DeleteContents();
  SetModifiedFlag(false);
  return true;
}

void Document::OnCloseDocument() {
  DeleteContents();
  SetModifiedFlag(false);
}

void Document::SetPathName(const std::string& path, bool addToRecent) {
  path_ = path;
  auto slash = path.find_last_of('/');
  title_ = slash == std::string::npos ? path : path.substr(slash + 1);
  if (addToRecent && !path.empty())
    if (App* app = App::Current()) app->AddToRecentFileList(path);
}

void Document::UpdateAllViews(View* sender, std::intptr_t hint) {
  std::vector<View*> views = views_;
  for (View* v : views)
    if (v != sender) v->OnUpdate(sender, hint);
}

void Document::AddView(View* view) {
  if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void Document::RemoveView(View* view) { views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end()); }

namespace {
std::vector<const View*>& LiveViews() {
  static std::vector<const View*> views;
  return views;
}
}  // namespace

bool IsLiveView(const View* view) {
  auto& v = LiveViews();
  return std::find(v.begin(), v.end(), view) != v.end();
}

View::View() { LiveViews().push_back(this); }

View::~View() {
  auto& live = LiveViews();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  if (document_) document_->RemoveView(this);
}

bool View::CreateView(Window* parent, int id, const CreateContext& context, const Rect& rect) {
  SetDocument(context.currentDocument);
  return Create(parent, id, rect, true);
}

void View::SetDocument(Document* doc) {
  if (document_ == doc) return;
  if (document_) document_->RemoveView(this);
  document_ = doc;
  if (document_) document_->AddView(this);
}

void View::OnUpdate(View*, std::intptr_t) { Invalidate(); }

std::intptr_t View::WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
    if (Frame* frame = GetParentFrame(); frame && frame->GetActiveView() != this) {
      frame->SetActiveView(this);
      SetFocus();
    }
  }
  return Window::WindowProc(msg, wParam, lParam);
}

bool View::OnCmdMsg(std::uint32_t id, CmdMode mode, CmdUI* cmdUI) {
  if (DispatchOwn(id, mode, cmdUI)) return true;
  return document_ && document_->OnCmdMsg(id, mode, cmdUI);
}

}  // namespace ui

namespace ui {
bool View::OnNotifyMsg(std::uint32_t id, int code) {
  if (DispatchOwnNotify(id, code)) return true;
  return document_ && document_->OnNotifyMsg(id, code);
}
}  // namespace ui
