#pragma once

// The grid's records as a Qt table model: columns, records with their items and item controls,
// the rows made from the records at the last rebuild, and the order the rows are shown in.
// Model row n is the n-th row shown: record n, unless a sort put another record there. Column k
// is the k-th column added, and shows its item index of every record. What a cell shows is read
// in Qt's roles: the caption as Qt::DisplayRole, a check box as Qt::CheckStateRole, buttons as
// GridKit's button roles. The one write a view makes is a user's tick through setData(), which
// the model reports as userChecked(); the program's own writes come through the members below,
// which refuse what does not exist with host::RuntimeError, before changing anything.

#include <QAbstractTableModel>
#include <QString>

#include <memory>
#include <vector>

namespace report {

struct ControlData {
    qint32 id = 0;
    QString caption;
    bool enabled = true;
    qint16 alignment = 0;
};

struct ItemData {
    explicit ItemData(const QString& v)
        : value(v) {}
    QString value;
    QString caption;
    // Almost no item carries a control, so the list costs one pointer until it is used.
    std::unique_ptr<std::vector<ControlData>> controls;
    bool hasCheckBox = false;
    bool checked = false;

    qint32 controlCount() const { return controls ? qint32(controls->size()) : 0; }
};

struct ColumnData {
    qint32 itemIndex = 0;
    QString caption;
    QString tooltip;
    qint32 width = 0; // as added
    bool resizable = false;
};

class RecordsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit RecordsModel(QObject* parent = nullptr);
    ~RecordsModel() override;

    // --- the Qt model ---
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    void multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Stable and locale-aware, by the column's captions (a markup caption by its text, while
    // captions are read as markup); the rows keep their numbers.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // --- columns, by id (the order of adding) ---
    qint32 columnTotal() const { return qint32(columns_.size()); }
    const ColumnData& column(qint32 id) const; // 9 for one that does not exist
    qint32 findColumn(qint32 itemIndex) const; // -1 for none
    qint32 addColumn(qint32 itemIndex, const QString& caption, qint32 width, bool resizable);
    void setColumnCaption(qint32 id, const QString& caption);
    void setColumnTooltip(qint32 id, const QString& tooltip);

    // --- records and items; one that does not exist throws 9 ---
    qint32 recordCount() const { return qint32(records_.size()); }
    qint32 addRecord();
    qint32 itemCount(qint32 record) const;
    qint32 addItem(qint32 record, const QString& value);
    const ItemData& item(qint32 record, qint32 index) const;
    const ItemData* itemIfAny(qint32 record, qint32 index) const; // null, nothing thrown
    const ControlData& control(qint32 record, qint32 index, qint32 position) const;
    void setCaption(qint32 record, qint32 index, const QString& caption);
    void setHasCheckBox(qint32 record, qint32 index, bool hasCheckBox);
    void setChecked(qint32 record, qint32 index, bool checked);
    qint32 addControl(qint32 record, qint32 index, qint32 id);
    void setControlCaption(qint32 record, qint32 index, qint32 position, const QString& caption);
    void setControlEnabled(qint32 record, qint32 index, qint32 position, bool enabled);
    void setControlAlignment(qint32 record, qint32 index, qint32 position, qint16 alignment);

    // --- rows ---
    // Makes the rows anew from the records (row n shows record n); sorted rows are sorted again.
    void rebuild();
    qint32 rows() const { return rowCount_; }
    quint64 generation() const { return generation_; }
    // 91 for a row from before the last rebuild or a row that does not exist.
    void checkRow(quint64 generation, qint32 row) const;
    qint32 recordAt(qint32 position) const {
        return displayOrder_.empty() ? position : displayOrder_[std::size_t(position)];
    }
    qint32 positionOf(qint32 record) const {
        return displayPos_.empty() ? record : displayPos_[std::size_t(record)];
    }
    // Whether captions are read as markup, for sorting by what they read.
    void setMarkupCaptions(bool markup) { markupCaptions_ = markup; }
    // Shows the rows in record order again.
    void clearSort();

signals:
    // The user ticked or cleared the check box of an item (through a view's setData()).
    void userChecked(qint32 record, qint32 item);

private:
    ItemData& mutableItem(qint32 record, qint32 index);
    ControlData& mutableControl(qint32 record, qint32 index, qint32 position);
    const ItemData* cellItem(const QModelIndex& index) const;
    // Items of records without a row yet show nowhere: the rebuild that gives them one reports
    // the rows instead.
    void itemChanged(qint32 record, qint32 index);
    bool applySort(); // whether the order changed
    void reorder();

    std::vector<ColumnData> columns_; // by id
    std::vector<std::vector<ItemData>> records_;
    std::size_t itemsPerRecordHint_ = 0;
    qint32 rowCount_ = 0;
    quint64 generation_ = 1;
    bool markupCaptions_ = false;
    qint32 sortColumn_ = -1;
    bool sortDescending_ = false;
    std::vector<qint32> displayOrder_; // position -> record, empty while unsorted
    std::vector<qint32> displayPos_;   // record -> position
};

} // namespace report
