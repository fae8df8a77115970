#include "PageRenderer.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace plax::print {

void paintPage(QPainter& p, const Document& doc, int index, double scale) {
    if (index < 0 || index >= int(doc.pages.size()))
        return;
    p.save();
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // Shading first, so rules and texts lie on top of it.
    for (const PageItem& it : doc.pages[size_t(index)].items)
        if (it.kind == PageItem::Kind::Shade)
            p.fillRect(it.rect, QColor(0xEE, 0xEF, 0xF2));
    for (const PageItem& it : doc.pages[size_t(index)].items) {
        switch (it.kind) {
        case PageItem::Kind::Shade:
            break;
        case PageItem::Kind::Rule:
            if (it.rect.height() > it.rect.width())
                p.fillRect(QRectF(it.rect.left(), it.rect.top(), it.ruleWidth, it.rect.height()), QColor(0x30, 0x30, 0x30));
            else
                p.fillRect(QRectF(it.rect.left(), it.rect.top(), it.rect.width(), it.ruleWidth), QColor(0x30, 0x30, 0x30));
            break;
        case PageItem::Kind::Box:
            p.setPen(QPen(QColor(0xB8, 0xBB, 0xC2), it.ruleWidth));
            p.setBrush(Qt::NoBrush);
            p.drawRect(it.rect);
            break;
        case PageItem::Kind::Text:
            p.setPen(Qt::black);
            p.setFont(fontFor(it.role, it.points > 0 ? it.points : doc.bodyPoints));
            p.drawText(it.rect, int(it.align | Qt::AlignVCenter) | Qt::TextSingleLine, it.text);
            break;
        }
    }
    p.restore();
}

std::vector<int> pagesToPrint(const Document& doc, int first, int last, int copies) {
    const int n = int(doc.pages.size());
    const int from = first <= 0 ? 1 : first;
    const int to = last <= 0 || last > n ? n : last;
    std::vector<int> out;
    for (int c = 0; c < std::max(1, copies); ++c)
        for (int i = from; i <= to; ++i)
            out.push_back(i - 1);
    return out;
}

namespace {
QPageLayout layoutOf(const Document& doc) {
    const bool landscape = doc.width > doc.height;
    const QSizeF inches(std::min(doc.width, doc.height) / kTwipsPerInch, std::max(doc.width, doc.height) / kTwipsPerInch);
    return QPageLayout(QPageSize(inches, QPageSize::Inch), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

bool paintAll(const Document& doc, QPagedPaintDevice& device, int dpi, const std::vector<int>& pages, QString* error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QStringLiteral("The output device could not be opened.");
        return false;
    }
    bool first = true;
    for (int i : pages) {
        if (!first)
            device.newPage();
        first = false;
        paintPage(painter, doc, i, dpi / kTwipsPerInch);
    }
    return painter.end();
}
} // namespace

bool writePdf(const Document& doc, const QString& path, const std::vector<int>& pages, QString* error) {
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageLayout(layoutOf(doc));
    writer.setCreator(QStringLiteral("PLAX"));
    if (!paintAll(doc, writer, writer.resolution(), pages, error))
        return false;
    if (!QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("The file %1 could not be written.").arg(path);
        return false;
    }
    return true;
}

bool printPages(const Document& doc, QPrinter& printer, const std::vector<int>& pages, QString* error) {
    printer.setFullPage(true);
    printer.setPageLayout(layoutOf(doc));
    return paintAll(doc, printer, printer.resolution(), pages, error);
}

} // namespace plax::print
