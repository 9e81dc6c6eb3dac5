#pragma once

#include <QWidget>

class QStyleOptionProgressBar;

namespace controlkit {

// ControlKit.ProgressBar: a horizontal bar for a value in [minimum, maximum], drawn by the style as
// its progress bars are (frame, groove, chunk) on its background colour, the chunk in its bar
// colour, filled from the reading side: the left, or the right in a right-to-left layout. The value
// is the control's default member. A value written outside the range is clamped into it, so
// stepping past either end holds the end instead of failing. It shows and never reacts: the pointer
// reaches whatever lies under it.
class ProgressBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged USER true)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(uint foreColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(uint backColor READ backColor WRITE setBackColor)
    Q_PROPERTY(uint barColor READ barColor WRITE setBarColor)

public:
    explicit ProgressBar(QWidget* parent = nullptr);

    int value() const { return value_; }
    void setValue(int value);
    int minimum() const { return minimum_; }
    void setMinimum(int minimum); // a minimum above the maximum throws 380
    int maximum() const { return maximum_; }
    void setMaximum(int maximum); // a maximum below the minimum throws 380

    // Drawn centred on the bar; empty shows no text.
    QString text() const { return text_; }
    void setText(const QString& text);

    // Colour values as the host takes them: fixed, or system colours, which follow the
    // application's palette. An invalid one throws 380 and changes nothing.
    uint foreColor() const { return foreColor_; }
    void setForeColor(uint color);
    uint backColor() const { return backColor_; }
    void setBackColor(uint color);
    uint barColor() const { return barColor_; }
    void setBarColor(uint color);

    QSize sizeHint() const override;

signals:
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintBar(QPainter& painter, const QStyleOptionProgressBar& option) const;

    int value_ = 0;
    int minimum_ = 0;
    int maximum_ = 100;
    QString text_;
    uint foreColor_;
    uint backColor_;
    uint barColor_;
};

} // namespace controlkit
