#pragma once

// What the peers draw in a progress cell, the usual Qt ways, for every benchmark that sets
// Gridgauge beside them.

#include <QString>
#include <QStyle>
#include <QStyleOptionProgressBar>
#include <QWidget>

namespace bench {

// The program's bar for a 100 x 20 cell at 75 % as a table in the HTML subset QTextDocument
// renders: it has no gradients, so each gradient is its middle colour; the frame, sizes and bold
// white centred text as in the caption.
inline const QString& progressCellHtml() {
    static const QString html = QStringLiteral(
        "<table width='96' height='18' cellspacing='0' cellpadding='1' border='1' "
        "style='border-color:#5E7293; border-style:solid; background-color:#CEDAEC'><tr>"
        "<td width='69' align='center' valign='middle' style='background-color:#84B358; "
        "border:1px solid #658C4B'><b><font color='white'>75%</font></b></td><td></td></tr>"
        "</table>");
    return html;
}

// The style's own progress bar with its percentage in rect, as a delegate draws it for widget.
inline QStyleOptionProgressBar styledProgressBar(const QWidget* widget, const QRect& rect,
                                                 int percent) {
    QStyleOptionProgressBar bar;
    bar.initFrom(widget);
    bar.rect = rect;
    bar.minimum = 0;
    bar.maximum = 100;
    bar.progress = percent;
    bar.text = QString::number(percent) + QLatin1Char('%');
    bar.textVisible = true;
    bar.textAlignment = Qt::AlignCenter;
    bar.state |= QStyle::State_Horizontal;
    return bar;
}

} // namespace bench
