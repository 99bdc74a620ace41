// The application object: creates the engine, runs the main window until it closes, and ends
// the program.
#pragma once

#include <QString>
#include <string>

#include "engine/thread_priority.h"

namespace orvanel::app {

class SpeechControl;

inline constexpr char kEngineErrorCaption[] = "Speech Engine Error\n";

class Application {
 public:
  // programPath names the help file and the program in message boxes.
  Application(SpeechControl& speech, engine::PriorityControl& priority, QString programPath);

  // Runs the whole program and returns its exit code: 1 when the engine cannot be created (after
  // a message box with the engine's text, before any window exists), else 0 once the main
  // window is closed. The engine is shut down before the window goes away, so speech that is
  // still playing ends with it.
  int StartUp();

 private:
  SpeechControl& speech_;
  engine::PriorityControl& priority_;
  QString programPath_;
};

// The ownerless critical message box for a failed engine start; error is Windows-1254.
void ShowEngineError(const std::string& error);

}  // namespace orvanel::app
