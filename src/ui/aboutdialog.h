#pragma once

class QDialog;
class QString;
class QWidget;

// Builds the about dialog ("aboutDialog") without showing it; its "Third-party notices" button
// opens the notices viewer. showAboutDialog runs it modally and discards it afterwards.
QDialog *createAboutDialog(QWidget *parent);
void showAboutDialog(QWidget *parent);

// The notices file: OLVANTI_NOTICES_FILE when set and not empty (taken as given), else the
// first THIRD-PARTY-NOTICES.txt found in ../Resources, .., the folder itself or the installed
// ../share/doc/olvanti-vivuderidazi, relative to `applicationDir`; empty when there is none.
QString locateNoticesFile(const QString &applicationDir);
QString locateNoticesFile();  // relative to the running executable

// Shows the notices file in a modal viewer, or says that it is missing.
void showNotices(QWidget *parent);
