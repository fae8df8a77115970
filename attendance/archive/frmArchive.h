#pragma once
// "Archive": moves a chosen work week into a week archive file.

#include "WeekPickForm.h"

namespace plax::archive {

class frmArchive : public WeekPickForm {
    Q_OBJECT
public:
    explicit frmArchive(QWidget* parent = nullptr);

    void cmdArchive_Click();
};

} // namespace plax::archive
