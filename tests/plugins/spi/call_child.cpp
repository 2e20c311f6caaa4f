// spi_call_child USER_FOLDER PLUGIN_FOLDER FILE: registers the plug-ins of the folder with the
// user folder's logs and sets the file, as the picture window does when a user opens it.
// A plug-in that ends the process in its call ends this one.
#include <QCoreApplication>
#include <cstdio>

#include "platform/folders.h"
#include "plugins/CollectionSusie.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 4) return 2;
  vlx::platform::setUserFolderOverride(QString::fromLocal8Bit(argv[1]));
  vlx::CollectionSusie plugins;
  plugins.AddSPI(QString::fromLocal8Bit(argv[2]), false);
  std::printf("%d\n", plugins.SetFile(QString::fromLocal8Bit(argv[3]), 0, 0, {}));
  return 0;
}
