// Dialogs answered from queues; every message box text is recorded. A dialog that the
// test did not expect fails the test.
#pragma once
#include <deque>
#include <optional>
#include <vector>

#include "platform/dialogs.h"

namespace vlx::test {

class ScriptedDialogs : public Dialogs {
 public:
  struct Message {
    QString text;
    int style;
    QString title;
  };
  std::vector<Message> messages;
  std::deque<int> msgBoxAnswers;           // for boxes with more than an OK button
  std::deque<QString> fileAnswers;         // OpenFile, SaveFile, PickFolder ("" = cancel)
  std::deque<QStringList> filesAnswers;    // OpenFiles
  std::deque<std::optional<QFont>> fontAnswers;
  std::deque<std::optional<uint32_t>> colorAnswers;
  // Called when a message box opens (a test can act while it is "on screen").
  std::function<void(const QString&)> onMessage;

  int MsgBox(const QString& text, int style, const QString& title, QWidget* owner) override;
  QString OpenFile(const QString& title, const QString& filter, const QString& folder,
                   QWidget* owner) override;
  QStringList OpenFiles(const QString& title, const QString& filter, const QString& folder,
                        QWidget* owner) override;
  QString SaveFile(const QString& title, const QString& filter, const QString& folder,
                   QWidget* owner) override;
  QString PickFolder(const QString& title, const QString& folder, QWidget* owner) override;
  std::optional<QFont> PickFont(const QFont& initial, QWidget* owner) override;
  std::optional<uint32_t> PickColor(uint32_t initial, QWidget* owner) override;

  QStringList messageTexts() const;
  // Titles of the file dialogs and folder pickers shown, in order.
  QStringList dialogTitles;

 private:
  QString nextFile(const QString& kind, const QString& title);
};

}  // namespace vlx::test
