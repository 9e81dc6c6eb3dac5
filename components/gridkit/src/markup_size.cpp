// The engine lays a document out in the box it is given and tells where each element went, and
// what of it shows. The size a document asks for is the smallest box in which all that shows in a
// box larger than any cell still shows whole, on as many lines: found by halving, the width first
// with room to spare below, then the height at that width.
#include "markup_size.h"

#include "gridgauge/markup/markup.h"

#include <cmath>
#include <vector>

namespace gridkit::detail {

namespace {

constexpr double kRoom = 8192;

bool covers(const QRectF& clip, const QRectF& r) {
    constexpr double e = 0.01;
    return r.isEmpty() || clip.adjusted(-e, -e, e, e).contains(r);
}

bool whole(const markup::ElementBox& box) {
    return !box.clip.isEmpty() && covers(box.clip, box.bounds) && covers(box.clip, box.text);
}

class Fit {
public:
    Fit(const markup::Document& document, const QFont& font)
        : document_(document)
        , font_(font) {
        for (const markup::ElementBox& box : markup::layoutBoxes(document, {kRoom, kRoom}, font)) {
            shown_.push_back(whole(box));
            lines_ += box.lines.size();
        }
    }

    bool fits(const QSizeF& size) const {
        const QList<markup::ElementBox> boxes = markup::layoutBoxes(document_, size, font_);
        qsizetype lines = 0;
        for (qsizetype i = 0; i < boxes.size(); ++i) {
            lines += boxes[i].lines.size();
            if (shown_[size_t(i)] && !whole(boxes[i]))
                return false;
        }
        return lines <= lines_;
    }

    // The least whole number of pixels, up to kRoom, for which fits(at(n)) holds.
    template <typename At> double least(At at) const {
        if (fits(at(0.0)))
            return 0;
        double low = 0, high = kRoom;
        while (high - low > 1) {
            const double middle = std::floor((low + high) / 2);
            (fits(at(middle)) ? high : low) = middle;
        }
        return high;
    }

private:
    const markup::Document& document_;
    const QFont& font_;
    std::vector<bool> shown_;
    qsizetype lines_ = 0;
};

} // namespace

QSizeF markupSize(const markup::Document& document, const QFont& font) {
    const Fit fit(document, font);
    const double width = fit.least([](double w) { return QSizeF(w, kRoom); });
    const double height = fit.least([width](double h) { return QSizeF(width, h); });
    return QSizeF(width, height);
}

} // namespace gridkit::detail
