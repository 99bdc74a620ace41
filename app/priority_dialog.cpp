#include "app/priority_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>

#include "app/controls.h"
#include "app/dialog_units.h"
#include "app/help_controller.h"

namespace orvanel::app {

namespace {

constexpr int kWidth = 186;
constexpr int kHeight = 95;
constexpr char kLabelPrefix[] = "Current Priority = ";

}  // namespace

int LevelIndexOf(int priority) {
  for (std::size_t i = 0; i < kPriorityLevels.size(); ++i) {
    if (kPriorityLevels[i].value == priority) return static_cast<int>(i);
  }
  return 0;
}

PriorityDialog::PriorityDialog(QWidget* parent, engine::PriorityControl& priority,
                               const engine::WorkerThread& thread, HelpController* help)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      priority_(priority),
      targetThread_(thread),
      levelIndex_(LevelIndexOf(priority.GetThreadPriority(thread))) {
  setWindowTitle(QStringLiteral("Speech Engine Thread Priority"));
  // Modal to the main window only, so the help viewer stays usable while the dialog is open.
  setWindowModality(Qt::WindowModal);
  setFont(DialogFont());
  setProperty(kHelpContextProperty, kHelpContextBase + kPriorityTemplate);
  const DialogUnits du = DialogUnits::FromFont(font());

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  SetControlId(ok, kIdOk);
  ok->setDefault(true);
  ok->setGeometry(du.ToPixels(29, 74, 50, 14));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  SetControlId(cancel, kIdCancel);
  cancel->setGeometry(du.ToPixels(107, 74, 50, 14));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* explanation = new QLabel(
      QStringLiteral("Select speech engine thread priority.\nOn slow machines, set priority higher "
                     "to keep speech continuous."),
      this);
  explanation->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  explanation->setWordWrap(true);
  explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  explanation->setGeometry(du.ToPixels(7, 7, 114, 39));

  levelSlider_ = new QSlider(Qt::Vertical, this);
  SetControlId(levelSlider_, kIdLevelSlider);
  SetUpTrackbar(levelSlider_, 0, static_cast<int>(kPriorityLevels.size()) - 1, true);
  levelSlider_->setGeometry(du.ToPixels(154, 7, 25, 61));
  connect(levelSlider_, &QSlider::actionTriggered, this,
          [this](int action) { SliderMoved(TrackbarCodeOf(action)); });
  connect(levelSlider_, &QSlider::sliderReleased, this, [this] {
    SliderMoved(kThumbPosition);
    SliderMoved(kEndTrack);
  });

  auto* high = new QLabel(QStringLiteral("High"), this);
  high->setGeometry(du.ToPixels(131, 7, 16, 8));
  auto* low = new QLabel(QStringLiteral("Low"), this);
  low->setGeometry(du.ToPixels(131, 57, 14, 8));

  levelLabel_ = new QLabel(QStringLiteral("Current Priority:"), this);
  SetControlId(levelLabel_, kIdLevelLabel);
  levelLabel_->setGeometry(du.ToPixels(7, 57, 117, 8));

  QWidget::setTabOrder(ok, cancel);
  QWidget::setTabOrder(cancel, levelSlider_);
  setFixedSize(du.ToPixelsX(kWidth), du.ToPixelsY(kHeight));
  if (help != nullptr) InstallHelpKey(this, *help);
}

int PriorityDialog::SelectedPriority() const { return kPriorityLevels[levelIndex_].value; }

void PriorityDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) ShowLevels();
}

void PriorityDialog::ShowLevels() {
  levelSlider_->setRange(0, static_cast<int>(kPriorityLevels.size()) - 1);
  levelSlider_->setValue(5 - levelIndex_);  // no slider action, so no priority change
  UpdateLabel();
}

void PriorityDialog::SliderMoved(int code) {
  if (!IsActingCode(code)) return;
  levelIndex_ = 5 - levelSlider_->sliderPosition();
  priority_.SetThreadPriority(targetThread_, SelectedPriority());
  UpdateLabel();
}

void PriorityDialog::UpdateLabel() {
  levelLabel_->setText(QString::fromLatin1(kLabelPrefix) +
                       QString::fromLatin1(kPriorityLevels[levelIndex_].name));
}

}  // namespace orvanel::app
