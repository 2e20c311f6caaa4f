// Form2: the Wmp window's player events (new stream, play state, end of media), opening
// the selected entry, the title line and the extra windows of the Controller's make command.
#include <stdexcept>

#include "app/program.h"
#include "controller/TimeConvert.h"
#include "controller/play_sequence.h"
#include "controller/remote.h"
#include "platform/vb.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wmpcontroller.h"
#include "playlist/Form1.h"
#include "playlist/path_rules.h"
#include "viewers/dispatch.h"

namespace vlx {

namespace {
const QString kLoading = QStringLiteral("loading");

QString num(int value) { return vb::CStr(int32_t(value)); }
}  // namespace

void Form2::openSelected() { MediaPlayer1->Open(entryToOpen()); }

void Form2::OpenInPlayer() {
  guarded([this] { prog.remote().Timer1->setEnabled(true); });
  guarded([this] { openSelected(); });
  guarded([this] { prog.Form1().Command3->setEnabled(true); });
  guarded([this] {
    remote& c = prog.remote();
    c.Image1->setEnabled(true);
    c.Image2->setEnabled(true);
    c.mnuback->setEnabled(true);
    c.mnunext->setEnabled(true);
  });
}

void Form2::ShowFileTitle(const QString& path) {
  if (path.isEmpty()) {
    prog.remote().Label1->setCaption(kTitleIdle);
    Label1->setCaption(QString());
    return;
  }
  const QString name = FileNamePart(path);
  if (isMain()) prog.remote().Label1->setCaption(name);
  Label1->setVisible(true);
  Label1->setCaption(name);
}

void Form2::Label1_MouseDown(int) {
  if (isMain()) prog.wmpcontroller().Show(this);
}

// ---------------------------------------------------------------- player events

void Form2::MediaPlayer1_EndOfStream(int32_t) {
  // The next entry, by the same rule as the Controller's "next", opened by this window's
  // copy of the dispatch (a media entry plays in this instance).
  guarded([this] { SelectNextEntry(prog); });
  takeSelectedEntry();
  guarded([this] { DispatchEntry(prog, DispatchFrom::Wmp, currentFile, this); });

  Label1->setCaption(QString());
  guarded([this] {
    remote& c = prog.remote();
    guarded([&] { c.Label1->setCaption(kTitleIdle); });
    guarded([&] { c.Timer3->setEnabled(false); });
    guarded([&] { c.per->setCaption(kTimeZero); });
    guarded([&] { c.per3->setWidth(0); });
    guarded([&] { c.Label6->setCaption(QStringLiteral("?")); });
    guarded([&] { c.Timer1->setEnabled(true); });
  });
}

void Form2::MediaPlayer1_PlayStateChange(int32_t oldState, int32_t newState) {
  try {
    if (auto* frames = prog.loaded<vlx::wmpcontroller>()) frames->RefreshLength();
    MediaPlayer1->setMute(prog.remote().Command3->Caption() != QLatin1String("mute on"));
  } catch (const std::exception&) {
  }
  // A file that could not be opened goes from waiting to stopped without a new stream: the
  // title line no longer claims to be loading it.
  if (oldState == 3 && newState == 0 && Label1->Caption() == kLoading)
    Label1->setCaption(QString());
  try {
    Timer1_Timer();
    prog.remote().Timer2->setEnabled(true);
    MediaPlayer1->setRate(vb::CDbl(Combo2->Text()));
  } catch (const std::exception&) {
  }
}

void Form2::MediaPlayer1_NewStream() {
  remote& c = prog.remote();
  Form1& pl = prog.Form1();
  guarded([&] { c.Check2->setValue(0); });
  guarded([&] {
    if (auto* rp = prog.loaded<vlx::Form3>()) rp->RealAudio1->DoStop();
  });
  guarded([&] {
    c.mnuHideReal->setEnabled(false);
    c.MnuShowReal->setEnabled(false);
    c.mnuhideDisp->setEnabled(true);
    c.mnuSfront->setEnabled(false);
  });
  guarded([&] { c.Check1->setValue(1); });
  guarded([&] { c.Timer5->setEnabled(false); });

  Timer2->setEnabled(true);
  Timer1->setEnabled(true);
  guarded([this] { FindAssociatedProgram(); });

  guarded([&] { pl.ShowFileInfo(pl.lstFoundFiles->Text()); });
  guarded([&] { currentFile = pl.lstFoundFiles->Text(); });
  guarded([&] { ShowFileTitle(currentFile); });
  guarded([&] { c.Timer3->setEnabled(true); });

  guarded([&] { pl.ShowSelectedPosition(); });
  guarded([&] { c.Timer1->setEnabled(true); });
}

// ---------------------------------------------------------------- extra windows

Form2& MakeWmpWindow(Program& prog, int number) {
  auto* extra = new Form2(prog, QStringLiteral("V L X   [Make Wmp] No.") + num(number));
  ShowExtraPlayerWindow(prog, *extra, prog.Form2());
  return *extra;
}

}  // namespace vlx
