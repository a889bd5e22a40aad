#include "searchdialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

SearchDialog::SearchDialog(QWidget *parent)
    : QDialog(parent)
    , m_edit(new QLineEdit(this))
    , m_list(new QListWidget(this))
    , m_delay(new QTimer(this))
{
    setObjectName(QStringLiteral("searchDialog"));
    setWindowTitle(tr("Search"));
    resize(420, 480);

    m_edit->setObjectName(QStringLiteral("searchText"));
    m_edit->setPlaceholderText(tr("Search text..."));
    m_list->setObjectName(QStringLiteral("searchResults"));
    // A hit's context is shown whole, over as many lines as it takes.
    m_list->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addWidget(m_list, 1);

    m_delay->setObjectName(QStringLiteral("searchDelay"));
    m_delay->setSingleShot(true);
    m_delay->setInterval(SearchDelayMs);
    // Typing is coalesced: each keystroke restarts the wait.
    connect(m_edit, &QLineEdit::textChanged, m_delay, qOverload<>(&QTimer::start));
    connect(m_delay, &QTimer::timeout, this, [this] { Q_EMIT searchRequested(m_edit->text()); });
    connect(m_list, &QListWidget::currentRowChanged, this, &SearchDialog::onCurrentRowChanged);
}

QString SearchDialog::text() const
{
    return m_edit->text();
}

void SearchDialog::setResults(const QList<SearchHit> &hits, bool truncated)
{
    showPartialResults(hits);
    Q_EMIT statusMessage(tr("%1 search results%2")
                             .arg(QString::number(hits.size()),
                                  truncated ? tr(" (limit reached; refine search)") : QString()));
}

void SearchDialog::showPartialResults(const QList<SearchHit> &hits)
{
    // The rows shown so far are kept when the new list continues them.
    const bool continues = m_hits.size() <= hits.size() && std::equal(m_hits.cbegin(), m_hits.cend(), hits.cbegin());
    const QSignalBlocker blocker(m_list);
    if (!continues) {
        m_hits.clear();
        m_list->clear();
    }
    for (qsizetype i = m_hits.size(); i < hits.size(); ++i) {
        const SearchHit &hit = hits.at(i);
        const QString context = hit.context.simplified().left(ContextLength);
        m_list->addItem(tr("Page %1: %2").arg(QString::number(hit.page + 1), context));
    }
    m_hits = hits;
}

void SearchDialog::clearResults()
{
    m_hits.clear();
    m_list->clear();
}

void SearchDialog::clearText()
{
    m_edit->clear();
}

void SearchDialog::activateSearch()
{
    show();
    raise();
    activateWindow();
    m_edit->setFocus(Qt::OtherFocusReason);
    m_edit->selectAll();
}

void SearchDialog::onCurrentRowChanged(int row)
{
    if (row < 0 || row >= m_hits.size())
        return;
    Q_EMIT hitChosen(m_hits.at(row).page);
}
