// clsSusie: the picture members. A picture plug-in decodes the set file into a bitmap
// (an information block and a bits block), which is saved as a BMP file, handed to the
// caller or drawn into a control.
#include <QFile>
#include <QImage>
#include <future>
#include <utility>

#include "platform/image_box.h"
#include "platform/twips.h"
#include "plugins/clsSusie.h"
#include "plugins/clsSusie_trap.h"
#include "plugins/dib_image.h"
#include "plugins/modMemory.h"
#include "plugins/spi_errors.h"

namespace vlx {
using namespace spitrap;

void clsSusie::requireFile() const {
  if (fileMode_ == 0 && file_.isEmpty()) raise(spierr::NoFile);
  if (fileMode_ == 1 && memoryHandle_ == 0) raise(spierr::BadHandle);
}

void clsSusie::readPictureInformation() {
  VLX_PictureInfo info;
  clearPictureInfo(info);
  int32_t r = -1;
  if (fileMode_ == 1) {
    // The data in memory is read where it lies (its handle names no file).
    if (MemIsValid(memoryHandle_)) {
      const intptr_t address = MemLock(memoryHandle_);
      r = GetPictureInfo(addressText(address), MemSize(memoryHandle_), VLX_SPI_SOURCE_MEMORY,
                         info);
      MemUnlock(memoryHandle_);
    }
  } else {
    const QByteArray path = QFile::encodeName(file_);
    r = GetPictureInfo(path, 0, VLX_SPI_SOURCE_FILE, info);
    if (r != VLX_SPI_OK) {
      clearPictureInfo(info);
      r = GetPictureInfo(path, kHeaderOffset, VLX_SPI_SOURCE_FILE, info);
    }
  }
  // The information text is of no use here; its block is the caller's to free.
  if (r == VLX_SPI_OK && info.info && info.info != VLX_HLOCAL(-1)) {
    VLX_HLOCAL text = info.info;
    MemFree(text);
    info.info = 0;
  }
  if (r != VLX_SPI_OK || info.colorDepth <= 0 || info.width <= 0 || info.height <= 0)
    clearPictureInfo(info);
  pictureInfo = info;
  informationRead = true;
}

int16_t clsSusie::pictureField(int32_t (*field)(const VLX_PictureInfo&), const char* label) {
  try {
    if (dllName_.isEmpty()) raise(spierr::NotRegistered);
    requireFile();
    if (style_ != kPicture) raise(spierr::PropertyUnsupported);
    if (!informationRead) readPictureInformation();
    const int32_t value = field(pictureInfo);
    if (value < INT16_MIN || value > INT16_MAX) {
      // The members are 16-bit: a wider picture is an overflow, not a wrong size.
      errorString_ = spierr::kUnexpected + u':' + QStringLiteral("Overflow");
      errorFunction_ = QString::fromLatin1(label);
      return -1;
    }
    return int16_t(value);
  } catch (const Raised& e) {
    return int16_t(fail(e.code, QString::fromLatin1(label)));
  }
}

int16_t clsSusie::Width() {
  return pictureField([](const VLX_PictureInfo& i) { return i.width; }, "Property Get Width");
}

int16_t clsSusie::height() {
  return pictureField([](const VLX_PictureInfo& i) { return i.height; }, "Property Get Height");
}

int16_t clsSusie::ColorDepth() {
  return pictureField([](const VLX_PictureInfo& i) { return int32_t(i.colorDepth); },
                      "Property Get ColorDepth");
}

// One decoding attempt of the set file (both offsets in file mode); the plug-in's result.
int32_t clsSusie::decodeOnce(bool preview, VLX_HLOCAL& info, VLX_HLOCAL& bits,
                             VLX_ProgressCallback progress, intptr_t data) {
  if (fileMode_ == 1) {
    const intptr_t address = MemLock(memoryHandle_);
    const int32_t r = picture(preview, addressText(address), MemSize(memoryHandle_),
                              VLX_SPI_SOURCE_MEMORY, info, bits, progress, data);
    MemUnlock(memoryHandle_);
    return r;
  }
  const QByteArray path = QFile::encodeName(file_);
  int32_t r = picture(preview, path, 0, VLX_SPI_SOURCE_FILE, info, bits, progress, data);
  if (r != VLX_SPI_OK)
    r = picture(preview, path, kHeaderOffset, VLX_SPI_SOURCE_FILE, info, bits, progress, data);
  return r;
}

int32_t clsSusie::DecodePicture(int32_t mode, int32_t flag, VLX_ProgressCallback progress,
                                const QString& saveFile, VLX_HLOCAL* info, VLX_HLOCAL* bits,
                                intptr_t progressData, QImage* shown) {
  const QString label = "DecodePicture(" + QString::number(mode) + ", " +
                        QString::number(flag) + ", " +
                        QString::number(quintptr(progress)) + ", " + saveFile + ')';
  VLX_HLOCAL hInfo = 0, hBits = 0;
  try {
    requireFile();
    if (style_ != kPicture) raise(spierr::MethodUnsupported);
    if (mode == 0 && saveFile.isEmpty()) raise(spierr::BadParameter);
    if (mode == 1 && (!info || !bits)) raise(spierr::BadParameter);
    if (!hDll()) raise(spierr::NotRegistered);
    if (fileMode_ == 1 && !MemIsValid(memoryHandle_)) raise(spierr::BadHandle);

    bool fromPreview = false;
    int32_t r = -1;
    if (flag & 1) {
      r = decodeOnce(true, hInfo, hBits, progress, progressData);
      fromPreview = r == VLX_SPI_OK;
    }
    if (!fromPreview) r = decodeOnce(false, hInfo, hBits, progress, progressData);
    if (r != VLX_SPI_OK) raise(spierr::DecodeFailed);

    if (mode == 1) {
      *info = std::exchange(hInfo, 0);
      *bits = std::exchange(hBits, 0);
    } else if (mode == 0) {
      const intptr_t a = MemLock(hInfo), b = MemLock(hBits);
      // The picture for the screen is built from the blocks while the file is written
      // beside it: a large picture costs the write or the conversion, not both.
      std::future<QImage> converted;
      if (shown && a != -1 && b != -1)
        converted = std::async(std::launch::async, [a, b, infoBytes = size_t(MemSize(hInfo)),
                                                    bitsBytes = size_t(MemSize(hBits))] {
          return DibToImage(reinterpret_cast<const void*>(a), infoBytes,
                            reinterpret_cast<const void*>(b), bitsBytes);
        });
      const int32_t saved =
          host_->SaveToBITMAPFile(reinterpret_cast<const void*>(a),
                                  reinterpret_cast<const void*>(b),
                                  QFile::encodeName(saveFile).constData());
      const QImage picture = converted.valid() ? converted.get() : QImage();
      MemFree(hInfo);
      MemFree(hBits);
      if (saved == 0) raise(spierr::SaveFailed);
      if (shown) *shown = picture;
    } else {
      // Another mode hands nothing out: the blocks go.
      MemFree(hInfo);
      MemFree(hBits);
    }
    return fromPreview ? kFromPreview : 0;
  } catch (const Raised& e) {
    MemFree(hInfo);
    MemFree(hBits);
    return fail(e.code, label);
  }
}

int32_t clsSusie::ShowPicture(ImageBox& ctlData, int32_t flag, VLX_ProgressCallback progress) {
  const QString label =
      "ShowPicture( " + QString::number(flag) + ", " + QString::number(quintptr(progress)) + ')';
  VLX_HLOCAL hInfo = 0, hBits = 0;
  try {
    DecodePicture(1, flag & 1, progress, QString(), &hInfo, &hBits);
    if (!MemIsValid(hInfo) || !MemIsValid(hBits) || MemSize(hInfo) < 40)
      raise(spierr::BadHandle);
    const intptr_t a = MemLock(hInfo), b = MemLock(hBits);
    if (a == -1 || b == -1) raise(spierr::BadHandle);
    const QImage picture = DibToImage(reinterpret_cast<const void*>(a), size_t(MemSize(hInfo)),
                                      reinterpret_cast<const void*>(b), size_t(MemSize(hBits)));
    MemUnlock(hInfo);
    MemUnlock(hBits);

    // Drawn pixel for pixel (no smoothing), as large as the picture or fitted into the
    // control's whole pixels; the number of lines drawn is the picture's height.
    int lines = 0;
    if (!picture.isNull()) {
      const QRect dest =
          ShowType == 0 ? QRect(0, 0, picture.width(), picture.height())
                        : FitRect(int(ctlData.Width()) / TwipsPerPixelX,
                                  int(ctlData.Height()) / TwipsPerPixelY, picture.width(),
                                  picture.height());
      if (!dest.isEmpty() && ctlData.Width() >= TwipsPerPixelX &&
          ctlData.Height() >= TwipsPerPixelY) {
        ctlData.PaintPicture(picture, dest);
        lines = picture.height();
      }
    }
    if (lines == 0) raise(spierr::DrawFailed);
    errorString_ = "ShowPicture Return:" + QString::number(lines) + ' ' +
                   (ShowType == 0 ? QStringLiteral("PreView ShowDefault")
                                  : QStringLiteral("PreView ShowFixControl"));
    MemFree(hInfo);
    MemFree(hBits);
    return 0;
  } catch (const Raised& e) {
    MemFree(hInfo);
    MemFree(hBits);
    fail(e.code, label);
    return kObjectError + e.code;
  }
}

}  // namespace vlx
