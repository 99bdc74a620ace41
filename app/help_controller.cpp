#include "app/help_controller.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>

#include "app/controls.h"

namespace orvanel::app {

namespace {

// The position of the extension's full stop in path, or -1 when the file name has none.
qsizetype ExtensionStart(const QString& path) {
  const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  return dot >= nameStart ? dot : -1;
}

// The first widget from start up through its parents that carries a help context.
QWidget* AnsweringDialog(QWidget* start) {
  for (QWidget* widget = start; widget != nullptr; widget = widget->parentWidget()) {
    if (widget->property(kHelpContextProperty).isValid()) return widget;
  }
  return nullptr;
}

}  // namespace

QString HelpFilePathFor(const QString& programPath) {
  const qsizetype dot = ExtensionStart(programPath);
  return (dot < 0 ? programPath : programPath.left(dot)) + QStringLiteral(".HLP");
}

QString ProgramNameFor(const QString& programPath) {
  const qsizetype nameStart = programPath.lastIndexOf(QLatin1Char('/')) + 1;
  const qsizetype dot = ExtensionStart(programPath);
  return programPath.mid(nameStart, dot < 0 ? -1 : dot - nameStart);
}

HelpController::HelpController(QString programPath, QObject* parent)
    : QObject(parent),
      helpFile_(HelpFilePathFor(programPath)),
      programName_(ProgramNameFor(programPath)) {}

HelpController::~HelpController() { Quit(); }

void HelpController::Help() {
  QWidget* dialog = AnsweringDialog(QWidget::mouseGrabber());
  if (dialog == nullptr) dialog = AnsweringDialog(QApplication::focusWidget());
  if (dialog == nullptr) dialog = AnsweringDialog(QApplication::activeModalWidget());
  if (dialog == nullptr) return;
  OpenAt(dialog->property(kHelpContextProperty).toInt(), dialog);
}

bool HelpController::OpenAt(int context, QWidget* owner) {
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();

  if (!QFileInfo(helpFile_).isFile()) {
    QMessageBox box(QMessageBox::Warning, programName_, QString::fromLatin1(kFailedToLaunchHelp),
                    QMessageBox::Ok, owner != nullptr ? owner->window() : nullptr);
    box.exec();
    return false;
  }
  if (viewer_.isNull()) {
    viewer_ = new QTextBrowser();
    viewer_->setAttribute(Qt::WA_DeleteOnClose);
    viewer_->setWindowTitle(QStringLiteral("%1 Help").arg(programName_));
    viewer_->setOpenExternalLinks(true);
    viewer_->resize(640, 520);
  }
  QUrl url = QUrl::fromLocalFile(helpFile_);
  url.setFragment(QStringLiteral("ctx%1").arg(context));
  viewer_->setSource(url, QTextDocument::HtmlResource);
  viewer_->setProperty("helpTopic", context);
  viewer_->show();
  viewer_->raise();
  viewer_->activateWindow();
  return true;
}

void HelpController::Quit() {
  if (!viewer_.isNull()) delete viewer_.data();
}

void InstallHelpKey(QWidget* window, HelpController& help) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, &help, &HelpController::Help);
}

}  // namespace orvanel::app
