#include "ui/menu_host.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include "skin/user_config.h"

namespace qm {

void MenuHost::open_document(const QString& file_name) {
  // The desktop resolves nothing itself: a relative name is taken from the current directory.
  QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(file_name)));
}

void MenuHost::edit_configuration() {
  // The folders Config.ini names are relative to the current directory, and so is its copy's.
  const auto copy = config_ini_to_edit(QCoreApplication::applicationDirPath().toStdString(),
                                       QDir::currentPath().toStdString());
  open_document(copy ? QString::fromStdString(copy->string()) : QStringLiteral("Config.ini"));
}

void MenuHost::beep() {
  QApplication::beep();
}

// exit() rather than quit(): quit() would first ask every window to close, and Exit ends the
// program without the main window's shut-down steps.
void MenuHost::quit() {
  QCoreApplication::exit(0);
}

}  // namespace qm
