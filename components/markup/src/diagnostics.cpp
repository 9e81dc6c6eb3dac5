#include "diagnostics.h"

#include <algorithm>

namespace markup {

class DiagnosticPrivate : public QSharedData {
public:
    int line = 0, column = 0;
    QString message;
};

Diagnostic::Diagnostic() = default;

Diagnostic::Diagnostic(int line, int column, const QString& message)
    : d(new DiagnosticPrivate) {
    d->line = line;
    d->column = column;
    d->message = message;
}

Diagnostic::~Diagnostic() = default;
Diagnostic::Diagnostic(const Diagnostic& other) = default;
Diagnostic::Diagnostic(Diagnostic&& other) noexcept = default;
Diagnostic& Diagnostic::operator=(const Diagnostic& other) = default;
Diagnostic& Diagnostic::operator=(Diagnostic&& other) noexcept = default;

bool Diagnostic::isNull() const {
    return !d;
}

int Diagnostic::line() const {
    return d ? d->line : 0;
}

int Diagnostic::column() const {
    return d ? d->column : 0;
}

QString Diagnostic::message() const {
    return d ? d->message : QString();
}

QString Diagnostic::toString() const {
    return d ? QStringLiteral("%1:%2: %3").arg(d->line).arg(d->column).arg(d->message) : QString();
}

bool Diagnostic::operator==(const Diagnostic& other) const {
    if (d == other.d)
        return true;
    return d && other.d && d->line == other.d->line && d->column == other.d->column &&
           d->message == other.d->message;
}

ParseReport::ParseReport()
    : d(new ParseReportPrivate) {}
ParseReport::~ParseReport() = default;
ParseReport::ParseReport(const ParseReport& other) = default;
ParseReport::ParseReport(ParseReport&& other) noexcept = default;
ParseReport& ParseReport::operator=(const ParseReport& other) = default;
ParseReport& ParseReport::operator=(ParseReport&& other) noexcept = default;

Diagnostic ParseReport::error() const {
    return d->error;
}

QList<Diagnostic> ParseReport::ignored() const {
    return d->ignored;
}

int ParseReport::ignoredCount() const {
    return d->ignoredCount;
}

namespace {

// Lines and columns of offsets into a text, found by reading it once for offsets that come in
// order (as the parser finds them), and from the start again for one that comes earlier.
class Locator {
public:
    explicit Locator(QStringView text)
        : text_(text) {}

    Diagnostic at(qsizetype offset, const QString& message) {
        offset = std::clamp<qsizetype>(offset, 0, text_.size());
        if (offset < pos_)
            pos_ = 0, line_ = 1, column_ = 1;
        for (; pos_ < offset; ++pos_) {
            const QChar c = text_[pos_];
            if (c == u'\n' ||
                (c == u'\r' && (pos_ + 1 >= text_.size() || text_[pos_ + 1] != u'\n'))) {
                ++line_;
                column_ = 1;
            } else if (c != u'\r' && !c.isLowSurrogate()) {
                ++column_;
            }
        }
        return Diagnostic(line_, column_, message);
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
    int line_ = 1, column_ = 1;
};

} // namespace

void fill(ParseReportPrivate& report, QStringView text, const Problems& problems) {
    report.error = Diagnostic();
    report.ignored.clear();
    Locator locator(text);
    for (const Problem& p : problems.ignored)
        report.ignored.append(locator.at(p.at, p.message));
    report.ignoredCount = problems.ignoredCount;
    if (problems.error)
        report.error = locator.at(problems.error->at, problems.error->message);
}

} // namespace markup
