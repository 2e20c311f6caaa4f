// WebBrowser: the embedded web view with navigation, history, a busy state and the name
// of the place shown. The web engine is started after the window that holds the control
// has first painted itself, so the window comes up at once; commands given before then
// wait for it (the last one runs).
#pragma once
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

#include "platform/control.h"
#include "platform/web_view.h"

class QLabel;

namespace vlx {

class WebBrowser : public Control {
 public:
  explicit WebBrowser(QWidget* parent);
  ~WebBrowser() override;

  // An empty address changes nothing.
  void Navigate(const QUrl& address);
  void GoBack();
  void GoForward();
  void Refresh();
  void GoHome();
  void GoSearch();
  void Stop();
  bool Busy() const;
  // The page's title, or the name of the file or host when it has none.
  QString LocationName() const;
  QString LocationURL() const;
  void setHomePage(const QUrl& address) { home_ = address; }
  void setSearchPage(const QUrl& address) { search_ = address; }

  Event<QString> BeforeNavigate2;  // the address, before the view is asked to load it
  Event<> DownloadComplete;

  // The engine's view once it runs; null before, or when the engine is not available
  // (`EngineError` then says why).
  platform::WebView* engine() const { return view_.get(); }
  QString EngineError() const { return engineError_; }

 private:
  QWidget* box_;
  QLabel* notice_;
  std::unique_ptr<platform::WebView> view_;
  std::function<void(platform::WebView&)> waiting_;
  QUrl home_, search_;
  QString engineError_;
  bool engineAsked_ = false;
  void run(std::function<void(platform::WebView&)> command);
  void startEngine();
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vlx
