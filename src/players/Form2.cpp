// Form2: the Wmp window. Load and close, the layout of the title line, the two boxes and
// the player, the zoom and options box, the play rate and the volume.
#include "players/Form2.h"

#include <QComboBox>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <stdexcept>

#include "app/program.h"
#include "controller/remote.h"
#include "players/full_screen.h"
#include "platform/twips.h"
#include "platform/vb.h"

namespace vlx {

namespace {
// Room the title needs beside the two boxes when the player itself is narrower (audio).
constexpr double kTitleRoom = 1500;
}  // namespace

Form2::Form2(Program& p, const QString& caption)
    : PlayerWindow(p, caption,
                   {kMainCaption,
                    "Wmp option",
                    {"100%", "200%", "50%", "1/16", "1/4", "1/2", "backcolor", "hide controls",
                     "show controls"},
                    {"DPosition", "DTop", "DLeft", "DHeight", "DWidth"},
                    "WmpHideControls"}) {
  QWidget* c = client();
  Label1->Move(125, 52, 2010, 255);
  Combo2 = new ComboBox(c);
  Combo2->Move(2130, 52, 735, 315);
  for (int tenths = 5; tenths <= 20; ++tenths)
    Combo2->AddItem(QString::number(tenths / 10.0, 'f', 1));
  // Only a rate can be typed here, and only once the user has put the focus here.
  Combo2->combo()->setFocusPolicy(Qt::ClickFocus);
  Combo2->combo()->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]{0,2}([.][0-9]{0,3})?")), Combo2->combo()));
  Combo1->Move(2870, 52, 1455, 315);
  MediaPlayer1 = new MediaPlayer(prog.createEngine(), c);
  // The window places the player itself (following the video or the window).
  MediaPlayer1->setAutoSize(false);
  takeKeys(MediaPlayer1);
  movePlayer(125, 372, 4200, 2400);
  Timer1 = new Timer(this, 10, false);

  Timer1->Tick = [this] { Timer1_Timer(); };
  Combo2->Click = [this] { Combo2_Click(); };
  Combo2->Change = [this] { Combo2_Click(); };
  Label1->MouseDown = [this](int button, int, float, float) { Label1_MouseDown(button); };
  MediaPlayer1->EndOfStream = [this](int32_t result) { MediaPlayer1_EndOfStream(result); };
  MediaPlayer1->PlayStateChange = [this](int32_t from, int32_t to) {
    MediaPlayer1_PlayStateChange(from, to);
  };
  MediaPlayer1->NewStream = [this] { MediaPlayer1_NewStream(); };
  QObject::connect(MediaPlayer1, &PlayerBase::preferredSizeChanged, this,
                   [this] { Timer1->setEnabled(true); });
  watchPlayer();
  Move(7700, 0, 4550, 3210);
}

// ---------------------------------------------------------------- load and close

void Form2::Form_Load() {
  // A missing or unreadable position leaves the designed one (and the rate box unset).
  try {
    restorePosition();
    Combo2->setText(QStringLiteral("1.0"));
  } catch (const std::exception&) {
  }
  Timer2_Timer();
  guarded([this] { setPanels(ChkHideControls->Value() != 1); });
  Timer1->setEnabled(true);
  guarded([this] { fitWindowToPlayer(); });
  const QString stored = storedHideControls();
  if (!stored.isEmpty()) {
    guarded([&] { ChkHideControls->setValue(vb::CInt(stored)); });
    Combo1->setText(ChkHideControls->Value() == 1 ? QStringLiteral("hide controls")
                                                  : QStringLiteral("show controls"));
  }
  guarded([this] { prog.remote().Command2->setEnabled(true); });
  // A window made after the sound was switched off starts without sound too.
  guarded([this] { applyControllerMute(); });
}

void Form2::Form_QueryUnload(int& cancel, int unloadMode) {
  if (isMain()) {
    try {
      remote& c = prog.remote();
      c.Check1->setValue(0);
      Timer2->setEnabled(false);
      c.Timer3->setEnabled(false);
      writeHideControls();
      MediaPlayer1->Stop();
      MediaPlayer1->setCurrentPosition(0);
      c.ShowPlayerClosed();
    } catch (const std::exception&) {
      return;
    }
  }
  // Every instance stores its position as the Wmp window's.
  savePosition();
  hideInsteadOfClosing(cancel, unloadMode);
}

// ---------------------------------------------------------------- layout

double Form2::playerLeft() const { return pxToTwips(MediaPlayer1->x()); }
double Form2::playerTop() const { return pxToTwips(MediaPlayer1->y()); }
double Form2::playerWidth() const { return pxToTwips(MediaPlayer1->width()); }
double Form2::playerHeight() const { return pxToTwips(MediaPlayer1->height()); }

void Form2::movePlayer(double left, double top, double width, double height) {
  MediaPlayer1->setGeometry(twipsToPx(left), twipsToPx(top), twipsToPx(std::max(0.0, width)),
                            twipsToPx(std::max(0.0, height)));
}

bool Form2::followsVideo() const {
  const remote* c = prog.loaded<vlx::remote>();
  return !c || c->dispstyle->Value() == 1;
}

// The layout runs on the next turn: a window resized while it is first being shown, before
// the window manager has told its frame, would be placed by its inner corner and lose its
// title bar above the screen.
void Form2::Form_Resize() { Timer1->setEnabled(true); }

void Form2::Timer1_Timer() {
  // Resizing the window runs the layout again from inside; the outer run finishes it.
  if (!layingOut_) {
    layingOut_ = true;
    guarded([this] { layout(); });
    layingOut_ = false;
  }
  Timer1->setEnabled(false);
}

void Form2::layout() {
  if (fullScreen && fullScreen->layout()) return;
  double width = 0, height = 0;
  if (followsVideo()) {
    // The window takes the size the player asks for (its video and panels).
    const QSize hint = MediaPlayer1->sizeHint();
    width =
        std::max<double>(pxToTwips(hint.width()), Combo1->Width() + Combo2->Width() + kTitleRoom);
    height = pxToTwips(hint.height());
    Move(Left(), Top(), width + 350, height + Label1->Height() + 550);
  } else {
    width = Width() - 350;
    height = Height() - Label1->Height() - 600;
  }
  movePlayer((Width() - width) / 2 - 50, (Height() - height) / 2 - 30, width, height);
  // The title line above the player, the two boxes at its right end.
  Label1->Move(playerLeft(), playerTop() - 320, playerWidth() - Combo2->Width() - Combo1->Width(),
               Label1->Height());
  Combo2->Move(Label1->Left() + Label1->Width() - 5, Label1->Top());
  Combo1->Move(Label1->Left() + Label1->Width() + Combo2->Width() + 5, Label1->Top());
}

void Form2::fitWindowToPlayer() {
  if (fullScreen && fullScreen->active()) return;
  setWidth(playerWidth() + 400);
  setHeight(playerHeight() + Label1->Height() + 550);
}

// ---------------------------------------------------------------- zoom and options

void Form2::setPanels(bool on) {
  MediaPlayer1->setShowControls(on);
  MediaPlayer1->setShowPositionControls(on);
  MediaPlayer1->setShowTracker(on);
  MediaPlayer1->setShowAudioControls(on);
  MediaPlayer1->setShowStatusBar(on);
}

void Form2::applyHideControls(bool hide) {
  setPanels(!hide);
  Timer1->setEnabled(true);
  fitWindowToPlayer();
  storeHideControls(hide);
}

void Form2::applyOption(const QString& text) {
  try {
    static const std::pair<const char*, int32_t> sizes[] = {
        {"", 0}, {"100%", 0}, {"200%", 2}, {"50%", 1}, {"1/16", 5}, {"1/4", 6}, {"1/2", 7}};
    for (const auto& [name, size] : sizes) {
      if (text == QLatin1String(name)) {
        MediaPlayer1->setDisplaySize(size);
        Timer1->setEnabled(true);
        return;
      }
    }
    if (text == QLatin1String("backcolor")) {
      const auto color = prog.dialogs().PickColor(BackColor(), this);
      if (!color) throw std::runtime_error("colour dialog cancelled");
      setBackColor(*color);
    } else if (text == QLatin1String("hide controls")) {
      applyHideControls(true);
    } else if (text == QLatin1String("show controls")) {
      applyHideControls(false);
    }
  } catch (const std::exception&) {
    // Back to the default size.
    guarded([this] { MediaPlayer1->setDisplaySize(0); });
    Timer1->setEnabled(true);
  }
}

void Form2::Combo2_Click() {
  guarded([this] { MediaPlayer1->setRate(vb::CDbl(Combo2->Text())); });
}

// ---------------------------------------------------------------- volume

void Form2::Timer2_Timer() {
  try {
    remote& c = prog.remote();
    // Slider 0 is the loudest, 300 gives -3000, the quietest value with a word.
    MediaPlayer1->setVolume(-10 * c.Slider1->Value());
    const int32_t volume = MediaPlayer1->Volume();
    c.Label3->setCaption(vb::CStr(int32_t(vb::CInt(100 - volume / -30.0))));
    if (MediaPlayer1->Volume() == -1500) c.Label3->setCaption(QStringLiteral("middle"));
    if (MediaPlayer1->Volume() == 0) c.Label3->setCaption(QStringLiteral("max"));
    if (MediaPlayer1->Volume() == -3000) c.Label3->setCaption(QStringLiteral("min"));
  } catch (const std::exception&) {
  }
  Timer2->setEnabled(false);
}

}  // namespace vlx
