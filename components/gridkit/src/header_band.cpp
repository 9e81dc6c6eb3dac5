#include "header_band.h"

#include "content_fit.h"
#include "grid_painter.h"
#include "report_grid_p.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QtMath>
#include <QToolTip>

namespace gridgauge::gridkit::detail {

namespace {

// The pixel under the pointer: at a device pixel ratio above 1 positions can fall between whole
// pixels, and the pixel is the one that contains the point.
QPoint pixelAt(const QMouseEvent& event) {
    const QPointF p = event.position();
    return QPoint(qFloor(p.x()), qFloor(p.y()));
}

} // namespace

HeaderBand::HeaderBand(ReportGridPrivate& view, QWidget* parent)
    : QWidget(parent)
    , view_(view) {
    setObjectName(QStringLiteral("header"));
    setMouseTracking(true);
    // Every pixel is painted, so Qt need not clear the band first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPoint HeaderBand::laidOut(const QMouseEvent& event) const {
    return view_.geometry.visual(pixelAt(event));
}

QPoint HeaderBand::inViewport(const QMouseEvent& event) const {
    return pixelAt(event) - QPoint(0, height());
}

void HeaderBand::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setLayoutDirection(layoutDirection());
    const GridPainter gridPainter(view_);
    for (const QRect& rect : event->region())
        gridPainter.paintBand(painter, rect);
}

void HeaderBand::press(QMouseEvent* event) {
    event->accept();
    view_.showFocusFrame(false);
    const QPointer<HeaderBand> alive(this);
    if (!view_.tellPress(*event, inViewport(*event)) || !alive)
        return;
    view_.input.headerPress(*event, laidOut(*event));
}

void HeaderBand::mousePressEvent(QMouseEvent* event) {
    press(event);
}

// Each press of a double click is a press, and the second one may fit a column.
void HeaderBand::mouseDoubleClickEvent(QMouseEvent* event) {
    press(event);
}

void HeaderBand::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPointer<HeaderBand> alive(this);
    if (!view_.tellMove(*event, inViewport(*event)) || !alive)
        return;
    view_.input.headerMove(*event, laidOut(*event));
}

void HeaderBand::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    view_.input.headerRelease(*event, laidOut(*event));
}

void HeaderBand::leaveEvent(QEvent* event) {
    view_.input.leave();
    QWidget::leaveEvent(event);
}

bool HeaderBand::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint at = view_.geometry.visual(help->pos());
        if (const std::optional<CutText> tip = headerTipAt(view_, at)) {
            QToolTip::showText(help->globalPos(), tip->text, this,
                               view_.geometry.visual(tip->area));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace gridgauge::gridkit::detail
