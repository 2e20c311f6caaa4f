// The base of the Wmp and Rp windows (see player_window.h).
#include "players/player_window.h"

#include <stdexcept>

#include <QComboBox>

#include "app/program.h"
#include "controller/remote.h"
#include "platform/event.h"
#include "players/full_screen.h"
#include "players/playable_path.h"
#include "players/player_controls.h"
#include "playlist/Form1.h"
#include "playlist/path_rules.h"
#include "settings/ini.h"

namespace vlx {

PlayerWindow::PlayerWindow(Program& p, const QString& caption, const Design& design)
    : Form(p, caption),
      mainCaption_(design.mainCaption),
      position_(design.position),
      hideControlsSection_(design.hideControlsSection) {
  QWidget* c = client();
  Label1 = new Label(c, QStringLiteral("no file"));
  Combo1 = new ComboBox(c);
  for (const char* item : design.options) Combo1->AddItem(QString::fromUtf8(item));
  Combo1->setText(QString::fromUtf8(design.optionText));
  // Keys typed into the window go to the player, not into the box, unless the user puts the
  // focus there.
  Combo1->combo()->setFocusPolicy(Qt::ClickFocus);
  ChkHideControls = new CheckBox(c);
  ChkHideControls->setVisible(false);
  Timer2 = new Timer(this, 100, false);

  Timer2->Tick = [this] { Timer2_Timer(); };
  Combo1->Click = [this] { Combo1_Click(); };
  Combo1->Change = [this] { Combo1_Change(); };
}

void PlayerWindow::FindAssociatedProgram() { prog.Form1().ShowAssociatedProgram(); }

void PlayerWindow::Combo1_Click() {
  option_.run(this, Combo1->Text(), [this](const QString& text) { applyOption(text); });
}

QString PlayerWindow::storedHideControls() const {
  return ReadSetting(hideControlsSection_, "CheckValue");
}

void PlayerWindow::storeHideControls(bool hide) {
  ChkHideControls->setValue(hide ? 1 : 0);
  WriteSetting(hideControlsSection_, "CheckValue", hide ? QStringLiteral("1") : QStringLiteral("0"));
}

void PlayerWindow::writeHideControls() {
  WriteSetting(hideControlsSection_, "CheckValue",
               ChkHideControls->Value() == 1 ? QStringLiteral("1") : QStringLiteral("0"));
}

void PlayerWindow::restorePosition() { RestoreWindowPosition(*this, position_); }

void PlayerWindow::savePosition() {
  guarded([this] { SaveWindowPosition(*this, position_); });
}

bool PlayerWindow::hideInsteadOfClosing(int& cancel, int unloadMode) {
  if (!isMain() || unloadMode != vbFormControlMenu) return false;
  cancel = 1;
  Hide();
  return true;
}

QString PlayerWindow::entryToOpen() {
  const QString entry = prog.Form1().lstFoundFiles->Text();
  if (entry.isEmpty()) throw std::runtime_error("no entry selected");
  openedEntry_ = entry;
  return PlayablePath(entry);
}

void PlayerWindow::takeKeys(QWidget* player) {
  fullScreen = &AttachPlayerWindowKeys(*this, player);
  player->setFocusPolicy(Qt::StrongFocus);
  player->setFocus();
}

void PlayerWindow::watchPlayer() {
  QObject::connect(&player(), &PlayerBase::cannotPlay, this,
                   [this](const QString& reason) { guarded([&] { ShowCannotPlay(reason); }); });
}

void PlayerWindow::ShowCannotPlay(const QString& reason) {
  const QString text = FileNamePart(openedEntry_) + QStringLiteral("  (can't play: ") +
                       (reason.isEmpty() ? QStringLiteral("unknown reason") : reason) +
                       QLatin1Char(')');
  Label1->setVisible(true);
  Label1->setCaption(text);
  if (!isMain()) return;
  remote& c = prog.remote();
  c.Timer3->setEnabled(false);
  c.Timer5->setEnabled(false);
  c.ShowPlayerClosed();
  c.Label1->setCaption(text);
}

void PlayerWindow::takeSelectedEntry() {
  guarded([this] { currentFile = prog.Form1().lstFoundFiles->Text(); });
  guarded([this] { FindAssociatedProgram(); });
  currentExt = ExtensionOf(currentFile);
}

void PlayerWindow::applyControllerMute() {
  const remote* c = prog.loaded<vlx::remote>();
  if (!c) return;
  // The button reads "mute off" while the sound is off.
  mutePlayer(c->Command3->Caption() != QLatin1String("mute on"));
}

void ShowExtraPlayerWindow(Program& prog, PlayerWindow& extra, PlayerWindow& main) {
  prog.adopt(&extra);
  guarded([&] { extra.Form_Load(); });
  guarded([&] { extra.openSelected(); });
  guarded([&] { extra.Label1->setCaption(prog.remote().Label1->Caption()); });
  guarded([&] { extra.Show(&main); });
  extra.Move(main.Left() + 900, main.Top() + 900, extra.Width(), extra.Height());
}

}  // namespace vlx
