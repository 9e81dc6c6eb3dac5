#pragma once

#include "gridgauge/gridkit/gridkit_export.h"

#include <QIdentityProxyModel>

#include <memory>

namespace gridgauge::gridkit {

class MarkupTextModelPrivate;

/// @brief The model it is given, with each markup cell's Qt::AccessibleTextRole answered by the
/// markup's text.
///
/// Qt's accessible item views read a cell's Qt::AccessibleTextRole, and Qt::DisplayRole when that
/// is empty. A cell whose display text is markup would so be read as its markup; over this model
/// it reads as what the markup shows ("75%"), its text runs in reading order, a line break as a
/// newline. A cell whose source gives an accessible text of its own keeps it, and every other
/// role, and every cell that is not markup, is the source's. Put it between the model and a view
/// that draws with gridgauge::gridkit::MarkupDelegate:
/// @code
/// auto* readable = new gridgauge::gridkit::MarkupTextModel(view);
/// readable->setSourceModel(model);
/// view->setModel(readable);
/// view->setItemDelegate(new gridgauge::gridkit::MarkupDelegate(view));
/// @endcode
/// Documents are read once per text and shared with the delegate and the report grid.
class GRIDGAUGE_GRIDKIT_EXPORT MarkupTextModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    /// Makes a proxy without a source; give it one with setSourceModel().
    explicit MarkupTextModel(QObject* parent = nullptr);
    /// Leaves the source model as it is.
    ~MarkupTextModel() override;

    /// The source's data, but for Qt::AccessibleTextRole on a markup cell without an accessible
    /// text of its own: the markup's text.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // Empty today: what later versions keep goes here without changing the class's size.
    std::unique_ptr<MarkupTextModelPrivate> d;
};

} // namespace gridgauge::gridkit
