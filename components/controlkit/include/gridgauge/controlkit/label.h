#pragma once

#include <QLabel>

namespace controlkit {

// ControlKit.Label: a caption on a filled background that shows and never reacts: the pointer
// reaches whatever lies under it. Its tag is a second text that the host keeps for the control;
// assistive technology reads it as the label's description (a label the pointer passes through
// can show no tooltip).
class Label : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QString tag READ tag WRITE setTag)
    Q_PROPERTY(uint foreColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(uint backColor READ backColor WRITE setBackColor)

public:
    explicit Label(QWidget* parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    QString tag() const { return tag_; }
    void setTag(const QString& tag);

    // Colour values as the host takes them: fixed, or system colours, which follow the
    // application's palette. An invalid one throws 380 and changes nothing.
    uint foreColor() const { return foreColor_; }
    void setForeColor(uint color);
    uint backColor() const { return backColor_; }
    void setBackColor(uint color);

private:
    QString tag_;
    uint foreColor_;
    uint backColor_;
};

} // namespace controlkit
