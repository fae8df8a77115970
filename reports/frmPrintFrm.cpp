#include "frmPrintFrm.h"

#include "Reports.h"

#include "core/common/Common.h"
#include "platform/ui/Dialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <cmath>
#include <cstring>

namespace plax::reports {

using namespace print;

frmPrintFrm::frmPrintFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPrintFrm"));
    setWindowTitle(QStringLiteral("Print To Printer"));
    setModal(true);

    auto* frame1 = new QGroupBox(QStringLiteral("Printer"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    cboPrtName = new QComboBox(frame1);
    cboPrtName->setObjectName(QStringLiteral("cboPrtName"));
    cboPrtDriver = new QComboBox(frame1);
    cboPrtDriver->setObjectName(QStringLiteral("cboPrtDriver"));
    cboPrtPort = new QComboBox(frame1);
    cboPrtPort->setObjectName(QStringLiteral("cboPrtPort"));
    for (QComboBox* c : {cboPrtName, cboPrtDriver, cboPrtPort})
        c->setMinimumWidth(260);
    auto* f1 = new QFormLayout(frame1);
    f1->addRow(QStringLiteral("Name:"), cboPrtName);
    f1->addRow(QStringLiteral("Driver:"), cboPrtDriver);
    f1->addRow(QStringLiteral("Port:"), cboPrtPort);

    auto* frame3 = new QGroupBox(QStringLiteral("Range/Copies"), this);
    frame3->setObjectName(QStringLiteral("Frame3D1"));
    StartPage = new QLineEdit(frame3);
    StartPage->setObjectName(QStringLiteral("StartPage"));
    EndPage = new QLineEdit(frame3);
    EndPage->setObjectName(QStringLiteral("EndPage"));
    Copies = new QLineEdit(frame3);
    Copies->setObjectName(QStringLiteral("Copies"));
    for (QLineEdit* e : {StartPage, EndPage, Copies})
        e->setMaximumWidth(80);
    auto* f3 = new QFormLayout(frame3);
    f3->addRow(QStringLiteral("Starting Page:"), StartPage);
    f3->addRow(QStringLiteral("Ending Page:"), EndPage);
    f3->addRow(QStringLiteral("Number of Report Copies:"), Copies);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* v = new QVBoxLayout(this);
    v->addWidget(frame1);
    v->addWidget(frame3);
    v->addLayout(buttons);

    connect(cboPrtName, &QComboBox::currentIndexChanged, this, &frmPrintFrm::cboPrtName_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmPrintFrm::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrintFrm::cmdCancel_Click);

    Form_Load();
}

void frmPrintFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        CenterForm(this);
    }
}

void frmPrintFrm::LoadPrinterList() {
    cboPrtName->addItem(QStringLiteral("Use Default Printer"));
    cboPrtDriver->addItem(QString());
    cboPrtPort->addItem(QString());
    for (const QPrinterInfo& p : QPrinterInfo::availablePrinters()) {
        cboPrtName->addItem(p.printerName());
        cboPrtDriver->addItem(p.makeAndModel());
        cboPrtPort->addItem(p.location());
    }
    // Nothing is selected until the job's printer is found.
    for (QComboBox* c : {cboPrtName, cboPrtDriver, cboPrtPort})
        c->setCurrentIndex(-1);
}

void frmPrintFrm::cboPrtName_Click(int index) {
    cboPrtDriver->setCurrentIndex(index);
    cboPrtPort->setCurrentIndex(index);
}

void frmPrintFrm::ShowSelectedPrinter() {
    QString name = PrinterName;
    if (name.endsWith(QChar(0)))
        name.chop(1);
    for (int i = 0; i < cboPrtName->count(); ++i)
        if (cboPrtName->itemText(i) == name) {
            cboPrtName->setCurrentIndex(i);
            return;
        }
}

void frmPrintFrm::Form_Load() {
    LoadPrinterList();

    PEHandle driver = 0, printer = 0, port = 0;
    short driverLen = 0, printerLen = 0, portLen = 0;
    void* devMode = nullptr;
    if (!PEGetSelectedPrinter(ReportJob, &driver, &driverLen, &printer, &printerLen, &port, &portLen, &devMode)) {
        ShowReportError(ReportJob);
        return;
    }
    if (driver == 0) {
        cboPrtName->setCurrentIndex(0);
    } else {
        QString texts[3];
        const PEHandle handles[3] = {driver, printer, port};
        const short lengths[3] = {driverLen, printerLen, portLen};
        for (int i = 0; i < 3; ++i) {
            QByteArray buffer(qsizetype(std::max<short>(lengths[i], 1)), ' ');
            if (!PEGetHandleString(handles[i], buffer.data(), short(buffer.size()))) {
                ShowReportError(ReportJob);
                return;
            }
            texts[i] = QString::fromLatin1(buffer.constData(), qstrnlen(buffer.constData(), size_t(buffer.size())));
        }
        DriverName = texts[0];
        PrinterName = texts[1];
        PortName = texts[2];
        ShowSelectedPrinter();
    }
    ReportPrintOptions options;
    std::memset(static_cast<void*>(&options), 0, sizeof options);
    options.StructSize = sizeof(ReportPrintOptions);
    if (!PEGetPrintOptions(ReportJob, &options)) {
        ShowReportError(ReportJob);
        return;
    }
    Copies->setText(QString::number(int(options.NReportCopies)));
    StartPage->clear();
    EndPage->clear();
    PrinterName = cboPrtName->currentText();
    PortName = cboPrtPort->currentText();
    DriverName = cboPrtDriver->currentText();
}

double frmPrintFrm::numericValue(const QString& text) {
    static const QRegularExpression lead(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)"));
    const auto m = lead.match(text);
    if (!m.hasMatch())
        return 0;
    return std::nearbyint(m.captured(0).trimmed().toDouble());
}

void frmPrintFrm::cmdOK_Click() {
    // The record holds 16-bit numbers: a larger one is refused here
    // instead of reaching the engine as a wrapped-around value.
    const struct {
        QLineEdit* box;
        const char* label;
    } boxes[] = {{StartPage, "Starting Page:"}, {EndPage, "Ending Page:"}, {Copies, "Number of Report Copies:"}};
    for (const auto& b : boxes)
        if (std::fabs(numericValue(b.box->text())) > 32767) {
            ui::MsgBox(QStringLiteral("The number in \"%1\" is too large (at most 32767).").arg(QLatin1String(b.label)),
                       ui::Buttons::OK, ui::Icon::Exclamation);
            return;
        }
    const ReportPrintOptions options = makePrintOptions(int(numericValue(StartPage->text())),
                                                       int(numericValue(EndPage->text())),
                                                       int(numericValue(Copies->text())));
    if (!PESetPrintOptions(ReportJob, &options)) {
        ShowReportError(ReportJob);
        return;
    }
    if (!PEOutputToPrinter(ReportJob, short(numericValue(Copies->text())))) {
        ShowReportError(ReportJob);
        return;
    }
    if (!PEStartPrintJob(ReportJob, 1)) {
        ShowReportError(ReportJob);
        return;
    }
    ShowReportJobStatus(ReportJob);
    accept();
}

void frmPrintFrm::cmdCancel_Click() { reject(); }

} // namespace plax::reports
