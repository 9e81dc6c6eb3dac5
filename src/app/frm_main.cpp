#include "frm_main.h"

#include "controlkit/label.h"
#include "controlkit/progress_bar.h"
#include "gridkit/report_grid.h"
#include "host/dispatcher.h"
#include "host/form.h"
#include "host/runtime_error.h"
#include "host/timer.h"

namespace {

template <typename T> T* typed(QWidget* control)
{
    auto* typed = qobject_cast<T*>(control);
    if (!typed)
        throw host::RuntimeError(host::TypeMismatch);
    return typed;
}

} // namespace

frmMain::frmMain()
    : host::Form(designTime())
    , wndReportControlData(typed<gridkit::ReportGrid>(control(QStringLiteral("wndReportControlData"))))
    , Timer1(timer(QStringLiteral("Timer1")))
    , Shape1{typed<controlkit::Label>(control(QStringLiteral("Shape1"), 0)),
             typed<controlkit::Label>(control(QStringLiteral("Shape1"), 1)),
             typed<controlkit::Label>(control(QStringLiteral("Shape1"), 2))}
    , ProgressBar1(typed<controlkit::ProgressBar>(control(QStringLiteral("ProgressBar1"))))
{
    host::connectHandler(this, &host::Form::Load, this, [this] { Form_Load(); });
    host::connectHandler(this, &host::Form::Resize, this, [this] { Form_Resize(); });
}

frmMain::~frmMain() = default;

void frmMain::Form_Load()
{
    ProgressBar1->setValue(qint16(75));
    Timer1->setEnabled(true);
}

void frmMain::Form_Resize()
{
    const float W = scaleWidth();
    const float H = scaleHeight();
    host::move(*wndReportControlData, 0, 0, W, H);
}
