#pragma once
// "Clock Configuration": how employees identify themselves at the clock
// terminal, the badge reader's serial parameters and timing, and whether
// the terminal shows its punch list. What is read and written lives in
// ClockCommSettings.

#include "ClockCommSettings.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace plax::settings {

class frmCommParm : public QWidget {
    Q_OBJECT
  public:
    explicit frmCommParm(QWidget* parent = nullptr);

    void optClkType_Click(int index);
    void EnableCommCtr(bool enabled);
    void cmdSave_Click();
    void cmdClose_Click();

    // The controls as Save reads them.
    CommChoice choice() const;
    const CommValues& stored() const { return stored_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Form_Load();
    void LoadClockSettings();
    void LoadPropertySettings();

    QButtonGroup* optClkType_;
    QComboBox *cboPort_, *cboSpeed_, *cboDataBits_, *cboParity_, *cboStopBits_, *cboMachineSpeed_;
    QLineEdit* mskPollingDelay_;
    QCheckBox* chkInOutLst_;
    QPushButton *cmdSave_, *cmdClose_;
    CommValues stored_;
    int entryType_ = 0;
    bool placed_ = false;
};

} // namespace plax::settings
