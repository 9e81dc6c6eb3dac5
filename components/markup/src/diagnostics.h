#pragma once

// What parse(text, report) fills a ParseReport with: the parser's problems, placed by line and
// column.

#include "gridgauge/markup/markup.h"
#include "parser.h"

#include <QSharedData>

namespace markup {

class ParseReportPrivate : public QSharedData {
public:
    Diagnostic error;
    QList<Diagnostic> ignored;
    int ignoredCount = 0;
};

// Replaces what report holds with the problems found in text.
void fill(ParseReportPrivate& report, QStringView text, const Problems& problems);

} // namespace markup
