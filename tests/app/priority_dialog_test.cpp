// The thread priority dialog opened from the main window, and the high priority class.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

#include "app/controls.h"
#include "app/dialog_units.h"
#include "app/help_controller.h"
#include "app/main_dialog.h"
#include "app/priority_dialog.h"
#include "app_fakes.h"
#include "modal_helper.h"

using namespace orvanel::app;
using orvanel::app::testing::RecordingPriorityControl;
using orvanel::app::testing::RecordingSpeechControl;
using orvanel::app::testing::WhenModal;

namespace {

QSlider* LevelSlider(QWidget* dialog) { return qobject_cast<QSlider*>(FindControl(dialog, 1004)); }
QString Label(QWidget* dialog) { return qobject_cast<QLabel*>(FindControl(dialog, 1005))->text(); }
QWidget* NextTabStop(QWidget* from) {
  QWidget* next = from->nextInFocusChain();
  while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  return next;
}
void Press(QWidget* dialog, int id) {
  QTest::mouseClick(qobject_cast<QPushButton*>(FindControl(dialog, id)), Qt::LeftButton);
}

}  // namespace

class PriorityDialogTest : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<RecordingSpeechControl> speech_;
  std::unique_ptr<RecordingPriorityControl> priority_;
  std::unique_ptr<HelpController> help_;
  std::unique_ptr<MainDialog> dialog_;
  bool timedOut_ = false;

  // Opens the dialog with command 32771, runs act inside it, and returns after it closed.
  void RunPriorityDialog(std::function<void(PriorityDialog*)> act) {
    WhenModal<PriorityDialog>(std::move(act), &timedOut_);
    QVERIFY(dialog_->OnCommand(32771));
    QVERIFY(!timedOut_);
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QFile::copy(QStringLiteral(ORVANEL_HELP_SOURCE), dir_->filePath("orvanel.HLP")));
    speech_ = std::make_unique<RecordingSpeechControl>();
    priority_ = std::make_unique<RecordingPriorityControl>();
    help_ = std::make_unique<HelpController>(dir_->filePath("orvanel"));
    dialog_ = std::make_unique<MainDialog>(*speech_, *priority_, *help_);
    dialog_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
    timedOut_ = false;
  }

  void cleanup() {
    dialog_.reset();
    help_.reset();
    dir_.reset();
  }

  void anUnknownLevelOpensAtLowestAndOkSetsLowest() {
    priority_->current = orvanel::engine::kThreadPriorityIdle;
    RunPriorityDialog([this](PriorityDialog* d) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Speech Engine Thread Priority"));
      QCOMPARE(LevelSlider(d)->value(), 5);
      QCOMPARE(Label(d), QStringLiteral("Current Priority = Lowest"));
      QVERIFY(priority_->threadSets.empty());  // showing changes nothing
      Press(d, 1);
    });
    QCOMPARE(priority_->threadSets, (std::vector<int>{-2}));
  }

  void opensAtTheThreadsCurrentLevel() {
    priority_->current = 1;
    RunPriorityDialog([](PriorityDialog* d) {
      QCOMPARE(LevelSlider(d)->value(), 2);
      QCOMPARE(Label(d), QStringLiteral("Current Priority = Above Normal"));
      QCOMPARE(d->SelectedPriority(), 1);
      Press(d, 2);
    });
  }

  void eachStepActsAtOnceAndCancelRestoresTheSavedLevel() {
    priority_->current = 0;
    RunPriorityDialog([this](PriorityDialog* d) {
      QTest::keyClick(LevelSlider(d), Qt::Key_Up);
      QCOMPARE(Label(d), QStringLiteral("Current Priority = Above Normal"));
      QCOMPARE(priority_->current, 1);
      QTest::keyClick(LevelSlider(d), Qt::Key_Up);
      QCOMPARE(Label(d), QStringLiteral("Current Priority = Highest"));
      QCOMPARE(priority_->current, 2);
      Press(d, 2);
    });
    QCOMPARE(priority_->threadSets, (std::vector<int>{1, 2, 0}));
    QCOMPARE(priority_->current, 0);
  }

  void escapeAlsoRestores() {
    priority_->current = -1;
    RunPriorityDialog([](PriorityDialog* d) {
      QTest::keyClick(LevelSlider(d), Qt::Key_Down);
      QTest::keyClick(d, Qt::Key_Escape);
    });
    QCOMPARE(priority_->threadSets, (std::vector<int>{-2, -1}));
  }

  void pageStepsToTheTopGiveTimeCritical() {
    priority_->current = 0;
    RunPriorityDialog([this](PriorityDialog* d) {
      for (int i = 0; i < 5; ++i) QTest::keyClick(LevelSlider(d), Qt::Key_PageUp);
      QCOMPARE(LevelSlider(d)->value(), 0);
      QCOMPARE(Label(d), QStringLiteral("Current Priority = Time Critical"));
      QCOMPARE(priority_->threadSets.back(), 15);
      Press(d, 1);
    });
    QCOMPARE(priority_->threadSets.back(), 15);
    QCOMPARE(priority_->current, 15);
  }

  void homeAndEndMoveTheThumbOnlyAndOkAppliesTheLastActedLevel() {
    priority_->current = 0;
    RunPriorityDialog([this](PriorityDialog* d) {
      QTest::keyClick(LevelSlider(d), Qt::Key_Down);  // Below Normal, acts
      QTest::keyClick(LevelSlider(d), Qt::Key_Home);
      QCOMPARE(LevelSlider(d)->value(), 0);
      QCOMPARE(Label(d), QStringLiteral("Current Priority = Below Normal"));
      QTest::keyClick(LevelSlider(d), Qt::Key_End);
      QCOMPARE(LevelSlider(d)->value(), 5);
      QCOMPARE(Label(d), QStringLiteral("Current Priority = Below Normal"));
      QCOMPARE(priority_->threadSets, (std::vector<int>{-1}));
      Press(d, 1);
    });
    QCOMPARE(priority_->threadSets, (std::vector<int>{-1, -1}));
  }

  void aDragActsAndItsReleaseDoesNot() {
    priority_->current = 0;
    RunPriorityDialog([this](PriorityDialog* d) {
      QSlider* slider = LevelSlider(d);
      slider->setSliderDown(true);
      slider->setSliderPosition(1);
      slider->setSliderDown(false);
      QCOMPARE(Label(d), QStringLiteral("Current Priority = Highest"));
      QCOMPARE(priority_->threadSets, (std::vector<int>{2}));
      Press(d, 1);
    });
    QCOMPARE(priority_->threadSets, (std::vector<int>{2, 2}));
  }

  void refusedChangesReportNothingAndTheLabelStillFollows() {
    priority_->current = 0;
    priority_->refuse = true;
    RunPriorityDialog([](PriorityDialog* d) {
      QTest::keyClick(LevelSlider(d), Qt::Key_Up);
      QCOMPARE(Label(d), QStringLiteral("Current Priority = Above Normal"));
      QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(d));
      Press(d, 1);
    });
    QCOMPARE(priority_->threadSets, (std::vector<int>{1, 1}));
  }

  void layoutTextsAndTabOrder() {
    RunPriorityDialog([](PriorityDialog* d) {
      const DialogUnits du = DialogUnits::FromFont(d->font());
      QCOMPARE(d->size(), QSize(du.ToPixelsX(186), du.ToPixelsY(95)));
      QCOMPARE(d->minimumSize(), d->maximumSize());
      QCOMPARE(FindControl(d, 1)->geometry(), du.ToPixels(29, 74, 50, 14));
      QCOMPARE(FindControl(d, 2)->geometry(), du.ToPixels(107, 74, 50, 14));
      QCOMPARE(FindControl(d, 1004)->geometry(), du.ToPixels(154, 7, 25, 61));
      QCOMPARE(FindControl(d, 1005)->geometry(), du.ToPixels(7, 57, 117, 8));
      QVERIFY(qobject_cast<QPushButton*>(FindControl(d, 1))->isDefault());
      QCOMPARE(qobject_cast<QPushButton*>(FindControl(d, 2))->text(), QStringLiteral("Cancel"));
      QSlider* slider = LevelSlider(d);
      QCOMPARE(slider->tickPosition(), QSlider::TicksLeft);
      QCOMPARE(slider->tickInterval(), 1);
      QCOMPARE(slider->pageStep(), 1);
      QCOMPARE(slider->maximum(), 5);
      const struct {
        const char* text;
        int x, y, w, h;
      } statics[] = {
          {"Select speech engine thread priority.\nOn slow machines, set priority higher to "
           "keep speech continuous.",
           7, 7, 114, 39},
          {"High", 131, 7, 16, 8},
          {"Low", 131, 57, 14, 8},
      };
      for (const auto& s : statics) {
        QLabel* found = nullptr;
        for (QLabel* label : d->findChildren<QLabel*>()) {
          if (label->text() == QString::fromLatin1(s.text)) found = label;
        }
        QVERIFY2(found != nullptr, s.text);
        QCOMPARE(found->geometry(), du.ToPixels(s.x, s.y, s.w, s.h));
      }
      QCOMPARE(NextTabStop(FindControl(d, 1)), FindControl(d, 2));
      QCOMPARE(NextTabStop(FindControl(d, 2)), FindControl(d, 1004));
      QCOMPARE(NextTabStop(FindControl(d, 1004)), FindControl(d, 1));
      Press(d, 2);
    });
  }

  void theMainWindowIsBlockedWhileTheDialogIsOpen() {
    RunPriorityDialog([this](PriorityDialog* d) {
      QCOMPARE(d->parentWidget(), static_cast<QWidget*>(dialog_.get()));
      QVERIFY(d->isModal());
      Press(d, 2);
    });
  }

  void f1OpensThePriorityTopic() {
    RunPriorityDialog([this](PriorityDialog* d) {
      LevelSlider(d)->setFocus();
      QTest::keyClick(d->windowHandle(), Qt::Key_F1);
      QTextBrowser* viewer = help_->Viewer();
      QVERIFY(viewer != nullptr);
      QCOMPARE(viewer->source().fragment(), QStringLiteral("ctx131202"));
      QVERIFY(viewer->isVisible());
      Press(d, 2);
    });
  }

  void highPriorityFirstChecksAndSetsHighThenUnchecksAndSetsNormal() {
    QAction* high = dialog_->MenuAction(32779);
    QVERIFY(high->isCheckable());
    QVERIFY(!high->isChecked());
    QVERIFY(dialog_->OnCommand(32779));
    QVERIFY(high->isChecked());
    QVERIFY(dialog_->OnCommand(32779));
    QVERIFY(!high->isChecked());
    QCOMPARE(priority_->classSets, (std::vector<bool>{true, false}));
  }
};

QTEST_MAIN(PriorityDialogTest)
#include "priority_dialog_test.moc"
