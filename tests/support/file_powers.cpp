#include "support/file_powers.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vlx::test {
namespace {
constexpr unsigned kOverrides =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool capabilities(__user_cap_data_struct (&data)[2], bool set) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return ::syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}
}  // namespace

WithoutFilePowers::WithoutFilePowers() {
  __user_cap_data_struct data[2]{};
  if (!capabilities(data, false) || (data[0].effective & kOverrides) == 0) return;
  effective_ = data[0].effective;
  data[0].effective &= ~kOverrides;
  changed_ = capabilities(data, true);
}

WithoutFilePowers::~WithoutFilePowers() {
  if (!changed_) return;
  __user_cap_data_struct data[2]{};
  if (!capabilities(data, false)) return;
  data[0].effective = effective_;
  capabilities(data, true);
}

}  // namespace vlx::test
