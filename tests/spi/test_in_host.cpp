// The bundled folder as the program uses it: registered by the plug-in collection, which
// chooses a plug-in for each file by its patterns and the file's content and calls it
// through the host library's guard.
#include <archive.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>

#include "platform/folders.h"
#include "plugins/CollectionSusie.h"
#include "samples.h"

using namespace spitest;

namespace {

TEST(BundledFolder, TheCollectionChoosesAndCallsTheRightPlugin) {
  QTemporaryDir home;
  vlx::platform::setUserFolderOverride(home.path());
  vlx::CollectionSusie collection;
  ASSERT_EQ(collection.AddSPI(vlx::GetSusieFolder(), false), 14);

  TempDir dir;
  struct Case {
    std::string file;
    Bytes data;
    const char* plugin;
  };
  const Case cases[] = {
      {"a.png", encode_png(), "png.spi"},
      {"photo.png", encode_jpeg(), "jpeg.spi"},  // a JPEG under the wrong name
      {"b.webp", encode_webp(), "webp.spi"},
      {"c.cbz", write_archive(ARCHIVE_FORMAT_ZIP, ARCHIVE_FILTER_NONE,
                              {{"p/1.png", encode_png()}, {"p/2.png", encode_png()}}),
       "zip.spi"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.file(c.file);
    write_bytes(path, c.data);
    const int16_t position = collection.SetFile(QString::fromStdString(path), 0, 0, {});
    ASSERT_GT(position, 0) << c.file;
    vlx::clsSusie* member = collection.Item(position);
    EXPECT_TRUE(member->DllName().endsWith(QString("/") + c.plugin)) << c.file << " went to "
                                                                     << member->DllName().toStdString();
    if (member->DllStyle() == vlx::clsSusie::kArchive) {
      EXPECT_EQ(member->entryCount(), 2) << c.file;
      continue;
    }
    VLX_HLOCAL info = 0, bits = 0;
    EXPECT_EQ(member->GetPicture(QByteArray::fromStdString(path), 0, VLX_SPI_SOURCE_FILE, info, bits,
                                 nullptr, 0),
              VLX_SPI_OK)
        << c.file;
    VLX_BITMAPINFOHEADER header{};
    if (VLX_LocalSize(info) >= sizeof header) std::memcpy(&header, VLX_LocalLock(info), sizeof header);
    VLX_LocalUnlock(info);
    EXPECT_EQ(header.biWidth, kWidth) << c.file;
    EXPECT_EQ(header.biHeight, kHeight) << c.file;
    VLX_LocalFree(info);
    VLX_LocalFree(bits);
  }
}

}  // namespace
