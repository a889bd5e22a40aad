#pragma once

class QCoreApplication;

// Installs the catalogues for the user's language (the default locale, which follows the
// system's): ours, embedded under ":/i18n", and the toolkit's own "qtbase" from the system when
// it is installed. Source texts are English, so a language without a catalogue keeps them.
void installTranslators(QCoreApplication &app);
