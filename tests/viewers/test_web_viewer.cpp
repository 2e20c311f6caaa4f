// The web-file viewer on the real web engine (offscreen): local files of every kind the
// dispatch sends, folders, files that cannot be shown, pages that never finish, the
// address box, the toolbar, the playlist arrows, the folder picker, and remote addresses.
#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <sys/stat.h>
#include <unistd.h>
#include <archive.h>

#include "playlist/Form1.h"
#include "support/program_fixture.h"
#include "viewers/frmBrowser.h"
#include "viewers/web_address.h"
#include "samples.h"

namespace vlx::test {
namespace {

constexpr int kLoadWaitMs = 60000;  // the first page also starts the engine

// Runs the event loop until `done` holds. The engine's own work on this thread arrives as
// events, so the loop must run without pauses (QTest::qWaitFor sleeps between rounds).
template <class F>
[[nodiscard]] bool waitFor(F done) {
  if (done()) return true;
  QEventLoop loop;
  QTimer poll, deadline;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
  poll.start(2);
  deadline.setSingleShot(true);
  deadline.start(kLoadWaitMs);
  loop.exec();
  return done();
}
const QString kCaption = QStringLiteral("V L X   [Webfile Viewer]  ");

// A web server on this machine that records what it is asked for. It answers with a page
// titled after the path, except for paths under /hang, which it never answers.
class LocalServer : public QObject {
 public:
  LocalServer() {
    QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { answer(s); });
      }
    });
    server_.listen(QHostAddress::LocalHost);
  }
  QString url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
  }
  QStringList requests;

 private:
  QTcpServer server_;
  void answer(QTcpSocket* s) {
    const QByteArray head = s->readAll();
    const QByteArray path = head.split(' ').value(1);
    requests << QString::fromLatin1(path);
    if (path.startsWith("/hang")) return;
    const QByteArray body = "<html><head><title>served " + path + "</title></head><body>ok</body></html>";
    s->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: " +
             QByteArray::number(body.size()) + "\r\n\r\n" + body);
    s->disconnectFromHost();
  }
};

class WebViewer : public ProgramFixture {
 protected:
  QTemporaryDir dir;
  int loads = 0;
  QStringList navigations;

  QString file(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    writeAll(path, bytes);
    return path;
  }
  frmBrowser& viewer() {
    frmBrowser& b = prog->frmBrowser();
    if (!hooked_) {
      hooked_ = true;
      auto shown = b.brwWebBrowser->DownloadComplete;
      b.brwWebBrowser->DownloadComplete = [this, shown] {
        ++loads;
        shown();
      };
      b.brwWebBrowser->BeforeNavigate2 = [this](const QString& a) { navigations << a; };
      b.Show();
    }
    return b;
  }
  // Waits until a page that finished loading after `before` shows `what` (a path or an
  // address): pages given up on the way finish too, without being what was asked for.
  [[nodiscard]] bool showing(const QString& what, int before) {
    return waitFor(
        [&] {
          platform::WebView* e = viewer().brwWebBrowser->engine();
          if (!e || e->loading() || loads <= before) return false;
          const QString url = QUrl::fromPercentEncoding(e->url().toEncoded());
          return url.endsWith(what) || url.endsWith(what + '/');
        });
  }
  [[nodiscard]] bool open(const QString& address) {
    const int before = loads;
    viewer().cboAddress->setText(address);
    return showing(address, before);
  }
  // The result of a script in the page.
  QString script(const QString& js) {
    QVariant result;
    bool done = false;
    platform::WebView* view = viewer().brwWebBrowser->engine();
    if (!view) return QStringLiteral("<no engine>");
    view->runScript(js, [&](const QVariant& v) {
      result = v;
      done = true;
    });
    if (!waitFor([&] { return done; })) return QStringLiteral("<no answer>");
    return result.toString();
  }
  QString pageText() { return script(QStringLiteral("document.body ? document.body.innerText : ''")); }

 private:
  bool hooked_ = false;
};

// Pictures and a gzip stream written by the formats' own libraries.
QByteArray bytesOf(const spitest::Bytes& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())); }
QByteArray png() { return bytesOf(spitest::encode_png()); }
QByteArray gzipped(const QByteArray& in) {
  return bytesOf(spitest::write_archive(ARCHIVE_FORMAT_RAW, ARCHIVE_FILTER_GZIP,
                                        {{"data", spitest::Bytes(in.begin(), in.end())}}));
}

const QByteArray kSvg =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"50\" height=\"40\"><rect width=\"50\" "
    "height=\"40\" fill=\"red\"/></svg>";

TEST_F(WebViewer, ShowsLocalFilesOfEveryKindTheDispatchSends) {
  const QByteArray mht =
      "From: <saved>\r\nSubject: saved page\r\nMIME-Version: 1.0\r\nContent-Type: multipart/related;"
      " boundary=\"b\"; type=\"text/html\"\r\n\r\n--b\r\nContent-Type: text/html\r\n"
      "Content-Location: http://example.invalid/\r\n\r\n<html><head><title>archived</title></head>"
      "<body>from the archive</body></html>\r\n--b--\r\n";
  struct Case {
    QString name;
    QByteArray bytes;
    const char* check;  // a script whose result must be "yes"
  } cases[] = {
      {"page.htm", "<html><head><title>local page</title></head><body><img src=\"pic.png\"></body></html>",
       "document.title == 'local page' && document.images[0].naturalWidth == 32 ? 'yes' : 'no'"},
      {"pic.png", png(), "document.images[0].naturalWidth == 32 ? 'yes' : 'no'"},
      {"shot.TIF", bytesOf(spitest::encode_tiff(dir.filePath("scratch.tif").toStdString())),
       "document.images[0].naturalWidth == 32 ? 'yes' : 'no'"},
      {"mark.xbm", "#define m_width 8\n#define m_height 2\nstatic unsigned char m_bits[] = {0xff,0x00};\n",
       "document.images[0].naturalWidth == 8 ? 'yes' : 'no'"},
      {"drawing.svg", kSvg, "document.documentElement.tagName == 'svg' ? 'yes' : 'no'"},
      {"drawing.svgz", gzipped(kSvg), "document.documentElement.tagName == 'svg' ? 'yes' : 'no'"},
      {"data.xml", "<?xml version=\"1.0\"?><root><item>seven</item></root>",
       "document.documentElement.textContent.indexOf('seven') >= 0 ? 'yes' : 'no'"},
      {"saved.mht", mht, nullptr},  // scripts do not run in archives: its title tells
      {"note.eml", "From: a@b\r\nSubject: hello\r\n\r\nHello mail body\r\n",
       "document.body.innerText.indexOf('Hello mail body') >= 0 ? 'yes' : 'no'"},
      {"clip.mov", QByteArray(64, 'v'), "document.querySelector('video') ? 'yes' : 'no'"},
      {"movie.swf", "FWS", "document.body.innerText.indexOf('cannot be shown here') >= 0 ? 'yes' : 'no'"},
  };
  file("pic.png", png());
  for (const Case& c : cases) {
    const QString path = file(c.name, c.bytes);
    ASSERT_TRUE(open(path)) << qPrintable(c.name);
    if (c.check) {
      EXPECT_EQ(script(QString::fromLatin1(c.check)), QStringLiteral("yes")) << qPrintable(c.name);
    } else {
      EXPECT_EQ(viewer().brwWebBrowser->LocationName(), QStringLiteral("archived"));
    }
    EXPECT_FALSE(viewer().brwWebBrowser->Busy()) << qPrintable(c.name);
  }
  EXPECT_EQ(viewer().Caption(), kCaption + QStringLiteral("movie.swf"));
}

TEST_F(WebViewer, FilesThatCannotBeShownGetAPageThatSaysWhy) {
  const QString fifo = dir.filePath("pipe.htm");
  ASSERT_EQ(::mkfifo(fifo.toUtf8().constData(), 0600), 0);
  // 100 MB on disk without writing them.
  const QString huge = dir.filePath("huge.svg");
  ASSERT_EQ(::truncate((writeAll(huge, kSvg), huge.toUtf8().constData()), 100 * 1024 * 1024), 0);
  struct Case {
    QString path;
    const char* reason;
  } cases[] = {
      {dir.filePath("missing.htm"), "does not exist"},
      {fifo, "not a regular file"},
      {QStringLiteral("/dev/zero"), "not a regular file"},
      {huge, "too large to show here (100.0 MB; the limit is 64.0 MB)"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(open(c.path)) << qPrintable(c.path);
    const QString text = pageText();
    EXPECT_TRUE(text.contains(c.path)) << qPrintable(text);
    EXPECT_TRUE(text.contains(QLatin1String(c.reason))) << qPrintable(text);
    EXPECT_EQ(viewer().Caption(), kCaption + QFileInfo(c.path).fileName());
  }
}

TEST_F(WebViewer, APageWhoseScriptNeverEndsDoesNotHoldUpTheNextOne) {
  const QString loop = file("loop.htm", "<html><head><title>loop</title></head><body><script>"
                                        "document.title = 'looping'; while (true) {}</script></body></html>");
  const QString next = file("next.htm", "<html><head><title>next</title></head></html>");
  frmBrowser& b = viewer();
  b.cboAddress->setText(loop);
  ASSERT_TRUE(waitFor([&] { return b.brwWebBrowser->LocationName() == QStringLiteral("looping"); }));
  ASSERT_TRUE(open(next)) << "the renderer held up by the script is ended";
  EXPECT_EQ(b.brwWebBrowser->LocationName(), QStringLiteral("next"));
  EXPECT_EQ(script(QStringLiteral("'alive'")), QStringLiteral("alive"));
}

TEST_F(WebViewer, TheAddressBoxNavigatesOnEveryChangeAndOnEnter) {
  const QString page = file("typed.htm", "<html><head><title>typed</title></head></html>");
  frmBrowser& b = viewer();
  auto* line = qobject_cast<QLineEdit*>(b.cboAddress->widget());
  ASSERT_NE(line, nullptr);
  QTest::keyClicks(line, page.left(page.size() - 3));
  const int typed = int(navigations.size());
  EXPECT_EQ(typed, page.size() - 3) << "one navigation per keystroke";
  const int before = loads;
  QTest::keyClicks(line, QStringLiteral("htm"));
  ASSERT_TRUE(showing(page, before));
  EXPECT_EQ(navigations.size(), page.size());
  const int again = loads;
  QTest::keyClick(line, Qt::Key_Return);
  EXPECT_EQ(navigations.size(), page.size() + 1);
  ASSERT_TRUE(showing(page, again));
  EXPECT_EQ(b.Caption(), kCaption + QStringLiteral("typed"));
}

TEST_F(WebViewer, TheToolbarNavigatesAndTheCaptionFollowsTheLoad) {
  LocalServer server;
  const QString one = file("one.htm", "<html><head><title>one</title></head></html>");
  const QString two = file("two.htm", "<html><head><title>two</title></head></html>");
  frmBrowser& b = viewer();
  ASSERT_TRUE(open(one));
  ASSERT_TRUE(open(two));
  auto press = [&](const char* key, const QString& shown) {
    const int before = loads;
    b.tbToolBar->press(QString::fromLatin1(key));
    EXPECT_TRUE(b.timTimer->Enabled()) << key;
    return showing(shown, before);
  };
  ASSERT_TRUE(press("Back", one));
  EXPECT_EQ(b.brwWebBrowser->LocationName(), QStringLiteral("one"));
  ASSERT_TRUE(press("Forward", two));
  EXPECT_EQ(b.brwWebBrowser->LocationName(), QStringLiteral("two"));
  ASSERT_TRUE(press("Refresh", two));
  // The manual pages show with their pictures; Home is the first of them.
  const QString everyPicture = QStringLiteral(
      "Array.from(document.images).every(function(i){return i.complete && i.naturalWidth > 0})"
      " ? 'yes' : 'no'");
  ASSERT_TRUE(open(prog->dataFolder() + "/Manual/correspondence_file_type.htm"));
  EXPECT_EQ(script(everyPicture), QStringLiteral("yes"));
  ASSERT_TRUE(press("Home", QStringLiteral("/Manual/vlx_man.htm")));
  EXPECT_EQ(b.brwWebBrowser->LocationName(), QStringLiteral("VLX manual"));
  EXPECT_EQ(script(everyPicture), QStringLiteral("yes"));
  EXPECT_FALSE(b.txthost->Text().isEmpty());
  EXPECT_FALSE(b.txtIP->Text().isEmpty());
  b.timTimer->fire();
  EXPECT_FALSE(b.timTimer->Enabled()) << "the busy timer stops when the page is there";
  EXPECT_EQ(b.Caption(), kCaption + QStringLiteral("VLX manual"));

  // A page that is still loading: the timer shows it, and Stop ends it at once.
  b.cboAddress->setText(server.url(QStringLiteral("/hang")));
  ASSERT_TRUE(waitFor([&] { return server.requests.contains(QStringLiteral("/hang")); }));
  b.tbToolBar->press(QStringLiteral("Refresh"));
  ASSERT_TRUE(waitFor([&] { return b.brwWebBrowser->Busy(); }));
  b.timTimer->fire();
  EXPECT_EQ(b.Caption(), kCaption + QStringLiteral("connecting..."));
  b.tbToolBar->press(QStringLiteral("Stop"));
  EXPECT_FALSE(b.timTimer->Enabled());
  EXPECT_EQ(b.Caption(), kCaption + b.brwWebBrowser->LocationName());
  EXPECT_FALSE(b.Caption().endsWith(QStringLiteral("connecting...")));
}

TEST_F(WebViewer, RemoteAddressesLoadWhenTypedButNeverOnALocalPagesBehalf) {
  LocalServer server;
  ASSERT_TRUE(open(server.url(QStringLiteral("/typed"))));
  EXPECT_EQ(server.requests.value(0), QStringLiteral("/typed"));
  EXPECT_EQ(viewer().brwWebBrowser->LocationName(), QStringLiteral("served /typed"));

  const QString local = file("calls-out.htm", ("<html><head><title>local</title></head><body>"
                                                "<img id=i src=\"" + server.url("/picture.png") +
                                                "\"><iframe src=\"" + server.url("/frame") +
                                                "\"></iframe><script>fetch('" + server.url("/fetch") +
                                                "').catch(function(){});</script></body></html>")
                                                   .toUtf8());
  ASSERT_TRUE(open(local));
  // By the time the picture has failed, any request would have been made.
  ASSERT_TRUE(waitFor([&] {
    return script(QStringLiteral("document.getElementById('i').complete ? 'done' : ''")) ==
           QStringLiteral("done");
  }));
  for (const char* path : {"/picture.png", "/frame", "/fetch"})
    EXPECT_FALSE(server.requests.contains(QLatin1String(path))) << path;
}

TEST_F(WebViewer, TheArrowsStepThroughThePlaylist) {
  const QString a = file("a.htm", "<title>a</title>"), b = file("b.htm", "<title>b</title>");
  Form1& pl = prog->Form1();
  pl.AddEntries({a, b});
  frmBrowser& v = viewer();
  pl.lstFoundFiles->setListIndex(0);
  struct Step {
    bool down;
    int index;
    QString address;
  } steps[] = {{true, 1, b}, {true, 1, b} /* past the last: nothing changes */, {false, 0, a},
               {false, -1, QString()} /* above the first: selection and address cleared */};
  for (const Step& s : steps) {
    (s.down ? v.UpDown1->downButton() : v.UpDown1->upButton())->click();
    EXPECT_EQ(pl.lstFoundFiles->ListIndex(), s.index);
    EXPECT_EQ(v.cboAddress->Text(), s.address);
  }
  EXPECT_EQ(navigations, (QStringList{WebAddressUrl(b).toString(), WebAddressUrl(a).toString()}))
      << "an emptied address loads nothing";
}

TEST_F(WebViewer, TheFolderPickerShowsAFolderListingOrSaysTheFolderIsNotThere) {
  file("listed-file.txt", "x");
  frmBrowser& b = viewer();
  dialogs->fileAnswers.push_back(dir.path());
  const int before = loads;
  b.Picture1->Click();
  EXPECT_EQ(dialogs->dialogTitles.back(), QStringLiteral("Select folder !"));
  EXPECT_EQ(b.cboAddress->Text(), dir.path());
  ASSERT_TRUE(showing(dir.path(), before));
  EXPECT_TRUE(pageText().contains(QStringLiteral("listed-file.txt")));

  dialogs->fileAnswers.push_back(dir.filePath("gone"));
  b.Picture1->Click();
  EXPECT_EQ(dialogs->messageTexts().value(0), QStringLiteral("device is nonexistent!"));
  EXPECT_EQ(b.cboAddress->Text(), dir.path());
  dialogs->fileAnswers.push_back(QString());  // cancelled
  b.Picture1->Click();
  EXPECT_EQ(dialogs->messages.size(), 1u);
}

TEST(WebAddress, PathsSchemesAndBareNames) {
  struct Case {
    QString text;
    QString url;
  } cases[] = {
      {QStringLiteral("/a b/c#1.htm"), QStringLiteral("file:///a%20b/c%231.htm")},
      {QStringLiteral("/trailing blank "), QStringLiteral("file:///trailing%20blank%20")},
      {QStringLiteral("http://example.org/x"), QStringLiteral("http://example.org/x")},
      {QStringLiteral("  example.org  "), QStringLiteral("http://example.org")},
      {QStringLiteral("localhost:8080"), QStringLiteral("http://localhost:8080")},
      {QStringLiteral("about:blank"), QStringLiteral("about:blank")},
      {QStringLiteral("file:///etc/hosts"), QStringLiteral("file:///etc/hosts")},
      {QStringLiteral("~/notes.htm"), QUrl::fromLocalFile(QDir::homePath() + "/notes.htm").toString()},
      {QString(), QString()},
  };
  for (const Case& c : cases) EXPECT_EQ(WebAddressUrl(c.text).toString(QUrl::FullyEncoded), c.url) << qPrintable(c.text);
}

}  // namespace
}  // namespace vlx::test
