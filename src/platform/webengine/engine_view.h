// The web view of the WebBrowser control on the web engine. A page whose script never
// returns holds up every later load in its renderer; when a load has not started a few
// seconds after it was asked for and the renderer does not answer, the renderer is ended
// and the load asked for again.
#pragma once
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "platform/web_view.h"

class QWebEngineView;
class QWebEnginePage;

namespace vlx::platform::web {

class EngineView final : public QObject, public WebView {
 public:
  explicit EngineView(QWidget* parent);
  ~EngineView() override;

  QWidget* widget() override;
  void load(const QUrl& url) override;
  void back() override;
  void forward() override;
  void reload() override;
  void stop() override;
  bool loading() const override;
  QString title() const override;
  QUrl url() const override;
  void runScript(const QString& script, std::function<void(const QVariant&)> done) override;

  // How long a load may wait to start before the renderer is asked whether it is alive,
  // and how long it has to answer.
  static constexpr int kStartWaitMs = 2500;
  static constexpr int kAnswerWaitMs = 1000;

 private:
  QPointer<QWebEngineView> view_;
  QWebEnginePage* page_;
  QTimer startWait_;
  QTimer answerWait_;
  std::function<void()> pendingCommand_;  // the load waiting to start
  bool retryAfterEnd_ = false;
  void command(std::function<void()> run);
  void askRendererAlive();
  void endRenderer();
};

}  // namespace vlx::platform::web
