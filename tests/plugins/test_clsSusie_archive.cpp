// clsSusie's archive members: listing entries, their records by number and by name,
// extracting by name, number and position into folders and memory, every failure code,
// and entries whose names or sizes would reach beyond the destination.
#include <QDir>
#include <QFile>
#include <QDirIterator>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <unistd.h>

#include "localmem.h"
#include "platform/folders.h"
#include "plugins/clsSusie.h"
#include "plugins/modMemory.h"
#include "plugins/spi_errors.h"
#include "plugins_support.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

class ArchiveTest : public SpiTest {
 protected:
  void SetUp() override {
    SpiTest::SetUp();
    ASSERT_EQ(w.setDllName(testSpi("archive")), 0);
    dest = workFolder() + "/root/dest";
    ASSERT_TRUE(QDir().mkpath(dest));
  }
  // The files below the work folder's "root", as paths relative to it.
  QStringList written() const {
    const QString root = workFolder() + "/root/";
    QStringList all;
    QDirIterator it(root, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) all << it.next().mid(root.size());
    all.sort();
    return all;
  }
  // GetEachFileInfo's folder, name and position, or its failure code.
  std::tuple<QString, QString, int64_t> record(const QString& key) {
    VLX_FileInfo r{};
    QString path, name;
    const int32_t rc = w.GetEachFileInfo(key, r, path, name);
    return rc ? std::tuple(QString(), QString(), int64_t(rc)) : std::tuple(path, name, int64_t(r.position));
  }
  clsSusie w;
  QString dest;
};

TEST_F(ArchiveTest, ListingEntriesAndTheirRecords) {
  ASSERT_EQ(w.setFile(writeFile("a.tst", "VLXTEST entries 3")), 0);
  // Number 4 is the empty end record, 5 lies past the directory block.
  EXPECT_EQ((QStringList{QString::number(w.FileNumber()), w.Files(1), w.Files(2), w.Files(4)}),
            (QStringList{"3", "entry0.tst", "sub/entry1.tst", ""}));
  QStringList list;
  EXPECT_EQ(w.GetExpandFileList(list), 0);
  EXPECT_EQ(list, (QStringList{"entry0.tst", "sub/entry1.tst", "entry2.tst"}));

  for (int32_t index : {0, -1}) {
    EXPECT_EQ((QStringList{w.Files(index), w.ErrorString(), w.ErrorFunction()}),
              (QStringList{"", spierr::Message(38), "Property Get Files(" + QString::number(index) + ")"}));
  }
  EXPECT_EQ((QStringList{w.Files(5), w.ErrorString()}), (QStringList{"", spierr::Message(65)}));

  EXPECT_EQ(record("2"), std::tuple("sub", "entry1.tst", 1));
  for (const char* key : {"0", "4", "-2"}) {
    EXPECT_EQ(record(key), std::tuple("", "", 38)) << key;
    EXPECT_EQ((QStringList{w.ErrorString(), w.ErrorFunction()}),
              (QStringList{spierr::Message(38), QString("GetEachFileInfo(") + key + ")"}));
  }
  // By name, letter case ignored.
  EXPECT_EQ(record("SUB/ENTRY1.TST"), std::tuple("sub", "entry1.tst", 1));
  EXPECT_EQ(record("nothing.tst"), std::tuple("", "", VLX_SPI_INTERNAL_ERROR));
  EXPECT_EQ(w.ErrorString(), "ERROR(GetEachFileInfo):SPI関数 GetFileInfo Return 8");
  EXPECT_NE(std::get<2>(record("")), 0);
  EXPECT_EQ(w.ErrorString(),
            "ERROR(GetEachFileInfo):ファイルのインデックスまたはアーカイバ内のファイル名が指定されて"
            "いません。");

  // A folder gets a separator only where it lacks one.
  ASSERT_EQ(w.setFile(writeFile("n.tst", "VLXTEST names a:b.jpg|a/:c.jpg|:d.jpg|x/y:e.jpg\n")), 0);
  ASSERT_EQ(w.GetExpandFileList(list), 0);
  EXPECT_EQ(list, (QStringList{"a/b.jpg", "a/c.jpg", "d.jpg", "x/y/e.jpg"}));
}

TEST_F(ArchiveTest, ExtractingByNameNumberAndPosition) {
  ASSERT_EQ(w.setFile(writeFile("a.tst", "VLXTEST entries 3")), 0);
  EXPECT_EQ(w.DecodeArchive("2", 1, 0, nullptr, false, dest), 0);
  EXPECT_EQ(written(), QStringList{"dest/entry1.tst"});  // flat, under its own name
  EXPECT_EQ(readAll(dest + "/entry1.tst"), "VLXTEST picture");
  EXPECT_EQ(w.DecodeArchive("2", 1, 0, nullptr, true, dest + "/"), 0);
  EXPECT_TRUE(QFileInfo(dest + "/sub/entry1.tst").isFile());  // below its own folder

  QFile::remove(dest + "/entry1.tst");
  // By name: letter case ignored, never below its folder; a name of no entry does nothing.
  EXPECT_EQ(w.DecodeArchive("SUB/Entry1.tst", 0, 0, nullptr, true, dest), 0);
  EXPECT_TRUE(QFileInfo(dest + "/entry1.tst").isFile());
  EXPECT_EQ(w.DecodeArchive("none.tst", 0, 0, nullptr, false, dest), 0);
  // By position.
  EXPECT_EQ(w.DecodeArchive("2", 2, 0, nullptr, false, dest), 0);
  EXPECT_TRUE(QFileInfo(dest + "/entry2.tst").isFile());
  EXPECT_EQ(written(), (QStringList{"dest/entry1.tst", "dest/entry2.tst", "dest/sub/entry1.tst"}));

  // Into memory: the result is the block's handle.
  const intptr_t h = w.DecodeArchive("1", 1, 1, nullptr, false, dest);
  VLX_HLOCAL block = VLX_HLOCAL(h);
  ASSERT_TRUE(MemIsValid(block));
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(block), MemSize(block)), "VLXTEST picture");
  EXPECT_TRUE(MemFree(block));

  // An empty destination is the private temporary folder.
  EXPECT_EQ(w.DecodeArchive("1", 1, 0, nullptr, false, QString()), 0);
  EXPECT_TRUE(QFileInfo(platform::GetTempFolder() + "/entry0.tst").isFile());
  QFile::remove(platform::GetTempFolder() + "/entry0.tst");

  // A plug-in that only writes into folders.
  ASSERT_EQ(w.setFile(writeFile("f.tst", "VLXTEST nomem entries 2")), 0);
  EXPECT_EQ(w.DecodeArchive("2", 1, 0, nullptr, false, dest + "/plain"), 0);
  EXPECT_EQ(readAll(dest + "/plain/entry1.tst"), "VLXTEST picture");
  block = VLX_HLOCAL(w.DecodeArchive("2", 1, 1, nullptr, false, dest + "/plain"));
  ASSERT_TRUE(MemIsValid(block));  // written, then read back
  EXPECT_EQ(MemSize(block), 15);
  MemFree(block);
}

TEST_F(ArchiveTest, FailuresOfListingAndExtracting) {
  clsSusie none;
  EXPECT_EQ(none.FileNumber(), 16);
  EXPECT_EQ(none.ErrorFunction(), "Prpperty Get FileNumber");
  QStringList list;
  EXPECT_EQ(none.GetExpandFileList(list), 16);
  EXPECT_EQ(w.FileNumber(), 32);
  EXPECT_EQ((QStringList{w.Files(1), w.ErrorString()}), (QStringList{"", spierr::Message(32)}));
  w.setFileMode(1);
  EXPECT_EQ(w.FileNumber(), 64);
  clsSusie picture;
  ASSERT_EQ(picture.setDllName(testSpi("picture")), 0);
  ASSERT_EQ(picture.setFile(writeFile("p.tst", "VLXTEST")), 0);
  EXPECT_EQ((QStringList{picture.Files(1), picture.ErrorString()}), (QStringList{"", spierr::Message(48)}));
  VLX_FileInfo r{};
  QString path, name;
  EXPECT_EQ((std::vector<intptr_t>{picture.GetExpandFileList(list), picture.GetEachFileInfo("1", r, path, name),
                                   picture.DecodeArchive("1", 1, 0, nullptr, false, dest),
                                   none.DecodeArchive("1", 1, 0, nullptr, false, dest)}),
            (std::vector<intptr_t>{48, 48, 48, 32}));
  w.setFileMode(0);
  ASSERT_EQ(w.setFile(writeFile("a.tst", "VLXTEST entries 3")), 0);
  EXPECT_EQ(w.DecodeArchive("x", 1, 0, nullptr, false, dest), 52);
  EXPECT_EQ((QStringList{w.ErrorString(), w.ErrorFunction().left(33)}),
            (QStringList{spierr::Message(52), "DecodeArchive(x, 1, 0, 0, False, "}));
  // A mode of no meaning; a number of no entry fails as GetEachFileInfo left it.
  EXPECT_EQ((std::vector<intptr_t>{w.DecodeArchive("1", 3, 0, nullptr, false, dest),
                                   w.DecodeArchive("7", 1, 0, nullptr, false, dest)}),
            (std::vector<intptr_t>{52, 38}));
  EXPECT_EQ(w.ErrorFunction(), "GetEachFileInfo(7)");
  // A destination that cannot be made.
  writeFile("blocker", "a file where a folder should be");
  EXPECT_EQ(w.DecodeArchive("1", 1, 0, nullptr, false, workFolder() + "/blocker/sub"), 37);
  EXPECT_TRUE(written().isEmpty());
}

TEST_F(ArchiveTest, EntriesNeverReachOutsideTheDestination) {
  // Names that climb, start at the root or hold separators, and folders that do the same.
  ASSERT_EQ(w.setFile(writeFile(
                "evil.tst",
                "VLXTEST names :../../up.tst|/etc:abs.tst|..:dots.tst|x:a/b.tst|y:c\\d.tst|"
                "../..:deep.tst|z:..|z:.|z:\n")),
            0);
  ASSERT_EQ(w.FileNumber(), 9);
  for (int i = 1; i <= 9; ++i) {
    w.DecodeArchive(QString::number(i), 1, 0, nullptr, false, dest);
    w.DecodeArchive(QString::number(i), 1, 0, nullptr, true, dest);
  }
  EXPECT_EQ(written(), (QStringList{"dest/abs.tst", "dest/b.tst", "dest/d.tst", "dest/deep.tst",
                                    "dest/dots.tst", "dest/etc/abs.tst", "dest/up.tst",
                                    "dest/x/b.tst", "dest/y/d.tst"}));
  // An entry whose name is only "..", "." or nothing is not written at all.
  EXPECT_EQ((std::vector<intptr_t>{w.DecodeArchive("7", 1, 0, nullptr, false, dest),
                                   w.DecodeArchive("9", 1, 0, nullptr, false, dest)}),
            (std::vector<intptr_t>{52, 52}));
}

// A folder of the entry's path that is a link is not gone through (an entry's file that is a
// link is the host's writing routine's to replace).
TEST_F(ArchiveTest, FolderLinksAreNotFollowed) {
  ASSERT_TRUE(QDir().mkpath(workFolder() + "/root/elsewhere"));
  ASSERT_EQ(::symlink(QFile::encodeName(workFolder() + "/root/elsewhere").constData(),
                      QFile::encodeName(dest + "/etc").constData()),
            0);
  ASSERT_EQ(w.setFile(writeFile("evil.tst", "VLXTEST names /etc:abs.tst\n")), 0);
  EXPECT_EQ(w.DecodeArchive("1", 1, 0, nullptr, true, dest), 37);
  EXPECT_TRUE(QDir(workFolder() + "/root/elsewhere").isEmpty());
}

TEST_F(ArchiveTest, ClaimedSizesAreCheckedBeforeExtracting) {
  ASSERT_EQ(w.setFile(writeFile("huge.tst", "VLXTEST huge entries 2")), 0);
  const size_t before = vlx_localmem_count();
  EXPECT_EQ((std::vector<intptr_t>{w.DecodeArchive("1", 1, 0, nullptr, false, dest),
                                   w.DecodeArchive("1", 1, 1, nullptr, false, dest)}),
            (std::vector<intptr_t>{65, 65}));
  EXPECT_EQ(w.ErrorString(), spierr::Message(65));
  EXPECT_EQ(vlx_localmem_count(), before);
  EXPECT_TRUE(written().isEmpty());
}

TEST_F(ArchiveTest, ArchivesInMemory) {
  w.setFileMode(1);
  w.IsSupportedFileName = "a.tst";
  ASSERT_EQ(w.setFile(handleText(block("VLXTEST entries 2"))), 0);
  EXPECT_EQ((QStringList{QString::number(w.FileNumber()), w.Files(2)}), (QStringList{"2", "sub/entry1.tst"}));
  VLX_HLOCAL block = VLX_HLOCAL(w.DecodeArchive("1", 1, 1, nullptr, false, dest));
  ASSERT_TRUE(MemIsValid(block));
  MemFree(block);
  EXPECT_EQ(w.DecodeArchive("2", 1, 0, nullptr, false, dest), 0);
  EXPECT_EQ(readAll(dest + "/entry1.tst"), "VLXTEST picture");
}

}  // namespace
}  // namespace vlx::test
