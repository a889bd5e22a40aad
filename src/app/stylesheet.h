#pragma once

class QApplication;
class QString;

// The application's one style sheet: every rule, in order, written as
// selector " { " declarations " }" with no separator between rules.
QString applicationStyleSheet();

// Fusion and the widgets' common text size, for the whole application.
void applyApplicationLook();
// The look and the style sheet, for the whole application.
void applyApplicationStyle(QApplication &app);
