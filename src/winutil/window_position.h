// Window positions in the settings file: the keys (top, left and, for windows whose size
// is kept too, height and width, in twips) that a window restores at load and stores when
// it closes.
#pragma once

namespace vlx {

class Form;

struct WindowPositionKeys {
  const char* section;
  const char* top;
  const char* left;
  const char* height;  // nullptr: the size is not kept
  const char* width;
};

// Applies the stored top, left, height and width in that order, each read as a 16-bit
// integer; a window left above or beside the screen goes to the top-left corner. Throws at
// the first key that is missing or does not convert, with the keys before it applied.
void RestoreWindowPosition(Form& form, const WindowPositionKeys& keys);

// Stores the window's top, left, height and width; a key that cannot be written does not
// keep the others from being tried.
void SaveWindowPosition(const Form& form, const WindowPositionKeys& keys);

// Windows that store only their place: top and left, read as 16-bit integers or, with
// `single`, as single-precision numbers.
struct WindowPlaceKeys {
  const char* section;
  const char* top;
  const char* left;
  bool single = false;
};

// Applies the stored top and left; a window left above or beside the screen goes to the
// top-left corner. Throws at the first key that is missing or does not convert.
void RestoreWindowPlace(Form& form, const WindowPlaceKeys& keys);
void SaveWindowPlace(const Form& form, const WindowPlaceKeys& keys);

}  // namespace vlx
