#pragma once
// The database password prompt shown at start-up when the company
// database is protected. Both programs use it; each gives its own OK
// action. Enter in the password box is OK; Cancel ends the program.

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace plax {

class frmLogon : public QWidget {
    Q_OBJECT
public:
    // The OK action gets the screen; it closes the screen when it is done.
    using OkAction = std::function<void(frmLogon&)>;

    explicit frmLogon(OkAction ok, QWidget* parent = nullptr);

    // The office program's OK: opens the company database with the typed
    // password; on success notes the password (CompanyDbPassword), runs
    // `next` (shows the main window) and closes the screen. A wrong
    // password shows the error box and the screen stays.
    static OkAction openCompanyDatabase(std::function<void()> next);

    QString password() const;
    // Closes the screen after a successful OK (the program goes on).
    void accept();
    void cmdOK_Click();
    void cmdCancel_Click();

    QLabel* lblPassword = nullptr;
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape is Cancel.
    void keyPressEvent(QKeyEvent* event) override;
    // Closing the window any other way than through OK is Cancel.
    void closeEvent(QCloseEvent* event) override;

private:
    OkAction ok_;
    bool done_ = false;
};

} // namespace plax
