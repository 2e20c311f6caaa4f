// The player controls hosted by the player windows: MediaPlayer (Wmp window),
// RealAudio (Rp window) and WindowsMediaPlayer (Wmp9 window).
//
// Each control is a widget that owns its own engine (one player core each), shows the
// picture above a control panel of ours, and offers the members and events that the
// windows and the Controller use. Events are std::function members; each is raised
// under a guard, so no exception from a handler ever leaves the control.
#pragma once

#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/player_engine.h"

namespace vlx {

class PlayerPanel;
class MediaSession;

// Volume in hundredths of a decibel (0 loudest, -10000 silent) to mpv's volume
// (0..100 on its cubic scale), and back. Values beyond the ends are clamped.
double mpvVolumeFromHundredthsDb(int32_t hundredthsDb);
int32_t hundredthsDbFromMpvVolume(double percent);

// What the three controls share: the engine, the picture area and the panel.
class PlayerBase : public QWidget {
  Q_OBJECT

 public:
  ~PlayerBase() override;

  platform::PlayerEngine& engine() { return *engine_; }
  const platform::PlayerEngine& engine() const { return *engine_; }
  QWidget* videoArea() const { return videoArea_; }
  PlayerPanel* panel() const { return panel_; }

  QSize sizeHint() const override;

 Q_SIGNALS:
  // The size the control asks for changed (video size, zoom or panels).
  void preferredSizeChanged(QSize size);
  // The file given to the control could not be played, for the reason given.
  void cannotPlay(const QString& reason);

 protected:
  PlayerBase(std::unique_ptr<platform::PlayerEngine> engine, QWidget* parent);
  // Builds the panel; called once by the derived constructor.
  void createPanel(std::function<QString()> status);
  void setPanelParts(int parts);
  void setImageVisible(bool on);
  // The size of the picture area the control asks for.
  virtual QSize videoHint() const;
  virtual void videoDoubleClicked() {}
  virtual void preferredSizeMayHaveChanged();
  QSize lastHint() const { return lastHint_; }
  bool eventFilter(QObject* watched, QEvent* event) override;

  // What the panel's buttons and sliders do.
  virtual void panelPlay() = 0;
  virtual void panelPause() = 0;
  virtual void panelStop() = 0;
  virtual void panelSeek(double seconds) = 0;
  virtual double panelPosition() const = 0;
  virtual double panelDuration() const = 0;
  virtual void panelSetVolume(int percent) = 0;
  virtual void panelSetMute(bool on) = 0;

 private:
  std::unique_ptr<platform::PlayerEngine> engine_;
  QWidget* videoArea_ = nullptr;
  PlayerPanel* panel_ = nullptr;
  QSize lastHint_;
};

// The player of the Wmp window.
class MediaPlayer : public PlayerBase {
  Q_OBJECT

 public:
  explicit MediaPlayer(std::unique_ptr<platform::PlayerEngine> engine, QWidget* parent = nullptr);
  ~MediaPlayer() override;

  // Loads a file and starts playing it.
  void Open(const QString& path);
  void Play();
  void Pause();
  void Stop();

  // Seconds; writing seeks. 0 after Stop and with nothing open.
  double CurrentPosition() const;
  void setCurrentPosition(double seconds);
  double Duration() const;
  // 0 stopped, 1 paused, 2 playing, 3 waiting, 4 scan forward, 5 scan reverse,
  // 6 closed (nothing opened yet).
  int32_t PlayState() const;

  // 0 position counted in time, 1 in frames.
  int32_t DisplayMode() const { return displayMode_; }
  void setDisplayMode(int32_t mode);
  double Rate() const { return rate_; }
  void setRate(double rate);
  // 0 default, 1 half, 2 double, 5 1/16 of the screen, 6 1/4, 7 1/2.
  int32_t DisplaySize() const { return displaySize_; }
  void setDisplaySize(int32_t size);
  bool Mute() const { return mute_; }
  void setMute(bool on);
  // Hundredths of a decibel, -10000..0, 0 loudest.
  int32_t Volume() const { return volume_; }
  void setVolume(int32_t hundredthsDb);

  // The five panel switches.
  bool ShowControls() const { return showControls_; }
  void setShowControls(bool on);
  bool ShowPositionControls() const { return showPositionControls_; }
  void setShowPositionControls(bool on);
  bool ShowTracker() const { return showTracker_; }
  void setShowTracker(bool on);
  bool ShowAudioControls() const { return showAudioControls_; }
  void setShowAudioControls(bool on);
  bool ShowStatusBar() const { return showStatusBar_; }
  void setShowStatusBar(bool on);

  // Whether the control resizes itself to the size it asks for (on by default).
  bool AutoSize() const { return autoSize_; }
  void setAutoSize(bool on);

  std::function<void(int32_t)> EndOfStream;
  std::function<void(int32_t, int32_t)> PlayStateChange;
  std::function<void()> NewStream;

 protected:
  QSize videoHint() const override;
  void preferredSizeMayHaveChanged() override;
  void panelPlay() override { Play(); }
  void panelPause() override { Pause(); }
  void panelStop() override { Stop(); }
  void panelSeek(double seconds) override { setCurrentPosition(seconds); }
  double panelPosition() const override { return CurrentPosition(); }
  double panelDuration() const override { return Duration(); }
  void panelSetVolume(int percent) override;
  void panelSetMute(bool on) override { setMute(on); }

 private:
  void applyPanels();
  QString statusText() const;

  std::unique_ptr<MediaSession> session_;
  int32_t displayMode_ = 0;
  double rate_ = 1.0;
  int32_t displaySize_ = 0;
  bool mute_ = false;
  int32_t volume_ = 0;
  bool showControls_ = true;
  bool showPositionControls_ = true;
  bool showTracker_ = true;
  bool showAudioControls_ = true;
  bool showStatusBar_ = false;
  bool autoSize_ = true;
};

// The player of the Rp window.
class RealAudio : public PlayerBase {
  Q_OBJECT

 public:
  explicit RealAudio(std::unique_ptr<platform::PlayerEngine> engine, QWidget* parent = nullptr);
  ~RealAudio() override;

  // Setting it closes the current clip and opens the new one (and plays it).
  QString Source() const { return source_; }
  void setSource(const QString& path);
  // "ImageWindow" or "ImageWindow,ControlPanel,StatusBar".
  QString Controls() const { return controls_; }
  void setControls(const QString& controls);

  void DoPlay();
  void DoPause();
  void DoStop();
  // Milliseconds.
  int32_t GetPosition() const;
  int32_t GetLength() const;
  void SetPosition(int32_t ms);
  QString GetTitle() const;
  QString GetAuthor() const;
  // 0..100.
  void SetVolume(int32_t volume);
  void SetMute(bool on);

  std::function<void(QString, QString)> OnClipOpened;
  std::function<void()> OnClipClosed;

 protected:
  void panelPlay() override { DoPlay(); }
  void panelPause() override { DoPause(); }
  void panelStop() override { DoStop(); }
  void panelSeek(double seconds) override;
  double panelPosition() const override { return GetPosition() / 1000.0; }
  double panelDuration() const override { return GetLength() / 1000.0; }
  void panelSetVolume(int percent) override { SetVolume(percent); }
  void panelSetMute(bool on) override { SetMute(on); }

 private:
  enum class Intent { Play, Pause };
  void loaded();
  void ended(platform::PlayerEngine::EndReason reason);
  void closeByCommand(int32_t positionMs);
  QString statusText() const;

  QString source_;
  QString controls_;
  Intent intent_ = Intent::Play;
  bool open_ = false;            // OnClipOpened raised, OnClipClosed not yet
  int32_t lengthMs_ = 0;
  int32_t closedPositionMs_ = 0;  // what GetPosition reports while no clip is loaded
  int generation_ = 0;
  int32_t volume_ = 100;
  bool mute_ = false;
};

// The player of the Wmp9 window: a URL and its own controls.
class WindowsMediaPlayer : public PlayerBase {
  Q_OBJECT

 public:
  explicit WindowsMediaPlayer(std::unique_ptr<platform::PlayerEngine> engine,
                              QWidget* parent = nullptr);
  ~WindowsMediaPlayer() override;

  // Setting it loads the file and starts it; an empty URL closes the clip.
  QString URL() const { return url_; }
  void setURL(const QString& url);

  std::function<void()> DoubleClick;

 protected:
  void videoDoubleClicked() override;
  void panelPlay() override;
  void panelPause() override;
  void panelStop() override;
  void panelSeek(double seconds) override;
  double panelPosition() const override;
  double panelDuration() const override;
  void panelSetVolume(int percent) override;
  void panelSetMute(bool on) override;

 private:
  std::unique_ptr<MediaSession> session_;
  QString url_;
};

}  // namespace vlx
