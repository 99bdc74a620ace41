// Acts on the next modal (or top-level) window of a type once a nested loop has shown it.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace orvanel::app::testing {

// A visible top-level window of type W, or nullptr.
template <typename W>
W* VisibleTopLevel() {
  const auto windows = QApplication::topLevelWidgets();
  for (QWidget* widget : windows) {
    if (auto* window = qobject_cast<W*>(widget); window != nullptr && window->isVisible()) {
      return window;
    }
  }
  return nullptr;
}

// Polls every 10 ms for an active modal window of type W and hands it to act once. After
// five seconds without one it closes every modal window so a failing test cannot hang, and
// sets *timedOut.
template <typename W>
void WhenModal(std::function<void(W*)> act, bool* timedOut = nullptr) {
  auto timer = std::make_shared<QTimer>();
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  timer->setInterval(10);
  QObject::connect(timer.get(), &QTimer::timeout, [timer, clock, act, timedOut] {
    W* window = qobject_cast<W*>(QApplication::activeModalWidget());
    if (window == nullptr) window = VisibleTopLevel<W>();
    if (window != nullptr) {
      timer->stop();
      QPointer<W> guard(window);
      act(window);
      // A failed check returns from act early: close the window so the test goes on.
      if (!guard.isNull() && guard->isVisible()) guard->close();
      return;
    }
    if (clock->elapsed() > 20000) {
      timer->stop();
      if (timedOut != nullptr) *timedOut = true;
      while (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    }
  });
  timer->start();
}

}  // namespace orvanel::app::testing
