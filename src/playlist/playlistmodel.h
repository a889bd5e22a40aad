#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QStringList>

class Playlist;

// The playlist's rows as the panel shows them. Texts, colours and the missing mark are made
// when a row is drawn, so a playlist of a hundred thousand files costs no more to show than
// the rows on screen. A drag reorders the rows here first; the playlist follows when asked.
class PlaylistModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    // The row's file path.
    static constexpr int PathRole = Qt::UserRole;

    explicit PlaylistModel(Playlist *playlist, QObject *parent = nullptr);

    // The paths in the order of the rows.
    const QStringList &rowPaths() const { return m_rows; }
    // Takes the playlist's order and state again.
    void reload();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;
    bool moveRows(const QModelIndex &sourceParent, int sourceRow, int count, const QModelIndex &destinationParent,
                  int destinationChild) override;

private:
    QString text(int row, const QString &path, bool current) const;
    // Whether the file is gone, asked of the disk once per row until the next reload.
    bool isMissing(const QString &path) const;

    Playlist *m_playlist;
    QStringList m_rows;
    mutable QHash<QString, bool> m_missing;
};
