#include "winutil/top_most.h"

#include "platform/form.h"

namespace vlx {

int32_t SetTopMost(Form& window, int16_t flag) {
  if (flag != 0 && flag != 1) return 0;
  window.setTopMost(flag == 1);
  window.show();
  return 1;
}

}  // namespace vlx
