#pragma once

class QString;

// The application's one style sheet: every rule, in order, written as
// selector " { " declarations " }" with no separator between rules.
QString applicationStyleSheet();
