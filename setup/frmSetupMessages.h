#pragma once
// "Setup: Message": the personal messages the clock terminal shows after
// a punch, in a grid.

#include "frmGridScreen.h"

namespace plax::setup {

class frmSetupMessages : public frmGridScreen {
    Q_OBJECT
public:
    explicit frmSetupMessages(QWidget* parent = nullptr);

    void LoadGridData();

protected:
    void PrintList(int dest) override;
};

} // namespace plax::setup
