#pragma once
// Documents and views. A Document holds the program's data and knows its views; a View is a
// window that shows a document and takes part in command routing while it is the active view
// of its frame.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/draw/print.h"
#include "platform/ui/command.h"
#include "platform/ui/window.h"

namespace ui {

class View;
struct PrintSettings;

class Document : public CommandTarget {
 public:
  Document();
  ~Document() override;

  // Life cycle called by App (single-document template). OnNewDocument and OnOpenDocument
  // return false to refuse; the defaults call DeleteContents and clear the modified flag, and
  // OnNewDocument also the path and title.
  virtual bool OnNewDocument();
  virtual bool OnOpenDocument(const std::string& path);
  virtual void DeleteContents() {}
  // Asked before the document is replaced or closed; false keeps it. Default: true.
  virtual bool SaveModified() { return true; }
  virtual void OnCloseDocument();

  // Path of the open file; SetPathName also adds it to the recent-file list when asked.
  void SetPathName(const std::string& path, bool addToRecent = true);
  const std::string& GetPathName() const { return path_; }
  void SetTitle(const std::string& title) { title_ = title; }
  const std::string& GetTitle() const { return title_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }
  bool IsModified() const { return modified_; }

  // Views showing this document, in the order they were attached.
  const std::vector<View*>& Views() const { return views_; }
  // Calls OnUpdate of every view except sender.
  void UpdateAllViews(View* sender, std::intptr_t hint = 0);

  // Platform internal: views attach and detach themselves.
  void AddView(View* view);
  void RemoveView(View* view);

 private:
  std::string path_;
  std::string title_;
  bool modified_ = false;
  std::vector<View*> views_;
};

// What a frame passes to the windows it creates for its client area.
struct CreateContext {
  Document* currentDocument = nullptr;
  // The view a frame's default client area creates (from the document template).
  std::function<std::unique_ptr<View>()> makeView;
};

class View : public Window {
 public:
  View();
  ~View() override;

  // Creates the view as a child of parent with id and attaches it to the context's document.
  bool CreateView(Window* parent, int id, const CreateContext& context, const Rect& rect = {});
  Document* GetDocument() const { return document_; }
  void SetDocument(Document* doc);

  // Called once after the frame is set up, and by default whenever the document is re-opened.
  virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
  // The document changed; the default repaints the view.
  virtual void OnUpdate(View* sender, std::intptr_t hint);
  // Drawing of the view's content; the default OnPaint calls it.
  virtual void OnDraw(draw::Dc& dc) { (void)dc; }
  void OnPaint(draw::Dc& dc) override { OnDraw(dc); }

  // Printing (the framework's print command, OnFilePrint): OnPreparePrinting sets up the
  // print information (false cancels); unless it asks for direct printing the print dialog
  // is shown; then the job opens, OnBeginPrinting runs, and for each page of the chosen range
  // OnPrint draws into the printer context inside info.drawRect; OnEndPrinting ends it, also
  // after a failure. OnFilePrint returns Ok, or the failure (NotStarted when the user
  // cancelled).
  struct PrintInfo {
    int minPage = 1;
    int maxPage = 1;
    int currentPage = 1;
    bool direct = false;  // no dialog: the default printer, or the settings as they stand
    Rect drawRect;        // printable rectangle in device units
    PrintSettings* settings = nullptr;
  };
  virtual bool OnPreparePrinting(PrintInfo& info) { (void)info; return true; }
  virtual void OnBeginPrinting(draw::Dc& dc, PrintInfo& info) { (void)dc; (void)info; }
  virtual void OnPrint(draw::Dc& dc, PrintInfo& info) { (void)info; OnDraw(dc); }
  virtual void OnEndPrinting(draw::Dc& dc, PrintInfo& info) { (void)dc; (void)info; }
  draw::PrintStatus OnFilePrint();

  // A click in the view makes it the active view of its frame and gives it the focus.
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

  // Routes: this view, then its document.
  bool OnCmdMsg(std::uint32_t id, CmdMode mode, CmdUI* cmdUI) override;
  bool OnNotifyMsg(std::uint32_t id, int code) override;

 private:
  Document* document_ = nullptr;
};

}  // namespace ui
