// The file-type dispatch, shared by the Playlist window, the Controller, the Wmp window and
// the Rp window. Each step runs on its own: a target that fails to load or open leaves the
// remaining steps to run, and nothing is reported.
#include "viewers/dispatch.h"

#include <string_view>

#include "app/program.h"
#include "controller/remote.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "playlist/Form1.h"
#include "playlist/path_rules.h"
#include "plugins/susie.h"
#include "viewers/frmBrowser.h"
#include "viewers/pictureview.h"
#include "viewers/text.h"

namespace vlx {
namespace {

const QString kTitleIdle = QStringLiteral("V L X");
const QString kIdlePosition = QStringLiteral("a/f");

constexpr std::string_view kPicture[] = {"bmp", "jpg", "gif", "BMP", "JPG", "GIF"};
constexpr std::string_view kText[] = {"txt", "TXT", "ini", "INI", "DOC", "doc"};
// The Rp window's copy knows only these, and "dat" besides.
constexpr std::string_view kRpText[] = {"ini", "txt", "doc", "dat"};
constexpr std::string_view kWeb[] = {"htm", "HTM", "html", "HTML", "swf",  "SWF",  "mht",   "MHT",
                                     "art", "ART", "jtif", "JTIF", "eml",  "EML",  "mhtml", "MHTML",
                                     "nws", "NWS", "svg",  "SVG",  "svgz", "SVGZ", "vrml",  "VRML",
                                     "wrz", "WRZ", "wme",  "WME",  "xml",  "XML",  "xsl",   "XSL",
                                     "xbm", "XBM", "png",  "PNG",  "tif",  "TIF"};
// Web files everywhere but in the Rp window's copy, which plays them in the Wmp window.
constexpr std::string_view kWebMovie[] = {"mov", "MOV"};
constexpr std::string_view kReal[] = {
    "ra",  "RA", "rm", "RM", "rmm", "RMM",  "ram",  "RAM", "rnx", "RNX", "rv",  "RV",   "rma",
    "RMA", "rt", "RT", "rp", "RP",  "smil", "SMIL", "smi", "SMI", "viv", "VIV", "vivo", "VIVO"};

template <size_t N>
bool among(const QString& ext, const std::string_view (&list)[N]) {
  for (std::string_view s : list)
    if (ext == QLatin1String(s.data(), qsizetype(s.size()))) return true;
  return false;
}

// What differs between the four copies.
struct Variant {
  enum class Captions { Viewers, WmpTitle, RpTitle };
  Captions captions;
  bool rpTable;       // the Rp window's table and its own picture, text, web and player steps
  bool setsLoading;   // the media load writes "loading" into the Wmp window's title line
  bool findsProgram;  // the associated program is looked up before the media load
};

Variant variantOf(DispatchFrom from) {
  switch (from) {
    case DispatchFrom::Wmp:
      return {Variant::Captions::WmpTitle, false, false, true};
    case DispatchFrom::Rp:
      return {Variant::Captions::RpTitle, true, true, false};
    case DispatchFrom::Playlist:
    case DispatchFrom::Controller:
      break;
  }
  return {Variant::Captions::Viewers, false, true, true};
}

// The Rp window's caption routine: the name goes to the Controller's title.
void showRpTitle(Program& prog, const QString& path) {
  if (path.isEmpty()) return;
  guarded([&] { prog.remote().Label1->setCaption(FileNamePart(path)); });
  guarded([&] {
    if (auto* wmp = prog.loaded<vlx::Form2>()) wmp->Label1->setVisible(true);
  });
}

void showCaptions(Program& prog, const Variant& v, const QString& path) {
  switch (v.captions) {
    case Variant::Captions::Viewers:
      SetViewerCaptions(prog, path);
      break;
    case Variant::Captions::WmpTitle:
      guarded([&] {
        prog.remote().Label1->setCaption(path.isEmpty() ? kTitleIdle : FileNamePart(path));
      });
      break;
    case Variant::Captions::RpTitle:
      showRpTitle(prog, path);
      break;
  }
}

// The Rp copy names the file in a viewer's caption (from the Controller's title, which the
// Rp caption routine has just set) without opening it there.
template <class Viewer>
void captionFromTitle(Program& prog, Viewer& (Program::*viewer)(), const char* head) {
  guarded([&] {
    (prog.*viewer)().setCaption(QString::fromUtf8(head) + prog.remote().Label1->Caption());
  });
}

void openPicture(Program& prog, const Variant& v, const QString& path) {
  if (v.rpTable) {
    showRpTitle(prog, path);
    captionFromTitle(prog, &Program::pictureview, "V L X  [Picture Viewer] ");
    return;
  }
  guarded([&] { prog.susie().Show(&prog.Form1()); });
  guarded([&] { prog.unloadIfLoaded<vlx::pictureview>(); });
  showCaptions(prog, v, path);
}

void openText(Program& prog, const Variant& v, const QString& path) {
  if (v.rpTable) {
    showRpTitle(prog, path);
    captionFromTitle(prog, &Program::text, "V L X  [Text Viewer] ");
    return;
  }
  // Loaded as the Playlist window's "text viewer" button loads it; the window stays as it is.
  guarded([&] { prog.Form1().Command9_Click(); });
  showCaptions(prog, v, path);
}

void openWeb(Program& prog, const Variant& v, const QString& path) {
  Form1& pl = prog.Form1();
  guarded([&] {
    const bool none = !v.rpTable && pl.lstFoundFiles->ListIndex() < 0;
    prog.frmBrowser().cboAddress->setText(none ? pl.dirList->Path() : pl.lstFoundFiles->Text());
  });
  guarded([&] { prog.frmBrowser().Show(&pl); });
  if (v.rpTable) {
    showRpTitle(prog, path);
    captionFromTitle(prog, &Program::frmBrowser, "V L X  [Webfile Viewer] ");
    return;
  }
  showCaptions(prog, v, path);
}

void openInRp(Program& prog) {
  guarded([&] {
    if (prog.remote().Check2->Value() == 1) prog.Form3().Show(&prog.Form1());
  });
  guarded([&] {
    if (!prog.Form1().lstFoundFiles->Text().isEmpty()) prog.Form3().openSelected();
  });
}

void openInWmp(Program& prog, const Variant& v, Form2* wmp) {
  if (v.findsProgram) guarded([&] { prog.Form1().ShowAssociatedProgram(); });
  bool idle = true;
  // Nothing selected is nothing to play either: the title line would wait for it for ever.
  guarded([&] {
    idle = prog.remote().Label4->Caption() == kIdlePosition ||
           prog.Form1().lstFoundFiles->Text().isEmpty();
  });
  if (idle) return;
  Form2& player = wmp ? *wmp : prog.Form2();
  if (v.rpTable) {
    guarded([&] { player.openSelected(); });
    guarded([&] { player.Label1->setCaption(QStringLiteral("loading")); });
    guarded([&] { prog.remote().Image5->setEnabled(true); });
    return;
  }
  if (v.setsLoading) guarded([&] { player.Label1->setCaption(QStringLiteral("loading")); });
  player.OpenInPlayer();
}

}  // namespace

DispatchTarget TargetOf(const QString& ext, bool rpTable) {
  if (among(ext, kPicture)) return DispatchTarget::PictureWindow;
  if (rpTable ? among(ext, kRpText) : among(ext, kText)) return DispatchTarget::TextViewer;
  if (among(ext, kWeb) || (!rpTable && among(ext, kWebMovie))) return DispatchTarget::WebViewer;
  if (among(ext, kReal)) return DispatchTarget::RpWindow;
  return DispatchTarget::WmpWindow;
}

void DispatchEntry(Program& prog, DispatchFrom from, const QString& path, Form2* wmp) {
  const Variant v = variantOf(from);
  switch (TargetOf(ExtensionOf(path), v.rpTable)) {
    case DispatchTarget::PictureWindow:
      return openPicture(prog, v, path);
    case DispatchTarget::TextViewer:
      return openText(prog, v, path);
    case DispatchTarget::WebViewer:
      return openWeb(prog, v, path);
    case DispatchTarget::RpWindow:
      return openInRp(prog);
    case DispatchTarget::WmpWindow:
      return openInWmp(prog, v, wmp);
  }
}

void DispatchEntry(Program& prog, DispatchFrom from) {
  QString path;
  guarded([&] {
    if (from == DispatchFrom::Playlist)
      path = prog.Form1().entryPath;
    else if (from == DispatchFrom::Controller)
      path = prog.remote().CurrentTitle();
    else
      path = prog.Form1().lstFoundFiles->Text();
  });
  DispatchEntry(prog, from, path);
}

void SetViewerCaptions(Program& prog, const QString& path) {
  if (path.isEmpty()) {
    guarded([&] { prog.remote().Label1->setCaption(kTitleIdle); });
    return;
  }
  const QString name = FileNamePart(path);
  guarded([&] { prog.susie().setFileName(name); });
  guarded(
      [&] { prog.pictureview().setCaption(QStringLiteral("V L X   [Picture Viewer] ") + name); });
  guarded([&] { prog.text().setCaption(QStringLiteral("V L X  [Text Viewer] ") + name); });
  guarded(
      [&] { prog.frmBrowser().setCaption(QStringLiteral("V L X   [Webfile Viewer] ") + name); });
}

}  // namespace vlx
