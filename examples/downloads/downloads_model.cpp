#include "downloads_model.h"

#include <algorithm>

namespace {

constexpr int Parallel = 6;

} // namespace

DownloadsModel::DownloadsModel(int rows, QObject* parent)
    : QAbstractTableModel(parent)
    , downloads_(std::size_t(std::max(rows, 0))) {
    for (std::size_t row = 0; row < downloads_.size(); ++row)
        downloads_[row].speed = 0.4 + double((row * 37) % 23) / 10;
    // A window that opens mid-way: a few done, the next ones under way at different points.
    const int done = std::min(rows, 3);
    for (int row = 0; row < done; ++row)
        downloads_[std::size_t(row)].percent = 100;
    first_ = done;
    running_ = std::min(Parallel, rows - done);
    for (int i = 0; i < running_; ++i)
        downloads_[std::size_t(first_ + i)].percent = 12.0 * (i + 1);
    connect(&timer_, &QTimer::timeout, this, &DownloadsModel::tick);
}

int DownloadsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(downloads_.size());
}

int DownloadsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

DownloadState DownloadsModel::stateOf(const Download& download) const {
    if (download.percent >= 100)
        return DownloadState::Done;
    return download.percent > 0 ? DownloadState::Downloading : DownloadState::Queued;
}

QVariant DownloadsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const Download& download = downloads_[std::size_t(index.row())];
    switch (index.column()) {
    case Name:
        return QStringLiteral("release-%1.tar.xz").arg(index.row() + 1, 5, 10, QLatin1Char('0'));
    case Progress:
        return int(download.percent); // ProgressDelegate draws the number as its bar
    case Status:
        return statusBadge(stateOf(download), int(download.percent)); // MarkupDelegate draws it
    default:
        return {};
    }
}

QVariant DownloadsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Name:
        return QStringLiteral("File");
    case Progress:
        return QStringLiteral("Progress");
    case Status:
        return QStringLiteral("Status");
    default:
        return {};
    }
}

void DownloadsModel::start(int interval) {
    timer_.start(interval);
}

void DownloadsModel::tick() {
    if (running_ == 0)
        return;
    const int from = first_;
    const int last = first_ + running_ - 1;
    for (int row = first_; row <= last; ++row) {
        Download& download = downloads_[std::size_t(row)];
        download.percent = std::min(100.0, std::max(download.percent, 1.0) + download.speed);
    }
    // Finished ones at the front leave the window; the queue's next ones start.
    while (running_ > 0 && downloads_[std::size_t(first_)].percent >= 100) {
        ++first_;
        --running_;
    }
    const int end = std::min(int(downloads_.size()), first_ + Parallel);
    for (int row = first_ + running_; row < end; ++row, ++running_)
        downloads_[std::size_t(row)].percent = 1;
    // One notice for every row that changed: the view repaints the ones it shows.
    emit dataChanged(index(from, Progress), index(std::max(last, end - 1), Status),
                     {Qt::DisplayRole});
}
