#pragma once
// "Setup: Company": the company name, the database location, wages on the
// weekly report, the rounding unit, the week start day, the day start time
// and the grace period. What saving does lives in CompanySetup; this class
// copies its controls in and out.

#include "CompanySetup.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace plax {
class TimeBox;
}

namespace plax::settings {

class frmSetupCompany : public QWidget {
    Q_OBJECT
  public:
    explicit frmSetupCompany(QWidget* parent = nullptr);

    void cmdZeltoSourceBrowse_Click();
    void cmdSave_Click();
    void cmdClose_Click();

    // The controls' values with their snapshots.
    CompanySetupState state() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void showState(const CompanySetupState& st);

    QLineEdit* txtCompanyName_;
    QPlainTextEdit* txtZeltoDataFile_;
    QPushButton* cmdZeltoSourceBrowse_;
    QCheckBox* chkIncludeWages_;
    QLineEdit* txtRoundTotal_;
    QComboBox* cboWorkWeek_;
    TimeBox* DTPWeekStartTime_;
    QLineEdit* txtGraceP_;
    QPushButton *cmdSave_, *cmdClose_;
    // The snapshots (the controls' Tags) live with the values.
    CompanySetupState tags_;
    bool placed_ = false;
};

} // namespace plax::settings
