// A Program whose plug-in folder holds the plug-ins built for the tests (pictures of the
// "dib" kind, archives of test entries), with files to show and a playlist of them.
#pragma once
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include "support/program_fixture.h"

namespace vlx {
class susie;
class pictureview;
}  // namespace vlx

namespace vlx::test {

class PictureWindows : public ProgramFixture {
 protected:
  void SetUp() override;

  // Writes a file of the test's own; its path.
  QString file(const QString& name, const QByteArray& bytes);
  // A picture file of the test plug-in ("dib" data) with the colours of `picture`.
  QString pluginPicture(const QString& name, const QImage& picture);
  // Replaces the playlist by `paths` and selects entry `index` (-1: none).
  void setPlaylist(const QStringList& paths, int index = 0);
  // The plug-in picture window, on screen.
  susie& window();

  QString spiFolder() const { return spi_.path(); }
  QString filesFolder() const { return files_.path(); }

 private:
  QTemporaryDir spi_;
  QTemporaryDir files_;
};

// A picture of w x h pixels in four quarters: red, green (top), blue, white (bottom).
QImage quarters(int w, int h);

}  // namespace vlx::test
