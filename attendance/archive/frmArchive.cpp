#include "frmArchive.h"

#include "ArchiveCommands.h"
#include "FormPlacement.h"
#include "attendance/WeekList.h"
#include "core/common/Globals.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace plax::archive {

frmArchive::frmArchive(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmArchive"));
    setWindowTitle(QStringLiteral("Archive"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* label = new QLabel(QStringLiteral("Select the week to archive:"), this);
    label->setObjectName(QStringLiteral("Label3"));
    lstWeek_ = new QListWidget(this);
    lstWeek_->setObjectName(QStringLiteral("lstWeek"));
    cmdArchive_ = new QPushButton(QStringLiteral("Archive"), this);
    cmdArchive_->setObjectName(QStringLiteral("cmdArchive"));
    cmdClose_ = new QPushButton(QStringLiteral("Close"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdArchive_);
    buttons->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lstWeek_);
    layout->addLayout(buttons);
    resize(300, 280);

    connect(cmdArchive_, &QPushButton::clicked, this, &frmArchive::cmdArchive_Click);
    connect(cmdClose_, &QPushButton::clicked, this, &frmArchive::cmdClose_Click);

    LoadWeekList(lstWeek_);
}

void frmArchive::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 100);
    }
}

void frmArchive::cmdArchive_Click() {
    QListWidgetItem* item = lstWeek_->currentItem();
    const QString entry = item && item->isSelected() ? item->text() : QString();
    if (ArchiveSelectedWeek(CompanyDb.get(), Company, AppPath, entry))
        delete lstWeek_->takeItem(lstWeek_->row(item));
}

void frmArchive::cmdClose_Click() { closeForm(this); }

} // namespace plax::archive
