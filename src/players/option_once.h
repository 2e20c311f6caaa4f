// The options box of the player windows: a pick from its list raises both Change and Click,
// and the option (a size, a restart of the clip) must run once for it.
#pragma once
#include <QObject>
#include <QString>
#include <functional>

namespace vlx {

class OptionOnce {
 public:
  // Runs `apply` with the text, unless the same text was applied by the same user action
  // (before the event loop turned). `context` ends the wait when it goes.
  void run(QObject* context, const QString& text, const std::function<void(const QString&)>& apply);

 private:
  QString applied_;
  bool pending_ = false;
};

}  // namespace vlx
