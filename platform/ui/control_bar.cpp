// Control bars: the tool bar of command buttons.
#include "platform/ui/control_bar.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QToolButton>

#include "platform/draw/dc_qt.h"
#include "platform/res/resource_store.h"

#include "platform/ui/flow_layout.h"
#include "platform/ui/frame.h"
#include "platform/ui/qt_internal.h"

namespace ui {

ControlBar::ControlBar() : Window(WindowKind::ControlBar) {}
ControlBar::ControlBar(WindowKind kind) : Window(kind) {}

ControlBar::~ControlBar() {
  // Leave the frame's list of bars; the frame may already be gone.
  extern void ForgetControlBar(ControlBar*);
  ForgetControlBar(this);
}

struct ToolBar::Impl {
  Frame* frame = nullptr;
  struct Button {
    std::uint32_t id = 0;
    QToolButton* button = nullptr;  // null for separators
    QImage normal;
  };
  QSize buttonSize;
  QSize imageSize;
  bool textUnder = false;
  void Style(Button& b) {
    if (!b.button) return;
    if (b.normal.isNull()) b.button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    else b.button->setToolButtonStyle(textUnder ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    if (imageSize.isValid()) b.button->setIconSize(imageSize);
    if (buttonSize.isValid()) b.button->setMinimumSize(buttonSize);
  }
  std::vector<Button> buttons;
};

ToolBar::ToolBar() : tb_(std::make_unique<Impl>()) {}
ToolBar::~ToolBar() = default;

bool ToolBar::CreateBar(Frame* frame, int barId) {
  tb_->frame = frame;
  if (!Create(frame, barId, {}, true)) return false;
  auto* layout = new RuleLayout(WidgetOf(this));
  layout->setContentsMargins(2, 1, 2, 1);
  layout->SetRule([this](int length, std::vector<QRect>* places) {
    std::vector<Rect> rects;
    const Size size = LayoutButtons(length, places ? &rects : nullptr);
    if (places)
      for (const Rect& r : rects) places->push_back(QRect(r.left, r.top, r.Width(), r.Height()));
    return QSize(size.cx, size.cy);
  });
  frame->RegisterControlBar(this);
  return true;
}

Size ToolBar::LayoutButtons(int length, std::vector<Rect>* places) const {
  // Buttons at their own size, separators 6 pixels wide, wrapped at the length.
  if (places) places->clear();
  int x = 0;
  int y = 0;
  int rowHeight = 0;
  int widest = 0;
  for (const auto& b : tb_->buttons) {
    const QSize size = b.button ? b.button->sizeHint().expandedTo(b.button->minimumSize()) : QSize(6, 0);
    if (x > 0 && x + size.width() > length) {
      y += rowHeight;
      x = 0;
      rowHeight = 0;
    }
    if (places) places->push_back(b.button ? Rect{x, y, x + size.width(), y + size.height()} : Rect{});
    x += size.width();
    widest = std::max(widest, x);
    rowHeight = std::max(rowHeight, size.height());
  }
  return Size{widest, y + rowHeight};
}

void ToolBar::SetButtons(const std::vector<std::uint32_t>& ids, const std::vector<std::string>& tips) {
  QWidget* w = WidgetOf(this);
  if (!w) return;
  auto* layout = static_cast<RuleLayout*>(w->layout());
  while (QLayoutItem* item = layout->takeAt(0)) delete item;
  for (auto& b : tb_->buttons) delete b.button;
  tb_->buttons.clear();
  for (std::size_t i = 0; i < ids.size(); ++i) {
    Impl::Button b;
    b.id = ids[i];
    if (b.id == 0) {
      layout->addItem(new QSpacerItem(6, 0));
    } else {
      b.button = new QToolButton(w);
      b.button->setAutoRaise(true);
      QString tip = i < tips.size() ? Q(tips[i]) : QString::number(b.id);
      b.button->setToolTip(tip);
      b.button->setText(tip);
      std::uint32_t id = b.id;
      QObject::connect(b.button, &QToolButton::clicked, b.button, [this, id] { PressButton(id); });
      layout->addWidget(b.button);
    }
    tb_->buttons.push_back(b);
  }
}

draw::Image DecodeXpm(std::string_view text) {
  QImage img;
  if (text.empty() || !img.loadFromData(reinterpret_cast<const uchar*>(text.data()), static_cast<int>(text.size()), "XPM"))
    return {};
  return draw::ImageFromQt(img.convertToFormat(QImage::Format_RGB32));
}

draw::Image LoadIconImage(std::uint32_t id) {
  std::string name = "/icons/" + std::to_string(id) + ".xpm";
  std::string_view text = res::FileText(std::string(res::LanguageFolder(res::CurrentLanguage())) + name);
  if (text.empty()) text = res::FileText("en" + name);
  return DecodeXpm(text);
}

void ToolBar::SetButtonImage(std::uint32_t id, const draw::Image& image) {
  for (auto& b : tb_->buttons) {
    if (b.id != id || !b.button) continue;
    if (image.IsNull()) {
      b.button->setIcon(QIcon());
      b.button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    } else {
      b.button->setIcon(QIcon(QPixmap::fromImage(draw::QtImage(image))));
      b.button->setIconSize(QSize(image.Width(), image.Height()));
      b.button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
  }
}

void ToolBar::SetButtonImages(std::uint32_t id, const draw::Image& normal, const draw::Image& hot,
                              const draw::Image& disabled) {
  for (auto& b : tb_->buttons) {
    if (b.id != id || !b.button) continue;
    QIcon icon;
    b.normal = normal.IsNull() ? QImage() : draw::QtImage(normal);
    if (!normal.IsNull()) icon.addPixmap(QPixmap::fromImage(b.normal), QIcon::Normal);
    if (!hot.IsNull()) icon.addPixmap(QPixmap::fromImage(draw::QtImage(hot)), QIcon::Active);
    if (!disabled.IsNull()) icon.addPixmap(QPixmap::fromImage(draw::QtImage(disabled)), QIcon::Disabled);
    b.button->setIcon(icon);
    tb_->Style(b);
  }
}

void ToolBar::SetButtonLayout(Size button, Size image, bool textUnder) {
  tb_->buttonSize = QSize(button.cx, button.cy);
  tb_->imageSize = QSize(image.cx, image.cy);
  tb_->textUnder = textUnder;
  for (auto& b : tb_->buttons) tb_->Style(b);
}

void ToolBar::SetLeadingMargin(int px) {
  if (QWidget* w = WidgetOf(this); w && w->layout()) {
    const QMargins m = w->layout()->contentsMargins();
    w->layout()->setContentsMargins(px, m.top(), m.right(), m.bottom());
  }
}

std::string ToolBar::GetButtonText(std::uint32_t id) const {
  for (auto& b : tb_->buttons)
    if (b.id == id && b.button) return U(b.button->text());
  return {};
}

draw::Image ToolBar::GetButtonImage(std::uint32_t id) const {
  for (auto& b : tb_->buttons)
    if (b.id == id && b.button && !b.normal.isNull()) return draw::ImageFromQt(b.normal);
  return {};
}

void ToolBar::SetButtonText(std::uint32_t id, std::string_view text) {
  for (auto& b : tb_->buttons)
    if (b.id == id && b.button) b.button->setText(Q(text));
}

int ToolBar::GetButtonCount() const { return static_cast<int>(tb_->buttons.size()); }

std::uint32_t ToolBar::GetButtonId(int index) const {
  if (index < 0 || index >= GetButtonCount()) return 0;
  return tb_->buttons[static_cast<std::size_t>(index)].id;
}

bool ToolBar::IsButtonEnabled(std::uint32_t id) const {
  for (auto& b : tb_->buttons)
    if (b.id == id && b.button) return b.button->isEnabled();
  return false;
}

bool ToolBar::IsButtonChecked(std::uint32_t id) const {
  for (auto& b : tb_->buttons)
    if (b.id == id && b.button) return b.button->isChecked();
  return false;
}

void ToolBar::SetButtonEnabled(std::uint32_t id, bool enabled) {
  for (auto& b : tb_->buttons)
    if (b.id == id && b.button) b.button->setEnabled(enabled);
}

void ToolBar::SetButtonChecked(std::uint32_t id, bool checked) {
  for (auto& b : tb_->buttons) {
    if (b.id != id || !b.button) continue;
    b.button->setCheckable(true);
    b.button->setChecked(checked);
  }
}

bool ToolBar::PressButton(std::uint32_t id) {
  if (!IsButtonEnabled(id) || !tb_->frame) return false;
  tb_->frame->SendMessage(WM_COMMAND, MakeLong(static_cast<std::uint16_t>(id), BN_CLICKED), 0);
  return true;
}

void ToolBar::OnUpdateCmdUI(Frame* target) {
  for (auto& b : tb_->buttons) {
    if (!b.button) continue;
    CmdUI ui = QueryCommandState(*target, b.id);
    b.button->setEnabled(ui.IsEnabled());
    if (ui.Checked() >= 0) {
      b.button->setCheckable(true);
      b.button->setChecked(ui.Checked() != 0);
    }
  }
}

}  // namespace ui
