#include "controller/TimeConvert.h"

#include <cmath>

#include "platform/vb.h"

namespace vlx {

QString TimeText(double seconds) {
  double m = std::floor(seconds / 60);
  const double sec = std::floor(seconds - 60 * m);
  const int16_t h = vb::CInt(std::floor(m / 60));
  m = m - 60.0 * h;
  return vb::Str(double(h)) + ':' + vb::Str(m) + ':' + vb::Str(sec);
}

}  // namespace vlx
