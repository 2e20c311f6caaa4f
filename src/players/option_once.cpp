#include "players/option_once.h"

#include <QTimer>

namespace vlx {

void OptionOnce::run(QObject* context, const QString& text,
                     const std::function<void(const QString&)>& apply) {
  if (pending_ && text == applied_) return;  // the same pick, reported again
  applied_ = text;
  pending_ = true;
  apply(text);
  QTimer::singleShot(0, context, [this] { pending_ = false; });
}

}  // namespace vlx
