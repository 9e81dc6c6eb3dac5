#include "gridgauge/host/form.h"

#include "form_accessibility.h"
#include "form_testing.h"
#include "gridgauge/host/control_registry.h"
#include "gridgauge/host/runtime_error.h"
#include "gridgauge/host/timer.h"
#include "gridgauge/host/units.h"
#include "placement.h"

#include <QGuiApplication>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QResizeEvent>
#include <QScreen>

#include <algorithm>

namespace host {

namespace {

constexpr char TabIndexProperty[] = "_host_tabIndex";

void applySettings(QObject& object, const ControlDescription& description) {
    const QMetaObject* meta = object.metaObject();
    for (const auto& [name, value] : description.settings) {
        const int index = meta->indexOfProperty(name.constData());
        if (index < 0)
            throw RuntimeError(NotSupported);
        if (!meta->property(index).write(&object, value))
            throw RuntimeError(InvalidPropertyValue);
    }
}

QString objectNameFor(const ControlDescription& description) {
    return description.index < 0
               ? description.name
               : QStringLiteral("%1_%2").arg(description.name).arg(description.index);
}

} // namespace

Form::Form(const FormDescription& description, QWidget* parent)
    : QWidget(parent) {
    detail::makeAccessible(*this);
    setCaption(description.caption);
    setGeometry(units::twipsToPixelsX(description.clientLeft),
                units::twipsToPixelsY(description.clientTop),
                units::twipsToPixelsX(description.clientWidth),
                units::twipsToPixelsY(description.clientHeight));

    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlDescription& d : description.controls) {
        QObject* object = nullptr;
        if (d.kind == ControlDescription::Kind::Timer) {
            auto* timer = new Timer(this);
            applySettings(*timer, d);
            object = timer;
        } else {
            QWidget* control = ControlRegistry::instance().create(d.className, this);
            applySettings(*control, d);
            host::move(*control, d.left, d.top, d.width, d.height);
            control->show(); // visible with the window; stacked in front of earlier siblings
            // Kept on every control, since the focus chain links only those that take focus.
            control->setProperty(TabIndexProperty, d.tabIndex);
            if (d.tabIndex >= 0)
                tabOrder.emplace_back(d.tabIndex, control);
            object = control;
        }
        object->setObjectName(objectNameFor(d));
        entries_.push_back({d.name, d.index, object});
    }

    // Only controls that take focus join the focus chain; Qt ignores the others here.
    std::stable_sort(tabOrder.begin(), tabOrder.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
}

Form::~Form() = default;

float Form::scaleWidth() const {
    return float(units::pixelsToTwipsX(width(), this));
}
float Form::scaleHeight() const {
    return float(units::pixelsToTwipsY(height(), this));
}

void Form::load() {
    emit Load();
}

QObject* Form::find(const QString& name, int index) const {
    bool nameKnown = false;
    for (const Entry& e : entries_) {
        if (e.name != name)
            continue;
        nameKnown = true;
        if (e.index == index)
            return e.object;
    }
    throw RuntimeError(nameKnown ? SubscriptOutOfRange : ObjectNotSet);
}

QWidget* Form::control(const QString& name, int index) const {
    auto* widget = qobject_cast<QWidget*>(find(name, index));
    if (!widget)
        throw RuntimeError(TypeMismatch);
    return widget;
}

Timer* Form::timer(const QString& name) const {
    auto* timer = qobject_cast<Timer*>(find(name, -1));
    if (!timer)
        throw RuntimeError(TypeMismatch);
    return timer;
}

QList<QWidget*> Form::controls() const {
    QList<QWidget*> result;
    for (const Entry& e : entries_)
        if (auto* widget = qobject_cast<QWidget*>(e.object))
            result.append(widget);
    return result;
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (event->size() != event->oldSize())
        emit Resize();
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_ || !isWindow())
        return;
    placed_ = true;
    const QRect frame = frameGeometry();
    const QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = this->screen();
    if (!screen)
        return;
    const QPoint at = detail::placeWithin(frame, screen->availableGeometry());
    if (at != frame.topLeft())
        move(at); // a window's move() places its frame
}

// --- controls laid over cells ---

namespace {

// The controls of a parent, back to front.
QList<QWidget*> stacking(const QWidget& parent) {
    QList<QWidget*> widgets;
    for (QObject* child : parent.children()) {
        if (auto* widget = qobject_cast<QWidget*>(child); widget && !widget->isWindow())
            widgets.append(widget);
    }
    return widgets;
}

// The control's "overlayArea" property, when it has one.
QMetaProperty overlayAreaOf(const QWidget* control) {
    if (!control)
        return {};
    const QMetaObject* meta = control->metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty("overlayArea"));
    return property.isValid() && property.metaType() == QMetaType::fromType<QRegion>()
               ? property
               : QMetaProperty();
}

} // namespace

bool Form::isLaidOver(const QWidget* control) const {
    return std::any_of(laidOver_.begin(), laidOver_.end(),
                       [control](const LaidOver& laid) { return laid.control == control; });
}

void Form::layOver(QWidget& control) {
    // The overlay-area control it overlaps, nearest behind it.
    const QList<QWidget*> widgets = stacking(*this);
    QWidget* over = nullptr;
    for (qsizetype i = widgets.indexOf(&control) - 1; i >= 0 && !over; --i) {
        if (overlayAreaOf(widgets[i]).isValid() &&
            widgets[i]->geometry().intersects(control.geometry()))
            over = widgets[i];
    }
    if (!over)
        return;
    const QMetaProperty area = overlayAreaOf(over);
    if (area.hasNotifySignal()) {
        const QMetaMethod confine = metaObject()->method(metaObject()->indexOfSlot("confineAll()"));
        connect(over, area.notifySignal(), this, confine, Qt::UniqueConnection);
    }
    const auto found = std::find_if(laidOver_.begin(), laidOver_.end(),
                                    [&](const LaidOver& laid) { return laid.control == &control; });
    if (found != laidOver_.end()) {
        found->over = over;
        confine(*found);
        return;
    }
    laidOver_.push_back({&control, over});
    control.installEventFilter(this);
    confine(laidOver_.back());
}

void Form::confine(const LaidOver& laid) const {
    if (!laid.control)
        return;
    QWidget& control = *laid.control;
    // A control laid over one that is gone shows whole again.
    const QMetaProperty area = overlayAreaOf(laid.over.data());
    if (!area.isValid() || !laid.over->isVisible()) {
        control.clearMask();
        return;
    }
    QRegion shown = area.read(laid.over.data()).value<QRegion>().translated(laid.over->pos());
    // Whatever lies in front of the cells hides them, unless it is laid over them too.
    const QList<QWidget*> widgets = stacking(*this);
    for (qsizetype j = widgets.indexOf(laid.over) + 1; j < widgets.size(); ++j) {
        QWidget* front = widgets[j];
        if (front != &control && front->isVisible() && !isLaidOver(front))
            shown -= front->geometry();
    }
    shown = shown.translated(-control.pos()) & control.rect();
    if (shown == QRegion(control.rect()))
        control.clearMask();
    else if (shown.isEmpty())
        control.setMask(QRegion(-1, -1, 1, 1)); // an empty region would mean no mask at all
    else
        control.setMask(shown);
}

void Form::confineAll() {
    std::erase_if(laidOver_, [](const LaidOver& laid) { return !laid.control; });
    for (const LaidOver& laid : laidOver_)
        confine(laid);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        for (const LaidOver& laid : laidOver_) {
            if (laid.control == watched)
                confine(laid);
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void move(QWidget& control, double left, double top, double width, double height) {
    const QWidget* reference = control.parentWidget() ? control.parentWidget() : &control;
    const int x = units::twipsToPixelsX(left, reference);
    const int y = units::twipsToPixelsY(top, reference);
    const int w = std::max(0, units::twipsToPixelsX(width, reference));
    const int h = std::max(0, units::twipsToPixelsY(height, reference));
    control.setGeometry(x, y, w, h);
}

void bringToFront(QWidget& control) {
    control.raise();
    if (auto* form = qobject_cast<Form*>(control.parentWidget()))
        form->layOver(control);
}

namespace testing {

int tabIndex(const QWidget& control) {
    const QVariant index = control.property(TabIndexProperty);
    return index.isValid() ? index.toInt() : -1;
}

} // namespace testing

} // namespace host
