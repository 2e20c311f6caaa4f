// The standard controls with the semantics the windows rely on: a Label raises Change when
// its caption changes, setting a CheckBox's Value raises Click, setting a ListBox's
// ListIndex raises Click, setting a TextBox's or ComboBox's Text raises Change.
#pragma once
#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/control.h"

class QLabel;
class QPushButton;
class QCheckBox;
class QRadioButton;
class QLineEdit;
class QPlainTextEdit;
class QListWidget;
class QComboBox;
class QSlider;
class QGroupBox;
class QStatusBar;

namespace vlx {

class Label : public Control {
 public:
  explicit Label(QWidget* parent, const QString& caption = {});
  QString Caption() const { return caption_; }
  void setCaption(const QString& text);
  // 0 left, 1 right, 2 centre.
  void setAlignment(int alignment);
  void setWordWrap(bool on);
  // A doubled ampersand in the caption then shows as one.
  void setUseMnemonic(bool on);
  Event<> Change;
  Event<> Click;

 private:
  void leftClicked() override;
  QLabel* label_;
  QString caption_;
  bool mnemonic_ = false;
  void showCaption();
};

class CommandButton : public Control {
 public:
  explicit CommandButton(QWidget* parent, const QString& caption = {});
  QString Caption() const;
  void setCaption(const QString& text);
  // Presses the button from code, as a click does.
  void press();
  Event<> Click;

 private:
  QPushButton* button_;
};

class CheckBox : public Control {
 public:
  explicit CheckBox(QWidget* parent, const QString& caption = {});
  QString Caption() const;
  void setCaption(const QString& text);
  // 0 clear, 1 set, 2 greyed. Any other value is an invalid property value (throws).
  int Value() const { return value_; }
  void setValue(int value);
  Event<> Click;

 private:
  QCheckBox* box_;
  int value_ = 0;
};

class OptionButton : public Control {
 public:
  explicit OptionButton(QWidget* parent, const QString& caption = {});
  QString Caption() const;
  void setCaption(const QString& text);
  bool Value() const;
  // Setting True raises Click (and clears the other options of the same container).
  void setValue(bool on);
  Event<> Click;

 private:
  QRadioButton* radio_;
};

class TextBox : public Control {
 public:
  TextBox(QWidget* parent, bool multiLine = false);
  // Line breaks read back as CR LF, as a multi-line text box holds them.
  QString Text() const;
  void setText(const QString& text);
  bool Locked() const { return locked_; }
  void setLocked(bool on);
  bool MultiLine() const { return multiLine_; }
  int SelStart() const;
  void setSelStart(int pos);
  void hideCaret();
  Event<> Change;
  Event<> Click;

 private:
  void leftClicked() override;
  QLineEdit* line_ = nullptr;
  QPlainTextEdit* edit_ = nullptr;
  bool multiLine_;
  bool locked_ = false;
  bool settingText_ = false;
  bool displayPending_ = false;
  QString lastText_;
  void textEdited();
 public:
  // Puts a pending text on screen now (it is otherwise shown when events next run).
  void flushDisplay();
};

class ListBox : public Control {
 public:
  explicit ListBox(QWidget* parent);
  QListWidget* list() const { return list_; }
  void AddItem(const QString& item, int index = -1);
  // Appends many entries with one layout pass.
  void AddItems(const QStringList& items);
  void RemoveItem(int index);
  void Clear();
  int ListCount() const;
  QString List(int index) const;
  void setList(int index, const QString& text);
  int ListIndex() const;
  // Raises Click when the index changes; -1 removes the selection.
  void setListIndex(int index);
  QString Text() const;
  Event<> Click;

 private:
  QListWidget* list_;
  bool settingIndex_ = false;
  int reported_ = -1;  // the index the last Click told
  void selectionMoved();
};

class ComboBox : public Control {
 public:
  explicit ComboBox(QWidget* parent, bool editable = true);
  QComboBox* combo() const { return combo_; }
  QString Text() const;
  void setText(const QString& text);
  void AddItem(const QString& item);
  void Clear();
  int ListCount() const;
  QString List(int index) const;
  int ListIndex() const;
  void setListIndex(int index);
  Event<> Change;
  Event<> Click;

 private:
  QComboBox* combo_;
  bool settingText_ = false;
};

class Slider : public Control {
 public:
  explicit Slider(QWidget* parent, int min = 0, int max = 10);
  int Value() const;
  // Out-of-range values are an invalid property value (throws), as the control refuses them.
  void setValue(int value);
  int Min() const;
  int Max() const;
  void setRange(int min, int max);
  void setTickFrequency(int f);
  Event<> Change;
  Event<> Scroll;

 private:
  QSlider* slider_;
};

// Picture box and image control: holds a picture and an image it can be painted into.
class PictureBox : public Control {
 public:
  explicit PictureBox(QWidget* parent);
  // Loads a picture file; throws when the file cannot be read as a picture.
  void LoadPicture(const QString& path);
  const QImage& Picture() const { return picture_; }
  void setPicture(const QImage& image);
  // Paints a picture stretched over the given rectangle (twips) of this box's image.
  void PaintPicture(const QImage& source, double x, double y, double w, double h);
  void Cls();
  void setStretch(bool on);
  bool HasPicture() const { return !picture_.isNull(); }
  // 0 none, 1 a single line around the box.
  int BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int style);
  Event<> Click;

 private:
  void leftClicked() override;
  QLabel* label_;
  QImage picture_;
  bool stretch_ = false;
  int borderStyle_ = 0;
  void refresh();
};

class Frame : public Control {
 public:
  explicit Frame(QWidget* parent, const QString& caption = {});
  QString Caption() const;
  void setCaption(const QString& text);
  QWidget* inner() const;
  Event<> Click;

 private:
  void leftClicked() override;
  QGroupBox* box_;
};

class StatusBar : public Control {
 public:
  explicit StatusBar(QWidget* parent, int panels = 1);
  QString PanelText(int index) const;  // panels count from 1
  void setPanelText(int index, const QString& text);

 private:
  std::vector<QLabel*> panels_;
};

}  // namespace vlx
