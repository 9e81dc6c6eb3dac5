#pragma once

#include <QList>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <utility>
#include <vector>

namespace host {

class Timer;

// How a control is made at design time. Positions are twips in the form's client area.
struct ControlDescription {
    enum class Kind { Hosted, Timer };

    QString name;
    int index = -1; // position in a control array, -1 for a single control
    Kind kind = Kind::Hosted;
    QString className; // for hosted controls: the registry's class name
    int left = 0, top = 0, width = 0, height = 0;
    int tabIndex = -1;                                     // -1: not in the tab order
    std::vector<std::pair<QByteArray, QVariant>> settings; // property name, value, in this order
};

struct FormDescription {
    QString caption;
    int clientLeft = 0, clientTop = 0;        // twips on the screen
    int clientWidth = 0, clientHeight = 0;    // twips
    std::vector<ControlDescription> controls; // in creation order
};

// A control whose client area shows cells that other controls may be laid over (a grid) says so
// with a QRegion property named "overlayArea": where its cells show, in its own coordinates (not
// its header, not its scroll bars), with a notify signal for when that changes. The host needs
// nothing else of it, so such a control needs nothing of the host.
// A top-level window whose client area hosts controls. Its scale is twips; it raises Load when
// asked to load and Resize whenever its client area changes size, the first time when it is shown.
//
// The first time it is shown, it stays at its design-time position when the whole window fits the
// available area of the screen there, and is otherwise moved, never resized, just enough to fit.
//
// A control brought to front over a control with an overlay area is laid over its cells: from then
// on it shows only where those cells show, never over the other control's header or scroll bars
// nor over the controls that lie in front of it, and not at all while the cells under it are
// scrolled out of view. Where it lies is still only what move() made it.
class Form : public QWidget {
    Q_OBJECT

public:
    // Creates the window and its controls in the description's order; each later control lies in
    // front of the earlier ones, and the tab order follows the controls' tab indexes.
    explicit Form(const FormDescription& description, QWidget* parent = nullptr);
    ~Form() override;

    QString caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }

    // The client area in twips.
    float scaleWidth() const;
    float scaleHeight() const;

    // Raises Load. Called once by start-up, before the window is shown.
    void load();

    // A control made from the description, by name and array index; absent ones throw 9 for a
    // missing array member and 91 for an unknown name.
    QWidget* control(const QString& name, int index = -1) const;
    host::Timer* timer(const QString& name) const;
    // Hosted controls in creation order.
    QList<QWidget*> controls() const;

signals:
    void Load();
    void Resize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend void bringToFront(QWidget& control);
    struct LaidOver {
        QPointer<QWidget> control;
        QPointer<QWidget> over; // the overlay-area control whose cells it lies over
    };
    void layOver(QWidget& control);
    void confine(const LaidOver& laid) const;
    Q_SLOT void confineAll();
    bool isLaidOver(const QWidget* control) const;

    bool placed_ = false;
    std::vector<LaidOver> laidOver_;
    struct Entry {
        QString name;
        int index;
        QObject* object;
    };
    QObject* find(const QString& name, int index) const;

    std::vector<Entry> entries_;
};

// Host operations on any hosted control. Arguments are twips in the parent's client area; the
// position is rounded to whole pixels, half to even, and a negative size counts as 0.
void move(QWidget& control, double left, double top, double width, double height);
// Brings the control in front of its siblings (z-order position 0); on a form, this lays it over
// the cells of the control with an overlay area that it overlaps.
void bringToFront(QWidget& control);

} // namespace host
