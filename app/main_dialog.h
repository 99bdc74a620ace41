// The main window: the text box, the Speak/Stop button, the command buttons, the speed and pitch
// sliders and menu 129, and the Options menu with Turkish Reading and Natural Intonation. It turns
// commands into calls of the engine's control operations.
#pragma once

#include <QDialog>
#include <QEvent>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "engine/notify_target.h"
#include "engine/thread_priority.h"

class QAction;
class QMessageBox;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QSlider;

namespace orvanel::app {

class HelpController;
class SpeechControl;

inline constexpr char kSpeakText[] = "&Speak";
inline constexpr char kStopText[] = "&Stop";
inline constexpr char kMainTitle[] = "Orvanel    -    Turkish Text To Speech Program";
inline constexpr char kExampleSentences[] =
    "T\xC3\xBCrk\xC3\xA7"
    "e Konu\xC5\x9Fma Program\xC4\xB1.\nT\xC3\xB6rki\xC5\x9F TextTuSpii\xC3\xA7 "
    "Sintisayz\xC4\xB1r.";  // UTF-8

// A message posted by the engine's worker, delivered on the window's own event loop, with how
// the utterance ended when the engine said so.
class PostedMessage : public QEvent {
 public:
  PostedMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
      : QEvent(static_cast<QEvent::Type>(message)), wParam_(wParam), lParam_(lParam) {}
  std::uintptr_t WParam() const { return wParam_; }
  std::intptr_t LParam() const { return lParam_; }
  void SetResult(const engine::UtteranceResult& result) {
    result_ = std::make_unique<engine::UtteranceResult>(result);
  }
  const engine::UtteranceResult* Result() const { return result_.get(); }

 private:
  std::uintptr_t wParam_;
  std::intptr_t lParam_;
  std::unique_ptr<engine::UtteranceResult> result_;
};

class MainDialog : public QDialog, public engine::NotifyTarget {
  Q_OBJECT
 public:
  // The engine must already exist; speech, priority and help must outlive the dialog, and the
  // engine must be shut down before the dialog is destroyed (it posts to this window).
  MainDialog(SpeechControl& speech, engine::PriorityControl& priority, HelpController& help,
             QWidget* parent = nullptr);
  ~MainDialog() override;

  // Worker thread: queues the message for the window's thread.
  void PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  // Worker thread: queues the message with how the utterance ended.
  void PostResult(std::uint32_t message, const engine::UtteranceResult& result) override;

  // Runs the handler bound to a command identity. Commands the dialog does not bind (the help
  // command) go on to the application. False when nobody handles it.
  bool OnCommand(int id);

  void SpeakOrStop();
  void SetSpeakMode();
  void SetStopMode();
  void ClearText();
  void Preprocess();
  void InsertExamples();
  void ResetSpeechParameters();
  void OpenPriorityDialog();
  void ToggleHighPriority();
  void ShowAbout();
  void SliderMoved(int code, QSlider* slider);
  int SpeechDone(std::uintptr_t wParam, std::intptr_t lParam);
  // Tells the user, once, that speech failed (with the failure's text), or what the literal
  // reading could not hold, in a notice beside the window.
  void ReportResult(const engine::UtteranceResult& result);
  QMessageBox* Notice() const { return notice_; }

  // Turkish Reading (menu Options): when on, Speak, Preprocess and the pitch slider's spoken
  // value go through the engine's reading stage. Off at start.
  void SetTurkishReading(bool on);
  bool TurkishReading() const { return turkishReading_; }
  QAction* TurkishReadingAction() const { return turkishReadingAction_; }
  // Natural Intonation (menu Options): when on, the engine speaks with word stress and sentence
  // intonation and Preprocess shows the stress marks. Off at start: the literal speech.
  void SetIntonation(bool on);
  bool Intonation() const { return intonation_; }
  QAction* IntonationAction() const { return intonationAction_; }

  bool ReadyToSpeak() const { return readyToSpeak_; }
  bool HighPriority() const { return highPriority_; }
  // The menu item of a command identity (the first one, for commands with a button too).
  QAction* MenuAction(int id) const;
  QMenuBar* MenuBar() const { return menuBar_; }
  // The area below the menu bar that holds the controls at their dialog-unit rectangles.
  QWidget* Client() const { return client_; }

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Gives Alt+H to the Help button: the button and the "&Help" menu share the mnemonic, and in a
  // dialog the control's mnemonic comes first.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct CommandBinding {
    int id;
    void (MainDialog::*handler)();
  };
  static std::span<const CommandBinding> CommandTable();

  void BuildMenu();
  void BuildControls();
  void InitSliders();
  void UpdateHighPriorityCheck();
  // Speaks text as it stands (literally) or through the reading stage when Turkish Reading is on.
  void Speak(const QString& text);

  SpeechControl& speech_;
  engine::PriorityControl& priority_;
  HelpController& help_;

  bool highPriority_ = false;
  QSlider* pitchSlider_ = nullptr;
  QSlider* speedSlider_ = nullptr;
  bool readyToSpeak_ = true;
  bool turkishReading_ = false;
  QAction* turkishReadingAction_ = nullptr;
  bool intonation_ = false;
  QAction* intonationAction_ = nullptr;

  QMenuBar* menuBar_ = nullptr;
  QWidget* client_ = nullptr;
  QPlainTextEdit* text_ = nullptr;
  QPushButton* speakButton_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  QMessageBox* notice_ = nullptr;
  std::string lastFailure_;  // told already
};

}  // namespace orvanel::app
