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
// A sheet of paper, portrait.
struct Paper {
    double width, height;
};
constexpr Paper kLetter{12240, 15840}, kA4{210 * kTwipsPerMm, 297 * kTwipsPerMm};
// The margin kept on every side.
constexpr double kPageMargin = 720;
// The paper of the system's locale: US Letter where it measures in US
// units (en_US), A4 elsewhere.
Paper localePaper();

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
    // The "Date printed" text of the page header, written again when the
    // pages go to paper (a preview may be printed long after it opened).
    bool printedStamp = false;
};

struct Page {
    std::vector<PageItem> items;
    // The texts of the page in the order they were placed.
    QStringList texts() const;
    // Texts whose rect starts at about this height, left to right, joined by a tab.
    QStringList lines() const;
};

struct Document {
    double width = kA4.width, height = kA4.height; // a laid-out report's own paper
    double bodyPoints = 9;
    std::vector<Page> pages;
    // Statistics of the run.
    int recordsRead = 0, recordsSelected = 0, recordsPrinted = 0;
};

} // namespace plax::print
