// The about box: the program's icon, name and version, and an OK button.
#pragma once

#include <QDialog>

namespace orvanel::app {

class HelpController;

inline constexpr char kVersionText[] = "Orvanel Version 2.3";

// The application icon (32 x 32 and 16 x 16 pictures).
QIcon AppIcon();

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr, HelpController* help = nullptr);
};

}  // namespace orvanel::app
