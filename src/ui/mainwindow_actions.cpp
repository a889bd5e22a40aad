#include "mainwindow.h"

#include "base/appsettings.h"
#include "input/inputdialog.h"
#include "presentation/outputcontrol.h"
#include "reader/searchdialog.h"
#include "ui/setupdialog.h"

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

void MainWindow::choosePlacement(bool windowed)
{
    m_settings->setOutputWindowed(windowed);
    m_setup->showPlacement(windowed);
    m_outputControl->placementChosen();
    showOutputState();
}
