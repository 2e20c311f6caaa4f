#include "platform/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <stdexcept>

#include "platform/twips.h"

namespace vlx {
namespace {
QString toCrLf(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace('\r', '\n');
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return text;
}
QString fromCrLf(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace('\r', '\n');
  return text;
}
}  // namespace

// ---- Label
Label::Label(QWidget* parent, const QString& caption)
    : Control(new QLabel(caption, parent)), caption_(caption) {
  label_ = static_cast<QLabel*>(widget());
  label_->setTextFormat(Qt::PlainText);
  // A click on a label is a press and release on it.
}
void Label::leftClicked() { raise(Click); }
void Label::setCaption(const QString& text) {
  if (text == caption_) return;
  caption_ = text;
  showCaption();
  raise(Change);
}
void Label::setUseMnemonic(bool on) {
  mnemonic_ = on;
  showCaption();
}
void Label::showCaption() {
  QString shown = fromCrLf(caption_);
  if (mnemonic_) shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
  label_->setText(shown);
}
void Label::setAlignment(int alignment) {
  const Qt::Alignment h = alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
  label_->setAlignment(h | Qt::AlignTop);
}
void Label::setWordWrap(bool on) { label_->setWordWrap(on); }

// ---- CommandButton
CommandButton::CommandButton(QWidget* parent, const QString& caption)
    : Control(new QPushButton(caption, parent)) {
  button_ = static_cast<QPushButton*>(widget());
  button_->setAutoDefault(false);
  QObject::connect(button_, &QPushButton::clicked, this, [this] { raise(Click); });
}
QString CommandButton::Caption() const { return button_->text(); }
void CommandButton::setCaption(const QString& text) { button_->setText(text); }
void CommandButton::press() {
  if (button_->isEnabled()) raise(Click);
}

// ---- CheckBox
CheckBox::CheckBox(QWidget* parent, const QString& caption) : Control(new QCheckBox(caption, parent)) {
  box_ = static_cast<QCheckBox*>(widget());
  // A user click toggles between clear and set and raises Click.
  QObject::connect(box_, &QCheckBox::clicked, this, [this](bool checked) {
    value_ = checked ? 1 : 0;
    raise(Click);
  });
}
QString CheckBox::Caption() const { return box_->text(); }
void CheckBox::setCaption(const QString& text) { box_->setText(text); }
void CheckBox::setValue(int value) {
  if (value < 0 || value > 2) throw std::invalid_argument("invalid property value");
  if (value == value_) return;
  value_ = value;
  box_->setTristate(value == 2);
  box_->setCheckState(value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked);
  raise(Click);
}

// ---- OptionButton
OptionButton::OptionButton(QWidget* parent, const QString& caption)
    : Control(new QRadioButton(caption, parent)) {
  radio_ = static_cast<QRadioButton*>(widget());
  QObject::connect(radio_, &QRadioButton::clicked, this, [this] { raise(Click); });
}
QString OptionButton::Caption() const { return radio_->text(); }
void OptionButton::setCaption(const QString& text) { radio_->setText(text); }
bool OptionButton::Value() const { return radio_->isChecked(); }
void OptionButton::setValue(bool on) {
  if (!on) {
    radio_->setAutoExclusive(false);
    radio_->setChecked(false);
    radio_->setAutoExclusive(true);
    return;
  }
  radio_->setChecked(true);
  raise(Click);
}

// ---- TextBox
TextBox::TextBox(QWidget* parent, bool multiLine)
    : Control(multiLine ? static_cast<QWidget*>(new QPlainTextEdit(parent))
                        : static_cast<QWidget*>(new QLineEdit(parent))),
      multiLine_(multiLine) {
  if (multiLine) {
    edit_ = static_cast<QPlainTextEdit*>(widget());
    QObject::connect(edit_, &QPlainTextEdit::textChanged, this, [this] { textEdited(); });
  } else {
    line_ = static_cast<QLineEdit*>(widget());
    QObject::connect(line_, &QLineEdit::textChanged, this, [this] { textEdited(); });
  }
  if (edit_) setMouseTarget(edit_->viewport());
}
void TextBox::leftClicked() { raise(Click); }
QString TextBox::Text() const { return lastText_; }
void TextBox::setText(const QString& text) {
  const QString normal = multiLine_ ? toCrLf(text) : text;
  const bool changed = normal != lastText_;
  lastText_ = normal;
  if (edit_) {
    // Laying out a long text is slow: a burst of settings reaches the screen once.
    if (!displayPending_) {
      displayPending_ = true;
      QTimer::singleShot(0, this, [this] { flushDisplay(); });
    }
  } else {
    settingText_ = true;
    line_->setText(text);
    settingText_ = false;
  }
  if (changed) raise(Change);
}
void TextBox::flushDisplay() {
  if (!displayPending_) return;
  displayPending_ = false;
  settingText_ = true;
  edit_->setPlainText(fromCrLf(lastText_));
  settingText_ = false;
}
void TextBox::textEdited() {
  if (settingText_) return;
  displayPending_ = false;
  lastText_ = edit_ ? toCrLf(edit_->toPlainText()) : line_->text();
  raise(Change);
}
void TextBox::setLocked(bool on) {
  locked_ = on;
  if (edit_) edit_->setReadOnly(on);
  if (line_) line_->setReadOnly(on);
}
int TextBox::SelStart() const {
  const_cast<TextBox*>(this)->flushDisplay();
  return edit_ ? edit_->textCursor().position() : line_->cursorPosition();
}
void TextBox::setSelStart(int pos) {
  flushDisplay();
  if (edit_) {
    QTextCursor c = edit_->textCursor();
    c.setPosition(std::clamp(pos, 0, int(edit_->document()->characterCount()) - 1));
    edit_->setTextCursor(c);
  } else {
    line_->setCursorPosition(pos);
  }
}
void TextBox::hideCaret() {
  if (edit_) edit_->setCursorWidth(0);
  if (line_) line_->setStyleSheet(QStringLiteral("QLineEdit { caret-color: transparent; }"));
}

// ---- ListBox
ListBox::ListBox(QWidget* parent) : Control(new QListWidget(parent)) {
  list_ = static_cast<QListWidget*>(widget());
  list_->setUniformItemSizes(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  setMouseTarget(list_->viewport());
  // A click moves the current row and the selection one after the other: Click follows the
  // selection, once it has really changed.
  QObject::connect(list_, &QListWidget::itemSelectionChanged, this, [this] { selectionMoved(); });
}
void ListBox::selectionMoved() {
  if (settingIndex_) return;
  const int now = ListIndex();
  if (now == reported_) return;
  reported_ = now;
  raise(Click);
}
void ListBox::AddItem(const QString& item, int index) {
  if (index < 0 || index > list_->count())
    list_->addItem(item);
  else
    list_->insertItem(index, item);
}
void ListBox::AddItems(const QStringList& items) { list_->addItems(items); }
void ListBox::RemoveItem(int index) {
  if (index < 0 || index >= list_->count()) throw std::out_of_range("invalid procedure call");
  settingIndex_ = true;
  delete list_->takeItem(index);
  list_->setCurrentRow(-1);
  reported_ = -1;
  settingIndex_ = false;
}
void ListBox::Clear() {
  settingIndex_ = true;
  list_->clear();
  reported_ = -1;
  settingIndex_ = false;
}
int ListBox::ListCount() const { return list_->count(); }
QString ListBox::List(int index) const {
  const QListWidgetItem* item = list_->item(index);
  return item ? item->text() : QString();
}
void ListBox::setList(int index, const QString& text) {
  if (QListWidgetItem* item = list_->item(index)) item->setText(text);
}
int ListBox::ListIndex() const {
  const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}
void ListBox::setListIndex(int index) {
  if (index < -1 || index >= list_->count()) throw std::out_of_range("invalid property value");
  const int before = ListIndex();
  settingIndex_ = true;
  if (index < 0) {
    list_->setCurrentRow(-1);
    list_->clearSelection();
  } else {
    list_->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
  }
  reported_ = ListIndex();
  settingIndex_ = false;
  if (index != before) raise(Click);
}
QString ListBox::Text() const { return List(ListIndex()); }

// ---- ComboBox
ComboBox::ComboBox(QWidget* parent, bool editable) : Control(new QComboBox(parent)) {
  combo_ = static_cast<QComboBox*>(widget());
  combo_->setEditable(editable);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  QObject::connect(combo_, &QComboBox::currentTextChanged, this, [this] {
    if (!settingText_) raise(Change);
  });
  QObject::connect(combo_, &QComboBox::activated, this, [this](int) { raise(Click); });
}
QString ComboBox::Text() const { return combo_->currentText(); }
void ComboBox::setText(const QString& text) {
  const bool changed = text != Text();
  settingText_ = true;
  if (combo_->isEditable()) {
    combo_->setEditText(text);
  } else {
    const int i = combo_->findText(text);
    if (i < 0) {
      settingText_ = false;
      throw std::invalid_argument("text property is read-only");
    }
    combo_->setCurrentIndex(i);
  }
  settingText_ = false;
  if (changed) raise(Change);
}
void ComboBox::AddItem(const QString& item) {
  const QString keep = Text();
  settingText_ = true;
  combo_->addItem(item);
  if (combo_->isEditable()) combo_->setEditText(keep);
  settingText_ = false;
}
void ComboBox::Clear() {
  settingText_ = true;
  combo_->clear();
  settingText_ = false;
}
int ComboBox::ListCount() const { return combo_->count(); }
QString ComboBox::List(int index) const { return combo_->itemText(index); }
int ComboBox::ListIndex() const {
  const int i = combo_->currentIndex();
  return i >= 0 && combo_->itemText(i) == Text() ? i : -1;
}
void ComboBox::setListIndex(int index) {
  if (index < -1 || index >= combo_->count()) throw std::out_of_range("invalid property value");
  const QString before = Text();
  settingText_ = true;
  combo_->setCurrentIndex(index);
  if (index < 0 && combo_->isEditable()) combo_->setEditText(QString());
  settingText_ = false;
  raise(Click);
  if (Text() != before) raise(Change);
}

// ---- Slider
Slider::Slider(QWidget* parent, int min, int max) : Control(new QSlider(Qt::Horizontal, parent)) {
  slider_ = static_cast<QSlider*>(widget());
  slider_->setRange(min, max);
  slider_->setTickPosition(QSlider::TicksBelow);
  QObject::connect(slider_, &QSlider::valueChanged, this, [this](int) { raise(Change); });
  QObject::connect(slider_, &QSlider::sliderMoved, this, [this](int) { raise(Scroll); });
}
int Slider::Value() const { return slider_->value(); }
void Slider::setValue(int value) {
  if (value < slider_->minimum() || value > slider_->maximum())
    throw std::out_of_range("invalid property value");
  slider_->setValue(value);
}
int Slider::Min() const { return slider_->minimum(); }
int Slider::Max() const { return slider_->maximum(); }
void Slider::setRange(int min, int max) { slider_->setRange(min, max); }
void Slider::setTickFrequency(int f) { slider_->setTickInterval(f); }

// ---- PictureBox
PictureBox::PictureBox(QWidget* parent) : Control(new QLabel(parent)) {
  label_ = static_cast<QLabel*>(widget());
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}
void PictureBox::leftClicked() { raise(Click); }
void PictureBox::LoadPicture(const QString& path) {
  // An empty name loads "no picture", as the runtime's picture loader does.
  if (path.isEmpty()) {
    Cls();
    return;
  }
  QImageReader reader(path);
  reader.setAutoTransform(true);
  QImage image = reader.read();
  if (image.isNull()) throw std::runtime_error("invalid picture: " + path.toStdString());
  setPicture(image);
}
void PictureBox::setPicture(const QImage& image) {
  picture_ = image;
  refresh();
}
void PictureBox::PaintPicture(const QImage& source, double x, double y, double w, double h) {
  if (source.isNull()) throw std::invalid_argument("invalid picture");
  const QSize size(std::max(1, twipsToPx(Width())), std::max(1, twipsToPx(Height())));
  if (picture_.size() != size) {
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(label_->palette().color(QPalette::Window));
    picture_ = canvas;
  }
  QPainter p(&picture_);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRect(twipsToPx(x), twipsToPx(y), twipsToPx(w), twipsToPx(h)), source);
  p.end();
  refresh();
}
void PictureBox::Cls() {
  picture_ = QImage();
  refresh();
}
void PictureBox::setBorderStyle(int style) {
  borderStyle_ = style == 1 ? 1 : 0;
  label_->setFrameStyle(borderStyle_ == 1 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
  label_->setLineWidth(1);
}
void PictureBox::setStretch(bool on) {
  stretch_ = on;
  label_->setScaledContents(on);
  refresh();
}
void PictureBox::refresh() {
  if (picture_.isNull())
    label_->clear();
  else
    label_->setPixmap(QPixmap::fromImage(picture_));
}

// ---- Frame
Frame::Frame(QWidget* parent, const QString& caption) : Control(new QGroupBox(caption, parent)) {
  box_ = static_cast<QGroupBox*>(widget());
}
void Frame::leftClicked() { raise(Click); }
QString Frame::Caption() const { return box_->title(); }
void Frame::setCaption(const QString& text) { box_->setTitle(text); }
QWidget* Frame::inner() const { return box_; }

// ---- StatusBar
StatusBar::StatusBar(QWidget* parent, int panels) : Control(new QWidget(parent)) {
  auto* layout = new QHBoxLayout(widget());
  layout->setContentsMargins(2, 0, 2, 0);
  for (int i = 0; i < panels; ++i) {
    auto* panel = new QLabel(widget());
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    layout->addWidget(panel, i == 0 ? 1 : 0);
    panels_.push_back(panel);
  }
}
QString StatusBar::PanelText(int index) const {
  return index >= 1 && index <= int(panels_.size()) ? panels_[index - 1]->text() : QString();
}
void StatusBar::setPanelText(int index, const QString& text) {
  if (index < 1 || index > int(panels_.size())) throw std::out_of_range("invalid panel");
  panels_[index - 1]->setText(text);
}

}  // namespace vlx
