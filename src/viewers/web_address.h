// The address that a text typed into the web-file viewer's address box (or put there by
// the windows that open files in it) stands for.
#pragma once
#include <QString>
#include <QUrl>

namespace vlx {

// A path (absolute, or starting with "~/") is a local file, its name kept byte for byte; a
// text with a scheme ("http://", "file:///", "about:") stands as it is; anything else is
// completed as a browser does ("example.org" is http://example.org). Empty for "".
QUrl WebAddressUrl(const QString& text);

}  // namespace vlx
