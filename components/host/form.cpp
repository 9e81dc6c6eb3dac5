#include "form.h"

#include "control_registry.h"
#include "form_accessibility.h"
#include "runtime_error.h"
#include "timer.h"
#include "units.h"

#include <QMetaProperty>
#include <QResizeEvent>

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
    detail::installFormAccessibility();
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

int Form::tabIndex(const QWidget& control) {
    const QVariant index = control.property(TabIndexProperty);
    return index.isValid() ? index.toInt() : -1;
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
}

} // namespace host
