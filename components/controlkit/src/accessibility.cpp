// The progress bar as assistive technology reads it: a progress bar whose value, minimum and
// maximum are the control's own. Its name is the host's name for people (accessibleName), or else
// the text it shows. The labels need nothing of their own: Qt reads a label as its text.
#include "accessibility.h"

#include "gridgauge/controlkit/progress_bar.h"

#include <QAccessibleWidget>

namespace controlkit::detail {

namespace {

class ProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressBarAccessible(ProgressBar* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    ProgressBar* bar() const { return static_cast<ProgressBar*>(widget()); }

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = bar()->text();
        return text;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true; // the program sets the value; the user cannot
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    // Any whole value in the range can be shown; there is no step to offer.
    QVariant minimumStepSize() const override { return 0; }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("controlkit::ProgressBar")) {
        if (auto* bar = qobject_cast<ProgressBar*>(object))
            return new ProgressBarAccessible(bar);
    }
    return nullptr;
}

} // namespace

void installAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace controlkit::detail
