#pragma once
// The application object and the message loop. The program derives one App, constructs it
// once in main() and calls RunApplication(app, argc, argv): InitInstance, then the message
// loop when it returned true, then ExitInstance, whose result is the exit code.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/command.h"

namespace res {
enum class Language : std::uint16_t;
}

namespace ui {

class Document;
class Frame;
class View;

// The single-document template: how the program makes its one document, its main frame and
// the frame's first view. resourceId names the frame's menu, accelerators and document string.
struct DocTemplate {
  std::uint32_t resourceId = 0;
  std::function<std::unique_ptr<Document>()> makeDocument;
  std::function<std::unique_ptr<Frame>()> makeFrame;
  std::function<std::unique_ptr<View>()> makeView;
};

class App : public CommandTarget {
 public:
  App();
  ~App() override;

  // The one application object (null before one is constructed).
  static App* Current();

  virtual bool InitInstance() { return true; }
  virtual int ExitInstance();
  // Called when the message queue has become empty; count starts at 0 for each idle period.
  // Return true to be called again before waiting. The default updates the main frame's bars.
  virtual bool OnIdle(long count);

  // Runs the message loop until PostQuitMessage; returns the quit code.
  int Run();

  // Command line as given to RunApplication (argument 0 is the program).
  const std::vector<std::string>& Arguments() const;
  void SetArguments(std::vector<std::string> args);
  // Arguments after the program joined by one blank (the system's command-line text).
  std::string CommandLineText() const;

  // Show command for the first showing of the main window (SW_SHOWMAXIMIZED ...).
  int ShowCommand() const { return showCommand_; }
  void SetShowCommand(int cmd) { showCommand_ = cmd; }

  Frame* GetMainWnd() const { return mainWnd_; }
  void SetMainWnd(Frame* frame) { mainWnd_ = frame; }

  // Single-document template. OnFileNew creates the document and frame the first time
  // (LoadFrame with the template's resource id) and then calls OnNewDocument; later calls ask
  // Document::SaveModified first and re-initialise the same document.
  void SetDocTemplate(DocTemplate tmpl);
  bool OnFileNew();
  // Opens a file into the one document: a path equal to the open document's path only returns
  // it; otherwise SaveModified, OnOpenDocument and SetPathName. Null on failure or refusal.
  Document* OpenDocumentFile(const std::string& path, bool addToRecent = true);
  Document* GetDocument() const;

  // Recent-file list, newest first, at most maxEntries (default 10). Persisting it is the
  // program's business: it reads RecentFiles() at exit and SetRecentFiles() at start.
  void AddToRecentFileList(const std::string& path);
  const std::vector<std::string>& RecentFiles() const { return recent_; }
  void SetRecentFiles(std::vector<std::string> files, std::size_t maxEntries = 10);

 private:
  int showCommand_ = 1;
  Frame* mainWnd_ = nullptr;
  std::vector<std::string> recent_;
  std::size_t maxRecent_ = 10;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Sets up the toolkit with the command line, runs InitInstance, the loop and ExitInstance.
int RunApplication(App& app, int argc, char** argv);

// Makes sure the toolkit is set up (tests and tools that show windows without an App).
void EnsureToolkit();

// The toolkit's side of the interface language, applied on every language change: the
// Japanese font (so no Japanese text shows as empty boxes) and the toolkit's translations of
// its standard dialogs and buttons in Japanese; the default font and no translations else.
void ApplyToolkitLanguage(res::Language language);
// A text of the toolkit's own as the current translations give it (context and text as the
// toolkit names them).
std::string TranslateToolkitText(const char* context, const char* text);

// Ends the message loop with the code once the current message is handled.
void PostQuitMessage(int code);

// Handles every pending message without waiting (the progress window's pump). Returns
// false when a quit was requested.
bool PumpPendingMessages();
// Removes the oldest posted message still queued, without handling it. Returns false when
// none was queued.
bool RemoveOnePendingMessage();
// Removes the oldest queued message with that number and first parameter (a key message of
// that key), leaving every other message queued. Returns false when none was queued.
bool RemovePendingKeyMessage(std::uint32_t msg, std::uint32_t key);
// Number of posted messages still queued.
std::size_t PendingMessageCount();

// Puts a function on the queue, run by the message loop after the messages before it.
void PostTask(std::function<void()> task);

// Work run when the queue becomes empty (after App::OnIdle).
using IdleHandler = std::function<void()>;
int AddIdleHandler(IdleHandler handler);
void RemoveIdleHandler(int token);
// Runs the idle processing once now (App::OnIdle, then the idle handlers).
void RunIdleNow();

// Sound of a message type (MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONHAND,
// MB_ICONASTERISK, MB_OK or MB_SIMPLEBEEP). Tests read the beeps through the testing hooks.
void MessageBeep(std::uint32_t type);

// Shows the busy cursor while an instance lives.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace ui
