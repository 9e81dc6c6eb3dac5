// A form is the program's window: screen readers announce a window by its name when it becomes
// active and follow its caption as it changes. Qt would describe a plain top-level widget as a
// mere client area, without either.
#include "form_accessibility.h"

#include "gridgauge/host/form.h"

#include <QAccessibleWidget>

namespace host::detail {

namespace {

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("host::Form")) {
        // The name of a window is its title, which is the form's caption.
        if (auto* form = qobject_cast<Form*>(object); form && form->isWindow())
            return new QAccessibleWidget(form, QAccessible::Window);
    }
    return nullptr;
}

} // namespace

void makeAccessible(Form& form) {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
    // Qt says nothing when a window's title changes, and the caption is what the window reports.
    QObject::connect(&form, &QWidget::windowTitleChanged, &form, [&form] {
        if (!QAccessible::isActive())
            return;
        QAccessibleEvent event(&form, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    });
}

} // namespace host::detail
