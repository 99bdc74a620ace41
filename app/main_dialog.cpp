#include "app/main_dialog.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QTextCursor>
#include <array>
#include <string>

#include "app/about_dialog.h"
#include "app/application.h"
#include "app/controls.h"
#include "app/dialog_units.h"
#include "app/help_controller.h"
#include "app/priority_dialog.h"
#include "app/speech_control.h"

namespace orvanel::app {

namespace {

constexpr int kWidth = 301;
constexpr int kHeight = 178;
constexpr char kPrompt[] =
    "Type Turkish text and press Speak.  Use Help to find out the typing rules.";

QAction* AddCommand(QMenu* menu, const QString& text, int id) {
  QAction* action = menu->addAction(text);
  action->setProperty(kCommandIdProperty, id);
  return action;
}

}  // namespace

std::span<const MainDialog::CommandBinding> MainDialog::CommandTable() {
  static constexpr std::array<CommandBinding, 10> kTable{{
      {kIdOk, &MainDialog::SpeakOrStop},
      {kIdCancel, &MainDialog::reject},
      {kIdClearText, &MainDialog::ClearText},
      {kIdPreprocess, &MainDialog::Preprocess},
      {kIdExamples, &MainDialog::InsertExamples},
      {kIdDefaultParameters, &MainDialog::ResetSpeechParameters},
      {kIdThreadPriority, &MainDialog::OpenPriorityDialog},
      {kIdHighPriority, &MainDialog::ToggleHighPriority},
      {kIdAbout, &MainDialog::ShowAbout},
      {kIdHelp, nullptr},  // the application's help command takes it
  }};
  return kTable;
}

MainDialog::MainDialog(SpeechControl& speech, engine::PriorityControl& priority,
                       HelpController& help, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      speech_(speech),
      priority_(priority),
      help_(help) {
  setWindowTitle(QString::fromLatin1(kMainTitle));
  setWindowIcon(AppIcon());
  setFont(DialogFont());
  setProperty(kHelpContextProperty, kHelpContextBase + kMainTemplate);
  BuildMenu();
  BuildControls();
  InstallHelpKey(this, help_);
}

MainDialog::~MainDialog() { help_.Quit(); }

void MainDialog::BuildMenu() {
  menuBar_ = new QMenuBar(this);
  menuBar_->setNativeMenuBar(false);

  QMenu* engineMenu = menuBar_->addMenu(QStringLiteral("Speech &Engine"));
  AddCommand(engineMenu, QStringLiteral("Speak"), kIdOk);
  AddCommand(engineMenu, QStringLiteral("Preprocess"), kIdPreprocess);
  AddCommand(engineMenu, QStringLiteral("Clear Text"), kIdClearText);
  AddCommand(engineMenu, QStringLiteral("Thread Priority..."), kIdThreadPriority);
  AddCommand(engineMenu, QStringLiteral("Set speech parameters to default"), kIdDefaultParameters);
  engineMenu->addSeparator();
  AddCommand(engineMenu, QStringLiteral("&Exit"), kIdCancel);

  QMenu* applicationMenu = menuBar_->addMenu(QStringLiteral("&Application"));
  QAction* high = AddCommand(applicationMenu, QStringLiteral("High Priority"), kIdHighPriority);
  high->setCheckable(true);
  connect(applicationMenu, &QMenu::aboutToShow, this, &MainDialog::UpdateHighPriorityCheck);

  QMenu* helpMenu = menuBar_->addMenu(QStringLiteral("&Help"));
  AddCommand(helpMenu, QStringLiteral("Examples"), kIdExamples);
  AddCommand(helpMenu, QStringLiteral("Help Topics"), kIdHelp);
  AddCommand(helpMenu, QStringLiteral("About"), kIdAbout);

  // Not a command of the three original menus: the toggle has no command identity of its own.
  QMenu* optionsMenu = menuBar_->addMenu(QStringLiteral("&Options"));
  turkishReadingAction_ = optionsMenu->addAction(QStringLiteral("Turkish &Reading"));
  turkishReadingAction_->setCheckable(true);
  turkishReadingAction_->setChecked(false);
  connect(turkishReadingAction_, &QAction::toggled, this, &MainDialog::SetTurkishReading);
  intonationAction_ = optionsMenu->addAction(QStringLiteral("Natural &Intonation"));
  intonationAction_->setCheckable(true);
  intonationAction_->setChecked(false);
  connect(intonationAction_, &QAction::toggled, this, &MainDialog::SetIntonation);

  const auto actions = menuBar_->findChildren<QAction*>();
  for (QAction* action : actions) {
    const QVariant id = action->property(kCommandIdProperty);
    if (!id.isValid()) continue;
    connect(action, &QAction::triggered, this,
            [this, command = id.toInt()] { OnCommand(command); });
  }
}

void MainDialog::BuildControls() {
  const DialogUnits du = DialogUnits::FromFont(font());
  const int menuHeight = menuBar_->sizeHint().height();
  const int width = du.ToPixelsX(kWidth);
  const int height = du.ToPixelsY(kHeight);
  menuBar_->setGeometry(0, 0, width, menuHeight);
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("client"));
  client_->setGeometry(0, menuHeight, width, height);

  text_ = new QPlainTextEdit(client_);
  SetControlId(text_, kIdText);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  text_->setTabChangesFocus(true);
  text_->setGeometry(du.ToPixels(7, 20, 217, 151));

  auto addButton = [&](const char* label, int id, int x, int y) {
    auto* button = new QPushButton(QString::fromUtf8(label), client_);
    SetControlId(button, id);
    button->setGeometry(du.ToPixels(x, y, 50, 14));
    connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    return button;
  };
  speakButton_ = addButton(kSpeakText, kIdOk, 244, 21);
  speakButton_->setDefault(true);
  QPushButton* clear = addButton("&Clear Text", kIdClearText, 244, 38);
  QPushButton* preprocess = addButton("&Preprocess", kIdPreprocess, 244, 55);
  QPushButton* examples = addButton("E&xamples", kIdExamples, 244, 76);
  QPushButton* helpButton = addButton("&Help", kIdHelp, 244, 93);
  helpButton_ = helpButton;
  QCoreApplication::instance()->installEventFilter(this);

  auto* prompt = new QLabel(QString::fromLatin1(kPrompt), client_);
  prompt->setGeometry(du.ToPixels(7, 7, 287, 9));

  auto addSlider = [&](int id, int x) {
    auto* slider = new QSlider(Qt::Vertical, client_);
    SetControlId(slider, id);
    SetUpTrackbar(slider, 0, 99, false);
    slider->setGeometry(du.ToPixels(x, 113, 27, 50));
    connect(slider, &QSlider::actionTriggered, this,
            [this, slider](int action) { SliderMoved(TrackbarCodeOf(action), slider); });
    connect(slider, &QSlider::sliderReleased, this, [this, slider] {
      SliderMoved(kThumbPosition, slider);
      SliderMoved(kEndTrack, slider);
    });
    return slider;
  };
  speedSlider_ = addSlider(kIdSpeedSlider, 233);
  pitchSlider_ = addSlider(kIdPitchSlider, 267);

  auto* speedLabel = new QLabel(QStringLiteral("Speed"), client_);
  speedLabel->setGeometry(du.ToPixels(235, 163, 22, 8));
  auto* pitchLabel = new QLabel(QStringLiteral("Pitch"), client_);
  pitchLabel->setGeometry(du.ToPixels(269, 163, 17, 8));

  QWidget::setTabOrder(text_, speakButton_);
  QWidget::setTabOrder(speakButton_, clear);
  QWidget::setTabOrder(clear, preprocess);
  QWidget::setTabOrder(preprocess, examples);
  QWidget::setTabOrder(examples, helpButton);
  QWidget::setTabOrder(helpButton, speedSlider_);
  QWidget::setTabOrder(speedSlider_, pitchSlider_);

  setFixedSize(width, menuHeight + height);
  text_->setFocus();
}

void MainDialog::PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  QCoreApplication::postEvent(this, new PostedMessage(message, wParam, lParam));
}

void MainDialog::PostResult(std::uint32_t message, const engine::UtteranceResult& result) {
  auto* posted = new PostedMessage(message, 0, 0);
  posted->SetResult(result);
  QCoreApplication::postEvent(this, posted);
}

bool MainDialog::event(QEvent* event) {
  if (event->type() == static_cast<QEvent::Type>(engine::kSpeechDoneMessage)) {
    const auto* posted = static_cast<PostedMessage*>(event);
    SpeechDone(posted->WParam(), posted->LParam());
    if (posted->Result() != nullptr) ReportResult(*posted->Result());
    return true;
  }
  return QDialog::event(event);
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
  // Escape stops speech and never closes the window: the typed text would be lost with it.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (!readyToSpeak_) SpeakOrStop();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void MainDialog::ReportResult(const engine::UtteranceResult& result) {
  QString text;
  if (result.ending == engine::UtteranceResult::Ending::kFailed) {
    // Told once: the same failure again (every pitch step speaks) says nothing new.
    if (result.failure == lastFailure_) return;
    lastFailure_ = result.failure;
    text = QString::fromStdString(result.failure);
  } else {
    if (result.ending == engine::UtteranceResult::Ending::kDone) lastFailure_.clear();
    if (result.dropped.empty()) return;
    for (const library::DroppedSpeech& d : result.dropped) {
      if (!text.isEmpty()) text += QLatin1Char('\n');
      text += QStringLiteral(
                  "Line %1, column %2: %3 s of speech did not fit into one stretch "
                  "(about 47.5 s with no sentence end) and were not spoken.")
                  .arg(d.line)
                  .arg(d.column)
                  .arg(static_cast<double>(d.samples) / synth::kBaseSampleRate, 0, 'f', 2);
    }
  }
  // Not modal: the window stays usable, and a later notice replaces this one.
  if (notice_ == nullptr) {
    notice_ = new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kEngineErrorCaption),
                              QString(), QMessageBox::Ok, this);
    notice_->setWindowModality(Qt::NonModal);
  }
  notice_->setText(text);
  notice_->show();
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_H || key->modifiers() != Qt::AltModifier) return false;
  // Taking the override keeps the shortcut map from finding the two mnemonics ambiguous; the key
  // press that follows clicks the button.
  event->accept();
  if (type == QEvent::KeyPress && helpButton_->isEnabled()) helpButton_->click();
  return true;
}

bool MainDialog::OnCommand(int id) {
  for (const CommandBinding& binding : CommandTable()) {
    if (binding.id != id) continue;
    if (binding.handler == nullptr) break;
    (this->*binding.handler)();
    return true;
  }
  if (id == kIdHelp) {
    help_.Help();
    return true;
  }
  return false;
}

void MainDialog::SpeakOrStop() {
  if (!readyToSpeak_) {
    speech_.StopSpeaking();
    SetSpeakMode();
    return;
  }
  QString text = text_->toPlainText();
  const QTextCursor cursor = text_->textCursor();
  if (cursor.selectionStart() != cursor.selectionEnd()) {
    text = text.mid(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
  }
  Speak(text);
  SetStopMode();
}

void MainDialog::SetSpeakMode() {
  speakButton_->setText(QString::fromLatin1(kSpeakText));
  readyToSpeak_ = true;
}

void MainDialog::SetStopMode() {
  speakButton_->setText(QString::fromLatin1(kStopText));
  readyToSpeak_ = false;
}

int MainDialog::SpeechDone(std::uintptr_t wParam, std::intptr_t /*lParam*/) {
  if (wParam == 0) SetSpeakMode();
  return 0;
}

void MainDialog::ClearText() { text_->setPlainText(QString()); }

void MainDialog::Preprocess() {
  std::string phonetic;
  if (turkishReading_) {
    speech_.TranscribeReading(text_->toPlainText().toStdString(), phonetic);
  } else {
    std::string text = ToEngineText(text_->toPlainText());
    speech_.TranscribeText(text, phonetic);
  }
  text_->setPlainText(FromEngineText(phonetic));
}

void MainDialog::Speak(const QString& text) {
  if (turkishReading_) {
    speech_.SpeakReading(text.toStdString(), this, engine::kSpeechDoneMessage);
  } else {
    speech_.SpeakText(ToEngineText(text), this, engine::kSpeechDoneMessage);
  }
}

void MainDialog::InsertExamples() {
  // One edit at the caret, so a single Undo takes it back.
  text_->insertPlainText(QString::fromUtf8(kExampleSentences));
}

void MainDialog::showEvent(QShowEvent* event) {
  // Only when the program shows the window, not when the window system restores it.
  if (!event->spontaneous()) InitSliders();
  QDialog::showEvent(event);
}

void MainDialog::InitSliders() {
  // setValue moves the thumb without a slider action, so nothing reaches SliderMoved.
  speedSlider_->setRange(0, 99);
  speedSlider_->setValue(50);
  pitchSlider_->setRange(0, 99);
  pitchSlider_->setValue(50);
}

void MainDialog::SliderMoved(int code, QSlider* slider) {
  if (!IsActingCode(code)) return;
  const int position = slider->sliderPosition();
  if (slider == pitchSlider_) {
    speech_.SetPitch(static_cast<unsigned>(100 - position));
    Speak(QString::number(speech_.GetPitch()));
  } else {
    speech_.SetSpeed(static_cast<unsigned>(position));
  }
}

void MainDialog::ResetSpeechParameters() {
  speech_.SetSpeed(50);
  speech_.SetPitch(50);
  speedSlider_->setValue(static_cast<int>(speech_.GetSpeed()));
  pitchSlider_->setValue(100 - static_cast<int>(speech_.GetPitch()));
}

void MainDialog::OpenPriorityDialog() {
  const engine::ThreadHandle thread = speech_.GetEngineThread();
  if (thread == nullptr) return;
  const int saved = priority_.GetThreadPriority(*thread);
  PriorityDialog dialog(this, priority_, *thread, &help_);
  if (dialog.exec() == QDialog::Accepted) {
    priority_.SetThreadPriority(*thread, dialog.SelectedPriority());
  } else {
    priority_.SetThreadPriority(*thread, saved);
  }
}

void MainDialog::ToggleHighPriority() {
  const bool was = highPriority_;
  highPriority_ = !was;
  priority_.SetProcessPriorityClass(!was);
  UpdateHighPriorityCheck();
}

void MainDialog::UpdateHighPriorityCheck() {
  if (QAction* action = MenuAction(kIdHighPriority)) action->setChecked(highPriority_);
}

void MainDialog::ShowAbout() {
  AboutDialog about(this, &help_);
  about.exec();
}

void MainDialog::SetTurkishReading(bool on) {
  turkishReading_ = on;
  if (turkishReadingAction_->isChecked() != on) turkishReadingAction_->setChecked(on);
}

void MainDialog::SetIntonation(bool on) {
  if (intonation_ == on) return;
  intonation_ = on;
  speech_.SetIntonation(on);
  if (intonationAction_->isChecked() != on) intonationAction_->setChecked(on);
}

QAction* MainDialog::MenuAction(int id) const {
  const auto actions = menuBar_->findChildren<QAction*>();
  for (QAction* action : actions) {
    const QVariant value = action->property(kCommandIdProperty);
    if (value.isValid() && value.toInt() == id) return action;
  }
  return nullptr;
}

}  // namespace orvanel::app
