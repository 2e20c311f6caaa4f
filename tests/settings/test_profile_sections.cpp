// Writing several keys of a section at once and removing whole sections of a profile file.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "platform/profile.h"

using namespace vlx::platform;

namespace {

class ProfileSections : public ::testing::Test {
 protected:
  QString path() const { return dir.path() + "/VLX_Registry.ini"; }
  void put(const QByteArray& bytes) const {
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }
  QByteArray bytes() const {
    QFile f(path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QTemporaryDir dir;
};

TEST_F(ProfileSections, SeveralKeysInOneWriteAsSeparateWritesWouldLeaveThem) {
  const QByteArray start = "; mine\r\n[SPI_CALLLOG]\r\nSPI=old.spi\r\n\r\n[Other]\r\nk=v\r\n";
  put(start);
  const QList<QPair<QString, QString>> values = {
      {"Function", "IsSupported"}, {"SPI", "p.spi"}, {"File", "/a/b c.png"}};
  for (const auto durability : {ProfileDurability::Disk, ProfileDurability::Process})
    ASSERT_TRUE(WriteProfileStrings(path(), "SPI_CALLLOG", values, durability));
  const QByteArray together = bytes();
  put(start);
  for (const auto& [key, value] : values) ASSERT_TRUE(WriteProfileString(path(), "SPI_CALLLOG", key, value));
  EXPECT_EQ(together, bytes());
  EXPECT_EQ(GetProfileString(path(), "spi_calllog", "spi", ""), "p.spi");
  // One refused value refuses the whole write.
  EXPECT_FALSE(WriteProfileStrings(path(), "SPI_CALLLOG", {{"SPI", "x"}, {"File", "a\nb"}}));
  EXPECT_EQ(together, bytes());
  EXPECT_FALSE(WriteProfileStrings(path(), "SPI_CALLLOG", {}));
}

TEST_F(ProfileSections, RemovingASectionKeepsEveryOtherLine) {
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
    EXPECT_TRUE(DeleteProfileSection(path(), c.section, ProfileDurability::Process));
    EXPECT_EQ(bytes(), c.after);
  }
  QFile::remove(path());
  EXPECT_TRUE(DeleteProfileSection(path(), "SPI_CALLLOG"));
  EXPECT_FALSE(QFile::exists(path()));
}

}  // namespace

namespace {

TEST_F(ProfileSections, SlotsAreRewrittenInPlaceOnceThere) {
  put("[Other]\nk=v\n");
  ASSERT_TRUE(WriteProfileSlots(path(), "SPI_CALLLOG", {{"SPI", "a.spi"}, {"File", "/x"}}, 16));
  const QByteArray first = bytes();
  EXPECT_EQ(GetProfileString(path(), "SPI_CALLLOG", "SPI", "-"), "a.spi");
  const auto inode = [&] {
    struct stat st {};
    stat(path().toUtf8().constData(), &st);
    return st.st_ino;
  };
  const auto before = inode();
  ASSERT_TRUE(WriteProfileSlots(path(), "SPI_CALLLOG", {{"SPI", "longer.spi"}, {"File", ""}}, 16));
  EXPECT_EQ(inode(), before);  // the same file, changed in place
  EXPECT_EQ(bytes().size(), first.size());
  EXPECT_EQ(GetProfileString(path(), "SPI_CALLLOG", "SPI", "-"), "longer.spi");
  EXPECT_EQ(GetProfileString(path(), "SPI_CALLLOG", "File", "-"), "");
  EXPECT_EQ(GetProfileString(path(), "Other", "k", "-"), "v");
  // A value past its width still lands, in a new file.
  const QString wide(40, u'w');
  ASSERT_TRUE(WriteProfileSlots(path(), "SPI_CALLLOG", {{"File", wide}}, 16));
  EXPECT_EQ(GetProfileString(path(), "SPI_CALLLOG", "File", "-"), wide);
  EXPECT_FALSE(WriteProfileSlots(path(), "SPI_CALLLOG", {{"File", "ends in a blank "}}, 16));
  EXPECT_FALSE(WriteProfileSlots(path(), "SPI_CALLLOG", {{"File", "line\nbreak"}}, 16));
}

// Slots written in place again and again go on landing in the file at the path, with every
// other line kept, whatever other writers did to it in between.
TEST_F(ProfileSections, SlotsFollowTheFileThroughOtherWriters) {
  const auto slots = [&](const QString& spi) {
    return WriteProfileSlots(path(), "SPI_CALLLOG", {{"Function", "IsSupported"}, {"SPI", spi}}, 16);
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
  const QByteArray edited = "[First]\nx=1\n" + bytes();
  put(edited);
  ASSERT_TRUE(slots("e.spi"));
  EXPECT_EQ(spi(), "e.spi");
  EXPECT_EQ(GetProfileString(path(), "First", "x", "-"), "1");
  EXPECT_EQ(bytes().size(), edited.size());
  // Replaced by another program through a rename.
  const QString other = dir.path() + "/other.ini";
  QFile::copy(path(), other);
  ASSERT_TRUE(QFile::remove(path()));
  ASSERT_TRUE(QFile::rename(other, path()));
  ASSERT_TRUE(slots("f.spi"));
  EXPECT_EQ(spi(), "f.spi");
}

}  // namespace
