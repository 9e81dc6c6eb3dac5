#pragma once

// News of the row the user is on. A screen reader is told a cell's new name, but Orca 43 drops
// name changes of table cells, and Qt 6.4's AT-SPI bridge sends the object with a name change
// rather than the new text, which Orca cannot speak anyway. What Orca speaks of an object it is
// not on is a notification that shows: so what cells of the focused row read anew is shown as one,
// the news of one pass of the event loop together, once.

#include <QAccessible>
#include <QPointer>
#include <QRect>
#include <QStringList>

namespace gridgauge::gridkit {

class ReportGrid;

namespace detail {

class RowNews {
public:
    explicit RowNews(ReportGrid* grid);
    ~RowNews();
    RowNews(const RowNews&) = delete;
    RowNews& operator=(const RowNews&) = delete;

    // Keeps a cell's new text, shown on screen at where; answers whether it is the first news
    // since the last publish(), for the caller to have publish() run once the pass is over.
    bool add(const QString& text, const QRect& where);
    // Shows what was kept as one notification.
    void publish();

private:
    QPointer<ReportGrid> grid_;
    QAccessible::Id notice_ = 0; // made at the first news
    QStringList pending_;
    QRect where_;
};

} // namespace detail
} // namespace gridgauge::gridkit
