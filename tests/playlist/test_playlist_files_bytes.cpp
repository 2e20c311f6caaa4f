// Entries whose bytes are not UTF-8, binary files, and the byte-exact conversions between
// entries and file-system names.
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>

#include "playlist/entry_bytes.h"
#include "playlist/playlist_files.h"
#include "test_playlist_files.h"

namespace vlx::test {
namespace {

// Every line of the bytes (split at CR LF, LF or a lone CR) followed by CR LF.
QByteArray withCrLf(QByteArray bytes) {
  bytes.replace("\r\n", "\n").replace('\r', '\n');
  if (!bytes.isEmpty() && !bytes.endsWith('\n')) bytes += '\n';
  return bytes.replace("\n", "\r\n");
}

TEST(EntryBytes, EveryByteSequenceComesBackUnchanged) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all += char(b);
  EXPECT_EQ(entryToBytes(bytesToEntry(all)), all);
  QRandomGenerator rng(7);
  for (int round = 0; round < 200; ++round) {
    QByteArray bytes(int(rng.bounded(64)), Qt::Uninitialized);
    for (char& c : bytes) c = char(rng.bounded(256));
    EXPECT_EQ(entryToBytes(bytesToEntry(bytes)), bytes) << bytes.toHex().constData();
  }
  // Ill-formed UTF-8 of every kind: overlong, surrogate, beyond U+10FFFF, cut short, and the
  // byte order mark, which is an ordinary character of an entry.
  for (const char* bad : {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE3\x81", "\xEF\xBB\xBF" "a"}) {
    const QByteArray bytes(bad);
    EXPECT_EQ(entryToBytes(bytesToEntry(bytes)), bytes) << bytes.toHex().constData();
  }
}

TEST(EntryBytes, ValidUtf8IsPlainTextAndOtherBytesReadAsLatin1) {
  const QByteArray utf8 = "/音楽/café ♪.mp3";
  EXPECT_EQ(bytesToEntry(utf8), QString::fromUtf8(utf8));
  EXPECT_FALSE(entryHasRawBytes(bytesToEntry(utf8)));
  const QString latin = bytesToEntry("/m/caf\xE9.mp3");
  EXPECT_TRUE(latin.startsWith(QStringLiteral("/m/caf\u00E9")));
  EXPECT_TRUE(entryHasRawBytes(latin));
  // The marking character itself in a valid name is kept as bytes, never taken for a mark.
  const QByteArray marked = "\xC3\xA9\xCD\x8F";  // é and U+034F
  EXPECT_EQ(entryToBytes(bytesToEntry(marked)), marked);
  // Parts join as their bytes do.
  EXPECT_EQ(entryToBytes(bytesToEntry("/m\xE9") + '/' + bytesToEntry("\xE9x")), QByteArray("/m\xE9/\xE9x"));
}

TEST_F(PlaylistFilesTest, LineThatIsNotUtf8SurvivesLoadSendGetAndSave) {
  const QByteArray file = "/m/caf\xE9.mp3\r\n/m/\x83\x7D\x83\x43.mp3\r\n/m/ok \xE2\x99\xAA.mp3\r\n";
  open(makeFile("latin.vlx", file));
  EXPECT_TRUE(editText().startsWith(QStringLiteral("/m/caf\u00E9")));  // shown as Latin-1
  editor().LAplaylist->click();
  ASSERT_EQ(list().lstFoundFiles->ListCount(), 3);
  EXPECT_EQ(entryToBytes(list().lstFoundFiles->List(0)), QByteArray("/m/caf\xE9.mp3"));
  EXPECT_EQ(list().lstFoundFiles->List(2), QStringLiteral("/m/ok ♪.mp3"));
  editor().mnuGetlist->click();
  const QString out = path("out.vlx");
  save(out);
  EXPECT_EQ(readAll(out), file);
}

TEST_F(PlaylistFilesTest, TypingInTheBoxKeepsEveryOtherByte) {
  // A non-breaking space, and the same byte alone (not UTF-8), in an existing file.
  const QByteArray file = "/m/a\xC2\xA0" "b.mp3\r\n/m/a\xA0" "b.mp3\r\n";
  const QString out = makeFile("out.vlx", QByteArray(5000, 'z'));
  open(makeFile("nbsp.vlx", file));
  QTest::keyClicks(editor().Text1->editor(), QStringLiteral("x"));
  EXPECT_TRUE(editText().startsWith(QStringLiteral("x/m/a")));
  save(out);
  EXPECT_EQ(readAll(out), "x" + file);
}

// Its lines go to the list with their bytes as any other line does (checked above).
TEST_F(PlaylistFilesTest, BinaryFileLoadsAndSavesWithoutLoss) {
  QRandomGenerator rng(11);
  QByteArray bytes(64 * 1024, Qt::Uninitialized);
  for (char& c : bytes) c = char(rng.bounded(256));
  bytes[0] = '\xEF';  // not a byte order mark: the line starts with other bytes
  open(makeFile("noise.vlx", bytes));
  ASSERT_FALSE(editText().isEmpty());
  const QString out = path("out.vlx");
  save(out);
  EXPECT_EQ(readAll(out), withCrLf(bytes));
}

}  // namespace
}  // namespace vlx::test
