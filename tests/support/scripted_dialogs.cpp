#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace vlx::test {

int ScriptedDialogs::MsgBox(const QString& text, int style, const QString& title, QWidget*) {
  messages.push_back({text, style, title});
  if (onMessage) onMessage(text);
  if ((style & 0x7) == vbOKOnly) return vbOK;
  if (msgBoxAnswers.empty()) {
    ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return vbCancel;
  }
  const int answer = msgBoxAnswers.front();
  msgBoxAnswers.pop_front();
  return answer;
}

QString ScriptedDialogs::nextFile(const QString& kind, const QString& title) {
  dialogTitles << title;
  if (fileAnswers.empty()) {
    ADD_FAILURE() << "unexpected " << kind.toStdString() << " dialog: " << title.toStdString();
    return {};
  }
  QString answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

QString ScriptedDialogs::OpenFile(const QString& title, const QString&, const QString&, QWidget*) {
  return nextFile(QStringLiteral("open"), title);
}

QStringList ScriptedDialogs::OpenFiles(const QString& title, const QString&, const QString&,
                                       QWidget*) {
  dialogTitles << title;
  if (filesAnswers.empty()) {
    ADD_FAILURE() << "unexpected multiple-open dialog: " << title.toStdString();
    return {};
  }
  QStringList answer = filesAnswers.front();
  filesAnswers.pop_front();
  return answer;
}

QString ScriptedDialogs::SaveFile(const QString& title, const QString&, const QString&, QWidget*) {
  return nextFile(QStringLiteral("save"), title);
}

QString ScriptedDialogs::PickFolder(const QString& title, const QString&, QWidget*) {
  return nextFile(QStringLiteral("folder"), title);
}

std::optional<QFont> ScriptedDialogs::PickFont(const QFont&, QWidget*) {
  if (fontAnswers.empty()) {
    ADD_FAILURE() << "unexpected font dialog";
    return std::nullopt;
  }
  auto answer = fontAnswers.front();
  fontAnswers.pop_front();
  return answer;
}

std::optional<uint32_t> ScriptedDialogs::PickColor(uint32_t, QWidget*) {
  if (colorAnswers.empty()) {
    ADD_FAILURE() << "unexpected colour dialog";
    return std::nullopt;
  }
  auto answer = colorAnswers.front();
  colorAnswers.pop_front();
  return answer;
}

QStringList ScriptedDialogs::messageTexts() const {
  QStringList out;
  for (const Message& m : messages) out << m.text;
  return out;
}

}  // namespace vlx::test
