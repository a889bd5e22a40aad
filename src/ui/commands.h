#pragma once

#include "input/action.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class Countdown;
class OutputControl;
class QAbstractButton;
class QAction;
class Show;

// One QAction per operator command. Keys (through the input router), menu entries and buttons
// all trigger that action, so a command cannot behave three ways; what a slide command means
// in the current mode is the show's to decide. A button that stands for a command flashes
// when a key or a menu entry triggers it.
class Commands final : public QObject
{
    Q_OBJECT

public:
    Commands(Show *show, OutputControl *output, Countdown *countdown, QObject *parent);

    QAction *action(Action command) const { return m_actions.value(command); }
    // A click on `button` triggers the command.
    void bindButton(Action command, QAbstractButton *button);
    // `button` only shows that the command happened (it has a click of its own).
    void addFlash(Action command, QAbstractButton *button);
    // A tool bar action of its own (with its own text) that stands for the command.
    void bindAction(Action command, QAction *source);

Q_SIGNALS:
    void overviewRequested();

private:
    void flash(Action command);

    QHash<Action, QAction *> m_actions;
    QHash<Action, QList<QPointer<QAbstractButton>>> m_flashes;
    // What is triggering the command: a bound button's click, or a bound tool bar action.
    QAbstractButton *m_clicked = nullptr;
    QAction *m_source = nullptr;
};
