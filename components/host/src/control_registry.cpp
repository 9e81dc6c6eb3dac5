#include "gridgauge/host/control_registry.h"

#include "gridgauge/host/runtime_error.h"

#include <QWidget>

namespace host {

ControlRegistry& ControlRegistry::instance() {
    static ControlRegistry registry;
    return registry;
}

void ControlRegistry::add(const QString& className, Factory factory) {
    factories_[className] = std::move(factory);
}

QWidget* ControlRegistry::create(const QString& className, QWidget* parent) const {
    const auto it = factories_.find(className);
    if (it == factories_.end())
        throw RuntimeError(CannotCreateObject);
    QWidget* control = it->second(parent);
    if (!control)
        throw RuntimeError(CannotCreateObject);
    return control;
}

} // namespace host
