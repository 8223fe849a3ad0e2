// Controls built from dialog templates, and the Control handle that addresses them by id.
#include <QAbstractButton>
#include <QPointer>
#include <QApplication>
#include <QFocusEvent>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

#include <cstdint>
#include <unordered_map>

#include <algorithm>
#include <charconv>

#include <QPainter>

#include "platform/draw/dc.h"
#include "platform/draw/dc_qt.h"

#include "platform/res/ui_resource.h"
#include "platform/ui/dialog.h"
#include "platform/ui/flow_layout.h"
#include "platform/ui/qt_internal.h"

namespace ui {
namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kHandleRole = Qt::UserRole + 1;

// Suppresses the notifications that the system sends only for the user's own changes.
class Quiet {
 public:
  explicit Quiet(QWidget* w) : w_(w) {
    if (w_) w_->setProperty("qlmQuiet", true);
  }
  ~Quiet() {
    if (w_) w_->setProperty("qlmQuiet", false);
  }

 private:
  QWidget* w_;
};

bool IsQuiet(QWidget* w) { return w->property("qlmQuiet").toBool(); }

// A control's widget may outlive its window (widgets are deleted later): a window destroyed,
// or whose object is gone, hears nothing from it.
bool HostListens(const Window* host) { return IsLiveWindow(host) && host->IsWindow(); }

void SendCommand(Window* host, int id, std::uint16_t code) {
  if (!HostListens(host)) return;
  host->SendMessage(WM_COMMAND, MakeLong(static_cast<std::uint16_t>(id), code), 0);
}

void SendNotify(Window* host, int id, int code) {
  if (!HostListens(host)) return;
  NotifyHeader h{id, code};
  host->SendMessage(WM_NOTIFY, static_cast<std::uintptr_t>(id), reinterpret_cast<std::intptr_t>(&h));
}

// A combo box that tells when its list opens and closes.
class ComboBox : public QComboBox {
 public:
  ComboBox(Window* host, int id, QWidget* parent) : QComboBox(parent), host_(host), id_(id) {}
  void showPopup() override {
    SendCommand(host_, id_, CBN_DROPDOWN);
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    SendCommand(host_, id_, CBN_CLOSEUP);
  }

 private:
  Window* host_;
  int id_;
};

// A static text that keeps the width of its template's characters but grows with its text, so a
// text set later (a time, a value) is never cut by the width the template asked for.
class Label : public QLabel {
 public:
  using QLabel::QLabel;
  void SetLeastWidth(int px) {
    least_ = px;
    updateGeometry();
  }
  QSize minimumSizeHint() const override {
    QSize s = QLabel::minimumSizeHint();
    s.setWidth(std::max(s.width(), least_));
    return s;
  }
  QSize sizeHint() const override {
    QSize s = QLabel::sizeHint();
    s.setWidth(std::max(s.width(), least_));
    return s;
  }

 private:
  int least_ = 0;
};

// Static texts show '&' as the mnemonic mark: "&&" is one ampersand, a single one is dropped.
QString StaticText(std::string_view text) {
  QString out;
  QString in = Q(text);
  for (int i = 0; i < in.size(); ++i) {
    if (in[i] == '&') {
      if (i + 1 < in.size() && in[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += in[i];
  }
  return out;
}

// Tells the owner when an edit loses the keyboard focus (EN_KILLFOCUS).
class FocusOutFilter : public QObject {
 public:
  FocusOutFilter(QObject* parent, Window* host, int id) : QObject(parent), host_(host), id_(id) {}
  bool eventFilter(QObject* obj, QEvent* e) override {
    if (e->type() != QEvent::FocusOut) return false;
    // Only a move of the focus to another control of the same window: not a message box or
    // another window taking it, nor the window going away.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    auto* edit = static_cast<QWidget*>(obj);
    QWidget* next = QApplication::focusWidget();
    if (next == nullptr || next == edit || next->window() != edit->window() || !edit->isVisible()) return false;
    SendCommand(host_, id_, EN_KILLFOCUS);
    return false;
  }

 private:
  Window* host_;
  int id_;
};

// Width a push button needs to show its text: the text and the style's frame around it.
int TextNeed(QWidget* w) {
  auto* b = qobject_cast<QAbstractButton*>(w);
  if (!b || b->text().isEmpty()) return 0;
  QString text = b->text();
  text.replace(QLatin1String("&&"), QLatin1String("\x01"));
  text.remove(QLatin1Char('&'));
  const int frame = b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
  return b->fontMetrics().horizontalAdvance(text) + 2 * frame + 6;
}

// Controls are looked up by id many times a second (layouts, updates of bars), and a scan of a
// window's descendants reads two properties per widget: the id found is remembered per window.
// A remembered control is trusted while it lives and still belongs to that window; an id not
// found is remembered until the next control is created or moved.
struct ControlIndex {
  QPointer<QWidget> top;
  std::unordered_map<int, QPointer<QWidget>> found;
  std::unordered_map<int, std::uint64_t> missing;  // id -> generation of the scan
};
std::unordered_map<const Window*, ControlIndex> g_controlIndex;
std::uint64_t g_controlGeneration = 1;

struct Builder {
  Window* host;
  QWidget* top;
  QButtonGroup* radioGroup = nullptr;

  void Tag(QWidget* w, int id, ControlKind kind) {
    w->setProperty("qlmCtrlId", id);
    ++g_controlGeneration;
    w->setProperty("qlmKind", static_cast<int>(kind));
  }

  void ApplyCommon(QWidget* w, const res::DialogNode& n) {
    if (n.HasStyle("disabled")) w->setEnabled(false);
    if (n.HasStyle("hidden")) w->setVisible(false);
    QFontMetrics fm(w->font());
    // Widths in characters are of the Latin average character: a control never gets narrower
    // than its own text needs, whatever the language's texts are.
    const int ownWidth = w->minimumSizeHint().width();
    std::string chars = n.StyleValue("chars");
    if (!chars.empty()) {
      const int least = fm.averageCharWidth() * std::atoi(chars.c_str()) + 8;
      if (auto* label = dynamic_cast<Label*>(w)) label->SetLeastWidth(least);
      else w->setMinimumWidth(std::max(least, ownWidth));
    }
    std::string maxChars = n.StyleValue("maxchars");
    if (!maxChars.empty())
      w->setMaximumWidth(std::max(fm.averageCharWidth() * std::atoi(maxChars.c_str()) + 12, TextNeed(w)));
    std::string lines = n.StyleValue("lines");
    if (!lines.empty()) w->setMinimumHeight(fm.lineSpacing() * std::atoi(lines.c_str()) + 8);
    // A report list at most this many rows high, with its titles and sideways scroll bar.
    std::string maxLines = n.StyleValue("maxlines");
    if (!maxLines.empty()) {
      const int rows = std::atoi(maxLines.c_str()) + 1;
      w->setMaximumHeight((fm.lineSpacing() + 6) * rows + w->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
    }
  }

  void Range(const res::DialogNode& n, int& lo, int& hi) {
    std::string r = n.StyleValue("range");
    auto colon = r.find(':');
    if (colon == std::string::npos) return;
    lo = std::atoi(r.substr(0, colon).c_str());
    hi = std::atoi(r.substr(colon + 1).c_str());
  }

  QWidget* MakeControl(const res::DialogNode& n, QWidget* parent) {
    const std::string& k = n.kind;
    int id = n.id;
    QWidget* w = nullptr;
    if (k == "button") {
      auto* b = new QPushButton(Q(n.text), parent);
      b->setAutoDefault(false);
      if (n.HasStyle("default")) b->setDefault(true);
      QObject::connect(b, &QPushButton::clicked, b, [h = host, id] { SendCommand(h, id, BN_CLICKED); });
      Tag(b, id, ControlKind::Button);
      w = b;
    } else if (k == "check" && n.HasStyle("pushlike")) {
      auto* b = new QPushButton(Q(n.text), parent);
      b->setAutoDefault(false);
      b->setCheckable(true);
      QObject::connect(b, &QPushButton::clicked, b, [h = host, id] { SendCommand(h, id, BN_CLICKED); });
      Tag(b, id, ControlKind::LatchButton);
      w = b;
    } else if (k == "check") {
      auto* b = new QCheckBox(Q(n.text), parent);
      QObject::connect(b, &QCheckBox::clicked, b, [h = host, id] { SendCommand(h, id, BN_CLICKED); });
      Tag(b, id, ControlKind::Check);
      w = b;
    } else if (k == "radio") {
      auto* b = new QRadioButton(Q(n.text), parent);
      if (!radioGroup || n.HasStyle("newgroup")) {
        radioGroup = new QButtonGroup(top);
        radioGroup->setExclusive(true);
      }
      radioGroup->addButton(b);
      QObject::connect(b, &QRadioButton::clicked, b, [h = host, id] { SendCommand(h, id, BN_CLICKED); });
      Tag(b, id, ControlKind::Radio);
      w = b;
    } else if (k == "edit") {
      if (n.HasStyle("multiline")) {
        auto* e = new QPlainTextEdit(parent);
        e->setReadOnly(n.HasStyle("readonly"));
        QObject::connect(e, &QPlainTextEdit::textChanged, e, [h = host, id] { SendCommand(h, id, EN_CHANGE); });
        w = e;
      } else {
        auto* e = new QLineEdit(Q(n.text), parent);
        e->setReadOnly(n.HasStyle("readonly"));
        if (n.HasStyle("password")) e->setEchoMode(QLineEdit::Password);
        if (n.HasStyle("number")) e->setValidator(new QIntValidator(0, 2147483647, e));
        QObject::connect(e, &QLineEdit::textChanged, e, [h = host, id] { SendCommand(h, id, EN_CHANGE); });
        e->installEventFilter(new FocusOutFilter(e, host, id));
        w = e;
      }
      Tag(w, id, ControlKind::Edit);
    } else if (k == "static") {
      auto* l = new Label(StaticText(n.text), parent);
      l->setProperty("qlmText", Q(n.text));
      Tag(l, id, ControlKind::Static);
      w = l;
    } else if (k == "list") {
      auto* t = new QTreeWidget(parent);
      t->setRootIsDecorated(false);
      t->setColumnCount(0);
      t->setHeaderLabels({});
      t->setSelectionMode(QAbstractItemView::SingleSelection);
      t->setSelectionBehavior(QAbstractItemView::SelectRows);
      if (n.HasStyle("noheader")) t->setHeaderHidden(true);
      QObject::connect(t, &QTreeWidget::itemSelectionChanged, t, [h = host, id, t] {
        if (!IsQuiet(t)) SendNotify(h, id, LVN_ITEMCHANGED);
      });
      QObject::connect(t, &QTreeWidget::itemClicked, t, [h = host, id] { SendNotify(h, id, NM_CLICK); });
      QObject::connect(t, &QTreeWidget::itemDoubleClicked, t, [h = host, id] { SendNotify(h, id, NM_DBLCLK); });
      QObject::connect(t->header(), &QHeaderView::sectionClicked, t, [h = host, id, t](int section) {
        t->setProperty("qlmClickedColumn", section);
        SendNotify(h, id, LVN_COLUMNCLICK);
      });
      QObject::connect(t->horizontalScrollBar(), &QScrollBar::valueChanged, t, [h = host, id, t] {
        if (!IsQuiet(t)) SendNotify(h, id, LVN_ENDSCROLL);
      });
      QObject::connect(t->header(), &QHeaderView::sectionResized, t, [h = host, id, t] {
        if (!IsQuiet(t)) SendNotify(h, id, HDN_ITEMCHANGED);
      });
      Tag(t, id, ControlKind::ReportList);
      w = t;
    } else if (k == "listbox") {
      auto* l = new QListWidget(parent);
      if (n.HasStyle("sort")) l->setSortingEnabled(true);
      QObject::connect(l, &QListWidget::itemSelectionChanged, l, [h = host, id, l] {
        if (!IsQuiet(l)) SendCommand(h, id, LBN_SELCHANGE);
      });
      QObject::connect(l, &QListWidget::itemDoubleClicked, l, [h = host, id] { SendCommand(h, id, LBN_DBLCLK); });
      Tag(l, id, ControlKind::ListBox);
      w = l;
    } else if (k == "combo") {
      auto* c = new ComboBox(host, id, parent);
      c->setEditable(n.HasStyle("dropdown"));
      // A list of choices is as wide as its widest entry, also for entries added later; a
      // typed entry (paths, names) keeps the width the template gives.
      if (!c->isEditable()) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        // Very long entries (paths) are cut rather than widening the window past the screen.
        c->setMaximumWidth(std::max(c->fontMetrics().averageCharWidth() * 64, 480));
      }
      if (n.HasStyle("sort")) c->setInsertPolicy(QComboBox::InsertAlphabetically);
      QObject::connect(c, &QComboBox::activated, c, [h = host, id] { SendCommand(h, id, CBN_SELCHANGE); });
      if (c->isEditable())
        QObject::connect(c, &QComboBox::editTextChanged, c, [h = host, id, c] {
          if (!IsQuiet(c)) SendCommand(h, id, CBN_EDITCHANGE);
        });
      Tag(c, id, ControlKind::Combo);
      w = c;
    } else if (k == "slider") {
      auto* s = new QSlider(n.HasStyle("vertical") ? Qt::Vertical : Qt::Horizontal, parent);
      int lo = 0, hi = 100;
      Range(n, lo, hi);
      s->setRange(lo, hi);
      QObject::connect(s, &QSlider::valueChanged, s, [h = host, id, s] {
        if (!IsQuiet(s)) SendNotify(h, id, s->isSliderDown() ? TB_THUMBTRACK : TB_ENDTRACK);
      });
      QObject::connect(s, &QSlider::sliderReleased, s, [h = host, id] { SendNotify(h, id, TB_ENDTRACK); });
      Tag(s, id, ControlKind::Slider);
      w = s;
    } else if (k == "spin") {
      auto* s = new QSpinBox(parent);
      int lo = 0, hi = 100;
      Range(n, lo, hi);
      s->setRange(std::min(lo, hi), std::max(lo, hi));
      QObject::connect(s, &QSpinBox::valueChanged, s, [h = host, id, s] {
        if (!IsQuiet(s)) SendNotify(h, id, UDN_DELTAPOS);
      });
      Tag(s, id, ControlKind::Spin);
      w = s;
    } else if (k == "tree") {
      auto* t = new QTreeWidget(parent);
      t->setHeaderHidden(true);
      t->setColumnCount(1);
      QObject::connect(t, &QTreeWidget::currentItemChanged, t, [h = host, id, t] {
        if (!IsQuiet(t)) SendNotify(h, id, TVN_SELCHANGED);
      });
      Tag(t, id, ControlKind::Tree);
      w = t;
    } else if (k == "datetime") {
      auto* d = new QDateTimeEdit(parent);
      d->setDisplayFormat(n.HasStyle("time") ? "HH:mm:ss" : n.HasStyle("date") ? "yyyy/MM/dd" : "yyyy/MM/dd HH:mm:ss");
      QObject::connect(d, &QDateTimeEdit::dateTimeChanged, d, [h = host, id, d] {
        if (!IsQuiet(d)) SendNotify(h, id, DTN_DATETIMECHANGE);
      });
      Tag(d, id, ControlKind::DateTime);
      w = d;
    } else if (k == "richedit") {
      auto* e = new QTextEdit(parent);
      e->setAcceptRichText(false);
      e->setReadOnly(n.HasStyle("readonly"));
      QObject::connect(e, &QTextEdit::textChanged, e, [h = host, id] { SendCommand(h, id, EN_CHANGE); });
      Tag(e, id, ControlKind::RichEdit);
      w = e;
    } else if (k == "progress") {
      auto* p = new QProgressBar(parent);
      int lo = 0, hi = 100;
      Range(n, lo, hi);
      p->setRange(lo, hi);
      p->setValue(lo);
      p->setProperty("qlmStep", 10);
      Tag(p, id, ControlKind::Progress);
      w = p;
    }
    if (w) ApplyCommon(w, n);
    return w;
  }

  static void AddSub(QLayout* layout, QLayout* sub) {
    if (auto* box = qobject_cast<QBoxLayout*>(layout)) box->addLayout(sub);
    else static_cast<FlowLayout*>(layout)->AddLayout(sub);
  }

  void Build(QWidget* parent, QLayout* layout, const std::vector<res::DialogNode>& nodes) {
    for (const auto& n : nodes) {
      const std::string& k = n.kind;
      if (k == "stretch") {
        // A wrapping row has no spare room to give away.
        if (auto* box = qobject_cast<QBoxLayout*>(layout)) box->addStretch(1);
      } else if (k == "row" && n.HasStyle("wrap")) {
        auto* flow = new FlowLayout(nullptr, 6, 2);
        AddSub(layout, flow);
        Build(parent, flow, n.children);
      } else if (k == "row" || k == "buttons") {
        auto* row = new QHBoxLayout;
        if (k == "buttons") row->addStretch(1);
        AddSub(layout, row);
        Build(parent, row, n.children);
      } else if (k == "grid") {
        // Rows of cells: the controls of each row take the next columns of one grid, so that
        // the columns line up from row to row.
        auto* grid = new QGridLayout;
        AddSub(layout, grid);
        int r = 0;
        for (const auto& row : n.children) {
          int c = 0;
          for (const auto& cell : row.children) {
            if (cell.kind != "stretch") {
              if (QWidget* w = MakeControl(cell, parent)) grid->addWidget(w, r, c);
            }
            ++c;
          }
          ++r;
        }
      } else if (k == "column") {
        auto* col = new QVBoxLayout;
        AddSub(layout, col);
        Build(parent, col, n.children);
      } else if (k == "group") {
        auto* g = new QGroupBox(Q(n.text), parent);
        Tag(g, n.id, ControlKind::Group);
        ApplyCommon(g, n);
        auto* inner = new QVBoxLayout(g);
        layout->addWidget(g);
        Build(g, inner, n.children);
      } else if (k == "tabs") {
        bool hasPages = !n.children.empty();
        if (hasPages) {
          auto* tabs = new QTabWidget(parent);
          Tag(tabs, n.id, ControlKind::Tab);
          int id = n.id;
          Window* h = host;
          QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [h, id, tabs] {
            if (!IsQuiet(tabs)) SendNotify(h, id, TCN_SELCHANGE);
          });
          for (const auto& page : n.children) {
            auto* pw = new QWidget(tabs);
            auto* pl = new QVBoxLayout(pw);
            Build(pw, pl, page.children);
            pl->addStretch(1);
            tabs->addTab(pw, Q(page.text));
          }
          ApplyCommon(tabs, n);
          layout->addWidget(tabs);
        } else {
          auto* bar = new QTabBar(parent);
          Tag(bar, n.id, ControlKind::Tab);
          int id = n.id;
          Window* h = host;
          QObject::connect(bar, &QTabBar::currentChanged, bar, [h, id, bar] {
            if (!IsQuiet(bar)) SendNotify(h, id, TCN_SELCHANGE);
          });
          ApplyCommon(bar, n);
          layout->addWidget(bar);
        }
      } else if (QWidget* w = MakeControl(n, parent)) {
        layout->addWidget(w);
      }
    }
  }
};

QWidget* Find(const Window* owner, int id) {
  QWidget* top = WidgetOf(owner);
  if (!top || id == IDC_STATIC) return nullptr;
  if (g_controlIndex.size() > 512)  // forget windows that are gone
    std::erase_if(g_controlIndex, [](const auto& entry) { return entry.second.top.isNull(); });
  ControlIndex& index = g_controlIndex[owner];
  if (index.top != top) {  // a new window at a freed address
    index.top = top;
    index.found.clear();
    index.missing.clear();
  }
  if (auto it = index.found.find(id); it != index.found.end()) {
    if (QWidget* w = it->second.data(); w != nullptr && WindowOfWidget(w) == owner) return w;
    index.found.erase(it);
  }
  if (auto it = index.missing.find(id); it != index.missing.end() && it->second == g_controlGeneration)
    return nullptr;
  for (QWidget* w : top->findChildren<QWidget*>()) {
    QVariant v = w->property("qlmCtrlId");
    if (v.isValid() && v.toInt() == id && WindowOfWidget(w) == owner) {
      index.missing.erase(id);
      index.found[id] = w;
      return w;
    }
  }
  index.missing[id] = g_controlGeneration;
  return nullptr;
}

QTreeWidgetItem* TreeItem(QTreeWidget* t, int handle) {
  for (QTreeWidgetItemIterator it(t); *it; ++it)
    if ((*it)->data(0, kHandleRole).toInt() == handle) return *it;
  return nullptr;
}

bool IsReport(QWidget* w) {
  return w && static_cast<ControlKind>(w->property("qlmKind").toInt()) == ControlKind::ReportList;
}

}  // namespace

bool BuildControls(Window& host, const res::DialogTemplate& tmpl) {
  QWidget* top = WidgetOf(&host);
  if (!top) return false;
  Builder b{&host, top};
  auto* layout = new QVBoxLayout(top);
  b.Build(top, layout, tmpl.nodes);
  return true;
}

bool CreateControl(Window& owner, ControlKind kind, int id, std::string_view text, const Rect& rect, bool visible) {
  QWidget* top = WidgetOf(&owner);
  if (!top) return false;
  res::DialogNode node;
  node.id = id;
  node.text = std::string(text);
  switch (kind) {
    case ControlKind::Button: node.kind = "button"; break;
    case ControlKind::Edit: node.kind = "edit"; break;
    case ControlKind::Static: node.kind = "static"; break;
    case ControlKind::ReportList: node.kind = "list"; break;
    case ControlKind::Combo: node.kind = "combo"; break;
    case ControlKind::Radio: node.kind = "radio"; break;
    default: return false;
  }
  Builder b{&owner, top};
  // A radio joins the group of the radio placed before it in the same window.
  if (kind == ControlKind::Radio) {
    const QList<QRadioButton*> radios = top->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    if (!radios.isEmpty()) b.radioGroup = radios.back()->group();
  }
  QWidget* w = b.MakeControl(node, top);
  if (!w) return false;
  if (auto* t = qobject_cast<QTreeWidget*>(w)) t->setUniformRowHeights(true);
  if (!rect.IsEmpty()) w->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
  w->setVisible(visible);
  return true;
}

// Puts `child` into the layout of the host's control `id` (a group box); false without one.
bool EmbedInControlOf(Window& host, int id, QWidget* child) {
  QWidget* holder = Find(&host, id);
  if (holder == nullptr || holder->layout() == nullptr || child == nullptr) return false;
  child->setParent(holder);
  ++g_controlGeneration;
  holder->layout()->addWidget(child);
  return true;
}

bool ClickControlOf(Window& host, int id) {
  auto* b = qobject_cast<QAbstractButton*>(Find(&host, id));
  if (!b || !b->isEnabled()) return false;
  b->click();
  return true;
}

std::vector<int> ControlHost::ControlIds() const {
  std::vector<int> ids;
  QWidget* top = WidgetOf(HostWindow());
  if (!top) return ids;
  for (QWidget* w : top->findChildren<QWidget*>()) {
    QVariant v = w->property("qlmCtrlId");
    if (v.isValid() && v.toInt() != IDC_STATIC && WindowOfWidget(w) == HostWindow()) ids.push_back(v.toInt());
  }
  return ids;
}

long long ControlHost::GetDlgItemInt(int id, bool* ok) const {
  std::string s = GetDlgItemText(id);
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  long long v = 0;
  const char* first = s.data() + i;
  if (i < s.size() && s[i] == '+') ++first;
  auto [p, ec] = std::from_chars(first, s.data() + s.size(), v);
  bool good = ec == std::errc{} && p != first;
  if (ok) *ok = good;
  return good ? v : 0;
}

void ControlHost::CheckRadioButton(int first, int last, int check) {
  for (int id = first; id <= last; ++id)
    if (HasControl(id)) Item(id).SetCheck(id == check ? 1 : 0);
}

int ControlHost::GetCheckedRadioButton(int first, int last) const {
  for (int id = first; id <= last; ++id)
    if (HasControl(id) && Item(id).GetCheck()) return id;
  return 0;
}

// --- Control ---------------------------------------------------------------------------

bool Control::Exists() const { return Find(owner_, id_) != nullptr; }

ControlKind Control::Kind() const {
  QWidget* w = Find(owner_, id_);
  return w ? static_cast<ControlKind>(w->property("qlmKind").toInt()) : ControlKind::None;
}

void Control::SetText(std::string_view text) {
  QWidget* w = Find(owner_, id_);
  if (!w) return;
  if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setProperty("qlmText", Q(text));
    l->setText(StaticText(text));
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(Q(text));
  } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setText(Q(text));
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
    p->setPlainText(Q(text));
  } else if (auto* r = qobject_cast<QTextEdit*>(w)) {
    r->setPlainText(Q(text));
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    Quiet q(c);
    if (c->isEditable()) c->setEditText(Q(text));
    else c->setCurrentIndex(c->findText(Q(text)));
  } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
    g->setTitle(Q(text));
  } else if (auto* s = qobject_cast<QSpinBox*>(w)) {
    Quiet q(s);
    s->setValue(std::atoi(std::string(text).c_str()));
  }
}

std::string Control::GetText() const {
  QWidget* w = Find(owner_, id_);
  if (!w) return {};
  if (auto* l = qobject_cast<QLabel*>(w)) return U(l->property("qlmText").toString());
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return U(b->text());
  if (auto* e = qobject_cast<QLineEdit*>(w)) return U(e->text());
  if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return U(p->toPlainText());
  if (auto* r = qobject_cast<QTextEdit*>(w)) return U(r->toPlainText());
  if (auto* c = qobject_cast<QComboBox*>(w)) return U(c->currentText());
  if (auto* g = qobject_cast<QGroupBox*>(w)) return U(g->title());
  if (auto* s = qobject_cast<QSpinBox*>(w)) return std::to_string(s->value());
  if (auto* d = qobject_cast<QDateTimeEdit*>(w)) return U(d->text());
  return {};
}

void Control::Enable(bool enable) {
  if (QWidget* w = Find(owner_, id_)) w->setEnabled(enable);
}
bool Control::IsEnabled() const {
  QWidget* w = Find(owner_, id_);
  return w && w->isEnabled();
}
void Control::Show(bool show) {
  if (QWidget* w = Find(owner_, id_)) w->setVisible(show);
}
bool Control::IsVisible() const {
  QWidget* w = Find(owner_, id_);
  return w && !w->isHidden();
}
void Control::SetFocus() {
  if (QWidget* w = Find(owner_, id_)) w->setFocus(Qt::OtherFocusReason);
}

Rect Control::GetClientRect() const {
  QWidget* w = Find(owner_, id_);
  return w ? Rect{0, 0, w->width(), w->height()} : Rect{};
}

Rect Control::GetRectInOwner() const {
  QWidget* w = Find(owner_, id_);
  QWidget* top = WidgetOf(owner_);
  if (!w || !top) return {};
  QPoint p = w->mapTo(top, QPoint(0, 0));
  return {p.x(), p.y(), p.x() + w->width(), p.y() + w->height()};
}

namespace {
// Paints a control, then the program's drawing over it.
class OverlayFilter : public QObject {
 public:
  explicit OverlayFilter(QObject* parent) : QObject(parent) {}
  std::function<void(draw::Dc&, const Rect&)> painter;
  bool eventFilter(QObject* obj, QEvent* e) override {
    if (e->type() != QEvent::Paint || !painter || busy_) return false;
    auto* w = static_cast<QWidget*>(obj);
    busy_ = true;
    static_cast<QObject*>(w)->event(e);  // the control's own drawing first
    busy_ = false;
    QPainter p(w);
    std::unique_ptr<draw::Dc> dc = draw::MakeDcForPainter(&p);
    auto paint = painter;
    paint(*dc, Rect{0, 0, w->width(), w->height()});
    return true;
  }

 private:
  bool busy_ = false;
};
}  // namespace

void Control::SetOverlayPainter(std::function<void(draw::Dc&, const Rect&)> painter) {
  QWidget* w = Find(owner_, id_);
  if (!w) return;
  // Filters carry no meta-object of their own: they are found by name.
  auto* filter = static_cast<OverlayFilter*>(w->findChild<QObject*>("qlmOverlay", Qt::FindDirectChildrenOnly));
  if (!filter) {
    filter = new OverlayFilter(w);
    filter->setObjectName("qlmOverlay");
    w->installEventFilter(filter);
  }
  filter->painter = std::move(painter);
  w->update();
}

namespace {
// Clicks on statics and the pointer entering and leaving a control.
class MouseFilter : public QObject {
 public:
  MouseFilter(QObject* parent, Window* host, int id) : QObject(parent), host_(host), id_(id) {}
  bool clickNotify = false;
  std::function<void(bool)> hover;
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonRelease:
        if (clickNotify && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) SendCommand(host_, id_, BN_CLICKED);
        break;
      case QEvent::Enter:
        if (hover) hover(true);
        break;
      case QEvent::Leave:
        if (hover) hover(false);
        break;
      default:
        break;
    }
    return false;
  }

 private:
  Window* host_;
  int id_;
};

MouseFilter* MouseFilterOf(const Window* owner, int id) {
  QWidget* w = Find(owner, id);
  if (!w) return nullptr;
  auto* filter = static_cast<MouseFilter*>(w->findChild<QObject*>("qlmMouse", Qt::FindDirectChildrenOnly));
  if (!filter) {
    filter = new MouseFilter(w, const_cast<Window*>(owner), id);
    filter->setObjectName("qlmMouse");
    w->installEventFilter(filter);
  }
  return filter;
}
}  // namespace

void Control::SetCursorShape(Window::Cursor cursor) {
  static const Qt::CursorShape kShapes[] = {Qt::ArrowCursor,   Qt::CrossCursor,   Qt::IBeamCursor,
                                            Qt::WaitCursor,    Qt::SizeHorCursor, Qt::SizeVerCursor,
                                            Qt::SizeAllCursor, Qt::PointingHandCursor, Qt::ForbiddenCursor};
  if (QWidget* w = Find(owner_, id_)) w->setCursor(kShapes[static_cast<int>(cursor)]);
}

void Control::SetClickNotify(bool on) {
  if (MouseFilter* f = MouseFilterOf(owner_, id_)) f->clickNotify = on;
}

void Control::SetHoverHandler(std::function<void(bool entered)> handler) {
  if (MouseFilter* f = MouseFilterOf(owner_, id_)) f->hover = std::move(handler);
}

void Control::SetToolTip(std::string_view text) {
  if (QWidget* w = Find(owner_, id_)) w->setToolTip(Q(text));
}

bool Control::IsDefaultButton() const {
  auto* b = qobject_cast<QPushButton*>(Find(owner_, id_));
  return b != nullptr && b->isDefault();
}

bool Control::IsPressed() const {
  auto* b = qobject_cast<QAbstractButton*>(Find(owner_, id_));
  return b != nullptr && b->isDown();
}

bool Control::HasFocus() const {
  QWidget* w = Find(owner_, id_);
  return w != nullptr && w->hasFocus();
}

void Control::Invalidate() {
  if (QWidget* w = Find(owner_, id_)) w->update();
}

void Control::SetCheck(int check) {
  auto* b = qobject_cast<QAbstractButton*>(Find(owner_, id_));
  if (!b) return;
  if (auto* r = qobject_cast<QRadioButton*>(b); r && check == 0 && r->group()) {
    // An exclusive group refuses to clear its checked button; clear it the way the system can.
    QButtonGroup* g = r->group();
    g->setExclusive(false);
    r->setChecked(false);
    g->setExclusive(true);
    return;
  }
  b->setCheckable(true);
  b->setChecked(check != 0);
}

int Control::GetCheck() const {
  auto* b = qobject_cast<QAbstractButton*>(Find(owner_, id_));
  return b && b->isChecked() ? 1 : 0;
}

void Control::Move(const Rect& r) {
  if (QWidget* w = Find(owner_, id_)) w->setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
}

void Control::SelectAll() {
  if (auto* e = qobject_cast<QLineEdit*>(Find(owner_, id_))) {
    e->selectAll();
    e->end(true);
    e->home(true);
    e->selectAll();
  }
}

void Control::SetReadOnly(bool readOnly) {
  QWidget* w = Find(owner_, id_);
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setReadOnly(readOnly);
  else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setReadOnly(readOnly);
  else if (auto* r = qobject_cast<QTextEdit*>(w)) r->setReadOnly(readOnly);
}

void Control::ReplaceSel(std::string_view text) {
  QWidget* w = Find(owner_, id_);
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->insert(Q(text));
  else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->insertPlainText(Q(text));
  else if (auto* r = qobject_cast<QTextEdit*>(w)) {
    r->moveCursor(QTextCursor::End);
    r->insertPlainText(Q(text));
  }
}

void Control::SetLimitText(int chars) {
  if (auto* e = qobject_cast<QLineEdit*>(Find(owner_, id_))) e->setMaxLength(chars > 0 ? chars : 32767);
}

void Control::SetSel(int start, int end) {
  if (auto* e = qobject_cast<QLineEdit*>(Find(owner_, id_))) {
    const int length = static_cast<int>(e->text().size());
    const int from = std::clamp(start, 0, length);
    const int to = end < 0 ? length : std::clamp(end, from, length);
    e->setSelection(from, to - from);
  }
}

void Control::ResetContent() {
  QWidget* w = Find(owner_, id_);
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    Quiet q(c);
    c->clear();
  } else if (auto* l = qobject_cast<QListWidget*>(w)) {
    Quiet q(l);
    l->clear();
  } else if (IsReport(w)) {
    static_cast<QTreeWidget*>(w)->clear();
  } else if (auto* t = qobject_cast<QTabBar*>(w)) {
    Quiet q(t);
    while (t->count() > 0) t->removeTab(0);
  }
}

int Control::AddString(std::string_view text) { return InsertString(-1, text); }

int Control::InsertString(int index, std::string_view text) {
  QWidget* w = Find(owner_, id_);
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    Quiet q(c);
    if (index < 0 || index > c->count()) index = c->count();
    c->insertItem(index, Q(text));
    return index;
  }
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    Quiet q(l);
    if (index < 0 || index > l->count()) index = l->count();
    l->insertItem(index, Q(text));
    return index;
  }
  if (auto* t = qobject_cast<QTabBar*>(w)) {
    Quiet q(t);
    if (index < 0 || index > t->count()) index = t->count();
    return t->insertTab(index, Q(text));
  }
  if (IsReport(w)) return InsertItem(index, text);
  return -1;
}

bool Control::DeleteString(int index) {
  QWidget* w = Find(owner_, id_);
  if (index < 0 || index >= GetCount()) return false;
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    Quiet q(c);
    c->removeItem(index);
  } else if (auto* l = qobject_cast<QListWidget*>(w)) {
    Quiet q(l);
    delete l->takeItem(index);
  } else if (auto* t = qobject_cast<QTabBar*>(w)) {
    Quiet q(t);
    t->removeTab(index);
  } else if (IsReport(w)) {
    delete static_cast<QTreeWidget*>(w)->takeTopLevelItem(index);
  } else {
    return false;
  }
  return true;
}

int Control::GetCount() const {
  QWidget* w = Find(owner_, id_);
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->count();
  if (auto* l = qobject_cast<QListWidget*>(w)) return l->count();
  if (auto* t = qobject_cast<QTabBar*>(w)) return t->count();
  if (auto* t = qobject_cast<QTabWidget*>(w)) return t->count();
  if (IsReport(w)) return static_cast<QTreeWidget*>(w)->topLevelItemCount();
  return 0;
}

int Control::GetCurSel() const {
  QWidget* w = Find(owner_, id_);
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentIndex();
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    auto sel = l->selectedItems();
    return sel.isEmpty() ? -1 : l->row(sel.front());
  }
  if (auto* t = qobject_cast<QTabBar*>(w)) return t->currentIndex();
  if (auto* t = qobject_cast<QTabWidget*>(w)) return t->currentIndex();
  if (IsReport(w)) {
    auto sel = GetSelectedIndexes();
    return sel.empty() ? -1 : sel.front();
  }
  return -1;
}

void Control::SetCurSel(int index) {
  QWidget* w = Find(owner_, id_);
  if (index >= GetCount()) index = -1;
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    Quiet q(c);
    c->setCurrentIndex(index);
  } else if (auto* l = qobject_cast<QListWidget*>(w)) {
    Quiet q(l);
    l->clearSelection();
    if (index >= 0) {
      l->item(index)->setSelected(true);
      l->setCurrentRow(index);
    }
  } else if (auto* t = qobject_cast<QTabBar*>(w)) {
    Quiet q(t);
    if (index >= 0) t->setCurrentIndex(index);
  } else if (auto* t = qobject_cast<QTabWidget*>(w)) {
    Quiet q(t);
    if (index >= 0) t->setCurrentIndex(index);
  } else if (IsReport(w)) {
    auto* t = static_cast<QTreeWidget*>(w);
    t->clearSelection();
    if (index >= 0) t->topLevelItem(index)->setSelected(true);
  }
}

std::string Control::GetString(int index) const {
  QWidget* w = Find(owner_, id_);
  if (index < 0 || index >= GetCount()) return {};
  if (auto* c = qobject_cast<QComboBox*>(w)) return U(c->itemText(index));
  if (auto* l = qobject_cast<QListWidget*>(w)) return U(l->item(index)->text());
  if (auto* t = qobject_cast<QTabBar*>(w)) return U(t->tabText(index));
  if (auto* t = qobject_cast<QTabWidget*>(w)) return U(t->tabText(index));
  if (IsReport(w)) return GetItemText(index, 0);
  return {};
}

int Control::FindStringExact(std::string_view text) const {
  for (int i = 0; i < GetCount(); ++i)
    if (QString::compare(Q(GetString(i)), Q(text), Qt::CaseInsensitive) == 0) return i;
  return -1;
}

void Control::SetItemData(int index, std::intptr_t data) {
  QWidget* w = Find(owner_, id_);
  if (index < 0 || index >= GetCount()) return;
  QVariant v = QVariant::fromValue<qlonglong>(data);
  if (auto* c = qobject_cast<QComboBox*>(w)) c->setItemData(index, v, kDataRole);
  else if (auto* l = qobject_cast<QListWidget*>(w)) l->item(index)->setData(kDataRole, v);
  else if (IsReport(w)) static_cast<QTreeWidget*>(w)->topLevelItem(index)->setData(0, kDataRole, v);
}

std::intptr_t Control::GetItemData(int index) const {
  QWidget* w = Find(owner_, id_);
  if (index < 0 || index >= GetCount()) return 0;
  if (auto* c = qobject_cast<QComboBox*>(w)) return static_cast<std::intptr_t>(c->itemData(index, kDataRole).toLongLong());
  if (auto* l = qobject_cast<QListWidget*>(w)) return static_cast<std::intptr_t>(l->item(index)->data(kDataRole).toLongLong());
  if (IsReport(w))
    return static_cast<std::intptr_t>(static_cast<QTreeWidget*>(w)->topLevelItem(index)->data(0, kDataRole).toLongLong());
  return 0;
}

void Control::SetSelected(int index, bool selected) {
  QWidget* w = Find(owner_, id_);
  if (index < 0 || index >= GetCount()) return;
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    Quiet q(l);
    l->item(index)->setSelected(selected);
  } else if (IsReport(w)) {
    static_cast<QTreeWidget*>(w)->topLevelItem(index)->setSelected(selected);
  }
}

bool Control::IsSelected(int index) const {
  QWidget* w = Find(owner_, id_);
  if (index < 0 || index >= GetCount()) return false;
  if (auto* l = qobject_cast<QListWidget*>(w)) return l->item(index)->isSelected();
  if (IsReport(w)) return static_cast<QTreeWidget*>(w)->topLevelItem(index)->isSelected();
  return false;
}

std::vector<int> Control::GetSelectedIndexes() const {
  std::vector<int> out;
  for (int i = 0; i < GetCount(); ++i)
    if (IsSelected(i)) out.push_back(i);
  return out;
}

int Control::InsertColumn(int col, std::string_view title, int widthPx) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return -1;
  auto* t = static_cast<QTreeWidget*>(w);
  QStringList labels;
  for (int i = 0; i < t->columnCount(); ++i) labels << t->headerItem()->text(i);
  if (col < 0 || col > labels.size()) col = static_cast<int>(labels.size());
  labels.insert(col, Q(title));
  t->setColumnCount(static_cast<int>(labels.size()));
  t->setHeaderLabels(labels);
  // A column is never narrower than its title (a width of 0 hides it).
  const int titleWidth = t->header()->fontMetrics().horizontalAdvance(Q(title)) + 12;
  t->setColumnWidth(col, widthPx > 0 ? std::max(widthPx, titleWidth) : widthPx);
  return col;
}

int Control::GetColumnCount() const {
  QWidget* w = Find(owner_, id_);
  return IsReport(w) ? static_cast<QTreeWidget*>(w)->columnCount() : 0;
}

int Control::InsertItem(int row, std::string_view text) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return -1;
  auto* t = static_cast<QTreeWidget*>(w);
  if (row < 0 || row > t->topLevelItemCount()) row = t->topLevelItemCount();
  auto* item = new QTreeWidgetItem;
  item->setText(0, Q(text));
  t->insertTopLevelItem(row, item);
  return row;
}

bool Control::SetItemText(int row, int col, std::string_view text) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return false;
  auto* t = static_cast<QTreeWidget*>(w);
  if (row < 0 || row >= t->topLevelItemCount() || col < 0 || col >= std::max(t->columnCount(), 1)) return false;
  t->topLevelItem(row)->setText(col, Q(text));
  return true;
}

std::string Control::GetItemText(int row, int col) const {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return {};
  auto* t = static_cast<QTreeWidget*>(w);
  if (row < 0 || row >= t->topLevelItemCount() || col < 0) return {};
  return U(t->topLevelItem(row)->text(col));
}

int Control::ClickedColumn() const {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return -1;
  const QVariant v = w->property("qlmClickedColumn");
  return v.isValid() ? v.toInt() : -1;
}

bool Control::ClickColumn(int col) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w) || !w->isEnabled()) return false;
  auto* t = static_cast<QTreeWidget*>(w);
  if (col < 0 || col >= t->columnCount()) return false;
  emit t->header()->sectionClicked(col);
  return true;
}

int Control::GetScrollX() const {
  QWidget* w = Find(owner_, id_);
  return IsReport(w) ? static_cast<QTreeWidget*>(w)->horizontalScrollBar()->value() : 0;
}

void Control::SetScrollX(int px) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return;
  Quiet q(w);
  static_cast<QTreeWidget*>(w)->horizontalScrollBar()->setValue(px);
}

void Control::ScrollHorizontally(int px) {
  QWidget* w = Find(owner_, id_);
  if (IsReport(w)) static_cast<QTreeWidget*>(w)->horizontalScrollBar()->setValue(px);
}

int Control::GetScrollXMax() const {
  QWidget* w = Find(owner_, id_);
  return IsReport(w) ? static_cast<QTreeWidget*>(w)->horizontalScrollBar()->maximum() : 0;
}

std::string Control::GetColumnTitle(int col) const {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return {};
  auto* t = static_cast<QTreeWidget*>(w);
  return col >= 0 && col < t->columnCount() ? U(t->headerItem()->text(col)) : std::string();
}

int Control::GetColumnWidth(int col) const {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return 0;
  auto* t = static_cast<QTreeWidget*>(w);
  return col >= 0 && col < t->columnCount() ? t->columnWidth(col) : 0;
}

void Control::SetColumnWidth(int col, int widthPx) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return;
  auto* t = static_cast<QTreeWidget*>(w);
  if (col < 0 || col >= t->columnCount()) return;
  Quiet q(w);
  t->setColumnWidth(col, widthPx);
}

void Control::DeleteAllItems() {
  QWidget* w = Find(owner_, id_);
  if (IsReport(w)) static_cast<QTreeWidget*>(w)->clear();
}

void Control::SetFullRowSelect(bool on) {
  QWidget* w = Find(owner_, id_);
  if (IsReport(w))
    static_cast<QTreeWidget*>(w)->setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void Control::SetGridLines(bool on) {
  QWidget* w = Find(owner_, id_);
  if (IsReport(w)) static_cast<QTreeWidget*>(w)->setAlternatingRowColors(on);
}

void Control::SetMultiSelect(bool on) {
  QWidget* w = Find(owner_, id_);
  auto mode = on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
  if (auto* l = qobject_cast<QListWidget*>(w)) l->setSelectionMode(mode);
  else if (IsReport(w)) static_cast<QTreeWidget*>(w)->setSelectionMode(mode);
}

void Control::EnsureVisible(int row) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return;
  auto* t = static_cast<QTreeWidget*>(w);
  if (row >= 0 && row < t->topLevelItemCount()) t->scrollToItem(t->topLevelItem(row));
}

namespace {
constexpr int kSwatchRole = Qt::UserRole + 77;
// Draws the cells that carry a swatch colour as a filled box (2 pixels in at top and bottom)
// over the selection background instead of their text.
class SwatchDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
    const QVariant c = index.data(kSwatchRole);
    if (!c.isValid()) {
      QStyledItemDelegate::paint(p, opt, index);
      return;
    }
    const bool selected = (opt.state & QStyle::State_Selected) != 0;
    p->fillRect(opt.rect, opt.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    p->fillRect(opt.rect.adjusted(0, 2, 0, -2), c.value<QColor>());
  }
};
}  // namespace

void Control::SetItemSwatch(int row, int col, bool on, std::uint32_t colorref) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return;
  auto* t = static_cast<QTreeWidget*>(w);
  if (row < 0 || row >= t->topLevelItemCount() || col < 0) return;
  if (dynamic_cast<SwatchDelegate*>(t->itemDelegate()) == nullptr) t->setItemDelegate(new SwatchDelegate(t));
  const QColor c(int(colorref & 0xFF), int((colorref >> 8) & 0xFF), int((colorref >> 16) & 0xFF));
  t->topLevelItem(row)->setData(col, kSwatchRole, on ? QVariant(c) : QVariant());
}

bool Control::DeleteColumn(int col) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return false;
  auto* t = static_cast<QTreeWidget*>(w);
  const int n = t->columnCount();
  if (col < 0 || col >= n) return false;
  QStringList labels;
  for (int i = 0; i < n; ++i)
    if (i != col) labels << t->headerItem()->text(i);
  for (int r = 0; r < t->topLevelItemCount(); ++r) {
    QTreeWidgetItem* item = t->topLevelItem(r);
    for (int i = col; i + 1 < n; ++i) item->setText(i, item->text(i + 1));
  }
  t->setColumnCount(n - 1);
  t->setHeaderLabels(labels);
  return true;
}

void Control::AutoSizeColumns() {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return;
  auto* t = static_cast<QTreeWidget*>(w);
  for (int c = 0; c < t->columnCount(); ++c) t->resizeColumnToContents(c);
}

void Control::AutoSizeColumnsToRows(int rows) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w)) return;
  auto* t = static_cast<QTreeWidget*>(w);
  const QFontMetrics cellMetrics = t->fontMetrics();
  const QFontMetrics titleMetrics = t->header()->fontMetrics();
  const int count = std::min(rows, t->topLevelItemCount());
  for (int c = 0; c < t->columnCount(); ++c) {
    int width = titleMetrics.horizontalAdvance(t->headerItem()->text(c)) + 12;
    for (int r = 0; r < count; ++r)
      width = std::max(width, cellMetrics.horizontalAdvance(t->topLevelItem(r)->text(c)) + 12);
    t->setColumnWidth(c, width);
  }
}

void Control::AppendRows(const std::vector<std::string>& cells, int columns) {
  QWidget* w = Find(owner_, id_);
  if (!IsReport(w) || columns <= 0) return;
  auto* t = static_cast<QTreeWidget*>(w);
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>((cells.size() + static_cast<std::size_t>(columns) - 1) / static_cast<std::size_t>(columns)));
  for (std::size_t i = 0; i < cells.size(); i += static_cast<std::size_t>(columns)) {
    auto* item = new QTreeWidgetItem;
    for (int c = 0; c < columns && i + static_cast<std::size_t>(c) < cells.size(); ++c)
      item->setText(c, Q(cells[i + static_cast<std::size_t>(c)]));
    items.push_back(item);
  }
  t->addTopLevelItems(items);
}

void Control::SetRedraw(bool on) {
  if (QWidget* w = Find(owner_, id_)) {
    w->setUpdatesEnabled(on);
    if (on) w->update();
  }
}

void Control::SetRange(int low, int high) {
  QWidget* w = Find(owner_, id_);
  if (auto* s = qobject_cast<QSlider*>(w)) {
    Quiet q(s);
    s->setRange(low, high);
  } else if (auto* sp = qobject_cast<QSpinBox*>(w)) {
    Quiet q(sp);
    sp->setRange(std::min(low, high), std::max(low, high));
  } else if (auto* p = qobject_cast<QProgressBar*>(w)) {
    p->setRange(low, high);
  } else if (auto* d = qobject_cast<QDateTimeEdit*>(w)) {
    // Time pickers: seconds of the day.
    Quiet q(d);
    const auto time = [](int s) { return QTime(0, 0).addSecs(std::clamp(s, 0, 86399)); };
    const QDate day = d->date();
    d->setDateTimeRange(QDateTime(day, time(std::min(low, high))), QDateTime(day, time(std::max(low, high))));
  }
}

int Control::GetRangeLow() const {
  QWidget* w = Find(owner_, id_);
  if (auto* s = qobject_cast<QSlider*>(w)) return s->minimum();
  if (auto* sp = qobject_cast<QSpinBox*>(w)) return sp->minimum();
  if (auto* p = qobject_cast<QProgressBar*>(w)) return p->minimum();
  if (auto* d = qobject_cast<QDateTimeEdit*>(w)) return QTime(0, 0).secsTo(d->minimumTime());
  return 0;
}

int Control::GetRangeHigh() const {
  QWidget* w = Find(owner_, id_);
  if (auto* s = qobject_cast<QSlider*>(w)) return s->maximum();
  if (auto* sp = qobject_cast<QSpinBox*>(w)) return sp->maximum();
  if (auto* p = qobject_cast<QProgressBar*>(w)) return p->maximum();
  if (auto* d = qobject_cast<QDateTimeEdit*>(w)) return QTime(0, 0).secsTo(d->maximumTime());
  return 0;
}

void Control::SetPageSize(int size) {
  if (auto* s = qobject_cast<QSlider*>(Find(owner_, id_))) s->setPageStep(size);
}

int Control::GetPageSize() const {
  if (auto* s = qobject_cast<QSlider*>(Find(owner_, id_))) return s->pageStep();
  return 0;
}

void Control::SetPos(int pos) {
  QWidget* w = Find(owner_, id_);
  if (auto* s = qobject_cast<QSlider*>(w)) {
    Quiet q(s);
    s->setValue(pos);
  } else if (auto* sp = qobject_cast<QSpinBox*>(w)) {
    Quiet q(sp);
    sp->setValue(pos);
  } else if (auto* p = qobject_cast<QProgressBar*>(w)) {
    p->setValue(std::clamp(pos, p->minimum(), p->maximum()));
  }
}

int Control::GetPos() const {
  QWidget* w = Find(owner_, id_);
  if (auto* s = qobject_cast<QSlider*>(w)) return s->value();
  if (auto* sp = qobject_cast<QSpinBox*>(w)) return sp->value();
  if (auto* p = qobject_cast<QProgressBar*>(w)) return p->value();
  return 0;
}

void Control::SetStep(int step) {
  if (auto* p = qobject_cast<QProgressBar*>(Find(owner_, id_))) p->setProperty("qlmStep", step);
}

void Control::StepIt() {
  auto* p = qobject_cast<QProgressBar*>(Find(owner_, id_));
  if (!p) return;
  int next = p->value() + p->property("qlmStep").toInt();
  // The bar starts again from its low end when a step passes the high end.
  if (next > p->maximum()) next = p->minimum() + (next - p->maximum()) % std::max(1, p->maximum() - p->minimum());
  p->setValue(next);
}

int Control::InsertTreeItem(std::string_view text, int parent) {
  auto* t = qobject_cast<QTreeWidget*>(Find(owner_, id_));
  if (!t || IsReport(t)) return 0;
  int handle = t->property("qlmNextHandle").toInt() + 1;
  t->setProperty("qlmNextHandle", handle);
  QTreeWidgetItem* item = nullptr;
  if (parent == 0) {
    item = new QTreeWidgetItem(t);
  } else {
    QTreeWidgetItem* p = TreeItem(t, parent);
    if (!p) return 0;
    item = new QTreeWidgetItem(p);
  }
  item->setText(0, Q(text));
  item->setData(0, kHandleRole, handle);
  return handle;
}

int Control::GetSelectedTreeItem() const {
  auto* t = qobject_cast<QTreeWidget*>(Find(owner_, id_));
  if (!t || IsReport(t) || !t->currentItem()) return 0;
  return t->currentItem()->data(0, kHandleRole).toInt();
}

void Control::SelectTreeItem(int item) {
  auto* t = qobject_cast<QTreeWidget*>(Find(owner_, id_));
  if (!t || IsReport(t)) return;
  t->setCurrentItem(item ? TreeItem(t, item) : nullptr);
}

std::string Control::GetTreeItemText(int item) const {
  auto* t = qobject_cast<QTreeWidget*>(Find(owner_, id_));
  if (!t || IsReport(t)) return {};
  QTreeWidgetItem* i = TreeItem(t, item);
  return i ? U(i->text(0)) : std::string{};
}

void Control::DeleteAllTreeItems() {
  auto* t = qobject_cast<QTreeWidget*>(Find(owner_, id_));
  if (t && !IsReport(t)) {
    Quiet q(t);
    t->clear();
  }
}

void Control::SetDateTime(const DateTime& v) {
  auto* d = qobject_cast<QDateTimeEdit*>(Find(owner_, id_));
  if (!d) return;
  Quiet q(d);
  d->setDateTime(QDateTime(QDate(v.year, v.month, v.day), QTime(v.hour, v.minute, v.second)));
}

DateTime Control::GetDateTime() const {
  auto* d = qobject_cast<QDateTimeEdit*>(Find(owner_, id_));
  if (!d) return {};
  QDateTime t = d->dateTime();
  return {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(), t.time().second()};
}

}  // namespace ui
