#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>

class QKeySequence;
class QLabel;
class QWidget;

// The Ctrl key hints: small labels over registered controls that show the key bound to the
// control's action while Ctrl is held. Owned by the host window (its parent); the labels are
// children of the host. Installs itself as an application-wide event filter on construction
// (and is removed from it automatically when destroyed), so a Ctrl press in any window of
// the application shows the hints.
class KeyHints final : public QObject
{
    Q_OBJECT

public:
    enum Placement : int {
        CentredAbove = 0,
        RightOf = 1,
        TopLeft = 2,
        TopRight = 3,
    };

    explicit KeyHints(QWidget *host);
    ~KeyHints() override;

    // A target may be registered more than once (one label per registration). An empty text
    // from the provider means no hint for that control at the moment of showing. Returns the
    // hint label (a hidden child of the host), or null without a host or target.
    QLabel *registerKeyHint(QWidget *target, std::function<QString()> textProvider, int placement);
    void showKeyHints(bool shown);

    // The native (translated) text of the cheapest binding: a bare arrow key costs nothing,
    // anything else the length of its portable text plus one; ties go to the earlier binding;
    // no binding, no text.
    static QString keyHintText(const QList<QKeySequence> &bindings);
    // The key text, a blank and `label` (as for "+1 min"), or empty when nothing is bound.
    static QString keyHintText(const QList<QKeySequence> &bindings, const QString &label);

Q_SIGNALS:
    // Once, when the hints are first shown: the host registers its hints then, so that no
    // label is made or styled before anybody holds Ctrl.
    void firstShowing();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry
    {
        QPointer<QWidget> target;
        QPointer<QLabel> label;
        std::function<QString()> textProvider;
        int placement = CentredAbove;
    };

    // Shows the hint where its placement puts it, below any of `placed` it would cover, and
    // returns where it went.
    QRect place(const Entry &entry, const QString &text, const QList<QRect> &placed);

    QPointer<QWidget> m_host;
    QList<Entry> m_entries;
    bool m_shownBefore = false;
};
