#include "frmDBPswd.h"

#include "core/common/Common.h"
#include "core/common/Connection.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace plax {
namespace {

QLineEdit* passwordBox(const char* name) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->setEchoMode(QLineEdit::Password);
    return e;
}

QLabel* note(const QString& text) {
    auto* l = new QLabel(text);
    l->setWordWrap(true);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

frmDBPswd::frmDBPswd() {
    setObjectName(QStringLiteral("frmDBPswd"));
    setWindowTitle(QStringLiteral("Setup: Password"));

    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));

    auto* setPage = new QWidget;
    auto* g = new QGridLayout(setPage);
    txtOldPWSet = passwordBox("txtOldPWSet");
    txtNewPWSet = passwordBox("txtNewPWSet");
    txtVerifyPWSet = passwordBox("txtVerifyPWSet");
    cmdSet = new QPushButton(QStringLiteral("Set"));
    cmdSet->setObjectName(QStringLiteral("cmdSet"));
    g->addWidget(new QLabel(QStringLiteral("Enter existing password:")), 0, 0);
    g->addWidget(txtOldPWSet, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Enter new password:")), 1, 0);
    g->addWidget(txtNewPWSet, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Re-enter new password:")), 2, 0);
    g->addWidget(txtVerifyPWSet, 2, 1);
    g->addWidget(note(QStringLiteral("Make sure you REMEMBER the password you set.  If you lose your password, you "
                                     "can never open the database again.")),
                 3, 0, 1, 2);
    g->setRowStretch(4, 1); // a taller window keeps the note under the boxes
    g->addWidget(cmdSet, 5, 1, Qt::AlignRight);
    SSTab1->addTab(setPage, QStringLiteral("Set"));

    auto* clearPage = new QWidget;
    auto* c = new QGridLayout(clearPage);
    txtOldPswdClear = passwordBox("txtOldPswdClear");
    cmdClear = new QPushButton(QStringLiteral("Clear"));
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    c->addWidget(new QLabel(QStringLiteral("Enter existing password:")), 0, 0);
    c->addWidget(txtOldPswdClear, 0, 1);
    c->addWidget(note(QStringLiteral("Clearing the password will turn the database protection off permenantly "
                                     "until a new password is set.")),
                 1, 0, 1, 2);
    c->setRowStretch(2, 1);
    c->addWidget(cmdClear, 3, 1, Qt::AlignRight);
    SSTab1->addTab(clearPage, QStringLiteral("Clear"));

    cmdClose = new QPushButton(QStringLiteral("Close"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);
    resize(440, 260);

    connect(cmdSet, &QPushButton::clicked, this, &frmDBPswd::SetDbPassword);
    connect(cmdClear, &QPushButton::clicked, this, &frmDBPswd::ClearDbPassword);
    connect(cmdClose, &QPushButton::clicked, this, &frmDBPswd::cmdClose_Click);
}

void frmDBPswd::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!centred_) {
        centred_ = true;
        CenterForm(this);
    }
}

bool frmDBPswd::changePassword(const QString& oldPassword, const QString& newPassword) {
    try {
        CloseDb();
        CompanyDb = db::Database::open(CompanyDbPath, true, false, connectString(oldPassword));
        CompanyDb->newPassword(oldPassword, newPassword);
        CompanyDbPassword = newPassword;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        // Nothing stays exclusive while the screen is open: closing it
        // reopens the database with the password still in force.
        CloseDb();
        return false;
    }
    // Back to a shared connection, so the clock terminal can open the file
    // with the new password while this program runs.
    CloseDb();
    OpenDbIfClosed(CompanyDbPassword);
    return true;
}

void frmDBPswd::SetDbPassword() {
    if (txtNewPWSet->text() != txtVerifyPWSet->text()) {
        ui::Beep();
        ui::MsgBox(QStringLiteral("Invalid New Password Verification, try again."), ui::Buttons::OK,
                   ui::Icon::Exclamation);
        txtVerifyPWSet->setFocus();
        return;
    }
    if (changePassword(txtOldPWSet->text(), txtNewPWSet->text()))
        close();
}

void frmDBPswd::ClearDbPassword() {
    if (changePassword(txtOldPswdClear->text(), QString()))
        close();
}

void frmDBPswd::cmdClose_Click() { close(); }

void frmDBPswd::closeEvent(QCloseEvent* event) {
    // However the screen is closed, the database is open again afterwards.
    OpenDbIfClosed(CompanyDbPassword);
    QWidget::closeEvent(event);
}

} // namespace plax
