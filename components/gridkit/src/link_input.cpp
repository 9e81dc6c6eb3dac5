#include "link_input.h"

#include "delegate_drawings.h"

#include "gridgauge/gridkit/report_grid.h"
#include "gridgauge/markup/markup.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QtMath>

#include <algorithm>
#include <utility>

namespace gridgauge::gridkit::detail {

namespace {

bool isActivationKey(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           !(key.modifiers() & ~Qt::KeypadModifier);
}

// A report grid hands its delegates Return and Enter itself, and reports every move over it.
bool isReportGrid(const QAbstractItemView* view) {
    return qobject_cast<const ReportGrid*>(view) != nullptr;
}

QPoint pixelAt(const QPointF& position) {
    return QPoint(qFloor(position.x()), qFloor(position.y()));
}

// A link's text as a menu entry: one line, its ampersands no mnemonics.
QString menuText(const ShownLink& link) {
    QString entry = (link.text.trimmed().isEmpty() ? link.target : link.text).simplified();
    return entry.replace(u'&', QStringLiteral("&&"));
}

} // namespace

LinkInput::LinkInput(QAbstractItemDelegate* delegate, LinkHost& host, DelegateDrawings& drawings)
    : QObject(delegate)
    , delegate_(delegate)
    , host_(host)
    , drawings_(drawings) {}

LinkInput::~LinkInput() {
    restoreCursor();
}

LinkInput* LinkInput::of(const QAbstractItemDelegate* delegate) {
    return delegate ? delegate->findChild<LinkInput*>(QString(), Qt::FindDirectChildrenOnly)
                    : nullptr;
}

void LinkInput::painted(const QWidget* view, const gridgauge::markup::Drawing& drawing) {
    if (!view || watched_.contains(view) || drawing.links().isEmpty())
        return;
    watched_.insert(view);
    connect(view, &QObject::destroyed, this, [this, view] { watched_.remove(view); });
    if (auto* itemView = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(view)))
        watch(itemView);
}

void LinkInput::watch(QAbstractItemView* view) {
    // The hover is told by moves without a button held.
    view->viewport()->setMouseTracking(true);
    view->viewport()->installEventFilter(this);
    if (!isReportGrid(view))
        view->installEventFilter(this);
}

QAbstractItemView* LinkInput::viewOf(QObject* watched) const {
    if (auto* view = qobject_cast<QAbstractItemView*>(watched))
        return view;
    auto* view = watched ? qobject_cast<QAbstractItemView*>(watched->parent()) : nullptr;
    return view && view->viewport() == watched ? view : nullptr;
}

bool LinkInput::interactive(const QAbstractItemView& view, const QModelIndex& index) {
    return index.isValid() && view.isEnabled() && index.flags().testFlag(Qt::ItemIsEnabled);
}

QList<ShownLink> LinkInput::links(const QAbstractItemView& view, const QModelIndex& index) const {
    QList<ShownLink> shown;
    if (!index.isValid() || view.itemDelegateForIndex(index) != delegate_)
        return shown;
    const QString caption = host_.linkCaption(index);
    gridgauge::markup::Drawing* drawing =
        caption.isNull() ? nullptr : drawings_.find(&view, index, caption);
    const QList<gridgauge::markup::Link> all =
        drawing ? drawing->links() : QList<gridgauge::markup::Link>();
    if (all.isEmpty())
        return shown;
    // The links' rectangles are where the cell was at the drawing's last paint; one that has
    // another size since shows another layout, which its next paint will tell.
    const QRect painted = drawings_.painted(&view, index);
    const QRect cell = view.visualRect(index);
    const bool placed = !painted.isEmpty() && painted.size() == cell.size();
    const QPointF moved = cell.topLeft() - painted.topLeft();
    for (int i = 0; i < int(all.size()); ++i) {
        const QList<QRectF> rects = all[i].rects();
        if (!painted.isEmpty() && rects.isEmpty())
            continue; // cut off or hidden at the last paint
        ShownLink link{i, all[i].target(), all[i].text(), {}};
        if (placed) {
            for (const QRectF& rect : rects)
                link.rects.append(rect.translated(moved));
        }
        shown.append(link);
    }
    return shown;
}

int LinkInput::linkAt(const QAbstractItemView& view, const QModelIndex& index,
                      const QPointF& position) const {
    if (!interactive(view, index))
        return -1;
    for (const ShownLink& link : links(view, index)) {
        for (const QRectF& rect : link.rects) {
            if (rect.contains(position))
                return link.link;
        }
    }
    return -1;
}

bool LinkInput::editorEvent(QAbstractItemView* view, const QModelIndex& index, QEvent* event) {
    if (!view || !event)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (mouse.button() != Qt::LeftButton)
            return false;
        const int link = linkAt(*view, index, mouse.position());
        if (link < 0)
            return false;
        // The second press of a double click activates nothing again: one link, one activation.
        if (event->type() == QEvent::MouseButtonPress)
            press_ = {view, index, link};
        return true;
    }
    case QEvent::KeyPress:
        return isActivationKey(static_cast<const QKeyEvent&>(*event)) &&
               activateFromKeyboard(view, index);
    default:
        return false;
    }
}

bool LinkInput::activateFromKeyboard(QAbstractItemView* view, const QModelIndex& index) {
    if (!view || !interactive(*view, index))
        return false;
    const QList<ShownLink> shown = links(*view, index);
    if (shown.isEmpty())
        return false;
    if (shown.size() == 1)
        activate(view, index, shown.front().link);
    else
        offerMenu(view, index, shown);
    return true;
}

bool LinkInput::activate(QAbstractItemView* view, const QModelIndex& index, int link) {
    if (!view || !interactive(*view, index))
        return false;
    const QList<ShownLink> shown = links(*view, index);
    const auto found = std::find_if(shown.begin(), shown.end(),
                                    [link](const ShownLink& each) { return each.link == link; });
    if (found == shown.end())
        return false;
    const QString target = found->target;
    // A handler may delete the view, or the delegate and this with it: nothing of either is
    // touched after a signal that is not known to have left both.
    const QPointer<QAbstractItemView> alive(view);
    const QPersistentModelIndex cell(index);
    host_.emitLinkActivated(index, target);
    if (auto* grid = qobject_cast<ReportGrid*>(alive.data()); grid && cell.isValid())
        emit grid->linkActivated(cell, target);
    return true;
}

void LinkInput::offerMenu(QAbstractItemView* view, const QModelIndex& index,
                          const QList<ShownLink>& links) {
    auto* menu = new QMenu(view);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QPointer<QAbstractItemView> on(view);
    const QPersistentModelIndex cell(index);
    for (const ShownLink& link : links) {
        QAction* action = menu->addAction(menuText(link));
        action->setStatusTip(link.target);
        // The cell may show something else by the time one is chosen: only the same link goes.
        connect(action, &QAction::triggered, this,
                [this, on, cell, which = link.link, target = link.target] {
                    if (!on || !cell.isValid())
                        return;
                    for (const ShownLink& now : this->links(*on, cell)) {
                        if (now.link == which && now.target == target) {
                            activate(on, cell, which);
                            return;
                        }
                    }
                });
    }
    // Below the cell, from its reading side.
    const QRect rect = view->visualRect(index);
    const QPoint corner = view->isRightToLeft()
                              ? rect.bottomRight() + QPoint(1 - menu->sizeHint().width(), 1)
                              : rect.bottomLeft() + QPoint(0, 1);
    menu->popup(view->viewport()->mapToGlobal(corner));
}

void LinkInput::hover(QAbstractItemView* view, const QModelIndex& cell, int link) {
    if (link < 0 && hover_.link < 0)
        return;
    if (link >= 0 && hover_.view == view && hover_.cell == cell && hover_.link == link)
        return;
    const QPointer<QAbstractItemView> left = hover_.view;
    const QPersistentModelIndex leftCell = hover_.cell;
    QString target;
    if (link < 0) {
        restoreCursor();
        hover_ = Hover{};
    } else {
        for (const ShownLink& shown : links(*view, cell)) {
            if (shown.link == link)
                target = shown.target;
        }
        if (hover_.cursorOn != view->viewport()) {
            restoreCursor();
            QWidget* viewport = view->viewport();
            hover_.cursorOn = viewport;
            hover_.hadCursor = viewport->testAttribute(Qt::WA_SetCursor);
            hover_.cursor = viewport->cursor();
            viewport->setCursor(Qt::PointingHandCursor);
        }
        hover_.view = view;
        hover_.cell = cell;
        hover_.link = link;
    }
    // As a label tells it: the target entered, or an empty one as the pointer leaves the link.
    // A handler may delete the view or the delegate: nothing is touched after the signals.
    const QPointer<QAbstractItemView> on(link < 0 ? left.data() : view);
    const QPersistentModelIndex at(link < 0 ? leftCell : QPersistentModelIndex(cell));
    host_.emitLinkHovered(at, target);
    if (auto* grid = qobject_cast<ReportGrid*>(on.data()))
        emit grid->linkHovered(at, target);
}

void LinkInput::restoreCursor() {
    if (QWidget* on = hover_.cursorOn) {
        if (hover_.hadCursor)
            on->setCursor(hover_.cursor);
        else
            on->unsetCursor();
    }
    hover_.cursorOn = nullptr;
}

bool LinkInput::release(QAbstractItemView* view, const QPointF& position) {
    const Press pressed = std::exchange(press_, Press{});
    const QModelIndex cell = view->indexAt(pixelAt(position));
    if (pressed.cell.isValid() && cell == pressed.cell &&
        linkAt(*view, cell, position) == pressed.link)
        activate(view, cell, pressed.link);
    // The release of a press the link took is the link's too: no click, no selection.
    return true;
}

bool LinkInput::eventFilter(QObject* watched, QEvent* event) {
    QAbstractItemView* view = viewOf(watched);
    if (!view)
        return false;
    const bool onViewport = watched == view->viewport();
    switch (event->type()) {
    case QEvent::MouseMove: {
        if (!onViewport)
            break;
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        const QPointF at = mouse.position();
        const QModelIndex cell = view->indexAt(pixelAt(at));
        const QPointer<QAbstractItemView> alive(view);
        hover(view, cell, linkAt(*view, cell, at));
        // A press held on a link starts no drag selection. A report grid selects nothing by
        // dragging and reports every move, so it sees them all.
        return !alive ||
               (press_.view == view && (mouse.buttons() & Qt::LeftButton) && !isReportGrid(view));
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // Every press begins anew; the delegate takes one on a link when the view hands it over.
        if (onViewport)
            press_ = Press{};
        break;
    case QEvent::Leave:
        if (onViewport)
            hover(view, QModelIndex(), -1);
        break;
    case QEvent::MouseButtonRelease: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (onViewport && press_.view == view && mouse.button() == Qt::LeftButton)
            return release(view, mouse.position());
        break;
    }
    case QEvent::KeyPress: {
        // Only the view's own: a key an open editor passes on to its parents is the editor's.
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (onViewport || !isActivationKey(key) || !view->hasFocus())
            break;
        const QModelIndex current = view->currentIndex();
        return view->itemDelegateForIndex(current) == delegate_ &&
               activateFromKeyboard(view, current);
    }
    default:
        break;
    }
    return false;
}

} // namespace gridgauge::gridkit::detail
