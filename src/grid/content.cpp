// The grid's whole content, made once at start-up.
#include "app/frm_main.h"

#include "grid/grid_control.h"
#include "gridgauge/host/checked.h"

using namespace host;

void frmMain::CreateColumns() {
    for (qint16 i = 0; i <= 3; i = checked::add16(i, 1)) {
        const QString caption = QStringLiteral("Col ") + QString::number(i);
        report::Column column = wndReportControlData->columns().add(qint32(i), caption, 100, true);
        column.setTooltip(QStringLiteral("Sort ") + column.caption());
    }
}

void frmMain::CreateRecords() {
    for (qint16 i = 0; i <= 10; i = checked::add16(i, 1)) {
        report::Record record = wndReportControlData->records().add();
        for (qint32 j = 0; j <= 3; j = checked::add(j, 1))
            record.addItem(QString());
    }
    wndReportControlData->rebuild();

    {
        report::ItemControl up =
            wndReportControlData->rows().row(1).record().item(0).itemControls().add(1);
        up.setCaption(QStringLiteral("Up"));
        up.setEnabled(true);
        up.setAlignment(16);
    }
    {
        report::ItemControl down =
            wndReportControlData->rows().row(1).record().item(2).itemControls().add(2);
        down.setCaption(QStringLiteral("Down"));
        down.setEnabled(true);
        down.setAlignment(16);
    }
    {
        report::Item allowDrag = wndReportControlData->rows().row(2).record().item(2);
        allowDrag.setHasCheckBox(true);
        allowDrag.setCaption(QStringLiteral("Allow drag"));
    }
    wndReportControlData->rows().row(0).record().item(3).setCaption(
        QStringLiteral("Thanks to Gridwright (original control)"));
    wndReportControlData->rows().row(1).record().item(3).setCaption(
        QStringLiteral("Thanks to Maravel"));
    wndReportControlData->rows().row(2).record().item(3).setCaption(
        QStringLiteral("Thanks to Maravel"));

    wndReportControlData->rebuild();
}
