// The text viewer: what a file shows as (encodings, RTF, files that are not text), how a
// long text reaches the screen, the box's layout and the places that open files in it.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>
#include <unistd.h>

#include "playlist/Form1.h"
#include "support/program_fixture.h"
#include "viewers/dispatch.h"
#include "viewers/text.h"
#include "viewers/text_file.h"

namespace vlx::test {
namespace {

class TextViewer : public ProgramFixture {
 protected:
  QTemporaryDir dir;
  QString file(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    writeAll(path, bytes);
    return path;
  }
  text& viewer() { return prog->text(); }
  QString shown(const QString& path) {
    viewer().LoadFile(path);
    viewer().RichTextBox1->finishLoading();
    return viewer().RichTextBox1->Text();
  }
};

TEST_F(TextViewer, ShowsTextInTheEncodingItWasWrittenIn) {
  const QString japanese = QStringLiteral("日本語のテキスト、カタカナ①～\n");
  struct Case {
    const char* name;
    QByteArray bytes;
    QString text;
  } cases[] = {
      {"utf8.txt", japanese.toUtf8(), japanese},
      {"bom.txt", "\xEF\xBB\xBF" + japanese.toUtf8(), japanese},
      {"le.txt", QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(japanese.utf16()), japanese.size() * 2), japanese},
      // Shift_JIS as Windows writes it: あいう, the circled 1 of its extensions, the wave dash.
      {"sjis.txt", QByteArray::fromHex("82a082a282a4874081600d0a8365834c8358836782c582b7"),
       QStringLiteral("あいう①～\r\nテキストです")},
      {"euc.txt", QByteArray::fromHex("a4a2a4a4a4a60aa5c6a5ada5b9a5c8a4c7a4b9"),
       QStringLiteral("あいう\nテキストです")},
      {"latin.txt", QByteArray("caf\xE9 cr\xE8me br\xFBl\xE9\x65 \x80 5"), QStringLiteral("café crème brûlée € 5")},
  };
  QByteArray be("\xFE\xFF", 2);
  for (QChar c : japanese) be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
  for (const Case& c : cases) EXPECT_EQ(shown(file(c.name, c.bytes)), QString(c.text).replace("\r\n", "\n").replace("\n", "\r\n")) << c.name;
  EXPECT_EQ(shown(file("be.txt", be)), QString(japanese).replace("\n", "\r\n"));
}

TEST_F(TextViewer, ShowsAnRtfDocumentAsItsText) {
  const QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fcharset128 MS Mincho;}{\\f1\\fcharset0 Arial;}}"
      "{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator Writer;}{\\info{\\title T}}\n"
      "\\f0\\'82\\'a0\\'82\\'a2 \\b bold\\b0\\par\n"
      "{\\f1 caf\\'e9}\\tab x\\line y \\{braces\\} \\\\ back\\par\n"
      "\\uc1\\u8364?\\u-3913? end{\\pict 89504e47}}";
  EXPECT_EQ(shown(file("doc.rtf.txt", rtf)),
            QStringLiteral("あい bold\r\ncafé\tx\r\ny {braces} \\ back\r\n€\uF0B7 end"));
  // Broken documents show what can be read, and never read outside the bytes.
  for (const QByteArray& broken : {QByteArray("{\\rtf1 unclosed {group \\'8"), QByteArray("{\\rtf1 }}}} tail"),
                                   QByteArray("{\\rtf1 \\u"), QByteArray(5000, '{').prepend("{\\rtf1")})
    shown(file("broken.txt", broken));
  EXPECT_EQ(shown(file("b.txt", "{\\rtf1 }}}} tail")), QStringLiteral(" tail"));
}

TEST_F(TextViewer, AFileThatIsNotTextGetsANoteThatSaysWhy) {
  const QString fifo = dir.filePath("pipe.txt");
  ASSERT_EQ(::mkfifo(fifo.toUtf8().constData(), 0600), 0);
  const QString locked = file("locked.txt", "secret");
  ::chmod(locked.toUtf8().constData(), 0);
  struct Case {
    QString path;
    const char* reason;
  } cases[] = {
      {dir.filePath("missing.txt"), "does not exist"},
      {dir.path(), "is a folder"},
      {fifo, "not a regular file"},  // a pipe nobody writes to would block a reader
      {QStringLiteral("/dev/zero"), "not a regular file"},  // and this one never ends
      {file("program.doc", QByteArray("MZ\x90\0\3\0\0\0", 8) + QByteArray(100, 'x')), "binary data"},
      {locked, ::geteuid() == 0 ? nullptr : "permission"},
  };
  for (const Case& c : cases) {
    if (!c.reason) continue;  // root reads any file
    const QString text = shown(c.path);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot show ") + c.path)) << qPrintable(text);
    EXPECT_TRUE(text.contains(QLatin1String(c.reason))) << qPrintable(text);
  }
}

TEST_F(TextViewer, AFileLargerThanTheLimitShowsItsStartAndSaysSo) {
  QByteArray bytes;
  for (int i = 0; i < 500; ++i) bytes += "line " + QByteArray::number(i) + "\n";
  const TextFileView view = ReadTextFile(file("big.txt", bytes), 1000);
  EXPECT_TRUE(view.text.startsWith(QString::fromLatin1(bytes.first(1000))));
  EXPECT_TRUE(view.text.endsWith(QStringLiteral("[Only the first 1000 bytes of this 4.3 kB file are shown.]")))
      << qPrintable(view.text.right(80));
  // A multi-byte character cut by the limit is left out, not shown broken.
  const TextFileView cut = ReadTextFile(file("cut.txt", QStringLiteral("ab日本").toUtf8()), 6);
  EXPECT_TRUE(cut.text.startsWith(QStringLiteral("ab日\n"))) << qPrintable(cut.text);
}

TEST_F(TextViewer, ALongTextReachesTheScreenInStepsWhileTheWindowStaysResponsive) {
  QByteArray bytes;
  while (bytes.size() < 3 * 1024 * 1024) bytes += "a fairly ordinary line of a long log file\n";
  bytes += QByteArray(100000, 'x');  // one line far longer than a screen
  const QString path = file("long.log.txt", bytes);
  viewer().Show();
  viewer().LoadFile(path);
  RichTextBox& box = *viewer().RichTextBox1;
  ASSERT_TRUE(box.Loading());
  int ticks = 0;
  QTimer other;
  QObject::connect(&other, &QTimer::timeout, [&] { ticks += box.Loading() ? 1 : 0; });
  other.start(0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !box.Loading(); }, 60000));
  EXPECT_GT(ticks, 3) << "other work ran between the steps";
  EXPECT_EQ(box.Text(), QString::fromLatin1(bytes).replace("\n", "\r\n")) << "the text itself is whole";
  auto* edit = qobject_cast<QPlainTextEdit*>(box.widget());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->toPlainText().remove('\n'), QString::fromLatin1(bytes).remove('\n'));
  EXPECT_GT(edit->blockCount(), bytes.count('\n') + 1) << "the long line is shown in pieces";
}

TEST_F(TextViewer, TheBoxKeepsItsMarginsAndWrapsInsideItsRightEdge) {
  text& t = viewer();
  t.Show();
  struct Case {
    double innerWidth, innerHeight, boxWidth, boxHeight, wrap;
  } cases[] = {
      {3000, 2000, 2800, 1800, 2400},
      {150, 2000, 2800, 1800, 2400},  // smaller than the margins: the box stays as it was
      {6000, 100, 2800, 1800, 2400},
      {6000, 4000, 5800, 3800, 5400},
  };
  for (const Case& c : cases) {
    t.Move(0, 0, c.innerWidth + 120, c.innerHeight + 410);
    pump();
    const RichTextBox& box = *t.RichTextBox1;
    EXPECT_EQ(std::tuple(box.Left(), box.Width(), box.Height(), box.RightMargin()),
              std::tuple(100.0, c.boxWidth, c.boxHeight, c.wrap))
        << c.innerWidth << " x " << c.innerHeight;
  }
}

// The Playlist window's own button is the Playlist window's tests' business; a dispatched
// text file loads the same way and names the file in the caption.
TEST_F(TextViewer, ADispatchedFileComesUpOverThePlaylistWithItsNameInTheCaption) {
  const QString notes = file("notes.txt", "first line\nsecond line\n");
  Form1& pl = prog->Form1();
  pl.AddEntries({notes});
  pl.lstFoundFiles->setListIndex(0);
  DispatchEntry(*prog, DispatchFrom::Playlist, notes);
  EXPECT_TRUE(viewer().isVisible());
  EXPECT_EQ(viewer().owner(), &pl);
  EXPECT_EQ(QStringList({viewer().Caption(), viewer().RichTextBox1->Text()}),
            QStringList({"V L X  [Text Viewer] notes.txt", "first line\r\nsecond line\r\n"}));
}

}  // namespace
}  // namespace vlx::test
