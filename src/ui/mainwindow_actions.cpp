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
    m_setup->show();
    m_setup->raise();
    m_setup->activateWindow();
}

void MainWindow::showOverview()
{
    if (!m_show->hasPages())
        return;
    const bool audience = m_show->presenting() || m_show->outputShown();
    m_mainStack->setCurrentWidget(m_overview);
    // The keys must reach the grid, also when they came while the output window was active.
    activateWindow();
    m_overview->start(audience ? m_presentation->shownPage() : m_reader->currentPage());
}

void MainWindow::showSearchDialog()
{
    searchDialog()->activateSearch();
}

void MainWindow::choosePlacement(bool windowed)
{
    m_settings->setOutputWindowed(windowed);
    m_setup->showPlacement(windowed);
    m_outputControl->placementChosen();
    showOutputState();
}
