#pragma once

#include <QList>
#include <QMetaType>
#include <QRectF>
#include <QString>

// One match of a text search: the page, the match's areas in page points and the text around it.
struct SearchHit
{
    int page = -1;
    QList<QRectF> rects;
    QString context;

    friend bool operator==(const SearchHit &, const SearchHit &) = default;
};

Q_DECLARE_METATYPE(SearchHit)
