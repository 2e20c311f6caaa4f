// Reports the first time a window has painted itself (the start-up benchmark's "shown").
#pragma once
#include <QEvent>
#include <QObject>
#include <functional>

namespace vlx {

class FirstPaint : public QObject {
 public:
  FirstPaint(QObject* window, std::function<void()> then) : QObject(window), then_(std::move(then)) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && then_) {
      auto then = std::move(then_);
      then_ = nullptr;
      then();
    }
    return false;
  }

 private:
  std::function<void()> then_;
};

}  // namespace vlx
