#pragma once

#include "status_badge.h"

#include <QAbstractTableModel>
#include <QTimer>

#include <vector>

// Ten thousand downloads, a few at a time: each tick of its timer moves the running ones on, and a
// finished one makes room for the next in the queue.
class DownloadsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Progress, Status, ColumnCount };

    explicit DownloadsModel(int rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Starts moving the downloads on, one step every interval milliseconds.
    void start(int interval);

private:
    struct Download {
        double percent = 0;
        double speed = 0; // percent per tick
    };
    DownloadState stateOf(const Download& download) const;
    void tick();

    std::vector<Download> downloads_;
    int running_ = 0; // the rows [first_, first_ + running_) are downloading
    int first_ = 0;
    QTimer timer_;
};
