#include "frmEmpFind.h"

#include "EmployeeSearch.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace plax::setup {

frmEmpFind::frmEmpFind(const QString& statusTag, QWidget* parent) : QDialog(parent), statusTag_(statusTag) {
    setObjectName(QStringLiteral("frmEmpFind"));
    setWindowTitle(QStringLiteral("Search: Employee Record"));
    cboSearchBy_ = new QComboBox(this);
    cboSearchBy_->setObjectName(QStringLiteral("cboSearchBy"));
    txtValue_ = new QLineEdit(this);
    txtValue_->setObjectName(QStringLiteral("txtValue"));
    txtValue_->setMaxLength(15);
    cboSortBy_ = new QComboBox(this);
    cboSortBy_->setObjectName(QStringLiteral("cboSortBy"));
    cmdBrowse_ = new QPushButton(QStringLiteral("&Search"), this);
    cmdBrowse_->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse_->setAutoDefault(false);
    lstEmp_ = new QListWidget(this);
    lstEmp_->setObjectName(QStringLiteral("lstEmp"));
    lblRec_ = new QLabel(this);
    lblRec_->setObjectName(QStringLiteral("lblRec"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Search By:"), this), 0, 0);
    grid->addWidget(cboSearchBy_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Search Value:"), this), 1, 0);
    grid->addWidget(txtValue_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Sort By:"), this), 2, 0);
    grid->addWidget(cboSortBy_, 2, 1);
    grid->addWidget(cmdBrowse_, 2, 2);
    grid->addWidget(lstEmp_, 3, 0, 1, 3);
    grid->addWidget(lblRec_, 4, 0, 1, 3);
    resize(420, 360);

    connect(cmdBrowse_, &QPushButton::clicked, this, &frmEmpFind::cmdBrowse_Click);
    // A double click anywhere in the list, on an entry or not (an empty list
    // included), ends the search with the entry chosen, if any.
    lstEmp_->viewport()->installEventFilter(this);

    // Form_Load
    cboSortBy_->addItems({QStringLiteral("ID#"), QStringLiteral("Last Name"), QStringLiteral("First Name")});
    cboSearchBy_->addItems(
        {QStringLiteral("ID#"), QStringLiteral("SSN"), QStringLiteral("Last Name"), QStringLiteral("First Name")});
    cboSortBy_->setCurrentIndex(0);
    cboSearchBy_->setCurrentIndex(0);
}

void frmEmpFind::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 700);
    }
}

void frmEmpFind::cmdBrowse_Click() {
    lblRec_->clear();
    ui::WaitCursor wait;
    try {
        const auto matches = searchEmployees(companyDb(), statusTag_ == QLatin1String("True"),
                                             cboSearchBy_->currentIndex(), txtValue_->text(),
                                             cboSortBy_->currentIndex());
        lstEmp_->clear();
        for (const EmployeeMatch& m : matches) {
            auto* item = new QListWidgetItem(m.entry, lstEmp_);
            // The ID travels with the entry, so an ID with a blank comes back whole.
            item->setData(Qt::UserRole, m.id);
        }
        lblRec_->setText(QStringLiteral("Total records = %1").arg(matches.size()));
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

bool frmEmpFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstEmp_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        lstEmp_DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmEmpFind::lstEmp_DblClick() {
    if (QListWidgetItem* item = lstEmp_->currentItem(); item && item->isSelected())
        tag_ = item->data(Qt::UserRole).toString();
    hide();
    if (isModal())
        done(QDialog::Accepted);
}

} // namespace plax::setup
