#include "ui/buttons.h"

#include "ui/icons.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kFlashMs = 160;

QString flashTimerName()
{
    return QStringLiteral("flashTimer");
}

} // namespace

QPushButton *makeControlButton(const QString &objectName, const QString &text, IconKind iconKind,
                               const QString &toolTip, QBoxLayout *row)
{
    auto *button = new ControlButton(text);
    button->setObjectName(objectName);
    button->setIcon(paintedIcon(iconKind));
    button->setIconSize(QSize(26, 26));
    button->setToolTip(toolTip);
    button->setFocusPolicy(Qt::NoFocus);
    if (row)
        row->addWidget(button, 1);
    return button;
}

QPushButton *makeIconButton(IconKind iconKind, const QString &objectName, const QString &toolTip, QWidget *parent)
{
    auto *button = new IconButton(parent);
    button->setObjectName(objectName);
    button->setIcon(paintedIcon(iconKind));
    button->setIconSize(QSize(22, 22));
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void flashButton(QObject *maybeButton)
{
    auto *button = qobject_cast<QAbstractButton *>(maybeButton);
    if (!button)
        return;
    // One timer per button, owned by it: it dies with the button, and a second flash restarts
    // it instead of letting the first one release the button early.
    auto *timer = button->findChild<QTimer *>(flashTimerName(), Qt::FindDirectChildrenOnly);
    if (!timer) {
        timer = new QTimer(button);
        timer->setObjectName(flashTimerName());
        timer->setSingleShot(true);
        timer->setInterval(kFlashMs);
        QObject::connect(timer, &QTimer::timeout, button, [button] { button->setDown(false); });
    }
    button->setDown(true);
    timer->start();
}
