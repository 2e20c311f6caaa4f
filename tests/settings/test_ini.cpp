// The settings file and the per-user store: paths, reading and writing profile strings
// (one key, several, whole sections, slots in place), keeping foreign lines intact, and
// surviving hostile files and killed writers.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/folders.h"
#include "platform/profile.h"
#include "settings/ini.h"
#include "support/file_powers.h"
#include "support/program_fixture.h"

using namespace vlx;
using platform::GetProfileString;
using platform::WriteProfileString;
using vlx::test::readAll;
using vlx::test::WithoutFilePowers;
using vlx::test::writeAll;

namespace {

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    platform::setUserFolderOverride(dir.path());
  }
  void TearDown() override { platform::setUserFolderOverride(QString()); }

  QString path() const { return dir.path() + "/VLX_Data.ini"; }
  void put(const QByteArray& bytes) const { writeAll(path(), bytes); }
  QByteArray contents() const { return readAll(path()); }
  // The file at the path: a write that replaces the file changes it.
  ino_t inode() const {
    struct stat st {};
    EXPECT_EQ(stat(QFile::encodeName(path()).constData(), &st), 0);
    return st.st_ino;
  }

  QTemporaryDir dir;
};

// The user folder is asked anew on every call.
TEST_F(IniTest, PathsFollowTheUserFolderWithOneSeparator) {
  QTemporaryDir other;
  const QString d = dir.path();
  for (auto [folder, settings] : {std::pair{d, d + "/"}, {d + "//", d + "/"}, {QString("/"), QString("/")},
                                  {other.path(), other.path() + "/"}}) {
    platform::setUserFolderOverride(folder);
    EXPECT_EQ(SettingsFolder(), settings);
    EXPECT_EQ(SettingsFilePath(), settings + "VLX_Data.ini");
    EXPECT_EQ(RegistryFilePath(), settings + "VLX_Registry.ini");
  }
}

// Each case: a file (none when empty), values written (each reads back as written), values
// then read, and the file's bytes afterwards: every line not written stays as it was.
TEST_F(IniTest, ReadsAndWritesLeaveEveryOtherLineAsItWas) {
  EXPECT_EQ(ReadSetting("Kidou", "Shokai"), "");
  EXPECT_EQ(ReadRegistry("VLX", "SPI_CALLLOG", "none"), "none");
  struct Entry {
    QString section, key, value;
  };
  const QString feff(QChar(0xFEFF));
  const QString latin1 = QString::fromLatin1("Caf\xE9 \xFF\xFE");
  const struct {
    const char* name;
    QByteArray before;
    std::vector<Entry> writes, reads;
    QByteArray after;
  } cases[] = {
      {"missing keys and sections read as empty", "[Kidou]\nShokai=1\n", {},
       {{"Kidou", "Shokai", "1"}, {"Kidou", "Other", ""}, {"Sound", "Shokai", ""}, {"Kidou", "", ""}},
       "[Kidou]\nShokai=1\n"},
      {"names in any case, values trimmed; a write in another case replaces in place",
       "[kidou]\n  SHOKAI =  \"True\"  \n[Font]\nname = MS Gothic \nQuote=\"\nEmpty=\n",
       {{"FONT", "NAME", "Mincho"}},
       {{"Kidou", "Shokai", "True"}, {"KIDOU", "shokai", "True"}, {" Font ", "Quote", "\""}, {"font", "empty", ""}},
       "[kidou]\n  SHOKAI =  \"True\"  \n[Font]\nname =Mincho\nQuote=\"\nEmpty=\n"},
      {"new keys go after a section's last line, new sections at the end",
       "; settings\n[CPosition]\nCTop=100\n; keep me\nCLeft=200\n\n\n"
       "[Sound]\nVolume=50\njunk line without equals\n\n[Last]\nx=1",
       {{"CPosition", "CLeft", "300"},
        {"CPosition", "CHeight", "2600"},
        {"Sound", "Mute", "0"},
        {"Last", "y", "2"},
        {"Kidou", "Shokai", "1"}},
       {{"Last", "x", "1"}},
       "; settings\n[CPosition]\nCTop=100\n; keep me\nCLeft=300\nCHeight=2600\n\n\n"
       "[Sound]\nVolume=50\njunk line without equals\nMute=0\n\n[Last]\nx=1\ny=2\n[Kidou]\nShokai=1\n"},
      {"a new file has line feeds", "",
       {{"Kidou", "Shokai", "1"}, {"Sound", "Volume", "-20"}, {"Kidou", "Other", "x"}}, {},
       "[Kidou]\nShokai=1\nOther=x\n[Sound]\nVolume=-20\n"},
      {"CR LF is read and kept", "[CPosition]\r\nCTop=100\r\nCLeft=200\r\n\r\n[Sound]\r\nVolume=50\r\n",
       {{"CPosition", "CTop", "1500"}, {"CPosition", "CWidth", "4800"}, {"Kidou", "Shokai", "1"}},
       {{"CPosition", "CLeft", "200"}, {"Sound", "Volume", "50"}},
       "[CPosition]\r\nCTop=1500\r\nCLeft=200\r\nCWidth=4800\r\n\r\n[Sound]\r\nVolume=50\r\n"
       "[Kidou]\r\nShokai=1\r\n"},
      {"a lone CR ends a line; each line keeps its own end", "[A]\rx=1\r\ny=2\nz=3\r",
       {{"A", "y", "22"}, {"A", "w", "4"}}, {{"a", "x", "1"}, {"a", "z", "3"}}, "[A]\rx=1\r\ny=22\nz=3\rw=4\r"},
      {"text that is not UTF-8 survives", "[Font]\r\nName=Caf\xE9 \xFF\xFE\r\nSize=9\r\n",
       {{"Font", "Size", "10.5"}, {"Font", "Schrift", "明朝 Ä"}}, {{"Font", "Name", latin1}},
       "[Font]\r\nName=Caf\xE9 \xFF\xFE\r\nSize=10.5\r\nSchrift=" + QString("明朝 Ä").toUtf8() + "\r\n"},
      {"a byte-order mark is kept", "\xEF\xBB\xBF[Kidou]\nShokai=1\n", {{"Kidou", "Shokai", "0"}}, {},
       "\xEF\xBB\xBF[Kidou]\nShokai=0\n"},
      {"names and values that begin with U+FEFF", "",
       {{feff + "Sec", "k", feff + "v"}, {feff + "Sec", "k", feff + "w"}}, {{"Sec", "k", ""}},
       "[\xEF\xBB\xBFSec]\nk=\xEF\xBB\xBFw\n"},
      {"a UTF-8 key whose value is not UTF-8", "[Font]\n\xE5\x90\x8D=Caf\xE9\n", {{"Font", "名", "x"}}, {},
       "[Font]\n\xE5\x90\x8D=x\n"},
      {"only the first of equal sections is looked at",
       "[Sound]\nVolume=1\n[SOUND]\nVolume=2\nBass=3\n[Sound]\nVolume=4\n", {{"sound", "Treble", "9"}},
       {{"Sound", "Volume", "1"}, {"Sound", "Bass", ""}},
       "[Sound]\nVolume=1\nTreble=9\n[SOUND]\nVolume=2\nBass=3\n[Sound]\nVolume=4\n"},
      {"the first of equal keys is read and written", "[Sound]\nVolume=1\nvolume=2\n",
       {{"Sound", "VOLUME", "5"}}, {}, "[Sound]\nVolume=5\nvolume=2\n"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    QFile::remove(path());
    if (!k.before.isEmpty()) put(k.before);
    for (const Entry& w : k.writes) {
      ASSERT_NE(WriteSetting(w.section, w.key, w.value), 0) << w.key.toStdString();
      EXPECT_EQ(ReadSetting(w.section, w.key), w.value) << w.key.toStdString();
    }
    for (const Entry& r : k.reads)
      EXPECT_EQ(ReadSetting(r.section, r.key), r.value) << (r.section + "/" + r.key).toStdString();
    EXPECT_EQ(contents(), k.after);
  }
}

TEST_F(IniTest, ReadsReturnAtMost254Characters) {
  const QString v254(254, u'x');
  ASSERT_NE(WriteSetting("DirList", "Dilist", v254), 0);
  EXPECT_EQ(ReadSetting("DirList", "Dilist"), v254);

  ASSERT_NE(WriteSetting("DirList", "Dilist", v254 + "y"), 0);
  EXPECT_EQ(ReadSetting("DirList", "Dilist"), v254);
  // The whole value is stored; a larger buffer gets all of it.
  EXPECT_EQ(GetProfileString(path(), "DirList", "Dilist", "", 1000), v254 + "y");

  // A character outside the basic plane is not cut in half.
  ASSERT_NE(WriteSetting("DirList", "Dilist", QString(253, u'x') + QString::fromUcs4(U"\U0001F600")), 0);
  EXPECT_EQ(ReadSetting("DirList", "Dilist"), QString(253, u'x'));

  // The registry store is not limited to 254.
  const QString longPath = "/" + QString(600, u'p');
  ASSERT_NE(WriteRegistry("software\\vlx\\plug-in", "path", longPath), 0);
  EXPECT_EQ(ReadRegistry("SOFTWARE\\VLX\\Plug-In", "Path"), longPath);
}

TEST_F(IniTest, StoringTheSameValueAgainLeavesTheFileUntouched) {
  ASSERT_NE(WriteSetting("Sound", "Volume", "50"), 0);
  const ino_t first = inode();
  ASSERT_NE(WriteSetting("sound", "VOLUME", "50"), 0);
  EXPECT_EQ(inode(), first);
  ASSERT_NE(WriteSetting("Sound", "Volume", "51"), 0);
  EXPECT_NE(inode(), first);
  EXPECT_EQ(contents(), "[Sound]\nVolume=51\n");
}

TEST_F(IniTest, WritesThatWouldBreakTheLineStructureAreRefused) {
  put("[Kidou]\nShokai=0\n");
  const QByteArray before = contents();
  EXPECT_EQ(WriteSetting("ComboB1", "ComboB_1", "x\n[Kidou]\nShokai=1"), 0);
  EXPECT_EQ(WriteSetting("ComboB1", "ComboB_1", "x\ry"), 0);
  EXPECT_EQ(WriteSetting("ComboB1", "ComboB_1", QString("a") + QChar(0) + "b"), 0);
  EXPECT_EQ(WriteSetting("Kidou]\n[X", "k", "v"), 0);
  EXPECT_EQ(WriteSetting("Kidou", "Shokai=1\nx", "v"), 0);
  EXPECT_EQ(WriteSetting("Kidou", "a=b", "v"), 0);
  EXPECT_EQ(WriteSetting("Kidou", "[Sound]", "v"), 0);
  EXPECT_EQ(WriteSetting("", "k", "v"), 0);
  EXPECT_EQ(WriteSetting("Kidou", "  ", "v"), 0);
  EXPECT_EQ(contents(), before);
  EXPECT_EQ(ReadSetting("Kidou", "Shokai"), "0");
}

TEST_F(IniTest, HostileFilesNeverCrash) {
  // NUL bytes, stray brackets and keys outside any section.
  static const char raw[] = "orphan=1\n[A\0B]\nk\0ey=v\0al\n[]\n=x\n[C]\nv=a\0b\n[ ] ]\n[D\n";
  put(QByteArray(raw, sizeof raw - 1));
  EXPECT_EQ(ReadSetting("", "orphan"), "");
  EXPECT_EQ(ReadSetting("C", "v"), "a");  // a value ends at a NUL
  EXPECT_EQ(ReadSetting(QString("A") + QChar(0) + "B", QString("k") + QChar(0) + "ey"), "v");
  ASSERT_NE(WriteSetting("C", "w", "2"), 0);
  EXPECT_EQ(ReadSetting("C", "w"), "2");
  const qsizetype afterC = 41;  // just after "v=a\0b\n"
  EXPECT_EQ(contents(), QByteArray(raw, afterC) + "w=2\n" +
                            QByteArray(raw + afterC, qsizetype(sizeof raw) - 1 - afterC));

  // Random bytes: every read and write completes and the written key reads back.
  auto* rng = QRandomGenerator::global();
  for (int round = 0; round < 20; ++round) {
    QByteArray junk(4096 + round * 97, '\0');
    for (char& c : junk) c = char(rng->bounded(256));
    put(junk);
    for (const char* name : {"Sound", "", "\xff", "["})
      ReadSetting(QString::fromLatin1(name), "Volume");
    ASSERT_NE(WriteSetting("Sound", "Volume", "77"), 0);
    EXPECT_EQ(ReadSetting("Sound", "Volume"), "77");
    EXPECT_TRUE(contents().startsWith(junk)) << "round " << round;
  }
}

TEST_F(IniTest, FilesThatCannotBeReadOrWrittenAreLeftAloneAndSayWhy) {
  const QString permission = QString::fromLocal8Bit(std::strerror(EACCES));
  const QByteArray file = QFile::encodeName(path()), folder = QFile::encodeName(dir.path());
  put("[Kidou]\nShokai=1\n");
  QString why;
  {
    WithoutFilePowers user;
    ASSERT_EQ(chmod(file.constData(), 0), 0);
    EXPECT_EQ(ReadSetting("Kidou", "Shokai"), "");
    EXPECT_EQ(SettingsFileProblem(), permission);
    EXPECT_FALSE(WriteProfileString(path(), "Kidou", "Shokai", "0", &why));
    EXPECT_EQ(why, permission);
    ASSERT_EQ(chmod(file.constData(), 0444), 0);
    EXPECT_EQ(ReadSetting("Kidou", "Shokai"), "1");
    EXPECT_TRUE(SettingsFileProblem().isEmpty());
    EXPECT_FALSE(WriteProfileString(path(), "Kidou", "Shokai", "0", &why));
    EXPECT_EQ(why, permission);

    // A folder that takes no new files: a writable file in it is rewritten where it is, also
    // through a link from elsewhere; a new file cannot be made there.
    ASSERT_EQ(chmod(file.constData(), 0644), 0);
    ASSERT_EQ(chmod(folder.constData(), 0555), 0);
    EXPECT_TRUE(WriteProfileString(path(), "Kidou", "Shokai", "2", &why)) << why.toStdString();
    QTemporaryDir elsewhere;
    const QString link = elsewhere.path() + "/VLX_Data.ini";
    ASSERT_TRUE(QFile::link(path(), link));
    EXPECT_TRUE(WriteProfileString(link, "Sound", "Volume", "7", &why)) << why.toStdString();
    EXPECT_FALSE(WriteProfileString(dir.path() + "/new.ini", "a", "b", "c", &why));
    EXPECT_EQ(why, permission);
    ASSERT_EQ(chmod(folder.constData(), 0755), 0);
  }
  EXPECT_EQ(contents(), "[Kidou]\nShokai=2\n[Sound]\nVolume=7\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

  // A disk that takes no more bytes (a file-size limit stands for it).
  struct rlimit limit {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = limit;
  small.rlim_cur = 16;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool wrote = WriteProfileString(path(), "Big", "k", QString(100, u'x'), &why);
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(why, QString::fromLocal8Bit(std::strerror(EFBIG)));
  EXPECT_EQ(contents(), "[Kidou]\nShokai=2\n[Sound]\nVolume=7\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

  // A folder where the file should be, and a missing folder.
  platform::setUserFolderOverride(dir.path() + "/sub");
  ASSERT_TRUE(QDir().mkpath(dir.path() + "/sub/VLX_Data.ini"));
  EXPECT_EQ(ReadSetting("Kidou", "Shokai"), "");
  EXPECT_EQ(SettingsFileProblem(), "it is a folder");
  EXPECT_EQ(WriteSetting("Kidou", "Shokai", "1"), 0);
  EXPECT_FALSE(WriteProfileString(dir.path() + "/no/such/folder/x.ini", "a", "b", "c", &why));
  EXPECT_EQ(why, QString::fromLocal8Bit(std::strerror(ENOENT)));
}

TEST_F(IniTest, AFileBeyondAnySettingsSizeIsNeitherReadNorWritten) {
  put("[Sound]\nVolume=42\n");
  ASSERT_TRUE(QFile::resize(path(), platform::kMaxProfileBytes));
  EXPECT_EQ(ReadSetting("Sound", "Volume"), "42");
  ASSERT_TRUE(QFile::resize(path(), platform::kMaxProfileBytes + 1));
  EXPECT_EQ(ReadSetting("Sound", "Volume"), "");
  EXPECT_EQ(SettingsFileProblem(),
            QString("file too large (%1 bytes)").arg(platform::kMaxProfileBytes + 1));
  EXPECT_EQ(WriteSetting("Sound", "Volume", "1"), 0);
  EXPECT_EQ(QFileInfo(path()).size(), platform::kMaxProfileBytes + 1);
  EXPECT_TRUE(contents().startsWith("[Sound]\nVolume=42\n"));
}

TEST_F(IniTest, TemporaryFilesLeftByAKilledWriterAreRemovedAndNothingElse) {
  put("[Kidou]\nShokai=1\n");
  const QStringList stale = {".VLX_Data.ini.3f2a.tmp", ".VLX_Registry.ini.ffffffffffffffff.tmp"};
  const QStringList others = {".VLX_Data.ini.notes", "VLX_Data.ini.3f2a.tmp",
                              ".VLX_Data.ini.xyz.tmp", ".VLX_Data.ini..tmp",
                              ".other.ini.3f2a.tmp"};
  for (const QString& name : stale + others) writeAll(dir.path() + "/" + name, {});
  ASSERT_TRUE(QDir().mkpath(dir.path() + "/.VLX_Data.ini.ab.tmp"));
  RemoveStaleSettingsTemps();
  QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  left.sort();
  QStringList expected = others + QStringList{"VLX_Data.ini", ".VLX_Data.ini.ab.tmp"};
  expected.sort();
  EXPECT_EQ(left, expected);
}

TEST_F(IniTest, WritesKeepModeAndSymbolicLinks) {
  put("[Kidou]\nShokai=1\n");
  const QByteArray native = QFile::encodeName(path());
  ASSERT_EQ(chmod(native.constData(), 0640), 0);
  ASSERT_NE(WriteSetting("Kidou", "Shokai", "0"), 0);
  struct stat st {};
  ASSERT_EQ(stat(native.constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A settings file kept elsewhere and linked into the user folder stays linked.
  const QString real = dir.path() + "/real.ini";
  ASSERT_TRUE(QFile::rename(path(), real));
  ASSERT_TRUE(QFile::link(real, path()));
  ASSERT_NE(WriteSetting("Sound", "Volume", "5"), 0);
  EXPECT_TRUE(QFileInfo(path()).isSymLink());
  EXPECT_EQ(readAll(real), "[Kidou]\nShokai=0\n[Sound]\nVolume=5\n");
  // No temporary files are left behind.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

TEST_F(IniTest, UnchangedFilesAreParsedOnceAndChangesAreSeen) {
  // Random bytes near the size limit with one real section at the end.
  QByteArray junk(platform::kMaxProfileBytes - 4096, '\0');
  QRandomGenerator rng(7);
  rng.fillRange(reinterpret_cast<quint32*>(junk.data()), junk.size() / 4);
  junk.append("\n[Sound]\nVolume=42\n");
  put(junk);
  const quint64 before = platform::ProfileParseCount();
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(ReadSetting("Sound", "Volume"), "42");
    ReadSetting("CPosition", QString("Key%1").arg(i));
  }
  EXPECT_EQ(platform::ProfileParseCount() - before, 1u);
  junk.clear();

  // Another program rewrites the file in place, same size, right after our read.
  put("[Sound]\nVolume=1\n");
  const auto changeTheValue = [&](char digit) {
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(15));
    ASSERT_EQ(f.write(&digit, 1), 1);
  };
  EXPECT_EQ(ReadSetting("Sound", "Volume"), "1");
  changeTheValue('9');
  EXPECT_EQ(ReadSetting("Sound", "Volume"), "9");
  // And our own write followed at once by another program's change of the same size.
  ASSERT_NE(WriteSetting("Sound", "Volume", "3"), 0);
  changeTheValue('8');
  EXPECT_EQ(ReadSetting("Sound", "Volume"), "8");
}

TEST_F(IniTest, KilledWriterLeavesOldOrNewFileComplete) {
  // 100 keys of 2000 characters each: one write rewrites and flushes 200 KB.
  constexpr int kKeys = 100;
  const QString a(2000, u'A'), b(2000, u'B');
  for (int k = 0; k < kKeys; ++k)
    ASSERT_TRUE(WriteProfileString(path(), "Big", QString("k%1").arg(k), a));

  auto* rng = QRandomGenerator::global();
  for (int round = 0; round < 8; ++round) {
    int started[2];
    ASSERT_EQ(pipe(started), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(started[0]);
      // The first write turns one key over, so that every round changes the file; the
      // parent hears of it once it is complete.
      const QString first = GetProfileString(path(), "Big", "k0", "", 4096) == a ? b : a;
      if (!WriteProfileString(path(), "Big", "k0", first)) _exit(2);
      if (write(started[1], "w", 1) != 1) _exit(1);
      for (int i = 1;; ++i)
        WriteProfileString(path(), "Big", QString("k%1").arg(i % kKeys), (i / kKeys) % 2 ? a : b);
    }
    // Once the child has written, at a moment of its work chosen at random.
    close(started[1]);
    char byte = 0;
    ASSERT_EQ(read(started[0], &byte, 1), 1) << "the child could not write";
    close(started[0]);
    usleep(useconds_t(rng->bounded(30000)));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    for (int k = 0; k < kKeys; ++k) {
      const QString v = GetProfileString(path(), "Big", QString("k%1").arg(k), "missing", 4096);
      ASSERT_TRUE(v == a || v == b) << "round " << round << " key " << k << " holds "
                                    << v.left(20).toStdString() << "... of " << v.size();
    }
    // The parent can still write after the child died mid-write.
    ASSERT_TRUE(WriteProfileString(path(), "Check", "round", QString::number(round)));
    EXPECT_EQ(GetProfileString(path(), "Check", "round", ""), QString::number(round));
  }
  // The next start clears what the kills left.
  platform::RemoveStaleProfileTemps(path());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"VLX_Data.ini"});
}

// Several keys of a section written at once, whole sections removed, and fixed-width slots
// rewritten in place.
TEST_F(IniTest, SeveralKeysInOneWriteAsSeparateWritesWouldLeaveThem) {
  const QByteArray start = "; mine\r\n[SPI_CALLLOG]\r\nSPI=old.spi\r\n\r\n[Other]\r\nk=v\r\n";
  put(start);
  const QList<QPair<QString, QString>> values = {
      {"Function", "IsSupported"}, {"SPI", "p.spi"}, {"File", "/a/b c.png"}};
  for (const auto durability : {platform::ProfileDurability::Disk, platform::ProfileDurability::Process})
    ASSERT_TRUE(platform::WriteProfileStrings(path(), "SPI_CALLLOG", values, durability));
  const QByteArray together = contents();
  put(start);
  for (const auto& [key, value] : values) ASSERT_TRUE(WriteProfileString(path(), "SPI_CALLLOG", key, value));
  EXPECT_EQ(together, contents());
  EXPECT_EQ(GetProfileString(path(), "spi_calllog", "spi", ""), "p.spi");
  // One refused value refuses the whole write.
  EXPECT_FALSE(platform::WriteProfileStrings(path(), "SPI_CALLLOG", {{"SPI", "x"}, {"File", "a\nb"}}));
  EXPECT_EQ(together, contents());
  EXPECT_FALSE(platform::WriteProfileStrings(path(), "SPI_CALLLOG", {}));
}

TEST_F(IniTest, RemovingASectionKeepsEveryOtherLine) {
  struct Case {
    QByteArray before;
    const char* section;
    QByteArray after;
  };
  const Case cases[] = {
      {"[A]\nx=1\n[SPI_CALLLOG]\nSPI=p\nFile=f\n\n[B]\ny=2\n", "spi_calllog", "[A]\nx=1\n[B]\ny=2\n"},
      {"[A]\nx=1\n[SPI_CALLLOG]\r\nSPI=p", "SPI_CALLLOG", "[A]\nx=1\n"},  // the last section
      {"[SPI_CALLLOG]\nSPI=p\n[A]\nx=1\n[SPI_CALLLOG]\nSPI=q\n", "SPI_CALLLOG",
       "[A]\nx=1\n[SPI_CALLLOG]\nSPI=q\n"},  // only the first of two
      {"[A]\nx=1\n", "SPI_CALLLOG", "[A]\nx=1\n"},  // absent: nothing changes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before.toStdString());
    put(c.before);
    EXPECT_TRUE(platform::DeleteProfileSection(path(), c.section, platform::ProfileDurability::Process));
    EXPECT_EQ(contents(), c.after);
  }
  QFile::remove(path());
  EXPECT_TRUE(platform::DeleteProfileSection(path(), "SPI_CALLLOG"));
  EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(IniTest, SlotsAreRewrittenInPlaceOnceThere) {
  put("[Other]\nk=v\n");
  ASSERT_TRUE(platform::WriteProfileSlots(path(), "SPI_CALLLOG", {{"SPI", "a.spi"}, {"File", "/x"}}, 16));
  const QByteArray first = contents();
  EXPECT_EQ(GetProfileString(path(), "SPI_CALLLOG", "SPI", "-"), "a.spi");
  const ino_t before = inode();
  ASSERT_TRUE(platform::WriteProfileSlots(path(), "SPI_CALLLOG", {{"SPI", "longer.spi"}, {"File", ""}}, 16));
  EXPECT_EQ(inode(), before);  // the same file, changed in place
  EXPECT_EQ(contents().size(), first.size());
  EXPECT_EQ(GetProfileString(path(), "SPI_CALLLOG", "SPI", "-"), "longer.spi");
  EXPECT_EQ(GetProfileString(path(), "SPI_CALLLOG", "File", "-"), "");
  EXPECT_EQ(GetProfileString(path(), "Other", "k", "-"), "v");
  // A value past its width still lands, in a new file.
  const QString wide(40, u'w');
  ASSERT_TRUE(platform::WriteProfileSlots(path(), "SPI_CALLLOG", {{"File", wide}}, 16));
  EXPECT_EQ(GetProfileString(path(), "SPI_CALLLOG", "File", "-"), wide);
  EXPECT_FALSE(platform::WriteProfileSlots(path(), "SPI_CALLLOG", {{"File", "ends in a blank "}}, 16));
  EXPECT_FALSE(platform::WriteProfileSlots(path(), "SPI_CALLLOG", {{"File", "line\nbreak"}}, 16));
}

// Slots written in place again and again go on landing in the file at the path, with every
// other line kept, whatever other writers did to it in between.
TEST_F(IniTest, SlotsFollowTheFileThroughOtherWriters) {
  const auto slots = [&](const QString& spi) {
    return platform::WriteProfileSlots(path(), "SPI_CALLLOG", {{"Function", "IsSupported"}, {"SPI", spi}}, 16);
  };
  const auto spi = [&] { return GetProfileString(path(), "SPI_CALLLOG", "SPI", "-"); };
  put("[Other]\nk=v\n");
  for (const char* name : {"a.spi", "b.spi", "c.spi", ""}) {
    ASSERT_TRUE(slots(name));
    EXPECT_EQ(spi(), name);
  }
  // Replaced by a write of another key.
  ASSERT_TRUE(WriteProfileString(path(), "Other", "added", "1"));
  ASSERT_TRUE(slots("d.spi"));
  EXPECT_EQ(spi(), "d.spi");
  EXPECT_EQ(GetProfileString(path(), "Other", "added", "-"), "1");
  // Changed in place by another program: lines moved, the file is longer.
  const QByteArray edited = "[First]\nx=1\n" + contents();
  put(edited);
  ASSERT_TRUE(slots("e.spi"));
  EXPECT_EQ(spi(), "e.spi");
  EXPECT_EQ(GetProfileString(path(), "First", "x", "-"), "1");
  EXPECT_EQ(contents().size(), edited.size());
  // Replaced by another program through a rename.
  const QString other = dir.path() + "/other.ini";
  QFile::copy(path(), other);
  ASSERT_TRUE(QFile::remove(path()));
  ASSERT_TRUE(QFile::rename(other, path()));
  ASSERT_TRUE(slots("f.spi"));
  EXPECT_EQ(spi(), "f.spi");
}

}  // namespace
