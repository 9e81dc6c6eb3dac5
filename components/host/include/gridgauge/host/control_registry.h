#pragma once

#include <QString>

#include <functional>
#include <map>

class QWidget;

namespace host {

// Hosted controls are created by class name ("Kit.Control"); each component library registers the
// factories of its controls here.
class ControlRegistry {
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;

    static ControlRegistry& instance();

    void add(const QString& className, Factory factory);
    // A new control parented to parent; an unregistered class name throws 429.
    QWidget* create(const QString& className, QWidget* parent) const;

private:
    std::map<QString, Factory> factories_;
};

} // namespace host
