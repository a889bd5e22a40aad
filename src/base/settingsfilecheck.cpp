#include "base/settingsfilecheck.h"

#include "storage/safesave.h"

#include <QFile>
#include <QMetaType>
#include <QtEndian>

#include <algorithm>
#include <optional>

namespace {

constexpr int MaxDepth = 32;
constexpr QLatin1StringView VariantPrefix("@Variant(");

// The value's text as the reader unescapes it, split where it makes a list; nothing when it
// holds an escape the reader might take otherwise than here.
std::optional<QStringList> unescaped(QByteArrayView text)
{
    const QString in = QString::fromUtf8(text).trimmed();
    QStringList list;
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const QChar ch = in.at(i);
        if (ch == u'"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && ch == u',') {
            list << out.trimmed();
            out.clear();
            continue;
        }
        if (ch != u'\\') {
            out += ch;
            continue;
        }
        if (++i == in.size())
            return std::nullopt;
        const QChar escape = in.at(i);
        static const QString simple = QStringLiteral("abfnrtv");
        static const QString controls = QStringLiteral("\a\b\f\n\r\t\v");
        if (const qsizetype at = simple.indexOf(escape); at >= 0) {
            out += controls.at(at);
        } else if (escape == u'"' || escape == u'\'' || escape == u'?' || escape == u'\\') {
            out += escape;
        } else if (escape >= u'0' && escape <= u'7') {
            // The reader takes every octal digit that follows; the writer never puts one there.
            if (i + 1 < in.size() && in.at(i + 1) >= u'0' && in.at(i + 1) <= u'7')
                return std::nullopt;
            out += QChar(char16_t(escape.unicode() - u'0'));
        } else if (escape == u'x') {
            // The reader takes every hex digit that follows; the writer puts one or two.
            uint value = 0;
            int digits = 0;
            bool ok = true;
            while (ok && i + 1 < in.size()) {
                const uint digit = QString(in.at(i + 1)).toUInt(&ok, 16);
                if (ok) {
                    value = value * 16 + digit;
                    ++digits;
                    ++i;
                }
            }
            if (digits == 0 || digits > 2)
                return std::nullopt;
            out += QChar(char16_t(value));
        } else {
            return std::nullopt;
        }
    }
    if (quoted)
        return std::nullopt;
    list << out.trimmed();
    return list;
}

// Walks a value as the reader's data stream (version 4.0) takes it, without building it.
class Walk
{
public:
    explicit Walk(const QByteArray &bytes)
        : m_bytes(bytes)
    {
    }

    bool variant(int depth)
    {
        const std::optional<quint32> type = number();
        if (!type || depth > MaxDepth)
            return false;
        switch (int(*type)) {
        case QMetaType::UnknownType: // an invalid value is written as an empty string
        case QMetaType::QString:
            return string();
        case QMetaType::QByteArray:
            return bytes();
        case QMetaType::Bool:
            return take(1);
        case QMetaType::Int:
        case QMetaType::UInt:
            return take(4);
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
            return take(8);
        case QMetaType::QStringList:
            return elements([this] { return string(); });
        case QMetaType::QVariantList:
            return elements([this, depth] { return variant(depth + 1); });
        case QMetaType::QVariantMap:
        case QMetaType::QVariantHash:
            return elements([this, depth] { return string() && variant(depth + 1); });
        default:
            return false; // not a kind this program writes
        }
    }

private:
    std::optional<quint32> number()
    {
        if (m_bytes.size() - m_at < 4)
            return std::nullopt;
        const quint32 value = qFromBigEndian<quint32>(m_bytes.constData() + m_at);
        m_at += 4;
        return value;
    }

    bool take(qint64 count)
    {
        if (count > m_bytes.size() - m_at)
            return false;
        m_at += count;
        return true;
    }

    // A null string or byte array has the length 0xffffffff and nothing after it.
    bool string()
    {
        const std::optional<quint32> length = number();
        return length && (*length == 0xffffffffU || (*length % 2 == 0 && take(*length)));
    }

    bool bytes()
    {
        const std::optional<quint32> length = number();
        return length && (*length == 0xffffffffU || take(*length));
    }

    // The reader makes room for the whole count before it reads: every element takes a byte
    // at least, so a count beyond the bytes left is refused before anything else.
    template<typename Each>
    bool elements(Each each)
    {
        const std::optional<quint32> count = number();
        if (!count || *count > quint64(m_bytes.size() - m_at))
            return false;
        for (quint32 i = 0; i < *count; ++i) {
            if (!each())
                return false;
        }
        return true;
    }

    const QByteArray &m_bytes;
    qint64 m_at = 0;
};

} // namespace

namespace SettingsFileCheck {

bool isSafeValue(QByteArrayView text)
{
    // Text that cannot become a stream needs no reading; most lines, and the long list of a
    // large playlist, are such text.
    if (!text.contains('@') && !text.contains('\\'))
        return true;
    const std::optional<QStringList> values = unescaped(text);
    if (!values)
        return false; // without the reader's meaning, unsafe
    // Each item of a list is read on its own; the reader takes the item as it stands or
    // trimmed, and the check walks an item either way.
    for (const QString &value : *values) {
        if (!value.startsWith(VariantPrefix))
            continue;
        const QStringView payload = QStringView(value).mid(VariantPrefix.size());
        if (std::any_of(payload.cbegin(), payload.cend(), [](QChar ch) { return ch.unicode() > 0xff; }))
            return false;
        const QByteArray bytes = payload.toLatin1();
        if (!Walk(bytes).variant(0))
            return false;
    }
    return true;
}

QStringList removeUnsafeValues(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray before = file.readAll();
    file.close();
    // Read in place: a file with nothing to take out, the usual one, is not copied.
    QList<QByteArrayView> kept;
    QStringList removed;
    for (qsizetype start = 0; start <= before.size();) {
        qsizetype end = before.indexOf('\n', start);
        if (end < 0)
            end = before.size();
        const QByteArrayView line(before.constData() + start, end - start);
        start = end + 1;
        // Whatever follows the first '=' is judged as a value, also on a line the reader may
        // take for a section header.
        const qsizetype equals = line.indexOf('=');
        if (equals >= 0 && !isSafeValue(line.sliced(equals + 1)))
            removed << QString::fromUtf8(line.first(equals)).trimmed();
        else
            kept << line;
    }
    if (removed.isEmpty())
        return {};
    QByteArray after;
    for (const QByteArrayView line : std::as_const(kept))
        after.append(line).append('\n');
    after.chop(1); // the last line had no line break of its own, or was empty
    QString reason = SafeSave::save(path + QStringLiteral(".damaged"), before);
    if (reason.isEmpty())
        reason = SafeSave::save(path, after);
    if (error)
        *error = reason;
    return reason.isEmpty() ? removed : QStringList();
}

} // namespace SettingsFileCheck
