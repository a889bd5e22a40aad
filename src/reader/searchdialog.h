#pragma once

#include "pdf/searchhit.h"

#include <QDialog>
#include <QList>

class QLineEdit;
class QListWidget;
class QTimer;

// The non-modal text search: typing asks for a search once the user pauses, the results are
// listed by page with their context, and choosing one names its page. Running the search and
// showing its status belong to the owner.
class SearchDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int SearchDelayMs = 300;
    static constexpr int ContextLength = 120;

    explicit SearchDialog(QWidget *parent = nullptr);

    QString text() const;
    const QList<SearchHit> &hits() const { return m_hits; }
    QLineEdit *lineEdit() const { return m_edit; }
    QListWidget *resultList() const { return m_list; }

    // Replaces the results with a finished search and reports its status text.
    void setResults(const QList<SearchHit> &hits, bool truncated);
    // Shows the hits of a search still running; rows already listed stay, with their selection.
    void showPartialResults(const QList<SearchHit> &hits);
    // The document is gone: no hits, no rows; the text stays.
    void clearResults();
    // A new document: the text goes (a search for the empty text follows if there was any).
    void clearText();
    // Shows the dialog ready for typing, with the old text selected.
    void activateSearch();

Q_SIGNALS:
    // The user paused typing: search the document for `text`.
    void searchRequested(const QString &text);
    void statusMessage(const QString &text);
    // A result row became current; its hit is on `page` (zero-based).
    void hitChosen(int page);

private:
    void onCurrentRowChanged(int row);

    QLineEdit *m_edit;
    QListWidget *m_list;
    QTimer *m_delay;
    QList<SearchHit> m_hits;
};
