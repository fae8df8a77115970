#pragma once
// The start-up pictures. Both programs show the same framed title; what
// happens after it (the office program holds it while it opens the
// database, the terminal shows its clock window on the timer's tick) is the
// business of each program's own splash class.

#include <QWidget>

class QTimer;

namespace plax {

// The picture itself: a frameless splash window (object name "frmSplash")
// with the title large and bold in a box and an optional line below it.
// It deletes itself when closed.
class SplashPicture : public QWidget {
    Q_OBJECT
public:
    SplashPicture(const QString& title, const QString& subtitle, QSize size);
};

// The office program's splash: shown first, held for a moment, and closed
// by its timer once the main window has enabled it.
class frmSplash : public SplashPicture {
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
