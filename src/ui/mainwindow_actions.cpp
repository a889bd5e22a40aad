#include "mainwindow.h"

#include "input/inputdialog.h"
#include "input/inputrouter.h"
#include "pdf/pdfservice.h"
#include "presentation/outputcontrol.h"
#include "presentation/outputwindow.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "reader/scrollview.h"
#include "reader/searchdialog.h"
#include "timer/countdown.h"
#include "ui/buttons.h"
#include "ui/setupdialog.h"

#include <QPushButton>

void MainWindow::handleAction(Action action)
{
    switch (action) {
    case Action::NextSlide:
        flashButton(m_nextButton);
        flashButton(m_nextPageButton);
        step(1);
        break;
    case Action::PreviousSlide:
        flashButton(m_previousButton);
        flashButton(m_previousPageButton);
        step(-1);
        break;
    case Action::FirstSlide:
        goToEdge(false);
        break;
    case Action::LastSlide:
        goToEdge(true);
        break;
    case Action::NextReaderPage:
        flashButton(m_nextPageButton);
        m_reader->showReaderPage(m_reader->currentPage() + 1, true);
        break;
    case Action::PreviousReaderPage:
        flashButton(m_previousPageButton);
        m_reader->showReaderPage(m_reader->currentPage() - 1, true);
        break;
    case Action::ToggleBlackout:
        flashButton(m_blackoutButton);
        flashButton(m_readerBlackout);
        m_outputControl->toggleBlackout();
        break;
    case Action::ExitPresentation:
        flashButton(m_outputHeaderButton);
        m_outputControl->closeOutput();
        break;
    case Action::ToggleTimer:
    case Action::ResetTimer:
    case Action::TimerPlusMinute:
    case Action::TimerMinusMinute:
    case Action::TimerPlusTenSeconds:
    case Action::TimerMinusTenSeconds:
        timerAction(action);
        break;
    default:
        break;
    }
}

void MainWindow::step(int direction)
{
    const bool forward = direction > 0;
    const auto advance = [this, forward] {
        if (forward)
            m_outputControl->presentationNext();
        else
            m_outputControl->presentationPrevious();
    };
    const bool outputShown = m_output->isVisible();
    if (presenterMode() || (!m_reader->scrollMode() && outputShown)) {
        advance();
    } else if (!m_reader->scrollMode()) {
        m_reader->showReaderPage(m_reader->currentPage() + direction);
    } else if (outputShown && !m_fromArrowKey && (forward ? m_reader->scrollAtEnd() : m_reader->scrollAtTop())) {
        // At the edge of the scroll the audience's page goes on, into the next or previous file.
        const int edge = forward ? m_pdf->pageCount() - 1 : 0;
        if (m_presentation->livePage() != edge)
            m_presentation->goToPage(edge);
        advance();
    } else if (m_fromArrowKey) {
        m_reader->scrollView()->stepLines(direction);
    } else {
        m_reader->scrollView()->stepScreen(direction);
    }
}

void MainWindow::goToEdge(bool last)
{
    const int target = last ? m_pdf->pageCount() - 1 : 0;
    if (presenterMode())
        m_presentation->goToPage(target);
    else if (m_reader->scrollMode())
        m_reader->scrollView()->scrollToEdge(last, true);
    else
        m_reader->showReaderPage(target);
}

void MainWindow::timerAction(Action action)
{
    const auto flash = [this](const char *name) { flashButton(findChild<QWidget *>(QString::fromLatin1(name))); };
    const int seconds = m_countdown->durationSeconds();
    switch (action) {
    case Action::ToggleTimer:
        flash("timerStart");
        m_countdown->toggleTimer();
        break;
    case Action::ResetTimer:
        flash("timerReset");
        m_countdown->resetTimer();
        break;
    case Action::TimerPlusMinute:
        flash("timerUp");
        m_countdown->setTimerSeconds(seconds + 60);
        break;
    case Action::TimerMinusMinute:
        flash("timerDown");
        m_countdown->setTimerSeconds(seconds - 60);
        break;
    case Action::TimerPlusTenSeconds:
        m_countdown->setTimerSeconds(seconds + 10);
        break;
    case Action::TimerMinusTenSeconds:
        m_countdown->setTimerSeconds(seconds - 10);
        break;
    default:
        break;
    }
}

void MainWindow::showInputDialog()
{
    InputDialog::run(m_router, *m_settings, this);
}

void MainWindow::showSetupDialog()
{
    m_setup->show();
    m_setup->raise();
    m_setup->activateWindow();
}

void MainWindow::showSearchDialog()
{
    m_search->activateSearch();
}
