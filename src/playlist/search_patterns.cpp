#include "playlist/search_patterns.h"

namespace vlx {

const QStringList& MediaPatterns() {
  static const QStringList list = {
      "*.aif", "*.aifc", "*.aiff", "*.asf",  "*.asx", "*.au",   "*.avi", "*.m1v",
      "*.m3u", "*.mid",  "*.mov",  "*.mp2",  "*.mp3", "*.mpa",  "*.mpe", "*.mpeg",
      "*.mpg", "*.qt",   "*.ra",   "*.ram",  "*.rm",  "*.rma",  "*.rmi", "*.rmm",
      "*.rnx", "*.rp",   "*.rt",   "*.smi",  "*.smil", "*.snd", "*.swf", "*.viv",
      "*.vivo", "*.vob", "*.wav",  "*.wax",  "*.wma", "*.wmv"};
  return list;
}

const QStringList& DocumentPatterns() {
  static const QStringList list = {
      "*.art", "*.bmp",  "*.dat", "*.doc",  "*.eml", "*.gif",  "*.htm", "*.html",
      "*.inf", "*.ini",  "*.jpg", "*.jtif", "*.mht", "*.mhtml", "*.vlx", "*.nws",
      "*.png", "*.rtf",  "*.svg", "*.svgz", "*.tif", "*.txt",  "*.vrml", "*.wme",
      "*.wrz", "*.xbm",  "*.xml", "*.xsl"};
  return list;
}

}  // namespace vlx
