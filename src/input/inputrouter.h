#pragma once

#include "input/action.h"

#include <QEvent>
#include <QObject>
#include <QTimer>

#include <functional>

class AppSettings;
class QKeyEvent;

// Routes key presses of every application window to actions. An event filter on the
// application object, so it sees each press before the focused widget does; it leaves text
// entry, dialogs, menus and key capture fields alone and suppresses repeated presses.
class InputRouter final : public QObject
{
    Q_OBJECT

public:
    // Starts with the default bindings and filters at once.
    explicit InputRouter(QObject *parent = nullptr);
    ~InputRouter() override;

    static QList<Action> bindableActions();
    static BindingTable defaultBindings();
    // See input/bindings.h: "Invalid key: %1" or empty; `out` is filled on success.
    static QString parseBindingText(const QString &text, QList<QKeySequence> *out);
    static QString bindingText(const QList<QKeySequence> &keys);

    void resetDefaults();
    BindingTable bindings() const { return m_bindings; }
    // Entries for values that are not bindable are dropped.
    void setBindings(const BindingTable &table);
    void setBinding(Action action, const QList<QKeySequence> &keys);
    QString validationError() const;

    bool ignoreText() const { return m_ignoreText; }
    void setIgnoreText(bool ignore) { m_ignoreText = ignore; }
    int debounceMs() const { return m_debounceMs; }
    void setDebounceMs(int ms); // clamped to 0..1000

    void loadSettings(const AppSettings &settings);
    void saveSettings(AppSettings &settings) const;

    // Test mode of the binding dialog: presses are reported, never performed.
    void setCaptureMode(bool on) { m_captureMode = on; }
    bool captureMode() const { return m_captureMode; }
    // Continuous-scroll reading: held Up/Down arrows repeat instead of being swallowed.
    void setScrollMode(bool on) { m_scrollMode = on; }
    bool scrollMode() const { return m_scrollMode; }

    // A page number typed with unbound digits is dropped after this pause without Enter.
    static constexpr int PageNumberTimeoutMs = 3000;
    static constexpr int MaxPageDigits = 6;
    void setPageNumberTimeout(int ms) { m_pageTimer.setInterval(ms); }

    // Monotonic milliseconds used for the minimum interval; tests drive it directly.
    void setClock(std::function<qint64()> clock);

Q_SIGNALS:
    void triggered(Action action);
    // An arrow key bound to a slide command while reading in one continuous scroll.
    void lineStepRequested(int direction);
    // Digits typed for a page number so far (empty when it was cancelled or entered), and the
    // number once Enter ends it.
    void pageNumberChanged(const QString &digits);
    void pageNumberEntered(int number);
    void observed(const QString &key, const QString &action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool leftAlone(int key) const;
    bool matchAction(QKeyCombination combination, Action *action) const;
    bool isRepeat(const QKeyEvent *event, QKeyCombination combination) const;
    // Digits that no command has, and Return, Escape and Backspace while they are typed.
    bool typesPageNumber(QEvent::Type type, QKeyCombination combination);
    void setPageNumber(const QString &digits);
    void route(QKeyCombination combination, Action action);

    BindingTable m_bindings;
    bool m_ignoreText = true;
    int m_debounceMs = 140;
    bool m_captureMode = false;
    bool m_scrollMode = false;
    int m_lastCombination = 0;
    bool m_pressClockStarted = false;
    qint64 m_pressTime = 0;
    std::function<qint64()> m_clock;
    QString m_pageDigits;
    QTimer m_pageTimer;
};
