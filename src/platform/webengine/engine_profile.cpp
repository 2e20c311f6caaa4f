// The shared profile (see engine_profile.h).
#include "platform/webengine/engine_profile.h"

#include <QApplication>
#include <QBuffer>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

#include "platform/webengine/local_content.h"

namespace vlx::platform::web {
namespace {

// Serves vlx-file: addresses; the file is read and converted on a worker thread.
class LocalSchemeHandler : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  void requestStarted(QWebEngineUrlRequestJob* job) override {
    const QByteArray path = NativePathOf(job->requestUrl());
    QPointer<QWebEngineUrlRequestJob> guard(job);
    QThreadPool::globalInstance()->start([path, guard] {
      LocalPage page = MakeLocalPage(path);
      QMetaObject::invokeMethod(qApp, [guard, page = std::move(page)] {
        if (!guard) return;
        auto* body = new QBuffer(guard);
        body->setData(page.data);
        body->open(QIODevice::ReadOnly);
        guard->reply(page.mimeType, body);
      });
    });
  }
};

// Local files opened as pages that the engine must not read itself go to vlx-file:; a
// pipe or device named as part of a page is never read.
class LocalFileGuard : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    const QUrl url = info.requestUrl();
    if (url.scheme() != QStringLiteral("file")) return;
    const QByteArray path = NativePathOf(url);
    const auto type = info.resourceType();
    if (type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame ||
        type == QWebEngineUrlRequestInfo::ResourceTypeSubFrame) {
      if (NeedsLocalPage(path)) info.redirect(LocalPageUrlOf(path));
    } else if (!MayReadPart(path)) {
      info.block(true);
    }
  }
};

void registerLocalScheme() {
  QWebEngineUrlScheme scheme(kLocalScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
  QWebEngineUrlScheme::registerScheme(scheme);
}

// A file the engine would only offer to save is shown as a page that says so.
void refuseDownload(QWebEngineDownloadRequest* download) {
  download->cancel();
  QPointer<QWebEnginePage> page(download->page());
  const QUrl url = download->url();
  const QString type = download->mimeType();
  QTimer::singleShot(0, qApp, [page, url, type] {
    if (!page) return;
    const QString name = url.fileName().isEmpty() ? url.toDisplayString() : url.fileName();
    const QString reason = QStringLiteral("Files of this type (%1) cannot be shown here.")
                               .arg(type.isEmpty() ? QStringLiteral("unknown") : type);
    page->setHtml(QString::fromUtf8(MessagePage(name, url.toDisplayString(), reason)));
  });
}

}  // namespace

QWebEngineProfile* SharedProfile() {
  static QPointer<QWebEngineProfile> profile;
  if (profile) return profile;
  static bool registered = false;
  if (!registered) {
    registerLocalScheme();
    registered = true;
  }
  // Off the record: no cookies, cache or history are written to disk.
  profile = new QWebEngineProfile(qApp);
  QWebEngineSettings* s = profile->settings();
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
  s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  s->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
  profile->installUrlSchemeHandler(kLocalScheme, new LocalSchemeHandler(profile));
  profile->setUrlRequestInterceptor(new LocalFileGuard(profile));
  QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile, &refuseDownload);
  return profile;
}

}  // namespace vlx::platform::web
