// Common dialogs over Qt's standard dialogs, scripted under the offscreen platform.
#include "platform/ui/common_dialogs.h"

#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGuiApplication>

#include "platform/ui/app.h"
#include "platform/ui/frame.h"
#include "platform/ui/qt_internal.h"
#include "platform/ui/script_state.h"

namespace ui {
namespace {

QWidget* ParentWidget(Window* parent) {
  if (!parent && App::Current()) parent = App::Current()->GetMainWnd();
  return parent && parent->IsWindow() ? WidgetOf(parent) : nullptr;
}

// The scripted answer of a common dialog; false when none is queued (recorded as unanswered).
bool Scripted(CommonAnswer::Kind kind, CommonAnswer& answer) {
  if (TakeCommonAnswer(kind, answer)) return true;
  ++Script().unanswered;
  answer.result = IDCANCEL;
  return false;
}

QString QtFilter(const std::vector<FileFilter>& filters) {
  QStringList parts;
  for (const auto& f : filters) {
    QStringList pats;
    for (const auto& p : f.patterns) pats << Q(p);
    parts << Q(f.description) + " (" + pats.join(' ') + ")";
  }
  return parts.join(";;");
}

}  // namespace

std::vector<FileFilter> ParseFileFilter(std::string_view filter) {
  std::vector<FileFilter> out;
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= filter.size()) {
    std::size_t bar = filter.find('|', start);
    if (bar == std::string_view::npos) bar = filter.size();
    fields.emplace_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
    if (fields[i].empty()) break;  // "||" ends the list
    FileFilter f;
    f.description = fields[i];
    std::string_view pats = fields[i + 1];
    std::size_t s = 0;
    while (s < pats.size()) {
      std::size_t semi = pats.find(';', s);
      if (semi == std::string_view::npos) semi = pats.size();
      if (semi > s) f.patterns.emplace_back(pats.substr(s, semi - s));
      s = semi + 1;
    }
    out.push_back(std::move(f));
  }
  return out;
}

FileDialog::FileDialog(bool openDialog, std::string defaultExt, std::string fileName, std::uint32_t flags,
                       std::string filter, Window* parent)
    : open_(openDialog),
      defaultExt_(std::move(defaultExt)),
      fileName_(std::move(fileName)),
      flags_(flags),
      filter_(std::move(filter)),
      parent_(parent) {}

FileDialog::~FileDialog() = default;

void FileDialog::SetPreview(Window* panel, std::function<void(const std::string&)> onSelect) {
  preview_ = panel;
  onSelect_ = std::move(onSelect);
}

int FileDialog::DoModal() {
  paths_.clear();
  if (ScriptedUi()) {
    CommonAnswer a;
    Scripted(CommonAnswer::Kind::File, a);
    if (a.result != IDOK || a.paths.empty()) return IDCANCEL;
    paths_ = a.paths;
    if (!(flags_ & OFN_ALLOWMULTISELECT)) paths_.resize(1);
    if (onSelect_) onSelect_(paths_.front());
    return IDOK;
  }
  std::vector<FileFilter> filters = ParseFileFilter(filter_);
  QFileDialog dlg(ParentWidget(parent_), Q(title_));
  dlg.setOption(QFileDialog::DontUseNativeDialog, preview_ != nullptr);
  dlg.setAcceptMode(open_ ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  if (open_) {
    dlg.setFileMode((flags_ & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  } else {
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !(flags_ & OFN_OVERWRITEPROMPT));
  }
  if (!defaultExt_.empty()) dlg.setDefaultSuffix(Q(defaultExt_));
  if (!folder_.empty()) dlg.setDirectory(Q(folder_));
  if (!fileName_.empty()) dlg.selectFile(Q(fileName_));
  if (!filters.empty()) {
    QStringList names = QtFilter(filters).split(";;");
    dlg.setNameFilters(names);
    int index = std::clamp(filterIndex_, 1, static_cast<int>(names.size()));
    dlg.selectNameFilter(names[index - 1]);
  }
  if (preview_ && preview_->IsWindow()) {
    if (auto* grid = qobject_cast<QGridLayout*>(dlg.layout())) {
      grid->addWidget(WidgetOf(preview_), 0, grid->columnCount(), grid->rowCount(), 1);
      WidgetOf(preview_)->show();
    }
    QObject::connect(&dlg, &QFileDialog::currentChanged, &dlg, [this](const QString& p) {
      if (onSelect_) onSelect_(U(p));
    });
  }
  if (onType_) {
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [this, &dlg](const QString& f) {
      onType_(static_cast<int>(dlg.nameFilters().indexOf(f)) + 1);
    });
  }
  int result = dlg.exec();
  if (preview_ && preview_->IsWindow()) {
    // The panel belongs to its window; take it back before the dialog goes.
    WidgetOf(preview_)->setParent(nullptr);
  }
  if (result != QDialog::Accepted) return IDCANCEL;
  for (const QString& f : dlg.selectedFiles()) paths_.push_back(U(f));
  QStringList names = dlg.nameFilters();
  filterIndex_ = static_cast<int>(names.indexOf(dlg.selectedNameFilter())) + 1;
  return paths_.empty() ? IDCANCEL : IDOK;
}

std::string FileDialog::GetFileName() const {
  std::string p = GetPathName();
  auto slash = p.find_last_of('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string FileDialog::GetFileExt() const {
  std::string n = GetFileName();
  auto dot = n.find_last_of('.');
  return dot == std::string::npos ? std::string{} : n.substr(dot + 1);
}

std::string FileDialog::GetFolderPath() const {
  std::string p = GetPathName();
  auto slash = p.find_last_of('/');
  return slash == std::string::npos ? std::string{} : p.substr(0, slash);
}

int BrowseForFolder(Window* parent, std::string_view title, std::string& folder) {
  if (ScriptedUi()) {
    CommonAnswer a;
    Scripted(CommonAnswer::Kind::Folder, a);
    if (a.result != IDOK || a.paths.empty()) return IDCANCEL;
    folder = a.paths.front();
    return IDOK;
  }
  QString chosen = QFileDialog::getExistingDirectory(ParentWidget(parent), Q(title), Q(folder));
  if (chosen.isEmpty()) return IDCANCEL;
  folder = U(chosen);
  return IDOK;
}

int ChooseColor(Window* parent, std::uint32_t& colorref) {
  if (ScriptedUi()) {
    CommonAnswer a;
    Scripted(CommonAnswer::Kind::Color, a);
    if (a.result != IDOK) return IDCANCEL;
    colorref = a.color;
    return IDOK;
  }
  QColor initial(static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
                 static_cast<int>((colorref >> 16) & 0xFF));
  QColor c = QColorDialog::getColor(initial, ParentWidget(parent));
  if (!c.isValid()) return IDCANCEL;
  colorref = static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
             (static_cast<std::uint32_t>(c.blue()) << 16);
  return IDOK;
}

int ChooseFont(Window* parent, draw::LogFont& font) {
  if (ScriptedUi()) {
    CommonAnswer a;
    Scripted(CommonAnswer::Kind::Font, a);
    if (a.result != IDOK) return IDCANCEL;
    font.height = a.fontHeight;
    font.weight = a.fontWeight;
    font.SetFaceName(a.fontFace);
    return IDOK;
  }
  QFont initial(Q(font.FaceName()));
  if (font.height != 0) initial.setPixelSize(std::abs(font.height));
  initial.setBold(font.weight >= 600);
  initial.setItalic(font.italic != 0);
  bool ok = false;
  QFont f = QFontDialog::getFont(&ok, initial, ParentWidget(parent));
  if (!ok) return IDCANCEL;
  font.height = -(f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize());
  font.weight = f.bold() ? 700 : 400;
  font.italic = f.italic() ? 1 : 0;
  font.underline = f.underline() ? 1 : 0;
  font.strikeOut = f.strikeOut() ? 1 : 0;
  font.SetFaceName(U(f.family()));
  return IDOK;
}

bool SetClipboardText(std::string_view text) {
  EnsureToolkit();
  QClipboard* cb = QGuiApplication::clipboard();
  if (!cb) return false;
  cb->setText(Q(text));
  return true;
}

std::string GetClipboardText() {
  EnsureToolkit();
  QClipboard* cb = QGuiApplication::clipboard();
  return cb ? U(cb->text()) : std::string{};
}

}  // namespace ui
