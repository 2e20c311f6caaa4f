// WebBrowser (see web_browser.h).
#include "platform/web_browser.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/web_module.h"

namespace vlx {
namespace {

// The name of the place: the last part of its path, else its host, else the address.
QString placeName(const QUrl& url) {
  const QString file = url.fileName();
  if (!file.isEmpty()) return file;
  if (!url.host().isEmpty()) return url.host();
  return url.toDisplayString();
}

}  // namespace

WebBrowser::WebBrowser(QWidget* parent) : Control(new QWidget(parent)) {
  box_ = widget();
  auto* layout = new QVBoxLayout(box_);
  layout->setContentsMargins(0, 0, 0, 0);
  notice_ = new QLabel(box_);
  notice_->setWordWrap(true);
  notice_->setAlignment(Qt::AlignCenter);
  layout->addWidget(notice_);
  box_->installEventFilter(this);
}

WebBrowser::~WebBrowser() = default;

bool WebBrowser::eventFilter(QObject* watched, QEvent* event) {
  // The engine starts once the window is on screen, after this first paint.
  if (watched == box_ && event->type() == QEvent::Paint && engineAsked_ && !view_ &&
      engineError_.isEmpty())
    QTimer::singleShot(0, this, [this] { startEngine(); });
  return Control::eventFilter(watched, event);
}

void WebBrowser::run(std::function<void(platform::WebView&)> command) {
  if (view_) {
    command(*view_);
    return;
  }
  if (!engineError_.isEmpty()) return;
  waiting_ = std::move(command);
  if (!engineAsked_) {
    engineAsked_ = true;
    box_->update();
  }
}

void WebBrowser::startEngine() {
  if (view_ || !engineError_.isEmpty()) return;
  const platform::CreateWebViewFn create = platform::LoadWebModule(&engineError_);
  if (!create) {
    if (engineError_.isEmpty()) engineError_ = QStringLiteral("unknown reason");
    notice_->setText(QStringLiteral("The web view is not available:\n") + engineError_);
    waiting_ = nullptr;
    return;
  }
  view_.reset(create(box_));
  notice_->hide();
  box_->layout()->addWidget(view_->widget());
  view_->loadFinished = [this](bool) { raise(DownloadComplete); };
  if (auto command = std::move(waiting_)) {
    waiting_ = nullptr;
    command(*view_);
  }
}

void WebBrowser::Navigate(const QUrl& address) {
  if (address.isEmpty()) return;
  raise(BeforeNavigate2, address.toString());
  run([address](platform::WebView& v) { v.load(address); });
}

void WebBrowser::GoBack() {
  run([](platform::WebView& v) { v.back(); });
}
void WebBrowser::GoForward() {
  run([](platform::WebView& v) { v.forward(); });
}
void WebBrowser::Refresh() {
  run([](platform::WebView& v) { v.reload(); });
}
void WebBrowser::GoHome() { Navigate(home_); }
void WebBrowser::GoSearch() { Navigate(search_); }

void WebBrowser::Stop() {
  if (view_) view_->stop();
  else waiting_ = nullptr;
}

bool WebBrowser::Busy() const { return view_ ? view_->loading() : bool(waiting_); }

QString WebBrowser::LocationName() const {
  if (!view_) return {};
  const QUrl url = view_->url();
  const QString title = view_->title();
  const bool untitled = title.isEmpty() || title == url.toString() ||
                        title == url.toDisplayString() || title == url.toString(QUrl::RemoveScheme);
  return untitled ? placeName(url) : title;
}

QString WebBrowser::LocationURL() const { return view_ ? view_->url().toString() : QString(); }

}  // namespace vlx
