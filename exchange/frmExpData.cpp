#include "frmExpData.h"

#include "Export.h"
#include "FieldPicker.h"
#include "FieldTable.h"
#include "core/common/Common.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace plax::exchange {
namespace {

QRadioButton* option(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QRadioButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

frmExpData::frmExpData(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmExpData"));
    setWindowTitle(QStringLiteral("Export Personal Data"));

    picker_ = new FieldPicker(QStringLiteral("Fields available to export"), QStringLiteral("Fields to export in order"),
                              this);
    auto* frame = new QGroupBox(QStringLiteral("Export Options"), this);
    Option1_ = option(frame, "Option1", "Export All Employees");
    Option2_ = option(frame, "Option2", "Export Active Employees");
    Option3_ = option(frame, "Option3", "Export Inactive Employees");
    auto* fl = new QVBoxLayout(frame);
    fl->addWidget(Option1_);
    fl->addWidget(Option2_);
    fl->addWidget(Option3_);
    Option1_->setChecked(true);

    SSCExport_ = new QPushButton(QStringLiteral("Export"), this);
    SSCExport_->setObjectName(QStringLiteral("SSCExport"));
    cmdClose_ = new QPushButton(QStringLiteral("Close"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(frame);
    buttons->addStretch();
    auto* right = new QVBoxLayout;
    right->addStretch();
    right->addWidget(SSCExport_);
    right->addWidget(cmdClose_);
    buttons->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picker_);
    layout->addLayout(buttons);

    connect(SSCExport_, &QPushButton::clicked, this, &frmExpData::SSCExport_Click);
    connect(cmdClose_, &QPushButton::clicked, this, &QWidget::close);

    LoadFieldList();
}

void frmExpData::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        // Form_Load: centred once its size and frame are known.
        CenterForm(this);
    }
}

void frmExpData::LoadFieldList() {
    picker_->LoadFieldList(exportCaptions());
    captions_ = itemTexts(picker_->lstAvailable());
}

void frmExpData::SSCExport_Click() {
    const QList<int> codes = codesOf(picker_->chosen(), captions_);
    const StatusChoice which = Option2_->isChecked()   ? StatusChoice::Active
                               : Option3_->isChecked() ? StatusChoice::Inactive
                                                       : StatusChoice::All;
    try {
        ExportPersonnel(companyDb(), codes, which);
    } catch (const std::exception& e) {
        ui::MsgBox(QString::fromStdString(e.what()), ui::Buttons::OK, ui::Icon::Information);
    }
}

} // namespace plax::exchange
