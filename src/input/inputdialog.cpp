#include "input/inputdialog.h"

#include "input/inputrouter.h"
#include "input/singlekeyedit.h"

#include "base/appsettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <utility>

namespace {
constexpr int defaultDebounceMs = 140;
}

InputDialog::InputDialog(InputRouter *router, AppSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_router(router)
    , m_settings(settings)
    , m_snapshot(router->bindings())
{
    setObjectName(QStringLiteral("inputDialog"));
    setWindowTitle(tr("Clicker and keyboard"));
    resize(780, 620);

    auto *layout = new QVBoxLayout(this);

    auto *intro = new QLabel(tr("USB / Bluetooth keyboard clickers require no driver. Input works in both "
                                "application windows.\nGlobal input outside this application is not "
                                "enabled. Separate alternatives with semicolons."),
                             this);
    intro->setObjectName(QStringLiteral("inputIntro"));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("bindingScroll"));
    scroll->setWidgetResizable(true);
    scroll->setWidget(buildBindingRows());
    layout->addWidget(scroll);

    m_ignoreText = new QCheckBox(tr("Ignore clicker shortcuts while typing"), this);
    m_ignoreText->setObjectName(QStringLiteral("ignoreTextCheck"));
    m_ignoreText->setChecked(router->ignoreText());
    layout->addWidget(m_ignoreText);

    auto *intervalRow = new QHBoxLayout;
    auto *intervalLabel =
        new QLabel(tr("Minimum interval for repeated identical key presses (auto-repeat is always blocked):"), this);
    intervalLabel->setObjectName(QStringLiteral("debounceLabel"));
    m_debounce = new QSpinBox(this);
    m_debounce->setObjectName(QStringLiteral("debounceSpin"));
    m_debounce->setRange(0, 1000);
    m_debounce->setSuffix(tr(" ms"));
    m_debounce->setValue(router->debounceMs());
    intervalLabel->setBuddy(m_debounce);
    intervalRow->addWidget(intervalLabel);
    intervalRow->addWidget(m_debounce);
    intervalRow->addStretch(1);
    layout->addLayout(intervalRow);

    m_testMode = new QCheckBox(tr("Test mode: capture input here without performing actions"), this);
    m_testMode->setObjectName(QStringLiteral("testModeCheck"));
    layout->addWidget(m_testMode);

    m_lastInput = new QLabel(tr("Last input: none"), this);
    m_lastInput->setObjectName(QStringLiteral("lastInputLabel"));
    layout->addWidget(m_lastInput);

    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Save | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    buttons->setObjectName(QStringLiteral("inputButtons"));
    buttons->button(QDialogButtonBox::Save)->setObjectName(QStringLiteral("inputSave"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("inputCancel"));
    buttons->button(QDialogButtonBox::RestoreDefaults)->setObjectName(QStringLiteral("inputRestoreDefaults"));
    layout->addWidget(buttons);

    connect(m_testMode, &QCheckBox::toggled, this, &InputDialog::setTestMode);
    connect(router, &InputRouter::observed, this, [this](const QString &key, const QString &action) {
        m_lastInput->setText(tr("Captured: %1 -> %2").arg(key, action));
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &InputDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &InputDialog::restoreDefaults);
}

InputDialog::~InputDialog()
{
    // Destroyed while still open (its parent went away): leave the router as if cancelled.
    if (!m_finished)
        finish(false);
}

bool InputDialog::run(InputRouter *router, AppSettings &settings, QWidget *parent)
{
    QPointer<InputDialog> dialog = new InputDialog(router, settings, parent);
    const bool saved = dialog->exec() == QDialog::Accepted;
    delete dialog;
    return saved;
}

QWidget *InputDialog::buildBindingRows()
{
    auto *rows = new QWidget;
    rows->setObjectName(QStringLiteral("bindingRows"));
    auto *form = new QFormLayout(rows);
    for (const Action action : InputRouter::bindableActions()) {
        const int number = int(action);
        auto *field = new QWidget(rows);
        auto *fieldLayout = new QHBoxLayout(field);
        fieldLayout->setContentsMargins(0, 0, 0, 0);

        auto *edit = new QLineEdit(field);
        edit->setObjectName(QStringLiteral("bindingEdit%1").arg(number));
        fieldLayout->addWidget(edit, 2);

        auto *capture = new SingleKeyEdit(field);
        capture->setObjectName(QStringLiteral("bindingCapture%1").arg(number));
        fieldLayout->addWidget(capture, 1);
        connect(capture, &SingleKeyEdit::captured, this,
                [this, action](const QKeySequence &key) { appendCaptured(action, key); });

        form->addRow(actionName(action), field);
        m_edits.insert(action, edit);
        m_captureEdits.append(capture);
    }
    fillRows();
    return rows;
}

void InputDialog::fillRows()
{
    const BindingTable bindings = m_router->bindings();
    for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it)
        it.value()->setText(InputRouter::bindingText(bindings.value(it.key())));
}

void InputDialog::appendCaptured(Action action, const QKeySequence &key)
{
    QLineEdit *edit = m_edits.value(action);
    QList<QKeySequence> present;
    if (InputRouter::parseBindingText(edit->text(), &present).isEmpty() && present.contains(key))
        return;
    const QString text = key.toString(QKeySequence::NativeText);
    edit->setText(edit->text().isEmpty() ? text : edit->text() + QStringLiteral("; ") + text);
}

QString InputDialog::applyEdits()
{
    // Rows go into the router one by one, so an error leaves the earlier rows applied; the
    // callers put the snapshot back or keep the dialog open for a fix.
    for (const Action action : InputRouter::bindableActions()) {
        QList<QKeySequence> keys;
        const QString error = InputRouter::parseBindingText(m_edits.value(action)->text(), &keys);
        if (!error.isEmpty())
            return error;
        m_router->setBinding(action, keys);
    }
    return m_router->validationError();
}

void InputDialog::setTestMode(bool on)
{
    if (!on) {
        m_router->setCaptureMode(false);
        return;
    }
    const QString error = applyEdits();
    if (!error.isEmpty()) {
        m_router->setBindings(m_snapshot);
        {
            const QSignalBlocker blocker(m_testMode);
            m_testMode->setChecked(false);
        }
        QMessageBox::warning(this, tr("Key mapping"), error);
        return;
    }
    // Keeps test presses out of the line edits.
    m_testMode->setFocus();
    m_router->setCaptureMode(true);
}

void InputDialog::restoreDefaults()
{
    m_router->resetDefaults();
    fillRows();
    for (SingleKeyEdit *capture : std::as_const(m_captureEdits))
        capture->clear();
    m_ignoreText->setChecked(true);
    m_debounce->setValue(defaultDebounceMs);
}

void InputDialog::save()
{
    const QString error = applyEdits();
    if (!error.isEmpty()) {
        QMessageBox::warning(this, tr("Key mapping"), error);
        return;
    }
    m_router->setIgnoreText(m_ignoreText->isChecked());
    m_router->setDebounceMs(m_debounce->value());
    m_router->saveSettings(m_settings);
    accept();
}

void InputDialog::done(int result)
{
    QDialog::done(result);
    finish(result == QDialog::Accepted);
}

void InputDialog::finish(bool accepted)
{
    m_finished = true;
    if (!m_router)
        return;
    if (!accepted)
        m_router->setBindings(m_snapshot);
    m_router->setCaptureMode(false);
    const QSignalBlocker blocker(m_testMode);
    m_testMode->setChecked(false);
}
