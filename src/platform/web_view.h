// The web view behind the WebBrowser control. It comes from a module of its own, loaded at
// run time when a web view is first needed, so that starting the program never pays for
// the web engine.
#pragma once
#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>

class QWidget;

namespace vlx::platform {

class WebView {
 public:
  virtual ~WebView() = default;
  virtual QWidget* widget() = 0;
  virtual void load(const QUrl& url) = 0;
  virtual void back() = 0;
  virtual void forward() = 0;
  virtual void reload() = 0;
  virtual void stop() = 0;
  virtual bool loading() const = 0;
  virtual QString title() const = 0;
  virtual QUrl url() const = 0;
  // Runs a script in the page and hands its result to `done`.
  virtual void runScript(const QString& script, std::function<void(const QVariant&)> done) = 0;

  // Set by the control.
  std::function<void()> loadStarted;
  std::function<void(bool ok)> loadFinished;
};

// The module's entry points.
extern "C" {
using WebModuleAbiFn = int (*)();
using CreateWebViewFn = WebView* (*)(QWidget* parent);
}
inline constexpr int kWebModuleAbi = 1;
inline constexpr char kWebModuleAbiSymbol[] = "vlx_web_module_abi";
inline constexpr char kCreateWebViewSymbol[] = "vlx_create_web_view";
inline constexpr char kWebModuleFile[] = "vlxweb.so";

}  // namespace vlx::platform
