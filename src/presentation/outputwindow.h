#pragma once

#include "pagecanvas.h"

// The audience's full-screen window. It handles no input itself: keys go through the
// application-wide routing like in any other window. A close by the window system only hides it.
class OutputWindow final : public PageCanvas
{
    Q_OBJECT

public:
    OutputWindow();

Q_SIGNALS:
    void dismissed();

protected:
    void closeEvent(QCloseEvent *event) override;
};
