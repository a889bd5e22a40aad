#include "mainwindow.h"

#include "base/appsettings.h"
#include "input/inputdialog.h"
#include "presentation/outputcontrol.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "reader/searchdialog.h"
#include "ui/overviewpage.h"
#include "ui/setupdialog.h"

#include <QStackedWidget>

void MainWindow::showInputDialog()
{
    InputDialog::run(m_router, *m_settings, this);
}

void MainWindow::showSetupDialog()
{
    SetupDialog *setup = setupDialog();
    setup->show();
    setup->raise();
    setup->activateWindow();
}

void MainWindow::showOverview()
{
    if (!m_show->hasPages())
        return;
    const bool audience = m_show->presenting() || m_show->outputShown();
    OverviewPage *grid = overview();
    m_mainStack->setCurrentWidget(grid);
    // The keys must reach the grid, also when they came while the output window was active.
    activateWindow();
    grid->start(audience ? m_presentation->shownPage() : m_reader->currentPage());
}

void MainWindow::showSearchDialog()
{
    searchDialog()->activateSearch();
}

void MainWindow::choosePlacement(bool windowed)
{
    m_settings->setOutputWindowed(windowed);
    if (m_setup)
        m_setup->showPlacement(windowed);
    m_outputControl->placementChosen();
    showOutputState();
}
