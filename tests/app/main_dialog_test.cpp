// The main window over a recording speech control: speaking, stopping, the sliders, the menu,
// the text commands and the layout in dialog units.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTextCursor>
#include <QtTest>
#include <memory>
#include <thread>

#include "app/controls.h"
#include "app/dialog_units.h"
#include "app/help_controller.h"
#include "app/main_dialog.h"
#include "app_fakes.h"

using namespace orvanel::app;
using orvanel::app::testing::RecordingPriorityControl;
using orvanel::app::testing::RecordingSpeechControl;

class MainDialogTest : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<RecordingSpeechControl> speech_;
  std::unique_ptr<RecordingPriorityControl> priority_;
  std::unique_ptr<HelpController> help_;
  std::unique_ptr<MainDialog> dialog_;

  QPlainTextEdit* Text() { return qobject_cast<QPlainTextEdit*>(FindControl(dialog_.get(), 1000)); }
  QPushButton* Button(int id) { return qobject_cast<QPushButton*>(FindControl(dialog_.get(), id)); }
  QSlider* Slider(int id) { return qobject_cast<QSlider*>(FindControl(dialog_.get(), id)); }
  QString SpeakLabel() { return Button(1)->text(); }

 private slots:
  void init() {
    speech_ = std::make_unique<RecordingSpeechControl>();
    priority_ = std::make_unique<RecordingPriorityControl>();
    help_ = std::make_unique<HelpController>(QStringLiteral("/nonexistent/orvanel"));
    dialog_ = std::make_unique<MainDialog>(*speech_, *priority_, *help_);
    dialog_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
  }

  void cleanup() {
    dialog_.reset();
    help_.reset();
  }

  void showingTheWindowTouchesNeitherEngineValue() {
    QCOMPARE(Slider(1006)->value(), 50);
    QCOMPARE(Slider(1007)->value(), 50);
    QVERIFY(speech_->pitchSets.empty());
    QVERIFY(speech_->speedSets.empty());
    QVERIFY(speech_->spoken.empty());
  }

  void windowTextsAndFrame() {
    QCOMPARE(dialog_->windowTitle(),
             QStringLiteral("Orvanel    -    Turkish Text To Speech Program"));
    QCOMPARE(dialog_->minimumSize(), dialog_->maximumSize());
    QVERIFY(!(dialog_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(dialog_->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(Button(1)->text(), QStringLiteral("&Speak"));
    QVERIFY(Button(1)->isDefault());
    QCOMPARE(Button(1001)->text(), QStringLiteral("&Clear Text"));
    QCOMPARE(Button(1002)->text(), QStringLiteral("&Preprocess"));
    QCOMPARE(Button(1003)->text(), QStringLiteral("E&xamples"));
    QCOMPARE(Button(57670)->text(), QStringLiteral("&Help"));
    QVERIFY(Button(57670)->isVisible());
    QCOMPARE(Text()->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(Text()->hasFocus() || QApplication::focusWidget() == nullptr);
    QStringList labels;
    for (QLabel* label : dialog_->Client()->findChildren<QLabel*>()) labels << label->text();
    QVERIFY(labels.contains(QStringLiteral(
        "Type Turkish text and press Speak.  Use Help to find out the typing rules.")));
    QVERIFY(labels.contains(QStringLiteral("Speed")));
    QVERIFY(labels.contains(QStringLiteral("Pitch")));
  }

  void controlsSitAtTheirDialogUnitRectangles() {
    const DialogUnits du = DialogUnits::FromFont(dialog_->font());
    QCOMPARE(dialog_->Client()->size(), QSize(du.ToPixelsX(301), du.ToPixelsY(178)));
    QCOMPARE(dialog_->size().width(), du.ToPixelsX(301));
    QCOMPARE(dialog_->size().height(), dialog_->MenuBar()->height() + du.ToPixelsY(178));
    const struct {
      int id, x, y, w, h;
    } expected[] = {
        {1000, 7, 20, 217, 151},  {1, 244, 21, 50, 14},     {1001, 244, 38, 50, 14},
        {1002, 244, 55, 50, 14},  {1003, 244, 76, 50, 14},  {57670, 244, 93, 50, 14},
        {1006, 233, 113, 27, 50}, {1007, 267, 113, 27, 50},
    };
    for (const auto& e : expected) {
      QWidget* control = FindControl(dialog_.get(), e.id);
      QVERIFY2(control != nullptr, qPrintable(QString::number(e.id)));
      QCOMPARE(control->parentWidget(), dialog_->Client());
      QCOMPARE(control->geometry(), du.ToPixels(e.x, e.y, e.w, e.h));
    }
    const struct {
      const char* text;
      int x, y, w, h;
    } statics[] = {
        {"Type Turkish text and press Speak.  Use Help to find out the typing rules.", 7, 7, 287,
         9},
        {"Speed", 235, 163, 22, 8},
        {"Pitch", 269, 163, 17, 8},
    };
    for (const auto& s : statics) {
      QLabel* found = nullptr;
      for (QLabel* label : dialog_->Client()->findChildren<QLabel*>()) {
        if (label->text() == QString::fromLatin1(s.text)) found = label;
      }
      QVERIFY2(found != nullptr, s.text);
      QCOMPARE(found->geometry(), du.ToPixels(s.x, s.y, s.w, s.h));
    }
  }

  void tabOrderFollowsTheTemplate() {
    const int order[] = {1000, 1, 1001, 1002, 1003, 57670, 1006, 1007, 1000};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
      QWidget* from = FindControl(dialog_.get(), order[i]);
      QWidget* next = from->nextInFocusChain();
      while (next->focusPolicy() == Qt::NoFocus || !next->property(kControlIdProperty).isValid()) {
        next = next->nextInFocusChain();
      }
      QCOMPARE(next->property(kControlIdProperty).toInt(), order[i + 1]);
    }
  }

  void menuHoldsEveryItemWithItsCommand() {
    const QList<QAction*> menus = dialog_->MenuBar()->actions();
    // The three designed menus, then Options (Turkish Reading, tested on its own).
    QCOMPARE(menus.size(), 4);
    QCOMPARE(menus[0]->text(), QStringLiteral("Speech &Engine"));
    QCOMPARE(menus[1]->text(), QStringLiteral("&Application"));
    QCOMPARE(menus[2]->text(), QStringLiteral("&Help"));
    QCOMPARE(menus[3]->text(), QStringLiteral("&Options"));
    auto items = [](QAction* menu) {
      QStringList out;
      for (QAction* a : menu->menu()->actions()) {
        out << (a->isSeparator() ? QStringLiteral("-")
                                 : a->text() + QLatin1Char('=') +
                                       QString::number(a->property(kCommandIdProperty).toInt()));
      }
      return out;
    };
    QCOMPARE(
        items(menus[0]),
        (QStringList{"Speak=1", "Preprocess=1002", "Clear Text=1001", "Thread Priority...=32771",
                     "Set speech parameters to default=32780", "-", "&Exit=2"}));
    QCOMPARE(items(menus[1]), (QStringList{"High Priority=32779"}));
    QCOMPARE(items(menus[2]), (QStringList{"Examples=1003", "Help Topics=57670", "About=16"}));
  }

  void speakSendsTheTextAndShowsStopUntilTheEngineIsDone() {
    Text()->setPlainText(QString::fromUtf8("Merhaba dünya"));
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QCOMPARE(speech_->spoken.size(), std::size_t{1});
    QCOMPARE(QByteArray::fromStdString(speech_->spoken[0].text), QByteArray("Merhaba d\xFCnya"));
    QCOMPARE(speech_->spoken[0].window, static_cast<orvanel::engine::NotifyTarget*>(dialog_.get()));
    QCOMPARE(speech_->spoken[0].message, 1026u);
    QCOMPARE(SpeakLabel(), QStringLiteral("&Stop"));
    QVERIFY(!dialog_->ReadyToSpeak());

    // The engine posts from its worker thread; the window sees it on its own loop.
    std::thread worker([target = dialog_.get()] { target->PostMessage(1026, 0, 0); });
    worker.join();
    QCOMPARE(SpeakLabel(), QStringLiteral("&Stop"));  // not before the loop runs
    QTRY_COMPARE(SpeakLabel(), QStringLiteral("&Speak"));
    QVERIFY(dialog_->ReadyToSpeak());
    QCOMPARE(speech_->stops, 0);
  }

  void doneWithNonZeroFirstParameterChangesNothing() {
    QTest::mouseClick(Button(1), Qt::LeftButton);
    dialog_->PostMessage(1026, 1, 0);
    QCoreApplication::processEvents();
    QCOMPARE(SpeakLabel(), QStringLiteral("&Stop"));
    QCOMPARE(dialog_->SpeechDone(0, 7), 0);
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));
  }

  void stopReturnsAtOnce() {
    Text()->setPlainText(QStringLiteral("bir iki"));
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QCOMPARE(speech_->stops, 1);
    QCOMPARE(speech_->spoken.size(), std::size_t{1});
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));
    // The completion that follows changes nothing visible.
    dialog_->PostMessage(1026, 0, 0);
    QCoreApplication::processEvents();
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));
    QCOMPARE(speech_->stops, 1);
  }

  void menuSpeakStopsRunningSpeech() {
    QAction* speak = dialog_->MenuAction(1);
    QVERIFY(speak != nullptr);
    speak->trigger();
    QCOMPARE(speech_->spoken.size(), std::size_t{1});
    QCOMPARE(SpeakLabel(), QStringLiteral("&Stop"));
    QCOMPARE(speak->text(), QStringLiteral("Speak"));
    speak->trigger();
    QCOMPARE(speech_->stops, 1);
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));
  }

  void onlyTheSelectionIsSpoken() {
    Text()->setPlainText(QStringLiteral("bir iki üç"));
    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    Text()->setTextCursor(cursor);
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QCOMPARE(QByteArray::fromStdString(speech_->spoken.back().text), QByteArray("iki"));
  }

  void aCaretWithoutSelectionSpeaksEverything() {
    Text()->setPlainText(QStringLiteral("bir\niki"));
    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(2);
    Text()->setTextCursor(cursor);
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QCOMPARE(QByteArray::fromStdString(speech_->spoken.back().text), QByteArray("bir\r\niki"));
  }

  void aSelectionAcrossALineBreakKeepsBothCharacters() {
    Text()->setPlainText(QStringLiteral("ab\ncd"));
    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(4, QTextCursor::KeepAnchor);  // "b", the break, "c"
    Text()->setTextCursor(cursor);
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QCOMPARE(QByteArray::fromStdString(speech_->spoken.back().text), QByteArray("b\r\nc"));
  }

  void anEmptyTextStillSpeaksAndWaitsForTheEngine() {
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QCOMPARE(speech_->spoken.size(), std::size_t{1});
    QVERIFY(speech_->spoken[0].text.empty());
    QCOMPARE(SpeakLabel(), QStringLiteral("&Stop"));
    QCoreApplication::processEvents();
    QCOMPARE(SpeakLabel(), QStringLiteral("&Stop"));
    dialog_->PostMessage(1026, 0, 0);
    QTRY_COMPARE(SpeakLabel(), QStringLiteral("&Speak"));
  }

  void preprocessReplacesTheWholeText() {
    Text()->setPlainText(QString::fromUtf8("ağaç\nev"));
    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    Text()->setTextCursor(cursor);
    QTest::mouseClick(Button(1002), Qt::LeftButton);
    QCOMPARE(speech_->transcribed.size(), std::size_t{1});
    QCOMPARE(QByteArray::fromStdString(speech_->transcribed[0]), QByteArray("a\xF0\x61\xE7\r\nev"));
    QCOMPARE(Text()->toPlainText(), QString::fromUtf8("<ağaç\nev>"));
    QVERIFY(speech_->spoken.empty());
    dialog_->MenuAction(1002)->trigger();
    QCOMPARE(Text()->toPlainText(), QString::fromUtf8("<<ağaç\nev>>"));
  }

  void clearTextEmptiesTheBoxOnly() {
    Text()->setPlainText(QStringLiteral("silinecek"));
    QTest::mouseClick(Button(1001), Qt::LeftButton);
    QCOMPARE(Text()->toPlainText(), QString());
    Text()->setPlainText(QStringLiteral("yine"));
    dialog_->MenuAction(1001)->trigger();
    QCOMPARE(Text()->toPlainText(), QString());
    QVERIFY(speech_->spoken.empty());
    QCOMPARE(speech_->stops, 0);
  }

  void examplesGoInAtTheCaretAndUndoTakesThemOut() {
    Text()->setPlainText(QStringLiteral("ab"));
    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(1);
    Text()->setTextCursor(cursor);
    QTest::mouseClick(Button(1003), Qt::LeftButton);
    QCOMPARE(Text()->toPlainText(),
             QString::fromUtf8("aTürkçe Konuşma Programı.\nTörkiş TextTuSpiiç Sintisayzır.b"));
    Text()->undo();
    QCOMPARE(Text()->toPlainText(), QStringLiteral("ab"));
    dialog_->MenuAction(1003)->trigger();
    QVERIFY(Text()->toPlainText().contains(QString::fromUtf8("Türkçe Konuşma Programı.")));
  }

  void enterInTheTextBoxBreaksTheLineAndDoesNotSpeak() {
    Text()->setFocus();
    QTest::keyClicks(Text(), QStringLiteral("ab"));
    QTest::keyClick(Text(), Qt::Key_Return);
    QTest::keyClicks(Text(), QStringLiteral("c"));
    QCOMPARE(Text()->toPlainText(), QStringLiteral("ab\nc"));
    QVERIFY(speech_->spoken.empty());
  }

  void pitchSliderTopSays100AndBottomSays1() {
    QSlider* pitch = Slider(1007);
    for (int i = 0; i < 3; ++i) QTest::keyClick(pitch, Qt::Key_PageUp);  // 50 -> 31 -> 12 -> 0
    QCOMPARE(pitch->value(), 0);
    QCOMPARE(speech_->pitch, 100u);
    QCOMPARE(speech_->spoken.size(), std::size_t{3});
    QCOMPARE(speech_->spoken.back().text, std::string("100"));
    QCOMPARE(speech_->spoken.back().message, 1026u);
    for (int i = 0; i < 6; ++i) QTest::keyClick(pitch, Qt::Key_PageDown);
    QCOMPARE(pitch->value(), 99);
    QCOMPARE(speech_->pitch, 1u);
    QCOMPARE(speech_->spoken.back().text, std::string("1"));
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));  // the mode is not changed
    QVERIFY(speech_->speedSets.empty());
  }

  void pitchLineStepsSpeakEachValue() {
    QSlider* pitch = Slider(1007);
    QTest::keyClick(pitch, Qt::Key_Up);
    QCOMPARE(speech_->pitchSets, (std::vector<unsigned>{51}));
    QTest::keyClick(pitch, Qt::Key_Down);
    QTest::keyClick(pitch, Qt::Key_Down);
    QCOMPARE(speech_->pitchSets, (std::vector<unsigned>{51, 50, 49}));
    QCOMPARE(speech_->spoken.back().text, std::string("49"));
  }

  void leftAndRightStepLikeUpAndDown() {
    // On a vertical trackbar Left is a line towards the top, Right a line towards the bottom.
    QSlider* pitch = Slider(1007);
    QTest::keyClick(pitch, Qt::Key_Left);
    QCOMPARE(pitch->value(), 49);
    QCOMPARE(speech_->pitchSets, (std::vector<unsigned>{51}));
    QCOMPARE(speech_->spoken.back().text, std::string("51"));
    QTest::keyClick(pitch, Qt::Key_Right);
    QTest::keyClick(pitch, Qt::Key_Right);
    QCOMPARE(pitch->value(), 51);
    QCOMPARE(speech_->pitchSets, (std::vector<unsigned>{51, 50, 49}));
    QSlider* speed = Slider(1006);
    QTest::keyClick(speed, Qt::Key_Right);
    QCOMPARE(speech_->speed, 51u);
    QTest::keyClick(speed, Qt::Key_Left);
    QCOMPARE(speech_->speed, 50u);
  }

  void speedSliderTopIs0BottomIs99AndSaysNothing() {
    QSlider* speed = Slider(1006);
    for (int i = 0; i < 3; ++i) QTest::keyClick(speed, Qt::Key_PageUp);
    QCOMPARE(speech_->speed, 0u);
    for (int i = 0; i < 6; ++i) QTest::keyClick(speed, Qt::Key_PageDown);
    QCOMPARE(speech_->speed, 99u);
    QTest::keyClick(speed, Qt::Key_Up);
    QCOMPARE(speech_->speed, 98u);
    QVERIFY(speech_->spoken.empty());
    QVERIFY(speech_->pitchSets.empty());
  }

  void homeAndEndMoveTheThumbOnly() {
    QSlider* pitch = Slider(1007);
    QSlider* speed = Slider(1006);
    QTest::keyClick(pitch, Qt::Key_Home);
    QCOMPARE(pitch->value(), 0);
    QTest::keyClick(pitch, Qt::Key_End);
    QCOMPARE(pitch->value(), 99);
    QTest::keyClick(speed, Qt::Key_End);
    QCOMPARE(speed->value(), 99);
    QTest::keyClick(speed, Qt::Key_Home);
    QCOMPARE(speed->value(), 0);
    QVERIFY(speech_->pitchSets.empty());
    QVERIFY(speech_->speedSets.empty());
    QVERIFY(speech_->spoken.empty());
    QCOMPARE(speech_->pitch, 50u);
    // A later line step acts from where the thumb is.
    QTest::keyClick(speed, Qt::Key_Down);
    QCOMPARE(speech_->speed, 1u);
  }

  void draggingActsAndReleasingDoesNotActAgain() {
    QSlider* speed = Slider(1006);
    speed->setSliderDown(true);
    speed->setSliderPosition(10);
    QCOMPARE(speech_->speedSets, (std::vector<unsigned>{10}));
    speed->setSliderPosition(12);
    speed->setSliderDown(false);
    QCOMPARE(speech_->speedSets, (std::vector<unsigned>{10, 12}));
    QSlider* pitch = Slider(1007);
    pitch->setSliderDown(true);
    pitch->setSliderPosition(20);
    pitch->setSliderDown(false);
    QCOMPARE(speech_->pitchSets, (std::vector<unsigned>{80}));
    QCOMPARE(speech_->spoken.size(), std::size_t{1});
    QCOMPARE(speech_->spoken[0].text, std::string("80"));
  }

  void realMouseDragOnThePitchThumb() {
    QSlider* pitch = Slider(1007);
    const QPoint start = pitch->rect().center();
    QTest::mousePress(pitch, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(pitch, start + QPoint(0, pitch->height() / 4));
    QTest::mouseRelease(pitch, Qt::LeftButton, Qt::NoModifier,
                        start + QPoint(0, pitch->height() / 4));
    QVERIFY(!speech_->pitchSets.empty());
    QCOMPARE(speech_->pitchSets.back(), static_cast<unsigned>(100 - pitch->value()));
    QVERIFY(pitch->value() > 50);
  }

  void defaultParametersPutBothThumbsInTheMiddle() {
    for (int i = 0; i < 3; ++i) QTest::keyClick(Slider(1006), Qt::Key_PageUp);
    for (int i = 0; i < 2; ++i) QTest::keyClick(Slider(1007), Qt::Key_PageDown);
    const std::size_t spokenBefore = speech_->spoken.size();
    dialog_->MenuAction(32780)->trigger();
    QCOMPARE(speech_->speed, 50u);
    QCOMPARE(speech_->pitch, 50u);
    QCOMPARE(speech_->speedSets.back(), 50u);
    QCOMPARE(speech_->pitchSets.back(), 50u);
    QCOMPARE(Slider(1006)->value(), 50);
    QCOMPARE(Slider(1007)->value(), 50);
    QCOMPARE(speech_->spoken.size(), spokenBefore);
  }

  void highPriorityTogglesItsCheckMark() {
    QAction* high = dialog_->MenuAction(32779);
    QVERIFY(!high->isChecked());
    high->trigger();
    QVERIFY(dialog_->HighPriority());
    QVERIFY(high->isChecked());
    QCOMPARE(priority_->classSets, (std::vector<bool>{true}));
    high->trigger();
    QVERIFY(!dialog_->HighPriority());
    QVERIFY(!high->isChecked());
    QCOMPARE(priority_->classSets, (std::vector<bool>{true, false}));
  }

  void aRefusedClassChangeStillMovesTheCheckMark() {
    priority_->refuse = true;
    QAction* high = dialog_->MenuAction(32779);
    high->trigger();
    QVERIFY(high->isChecked());
    QVERIFY(QApplication::activeModalWidget() == nullptr);  // nothing is reported
  }

  void exitClosesTheWindow() {
    QVERIFY(dialog_->isVisible());
    dialog_->MenuAction(2)->trigger();
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
  }

  // Escape stops speech and never closes the window, which would lose the typed text.
  void escapeStopsSpeechKeepsTheTextAndEnterInAButtonDoesNotEndIt() {
    Text()->setPlainText(QStringLiteral("merhaba"));
    Button(1)->setFocus();
    QTest::keyClick(dialog_.get(), Qt::Key_Return);
    QVERIFY(dialog_->isVisible());
    QCOMPARE(SpeakLabel(), QStringLiteral("&Stop"));
    QTest::keyClick(dialog_.get(), Qt::Key_Escape);
    QVERIFY(dialog_->isVisible());
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));
    QCOMPARE(speech_->stops, 1);
    QTest::keyClick(Text(), Qt::Key_Escape);  // idle: nothing happens
    QVERIFY(dialog_->isVisible());
    QCOMPARE(speech_->stops, 1);
    QCOMPARE(Text()->toPlainText(), QStringLiteral("merhaba"));
  }

  // A failed utterance is told once, with its text; a repeat of the same failure says nothing
  // more until speech has worked again.
  void aFailureIsToldOnceInANoticeBesideTheWindow() {
    using orvanel::engine::UtteranceResult;
    UtteranceResult failed;
    failed.ending = UtteranceResult::Ending::kFailed;
    failed.failure = "Cannot open wave device!";
    QTest::mouseClick(Button(1), Qt::LeftButton);
    dialog_->PostResult(1026, failed);
    QTRY_VERIFY(dialog_->Notice() != nullptr && dialog_->Notice()->isVisible());
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));
    QCOMPARE(dialog_->Notice()->text(), QStringLiteral("Cannot open wave device!"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    dialog_->Notice()->hide();
    dialog_->PostResult(1026, failed);
    QTest::qWait(20);
    QVERIFY(!dialog_->Notice()->isVisible());
    dialog_->PostResult(1026, UtteranceResult{});  // speech worked again
    dialog_->PostResult(1026, failed);
    QTRY_VERIFY(dialog_->Notice()->isVisible());
    dialog_->Notice()->hide();
    UtteranceResult cut;
    cut.dropped.push_back({103, 2, 7});
    dialog_->PostResult(1026, cut);
    QTRY_VERIFY(dialog_->Notice()->isVisible());
    QVERIFY2(dialog_->Notice()->text().startsWith(QStringLiteral("Line 2, column 7: 0.00 s")),
             qPrintable(dialog_->Notice()->text()));
  }

  void unknownCommandsAreNotHandled() {
    QVERIFY(!dialog_->OnCommand(4711));
    QVERIFY(dialog_->OnCommand(1001));
  }
};

QTEST_MAIN(MainDialogTest)
#include "main_dialog_test.moc"
