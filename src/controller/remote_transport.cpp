// remote: the Controller's transport. Previous, play, pause, stop and next with their menu
// twins, the state word, the time displays and the position bar, seeking, rewind and
// fast-forward, mute and volume. Every command goes to both players; failing statements
// are skipped one by one (a player with nothing loaded, a length of 0).
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "app/program.h"
#include "controller/TimeConvert.h"
#include "controller/now_playing.h"
#include "controller/play_sequence.h"
#include "controller/remote.h"
#include "controller/transport_pictures.h"
#include "platform/launch.h"
#include "platform/vb.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wmpcontroller.h"
#include "playlist/Form1.h"
#include "playlist/path_rules.h"
#include "settings/ini.h"
#include "viewers/dispatch.h"

namespace vlx {

namespace {

const QString kTitleIdle = QStringLiteral("V L X");
const QString kPause = QStringLiteral("pause");
const QString kMuteOn = QStringLiteral("mute on");
constexpr double kBarWidth = 3700;  // twips of the position bar at the end of a clip
constexpr uint32_t kSteppingColor = 0xFFFF00;

// The bar's width for a position within a length; a length of 0 cannot be shown.
double barWidth(double position, double length) {
  if (length == 0 || !std::isfinite(position / length))
    throw std::domain_error("no length to show the position in");
  return position * kBarWidth / length;
}

// The players of windows that are loaded: a command to a window never made goes nowhere,
// and does not make it.
MediaPlayer* wmpPlayer(Program& prog) {
  auto* w = prog.loaded<vlx::Form2>();
  return w ? w->MediaPlayer1 : nullptr;
}
RealAudio* rpPlayer(Program& prog) {
  auto* w = prog.loaded<vlx::Form3>();
  return w ? w->RealAudio1 : nullptr;
}
// The Rp window is told of a command that closes its clip (see Form3::NoteCommand).
void noteRpCommand(Program& prog, const char* word) {
  if (auto* rp = prog.loaded<vlx::Form3>()) rp->NoteCommand(QString::fromLatin1(word));
}

}  // namespace

void remote::buildTransport() {
  const std::pair<PictureBox*, TransportGlyph> normal[] = {
      {Image16, TransportGlyph::Play}, {Image15, TransportGlyph::Pause},
      {Image19, TransportGlyph::Stop}, {Image18, TransportGlyph::Previous},
      {Image17, TransportGlyph::Next}};
  const std::pair<PictureBox*, TransportGlyph> lit[] = {
      {Image9, TransportGlyph::Play}, {Image10, TransportGlyph::Pause},
      {Image11, TransportGlyph::Stop}, {Image12, TransportGlyph::Previous},
      {Image13, TransportGlyph::Next}};
  for (const auto& [store, glyph] : normal) store->setPicture(TransportPicture(glyph, false));
  for (const auto& [store, glyph] : lit) store->setPicture(TransportPicture(glyph, true));
  showNormalPictures();
  // Nothing plays yet: nothing to pause.
  Image5->setEnabled(false);

  Image1->Click = [this] { Image1_Click(); };
  Image2->Click = [this] { Image2_Click(); };
  Image3->Click = [this] { Image3_Click(); };
  Image5->Click = [this] { Image5_Click(); };
  Image5->DblClick = [this] { Image5_DblClick(); };
  for (PictureBox* image : {Image1, Image2, Image3, Image4, Image5}) {
    image->MouseDown = [this, image](int, int, float, float) { Image_MouseDown(image); };
    image->MouseUp = [this, image](int, int, float, float) { Image_MouseUp(image); };
  }
  mnuplay->Click = [this] { mnuplay_Click(); };
  mnupause->Click = [this] { mnupause_Click(); };
  mnuback->Click = [this] { mnuback_Click(); };
  mnunext->Click = [this] { mnunext_Click(); };

  Timer2->Tick = [this] { Timer2_Timer(); };
  Timer3->Tick = [this] { Timer3_Timer(); };
  Timer4->Tick = [this] { Timer4_Timer(); };
  Timer5->Tick = [this] { Timer5_Timer(); };

  Label4->Change = [this] { Label4_Change(); };
  Label1->MouseDown = [this](int b, int s, float x, float y) { Label1_MouseDown(b, s, x, y); };
  per3->MouseDown = [this](int b, int s, float x, float y) { per3_MouseDown(b, s, x, y); };
  Label8->MouseDown = [this](int, int, float, float) { Label8_MouseDown(); };
  Label8->MouseUp = [this](int, int, float, float) { Label8_MouseUp(); };
  Label9->MouseDown = [this](int, int, float, float) { Label9_MouseDown(); };
  Label9->MouseUp = [this](int, int, float, float) { Label9_MouseUp(); };
  Command3->Click = [this] { Command3_Click(); };
  Command5->Click = [this] { Command5_Click(); };
  Slider1->Change = [this] { Slider1_Change(); };
  Slider1->Scroll = [this] { Slider1_Scroll(); };
}

void remote::showNormalPictures() {
  Image3->setPicture(Image16->Picture());
  Image5->setPicture(Image15->Picture());
  Image4->setPicture(Image19->Picture());
  Image1->setPicture(Image18->Picture());
  Image2->setPicture(Image17->Picture());
}

void remote::ShowPlayerClosed() {
  Image5->setEnabled(false);
  Label2->setCaption(QStringLiteral("stop"));
  Label1->setCaption(kTitleIdle);
  showNormalPictures();
  per->setCaption(kTimeZero);
  per3->setWidth(0);
  Label6->setCaption(QStringLiteral("?"));
}

void remote::Image_MouseDown(PictureBox* image) { image->setBorderStyle(1); }
void remote::Image_MouseUp(PictureBox* image) { image->setBorderStyle(0); }

// ---------------------------------------------------------------- the five buttons

void remote::Image1_Click() {
  // The chosen entry is opened, not the paused one resumed.
  paused_ = false;
  Label2->setCaption(QStringLiteral("prev"));
  mnupause->setCaption(kPause);
  // A clip closed by this command is not one that played to its end: the Rp window must
  // know before the clip changes.
  guarded([this] { noteRpCommand(prog, "prev"); });
  guarded([this] { ChoosePreviousEntry(prog); });
  Image5->setEnabled(true);
}

void remote::Image2_Click() {
  paused_ = false;
  Label2->setCaption(QStringLiteral("next"));
  mnupause->setCaption(kPause);
  guarded([this] { noteRpCommand(prog, "next"); });
  guarded([this] { ChooseNextEntry(prog); });
  Image5->setEnabled(true);
}

void remote::Image3_Click() {
  guarded([this] { currentTitle_ = prog.Form1().lstFoundFiles->Text(); });
  if (paused_) {
    paused_ = false;
    // Play goes on where it stopped, without opening the entry again. With nothing left to
    // resume (the clip was stopped or closed meanwhile) play opens the entry.
    if (holdsPausedClip()) {
      Image5_DblClick();
      Image5->setEnabled(true);
      return;
    }
  }
  guarded([this] {
    auto* wmp = prog.loaded<vlx::Form2>();
    if (wmp && wmp->MediaPlayer1->PlayState() == 0) {
      Label1->setCaption(kTitleIdle);
      wmp->Label1->setCaption(kTitleIdle);
    }
  });
  guarded([this] { prog.Form1().ShowAssociatedProgram(); });
  currentExt_ = ExtensionOf(currentTitle_);
  guarded([this] { DispatchEntry(prog, DispatchFrom::Controller); });
  Image5->setEnabled(true);
}

void remote::Image4_Click() {
  guarded([this] { noteRpCommand(prog, "stop"); });
  guarded([this] {
    if (auto* w = prog.loaded<vlx::Form2>()) w->stopPlayer();
  });
  guarded([this] {
    if (auto* w = prog.loaded<vlx::Form3>()) w->stopPlayer();
  });
  // Nothing is paused any more: play opens the selected entry.
  paused_ = false;
  Label2->setCaption(QStringLiteral("stop"));
  Image5->setEnabled(false);
  showNormalPictures();
  per->setCaption(kTimeZero);
  per3->setWidth(0);
  Label6->setCaption(QStringLiteral("?"));
  Timer3->setEnabled(false);
  Timer5->setEnabled(false);
}

void remote::Image5_Click() {
  guarded([this] {
    if (MediaPlayer* m = wmpPlayer(prog)) m->Pause();
  });
  guarded([this] {
    if (RealAudio* r = rpPlayer(prog)) r->DoPause();
  });
  Label2->setCaption(kPause);
  paused_ = true;
  Label6->setCaption(QStringLiteral("?"));
}

void remote::Image5_DblClick() {
  resumePlayers();
  Label2->setCaption(QStringLiteral("play"));
  Image5->setToolTipText(kPause);
}

namespace {
// Paused, or paused while still opening.
bool wmpHoldsClip(Program& prog) {
  const MediaPlayer* m = wmpPlayer(prog);
  return m && (m->PlayState() == 1 || m->PlayState() == 3);
}
// A clip open or opening; a stopped or ended clip is closed.
bool rpHoldsClip(Program& prog) {
  const RealAudio* r = rpPlayer(prog);
  return r && r->engine().phase() != platform::PlayerEngine::Phase::Idle;
}
}  // namespace

bool remote::holdsPausedClip() {
  bool held = false;
  guarded([&] { held = wmpHoldsClip(prog); });
  guarded([&] { held = held || rpHoldsClip(prog); });
  return held;
}

// Only a player that holds a paused clip goes on: a clip that was stopped or closed (the
// other player took over) stays so, or both players would play at once.
void remote::resumePlayers() {
  guarded([this] {
    if (wmpHoldsClip(prog)) wmpPlayer(prog)->Play();
  });
  guarded([this] {
    if (rpHoldsClip(prog)) rpPlayer(prog)->DoPlay();
  });
}

// ---------------------------------------------------------------- menu twins

void remote::mnuplay_Click() {
  Image3_Click();
  mnupause->setCaption(kPause);
}

void remote::mnupause_Click() {
  if (mnupause->Caption() != kPause) {
    Image5_DblClick();
    mnupause->setCaption(kPause);
  } else {
    Image5_Click();
    mnupause->setCaption(QStringLiteral("p_cansel"));
  }
}

void remote::mnuback_Click() {
  Image1_Click();
  mnupause->setCaption(kPause);
}

void remote::mnunext_Click() {
  Image2_Click();
  mnupause->setCaption(kPause);
}

// ---------------------------------------------------------------- state word

void remote::Timer2_Timer() {
  guarded([this] { refreshTrayTip(); });
  // A Wmp window never made holds no clip: its player reads as closed.
  guarded([this] {
    const MediaPlayer* m = wmpPlayer(prog);
    ShowPlayState(m ? m->PlayState() : 6);
  });
  Timer2->setEnabled(false);
}

void remote::ShowPlayState(int32_t playState) {
  if (playState < 0 || playState > 8) return;
  showNormalPictures();
  auto stopped = [this] {
    Label2->setCaption(QStringLiteral("stop"));
    Image4->setPicture(Image11->Picture());
    Timer3->setEnabled(false);
    Label6->setCaption(QStringLiteral("?"));
  };
  switch (playState) {
    case 0:
      stopped();
      break;
    case 1:
      Label2->setCaption(kPause);
      Image5->setPicture(Image10->Picture());
      Timer3->setEnabled(false);
      paused_ = true;
      Label6->setCaption(QStringLiteral("?"));
      break;
    case 2:
      Label2->setCaption(QStringLiteral("play"));
      Image3->setPicture(Image9->Picture());
      Timer3->setEnabled(true);
      Image5->setEnabled(true);
      break;
    case 3:
      Label2->setCaption(QStringLiteral("begin"));
      break;
    case 4:
      Label2->setCaption(QStringLiteral("forward"));
      break;
    case 5:
      Label2->setCaption(QStringLiteral("reverse"));
      break;
    case 6:
      if (Label1->Caption().isEmpty()) {
        stopped();
      } else {
        Label2->setCaption(QStringLiteral("next"));
        Image2->setPicture(Image13->Picture());
      }
      break;
    case 7:
      Label2->setCaption(QStringLiteral("prev"));
      Image1->setPicture(Image12->Picture());
      break;
    case 8:
      Label2->setCaption(QString());
      break;
  }
}

// ---------------------------------------------------------------- time displays

void remote::Timer3_Timer() {
  // A window never made reads as a closed clip; the CPU meter runs all the same.
  const MediaPlayer* m = wmpPlayer(prog);
  double p = 0;
  guarded([&] { p = m ? m->CurrentPosition() : 0; });
  ShowWmpTime(p);
  guarded([this] { UpdateCpuMeter(); });
}

void remote::ShowWmpTime(double p) {
  if (p == -1) {
    per3->setWidth(0);
    per->setCaption(kTimeZero);
    return;
  }
  MediaPlayer* m = wmpPlayer(prog);
  double d = 0;
  guarded([&] { d = m ? m->Duration() : 0; });
  guarded([&] { per3->setWidth(barWidth(p, d)); });
  // The frame-and-time window counts in frames; the Controller shows its plain figures then.
  const bool frames = wmpControllerVisible();
  guarded([&] {
    if (m) m->setDisplayMode(frames ? 1 : 0);
  });
  const int interval = frames ? 100 : 500;
  if (Timer3->Interval() != interval) Timer3->setInterval(interval);
  per->setCaption(frames ? vb::CStr(p) + QStringLiteral(" / ") + vb::CStr(d)
                         : TimeText(p) + QStringLiteral(" /") + TimeText(d));
}

bool remote::wmpControllerVisible() const {
  const auto* frames = prog.loaded<vlx::wmpcontroller>();
  return frames && frames->Visible();
}

void remote::Timer5_Timer() {
  // Whole seconds, halves to even; 32-bit so that clips beyond nine hours still show.
  const RealAudio* r = rpPlayer(prog);
  int32_t p = 0, n = 0;
  guarded([&] { p = r ? vb::CLng(r->GetPosition() / 1000.0) : 0; });
  guarded([&] { n = r ? vb::CLng(r->GetLength() / 1000.0) : 0; });
  Timer2->setEnabled(false);
  per->setCaption(TimeText(p) + QStringLiteral(" /") + TimeText(n));
  guarded([&] { per3->setWidth(barWidth(p, n)); });
  guarded([this] { UpdateCpuMeter(); });
}

void remote::Label4_Change() {
  // No entry selected in an empty list reads as the idle list.
  if (Label4->Caption() == QStringLiteral("-1/-1")) Label4->setCaption(QStringLiteral("a/f"));
}

// ---------------------------------------------------------------- seeking

void remote::seekBy(float x) {
  // The title reaches beyond the bar's full width; a click there would seek past the end
  // and stop the clip, so it is ignored.
  if (x > kBarWidth) return;
  guarded([&] {
    if (MediaPlayer* m = wmpPlayer(prog)) m->setCurrentPosition(m->Duration() * x / kBarWidth);
  });
  guarded([&] {
    if (RealAudio* r = rpPlayer(prog)) r->SetPosition(vb::CLng(r->GetLength() * double(x) / kBarWidth));
  });
}

void remote::Label1_MouseDown(int, int, float x, float) { seekBy(x); }
void remote::per3_MouseDown(int, int, float x, float) { seekBy(x); }

void remote::startStepping(Label* label, int16_t step) {
  step_ = step;
  label->setForeColor(kSteppingColor);
  Timer4->setEnabled(true);
}

void remote::stopStepping(Label* label) {
  Timer4->setEnabled(false);
  // The saved font colour; without one, the colour the load gave the label (the title's).
  uint32_t color = Label1->ForeColor();
  guarded([&] { color = uint32_t(vb::CLng(ReadSetting("Font", "Color"))); });
  label->setForeColor(color);
}

void remote::Label8_MouseDown() { startStepping(Label8, -1); }
void remote::Label8_MouseUp() { stopStepping(Label8); }
void remote::Label9_MouseDown() { startStepping(Label9, 1); }
void remote::Label9_MouseUp() { stopStepping(Label9); }

// Each tick moves both players by a hundredth of their length.
void remote::Timer4_Timer() {
  guarded([this] {
    if (MediaPlayer* m = wmpPlayer(prog))
      m->setCurrentPosition(m->CurrentPosition() + m->Duration() * step_ / 100);
  });
  guarded([this] {
    if (RealAudio* r = rpPlayer(prog))
      r->SetPosition(vb::CLng(r->GetPosition() + r->GetLength() * double(step_) / 100));
  });
}

void remote::PlayOrPause() {
  if (CurrentClip(prog).status == NowPlaying::Status::Playing)
    Image5_Click();
  else
    mnuplay_Click();
}

void remote::SeekTo(double seconds) {
  const NowPlaying now = CurrentClip(prog);
  if (now.status == NowPlaying::Status::Stopped) return;
  seconds = std::max(0.0, now.length > 0 ? std::min(seconds, now.length) : seconds);
  if (now.rpWindow)
    guarded([&] {
      if (RealAudio* r = rpPlayer(prog)) r->SetPosition(vb::CLng(seconds * 1000));
    });
  else
    guarded([&] {
      if (MediaPlayer* m = wmpPlayer(prog)) m->setCurrentPosition(seconds);
    });
}

void remote::SeekBySeconds(double seconds) {
  const NowPlaying now = CurrentClip(prog);
  if (now.status != NowPlaying::Status::Stopped) SeekTo(now.position + seconds);
}

// ---------------------------------------------------------------- mute and volume

void remote::Command3_Click() {
  const bool mute = Command3->Caption() == kMuteOn;
  Label5->setVisible(mute);
  Slider1->setEnabled(!mute);
  Command3->setCaption(mute ? QStringLiteral("mute off") : kMuteOn);
  Command5->setEnabled(!mute);
  // A window made later takes the button's state when it loads.
  guarded([&] {
    if (MediaPlayer* m = wmpPlayer(prog)) m->setMute(mute);
  });
  guarded([&] {
    if (RealAudio* r = rpPlayer(prog)) r->SetMute(mute);
  });
}

void remote::Command5_Click() {
  const QString path =
      platform::FirstProgramOnPath({QStringLiteral("pavucontrol"), QStringLiteral("pavucontrol-qt")});
  if (!path.isEmpty()) guarded([&] { prog.shell().run(path, {}); });
}

namespace {
constexpr int kVolumeStep = 15;  // of the slider's 300 (0 loudest)
}  // namespace

void remote::StepVolume(int steps) {
  Slider1->setValue(std::clamp(Slider1->Value() - steps * kVolumeStep, Slider1->Min(), Slider1->Max()));
}

double remote::VolumeLevel() const {
  return double(Slider1->Max() - Slider1->Value()) / (Slider1->Max() - Slider1->Min());
}

void remote::setVolumeLevel(double level) {
  level = std::clamp(std::isfinite(level) ? level : 1.0, 0.0, 1.0);
  Slider1->setValue(Slider1->Max() - int(std::lround(level * (Slider1->Max() - Slider1->Min()))));
}

void remote::Slider1_Change() { syncVolume(); }
void remote::Slider1_Scroll() { syncVolume(); }

// Only windows already loaded are told: each one applies the slider itself when it opens a
// clip, so loading the players here (during the Controller's load, say) gains nothing.
void remote::syncVolume() {
  if (auto* wmp = prog.loaded<vlx::Form2>()) wmp->Timer2->setEnabled(true);
  if (auto* rp = prog.loaded<vlx::Form3>()) rp->Timer2->setEnabled(true);
}

}  // namespace vlx
