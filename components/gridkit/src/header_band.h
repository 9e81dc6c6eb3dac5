#pragma once

// The band above a report grid's viewport: the group box when shown, then the header row. It
// lies in the view's top margin, as wide as the viewport and beside it, so that cells, editors
// and widgets laid in the viewport never reach it. It paints through the view's painter and hands
// its pointer events to the view's input, and, as part of the view, every press and move over it
// to the view's own signals.

#include <QWidget>

namespace gridgauge::gridkit {

class ReportGridPrivate;

namespace detail {

class HeaderBand : public QWidget {
public:
    HeaderBand(ReportGridPrivate& view, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void press(QMouseEvent* event);
    QPoint laidOut(const QMouseEvent& event) const; // the pixel, mirrored back to left to right
    QPoint inViewport(const QMouseEvent& event) const;

    ReportGridPrivate& view_;
};

} // namespace detail
} // namespace gridgauge::gridkit
