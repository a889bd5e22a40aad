#include "textmatch.h"

#include <QStringView>

#include <algorithm>
#include <optional>

namespace {

using CodePoints = QList<uint>;

bool isBlank(uint c)
{
    return c == u'\n' || c == u' ' || c == u'\r' || c == 0xA0;
}

// Letters the engine treats as words of their own in a search text: those of scripts written
// without blanks between words.
bool standsAlone(uint c)
{
    const auto within = [c](uint low, uint high) { return c >= low && c <= high; };
    return !(c < 255 || within(0x0600, 0x06FF) || within(0xFE70, 0xFEFF) || within(0xFB50, 0xFDFF)
             || within(0x0400, 0x04FF) || within(0x0500, 0x052F) || within(0xA640, 0xA69F)
             || within(0x2DE0, 0x2DFF) || c == 8467 || within(0x2000, 0x206F));
}

// The `index`-th piece of `text` split at runs of blanks; an empty piece where the text starts
// or ends with a blank.
std::optional<CodePoints> blankSeparated(const CodePoints &text, int index)
{
    qsizetype from = 0;
    while (index-- > 0) {
        const qsizetype blank = text.indexOf(U' ', from);
        if (blank < 0)
            return std::nullopt;
        from = blank + 1;
        while (from < text.size() && text.at(from) == U' ')
            ++from;
    }
    const qsizetype end = text.indexOf(U' ', from);
    return text.mid(from, (end < 0 ? text.size() : end) - from);
}

qsizetype find(const CodePoints &haystack, const CodePoints &needle, qsizetype from)
{
    const auto found = std::search(haystack.cbegin() + from, haystack.cend(), needle.cbegin(), needle.cend());
    return found == haystack.cend() ? -1 : found - haystack.cbegin();
}

} // namespace

QList<uint> TextMatch::loweredCodePoints(const QString &text)
{
    QList<uint> points = QStringView(text).toUcs4();
    for (uint &c : points)
        c = QChar::toLower(char32_t(c));
    return points;
}

TextMatch::TextMatch(const QString &text)
{
    const CodePoints lowered = loweredCodePoints(text);
    if (lowered.isEmpty())
        return;
    if (std::all_of(lowered.cbegin(), lowered.cend(), [](uint c) { return c == U' '; })) {
        m_words.append(lowered);
        return;
    }
    for (int index = 0;; ++index) {
        std::optional<CodePoints> word = blankSeparated(lowered, index);
        if (!word)
            break;
        if (word->isEmpty()) {
            m_words.append(*word);
            continue;
        }
        qsizetype pos = 0;
        while (pos < word->size()) {
            const uint c = word->at(pos);
            if (!standsAlone(c) || (pos > 0 && c == 0x2019)) {
                ++pos;
                continue;
            }
            if (pos > 0)
                m_words.append(word->first(pos));
            m_words.append(CodePoints{c});
            if (pos == word->size() - 1) {
                word->clear();
                break;
            }
            *word = word->mid(pos + 1);
            pos = 0;
        }
        if (!word->isEmpty())
            m_words.append(*word);
    }
}

int TextMatch::count(const QString &pageText) const
{
    if (m_words.isEmpty())
        return 0;
    const CodePoints text = loweredCodePoints(pageText);
    const qsizetype length = text.size();
    const int words = int(m_words.size());
    int matches = 0;
    qsizetype next = 0;
    // Kept from one match to the next, as the engine keeps it.
    qsizetype matchStart = 0;
    while (next < length) {
        qsizetype start = next;
        qsizetype result = 0;
        bool spaceFirst = false;
        bool found = true;
        for (int word = 0; word < words; ++word) {
            const CodePoints &current = m_words.at(word);
            if (current.isEmpty()) {
                if (word == words - 1) {
                    if (start >= length) {
                        found = false;
                        break;
                    }
                    if (isBlank(text.at(start))) {
                        result = start + 1;
                        break;
                    }
                    word = -1;
                } else if (word == 0) {
                    spaceFirst = true;
                }
                continue;
            }
            result = find(text, current, start);
            if (result < 0) {
                found = false;
                break;
            }
            const qsizetype end = result + current.size() - 1;
            if (word == 0)
                matchStart = result;
            bool match = true;
            if (word != 0 && !spaceFirst) {
                if (start == result && !standsAlone(m_words.at(word - 1).constLast()) && !standsAlone(current.constFirst()))
                    match = false;
                for (qsizetype between = start; match && between < result; ++between)
                    match = isBlank(text.at(between));
            } else if (spaceFirst && result > 0) {
                match = isBlank(text.at(result - 1));
                matchStart = match ? result - 1 : result;
            }
            if (match) {
                start = end + 1;
            } else {
                word = -1;
                start = matchStart + m_words.at(spaceFirst ? 1 : 0).size();
            }
        }
        if (!found)
            break;
        ++matches;
        // Past the end of the match; never back, even for a search text of blanks alone.
        next = std::max(next + 1, result + m_words.constLast().size());
    }
    return matches;
}
