// Help (file naming, topics per dialog, the missing-file warning, closing with the window), the
// about box, and the program's start-up and end through the application object.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

#include "app/about_dialog.h"
#include "app/application.h"
#include "app/controls.h"
#include "app/dialog_units.h"
#include "app/help_controller.h"
#include "app/main_dialog.h"
#include "app_fakes.h"
#include "modal_helper.h"

using namespace orvanel::app;
using orvanel::app::testing::RecordingPriorityControl;
using orvanel::app::testing::RecordingSpeechControl;
using orvanel::app::testing::WhenModal;

class HelpAboutTest : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<RecordingSpeechControl> speech_;
  std::unique_ptr<RecordingPriorityControl> priority_;
  std::unique_ptr<HelpController> help_;
  std::unique_ptr<MainDialog> dialog_;
  bool timedOut_ = false;

  void Open(const QString& programPath) {
    speech_ = std::make_unique<RecordingSpeechControl>();
    priority_ = std::make_unique<RecordingPriorityControl>();
    help_ = std::make_unique<HelpController>(programPath);
    dialog_ = std::make_unique<MainDialog>(*speech_, *priority_, *help_);
    dialog_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
  }
  QString Topic() const {
    return help_->Viewer() == nullptr ? QString() : help_->Viewer()->source().fragment();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QFile::copy(QStringLiteral(ORVANEL_HELP_SOURCE), dir_->filePath("orvanel.HLP")));
    timedOut_ = false;
    Open(dir_->filePath("orvanel"));
  }

  void cleanup() {
    dialog_.reset();
    help_.reset();
    dir_.reset();
  }

  void helpFileHasAnAnchorForEveryDialog() {
    QFile file(help_->HelpFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray html = file.readAll();
    for (const char* anchor : {"name=\"ctx131174\"", "name=\"ctx131202\"", "name=\"ctx131172\""}) {
      QVERIFY2(html.contains(anchor), anchor);
    }
  }

  void helpButtonWithFocusInTheTextOpensTheMainTopic() {
    FindControl(dialog_.get(), 1000)->setFocus();
    QTest::mouseClick(qobject_cast<QPushButton*>(FindControl(dialog_.get(), 57670)),
                      Qt::LeftButton);
    QVERIFY(help_->Viewer() != nullptr);
    QVERIFY(help_->Viewer()->isVisible());
    QCOMPARE(Topic(), QStringLiteral("ctx131174"));
    QVERIFY(help_->Viewer()->toPlainText().contains(QStringLiteral("Typing rules")));
  }

  void altHClicksTheHelpButtonAlthoughTheMenuSharesIt() {
    FindControl(dialog_.get(), 1000)->setFocus();
    QTest::keyClick(FindControl(dialog_.get(), 1000), Qt::Key_H, Qt::AltModifier);
    QVERIFY(help_->Viewer() != nullptr);
    QCOMPARE(Topic(), QStringLiteral("ctx131174"));
  }

  void helpWithFocusOnAButtonOpensTheMainTopic() {
    FindControl(dialog_.get(), 1002)->setFocus();
    QVERIFY(dialog_->OnCommand(57670));
    QCOMPARE(Topic(), QStringLiteral("ctx131174"));
  }

  void helpTopicsMenuItemAndF1OpenTheMainTopic() {
    dialog_->MenuAction(57670)->trigger();
    QCOMPARE(Topic(), QStringLiteral("ctx131174"));
    help_->Quit();
    QVERIFY(help_->Viewer() == nullptr);
    FindControl(dialog_.get(), 1000)->setFocus();
    QTest::keyClick(dialog_->windowHandle(), Qt::Key_F1);
    QCOMPARE(Topic(), QStringLiteral("ctx131174"));
  }

  void f1WithAModifierDoesNothing() {
    QTest::keyClick(dialog_->windowHandle(), Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(dialog_->windowHandle(), Qt::Key_F1, Qt::ControlModifier);
    QVERIFY(help_->Viewer() == nullptr);
  }

  void theViewerClosesWhenTheMainWindowIsDestroyed() {
    QVERIFY(dialog_->OnCommand(57670));
    QPointer<QTextBrowser> viewer = help_->Viewer();
    QVERIFY(!viewer.isNull());
    dialog_.reset();
    QVERIFY(viewer.isNull());
    QVERIFY(help_->Viewer() == nullptr);
  }

  void aMissingHelpFileGivesTheWarning() {
    dialog_.reset();
    help_.reset();
    Open(dir_->filePath("nohelp/orvanel.bin"));
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    WhenModal<QMessageBox>(
        [&](QMessageBox* box) {
          title = box->windowTitle();
          text = box->text();
          icon = box->icon();
          buttons = box->standardButtons();
          box->button(QMessageBox::Ok)->click();
        },
        &timedOut_);
    dialog_->OnCommand(57670);
    QVERIFY(!timedOut_);
    QCOMPARE(text, QStringLiteral("Failed to launch help."));
    QCOMPARE(title, QStringLiteral("orvanel"));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(help_->Viewer() == nullptr);
    QVERIFY(dialog_->isVisible());  // the program goes on
  }

  void aboutFromTheHelpMenuShowsIconNameAndVersion() {
    bool seen = false;
    WhenModal<AboutDialog>(
        [&](AboutDialog* about) {
          seen = true;
          QCOMPARE(about->windowTitle(), QStringLiteral("About Orvanel"));
          QCOMPARE(about->parentWidget(), static_cast<QWidget*>(dialog_.get()));
          const DialogUnits du = DialogUnits::FromFont(about->font());
          QCOMPARE(about->size(), QSize(du.ToPixelsX(217), du.ToPixelsY(109)));
          auto* icon = about->findChild<QLabel*>(QStringLiteral("appIcon"));
          QVERIFY(icon != nullptr);
          QVERIFY(!icon->pixmap().isNull());
          QCOMPARE(icon->geometry(), du.ToPixels(7, 7, 21, 20));
          auto* version = about->findChild<QLabel*>(QStringLiteral("versionText"));
          QCOMPARE(version->text(), QStringLiteral("Orvanel Version 2.3"));
          QCOMPARE(version->geometry(), du.ToPixels(40, 10, 119, 8));
          auto* ok = qobject_cast<QPushButton*>(FindControl(about, 1));
          QCOMPARE(ok->text(), QStringLiteral("OK"));
          QVERIFY(ok->isDefault());
          QCOMPARE(ok->geometry(), du.ToPixels(152, 18, 47, 20));
          ok->click();
        },
        &timedOut_);
    dialog_->MenuAction(16)->trigger();
    QVERIFY(!timedOut_);
    QVERIFY(seen);
  }

  void f1InTheAboutBoxOpensItsTopicAndEscapeClosesIt() {
    WhenModal<AboutDialog>(
        [&](AboutDialog* about) {
          QTest::keyClick(about->windowHandle(), Qt::Key_F1);
          QCOMPARE(Topic(), QStringLiteral("ctx131172"));
          QTest::keyClick(about, Qt::Key_Escape);
          QVERIFY(!about->isVisible());
        },
        &timedOut_);
    QVERIFY(dialog_->OnCommand(16));
    QVERIFY(!timedOut_);
  }

  void theWindowAndTheAboutBoxCarryTheAppIcon() {
    const QIcon icon = dialog_->windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    // The large picture is mostly red, the small one mostly blue.
    const QImage large = icon.pixmap(32, 32).toImage();
    const QImage small = icon.pixmap(16, 16).toImage();
    const QColor corner = large.pixelColor(31, 0);
    QVERIFY(corner.red() > 200 && corner.green() < 60 && corner.blue() < 60);
    const QColor middle = small.pixelColor(2, 8);
    QVERIFY(middle.blue() > middle.red() + 60);
  }

  void engineFailureShowsTheBoxBeforeAnyWindowAndExitsWith1() {
    dialog_.reset();
    RecordingSpeechControl failing;
    failing.createSucceeds = false;
    failing.createError = "Cannot load resource IE_1";
    RecordingPriorityControl priority;
    Application application(failing, priority, dir_->filePath("orvanel"));
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool anyMainWindow = true;
    QWidget* parent = this->dialog_.get();
    WhenModal<QMessageBox>(
        [&](QMessageBox* box) {
          title = box->windowTitle();
          text = box->text();
          icon = box->icon();
          buttons = box->standardButtons();
          parent = box->parentWidget();
          anyMainWindow = false;
          for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<MainDialog*>(w) != nullptr) anyMainWindow = true;
          }
          box->button(QMessageBox::Ok)->click();
        },
        &timedOut_);
    QCOMPARE(application.StartUp(), 1);
    QVERIFY(!timedOut_);
    QCOMPARE(title, QStringLiteral("Speech Engine Error\n"));
    QCOMPARE(text, QStringLiteral("Cannot load resource IE_1"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(parent == nullptr);
    QVERIFY(!anyMainWindow);
    QCOMPARE(failing.creates, 1);
  }

  void startUpRunsTheWindowAndShutsTheEngineDownWhenItCloses() {
    dialog_.reset();
    RecordingSpeechControl speech;
    RecordingPriorityControl priority;
    Application application(speech, priority, dir_->filePath("orvanel"));
    int shutdownsWhileOpen = -1;
    WhenModal<MainDialog>(
        [&](MainDialog* window) {
          shutdownsWhileOpen = speech.shutdowns;
          // Not application-modal, so the help viewer beside it takes input.
          QVERIFY(QApplication::activeModalWidget() == nullptr);
          window->OnCommand(57670);
          QVERIFY(QApplication::activeModalWidget() == nullptr);
          QCOMPARE(window->windowTitle(),
                   QStringLiteral("Orvanel    -    Turkish Text To Speech Program"));
          window->MenuAction(1)->trigger();  // speech is running when the window closes
          window->MenuAction(2)->trigger();
        },
        &timedOut_);
    QCOMPARE(application.StartUp(), 0);
    QVERIFY(!timedOut_);
    QCOMPARE(shutdownsWhileOpen, 0);
    QCOMPARE(speech.shutdowns, 1);
    QCOMPARE(speech.spoken.size(), std::size_t{1});
  }
};

QTEST_MAIN(HelpAboutTest)
#include "help_about_test.moc"
