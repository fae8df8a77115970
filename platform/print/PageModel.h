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

enum class FontRole { Body, Bold, Heading, Group, Title, Company, Small, Italic };

// The font of a role for a body size in points. Sizes are pixel sizes in
// twips, so text measures the same on every device.
QFont fontFor(FontRole role, double bodyPoints);

struct PageItem {
    enum class Kind { Text, Rule, Shade };
    Kind kind = Kind::Text;
    QRectF rect; // twips; a rule is drawn along the top edge of its rect
    QString text;
    FontRole role = FontRole::Body;
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
    double width = 12240, height = 15840; // US Letter portrait
    double bodyPoints = 9;
    std::vector<Page> pages;
    // Statistics of the run.
    int recordsRead = 0, recordsSelected = 0, recordsPrinted = 0;
};

} // namespace plax::print
