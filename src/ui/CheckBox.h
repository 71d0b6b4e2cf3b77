#pragma once
#include <QCheckBox>

// A category box reacts to a click anywhere on it, not only on the
// indicator and the text: the rows are small targets.
class CheckBox final : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
};
