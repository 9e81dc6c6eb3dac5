#include "accessible_news.h"

#include "gridgauge/gridkit/report_grid.h"

#include <QAccessibleInterface>
#include <QWindow>

namespace gridgauge::gridkit::detail {

namespace {

// The notification: a leaf of the grid's table, named by what it tells, over the cells it tells
// of. It is in no list of the table's children: nothing reaches it but its own news.
class NoticeAccessible : public QAccessibleInterface {
public:
    explicit NoticeAccessible(ReportGrid* grid)
        : grid_(grid) {}

    void tell(const QString& text, const QRect& where) {
        text_ = text;
        where_ = where;
    }

    bool isValid() const override { return grid_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? text_ : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return where_; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }

private:
    QPointer<ReportGrid> grid_;
    QString text_;
    QRect where_;
};

} // namespace

RowNews::RowNews(ReportGrid* grid)
    : grid_(grid) {}

RowNews::~RowNews() {
    if (notice_)
        QAccessible::deleteAccessibleInterface(notice_);
}

bool RowNews::add(const QString& text, const QRect& where) {
    where_ = pending_.isEmpty() ? where : where_.united(where);
    pending_.append(text);
    return pending_.size() == 1;
}

void RowNews::publish() {
    const QStringList news = std::exchange(pending_, {});
    if (news.isEmpty() || !grid_ || !QAccessible::isActive())
        return;
    if (!notice_)
        notice_ = QAccessible::registerAccessibleInterface(new NoticeAccessible(grid_.data()));
    auto* notice = static_cast<NoticeAccessible*>(QAccessible::accessibleInterface(notice_));
    notice->tell(news.join(QStringLiteral(", ")), where_);
    QAccessibleEvent event(notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
}

} // namespace gridgauge::gridkit::detail
