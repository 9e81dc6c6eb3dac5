#include "gridgauge/gridkit/markup_text_model.h"

#include "delegate_drawings.h"

namespace gridgauge::gridkit {

class MarkupTextModelPrivate {};

MarkupTextModel::MarkupTextModel(QObject* parent)
    : QIdentityProxyModel(parent)
    , d(std::make_unique<MarkupTextModelPrivate>()) {}

MarkupTextModel::~MarkupTextModel() = default;

QVariant MarkupTextModel::data(const QModelIndex& index, int role) const {
    QVariant given = QIdentityProxyModel::data(index, role);
    if (role != Qt::AccessibleTextRole || !given.toString().isEmpty())
        return given;
    const QVariant display = QIdentityProxyModel::data(index, Qt::DisplayRole);
    if (display.userType() != QMetaType::QString)
        return given;
    if (const gridgauge::markup::DocumentPtr document = detail::markupDocument(display.toString()))
        return gridgauge::markup::textContent(*document);
    return given;
}

} // namespace gridgauge::gridkit
