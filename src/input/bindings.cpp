#include "input/bindings.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

QString bindingText(const QList<QKeySequence> &keys)
{
    QStringList texts;
    texts.reserve(keys.size());
    for (const QKeySequence &key : keys)
        texts.append(key.toString(QKeySequence::NativeText));
    return texts.join(QStringLiteral("; "));
}

bool isUnknownKey(const QKeySequence &sequence)
{
    // Any combination counts: "C, Foo" would otherwise pass and never read back from its text.
    for (int i = 0; i < sequence.count(); ++i) {
        if (sequence[i].key() == Qt::Key_unknown)
            return true;
    }
    return false;
}

QString parseBindingText(const QString &text, QList<QKeySequence> *out)
{
    QList<QKeySequence> keys;
    const QStringList pieces = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        // No key is named with control characters; the toolkit would parse some into keys that
        // do not read back from their own text.
        const bool control = std::any_of(piece.cbegin(), piece.cend(),
                                         [](QChar c) { return c.category() == QChar::Other_Control; });
        // The names as shown ("Bild ab" under German), or the portable ones ("PgDown").
        QKeySequence key = QKeySequence::fromString(piece.trimmed(), QKeySequence::NativeText);
        if (key.isEmpty() || isUnknownKey(key))
            key = QKeySequence::fromString(piece.trimmed(), QKeySequence::PortableText);
        if (control || key.isEmpty() || isUnknownKey(key))
            return QCoreApplication::translate("InputRouter", "Invalid key: %1").arg(piece);
        keys.append(key);
    }
    if (out)
        *out = keys;
    return QString();
}

QString validateBindings(const BindingTable &table)
{
    QSet<QString> seen;
    for (const Action action : bindableActionList()) {
        for (const QKeySequence &key : table.value(action)) {
            const QString text = key.toString(QKeySequence::PortableText);
            if (key.count() != 1 || isUnknownKey(key) || seen.contains(text)) {
                return QCoreApplication::translate("InputRouter",
                                                   "Bindings must be unique, single key combinations: %1")
                    .arg(key.toString(QKeySequence::NativeText));
            }
            seen.insert(text);
        }
    }
    return QString();
}
