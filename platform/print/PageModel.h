#pragma once
// A laid-out report: pages of positioned texts, rules and shaded bands,
// in twips (1/1440 inch) from the top-left corner of the paper. The same
// pages are painted on screen, into a PDF file and on a printer, and tests
// read them directly.

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

namespace plax::print {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerMm = kTwipsPerInch / 25.4;
// The paper (US Letter, portrait) and the margin kept on every side.
constexpr double kPaperWidth = 12240, kPaperHeight = 15840, kPageMargin = 720;

enum class FontRole { Body, Bold, Heading, Group, Title, Company, Small, Italic };

// The font of a role for a body size in points. Sizes are pixel sizes in
// twips, so text measures the same on every device.
QFont fontFor(FontRole role, double bodyPoints);

struct PageItem {
    // A box is the thin outline of a card.
    enum class Kind { Text, Rule, Shade, Box };
    Kind kind = Kind::Text;
    // Twips. A rule is drawn along the top edge of its rect, or along its
    // left edge when the rect is taller than wide.
    QRectF rect;
    QString text;
    FontRole role = FontRole::Body;
    double points = 0; // a text's own size (on cards); 0: the role's size for the document
    Qt::Alignment align = Qt::AlignLeft;
    double ruleWidth = 10; // twips
};

struct Page {
    std::vector<PageItem> items;
    // The texts of the page in the order they were placed.
    QStringList texts() const;
    // Texts whose rect starts at about this height, left to right, joined by a tab.
    QStringList lines() const;
};

struct Document {
    double width = kPaperWidth, height = kPaperHeight;
    double bodyPoints = 9;
    std::vector<Page> pages;
    // Statistics of the run.
    int recordsRead = 0, recordsSelected = 0, recordsPrinted = 0;
};

} // namespace plax::print
