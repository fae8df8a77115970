#include "frmSetupMessages.h"

#include "reports/screens/ScreenParts.h"

namespace plax::setup {

frmSetupMessages::frmSetupMessages(QWidget* parent)
    : frmGridScreen(QStringLiteral("frmSetupMessages"), QStringLiteral("Setup: Message"),
                    {{"Refresh", "Refresh", "Refresh messages"},
                     {"Preview", "View", "Preview messages listing"},
                     {"Print", "Print", "Print messages listing"},
                     {"Close", "Close", "Close this window"}},
                    {QStringLiteral("- The data you have entered is too long for the field."),
                     QStringLiteral("- The data you have entered does not match the type of the field."),
                     QStringLiteral("- A record exists with the same Message#.")},
                    false, parent) {
    load([this] {
        makeModel(QStringLiteral("Messages"),
                  {{QStringLiteral("MessageNo"), QStringLiteral("Message#"), GridColumn::Kind::Text, 900},
                   {QStringLiteral("Message"), QStringLiteral("Message")}});
        LoadGridData();
        SetGridColumns();
    });
}

void frmSetupMessages::LoadGridData() { model_->open(QString(), {}, QString()); }

void frmSetupMessages::PrintList(int dest) { reports::printReport(dest, QStringLiteral("Messages.rpt"), QString()); }

} // namespace plax::setup
