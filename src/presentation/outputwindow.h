#pragma once

#include "pagecanvas.h"

// The audience's window: full screen on a display, or a normal window that meeting software
// can share. It handles no input itself: keys go through the application-wide routing like in
// any other window. A close by the window system only hides it.
class OutputWindow final : public PageCanvas
{
    Q_OBJECT

public:
    OutputWindow();

    // A normal window has a title meeting software can pick and the usual mouse pointer; the
    // full-screen output hides the pointer.
    void setWindowed(bool windowed);
    bool windowed() const { return m_windowed; }

Q_SIGNALS:
    void dismissed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_windowed = false;
};
