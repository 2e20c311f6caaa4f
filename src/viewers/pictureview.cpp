// pictureview: the picture viewer.
#include "viewers/pictureview.h"

namespace vlx {

pictureview::pictureview(Program& p) : Form(p, QStringLiteral("V L X   [Picture Viewer]")) {}

}  // namespace vlx
