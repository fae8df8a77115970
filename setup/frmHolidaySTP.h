#pragma once
// "Setup: Holiday": the company's holidays of one year in a grid; the week
// number follows the date as soon as it is typed.

#include "frmGridScreen.h"

class QComboBox;

namespace plax::setup {

class frmHolidaySTP : public frmGridScreen {
    Q_OBJECT
public:
    explicit frmHolidaySTP(QWidget* parent = nullptr);

    void LoadGridData();
    void cmdLoad_Click();

protected:
    void PrintList(int dest) override;

private:
    QComboBox* cboYear;
};

} // namespace plax::setup
