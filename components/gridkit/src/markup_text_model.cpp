#include "gridgauge/gridkit/markup_text_model.h"

#include "delegate_drawings.h"

namespace gridkit {

MarkupTextModel::MarkupTextModel(QObject* parent)
    : QIdentityProxyModel(parent) {}

MarkupTextModel::~MarkupTextModel() = default;

QVariant MarkupTextModel::data(const QModelIndex& index, int role) const {
    QVariant given = QIdentityProxyModel::data(index, role);
    if (role != Qt::AccessibleTextRole || !given.toString().isEmpty())
        return given;
    const QVariant display = QIdentityProxyModel::data(index, Qt::DisplayRole);
    if (display.userType() != QMetaType::QString)
        return given;
    if (const markup::DocumentPtr document = detail::markupDocument(display.toString()))
        return markup::textContent(*document);
    return given;
}

} // namespace gridkit
