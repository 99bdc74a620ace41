#include "app/application.h"

#include <QEventLoop>
#include <QMessageBox>
#include <utility>

#include "app/controls.h"
#include "app/help_controller.h"
#include "app/main_dialog.h"
#include "app/speech_control.h"

namespace orvanel::app {

Application::Application(SpeechControl& speech, engine::PriorityControl& priority,
                         QString programPath)
    : speech_(speech), priority_(priority), programPath_(std::move(programPath)) {}

void ShowEngineError(const std::string& error) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kEngineErrorCaption),
                  FromEngineText(error), QMessageBox::Ok);
  box.exec();
}

int Application::StartUp() {
  std::string error;
  if (!speech_.Create(error)) {
    ShowEngineError(error);
    speech_.Shutdown();
    return 1;
  }
  HelpController help(programPath_);
  MainDialog dialog(speech_, priority_, help);
  // A modal run of our own: the window is not application-modal, so the help viewer beside it
  // stays usable.
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  dialog.show();
  loop.exec();
  speech_.Shutdown();
  return 0;
}

}  // namespace orvanel::app
