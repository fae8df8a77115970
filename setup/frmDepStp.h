#pragma once
// "Setup: Department": the departments in a grid, sorted by a clicked
// heading. A department number holds no blank; a department that
// employees still belong to is neither deleted nor renumbered.

#include "frmGridScreen.h"

namespace plax::setup {

class frmDepStp : public frmGridScreen {
    Q_OBJECT
public:
    explicit frmDepStp(QWidget* parent = nullptr);

    void TDBGrid1_HeadClick(int column);

protected:
    void PrintList(int dest) override;

private:
    static bool hasEmployees(const db::Value& no, const db::Value& renamedTo);
};

} // namespace plax::setup
