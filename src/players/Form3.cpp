// Form3: the Rp window. Load and close, the layout of the title line, the options box and
// the player, the sizes and options, and the volume.
#include "players/Form3.h"

#include <algorithm>

#include "app/program.h"
#include "controller/remote.h"
#include "players/full_screen.h"
#include "platform/screen.h"
#include "platform/twips.h"
#include "platform/vb.h"

namespace vlx {

namespace {
const QString kPictureOnly = QStringLiteral("ImageWindow");
const QString kAllPanels = QStringLiteral("ImageWindow,ControlPanel,StatusBar");
}  // namespace

Form3::Form3(Program& p, const QString& caption)
    : PlayerWindow(p, caption,
                   {kMainCaption,
                    "Real option",
                    {"100%", "200%", "50%", "1/8", "1/4", "hide controls", "show controls"},
                    {"RPosition", "RTop", "RLeft", "RHeight", "RWidth"},
                    "RealHideControls"}) {
  QWidget* c = client();
  Label1->Move(240, 120, 2800, 255);
  Combo1->Move(3040, 50, 1455, 315);
  RealAudio1 = new RealAudio(prog.createEngine(), c);
  RealAudio1->setControls(kAllPanels);
  takeKeys(RealAudio1);

  RealAudio1->OnClipOpened = [this](QString name, QString url) {
    RealAudio1_OnClipOpened(name, url);
  };
  RealAudio1->OnClipClosed = [this] { RealAudio1_OnClipClosed(); };
  watchPlayer();
  Move(7700, 4000, 4640, 4650);
  layout();
}

// ---------------------------------------------------------------- load and close

void Form3::Form_Load() {
  // A missing or unreadable position leaves the designed one.
  guarded([this] { restorePosition(); });
  QString stored;
  guarded([&] { stored = storedHideControls(); });
  if (!stored.isEmpty()) {
    guarded([&] { ChkHideControls->setValue(vb::CInt(stored)); });
    const bool hide = ChkHideControls->Value() == 1;
    guarded([&] { RealAudio1->setControls(hide ? kPictureOnly : kAllPanels); });
    guarded([&] {
      Combo1->setText(hide ? QStringLiteral("hide controls") : QStringLiteral("show controls"));
    });
  }
  guarded([this] { layout(); });
  // A window made after the sound was switched off starts without sound too.
  guarded([this] { applyControllerMute(); });
}

void Form3::Form_QueryUnload(int& cancel, int unloadMode) {
  closing_ = true;
  remote& c = prog.remote();
  // A failure while saving goes on with the stop and the reset of the Controller.
  guarded([&] { c.Timer5->setEnabled(false); });
  if (isMain()) {
    guarded([&] { c.Check2->setValue(0); });
    guarded([&] { writeHideControls(); });
  }
  // Every instance stores its position as the Rp window's.
  savePosition();
  try {
    RealAudio1->DoStop();
    Timer2->setEnabled(false);
    c.ShowPlayerClosed();
  } catch (const std::exception&) {
  }
  if (hideInsteadOfClosing(cancel, unloadMode)) closing_ = false;
}

// ---------------------------------------------------------------- layout

void Form3::Form_Resize() { guarded([this] { layout(); }); }

// The title line at the top left with the options box at its end, the player below.
void Form3::layout() {
  if (fullScreen && fullScreen->layout()) return;
  Label1->Move(240, 120, Width() - Combo1->Width() - 400, Label1->Height());
  Combo1->Move(Label1->Left() + Label1->Width(), 50);
  RealAudio1->setGeometry(twipsToPx(50), twipsToPx(360), twipsToPx(std::max(0.0, Width() - 200)),
                          twipsToPx(std::max(0.0, Height() - 800)));
}

// ---------------------------------------------------------------- sizes and options

void Form3::applyOption(const QString& text) {
  try {
    const struct {
      const char* name;
      double width, height;
    } sizes[] = {{"100%", 4640, 4650},
                 {"200%", 9280, 8920},
                 {"50%", 2320, 2230},
                 {"1/4", ScreenWidth() / 2, ScreenHeight() / 2},
                 {"1/8", ScreenWidth() / 4, ScreenHeight() / 4}};
    for (const auto& size : sizes) {
      if (text == QLatin1String(size.name)) {
        Move(Left(), Top(), size.width, size.height);
        // A hidden window is told of its new size only when it is shown.
        layout();
        return;
      }
    }
    if (text == QLatin1String("hide controls")) applyHideControls(true);
    if (text == QLatin1String("show controls")) applyHideControls(false);
  } catch (const std::exception&) {
  }
}

// Changing the panels restarts the clip from its beginning.
void Form3::applyHideControls(bool hide) {
  RealAudio1->DoStop();
  RealAudio1->DoPlay();
  RealAudio1->setControls(hide ? kPictureOnly : kAllPanels);
  storeHideControls(hide);
}

// ---------------------------------------------------------------- volume

void Form3::Timer2_Timer() {
  try {
    // Slider 0 is the loudest (100), 300 the quietest (0).
    RealAudio1->SetVolume(vb::CInt(100 - prog.remote().Slider1->Value() * 100.0 / 300));
  } catch (const std::exception&) {
  }
  Timer2->setEnabled(false);
}

}  // namespace vlx
