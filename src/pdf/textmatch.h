#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Finds a search text in a page's extracted text the way the PDF engine's own search does, so
// that a page's text, once extracted, answers every later search without the engine: letter
// case ignored character by character, the text split into words at blanks and around letters
// of scripts written without blanks, and any white space allowed between the words. Matches do
// not overlap.
class TextMatch final
{
public:
    explicit TextMatch(const QString &text);

    // The number of matches in `pageText`.
    int count(const QString &pageText) const;
    bool isEmpty() const { return m_words.isEmpty(); }

private:
    // Code points, lowered one by one as the engine lowers them.
    using Word = QList<uint>;
    static QList<uint> loweredCodePoints(const QString &text);
    QList<Word> m_words;
};
