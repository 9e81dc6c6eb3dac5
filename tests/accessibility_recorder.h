#pragma once

// What assistive technology is told, as text, in order. Qt sends accessibility events only while
// its platform's accessibility is active, which Qt's offscreen platform never is: these tests run
// on a display of their own with the AT-SPI bridge on (a11y_session.sh).

#include <QAccessible>
#include <QStringList>
#include <QTest>

namespace a11ytest {

inline QStringList& heard() {
    static QStringList events;
    return events;
}

// "cell 2,1" for a body cell (display row and column), "button Up", "table", or the role and name.
inline QString what(QAccessibleInterface* iface) {
    if (!iface || !iface->isValid())
        return QStringLiteral("nothing");
    if (QAccessibleTableCellInterface* cell = iface->tableCellInterface())
        return QStringLiteral("cell %1,%2").arg(cell->rowIndex()).arg(cell->columnIndex());
    switch (iface->role()) {
    case QAccessible::PushButton:
        return QStringLiteral("button ") + iface->text(QAccessible::Name);
    case QAccessible::Table:
        return QStringLiteral("table");
    case QAccessible::Window:
        return QStringLiteral("window");
    case QAccessible::ProgressBar:
        return QStringLiteral("progress bar");
    default:
        return QStringLiteral("role %1 %2").arg(iface->role()).arg(iface->text(QAccessible::Name));
    }
}

// Only the events a screen reader speaks from, or that throw its place away.
inline void record(QAccessibleEvent* event) {
    QAccessibleInterface* iface = event->accessibleInterface();
    switch (event->type()) {
    case QAccessible::Focus:
        heard() << QStringLiteral("focus ") + what(iface);
        break;
    case QAccessible::NameChanged:
        heard() << QStringLiteral("name ") + what(iface) + QLatin1Char(' ') +
                       iface->text(QAccessible::Name);
        break;
    case QAccessible::StateChanged: {
        const QAccessible::State changed =
            static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
        if (changed.checked)
            heard() << QStringLiteral("checked %1 ").arg(iface->state().checked) + what(iface);
        if (changed.disabled)
            heard() << QStringLiteral("disabled %1 ").arg(iface->state().disabled) + what(iface);
        break;
    }
    case QAccessible::ObjectCreated:
        heard() << QStringLiteral("created ") + what(iface);
        break;
    case QAccessible::ValueChanged:
        heard() << QStringLiteral("value ") + what(iface) + QLatin1Char(' ') +
                       static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
        break;
    case QAccessible::TableModelChanged:
        heard() << QStringLiteral("reset ") + what(iface);
        break;
    case QAccessible::ObjectShow:
        // Widgets show all the time; a notification shows to be heard.
        if (iface && iface->role() == QAccessible::Notification)
            heard() << QStringLiteral("notice ") + iface->text(QAccessible::Name);
        break;
    default:
        break;
    }
}

// Records from now on; fails the test when Qt's accessibility does not come on.
inline bool listen() {
    QAccessible::installUpdateHandler(record);
    if (!QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000)) {
        qCritical("Qt's accessibility is off: run the test under tests/a11y_session.sh");
        return false;
    }
    return true;
}

} // namespace a11ytest
