#include "report_grid.h"

#include "host/control_registry.h"

#include <QPainter>

namespace gridkit {

ReportGrid::ReportGrid(QWidget* parent)
    : QAbstractScrollArea(parent)
{
}

ReportGrid::~ReportGrid() = default;

void registerControls()
{
    host::ControlRegistry::instance().add(QStringLiteral("GridKit.ReportGrid"),
                                          [](QWidget* parent) { return new ReportGrid(parent); });
}

} // namespace gridkit

namespace gridkit {
bool Column::operator==(const Column& o) const { return id_ == o.id_; }
bool Item::operator==(const Item& o) const { return record_ == o.record_ && item_ == o.item_; }
bool Row::operator==(const Row& o) const { return row_ == o.row_ && generation_ == o.generation_; }
bool ItemControl::operator==(const ItemControl& o) const { return position_ == o.position_; }
} // namespace gridkit
