// Messages during a benchmark are printed and answered at once: a box would stop the run.
#pragma once
#include <cstdio>

#include "platform/dialogs.h"

namespace bench {

class PrintedDialogs : public vlx::QtDialogs {
 public:
  int MsgBox(const QString& text, int, const QString&, QWidget*) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    return vlx::vbOK;
  }
};

}  // namespace bench
