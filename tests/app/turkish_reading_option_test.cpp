// The Options menu's Turkish Reading item over a recording speech control: where the menu sits,
// that the item toggles and starts off, and what Speak, Preprocess and the pitch slider send to
// the engine with it off (the literal Windows-1254 text) and on (the UTF-8 text, for the
// engine's reading stage).
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTextCursor>
#include <QtTest>
#include <memory>

#include "app/controls.h"
#include "app/help_controller.h"
#include "app/main_dialog.h"
#include "app_fakes.h"

using namespace orvanel::app;
using orvanel::app::testing::RecordingPriorityControl;
using orvanel::app::testing::RecordingSpeechControl;

namespace {

// Written Turkish that the reading stage rewrites, and what each way gives (Windows-1254).
const QString kWritten = QString::fromUtf8("7. kat, 45 TL'ye, BDDK ve kâtip.");
const std::string kDesigned = "7. kat, 45 TL'ye, BDDK ve k\xE2tip.";
const std::string kUtf8 = "7. kat, 45 TL'ye, BDDK ve k\xC3\xA2tip.";

}  // namespace

class TurkishReadingOptionTest : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<RecordingSpeechControl> speech_;
  std::unique_ptr<RecordingPriorityControl> priority_;
  std::unique_ptr<HelpController> help_;
  std::unique_ptr<MainDialog> dialog_;

  QPlainTextEdit* Text() { return qobject_cast<QPlainTextEdit*>(FindControl(dialog_.get(), 1000)); }
  QPushButton* Button(int id) { return qobject_cast<QPushButton*>(FindControl(dialog_.get(), id)); }
  QAction* ReadingItem() {
    const QList<QAction*> menus = dialog_->MenuBar()->actions();
    if (menus.size() < 4 || menus[3]->menu() == nullptr) return nullptr;
    const QList<QAction*> items = menus[3]->menu()->actions();
    return items.isEmpty() ? nullptr : items[0];
  }
  void Speak() {
    QTest::mouseClick(Button(1), Qt::LeftButton);
    dialog_->SpeechDone(0, 0);  // the engine's answer, so the next click speaks again
  }

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

  void optionsMenuFollowsHelpWithCheckableItemsThatStartOff() {
    const QList<QAction*> menus = dialog_->MenuBar()->actions();
    QCOMPARE(menus.size(), 4);
    QCOMPARE(menus[2]->text(), QStringLiteral("&Help"));
    QCOMPARE(menus[3]->text(), QStringLiteral("&Options"));
    QVERIFY(menus[3]->menu() != nullptr);
    const QList<QAction*> items = menus[3]->menu()->actions();
    QCOMPARE(items.size(), 2);
    const QString labels[] = {QStringLiteral("Turkish &Reading"),
                              QStringLiteral("Natural &Intonation")};
    for (int k = 0; k < 2; ++k) {
      QCOMPARE(items[k]->text(), labels[k]);
      QVERIFY(items[k]->isCheckable());
      QVERIFY(!items[k]->isChecked());
      // The items are no commands: every command identity still finds its literal item.
      QVERIFY(!items[k]->property(kCommandIdProperty).isValid());
    }
    QCOMPARE(items[0], dialog_->TurkishReadingAction());
    QCOMPARE(items[1], dialog_->IntonationAction());
    QVERIFY(!dialog_->TurkishReading());
    QVERIFY(!dialog_->Intonation());
  }

  void itemTogglesReading() {
    QAction* item = ReadingItem();
    QVERIFY(item != nullptr);
    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(dialog_->TurkishReading());
    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!dialog_->TurkishReading());
    dialog_->SetTurkishReading(true);
    QVERIFY(item->isChecked());
  }

  void aNewWindowStartsWithReadingOff() {
    ReadingItem()->trigger();
    QVERIFY(dialog_->TurkishReading());
    dialog_ = std::make_unique<MainDialog>(*speech_, *priority_, *help_);
    QVERIFY(!dialog_->TurkishReading());
    QVERIFY(!ReadingItem()->isChecked());
  }

  void speakWithReadingOffSendsTheDesignedText() {
    Text()->setPlainText(kWritten);
    Speak();
    ReadingItem()->trigger();
    ReadingItem()->trigger();  // on and off again
    Speak();
    QCOMPARE(speech_->spoken.size(), std::size_t{2});
    QCOMPARE(QByteArray::fromStdString(speech_->spoken[0].text),
             QByteArray::fromStdString(kDesigned));
    QCOMPARE(speech_->spoken[1].text, speech_->spoken[0].text);
    QCOMPARE(speech_->spoken[0].text, ToEngineText(kWritten));
  }

  void speakWithReadingOnSendsTheTextForTheReadingStage() {
    Text()->setPlainText(kWritten);
    ReadingItem()->trigger();
    Speak();
    QCOMPARE(speech_->spoken.size(), std::size_t{1});
    QVERIFY(speech_->spoken[0].reading);
    QCOMPARE(QByteArray::fromStdString(speech_->spoken[0].text), QByteArray::fromStdString(kUtf8));
    QCOMPARE(speech_->spoken[0].message, 1026u);
  }

  void speakWithReadingOnReadsOnlyTheSelection() {
    Text()->setPlainText(QString::fromUtf8("Saat 19:05, 3 kg"));
    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(5);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    Text()->setTextCursor(cursor);
    ReadingItem()->trigger();
    Speak();
    QCOMPARE(speech_->spoken.back().text, std::string("19:05"));
    QVERIFY(speech_->spoken.back().reading);
  }

  void lineBreaksReachTheEngineAsLineFeedsWithReadingOn() {
    Text()->setPlainText(QString::fromUtf8("7. kat\n3,5"));
    ReadingItem()->trigger();
    Speak();
    QCOMPARE(speech_->spoken.back().text, std::string("7. kat\n3,5"));
  }

  // Natural Intonation sits beside Turkish Reading, starts off, and only switches the engine's
  // intonation: the window hands the engine the same text either way.
  void naturalIntonationIsAnOptionBesideTheReading() {
    QAction* item = dialog_->IntonationAction();
    QVERIFY(speech_->intonationSets.empty());
    Text()->setPlainText(kWritten);
    Speak();
    item->trigger();
    QVERIFY(dialog_->Intonation());
    Speak();
    item->trigger();
    QCOMPARE(speech_->intonationSets, (std::vector<bool>{true, false}));
    QCOMPARE(speech_->spoken.size(), std::size_t{2});
    QCOMPARE(speech_->spoken[1].text, speech_->spoken[0].text);
    QVERIFY(!speech_->spoken[1].reading);
    // Setting what is set already tells the engine nothing.
    dialog_->SetIntonation(false);
    QCOMPARE(speech_->intonationSets.size(), std::size_t{2});
  }

  void preprocessWithReadingOffShowsTheDesignedTranscriptionInput() {
    Text()->setPlainText(kWritten);
    dialog_->Preprocess();
    QCOMPARE(speech_->transcribed.size(), std::size_t{1});
    QCOMPARE(QByteArray::fromStdString(speech_->transcribed[0]),
             QByteArray::fromStdString(kDesigned));
    QCOMPARE(Text()->toPlainText(), QStringLiteral("<") + kWritten + QStringLiteral(">"));
  }

  void preprocessWithReadingOnTranscribesThroughTheReadingStage() {
    Text()->setPlainText(kWritten);
    ReadingItem()->trigger();
    dialog_->Preprocess();
    QCOMPARE(speech_->transcribed.size(), std::size_t{0});
    QCOMPARE(speech_->transcribedReading.size(), std::size_t{1});
    QCOMPARE(QByteArray::fromStdString(speech_->transcribedReading[0]),
             QByteArray::fromStdString(kUtf8));
    QCOMPARE(Text()->toPlainText(),
             QStringLiteral("[") + FromEngineText(kUtf8) + QStringLiteral("]"));
  }

  void pitchValueIsSpokenTheSameWayEitherWay() {
    QSlider* pitch = qobject_cast<QSlider*>(FindControl(dialog_.get(), 1007));
    QTest::keyClick(pitch, Qt::Key_Up);
    QCOMPARE(speech_->spoken.back().text, std::string("51"));
    QVERIFY(!speech_->spoken.back().reading);
    ReadingItem()->trigger();
    QTest::keyClick(pitch, Qt::Key_Down);
    QCOMPARE(speech_->spoken.back().text, std::string("50"));
    QVERIFY(speech_->spoken.back().reading);
    QCOMPARE(speech_->pitchSets, (std::vector<unsigned>{51, 50}));
  }
};

QTEST_MAIN(TurkishReadingOptionTest)
#include "turkish_reading_option_test.moc"
