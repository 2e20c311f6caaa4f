// Window positions in the settings file (see window_position.h).
#include "winutil/window_position.h"

#include "platform/form.h"
#include "platform/vb.h"
#include "settings/ini.h"

namespace vlx {

namespace {
double readTwips(const char* section, const char* key, bool single = false) {
  const QString text = ReadSetting(QString::fromLatin1(section), QString::fromLatin1(key));
  return single ? double(vb::CSng(text)) : double(vb::CInt(text));
}

void writeTwips(const char* section, const char* key, double value) {
  WriteSetting(QString::fromLatin1(section), QString::fromLatin1(key), vb::CStr(float(value)));
}
}  // namespace

void RestoreWindowPosition(Form& form, const WindowPositionKeys& keys) {
  form.setTop(readTwips(keys.section, keys.top));
  form.setLeft(readTwips(keys.section, keys.left));
  if (keys.height) form.setHeight(readTwips(keys.section, keys.height));
  if (keys.width) form.setWidth(readTwips(keys.section, keys.width));
  if (form.Top() < 0 || form.Left() < 0) form.Move(0, 0, form.Width(), form.Height());
}

void RestoreWindowPlace(Form& form, const WindowPlaceKeys& keys) {
  form.setTop(readTwips(keys.section, keys.top, keys.single));
  form.setLeft(readTwips(keys.section, keys.left, keys.single));
  if (form.Top() < 0 || form.Left() < 0) form.Move(0, 0, form.Width(), form.Height());
}

void SaveWindowPlace(const Form& form, const WindowPlaceKeys& keys) {
  writeTwips(keys.section, keys.top, form.Top());
  writeTwips(keys.section, keys.left, form.Left());
}

void SaveWindowPosition(const Form& form, const WindowPositionKeys& keys) {
  writeTwips(keys.section, keys.top, form.Top());
  writeTwips(keys.section, keys.left, form.Left());
  if (keys.height) writeTwips(keys.section, keys.height, form.Height());
  if (keys.width) writeTwips(keys.section, keys.width, form.Width());
}

}  // namespace vlx
