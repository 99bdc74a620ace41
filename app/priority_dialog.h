// The thread priority dialog: a six-step slider that sets the speech worker's priority at once.
#pragma once

#include <QDialog>
#include <array>

#include "engine/thread_priority.h"
#include "engine/worker_thread.h"

class QLabel;
class QSlider;

namespace orvanel::app {

class HelpController;

struct PriorityLevel {
  const char* name;
  int value;
};

// Row 0 is the lowest level, row 5 the highest.
inline constexpr std::array<PriorityLevel, 6> kPriorityLevels{{
    {"Lowest", -2},
    {"Below Normal", -1},
    {"Normal", 0},
    {"Above Normal", 1},
    {"Highest", 2},
    {"Time Critical", 15},
}};

// The first row holding value; 0 ("Lowest") when none does.
int LevelIndexOf(int priority);

class PriorityDialog : public QDialog {
  Q_OBJECT
 public:
  PriorityDialog(QWidget* parent, engine::PriorityControl& priority,
                 const engine::WorkerThread& thread, HelpController* help = nullptr);

  // The thread priority value of the selected row.
  virtual int SelectedPriority() const;
  int LevelIndex() const { return levelIndex_; }

  void SliderMoved(int code);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowLevels();
  void UpdateLabel();

  QSlider* levelSlider_ = nullptr;
  QLabel* levelLabel_ = nullptr;
  engine::PriorityControl& priority_;
  const engine::WorkerThread& targetThread_;
  int levelIndex_ = 0;
};

}  // namespace orvanel::app
