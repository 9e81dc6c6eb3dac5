#include "palette.h"

#include "gridgauge/host/system_colors.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <utility>

namespace controlkit::detail {

namespace {

class PaletteFollower final : public QObject {
public:
    PaletteFollower(QWidget& widget, std::function<void()> apply)
        : QObject(&widget)
        , apply_(std::move(apply)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ApplicationPaletteChange &&
            watched == QCoreApplication::instance())
            apply_();
        return false;
    }

private:
    std::function<void()> apply_;
};

} // namespace

void applyColors(QWidget& widget, std::initializer_list<RoleColor> colors) {
    const QPalette base = QApplication::palette(&widget);
    QPalette p = widget.palette();
    for (const RoleColor& c : colors)
        p.setColor(c.role, host::colors::resolve(c.color, base));
    widget.setPalette(p);
}

void followApplicationPalette(QWidget& widget, std::function<void()> apply) {
    new PaletteFollower(widget, std::move(apply));
}

} // namespace controlkit::detail
