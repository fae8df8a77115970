#include "frmUnarchive.h"

#include "ArchiveCommands.h"
#include "FormPlacement.h"
#include "WeekArchive.h"
#include "core/common/Globals.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace plax::archive {

frmUnarchive::frmUnarchive(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmUnarchive"));
    setWindowTitle(QStringLiteral("Unarchive"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* label = new QLabel(QStringLiteral("Select week to unarchive"), this);
    label->setObjectName(QStringLiteral("Label3"));
    lstWeek_ = new QListWidget(this);
    lstWeek_->setObjectName(QStringLiteral("lstWeek"));
    cmdUnArchive_ = new QPushButton(QStringLiteral("Undo"), this);
    cmdUnArchive_->setObjectName(QStringLiteral("cmdUnArchive"));
    cmdClose_ = new QPushButton(QStringLiteral("Close"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdUnArchive_);
    buttons->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lstWeek_);
    layout->addLayout(buttons);
    resize(300, 280);

    connect(cmdUnArchive_, &QPushButton::clicked, this, &frmUnarchive::cmdUnArchive_Click);
    connect(cmdClose_, &QPushButton::clicked, this, &frmUnarchive::cmdClose_Click);

    ListArchives();
}

void frmUnarchive::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 100);
    }
}

void frmUnarchive::ListArchives() {
    lstWeek_->clear();
    lstWeek_->addItems(archiveEntries(AppPath, Company));
}

void frmUnarchive::cmdUnArchive_Click() {
    QListWidgetItem* item = lstWeek_->currentItem();
    const QString entry = item && item->isSelected() ? item->text() : QString();
    if (UnarchiveSelectedWeek(CompanyDb.get(), Company, AppPath, entry))
        delete lstWeek_->takeItem(lstWeek_->row(item));
}

void frmUnarchive::cmdClose_Click() { closeForm(this); }

} // namespace plax::archive
