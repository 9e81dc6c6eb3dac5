#include "peer_table.h"
#include "peer_cells.h"

#include "app/frm_main.h"
#include "grid/grid_control.h"
#include "gridgauge/controlkit/progress_bar.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace bench {

void PeerDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    const QVariant progress = index.data(ProgressRole);
    if (progress.isValid()) {
        const QStyleOptionProgressBar bar =
            styledProgressBar(option.widget, option.rect.adjusted(1, 1, -1, -1), progress.toInt());
        style->drawControl(QStyle::CE_ProgressBar, &bar, painter, option.widget);
        return;
    }
    const QVariant button = index.data(ButtonRole);
    if (button.isValid()) {
        QStyleOptionButton push;
        push.initFrom(option.widget);
        push.rect = option.rect.adjusted(1, 1, -1, -1);
        push.text = button.toString();
        push.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        push.state |= QStyle::State_Raised;
        style->drawControl(QStyle::CE_PushButton, &push, painter, option.widget);
        return;
    }
    QStyledItemDelegate::paint(painter, option, index);
}

bool PeerDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                               const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() == QEvent::MouseMove && index.data(ProgressRole).isValid()) {
        const auto* move = static_cast<QMouseEvent*>(event);
        if ((move->buttons() & Qt::LeftButton) && option.rect.width() > 0) {
            const double share = (move->position().x() - option.rect.left()) / option.rect.width();
            model->setData(index, std::clamp(qRound(share * 100), 0, 100), ProgressRole);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

void PeerView::mousePressEvent(QMouseEvent* event) {
    pressed_ = indexAt(event->position().toPoint());
    QTableView::mousePressEvent(event);
}

void PeerView::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && pressed_.isValid() &&
        edit(pressed_, NoEditTriggers, event))
        return;
    QTableView::mouseMoveEvent(event);
}

namespace {

bool isProgressCell(int row, int column) {
    return row <= 2 && column == 1;
}

} // namespace

PeerWindow::PeerWindow(const frmMain& like)
    : model_(new QStandardItemModel(this))
    , view_(new PeerView) {
    report::Grid& grid = *like.wndReportControlData;
    const report::ColumnList columns = grid.columns();
    const report::RowList rows = grid.rows();
    model_->setColumnCount(columns.count());
    model_->setRowCount(rows.count());
    for (int c = 0; c < columns.count(); ++c)
        model_->setHeaderData(c, Qt::Horizontal, columns.column(c).caption());

    for (int r = 0; r < rows.count(); ++r) {
        const report::Record record = rows.row(r).record();
        for (int c = 0; c < record.itemCount(); ++c) {
            if (isProgressCell(r, c))
                continue;
            const report::Item item = record.item(c);
            auto* cell = new QStandardItem;
            const report::ItemControlList controls = item.itemControls();
            if (controls.count() > 0) {
                cell->setData(controls.at(0).caption(), ButtonRole);
            } else {
                cell->setText(item.caption());
                if (item.hasCheckBox()) {
                    cell->setCheckable(true);
                    cell->setCheckState(item.checked() ? Qt::Checked : Qt::Unchecked);
                }
            }
            model_->setItem(r, c, cell);
        }
    }

    view_->setParent(this);
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::NoSelection);
    view_->setItemDelegate(new PeerDelegate(view_));
    view_->setShowGrid(true);
    view_->setFrameShape(QFrame::NoFrame);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setMinimumSectionSize(1);
    view_->verticalHeader()->setDefaultSectionSize(grid.rowHeight());
    view_->horizontalHeader()->setFixedHeight(grid.headerHeight());
    view_->horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < columns.count(); ++c)
        view_->setColumnWidth(c, columns.column(c).width());

    bar_ = new QProgressBar;
    bar_->setRange(0, 100);
    view_->setIndexWidget(model_->index(0, 1), bar_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    resize(like.size());
}

void PeerWindow::refresh(int percent) {
    bar_->setValue(percent);
    model_->setData(model_->index(1, 1), percent, ProgressRole);
    const QModelIndex seeded = model_->index(2, 1);
    if (!seeded.data(ProgressRole).isValid())
        model_->setData(seeded, percent, ProgressRole);
    const QRect cell = view_->visualRect(model_->index(0, 1));
    bar_->setGeometry(cell.left(), cell.top(), cell.width(), 20);
    setWindowTitle(QStringLiteral("Progress percent: ") + QString::number(percent) +
                   QStringLiteral(" %"));
}

void PeerWindow::standInFor(frmMain& like) {
    like.hide();
    refresh(like.ProgressBar1->value());
    show();
}

} // namespace bench
