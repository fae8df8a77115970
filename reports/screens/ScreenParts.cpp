#include "ScreenParts.h"

#include "core/common/TypedBoxes.h"
#include "core/types/WorkWeek.h"
#include "platform/print/Formula.h"
#include "reports/Reports.h"

#include <QAction>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>

namespace plax::reports {

// A printer: the style offers none, and its save (disk) picture would
// suggest a file rather than paper.
QIcon printerIcon() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(50, 50, 50), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10)); // paper going in
    p.setBrush(QColor(120, 130, 145));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2); // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 20, 16, 9)); // sheet coming out
    p.setPen(QPen(QColor(110, 110, 110), 1));
    p.drawLine(QPointF(11, 23.5), QPointF(21, 23.5));
    p.drawLine(QPointF(11, 26), QPointF(19, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 200, 90));
    p.drawEllipse(QRectF(24, 15, 3, 3)); // power light
    return QIcon(pm);
}

QToolBar* makeReportToolbar(QWidget* parent, const std::function<void(const QString& key)>& clicked) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* key;
        const char* caption;
        const char* tip;
        QStyle::StandardPixmap icon;
    };
    const Button buttons[] = {
        {"Preview", "Preview", "Preview report data", QStyle::SP_FileDialogContentsView},
        {"Print", "Print", "Send report to printer", QStyle::SP_CustomBase},
        {"Close", "Close", "Close this window", QStyle::SP_DialogCloseButton},
    };
    for (const Button& b : buttons) {
        const QIcon icon =
            b.icon == QStyle::SP_CustomBase ? printerIcon() : parent->style()->standardIcon(b.icon);
        QAction* a = bar->addAction(icon, QString::fromUtf8(b.caption));
        const QString key = QString::fromUtf8(b.key);
        a->setObjectName(key);
        a->setData(key);
        a->setToolTip(QString::fromUtf8(b.tip));
        QObject::connect(a, &QAction::triggered, parent,
                         [parent, clicked, key] { runToolbarKey(parent, key, clicked); });
    }
    return bar;
}

NamedFormula payPeriodFormula(CalDate day, const CompanySettings& s) {
    const PayWeek w = PayWeekOf(day, s);
    return {QStringLiteral("Period"), print::formulaLiteral(QStringLiteral("Week %1: %2 to %3")
                                                                .arg(w.number)
                                                                .arg(w.first.toShortDate(), w.lastDay().toShortDate()))};
}

NamedFormula dateRangeFormula(CalDate from, CalDate to) {
    return {QStringLiteral("Period"),
            print::formulaLiteral(QStringLiteral("%1 to %2").arg(from.toShortDate(), to.toShortDate()))};
}

NamedFormula periodFormula(bool dateRange, const DateBox* from, const DateBox* to,
                           const QString& payPeriodText, const CompanySettings& s) {
    return dateRange ? dateRangeFormula(from->date(), to->date())
                     : payPeriodFormula(parseDate(payPeriodText).value_or(CalDate()), s);
}

void printReport(int destination, const QString& reportFile, const QString& selection,
                 std::optional<int> sortChoice, const std::vector<NamedFormula>& formulas) {
    if (!OpenReportEngine())
        return;
    PrintReport(short(destination), reportFile, selection,
                sortChoice ? std::optional<short>(short(*sortChoice)) : std::nullopt, formulas);
}

} // namespace plax::reports
