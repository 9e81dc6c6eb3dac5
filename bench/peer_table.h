#pragma once

// The usual Qt way of showing Gridgauge's window: a QTableView over a QStandardItemModel, the
// progress cells painted by a delegate through QStyleOptionProgressBar, and a QProgressBar over
// the first row's progress cell through setIndexWidget.
#include <QImage>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QWidget>

class QProgressBar;
class frmMain;

namespace bench {

// Roles the delegate reads besides the display text.
enum PeerRole {
    ProgressRole = Qt::UserRole + 1, // int percent: the cell is a progress bar
    ButtonRole,                      // QString caption: the cell is a push button
};

class PeerDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

class PeerWindow : public QWidget {
public:
    // Same columns, captions, buttons, check box and size as the started window's grid.
    explicit PeerWindow(const frmMain& like);

    // What one refresh of Gridgauge does, the Qt way: the new value into the model and the bar,
    // the bar placed over its cell, the caption, and the view painted into image.
    void refresh(int percent, QImage& image);

    QTableView& view() { return *view_; }

private:
    // Children of the window, deleted with it in the order made.
    QStandardItemModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

} // namespace bench
