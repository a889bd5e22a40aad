#pragma once

#include "input/action.h"

#include <QDialog>
#include <QPointer>

class InputRouter;
class QCheckBox;
class QLabel;
class QLineEdit;
class AppSettings;
class QSpinBox;
class SingleKeyEdit;

// "Clicker and keyboard": edits the key bindings and input options of the router and lets
// the operator test a clicker without performing actions. Cancel puts back the bindings in
// force when the dialog opened; Save applies and stores them.
class InputDialog final : public QDialog
{
    Q_OBJECT

public:
    InputDialog(InputRouter *router, AppSettings &settings, QWidget *parent = nullptr);
    ~InputDialog() override;

    // Shows the dialog modally; returns whether the operator saved.
    static bool run(InputRouter *router, AppSettings &settings, QWidget *parent = nullptr);

    void done(int result) override;

private:
    QWidget *buildBindingRows();
    void fillRows();
    void appendCaptured(Action action, const QKeySequence &key);
    // Writes every row into the router in order; returns the first error or empty.
    QString applyEdits();
    void setTestMode(bool on);
    void restoreDefaults();
    void save();
    void finish(bool accepted);

    QPointer<InputRouter> m_router;
    AppSettings &m_settings;
    const BindingTable m_snapshot;
    QMap<Action, QLineEdit *> m_edits;
    QList<SingleKeyEdit *> m_captureEdits;
    QCheckBox *m_ignoreText = nullptr;
    QSpinBox *m_debounce = nullptr;
    QCheckBox *m_testMode = nullptr;
    QLabel *m_lastInput = nullptr;
    bool m_finished = false;
};
