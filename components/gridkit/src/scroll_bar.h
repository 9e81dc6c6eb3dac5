#pragma once

#include <QPixmap>
#include <QScrollBar>
#include <QStyleOptionSlider>

namespace gridgauge::gridkit::detail {

// A scroll bar that keeps its last rendering while nothing it shows has changed. A large grid's
// scroll bar runs the whole height of the window, and the style paints its groove and handle with
// gradients every time the window is repainted (uncovered, restored); a copy is one blit.
// While the pointer is over the bar or a button is held, its hover and press state show and
// change with every move, and QScrollBar keeps that state to itself, so it paints those itself.
class ScrollBar : public QScrollBar {
public:
    explicit ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool sameAsKept(const QStyleOptionSlider& option, qreal ratio) const;

    QPixmap kept_;
    QStyleOptionSlider keptOption_;
};

} // namespace gridgauge::gridkit::detail
