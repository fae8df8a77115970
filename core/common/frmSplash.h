#pragma once
// The start-up picture: shown first, held for a moment, and closed by its
// timer once the main window has enabled it.

#include <QWidget>

class QTimer;

namespace plax {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();

    // Shows the splash and holds it for holdMs (the program waits).
    void Form_Load();
    // The main window enables the timer; the first tick closes the splash.
    QTimer* Timer1 = nullptr;

    // How long Form_Load holds the picture; tests set 0.
    static int holdMs;
};

} // namespace plax
