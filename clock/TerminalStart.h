#pragma once
// Start-up of the clock terminal: the database path from the registry, the
// open without a password, the logon screen for a protected file, the
// one-second splash and then the clock window. Unlike the office program
// the terminal never asks for another database location.

#include "core/common/frmSplash.h"

class QTimer;

namespace plax::clk {

class frmClock;

// The terminal's splash (the picture both programs show): shown for a
// second, then the clock window.
class frmSplash : public SplashPicture {
    Q_OBJECT
public:
    frmSplash();
    // Shows the splash and switches its timer on.
    void Form_Load();
    // The timer's tick: loads and shows the clock window, unloads the splash.
    void Timer1_Timer();
    QTimer* Timer1 = nullptr;
};

// The start procedure. Returns with the splash or the logon screen shown,
// or with the program ended (EndProgram) after a start-up error box.
void Main();

// The clock window once the splash has shown it, or nullptr.
frmClock* clockWindow();

} // namespace plax::clk
