// Every caption of every window fits its control at the design size.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTextBlock>
#include <gtest/gtest.h>

#include "controller/frmAbout.h"
#include "platform/filelists.h"
#include "controller/remote.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wavedev.h"
#include "players/wmp9.h"
#include "players/wmpcontroller.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "playlist/send_to.h"
#include "plugins/susie.h"
#include "settings/load_and_save.h"
#include "support/program_fixture.h"
#include "viewers/frmBrowser.h"
#include "viewers/pictureview.h"
#include "viewers/text.h"
#include "viewers/viewclip.h"
#include "winutil/tpwindow.h"

namespace vlx::test {
namespace {

QString shownText(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  return text;
}

// Pixels by which a caption's text overruns the room its control gives it (0 when it fits).
int overrun(const QFontMetrics& fm, const QString& text, const QRect& room) {
  int width = 0;
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (const QString& line : lines) width = std::max(width, fm.horizontalAdvance(line));
  const int height = fm.height() + fm.lineSpacing() * int(lines.size() - 1);
  return std::max({0, width - room.width(), height - room.height()});
}

struct Caption {
  QString text;
  QRect room;
};

// The captions a widget shows, each with the room it has for them.
std::vector<Caption> captionsOf(Control* c) {
  QWidget* w = c->widget();
  QStyle* style = w->style();
  if (auto* label = qobject_cast<QLabel*>(w)) {
    if (label->wordWrap() || label->text().isEmpty()) return {};
    const int m = label->margin();
    return {{label->text(), label->contentsRect().adjusted(m, m, -m, -m)}};
  }
  if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    const QStyle::SubElement contents = qobject_cast<QCheckBox*>(w)      ? QStyle::SE_CheckBoxContents
                                        : qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                                         : QStyle::SE_PushButtonContents;
    return {{shownText(button->text()), style->subElementRect(contents, &opt, button)}};
  }
  // A combo box's design items; one that shows folders or drives holds data, not captions.
  auto* combo = qobject_cast<QComboBox*>(w);
  if (combo && !dynamic_cast<DriveListBox*>(c)) {
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    opt.frame = combo->hasFrame();
    const QRect field = style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
    std::vector<Caption> all{{combo->currentText(), field}};
    for (int i = 0; i < combo->count(); ++i) all.push_back({combo->itemText(i), field});
    return all;
  }
  if (auto* group = qobject_cast<QGroupBox*>(w)) {
    if (group->title().isEmpty()) return {};
    // The title sits on the frame line, inset at both ends.
    return {{shownText(group->title()), group->rect().adjusted(8, 0, -8, 0)}};
  }
  return {};
}

// Every caption wider (or taller) than its control.
QStringList overruns(Form& form) {
  QStringList found;
  for (QObject* o : form.findChildren<QObject*>()) {
    auto* c = dynamic_cast<Control*>(o);
    QWidget* w = c ? c->widget() : nullptr;
    if (!w || w->isHidden() || w->width() == 0) continue;
    for (const Caption& cap : captionsOf(c)) {
      const int over = overrun(w->fontMetrics(), cap.text, cap.room);
      if (over > 0)
        found << QStringLiteral("%1/%2: \"%3\" over by %4 px (%5 px type)")
                     .arg(form.windowTitle(), QString::fromLatin1(w->metaObject()->className()), cap.text)
                     .arg(over)
                     .arg(QFontInfo(w->font()).pixelSize());
    }
  }
  return found;
}

// Each window is walked as soon as it is loaded: loading one may unload another.
template <class... Window>
QStringList overrunsOfEach(Program& prog) {
  QStringList found;
  (found.append(overruns(prog.form<Window>())), ...);
  return found;
}

class Captions : public ProgramFixture {};

TEST_F(Captions, EveryCaptionOfEveryWindowFitsItsControl) {
  remote& c = startController();
  QStringList found = overrunsOfEach<remote, load_and_save, Form1, Form2, Form3, wavedev, tpwindow, Splaylist,
                                     text, susie, wmp9, send_to, frmBrowser, pictureview, viewclip,
                                     wmpcontroller, frmAbout>(*prog);

  // Captions that only appear later: the top-most button's second state, the expanded
  // option panel's.
  c.Command16->setCaption(QStringLiteral("show normal"));
  c.Command4->setCaption(QString::fromUtf8("smart　　△"));
  for (const QString& line : overruns(c))
    if (!found.contains(line)) found << line;
  EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}

// The farewell log shows its last line without scrolling.
TEST_F(Captions, FarewellLogShowsItsLastLine) {
  remote& c = startController();
  load_and_save& log = prog->load_and_save();
  c.Command2->press();
  auto* edit = log.Text1->widget()->findChild<QPlainTextEdit*>();
  if (!edit) edit = qobject_cast<QPlainTextEdit*>(log.Text1->widget());
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(log.Text1->Text().endsWith(QStringLiteral("see you next time !")));
  log.Text1->flushDisplay();
  ASSERT_TRUE(edit->toPlainText().endsWith(QStringLiteral("see you next time !")));
  const QFontMetrics fm(edit->font());
  const int lines = std::max(edit->document()->lineCount(), edit->document()->blockCount());
  const int margins = 2 * (edit->frameWidth() + int(edit->document()->documentMargin()));
  EXPECT_LE(fm.lineSpacing() * lines + margins, std::min(edit->height(), log.height()))
      << lines << " lines of " << fm.lineSpacing() << " px";
}

}  // namespace
}  // namespace vlx::test
