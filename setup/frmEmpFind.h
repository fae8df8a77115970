#pragma once
// "Search: Employee Record": finds employees of the status the employee
// screen shows and hands the chosen ID back in its tag().

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace plax::setup {

class frmEmpFind : public QDialog {
    Q_OBJECT
public:
    // `statusTag` is the employee screen's tag: "True" or "False".
    explicit frmEmpFind(const QString& statusTag, QWidget* parent = nullptr);

    // The chosen ID; empty while nothing was chosen.
    const QString& tag() const { return tag_; }

    void cmdBrowse_Click();
    void lstEmp_DblClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString statusTag_;
    QString tag_;
    QComboBox *cboSearchBy_, *cboSortBy_;
    QLineEdit* txtValue_;
    QPushButton* cmdBrowse_;
    QListWidget* lstEmp_;
    QLabel* lblRec_;
    bool placed_ = false;
};

} // namespace plax::setup
