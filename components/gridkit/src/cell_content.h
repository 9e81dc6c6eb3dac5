#pragma once

// What a cell shows, as the model gives it, read in one call: its buttons, its check box, its
// text and how the model wants it drawn. And the model's rules for what the user may do with it.

#include <QBrush>
#include <QFont>
#include <QModelIndex>
#include <QString>
#include <QStringList>
#include <QVariant>

class QAbstractItemModel;
class QStyleOptionViewItem;

namespace gridgauge::gridkit::detail {

struct CellContent {
    QStringList buttons;
    QVariantList buttonsEnabled;
    QVariant check; // the check state, when the cell has a check box
    QString text;
    int alignment = 0; // Qt::Alignment bits, 0 when the model gives none
    QVariant font;
    QVariant foreground;
    QBrush background;
    Qt::ItemFlags flags;

    static CellContent read(const QModelIndex& index);

    bool hasButtons() const { return !buttons.isEmpty(); }
    bool hasCheckBox() const { return check.isValid(); }
    Qt::CheckState checkState() const { return Qt::CheckState(check.toInt()); }
    // What the user may press: a button of an enabled cell in an enabled view, unless the model
    // says it is not.
    bool buttonEnabled(const QStyleOptionViewItem& option, int button) const;
    int firstEnabledButton(const QStyleOptionViewItem& option) const; // -1 for none
    bool userCheckable(const QStyleOptionViewItem& option) const;
    // Ticks a clear box and clears a ticked one (a tristate box goes round its three states),
    // through the model; whether the model took it.
    bool toggle(QAbstractItemModel& model, const QModelIndex& index) const;

    QFont fontOr(const QFont& base) const;
    QColor foregroundOr(const QColor& base) const;
    Qt::Alignment textAlignment() const;

private:
    bool itemEnabled(const QStyleOptionViewItem& option) const;
};

} // namespace gridgauge::gridkit::detail
