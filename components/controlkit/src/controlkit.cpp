#include "gridgauge/controlkit/controlkit.h"

#include "gridgauge/controlkit/label.h"
#include "gridgauge/controlkit/progress_bar.h"

#include "gridgauge/host/control_registry.h"

namespace controlkit {

void registerControls() {
    auto& registry = host::ControlRegistry::instance();
    registry.add(QStringLiteral("ControlKit.ProgressBar"),
                 [](QWidget* parent) { return new ProgressBar(parent); });
    registry.add(QStringLiteral("ControlKit.Label"),
                 [](QWidget* parent) { return new Label(parent); });
}

} // namespace controlkit
