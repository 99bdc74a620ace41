// The help command: finds the dialog the help is for and opens the help file at its topic.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextBrowser>

class QWidget;

namespace orvanel::app {

inline constexpr char kFailedToLaunchHelp[] = "Failed to launch help.";

// The program's path with its extension (from the last full stop of the file name on) replaced by
// ".HLP"; a file name without a full stop gets ".HLP" appended. Full stops in folder names do not
// count: "/opt/a.b/orvanel" -> "/opt/a.b/orvanel.HLP".
QString HelpFilePathFor(const QString& programPath);
// The program's file name without its extension: "/usr/bin/orvanel" -> "orvanel".
QString ProgramNameFor(const QString& programPath);

class HelpController : public QObject {
  Q_OBJECT
 public:
  explicit HelpController(QString programPath, QObject* parent = nullptr);
  ~HelpController() override;

  QString HelpFile() const { return helpFile_; }
  QString ProgramName() const { return programName_; }

  // Command 57670: asks the window holding the mouse capture, then the one with the keyboard
  // focus, then the active modal window, each with its parents; the first one that carries a help
  // context answers. Nothing happens when none answers.
  void Help();
  // Opens the viewer at a context; shows "Failed to launch help." when the file is missing.
  // False when the viewer could not be opened.
  bool OpenAt(int context, QWidget* owner);
  // The viewer window while it is open, else nullptr.
  QTextBrowser* Viewer() const { return viewer_.data(); }
  // Closes the viewer (the main window does this when it is destroyed).
  void Quit();

 private:
  QString helpFile_;
  QString programName_;
  QPointer<QTextBrowser> viewer_;
};

// Lets F1 (without Shift, Ctrl or Alt) in a window issue the help command.
void InstallHelpKey(QWidget* window, HelpController& help);

}  // namespace orvanel::app
