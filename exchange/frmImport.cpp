#include "frmImport.h"

#include "FieldPicker.h"
#include "FieldTable.h"
#include "Import.h"
#include "core/common/Common.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace plax::exchange {

frmImport::frmImport(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import data from file"));

    picker_ = new FieldPicker(QStringLiteral("Fields available"), QStringLiteral("Fields in the file, in order"), this);
    TxtFileName_ = new QLineEdit(this);
    TxtFileName_->setObjectName(QStringLiteral("TxtFileName"));
    cmdFind_ = new QPushButton(QStringLiteral("..."), this);
    cmdFind_->setObjectName(QStringLiteral("cmdFind"));
    SSCImport_ = new QPushButton(QStringLiteral("Import"), this);
    SSCImport_->setObjectName(QStringLiteral("SSCImport"));
    cmdClose_ = new QPushButton(QStringLiteral("Close"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("File:"), this));
    fileRow->addWidget(TxtFileName_, 1);
    fileRow->addWidget(cmdFind_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SSCImport_);
    buttons->addWidget(cmdClose_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picker_);
    layout->addLayout(fileRow);
    layout->addLayout(buttons);

    connect(cmdFind_, &QPushButton::clicked, this, &frmImport::cmdFind_Click);
    connect(SSCImport_, &QPushButton::clicked, this, &frmImport::SSCImport_Click);
    connect(cmdClose_, &QPushButton::clicked, this, &QWidget::close);

    LoadFieldList();
}

void frmImport::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        // Form_Load: centred, its top 100 twips below the top, once its size
        // and frame are known.
        placeForm(this, 100);
    }
}

void frmImport::LoadFieldList() {
    picker_->LoadFieldList(importCaptions());
    captions_ = itemTexts(picker_->lstAvailable());
}

void frmImport::cmdFind_Click() {
    ui::FileRequest& dlg = OpenFileDlg();
    dlg.save = false;
    dlg.fileName.clear();
    dlg.initialDir = AppPath + QStringLiteral("Data");
    dlg.filter = QStringLiteral("Text Files (*.txt)|*.TXT| Log Files (*.log)|*.LOG");
    dlg.filterIndex = 1;
    dlg.mustExist = false;
    TxtFileName_->setText(ui::ShowFileDialog(dlg));
}

void frmImport::SSCImport_Click() {
    // The file's columns: each chosen caption's code, until a text that is
    // no caption.
    const QList<int> codes = codesOf(picker_->chosen(), captions_);
    try {
        ImportPersonnel(companyDb(), TxtFileName_->text(), codes);
    } catch (const std::exception& e) {
        ui::MsgBox(QString::fromStdString(e.what()), ui::Buttons::OK, ui::Icon::Information);
    }
}

} // namespace plax::exchange
