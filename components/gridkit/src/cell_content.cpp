#include "cell_content.h"

#include "gridgauge/gridkit/roles.h"

#include <QAbstractItemModel>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <array>

namespace gridgauge::gridkit::detail {

CellContent CellContent::read(const QModelIndex& index) {
    CellContent content;
    if (!index.isValid())
        return content;
    // One call into the model for everything a cell may show: a cell is read at every paint.
    std::array<QModelRoleData, 8> roles{
        {QModelRoleData(ButtonsRole), QModelRoleData(ButtonsEnabledRole),
         QModelRoleData(Qt::CheckStateRole), QModelRoleData(Qt::DisplayRole),
         QModelRoleData(Qt::TextAlignmentRole), QModelRoleData(Qt::FontRole),
         QModelRoleData(Qt::ForegroundRole), QModelRoleData(Qt::BackgroundRole)}};
    index.multiData(roles);
    content.buttons = roles[0].data().toStringList();
    content.buttonsEnabled = roles[1].data().toList();
    content.check = roles[2].data();
    const QVariant& display = roles[3].data();
    content.text = display.typeId() == QMetaType::QString ? display.toString()
                   : display.isValid()                    ? display.toString()
                                                          : QString();
    if (roles[4].data().isValid())
        content.alignment = roles[4].data().toInt();
    content.font = roles[5].data();
    content.foreground = roles[6].data();
    content.background = qvariant_cast<QBrush>(roles[7].data());
    content.flags = index.flags();
    return content;
}

bool CellContent::itemEnabled(const QStyleOptionViewItem& option) const {
    return flags.testFlag(Qt::ItemIsEnabled) && (option.state & QStyle::State_Enabled);
}

bool CellContent::buttonEnabled(const QStyleOptionViewItem& option, int button) const {
    if (button < 0 || button >= buttons.size() || !itemEnabled(option))
        return false;
    return button >= buttonsEnabled.size() || buttonsEnabled[button].toBool();
}

int CellContent::firstEnabledButton(const QStyleOptionViewItem& option) const {
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttonEnabled(option, i))
            return i;
    }
    return -1;
}

bool CellContent::userCheckable(const QStyleOptionViewItem& option) const {
    return hasCheckBox() && flags.testFlag(Qt::ItemIsUserCheckable) && itemEnabled(option);
}

bool CellContent::toggle(QAbstractItemModel& model, const QModelIndex& index) const {
    Qt::CheckState next = checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked;
    if (flags.testFlag(Qt::ItemIsUserTristate))
        next = Qt::CheckState((checkState() + 1) % 3);
    return model.setData(index, next, Qt::CheckStateRole);
}

QFont CellContent::fontOr(const QFont& base) const {
    return font.isValid() ? qvariant_cast<QFont>(font).resolve(base) : base;
}

QColor CellContent::foregroundOr(const QColor& base) const {
    if (!foreground.isValid())
        return base;
    const QBrush brush = qvariant_cast<QBrush>(foreground);
    return brush.style() != Qt::NoBrush ? brush.color() : base;
}

Qt::Alignment CellContent::textAlignment() const {
    Qt::Alignment given = Qt::Alignment(alignment);
    if (!(given & Qt::AlignHorizontal_Mask))
        given |= Qt::AlignLeft;
    if (!(given & Qt::AlignVertical_Mask))
        given |= Qt::AlignVCenter;
    return given;
}

} // namespace gridgauge::gridkit::detail
