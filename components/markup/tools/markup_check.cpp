// gridgauge-markup-check: says whether captions are markup, and if not why, and which of their
// attributes the engine ignores, in the form compilers use, so that editors and CI jobs can point
// at the place.
#include "gridgauge/markup/markup.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

const char* const usage =
    "Usage: gridgauge-markup-check [--strict] [FILE]...\n"
    "Reads each FILE (standard input when there is none, or for -) as one markup caption in\n"
    "UTF-8 and reports, as FILE:LINE:COLUMN: error: MESSAGE, why it is not markup, and as\n"
    "FILE:LINE:COLUMN: warning: MESSAGE each attribute the engine ignores.\n"
    "\n"
    "  --strict  an ignored attribute fails the check too\n"
    "  --help    this text\n"
    "\n"
    "Exit status: 0 when every caption is markup (and, with --strict, ignores nothing), 1 when\n"
    "one is not, 2 when a file cannot be read or the command line is wrong.\n";

void print(FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
}

void report(const QString& file, const char* kind, const markup::Diagnostic& d) {
    print(stdout, QStringLiteral("%1:%2:%3: %4: %5\n")
                      .arg(file)
                      .arg(d.line())
                      .arg(d.column())
                      .arg(QString::fromLatin1(kind), d.message()));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QStringList files;
    bool strict = false;
    bool options = true;
    for (const QString& arg : application.arguments().mid(1)) {
        if (options && arg == QLatin1String("--")) {
            options = false;
        } else if (options && arg == QLatin1String("--strict")) {
            strict = true;
        } else if (options && (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            std::fputs(usage, stdout);
            return 0;
        } else if (options && arg.startsWith(u'-') && arg != QLatin1String("-")) {
            print(stderr, QStringLiteral("gridgauge-markup-check: unknown option %1\n").arg(arg));
            std::fputs(usage, stderr);
            return 2;
        } else {
            files.append(arg);
        }
    }
    if (files.isEmpty())
        files.append(QStringLiteral("-"));

    int status = 0;
    for (const QString& name : files) {
        QFile file;
        const bool opened = name == QLatin1String("-")
                                ? file.open(stdin, QIODevice::ReadOnly)
                                : (file.setFileName(name), file.open(QIODevice::ReadOnly));
        if (!opened) {
            print(stderr,
                  QStringLiteral("gridgauge-markup-check: %1: %2\n").arg(name, file.errorString()));
            status = 2;
            continue;
        }
        const QString text = QString::fromUtf8(file.readAll());
        const QString shown = name == QLatin1String("-") ? QStringLiteral("<stdin>") : name;
        markup::ParseReport found;
        const bool isMarkup = bool(markup::parse(text, &found));
        for (const markup::Diagnostic& d : found.ignored())
            report(shown, "warning", d);
        if (found.ignoredCount() > found.ignored().size()) {
            print(stdout, QStringLiteral("%1: warning: %2 more attributes ignored\n")
                              .arg(shown)
                              .arg(found.ignoredCount() - found.ignored().size()));
        }
        if (!isMarkup)
            report(shown, "error", found.error());
        if (status == 0 && (!isMarkup || (strict && found.ignoredCount() > 0)))
            status = 1;
    }
    return status;
}
