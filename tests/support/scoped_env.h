// An environment variable set (or removed) for a scope; the old value, or its absence,
// comes back at the end.
#pragma once
#include <QByteArray>
#include <QtGlobal>

namespace vlx::test {

class ScopedEnv {
 public:
  // A null `value` removes the variable.
  ScopedEnv(const char* name, const QByteArray& value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    if (value.isNull())
      qunsetenv(name);
    else
      qputenv(name, value);
  }
  ~ScopedEnv() {
    if (had_)
      qputenv(name_, old_);
    else
      qunsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

}  // namespace vlx::test
