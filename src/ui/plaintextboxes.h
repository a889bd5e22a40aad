#pragma once

class QMessageBox;

// Message boxes show the texts they are given as they are: names of files and packages, network
// errors and the like come from outside and must never be read as markup (a package named
// "<h1>...</h1>.opack" would show as a headline, a link could be followed).
namespace PlainTextBoxes {

// From now on every message box of the application, whichever code builds it, turns to plain
// text as it is shown. Installing again changes nothing.
void install();

// Turns one box to plain text now.
void apply(QMessageBox *box);

} // namespace PlainTextBoxes
