#pragma once

#include <QtGlobal>

class QByteArray;
class QDateTime;
class QString;

// The diagnostic log: every message of every thread goes to "presenter.log" and to standard
// error, one line each, with a single older generation kept beside it.
namespace MessageLog {

// A log larger than this (strictly) is moved aside before the next line is written.
inline constexpr qint64 RotationLimit = 2097152;

// Creates the "logs" folder in the application-local data location and installs the handler.
// On failure it warns through the current handler, installs nothing and returns false.
bool installForApplication();

// Sends every message to the log file at `path` and to standard error from now on.
// Returns the handler that was installed before.
QtMessageHandler install(const QString &path);

// The file the installed handler writes to; empty when there is none.
QString filePath();

// One log line: UTC time to the second, the numeric message type and the text, in UTF-8.
QByteArray formatLine(QtMsgType type, const QString &message, const QDateTime &time);

// Appends `line` to the log at `path`, first rotating the log to `path` + ".1" when it has
// grown above the limit. When rotation fails the log grows to at most twice the limit and
// then takes no more lines, which standard error is told once. The caller serialises; the
// handler holds the log lock around it.
void append(const QString &path, const QByteArray &line);

} // namespace MessageLog
