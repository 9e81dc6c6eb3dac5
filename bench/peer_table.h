#pragma once

// The usual Qt way of showing Gridgauge's window: a QTableView over a QStandardItemModel, the
// progress cells painted by a delegate through QStyleOptionProgressBar, and a QProgressBar over
// the first row's progress cell through setIndexWidget. Dragging in a progress cell sets its value
// from the pointer's x, the delegate taking the move as an editor event, the way a rating is set
// by dragging in a delegate-drawn cell.
#include <QImage>
#include <QPersistentModelIndex>
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
    // A move with the left button held over a progress cell sets its value from x.
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};

// Hands a move with the left button held to the delegate of the cell it was pressed in.
class PeerView : public QTableView {
protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPersistentModelIndex pressed_;
};

class PeerWindow : public QWidget {
public:
    // Same columns, captions, buttons, check box and size as the started window's grid.
    explicit PeerWindow(const frmMain& like);

    // What one refresh of Gridgauge does, the Qt way: the new value into the model and the bar,
    // the bar placed over its cell and the caption. The views repaint what that invalidated.
    void refresh(int percent);

    // Takes the started window's place: that one hides, and the peer shows what the program's
    // start-up left in it, its bar's value refreshed in.
    void standInFor(frmMain& like);

    QTableView& view() { return *view_; }
    QStandardItemModel& model() { return *model_; }

private:
    // Children of the window, deleted with it in the order made.
    QStandardItemModel* model_ = nullptr;
    PeerView* view_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

} // namespace bench
