#pragma once

// What the user does with the links of a delegate's markup cells, in any item view: the pointer
// over a link shows a pointing hand and says so (linkHovered), a left click on it activates it
// (linkActivated) and neither selects nor edits the cell, and Return or Enter on the current cell
// activates its link, or offers a menu of them when it shows more than one. Assistive technology
// activates them here too.
//
// An item view hands its delegate a press and a double click through editorEvent() before it
// selects or edits anything, and the delegate takes those on a link; it hands over no move
// without a press, no leave and not the release of a press the delegate took, nor Return, which
// QAbstractItemView keeps for itself. So once a delegate has painted a cell with links in a view,
// the input watches the view's viewport (turning its mouse tracking on) for the hover, the moves
// of a held press and its release, and the view itself for Return and Enter. A report grid hands
// Return and Enter to the delegate itself (editorEvent()), and its press on a link too.
//
// Links lie where the cell's last paint put them (gridgauge::markup::Drawing::links()), moved with
// the cell when it moved since without being painted again (a scroll repaints only what came into
// view).

#include <QCursor>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QRectF>
#include <QSet>
#include <QString>

class QAbstractItemDelegate;
class QAbstractItemView;
class QEvent;
class QWidget;

namespace gridgauge::markup {
class Drawing;
}

namespace gridgauge::gridkit::detail {

class DelegateDrawings;

// What a delegate tells its links' input.
class LinkHost {
public:
    // The text the cell at index is drawn from as markup, null when it is not drawn as markup.
    virtual QString linkCaption(const QModelIndex& index) const = 0;
    // Raise the delegate's signals. A handler may delete the view or the delegate.
    virtual void emitLinkActivated(const QModelIndex& index, const QString& target) = 0;
    virtual void emitLinkHovered(const QModelIndex& index, const QString& target) = 0;

protected:
    ~LinkHost() = default;
};

// A link that a cell shows.
struct ShownLink {
    int link = -1; // its place among the caption's links (gridgauge::markup::Drawing::links())
    QString target;
    QString text;
    QList<QRectF> rects; // where it shows in the view's viewport; none where that is not known
};

class LinkInput : public QObject {
    Q_OBJECT

public:
    // The input of delegate's links, a child of delegate; drawings are the delegate's.
    LinkInput(QAbstractItemDelegate* delegate, LinkHost& host, DelegateDrawings& drawings);
    ~LinkInput() override;

    // The links' input of a delegate of the library, or null.
    static LinkInput* of(const QAbstractItemDelegate* delegate);

    // The delegate painted a cell of view with drawing: from the first cell with links on, the
    // view is watched.
    void painted(const QWidget* view, const gridgauge::markup::Drawing& drawing);

    // The links the cell shows: those its last paint showed (every one of its caption before it
    // was painted), each where it shows now. Empty for a cell drawn by another delegate.
    QList<ShownLink> links(const QAbstractItemView& view, const QModelIndex& index) const;
    // Whether the user may act on the cell's links: an enabled cell of an enabled view.
    static bool interactive(const QAbstractItemView& view, const QModelIndex& index);
    // The link (its place among the caption's) under position in the viewport, -1 for none or
    // when the cell is not interactive().
    int linkAt(const QAbstractItemView& view, const QModelIndex& index,
               const QPointF& position) const;

    // What the delegate's editorEvent() hands on: a left press or double click on a link, Return
    // or Enter on a cell that shows links. Whether it was taken.
    bool editorEvent(QAbstractItemView* view, const QModelIndex& index, QEvent* event);
    // Return or Enter on the cell: its one link activated, or a menu of them opened at the cell.
    // False when the cell shows none.
    bool activateFromKeyboard(QAbstractItemView* view, const QModelIndex& index);
    // Activates the cell's link (its place among the caption's), as a click on it does: the
    // delegate's linkActivated, and a report grid's. False for a link the cell does not have.
    bool activate(QAbstractItemView* view, const QModelIndex& index, int link);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* viewOf(QObject* watched) const;
    void watch(QAbstractItemView* view);
    // The pointer is over link of cell in view now (-1 and an invalid cell: over none).
    void hover(QAbstractItemView* view, const QModelIndex& cell, int link);
    void restoreCursor();
    bool release(QAbstractItemView* view, const QPointF& position);
    void offerMenu(QAbstractItemView* view, const QModelIndex& index,
                   const QList<ShownLink>& links);

    QAbstractItemDelegate* delegate_;
    LinkHost& host_;
    DelegateDrawings& drawings_;
    QSet<const QWidget*> watched_;

    // The link under the pointer, and the viewport's cursor before it showed the hand.
    struct Hover {
        QPointer<QAbstractItemView> view;
        QPersistentModelIndex cell;
        int link = -1;
        QPointer<QWidget> cursorOn;
        bool hadCursor = false;
        QCursor cursor;
    } hover_;
    // The link a left press went down on, until its release.
    struct Press {
        QPointer<QAbstractItemView> view;
        QPersistentModelIndex cell;
        int link = -1;
    } press_;
};

} // namespace gridgauge::gridkit::detail
