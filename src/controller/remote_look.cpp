// remote: the Controller's look. The label font and colours, the Playlist window's text
// colour, the back picture, and the "save" items that keep them for the next start.
#include <stdexcept>

#include "app/program.h"
#include "controller/remote.h"
#include "platform/vb.h"
#include "playlist/Form1.h"
#include "settings/ini.h"
#include "settings/load_and_save.h"

namespace vlx {

namespace {
const QString kBackPictureFilter =
    QStringLiteral("all file (*.*)|*.*|BMP(*.bmp)|*.bmp|JPG(*.jpg)|*.jpg|GIF(*.gif)|*.gif|");
constexpr double kSaveLogHeight = 500;

// The colour dialog of the Playlist window's common dialog. It starts from the colour it
// gave last; a cancel gives that colour back.
uint32_t pickDialogColor(Program& prog, QWidget* owner) {
  Form1::CommonDialog& dialog = prog.Form1().CommonDialog1;
  if (const auto color = prog.dialogs().PickColor(dialog.Color, owner)) dialog.Color = *color;
  return dialog.Color;
}
}  // namespace

void remote::wireLook() {
  chgFont->Click = [this] { chgFont_Click(); };
  chgFColor->Click = [this] { chgFColor_Click(); };
  chgPFColor->Click = [this] { chgPFColor_Click(); };
  chgCBPic->Click = [this] { chgCBPic_Click(); };
  saveFontdata->Click = [this] { saveFontdata_Click(); };
  saveBackpicture->Click = [this] { saveBackpicture_Click(); };
}

void remote::chgFont_Click() {
  try {
    QFont preset(Label1->FontName());
    preset.setPointSizeF(Label1->FontSize());
    preset.setBold(Label1->FontBold());
    preset.setItalic(Label1->FontItalic());
    // A cancelled dialog leaves the preset, which the labels then take again.
    const QFont font = prog.dialogs().PickFont(preset, this).value_or(preset);
    Label1->setFontName(font.family());
    Label1->setFontSize(font.pointSizeF());
    Label1->setFontBold(font.bold());
    Label1->setFontItalic(font.italic());
    for (Label* l : {Label2, Label3, Label4}) {
      l->setFontName(Label1->FontName());
      l->setFontSize(Label1->FontSize());
      l->setFontBold(Label1->FontBold());
      l->setFontItalic(Label1->FontItalic());
    }
  } catch (const std::exception&) {
  }
}

void remote::chgFColor_Click() {
  try {
    Label1->setForeColor(pickDialogColor(prog, this));
    for (Label* l : {Label2, Label3, Label4, Label8, Label9, per})
      l->setForeColor(Label1->ForeColor());
  } catch (const std::exception&) {
  }
}

void remote::chgPFColor_Click() {
  try {
    prog.Form1().lblCriteria->setForeColor(pickDialogColor(prog, this));
    applyPlaylistColor();
  } catch (const std::exception&) {
  }
}

// The Playlist window's texts take the colour of its pattern label.
void remote::applyPlaylistColor() {
  Form1& pl = prog.Form1();
  const uint32_t color = pl.lblCriteria->ForeColor();
  for (Control* c : std::initializer_list<Control*>{pl.Label1, pl.Label2, pl.lblCount, pl.drvList,
                                                    pl.dirList, pl.filList, pl.lstFoundFiles})
    c->setForeColor(color);
}

void remote::chgCBPic_Click() {
  try {
    const QString path = prog.dialogs().OpenFile(QStringLiteral("select backpicture"),
                                                 kBackPictureFilter,
                                                 prog.Form1().CommonDialog1.InitDir, this);
    if (path.isEmpty()) return;  // cancelled: nothing changes
    per3->LoadPicture(path);
    cBackPicture_ = path;
    paintBackPicture();
    per3->Cls();
    per3->setWidth(0);
  } catch (const std::exception&) {
    // A file that is no picture: the back picture stays, and so does the bar.
    guarded([this] {
      per3->Cls();
      per3->setWidth(0);
    });
  }
}

// The log of a "save" item: its own text, or what kept the file from being written.
void remote::showSaveLog(const SettingsWriteCheck& check, const QString& text) {
  if (check.failed())
    prog.load_and_save().showLog(kLogFailColor, kSaveLogHeight, SettingsNotWrittenLine(check.reason()));
  else
    prog.load_and_save().showLog(kLogSaveColor, kSaveLogHeight, text);
}

void remote::saveFontdata_Click() {
  try {
    const SettingsWriteCheck check;
    WriteSetting("Font", "Name", Label1->FontName());
    WriteSetting("Font", "Bold", vb::CStr(Label1->FontBold()));
    WriteSetting("Font", "Italic", vb::CStr(Label1->FontItalic()));
    WriteSetting("Font", "Size", vb::CStr(float(Label1->FontSize())));
    WriteSetting("Font", "Color", vb::CStr(int32_t(Label1->ForeColor())));
    WriteSetting("PListFont", "Color", vb::CStr(int32_t(prog.Form1().lblCriteria->ForeColor())));
    showSaveLog(check, QStringLiteral("put font data to VLX_Data.INI"));
  } catch (const std::exception&) {
  }
}

void remote::saveBackpicture_Click() {
  try {
    const SettingsWriteCheck check;
    WriteSetting("c_BackPicture", "Path", cBackPicture_);
    WriteSetting("p_BackPicture", "Path", pBackPicture_);
    showSaveLog(check, QStringLiteral("put Controller backpicture to VLX_Data.INI") + kCrLf +
                           QStringLiteral("put Playlist backpicture to VLX_Data.INI"));
  } catch (const std::exception&) {
  }
}

}  // namespace vlx
