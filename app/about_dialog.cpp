#include "app/about_dialog.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "app/controls.h"
#include "app/dialog_units.h"
#include "app/help_controller.h"

namespace orvanel::app {

QIcon AppIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/orvanel/icons/orvanel-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/orvanel/icons/orvanel-32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/orvanel/icons/orvanel-48.png"), QSize(48, 48));
  icon.addFile(QStringLiteral(":/orvanel/icons/orvanel-64.png"), QSize(64, 64));
  icon.addFile(QStringLiteral(":/orvanel/icons/orvanel-128.png"), QSize(128, 128));
  return icon;
}

AboutDialog::AboutDialog(QWidget* parent, HelpController* help)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("About Orvanel"));
  // Modal to the main window only, so the help viewer stays usable while the dialog is open.
  setWindowModality(Qt::WindowModal);
  setFont(DialogFont());
  setProperty(kHelpContextProperty, kHelpContextBase + kAboutTemplate);
  const DialogUnits du = DialogUnits::FromFont(font());

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("appIcon"));
  icon->setPixmap(AppIcon().pixmap(32, 32));
  icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  icon->setGeometry(du.ToPixels(7, 7, 21, 20));

  auto* version = new QLabel(QString::fromLatin1(kVersionText), this);
  version->setObjectName(QStringLiteral("versionText"));
  version->setGeometry(du.ToPixels(40, 10, 119, 8));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  SetControlId(ok, kIdOk);
  ok->setDefault(true);
  ok->setGeometry(du.ToPixels(152, 18, 47, 20));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  setFixedSize(du.ToPixelsX(217), du.ToPixelsY(109));
  if (help != nullptr) InstallHelpKey(this, *help);
}

}  // namespace orvanel::app
