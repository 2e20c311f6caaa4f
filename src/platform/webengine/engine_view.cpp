// The web view on the web engine (see engine_view.h).
#include "platform/webengine/engine_view.h"

#include <QWebEnginePage>
#include <QWebEngineView>
#include <csignal>

#include "platform/webengine/engine_profile.h"
#include "platform/webengine/local_content.h"

namespace vlx::platform::web {
namespace {

class Page : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;

 protected:
  // Pages that open a window of their own open it here: the viewer has one view.
  QWebEnginePage* createWindow(WebWindowType) override { return this; }
  // A page's console messages are no business of the terminal.
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                const QString&) override {}
};

}  // namespace

EngineView::EngineView(QWidget* parent) : view_(new QWebEngineView(parent)) {
  page_ = new Page(SharedProfile(), view_);
  view_->setPage(page_);
  startWait_.setSingleShot(true);
  answerWait_.setSingleShot(true);
  QObject::connect(&startWait_, &QTimer::timeout, this, [this] { askRendererAlive(); });
  QObject::connect(&answerWait_, &QTimer::timeout, this, [this] { endRenderer(); });
  QObject::connect(page_, &QWebEnginePage::loadStarted, this, [this] {
    startWait_.stop();
    answerWait_.stop();
    pendingCommand_ = nullptr;
    if (loadStarted) loadStarted();
  });
  QObject::connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
    if (loadFinished) loadFinished(ok);
  });
  QObject::connect(page_, &QWebEnginePage::renderProcessTerminated, this, [this] {
    if (!retryAfterEnd_ || !pendingCommand_) return;
    retryAfterEnd_ = false;
    const auto again = pendingCommand_;
    again();
  });
}

EngineView::~EngineView() { delete view_; }

QWidget* EngineView::widget() { return view_; }

void EngineView::command(std::function<void()> run) {
  pendingCommand_ = run;
  answerWait_.stop();
  startWait_.start(kStartWaitMs);
  run();
}

void EngineView::askRendererAlive() {
  if (!pendingCommand_ || page_->renderProcessPid() <= 0) return;
  answerWait_.start(kAnswerWaitMs);
  page_->runJavaScript(QStringLiteral("0"), [this, guard = QPointer<QObject>(this)](const QVariant&) {
    if (guard) answerWait_.stop();
  });
}

void EngineView::endRenderer() {
  const qint64 pid = page_->renderProcessPid();
  if (!pendingCommand_ || pid <= 0) return;
  retryAfterEnd_ = true;
  ::kill(pid_t(pid), SIGKILL);
}

void EngineView::load(const QUrl& url) {
  command([this, url] { page_->load(url); });
}
void EngineView::back() {
  if (page_->action(QWebEnginePage::Back)->isEnabled())
    command([this] { page_->triggerAction(QWebEnginePage::Back); });
}
void EngineView::forward() {
  if (page_->action(QWebEnginePage::Forward)->isEnabled())
    command([this] { page_->triggerAction(QWebEnginePage::Forward); });
}
void EngineView::reload() {
  command([this] { page_->triggerAction(QWebEnginePage::Reload); });
}
void EngineView::stop() {
  startWait_.stop();
  answerWait_.stop();
  pendingCommand_ = nullptr;
  page_->triggerAction(QWebEnginePage::Stop);
}
bool EngineView::loading() const { return page_->isLoading(); }
QString EngineView::title() const { return page_->title(); }
QUrl EngineView::url() const { return page_->url(); }

void EngineView::runScript(const QString& script, std::function<void(const QVariant&)> done) {
  page_->runJavaScript(script, [done = std::move(done)](const QVariant& v) {
    if (done) done(v);
  });
}

}  // namespace vlx::platform::web

extern "C" Q_DECL_EXPORT int vlx_web_module_abi() { return vlx::platform::kWebModuleAbi; }

extern "C" Q_DECL_EXPORT vlx::platform::WebView* vlx_create_web_view(QWidget* parent) {
  return new vlx::platform::web::EngineView(parent);
}
