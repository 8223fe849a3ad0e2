// Testing hooks of the window framework.
#include "platform/testing/ui_testing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWidget>

#include "platform/draw/dc.h"
#include "platform/draw/dc_qt.h"
#include "platform/system/key_state.h"
#include "platform/system/program_folder.h"
#include "platform/ui/app.h"
#include "platform/ui/frame.h"
#include "platform/ui/qt_internal.h"
#include "platform/ui/script_state.h"

namespace ui {
void SetEventModifiers(bool have, Qt::KeyboardModifiers mods);
bool ClickControlOf(Window& host, int id);
}

namespace testhooks {

using ui::Script;

void AnswerMessageBox(int answer) { Script().boxAnswers.push_back(answer); }
const std::vector<ShownBox>& ShownMessageBoxes() { return Script().shownBoxes; }
const std::vector<std::uint32_t>& Beeps() { return Script().beeps; }

void ScriptDialog(int templateId, std::function<void(ui::Dialog&)> script) {
  Script().dialogs.push_back({templateId, std::move(script)});
}
const std::vector<int>& ShownDialogs() { return Script().shownDialogs; }

void AnswerFileDialog(int result, std::vector<std::string> paths) {
  ui::CommonAnswer a;
  a.kind = ui::CommonAnswer::Kind::File;
  a.result = result;
  a.paths = std::move(paths);
  Script().commonAnswers.push_back(std::move(a));
}

void AnswerFolderDialog(int result, std::string folder) {
  ui::CommonAnswer a;
  a.kind = ui::CommonAnswer::Kind::Folder;
  a.result = result;
  a.paths = {std::move(folder)};
  Script().commonAnswers.push_back(std::move(a));
}

void AnswerColorDialog(int result, std::uint32_t colorref) {
  ui::CommonAnswer a;
  a.kind = ui::CommonAnswer::Kind::Color;
  a.result = result;
  a.color = colorref;
  Script().commonAnswers.push_back(std::move(a));
}

void AnswerPrintDialog(int result, std::string pdfPath, std::string printerName) {
  ui::CommonAnswer a;
  a.kind = ui::CommonAnswer::Kind::Print;
  a.result = result;
  if (!pdfPath.empty()) a.paths.push_back(std::move(pdfPath));
  a.printer = std::move(printerName);
  Script().commonAnswers.push_back(std::move(a));
}

void AnswerFontDialog(int result, int height, int weight, std::string face) {
  ui::CommonAnswer a;
  a.kind = ui::CommonAnswer::Kind::Font;
  a.result = result;
  a.fontHeight = height;
  a.fontWeight = weight;
  a.fontFace = std::move(face);
  Script().commonAnswers.push_back(std::move(a));
}

void AnswerPopupMenu(std::uint32_t command) { Script().popupAnswers.push_back(command); }

int UnansweredCount() { return Script().unanswered; }

void Reset() {
  ui::ScriptState& s = Script();
  s.boxAnswers.clear();
  s.shownBoxes.clear();
  s.beeps.clear();
  s.dialogs.clear();
  s.shownDialogs.clear();
  s.commonAnswers.clear();
  s.popupAnswers.clear();
  s.unanswered = 0;
}

bool FireTimer(ui::Window& window, std::uint32_t id) {
  if (!window.IsTimerArmed(id)) return false;
  ui::Message m{&window, ui::WM_TIMER, id, 0, {}, 0};
  ui::DispatchQueued(m);
  return true;
}

bool ClickControl(ui::Window& dialogOrBar, int controlId) {
  return ui::ClickControlOf(dialogOrBar, controlId);
}

void PressKey(ui::Window& target, std::uint32_t vk, bool down) {
  Qt::KeyboardModifiers mods;
  if (sys::IsKeyDown(sys::VirtualKey::Control)) mods |= Qt::ControlModifier;
  if (sys::IsKeyDown(sys::VirtualKey::Shift)) mods |= Qt::ShiftModifier;
  ui::SetEventModifiers(true, mods);
  ui::Message m{&target, down ? ui::WM_KEYDOWN : ui::WM_KEYUP, vk, down ? 1 : static_cast<std::intptr_t>(1u | (1u << 31)), {}, 0};
  ui::DispatchQueued(m);
  ui::SetEventModifiers(false, {});
}

void SendToolkitKey(ui::Window& target, std::uint32_t vk, bool ctrl, bool alt) {
  QWidget* w = ui::WidgetOf(&target);
  if (!w) return;
  int key = 0;
  QString text;
  Qt::KeyboardModifiers mods;
  if (ctrl) mods |= Qt::ControlModifier;
  if (alt) mods |= Qt::AltModifier;
  if (vk >= '0' && vk <= '9') {
    key = Qt::Key_0 + static_cast<int>(vk - '0');
    text = QChar(static_cast<char16_t>(vk));
  } else if (vk >= 'A' && vk <= 'Z') {
    key = Qt::Key_A + static_cast<int>(vk - 'A');
    text = QChar(static_cast<char16_t>(vk - 'A' + 'a'));
  } else if (vk >= ui::VK_NUMPAD0 && vk <= ui::VK_NUMPAD9) {
    key = Qt::Key_0 + static_cast<int>(vk - ui::VK_NUMPAD0);
    text = QChar(static_cast<char16_t>('0' + vk - ui::VK_NUMPAD0));
    mods |= Qt::KeypadModifier;
  } else if (vk >= ui::VK_F1 && vk <= ui::VK_F12) {
    key = Qt::Key_F1 + static_cast<int>(vk - ui::VK_F1);
  } else {
    switch (vk) {
      case ui::VK_LEFT: key = Qt::Key_Left; break;
      case ui::VK_RIGHT: key = Qt::Key_Right; break;
      case ui::VK_UP: key = Qt::Key_Up; break;
      case ui::VK_DOWN: key = Qt::Key_Down; break;
      case ui::VK_PRIOR: key = Qt::Key_PageUp; break;
      case ui::VK_NEXT: key = Qt::Key_PageDown; break;
      case ui::VK_SPACE: key = Qt::Key_Space; text = " "; break;
      case ui::VK_ESCAPE: key = Qt::Key_Escape; break;
      default: return;
    }
  }
  if (ctrl) text.clear();
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(w, &release);
}

void DropFiles(ui::Frame& frame, const std::vector<std::string>& paths) {
  frame.SendMessage(ui::WM_DROPFILES, 0, reinterpret_cast<std::intptr_t>(&paths));
}

void ProcessMessages() {
  for (int i = 0; i < 8 && ui::PendingMessageCount() > 0; ++i) ui::PumpPendingMessages();
  ui::PumpPendingMessages();
}

void SetVirtualScreen(int widthPx, int heightPx, int widthMm, int heightMm) {
  if (widthPx <= 0) {
    draw::OverrideScreenMetrics(nullptr);
    return;
  }
  draw::ScreenMetrics m;
  m.widthPx = widthPx;
  m.heightPx = heightPx;
  m.widthMm = widthMm;
  m.heightMm = heightMm;
  if (widthMm > 0) m.dpiX = static_cast<int>(widthPx * 25.4 / widthMm + 0.5);
  if (heightMm > 0) m.dpiY = static_cast<int>(heightPx * 25.4 / heightMm + 0.5);
  draw::OverrideScreenMetrics(&m);
}

namespace {
bool Grab(ui::Window& window, QImage& image) {
  QWidget* w = ui::WidgetOf(&window);
  if (!w) return false;
  if (w->size().isEmpty()) w->adjustSize();
  image = QImage(w->size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  w->render(&image);
  return true;
}
}  // namespace

draw::Image RenderWindow(ui::Window& window) {
  QImage image;
  if (!Grab(window, image)) return {};
  return draw::ImageFromQt(image);
}

bool RenderWindowToPng(ui::Window& window, const std::string& path) {
  QImage image;
  return Grab(window, image) && image.save(ui::Q(path), "PNG");
}

TempProgramFolder::TempProgramFolder() {
  QTemporaryDir dir(QDir::tempPath() + "/qlm2-test-XXXXXX");
  dir.setAutoRemove(false);
  path_ = ui::U(dir.path());
  sys::SetProgramFolderForTesting(path_);
}

TempProgramFolder::~TempProgramFolder() {
  sys::SetProgramFolderForTesting({});
  if (!path_.empty()) QDir(ui::Q(path_)).removeRecursively();
}

std::string TempProgramFolder::WriteFile(const std::string& name, const std::string& content) const {
  std::string full = path_ + "/" + name;
  QFile f(ui::Q(full));
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
    f.write(content.data(), static_cast<qint64>(content.size()));
  return full;
}

}  // namespace testhooks
