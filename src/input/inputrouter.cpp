#include "input/inputrouter.h"

#include "input/bindings.h"
#include "input/inputlog.h"

#include "base/appsettings.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QAbstractSpinBox>
#include <QPlainTextEdit>
#include <QTextEdit>

Q_LOGGING_CATEGORY(lcInput, "olvanti.input")

namespace {

constexpr bool defaultIgnoreText = true;
constexpr int defaultDebounceMs = 140;

bool isKeySequenceEditor(const QWidget *widget)
{
    if (!widget)
        return false;
    const QWidget *parent = widget->parentWidget();
    return widget->inherits("QKeySequenceEdit") || (parent && parent->inherits("QKeySequenceEdit"));
}

// Only fields that take free text; a spin box (the page box) keeps only keys nobody bound.
bool isTextInput(QWidget *widget)
{
    if (qobject_cast<QLineEdit *>(widget) || qobject_cast<QTextEdit *>(widget)
        || qobject_cast<QPlainTextEdit *>(widget))
        return true;
    const auto *combo = qobject_cast<QComboBox *>(widget);
    return combo && combo->isEditable();
}

// The keys a dialog moves its lists and combo boxes with, and the one that closes it.
bool isDialogKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right
           || key == Qt::Key_Escape;
}

bool isReturnKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The keys an in-window chooser (the overview) moves and chooses with.
bool isChooserKey(int key)
{
    return isDialogKey(key) || isReturnKey(key) || key == Qt::Key_Home || key == Qt::Key_End
           || key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

// A widget of the window that takes the keys it chooses with while it has the focus.
bool keepsChooserKeys(const QWidget *focus)
{
    for (const QWidget *widget = focus; widget; widget = widget->parentWidget()) {
        if (widget->property("keepsChooserKeys").toBool())
            return true;
    }
    return false;
}

// A digit of the main keyboard or the keypad, without other modifiers.
int digitOf(QKeyCombination combination)
{
    const int key = combination.key();
    return combination.keyboardModifiers() == Qt::NoModifier && key >= Qt::Key_0 && key <= Qt::Key_9 ? key - Qt::Key_0
                                                                                                   : -1;
}

bool isArrowUpOrDown(QKeyCombination combination)
{
    return combination.keyboardModifiers() == Qt::NoModifier
           && (combination.key() == Qt::Key_Up || combination.key() == Qt::Key_Down);
}

} // namespace

InputRouter::InputRouter(QObject *parent)
    : QObject(parent)
{
    registerActionMetaType();
    setClock({});
    resetDefaults();
    m_pageTimer.setSingleShot(true);
    m_pageTimer.setInterval(PageNumberTimeoutMs);
    connect(&m_pageTimer, &QTimer::timeout, this, [this] { setPageNumber(QString()); });
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

InputRouter::~InputRouter() = default;

QList<Action> InputRouter::bindableActions()
{
    return bindableActionList();
}

BindingTable InputRouter::defaultBindings()
{
    return defaultBindingTable();
}

QString InputRouter::parseBindingText(const QString &text, QList<QKeySequence> *out)
{
    return ::parseBindingText(text, out);
}

QString InputRouter::bindingText(const QList<QKeySequence> &keys)
{
    return ::bindingText(keys);
}

void InputRouter::resetDefaults()
{
    m_bindings = defaultBindingTable();
}

void InputRouter::setBindings(const BindingTable &table)
{
    m_bindings = table;
    for (auto it = m_bindings.begin(); it != m_bindings.end();) {
        if (isBindable(it.key()))
            ++it;
        else
            it = m_bindings.erase(it);
    }
}

void InputRouter::setBinding(Action action, const QList<QKeySequence> &keys)
{
    if (isBindable(action))
        m_bindings.insert(action, keys);
}

QString InputRouter::validationError() const
{
    return validateBindings(m_bindings);
}

void InputRouter::setDebounceMs(int ms)
{
    m_debounceMs = qBound(0, ms, Limits::MaxDebounceMs);
}

void InputRouter::setClock(std::function<qint64()> clock)
{
    if (!clock) {
        auto timer = std::make_shared<QElapsedTimer>();
        timer->start();
        clock = [timer] { return timer->elapsed(); };
    }
    m_clock = std::move(clock);
    m_pressClockStarted = false;
}

void InputRouter::loadSettings(const AppSettings &settings)
{
    m_ignoreText = settings.inputIgnoreText();
    setDebounceMs(settings.inputDebounceMs());

    for (const Action action : bindableActionList()) {
        const std::optional<QStringList> texts = settings.inputKeys(int(action));
        if (!texts)
            continue;
        QList<QKeySequence> keys;
        for (const QString &text : *texts) {
            // Unknown names parse to the unknown key and are refused by the validation below.
            const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
            if (!sequence.isEmpty())
                keys.append(sequence);
        }
        m_bindings.insert(action, keys);
    }

    const QString error = validationError();
    if (!error.isEmpty()) {
        qCWarning(lcInput, "Invalid persisted key mapping; restoring defaults");
        qCDebug(lcInput) << "Refused stored bindings:" << error;
        resetDefaults();
    }
}

void InputRouter::saveSettings(AppSettings &settings) const
{
    settings.setInputIgnoreText(m_ignoreText);
    settings.setInputDebounceMs(m_debounceMs);
    for (const Action action : bindableActionList()) {
        QStringList texts;
        for (const QKeySequence &sequence : m_bindings.value(action))
            texts.append(sequence.toString(QKeySequence::PortableText));
        settings.setInputKeys(int(action), texts);
    }
}

bool InputRouter::leftAlone(int key) const
{
    QWidget *focus = QApplication::focusWidget();
    // Key capture fields always get their keys, even in test mode.
    if (isKeySequenceEditor(focus))
        return true;
    if (m_captureMode)
        return false;
    if (m_ignoreText && focus && isTextInput(focus))
        return true;
    // In a non-modal dialog (setup, search) the arrows and Escape are the dialog's own; the
    // clicker's other keys still drive the show from there.
    if (focus && qobject_cast<QDialog *>(focus->window()) && isDialogKey(key))
        return true;
    if (keepsChooserKeys(focus) && isChooserKey(key))
        return true;
    // Dialogs and open menus keep their keys. Test mode runs inside a modal dialog, hence
    // the exception above.
    return QApplication::activeModalWidget() || QApplication::activePopupWidget();
}

bool InputRouter::matchAction(QKeyCombination combination, Action *action) const
{
    const QKeySequence press(combination);
    for (const Action candidate : bindableActionList()) {
        if (m_bindings.value(candidate).contains(press)) {
            *action = candidate;
            return true;
        }
    }
    return false;
}

bool InputRouter::isRepeat(const QKeyEvent *event, QKeyCombination combination) const
{
    if (event->isAutoRepeat())
        return true;
    return m_pressClockStarted && combination.toCombined() == m_lastCombination
           && m_clock() - m_pressTime < m_debounceMs;
}

void InputRouter::route(QKeyCombination combination, Action action)
{
    m_lastCombination = combination.toCombined();
    m_pressTime = m_clock();
    m_pressClockStarted = true;
    Q_EMIT observed(QKeySequence(combination).toString(QKeySequence::NativeText), actionName(action));
    if (m_captureMode)
        return;
    // Reading in one continuous scroll, the up and down arrows move by lines, never into the
    // next page or file, whatever slide command they are bound to.
    const bool arrow = combination.key() == Qt::Key_Up || combination.key() == Qt::Key_Down;
    if (m_scrollMode && arrow && (action == Action::NextSlide || action == Action::PreviousSlide))
        Q_EMIT lineStepRequested(action == Action::NextSlide ? 1 : -1);
    else
        Q_EMIT triggered(action);
}

void InputRouter::setPageNumber(const QString &digits)
{
    m_pageDigits = digits;
    if (digits.isEmpty())
        m_pageTimer.stop();
    else
        m_pageTimer.start();
    Q_EMIT pageNumberChanged(digits);
}

bool InputRouter::typesPageNumber(QEvent::Type type, QKeyCombination combination)
{
    if (m_captureMode)
        return false;
    const int key = combination.key();
    const bool typing = !m_pageDigits.isEmpty() && combination.keyboardModifiers() == Qt::NoModifier
                        && (isReturnKey(key) || key == Qt::Key_Escape || key == Qt::Key_Backspace);
    // A digit bound to a command keeps its binding; the page box takes its own digits.
    Action bound = Action::NextSlide;
    const int digit = digitOf(combination);
    const bool startsOrGoesOn = digit >= 0 && !matchAction(combination, &bound)
                                && !qobject_cast<QAbstractSpinBox *>(QApplication::focusWidget());
    if (!typing && !startsOrGoesOn)
        return false;
    if (type != QEvent::KeyPress)
        return true; // the override is accepted so that no shortcut takes the key
    if (digit >= 0) {
        if (m_pageDigits.size() < MaxPageDigits)
            setPageNumber(m_pageDigits + QString::number(digit));
        else
            m_pageTimer.start();
    } else if (key == Qt::Key_Backspace) {
        setPageNumber(m_pageDigits.chopped(1));
    } else {
        const int number = m_pageDigits.toInt();
        setPageNumber(QString());
        if (isReturnKey(key) && number > 0)
            Q_EMIT pageNumberEntered(number);
    }
    return true;
}

bool InputRouter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    if (leftAlone(keyEvent->key()))
        return false;

    // Keypad keys (arrows with Num Lock off) count as the same keys elsewhere.
    const QKeyCombination combination(keyEvent->modifiers() & ~Qt::KeypadModifier,
                                      Qt::Key(keyEvent->key()));
    if (typesPageNumber(type, combination))
        return true;
    Action action = Action::NextSlide;
    if (!matchAction(combination, &action)) {
        // An unmatched press climbs the parent chain and passes here again for each widget;
        // report it once, where it is delivered first.
        if (!m_captureMode || type != QEvent::KeyPress || keyEvent->key() == 0
            || !(watched == QApplication::focusWidget()
                 || (!QApplication::focusWidget() && watched->isWidgetType()
                     && static_cast<QWidget *>(watched)->isWindow()))) {
            return false;
        }
        Q_EMIT observed(QKeySequence(combination).toString(QKeySequence::NativeText), tr("Unassigned"));
        // Return and Enter would press the test dialog's default button and end the test.
        return isReturnKey(keyEvent->key());
    }

    if (type == QEvent::ShortcutOverride) {
        // Accepting the override keeps menu and button shortcuts from firing; the press
        // itself follows and is routed below.
        event->accept();
        return true;
    }

    const bool heldArrow = m_scrollMode && isArrowUpOrDown(combination)
                           && (action == Action::NextSlide || action == Action::PreviousSlide);
    if (heldArrow || !isRepeat(keyEvent, combination))
        route(combination, action);
    return true;
}
