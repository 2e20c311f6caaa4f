#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace vlx::test {

namespace {
// The next answer the test gave; a dialog it did not expect fails it.
template <class T>
T next(std::deque<T>& answers, const std::string& what, T unexpected = T()) {
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected " << what;
    return unexpected;
  }
  T answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}
}  // namespace

int ScriptedDialogs::MsgBox(const QString& text, int style, const QString& title, QWidget*) {
  messages.push_back({text, style, title});
  if (onMessage) onMessage(text);
  if ((style & 0x7) == vbOKOnly) return vbOK;
  return next(msgBoxAnswers, "question: " + text.toStdString(), int(vbCancel));
}

QString ScriptedDialogs::nextFile(const QString& kind, const QString& title) {
  dialogTitles << title;
  return next(fileAnswers, kind.toStdString() + " dialog: " + title.toStdString());
}

QString ScriptedDialogs::OpenFile(const QString& title, const QString&, const QString&, QWidget*) {
  return nextFile(QStringLiteral("open"), title);
}

QStringList ScriptedDialogs::OpenFiles(const QString& title, const QString&, const QString&,
                                       QWidget*) {
  dialogTitles << title;
  return next(filesAnswers, "multiple-open dialog: " + title.toStdString());
}

QString ScriptedDialogs::SaveFile(const QString& title, const QString&, const QString&, QWidget*) {
  return nextFile(QStringLiteral("save"), title);
}

QString ScriptedDialogs::PickFolder(const QString& title, const QString&, QWidget*) {
  return nextFile(QStringLiteral("folder"), title);
}

std::optional<QFont> ScriptedDialogs::PickFont(const QFont&, QWidget*) {
  return next(fontAnswers, "font dialog");
}

std::optional<uint32_t> ScriptedDialogs::PickColor(uint32_t, QWidget*) {
  return next(colorAnswers, "colour dialog");
}

QStringList ScriptedDialogs::messageTexts() const {
  QStringList out;
  for (const Message& m : messages) out << m.text;
  return out;
}

}  // namespace vlx::test
