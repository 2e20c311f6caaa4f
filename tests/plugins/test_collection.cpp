// CollectionSusie: registering a folder, the order by fault counts, a crash that ended an
// earlier run, choosing the plug-in for a file, many plug-ins, and the dialog filter.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <utime.h>

#include "localmem.h"
#include "plugins/CollectionSusie.h"
#include "plugins/spi_errors.h"
#include "plugins_support.h"
#include "settings/ini.h"

namespace vlx::test {
namespace {

class CollectionTest : public SpiTest {
 protected:
  static QStringList order(const CollectionSusie& c) {
    QStringList names;
    for (const auto& m : c) names << m->DllName().section('/', -1);
    return names;
  }
  // Gives the file another modification time, as a new copy of a plug-in has.
  static void touch(const QString& path, int secondsAgo) {
    utimbuf t{};
    t.actime = t.modtime = time(nullptr) - secondsAgo;
    ASSERT_EQ(utime(path.toUtf8().constData(), &t), 0);
  }
};

TEST_F(CollectionTest, AFolderIsRegisteredAndOrderedByFaults) {
  installSpi("picture", "a.spi");
  installSpi("archive", "b.spi");
  installSpi("noabi", "c.spi");  // not a plug-in
  installSpi("picture", "d.SPI");
  writeFile("readme.txt", "x");
  {
    CollectionSusie c;
    EXPECT_EQ(c.AddSPI(spiFolder(), false), 3);
    // Equal fault counts: the one added later comes first.
    EXPECT_EQ(order(c), (QStringList{"d.SPI", "b.spi", "a.spi"}));
    EXPECT_FALSE(c.AutoUnload());
    c.Item("b.spi")->SpiSEHError("GetArchiveInfo");
    c.Item("b.spi")->SpiSEHError("GetArchiveInfo");
    c.Item("d.spi")->SpiSEHError("IsSupported");
  }
  CollectionSusie c;
  EXPECT_EQ(c.AddSPI(spiFolder(), true), 2);  // pictures only
  EXPECT_EQ(order(c), (QStringList{"a.spi", "d.SPI"}));
  CollectionSusie all;
  all.AddSPI(spiFolder(), false);
  EXPECT_EQ(order(all), (QStringList{"a.spi", "d.SPI", "b.spi"}));
  // The same file name twice is not added.
  EXPECT_TRUE(all.Add(testSpi("jpeg")));
  const QString sameName = workFolder() + "/JPEG.spi";
  ASSERT_TRUE(QFile::copy(testSpi("picture"), sameName));
  EXPECT_FALSE(all.Add(sameName));
  EXPECT_EQ(order(all), (QStringList{"jpeg.spi", "a.spi", "d.SPI", "b.spi"}));
  all.Remove("D.SPI");
  all.Remove(1);
  EXPECT_EQ(order(all), (QStringList{"a.spi", "b.spi"}));
  EXPECT_EQ(all.Item("B.SPI"), all.Item(2));
  EXPECT_EQ(all.Item(9), nullptr);
  all.RemoveAll();
  EXPECT_EQ(all.Count(), 0);
  EXPECT_EQ(all.Item(1), nullptr);
}

// A plug-in that ends the process inside a call (killed: nothing of ours runs after it): the
// next start counts it and tries that plug-in last; a new copy of its file is trusted again.
TEST_F(CollectionTest, APlugInThatEndedTheProcessIsTriedLastUntilReplaced) {
  const QString first = installSpi("picture", "a.spi");
  const QString killer = installSpi("picture", "k.spi");
  touch(first, 100);
  touch(killer, 100);
  QProcess child;
  child.start(QString::fromLocal8Bit(qgetenv("VLX_TEST_BIN")) + "/tests/spi_call_child",
              {userFolder(), spiFolder(), writeFile("x.tst", "VLXTEST kill-is")});
  ASSERT_TRUE(child.waitForFinished(-1));
  EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardOutput().toStdString();
  EXPECT_EQ(ReadRegistry("SPI_CALLLOG", "SPI"), "k.spi");

  CollectionSusie next;
  EXPECT_EQ(ReadRegistry("SPI_CALLLOG", "SPI"), QString());
  next.AddSPI(spiFolder(), false);
  EXPECT_EQ(std::pair(next.Item("k.spi")->ErrorCount("IsSupported"), next.Item("k.spi")->ErrorCount()), std::pair(1, 1));
  EXPECT_EQ(order(next), (QStringList{"a.spi", "k.spi"}));

  touch(killer, 10);
  CollectionSusie renewed;
  renewed.AddSPI(spiFolder(), false);
  EXPECT_EQ(renewed.Item("k.spi")->ErrorCount(), 0);
  EXPECT_EQ(order(renewed), (QStringList{"k.spi", "a.spi"}));
}

TEST_F(CollectionTest, ChoosingThePlugInForAFile) {
  const QString jpeg = installSpi("jpeg", "j.spi");
  installSpi("picture", "p.spi");
  installSpi("archive", "z.spi");
  CollectionSusie c;
  c.AddSPI(spiFolder(), false);
  ASSERT_EQ(order(c), (QStringList{"z.spi", "p.spi", "j.spi"}));

  EXPECT_EQ(c.SetFile(writeFile("pic.tst", "VLXTEST"), 0, 0, {}), 1);  // the archive takes it
  EXPECT_EQ(c.SetFile(writeFile("pic2.tst", "VLXTEST"), 0, 2, {}), 1);  // last used, though < 2
  const QString tst = writeFile("pic3.tst", "VLXTEST");
  c.Remove(1);
  EXPECT_EQ(c.SetFile(tst, 0, 0, {}), 1);  // the picture plug-in, now first
  // A JPEG with a wrong extension reaches the plug-in for "*.JPG" by its content.
  const QString photo = writeFile("photo.dat", QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10));
  EXPECT_EQ(c.SetFile(photo, 0, 0, {}), 2);
  EXPECT_EQ(c.Item(2)->File(), photo);
  EXPECT_EQ(c.SetFile(writeFile("notes.dat", "plain text"), 0, 0, {}), 0);

  // Names no pattern matches: only a scan of every plug-in finds the one that takes it.
  const QString odd = writeFile("data.unknown", "VLXTEST");
  EXPECT_EQ(c.SetFile(odd, 0, 0, {}), 0);
  c.setScanAllSPI(true);
  EXPECT_EQ(c.SetFile(odd, 0, 0, {}), 1);

  // Memory mode: judged by the name given for it.
  const VLX_HLOCAL h = block("VLXTEST");
  const QString handle = QString::number(qulonglong(h));
  EXPECT_EQ(c.SetFile(handle, 1, 0, "in/memory.tst"), 1);
  EXPECT_EQ(c.Item(1)->File(), handle);
  EXPECT_EQ(c.UnloadFile(), 0);
  EXPECT_EQ(c.Item(1)->File(), QString());
  VLX_LocalFree(h);

  // What is not there is not offered.
  for (const QString& bad : {workFolder() + "/missing.tst", workFolder() + "/*.tst",
                             workFolder(), QString()})
    EXPECT_EQ(c.SetFile(bad, 0, 0, {}), 0) << bad.toStdString();
  EXPECT_EQ(c.SetFile(handle, 1, 0, {}), 0);  // freed
  EXPECT_EQ(c.SetFile(tst, 2, 0, {}), 0);
}

TEST_F(CollectionTest, SixtyPlugInsAreLoadedOnlyWhileTheyWork) {
  for (int i = 0; i < 60; ++i) installSpi("picture", QString("p%1.spi").arg(i, 2, 10, QChar('0')));
  CollectionSusie c;
  EXPECT_EQ(c.AddSPI(spiFolder(), false), 60);
  EXPECT_TRUE(c.AutoUnload());
  EXPECT_EQ(c.GetInMemorySPI(), 0);
  for (const auto& m : c) EXPECT_TRUE(m->AutoUnload());
  const QString a = writeFile("a.tst", "VLXTEST");
  EXPECT_EQ(c.SetFile(a, 0, 0, {}), 1);
  EXPECT_EQ(c.Item(1)->File(), a);
  EXPECT_EQ(c.GetInMemorySPI(), 0);  // even the one that holds the file, until it decodes
  EXPECT_EQ(c.SetFile(writeFile("b.txt", "nothing for us"), 0, 0, {}), 0);
  EXPECT_EQ(c.GetInMemorySPI(), 0);
}

TEST_F(CollectionTest, DialogFilterAndFolder) {
  CollectionSusie empty;
  EXPECT_EQ(empty.GetCommonDialogString(),
            "すべてのファイル(*.*)|*.*|すべての対応ファイル|*.BMP;|BMPファイル(*.BMP)|*.BMP|");
  installSpi("picture", "p.spi");
  installSpi("manypatterns", "m.spi");
  CollectionSusie c;
  c.AddSPI(spiFolder(), false);
  EXPECT_EQ(c.GetCommonDialogString(),
            "すべてのファイル(*.*)|*.*|すべての対応ファイル|*.BMP;*.TST;*.A;*.B;*.C;*.TST"
            "|BMPファイル(*.BMP)|*.BMP|p(*.TST)|*.TST|m(*.A;*.B;*.C;*.TST)|*.A;*.B;*.C;*.TST|");
  c.Item(1)->setDllName(QString());
  EXPECT_EQ(c.Compact(), 1);

  // The store's folder when it exists, else the bundled one, else none.
  const QByteArray data = qgetenv("VLX_DATA_DIR");
  const QString bundled = workFolder() + "/data";
  QDir().mkpath(bundled + "/spi");
  qputenv("VLX_DATA_DIR", bundled.toUtf8());
  EXPECT_EQ(GetSusieFolder(), bundled + "/spi/");
  WriteRegistry("software\\zubetta\\susie\\plug-in", "path", spiFolder().chopped(1));
  EXPECT_EQ(GetSusieFolder(), spiFolder());
  WriteRegistry("software\\zubetta\\susie\\plug-in", "path", workFolder() + "/gone");
  EXPECT_EQ(GetSusieFolder(), bundled + "/spi/");
  QDir(bundled + "/spi").removeRecursively();
  EXPECT_EQ(GetSusieFolder(), QString());
  qputenv("VLX_DATA_DIR", data);
}

TEST_F(CollectionTest, WithoutTheHostLibraryNothingCrashes) {
  installSpi("picture", "p.spi");
  setSpiHostPathOverride(workFolder() + "/none.so");
  {
    CollectionSusie c;
    EXPECT_EQ(c.ErrorString(), "SUSIECTL.DLL が見つかりません");
    EXPECT_EQ(c.AddSPI(spiFolder(), false), 0);
    EXPECT_EQ(c.SetFile(writeFile("a.tst", "VLXTEST"), 0, 0, {}), 0);
  }
  setSpiHostPathOverride({});
  CollectionSusie c;
  EXPECT_EQ(c.ErrorString(), QString());
  EXPECT_EQ(c.AddSPI(spiFolder(), false), 1);
}

}  // namespace
}  // namespace vlx::test
