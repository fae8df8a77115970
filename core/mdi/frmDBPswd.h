#pragma once
// "Setup: Password": sets a new database password or clears the existing
// one. The password lives only in the database file.

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace plax {

class frmDBPswd : public QWidget {
    Q_OBJECT
public:
    frmDBPswd();

    void SetDbPassword();
    void ClearDbPassword();
    void cmdClose_Click();

    QTabWidget* SSTab1 = nullptr;
    QLineEdit* txtOldPWSet = nullptr;
    QLineEdit* txtNewPWSet = nullptr;
    QLineEdit* txtVerifyPWSet = nullptr;
    QPushButton* cmdSet = nullptr;
    QLineEdit* txtOldPswdClear = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Re-keys the file from `oldPassword` to `newPassword` on an exclusive
    // connection; the shared connection is back afterwards. Returns false
    // (after the error box) on a failure.
    bool changePassword(const QString& oldPassword, const QString& newPassword);
    bool centred_ = false;
};

} // namespace plax
