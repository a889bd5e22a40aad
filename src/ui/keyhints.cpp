#include "ui/keyhints.h"

#include <QApplicationStateChangeEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QWidget>

#include <algorithm>

namespace {

int bindingWeight(const QKeySequence &binding)
{
    if (binding.count() == 1) {
        const QKeyCombination combination = binding[0];
        switch (combination.key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
            if (combination.keyboardModifiers() == Qt::NoModifier)
                return 0;
            break;
        default:
            break;
        }
    }
    return int(binding.toString(QKeySequence::PortableText).size()) + 1;
}

} // namespace

KeyHints::KeyHints(QWidget *host)
    : QObject(host)
    , m_host(host)
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

KeyHints::~KeyHints() = default;

QLabel *KeyHints::registerKeyHint(QWidget *target, std::function<QString()> textProvider, int placement)
{
    if (!m_host || !target)
        return nullptr;
    auto *label = new QLabel(m_host);
    label->setObjectName(QStringLiteral("shortcutHint"));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->hide();
    m_entries.append(Entry{target, label, std::move(textProvider), std::clamp(placement, 0, 3)});
    return label;
}

void KeyHints::showKeyHints(bool shown)
{
    if (shown && !m_shownBefore) {
        m_shownBefore = true;
        Q_EMIT firstShowing();
    }
    // Controls that are gone take their labels with them.
    m_entries.removeIf([](const Entry &entry) {
        if (entry.target && entry.label)
            return false;
        delete entry.label.data();
        return true;
    });
    QList<QRect> placed;
    for (const Entry &entry : std::as_const(m_entries)) {
        if (!shown || !entry.target->isVisible()) {
            entry.label->hide();
            continue;
        }
        const QString text = entry.textProvider ? entry.textProvider() : QString();
        if (text.isEmpty()) {
            entry.label->hide();
            continue;
        }
        placed.append(place(entry, text, placed));
    }
}

QRect KeyHints::place(const Entry &entry, const QString &text, const QList<QRect> &placed)
{
    QLabel *label = entry.label;
    QWidget *target = entry.target;
    label->setText(text);
    label->adjustSize();
    const int w = target->width();
    const int h = target->height();
    const int lw = label->width();
    const int lh = label->height();
    QPoint offset;
    switch (entry.placement) {
    case RightOf: {
        offset = QPoint(w + 4, (h - lh) / 2);
        // Beside a control inside another (an arrow in the clock), the hint stays inside too.
        if (const QWidget *container = target->parentWidget())
            offset.setY(std::max(-target->y(), std::min(offset.y(), container->height() - target->y() - lh)));
        break;
    }
    case TopLeft:
        offset = QPoint(6, 0);
        break;
    case TopRight:
        offset = QPoint(w - lw - 6, 0);
        break;
    case CentredAbove:
    default: {
        // Over the control's upper edge, but never over its text: a low button gets its hint
        // higher up.
        const int textTop = (h - target->fontMetrics().height()) / 2;
        offset = QPoint((w - lw) / 2, std::min(-lh / 2, textTop - lh - 1));
        break;
    }
    }
    const QPoint inHost = m_host->isAncestorOf(target) ? target->mapTo(m_host.data(), offset)
                                                       : m_host->mapFromGlobal(target->mapToGlobal(offset));
    QRect rect(QPoint(std::clamp(inHost.x(), 2, std::max(2, m_host->width() - lw - 2)), std::max(2, inHost.y())),
               label->size());
    // A hint that would cover one already shown moves just above or below it, whichever is nearer.
    for (qsizetype attempt = 0; attempt < 2 * placed.size(); ++attempt) {
        const auto hit = std::find_if(placed.cbegin(), placed.cend(), [&](const QRect &other) { return rect.intersects(other); });
        if (hit == placed.cend())
            break;
        const int up = rect.bottom() - hit->top() + 2;
        const int down = hit->bottom() - rect.top() + 2;
        rect.translate(0, up <= down && rect.top() - up >= 2 ? -up : down);
    }
    label->move(rect.topLeft());
    label->show();
    label->raise();
    return rect;
}

QString KeyHints::keyHintText(const QList<QKeySequence> &bindings)
{
    const QKeySequence *best = nullptr;
    int bestWeight = 0;
    for (const QKeySequence &binding : bindings) {
        if (binding.isEmpty())
            continue;
        const int weight = bindingWeight(binding);
        if (!best || weight < bestWeight) {
            best = &binding;
            bestWeight = weight;
        }
    }
    // The operator reads the key names in the language of the system ("Bild ab", not "PgDown").
    return best ? best->toString(QKeySequence::NativeText) : QString();
}

QString KeyHints::keyHintText(const QList<QKeySequence> &bindings, const QString &label)
{
    const QString key = keyHintText(bindings);
    return key.isEmpty() ? QString() : key + QLatin1Char(' ') + label;
}

bool KeyHints::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        // The same key event passes the filter once per receiver on its way up; showing twice
        // is harmless. Auto-repeat releases come in pairs with presses and must not flicker.
        if (key->key() == Qt::Key_Control && !key->isAutoRepeat())
            showKeyHints(event->type() == QEvent::KeyPress);
        break;
    }
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationDeactivate:
        showKeyHints(false);
        break;
    case QEvent::ApplicationStateChange:
        if (static_cast<QApplicationStateChangeEvent *>(event)->applicationState() != Qt::ApplicationActive)
            showKeyHints(false);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
