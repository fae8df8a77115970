#pragma once
// "Unarchive": lists the week archive files and brings a week back.

#include "WeekPickForm.h"

namespace plax::archive {

class frmUnarchive : public WeekPickForm {
    Q_OBJECT
public:
    explicit frmUnarchive(QWidget* parent = nullptr);

    void ListArchives();
    void cmdUnArchive_Click();
};

} // namespace plax::archive
