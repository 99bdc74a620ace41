// The main window over the real speech engine, whose audio device is the recording fake and whose
// worker is a real thread: the end-of-speech message really crosses from the worker.

// Before any Qt header: the fakes use names that Qt defines as macros ("signals").
#include "tests/support/built_in_voice.h"
#include "tests/support/fake_unit_store.h"
#include "tests/support/fake_wave_device.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <memory>

#include "app/application.h"
#include "app/controls.h"
#include "app/help_controller.h"
#include "app/main_dialog.h"
#include "app/priority_dialog.h"
#include "app/speech_control.h"
#include "app_fakes.h"
#include "engine/speech_engine.h"
#include "library/synthesizer.h"
#include "modal_helper.h"
#include "platform/linux_thread.h"

using namespace orvanel::app;
using namespace std::chrono_literals;
using orvanel::app::testing::RecordingPriorityControl;
using orvanel::app::testing::WhenModal;

// Counts the end-of-speech messages that reach a window.
class DoneCounter : public QObject {
 public:
  explicit DoneCounter(QObject* target) { target->installEventFilter(this); }
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == static_cast<QEvent::Type>(orvanel::engine::kSpeechDoneMessage)) ++count;
    return false;
  }
  int count = 0;
};

class EngineWindowTest : public QObject {
  Q_OBJECT
 private:
  orvanel::test::FakeUnitStore units_;
  orvanel::platform::LinuxThreadFactory threads_;
  std::unique_ptr<orvanel::test::FakeAudio> audio_;
  orvanel::engine::EngineServices services_;
  std::unique_ptr<EngineSpeechControl> speech_;
  RecordingPriorityControl priority_;
  std::unique_ptr<HelpController> help_;
  std::unique_ptr<MainDialog> dialog_;

  QPlainTextEdit* Text() { return qobject_cast<QPlainTextEdit*>(FindControl(dialog_.get(), 1000)); }
  QPushButton* Button(int id) { return qobject_cast<QPushButton*>(FindControl(dialog_.get(), id)); }
  QSlider* Slider(int id) { return qobject_cast<QSlider*>(FindControl(dialog_.get(), id)); }
  QString SpeakLabel() { return Button(1)->text(); }

 private slots:
  void init() {
    audio_ = std::make_unique<orvanel::test::FakeAudio>();
    services_.units = &units_;
    services_.makeDevice = audio_->Factory();
    services_.threads = &threads_;
    // The voice data behind intonation; the window's literal speech does not use it.
    QVERIFY(orvanel::test::LoadedVoice().ok);
    services_.voice = &orvanel::test::LoadedVoice().data;
    speech_ = std::make_unique<EngineSpeechControl>(services_);
    std::string error;
    QVERIFY2(speech_->Create(error), error.c_str());
    help_ = std::make_unique<HelpController>(QStringLiteral("/nonexistent/orvanel"));
    dialog_ = std::make_unique<MainDialog>(*speech_, priority_, *help_);
    dialog_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
  }

  void cleanup() {
    // The worker posts to the window: end it first.
    audio_->Finish();
    speech_->Shutdown();
    dialog_.reset();
    help_.reset();
    speech_.reset();
    audio_.reset();
  }

  void speakShowsStopAndTheEnginesMessageRestoresSpeak() {
    audio_->SetAutoFinish(false);
    Text()->setPlainText(QStringLiteral("merhaba"));
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QCOMPARE(SpeakLabel(), QStringLiteral("&Stop"));
    QVERIFY(audio_->WaitForWrites(1, 10s));
    QCoreApplication::processEvents();
    QCOMPARE(SpeakLabel(), QStringLiteral("&Stop"));  // still playing
    audio_->Finish();
    QTRY_COMPARE_WITH_TIMEOUT(SpeakLabel(), QStringLiteral("&Speak"), 10000);
    QCOMPARE(audio_->WriteCount(), std::size_t{1});
    QVERIFY(!audio_->Written()[0].samples.empty());
  }

  void stopReturnsAtOnceAndNoLaterSentenceIsPlayed() {
    audio_->SetAutoFinish(false);
    Text()->setPlainText(QStringLiteral("bir. iki. \xC3\xBC\xC3\xA7."));
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QVERIFY(audio_->WaitForWrites(1, 10s));
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));
    // The worker resets the device and posts its message; the button stays as it is.
    QTRY_VERIFY_WITH_TIMEOUT(audio_->Resets() >= 1 && !audio_->AnyOpen(), 10000);
    QTest::qWait(50);
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));
    QCOMPARE(audio_->WriteCount(), std::size_t{1});
  }

  void menuSpeakStopsRunningSpeech() {
    audio_->SetAutoFinish(false);
    Text()->setPlainText(QStringLiteral("merhaba d\xC3\xBCnya"));
    dialog_->MenuAction(1)->trigger();
    QVERIFY(audio_->WaitForWrites(1, 10s));
    dialog_->MenuAction(1)->trigger();
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));
    QTRY_VERIFY_WITH_TIMEOUT(audio_->Resets() >= 1, 10000);
  }

  void anEmptyTextWaitsForTheMessage() {
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QCOMPARE(SpeakLabel(), QStringLiteral("&Stop"));
    QTRY_COMPARE_WITH_TIMEOUT(SpeakLabel(), QStringLiteral("&Speak"), 10000);
    QCOMPARE(audio_->WriteCount(), std::size_t{0});
  }

  void onlyTheSelectionIsSpoken() {
    Text()->setPlainText(QStringLiteral("ev. kitap okul araba."));
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(SpeakLabel(), QStringLiteral("&Speak"), 10000);
    const std::size_t whole =
        audio_->Written()[0].samples.size() + audio_->Written()[1].samples.size();
    QCOMPARE(audio_->WriteCount(), std::size_t{2});

    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);  // "ev."
    Text()->setTextCursor(cursor);
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(SpeakLabel(), QStringLiteral("&Speak"), 10000);
    QCOMPARE(audio_->WriteCount(), std::size_t{3});
    QCOMPARE(audio_->Written()[2].samples, audio_->Written()[0].samples);
    QVERIFY(audio_->Written()[2].samples.size() < whole);
  }

  void preprocessShowsTheTranscription() {
    Text()->setPlainText(QStringLiteral("12"));
    QTest::mouseClick(Button(1002), Qt::LeftButton);
    QCOMPARE(Text()->toPlainText(), QString::fromUtf8("Onİ~ki"));
    Text()->setPlainText(QStringLiteral("{DoKuz}\\s"));
    QTest::mouseClick(Button(1002), Qt::LeftButton);
    QCOMPARE(Text()->toPlainText(), QString::fromUtf8("DoKuzşee"));
    QCOMPARE(audio_->WriteCount(), std::size_t{0});
  }

  void pitchSliderSetsTheEngineAndSpeaksTheValue() {
    DoneCounter done(dialog_.get());
    // One key at a time: a request made while the engine speaks adds no utterance of its own.
    auto pressAndWait = [&](Qt::Key key) {
      const int before = done.count;
      QTest::keyClick(Slider(1007), key);
      QTRY_COMPARE_WITH_TIMEOUT(done.count, before + 1, 10000);
    };
    for (int i = 0; i < 3; ++i) pressAndWait(Qt::Key_PageUp);
    QCOMPARE(orvanel::engine::GetPitch(), 100u);
    QCOMPARE(SpeakLabel(), QStringLiteral("&Speak"));
    const auto sliderSaid = audio_->Written().back();
    QVERIFY(sliderSaid.rate > 22050u);  // a higher pitch plays faster than the default

    // What the slider said sounds exactly like the typed number at the same pitch.
    Text()->setPlainText(QStringLiteral("100"));
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(SpeakLabel(), QStringLiteral("&Speak"), 10000);
    QCOMPARE(audio_->Written().back().samples, sliderSaid.samples);
    QCOMPARE(audio_->Written().back().rate, sliderSaid.rate);

    for (int i = 0; i < 6; ++i) pressAndWait(Qt::Key_PageDown);
    QCOMPARE(orvanel::engine::GetPitch(), 1u);
    const auto bottomSaid = audio_->Written().back();
    QVERIFY(bottomSaid.rate < 22050u);
    Text()->setPlainText(QStringLiteral("1"));
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(SpeakLabel(), QStringLiteral("&Speak"), 10000);
    QCOMPARE(audio_->Written().back().samples, bottomSaid.samples);
  }

  // With Turkish Reading the window hands the engine its UTF-8 text and the engine reads it: the
  // device gets what the library's reading of the same text renders.
  void turkishReadingSpeaksWhatTheLibraryReads() {
    const QString written = QString::fromUtf8("7. kat, 45 TL'ye.\n3,5 kg");
    orvanel::synth::UnitInventory units;
    std::string error;
    QCOMPARE(orvanel::synth::LoadUnits(units_, units, error), 1);
    orvanel::library::Synthesizer synthesizer(units);
    orvanel::library::VoiceSettings voice;
    std::vector<std::vector<std::int16_t>> expected;
    synthesizer.Speak(written.toStdString(), orvanel::library::TextEncoding::kUtf8, voice,
                      [&](const orvanel::library::Stretch& s) {
                        expected.emplace_back(s.samples, s.samples + s.sampleCount);
                        return true;
                      });
    QVERIFY(expected.size() >= 2);
    dialog_->SetTurkishReading(true);
    Text()->setPlainText(written);
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(SpeakLabel(), QStringLiteral("&Speak"), 10000);
    QCOMPARE(audio_->WriteCount(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k)
      QCOMPARE(audio_->Written()[k].samples, expected[k]);
    // Reading off again: the literal text, which says the digits and signs differently.
    dialog_->SetTurkishReading(false);
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(SpeakLabel(), QStringLiteral("&Speak"), 10000);
    QVERIFY(audio_->Written().back().samples != expected.back());
  }

  // Natural Intonation: the engine speaks what the library renders with prosody, Preprocess shows
  // the stress marks; off again, the literal speech and transcription come back.
  void naturalIntonationSpeaksWithTheLibrarysProsody() {
    const std::string text = "Eve geliyor musun? Evet.";
    orvanel::synth::UnitInventory units;
    std::string error;
    QCOMPARE(orvanel::synth::LoadUnits(units_, units, error), 1);
    orvanel::library::Synthesizer synthesizer(units, &orvanel::test::LoadedVoice().data);
    orvanel::library::VoiceSettings voice;
    voice.reading = false;
    std::vector<std::int16_t> expected;
    synthesizer.Speak(text, orvanel::library::TextEncoding::kCp1254, voice,
                      [&](const orvanel::library::Stretch& s) {
                        expected.insert(expected.end(), s.samples, s.samples + s.sampleCount);
                        return true;
                      });
    // What the device got since the write count `from`.
    auto heardSince = [&](std::size_t from) {
      std::vector<std::int16_t> heard;
      const auto written = audio_->Written();  // a copy
      for (std::size_t k = from; k < written.size(); ++k)
        heard.insert(heard.end(), written[k].samples.begin(), written[k].samples.end());
      return heard;
    };
    std::vector<std::int16_t> heard[3];
    Text()->setPlainText(QString::fromStdString(text));
    for (int round = 0; round < 3; ++round) {
      // Literal, with intonation, literal again.
      if (round > 0) dialog_->IntonationAction()->trigger();
      QCOMPARE(dialog_->IntonationAction()->isChecked(), round == 1);
      const std::size_t before = audio_->WriteCount();
      QTest::mouseClick(Button(1), Qt::LeftButton);
      QTRY_COMPARE_WITH_TIMEOUT(SpeakLabel(), QStringLiteral("&Speak"), 10000);
      heard[round] = heardSince(before);
      QTest::mouseClick(Button(1002), Qt::LeftButton);
      QCOMPARE(Text()->toPlainText(), round == 1 ? QStringLiteral("EVe` ~Ge~Li`Yor MuSun? E`Vet.")
                                                 : QStringLiteral("EVe ~Ge~LiYor MuSun? EVet."));
      Text()->setPlainText(QString::fromStdString(text));
    }
    QVERIFY(heard[0] != expected);
    QVERIFY(heard[1] == expected);
    QVERIFY(heard[2] == heard[0]);
  }
  // No device: the utterance fails, the button comes back, and the window says so once.
  void aMissingDeviceIsToldInTheWindow() {
    audio_->SetOpenFails(true);
    Text()->setPlainText(QStringLiteral("merhaba"));
    QTest::mouseClick(Button(1), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(SpeakLabel(), QStringLiteral("&Speak"), 10000);
    QTRY_VERIFY(dialog_->Notice() != nullptr && dialog_->Notice()->isVisible());
    QCOMPARE(dialog_->Notice()->text(), QStringLiteral("Cannot open wave device!"));
  }

  void speedSliderSetsTheEngineAndSaysNothing() {
    for (int i = 0; i < 3; ++i) QTest::keyClick(Slider(1006), Qt::Key_PageUp);
    QCOMPARE(orvanel::engine::GetSpeed(), 0u);
    for (int i = 0; i < 6; ++i) QTest::keyClick(Slider(1006), Qt::Key_PageDown);
    QCOMPARE(orvanel::engine::GetSpeed(), 99u);
    QTest::qWait(50);
    QCOMPARE(audio_->WriteCount(), std::size_t{0});
  }

  void homeAndEndLeaveTheEnginesValuesAlone() {
    QTest::keyClick(Slider(1007), Qt::Key_Home);
    QTest::keyClick(Slider(1006), Qt::Key_End);
    QCOMPARE(Slider(1007)->value(), 0);
    QCOMPARE(Slider(1006)->value(), 99);
    QCOMPARE(orvanel::engine::GetPitch(), 50u);
    QCOMPARE(orvanel::engine::GetSpeed(), 50u);
  }

  void defaultParametersResetTheEngineAndTheThumbs() {
    QTest::keyClick(Slider(1006), Qt::Key_PageUp);
    QTest::keyClick(Slider(1007), Qt::Key_PageDown);
    QTRY_COMPARE_WITH_TIMEOUT(audio_->WriteCount(), std::size_t{1}, 10000);  // "31"
    dialog_->MenuAction(32780)->trigger();
    QCOMPARE(orvanel::engine::GetSpeed(), 50u);
    QCOMPARE(orvanel::engine::GetPitch(), 50u);
    QCOMPARE(Slider(1006)->value(), 50);
    QCOMPARE(Slider(1007)->value(), 50);
    QTest::qWait(50);
    QCOMPARE(audio_->WriteCount(), std::size_t{1});
  }

  void thePriorityDialogWorksOnTheEnginesWorker() {
    priority_.current = orvanel::engine::kThreadPriorityIdle;
    bool seen = false;
    WhenModal<PriorityDialog>([&](PriorityDialog* d) {
      seen = true;
      qobject_cast<QPushButton*>(FindControl(d, 1))->click();
    });
    QVERIFY(dialog_->OnCommand(32771));
    QVERIFY(seen);
    QCOMPARE(priority_.threadSets, (std::vector<int>{-2}));
  }

  void closingTheProgramWhileSpeechPlaysEndsItAtOnce() {
    // Replace this test's engine by one the application creates and ends itself.
    audio_->Finish();
    speech_->Shutdown();
    dialog_.reset();
    audio_->SetAutoFinish(false);
    EngineSpeechControl speech(services_);
    Application application(speech, priority_, QStringLiteral("/nonexistent/orvanel"));
    bool played = false;
    WhenModal<MainDialog>([&](MainDialog* window) {
      qobject_cast<QPlainTextEdit*>(FindControl(window, 1000))
          ->setPlainText(QStringLiteral("uzun bir c\xC3\xBCmle"));
      window->OnCommand(1);
      played = audio_->WaitForWrites(1, 10s);
      window->OnCommand(2);  // close while the device is still playing
    });
    QCOMPARE(application.StartUp(), 0);
    QVERIFY(played);
    QVERIFY(!audio_->AnyOpen());
    QVERIFY(orvanel::engine::GetEngineThread() == nullptr);
    // init's engine is gone; cleanup shuts down nothing more.
    std::string error;
    QVERIFY(speech_->Create(error));
    dialog_ = std::make_unique<MainDialog>(*speech_, priority_, *help_);
  }
};

QTEST_MAIN(EngineWindowTest)
#include "engine_window_test.moc"
