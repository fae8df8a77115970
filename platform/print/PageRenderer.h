#pragma once
// Paints laid-out pages with QPainter: on screen, into PDF files and on
// printers (through Qt's printer support).

#include "PageModel.h"

#include <QString>

class QPainter;
class QPrinter;

namespace plax::print {

// Paints page `index` with the painter's origin at the paper's top-left
// corner; `pixelsPerTwip` is the device's scale.
void paintPage(QPainter& painter, const Document& doc, int index, double pixelsPerTwip);

// The pages first..last (1-based, both inclusive; 0 = from the first / to
// the last) in order, `copies` times over.
std::vector<int> pagesToPrint(const Document& doc, int first, int last, int copies);

// Writes the pages into a PDF file. Returns false with a reason on failure.
bool writePdf(const Document& doc, const QString& path, const std::vector<int>& pages, QString* error);
// Prints the pages on a printer already chosen and set up.
bool printPages(const Document& doc, QPrinter& printer, const std::vector<int>& pages, QString* error);

} // namespace plax::print
