#include "support/program_fixture.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>

#include "controller/remote.h"
#include "settings/load_and_save.h"

namespace vlx::test {

void pump(int ms) {
  QElapsedTimer t;
  t.start();
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  } while (t.elapsed() < ms);
}

QByteArray readAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void dropData(QWidget* target, QMimeData& data, int moves) {
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  ASSERT_TRUE(enter.isAccepted());
  for (int i = 0; i < moves; ++i) {
    QDragMoveEvent move(QPoint(5, 5 + i % 7), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    ASSERT_TRUE(move.isAccepted());
  }
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  ASSERT_TRUE(drop.isAccepted());
}

void dropUrls(QWidget* target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  dropData(target, data);
}

QString builtVlx() { return QString::fromLocal8Bit(qgetenv("VLX_TEST_BIN")) + "/vlx"; }

QProcessEnvironment vlxEnvironment(const QString& home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("VLX_HOME", home);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  return env;
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

void ProgramFixture::SetUp() {
  ASSERT_TRUE(home_.isValid());
  makeProgram();
}

void ProgramFixture::TearDown() {
  destroyProgram();
  pump();
}

Program& ProgramFixture::makeProgram() {
  destroyProgram();
  Program::Services services;
  auto d = std::make_unique<ScriptedDialogs>();
  auto s = std::make_unique<FakeShell>();
  auto r = std::make_unique<FakeRandom>();
  auto a = std::make_unique<FakeAudioDevices>();
  auto cpu = std::make_unique<FakeProcessorStats>();
  dialogs = d.get();
  shell = s.get();
  random = r.get();
  audio = a.get();
  processor = cpu.get();
  services.dialogs = std::move(d);
  services.shell = std::move(s);
  services.clock = std::make_unique<FakeClock>();
  services.random = std::move(r);
  services.audio = std::move(a);
  services.processor = std::move(cpu);
  if (!realEngines) services.engines = clips.factory();
  prog = std::make_unique<Program>(home_.path(), std::move(services));
  return *prog;
}

void ProgramFixture::destroyProgram() {
  if (!prog) return;
  prog.reset();
  dialogs = nullptr;
  shell = nullptr;
  random = nullptr;
  pump();
}

QString ProgramFixture::settingsPath() const { return home_.path() + "/VLX_Data.ini"; }

void ProgramFixture::writeSettingsFile(const QByteArray& bytes) { writeAll(settingsPath(), bytes); }

QByteArray ProgramFixture::settingsBytes() const { return readAll(settingsPath()); }

remote& ProgramFixture::startController() {
  remote& c = prog->remote();
  if (!prog->ended()) c.Show();
  pump();
  return c;
}

remote& ProgramFixture::startAfterFirstRun() {
  writeSettingsFile("[Kidou]\nShokai=1\n");
  return startController();
}

bool ProgramFixture::exitAndFinish() {
  remote& c = prog->remote();
  c.Command2->press();
  load_and_save& log = prog->load_and_save();
  for (int i = 0; i < 1000 && !prog->ended(); ++i) log.Timer3->fire();
  pump();
  return prog->ended();
}

}  // namespace vlx::test
