#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Qt's settings reader turns "@Variant(...)" values back into values through a data stream
// that trusts the counts it finds: one damaged count asks for gigabytes, which ends the
// program, and as the playlist is read at every start, at every start. Before the store reads
// the file, each value is walked the way the reader would walk it; a value that is not of the
// kinds this program writes (maps, lists, strings, numbers) or that claims more than it holds
// is taken out of the file, and the file as it was stays beside it with ".damaged" appended.
namespace SettingsFileCheck {

// Whether the reader can take the value as it stands in the file (the text after '=').
bool isSafeValue(QByteArrayView text);
// Takes unsafe values out of the file at `path`: the lines taken out, or empty when the file
// is left as it is. `error` gets the reason when the file could not be rewritten.
QStringList removeUnsafeValues(const QString &path, QString *error = nullptr);

} // namespace SettingsFileCheck
