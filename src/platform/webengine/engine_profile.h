// The web engine's profile shared by every web view of the run: nothing is stored on disk,
// local documents never reach the network, and local files go through the checks of
// local_content.h.
#pragma once

class QWebEngineProfile;

namespace vlx::platform::web {

QWebEngineProfile* SharedProfile();

}  // namespace vlx::platform::web
