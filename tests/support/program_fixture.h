// A Program on a fresh temporary user folder with scripted dialogs and fake services.
#pragma once
#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

#include "app/program.h"
#include "support/fake_engine.h"
#include "support/fakes.h"
#include "support/scripted_dialogs.h"

namespace vlx::test {

class ProgramFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Builds a new Program on the same user folder (as the next start of the program).
  Program& makeProgram();
  void destroyProgram();

  QString userFolder() const { return home_.path(); }
  QString settingsPath() const;
  void writeSettingsFile(const QByteArray& bytes);
  QByteArray settingsBytes() const;

  // Loads the Controller and lets the first events run.
  remote& startController();
  // The same on any start after the first: the settings say so, no first-run message.
  remote& startAfterFirstRun();
  // Runs the exit routine and the farewell log to its end; true when the program ended.
  bool exitAndFinish();

  // What the scripted player engines play; with `realEngines` set before SetUp the
  // players run on the real engine instead.
  FakeMedia clips;
  bool realEngines = false;
  std::unique_ptr<Program> prog;
  ScriptedDialogs* dialogs = nullptr;
  FakeShell* shell = nullptr;
  FakeRandom* random = nullptr;
  FakeAudioDevices* audio = nullptr;
  FakeProcessorStats* processor = nullptr;

 private:
  QTemporaryDir home_;
};

// Lets pending events run for a while.
void pump(int ms = 0);
// Reads a file whole ("" when missing).
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);
// Drags `data` over a widget, moves it there `moves` times and drops it, as a file manager
// does; fails the test when the widget refuses it.
void dropData(QWidget* target, QMimeData& data, int moves = 0);
void dropUrls(QWidget* target, const QList<QUrl>& urls);

// The items of a list, combo or folder box, in order.
template <class Box>
QStringList itemsOf(const Box& box) {
  QStringList out;
  for (int i = 0; i < box.ListCount(); ++i) out << box.List(i);
  return out;
}

// The program built with the tests, and the environment that runs it off screen on the user
// folder `home`.
QString builtVlx();
QProcessEnvironment vlxEnvironment(const QString& home);

}  // namespace vlx::test
