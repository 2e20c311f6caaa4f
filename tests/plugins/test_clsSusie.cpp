// clsSusie: registering plug-ins, their patterns, setting files, failure codes and texts,
// the fault log, and loading and unloading.
#include <gtest/gtest.h>

#include "localmem.h"
#include "plugins/clsSusie.h"
#include "plugins/spi_errors.h"
#include "plugins_support.h"
#include "settings/ini.h"

namespace vlx::test {
namespace {

using Wrapper = clsSusie;

class SusieTest : public SpiTest {};

TEST_F(SusieTest, RegisteringPlugInsOfEveryKind) {
  const QString textFile = writeFile("x.spi", "this is text\n");
  struct Case {
    QString path;
    int32_t code;
    int32_t style;
  };
  const Case cases[] = {
      {testSpi("picture"), 0, Wrapper::kPicture},
      {testSpi("archive"), 0, Wrapper::kArchive},
      {testSpi("noabi"), -1, Wrapper::kUnusable},    // no version symbol (the host reads 0)
      {testSpi("neither"), -1, Wrapper::kUnusable},  // neither pictures nor archives
      {testSpi("noinfo"), -1, Wrapper::kUnusable},   // no GetPluginInfo
      {textFile, -1, Wrapper::kUnusable},
      {workFolder() + "/missing.spi", -1, Wrapper::kUnusable},
      {QString(), 52, Wrapper::kUnusable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    Wrapper w;
    EXPECT_EQ(w.setDllName(c.path), c.code);
    EXPECT_EQ(w.DllStyle(), c.style);
    EXPECT_EQ(w.DllName(), c.code == 0 ? c.path : QString());
    if (c.code == -1) {
      EXPECT_EQ((QStringList{w.ErrorString(), w.ErrorFunction()}),
                (QStringList{spierr::kUnexpected + ":" + spierr::Message(-1),
                             "Property Let DllName(" + c.path + ")"}));
      EXPECT_FALSE(w.IsLoaded());
    }
  }
  // A registered plug-in gives way to the next one.
  Wrapper w;
  ASSERT_EQ(w.setDllName(testSpi("archive")), 0);
  EXPECT_EQ(w.setDllName(testSpi("noabi")), -1);
  EXPECT_EQ((QStringList{w.DllName(), w.ProductName(), w.FileType()}), (QStringList{"", "", ""}));
}

TEST_F(SusieTest, PatternsAndProductName) {
  struct Case {
    const char* variant;
    QString all;
  };
  for (const Case& c : {Case{"picture", "*.TST"}, Case{"emptypatterns", "*.*"},
                        Case{"blankpatterns", "*.*"}, Case{"manypatterns", "*.A;*.B;*.C;*.TST"},
                        Case{"jpeg", "*.JPG;*.JPEG"}}) {
    SCOPED_TRACE(c.variant);
    Wrapper w;
    ASSERT_EQ(w.setDllName(testSpi(c.variant)), 0);
    EXPECT_EQ(w.FileType(), c.all);
    EXPECT_EQ(w.FileType(1), c.all.section(';', 0, 0));
    EXPECT_EQ(w.ProductName(), "Test plug-in");
  }
  Wrapper w;
  ASSERT_EQ(w.setDllName(testSpi("manypatterns")), 0);
  // The table has 64 slots, FileType reaches 32.
  EXPECT_EQ((QStringList{w.FileType(4), w.FileType(32), w.FileType(33)}), (QStringList{"*.TST", "", ""}));
  EXPECT_EQ((QStringList{w.ErrorString(), w.ErrorFunction()}),
            (QStringList{spierr::Message(52), "Property Get FileType(33)"}));
  EXPECT_EQ(w.FileType(-1), QString());
}

TEST_F(SusieTest, SettingFilesOnAPicturePlugIn) {
  Wrapper w;
  ASSERT_EQ(w.setDllName(testSpi("picture")), 0);
  const QString a = writeFile("a.tst", "VLXTEST");
  const QString upper = writeFile("A.tst", "VLXTEST");
  const QString other = writeFile("b.tst", "something else");
  EXPECT_EQ(w.setFile(a), 0);
  EXPECT_EQ(w.File(), a);
  EXPECT_EQ(w.setFile(a), 0);  // the same text: nothing happens
  // Another file whose name differs only in letter case is another file here.
  EXPECT_EQ(w.setFile(upper), 0);
  EXPECT_EQ(w.File(), upper);

  EXPECT_EQ(w.setFile(other), 34);  // a failed set leaves no file
  EXPECT_EQ((QStringList{w.ErrorString(), w.ErrorFunction(), w.File()}),
            (QStringList{"サポートされていないファイル形式です", "Property Let File(" + other + ")", ""}));

  ASSERT_EQ(w.setFile(a), 0);
  EXPECT_EQ(w.setFile(QString()), 129);
  EXPECT_EQ(w.ErrorString(),
            "パラメータにファイル名が指定されていません。ファイルをクラスから削除します");
  EXPECT_EQ(w.File(), QString());

  // Memory mode: the handle as decimal text, judged by IsSupportedFileName.
  w.setFileMode(1);
  EXPECT_EQ(w.setFile("12ab"), 52);
  const VLX_HLOCAL h = block("VLXTEST");
  const QString handle = handleText(h);
  w.IsSupportedFileName = "x.tst";
  EXPECT_EQ(w.setFile(handle), 0);
  EXPECT_EQ(std::pair(w.File(), w.memoryHandle()), std::pair(handle, h));
  EXPECT_EQ(w.FileSupported(handle, 1), 1);
  EXPECT_EQ(w.FileSupported(handleText(h + 8), 1), 0);  // not a handle

  Wrapper none;
  EXPECT_EQ(std::pair(int(none.setFile(a)), int(none.FileSupported(a, 0))), std::pair(17, 17));
}

TEST_F(SusieTest, ArchivesKeepTheirDirectory) {
  Wrapper w;
  ASSERT_EQ(w.setDllName(testSpi("archive")), 0);
  const size_t before = vlx_localmem_count();
  EXPECT_EQ(w.setFile(writeFile("three.tst", "VLXTEST entries 3")), 0);
  EXPECT_EQ(w.entryCount(), 3);  // the empty end record is not an entry
  EXPECT_EQ(VLX_LocalFlags(w.archiveDirectory()), 1u);  // kept locked while set
  EXPECT_EQ(w.setFile(writeFile("bad.tst", "VLXTEST baddir")), 34);
  EXPECT_EQ(w.entryCount(), 0);
  EXPECT_EQ(vlx_localmem_count(), before);  // the old directory went with the old file
}

TEST_F(SusieTest, CallResultsAndTheirTexts) {
  Wrapper w;
  ASSERT_EQ(w.setDllName(testSpi("picture")), 0);
  EXPECT_EQ(std::pair(w.SupportConfigurationDialog(), w.ShowConfigurationDialog(0)), std::pair(false, -1));
  VLX_HLOCAL info = 0, bits = 0;
  const QString a = writeFile("a.tst", "VLXTEST");
  EXPECT_EQ(w.GetPreview(a.toUtf8(), 0, 0, info, bits, nullptr, 0), 21);  // absent: not -1
  EXPECT_EQ(w.ErrorString(), "呼び出そうとした関数はSPIファイルでサポートされていません");

  Wrapper config;
  ASSERT_EQ(config.setDllName(testSpi("config")), 0);
  EXPECT_EQ(std::pair(config.SupportConfigurationDialog(), config.ShowConfigurationDialog(0)), std::pair(true, 7));

  Wrapper hostless(nullptr);
  EXPECT_EQ(hostless.setDllName(testSpi("picture")), -1);
  EXPECT_EQ(hostless.IsSupported("a", 0, a), 20);
  EXPECT_EQ((QStringList{hostless.ErrorString(), hostless.ErrorFunction()}),
            (QStringList{spierr::kCallFailed, "IsSupported"}));
}

TEST_F(SusieTest, AFaultIsCountedAndOtherPlugInsGoOn) {
  const QString spi = installSpi("picture", "p.spi");
  Wrapper faulty, healthy;
  ASSERT_EQ(faulty.setDllName(spi), 0);
  ASSERT_EQ(healthy.setDllName(testSpi("manypatterns")), 0);
  // Every kind of fault is caught by the host; here one kind, twice, to see the count grow.
  const QString faulting = writeFile("f.tst", "VLXTEST segv-is");
  for (int call = 0; call < 2; ++call) EXPECT_EQ(faulty.FileSupported(faulting, 0), 0);
  EXPECT_EQ(faulty.ErrorString(), "SPIファイル内の関数で致命的エラーが発生しました");
  EXPECT_EQ(std::pair(faulty.ErrorCount("IsSupported"), faulty.ErrorCount()), std::pair(2, 2));
  // Every call returned: no call is left in the log.
  EXPECT_EQ((QStringList{ReadRegistry("SPI_ERRORLOG_p.spi", "Total"), ReadRegistry("SPI_CALLLOG", "SPI")}),
            (QStringList{"2", ""}));
  EXPECT_EQ(healthy.setFile(writeFile("g.tst", "VLXTEST")), 0);
  EXPECT_EQ(faulty.setFile(writeFile("h.tst", "VLXTEST")), 0);
}

TEST_F(SusieTest, LoadingAndUnloading) {
  const QString spi = installSpi("picture", "p.spi");
  Wrapper w;
  ASSERT_EQ(w.setDllName(spi), 0);
  std::vector<bool> loaded{w.IsLoaded()};
  w.setAutoUnload(true);
  loaded.push_back(w.IsLoaded());
  EXPECT_EQ(w.FileSupported(writeFile("a.tst", "VLXTEST"), 0), 1);
  loaded.push_back(w.IsLoaded());  // loaded for the call only
  ASSERT_EQ(w.setFile(writeFile("b.tst", "VLXTEST")), 0);
  loaded.push_back(w.IsLoaded());
  w.setAutoUnload(false);
  ASSERT_EQ(w.setFile(writeFile("c.tst", "VLXTEST")), 0);
  w.UnloadDLL();
  loaded.push_back(w.IsLoaded());  // not while a file is set
  w.setFile(QString());
  w.UnloadDLL();
  loaded.push_back(w.IsLoaded());
  EXPECT_EQ(loaded, (std::vector<bool>{true, false, false, false, true, false}));

  // A crash while unloading, counted at an earlier start, keeps the library for the run.
  const QString spi2 = installSpi("picture", "q.spi");
  {
    Wrapper earlier;
    ASSERT_EQ(earlier.setDllName(spi2), 0);
    earlier.SpiSEHError("FreeLibrary");
  }
  ASSERT_EQ(spiHost()->SPIGetModuleHandle(spi2.toUtf8().constData()), nullptr);
  Wrapper pinned;
  ASSERT_EQ(pinned.setDllName(spi2), 0);
  pinned.setAutoUnload(true);
  EXPECT_TRUE(pinned.IsLoaded());
}

}  // namespace
}  // namespace vlx::test
