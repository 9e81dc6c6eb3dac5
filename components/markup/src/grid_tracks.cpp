#include "grid_tracks.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace gridgauge::markup::layout {
namespace {

bool isZero(double v) {
    return std::abs(v) < 1e-14;
}

bool close(double a, double b) {
    return a == b || std::abs(a - b) <= 1e-14 * std::max({1.0, std::abs(a), std::abs(b)});
}

enum class Choice { None, Min, Max };

// Which limit to settle first, given the smallest weight-to-minimum ratio, the largest
// weight-to-maximum ratio and the current weight per pixel: the one farther from the proportion.
Choice choose(double minRatio, double maxRatio, double proportion) {
    if (minRatio < proportion) {
        if (maxRatio > proportion) {
            // proportion / minRatio against maxRatio / proportion, in logarithms: the ratios of
            // tiny limits would overflow a product.
            return 2 * std::log(proportion) > std::log(minRatio) + std::log(maxRatio) ? Choice::Min
                                                                                      : Choice::Max;
        }
        return Choice::Min;
    }
    return maxRatio > proportion ? Choice::Max : Choice::None;
}

// shareByWeight's rounds: each settles the stars whose share would break a limit, the farthest
// off first, and opens again those a later settlement shows were settled too soon.
class WeightSharing {
public:
    WeightSharing(std::vector<StarShare>& stars, double available)
        : stars_(stars)
        , available_(available)
        , state_(stars.size(), Pending)
        , pending_(stars.size()) {}

    void run() {
        // Each round settles at least one star, and a round is repeated only after one settled;
        // the bound is a guard, not a rule.
        for (size_t round = 0; round <= stars_.size(); ++round) {
            listLimited();
            settleLimits();
            if (!reopenSettled())
                break;
        }
        shareRest();
    }

private:
    enum State : quint8 { Pending, AtMin, AtMax };

    double upper(size_t i) const { return std::max(stars_[i].min, stars_[i].max); }
    double minRatio(size_t i) const { return stars_[i].weight / stars_[i].min; }
    double maxRatio(size_t i) const { return stars_[i].weight / upper(i); }
    double pendingWeight() const;
    void listLimited();
    void settleLimits();
    void settle(size_t i, State at);
    // The count of list's front entries still pending, the settled ones at its back dropped.
    size_t pendingCount(const std::vector<size_t>& list, size_t count) const;
    bool reopenSettled();
    void shareRest();

    std::vector<StarShare>& stars_;
    const double available_;
    std::vector<quint8> state_;
    std::vector<size_t> minList_, maxList_, settled_;
    size_t pending_;
    double taken_ = 0;
};

double WeightSharing::pendingWeight() const {
    double total = 0;
    for (size_t i = 0; i < stars_.size(); ++i)
        total += state_[i] == Pending ? stars_[i].weight : 0;
    return total;
}

// What the settled stars take, and the pending ones that have a limit, each list read from the
// back: the smallest weight-to-minimum and the largest weight-to-maximum first.
void WeightSharing::listLimited() {
    taken_ = 0;
    minList_.clear();
    maxList_.clear();
    settled_.clear();
    for (size_t i = 0; i < stars_.size(); ++i) {
        if (state_[i] != Pending) {
            taken_ += stars_[i].size;
            continue;
        }
        if (stars_[i].min > 0)
            minList_.push_back(i);
        if (std::isfinite(upper(i)))
            maxList_.push_back(i);
    }
    std::stable_sort(minList_.begin(), minList_.end(),
                     [&](size_t a, size_t b) { return minRatio(a) > minRatio(b); });
    std::stable_sort(maxList_.begin(), maxList_.end(),
                     [&](size_t a, size_t b) { return maxRatio(a) < maxRatio(b); });
}

void WeightSharing::settleLimits() {
    double total = pendingWeight();
    double takenWeight = 0;
    size_t minCount = minList_.size(), maxCount = maxList_.size();
    while (minCount + maxCount > 0 && available_ - taken_ > 0) {
        // Subtracting nearly equal weights loses their precision: count them afresh.
        if (total - takenWeight < total / 256) {
            total = pendingWeight();
            takenWeight = 0;
        }
        const double proportion = (total - takenWeight) / (available_ - taken_);
        const Choice choice = choose(minCount ? minRatio(minList_[minCount - 1]) : kInfinity,
                                     maxCount ? maxRatio(maxList_[maxCount - 1]) : -1, proportion);
        if (choice == Choice::None)
            break;
        const size_t i = choice == Choice::Min ? minList_[--minCount] : maxList_[--maxCount];
        settle(i, choice == Choice::Min ? AtMin : AtMax);
        takenWeight += stars_[i].weight;
        minCount = pendingCount(minList_, minCount);
        maxCount = pendingCount(maxList_, maxCount);
    }
}

void WeightSharing::settle(size_t i, State at) {
    state_[i] = at;
    stars_[i].size = at == AtMin ? stars_[i].min : upper(i);
    settled_.push_back(i);
    taken_ += stars_[i].size;
    --pending_;
}

size_t WeightSharing::pendingCount(const std::vector<size_t>& list, size_t count) const {
    while (count > 0 && state_[list[count - 1]] != Pending)
        --count;
    return count;
}

// Space left over with every star settled: those held at their minimum may take more. Space
// overspent: those held at their maximum may take less. Returns whether any may.
bool WeightSharing::reopenSettled() {
    const quint8 reopen = pending_ == 0 && taken_ < available_ ? AtMin
                          : taken_ > available_                ? AtMax
                                                               : Pending;
    if (reopen == Pending)
        return false;
    bool reopened = false;
    for (size_t i : settled_) {
        if (state_[i] == reopen) {
            state_[i] = Pending;
            ++pending_;
            reopened = true;
        }
    }
    return reopened;
}

// The rest share what is left by weight, the smaller weights summed first for precision.
void WeightSharing::shareRest() {
    std::vector<size_t> order;
    for (size_t i = 0; i < stars_.size(); ++i) {
        if (state_[i] == Pending)
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return stars_[a].weight < stars_[b].weight; });
    std::vector<double> partial(order.size());
    double sum = 0;
    for (size_t k = 0; k < order.size(); ++k)
        partial[k] = sum += stars_[order[k]].weight;
    for (size_t k = order.size(); k-- > 0;) {
        StarShare& s = stars_[order[k]];
        const double share =
            s.weight > 0 ? std::max(available_ - taken_, 0.0) * (s.weight / partial[k]) : 0;
        s.size = std::max(s.min, std::min(share, s.max));
        taken_ += s.size;
    }
}

} // namespace

void shareByWeight(std::vector<StarShare>& stars, double available) {
    WeightSharing(stars, available).run();
}

void Tracks::reset(const Definition* definitions, int count, bool starsAsAuto) {
    static const Definition implicit;
    if (count <= 0) {
        definitions = &implicit;
        count = 1;
    }
    tracks_.clear();
    for (int i = 0; i < count; ++i) {
        const Definition& d = definitions[i];
        Track t{d.unit, Auto, d.value, d.min, d.max};
        double userSize = kInfinity;
        double userMin = d.min;
        if (d.unit == Definition::Unit::Pixel) {
            t.type = Pixel;
            userSize = d.value;
            // A pixel track is never squeezed below its own size.
            userMin = std::max(userMin, std::min(userSize, d.max));
        } else if (d.unit == Definition::Unit::Star && !starsAsAuto) {
            t.type = Star;
        }
        t.minSize = userMin;
        t.measureSize = std::max(userMin, std::min(userSize, d.max));
        tracks_.push_back(t);
    }
}

quint8 Tracks::typesOf(int start, int count) const {
    quint8 types = 0;
    for (int i = start; i < start + count; ++i)
        types |= tracks_[size_t(i)].type;
    return types;
}

bool Tracks::hasStars() const {
    return std::any_of(tracks_.begin(), tracks_.end(),
                       [](const Track& t) { return t.type == Star; });
}

double Tracks::measureSizeOf(int start, int count) const {
    double size = 0;
    for (int i = start; i < start + count; ++i)
        size += tracks_[size_t(i)].offered();
    return size;
}

void Tracks::growMin(int i, double size) {
    Track& t = tracks_[size_t(i)];
    t.minSize = std::max(t.minSize, size);
}

void Tracks::ensureMinSize(int start, int count, double requested) {
    if (isZero(requested))
        return;
    const SpanRange range = spanRange(start, count);
    if (requested <= range.min)
        return;
    if (requested <= range.preferred)
        growToPreferred(range, requested);
    else if (requested <= range.max)
        growToMax(range, requested);
    else
        growPastMax(range, requested);
}

// Lists the spanned tracks in order_ and their caps in caps_.
Tracks::SpanRange Tracks::spanRange(int start, int count) {
    SpanRange range;
    order_.clear();
    caps_.resize(tracks_.size());
    for (int i = start; i < start + count; ++i) {
        const Track& t = tracks_[size_t(i)];
        const double cap = caps_[size_t(i)] = std::max(t.userMax, t.minSize);
        range.min += t.minSize;
        range.preferred += t.preferred();
        range.max += cap;
        range.largestCap = std::max(range.largestCap, cap);
        range.autos += isAuto(i);
        order_.push_back(i);
    }
    return range;
}

// Within the preferred sizes: Auto tracks stay tight, the others grow evenly, the smallest
// first, none past its preferred size.
void Tracks::growToPreferred(const SpanRange& range, double requested) {
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        if (isAuto(a) != isAuto(b))
            return isAuto(a);
        return isAuto(a) ? minSize(a) < minSize(b) : track(a).preferred() < track(b).preferred();
    });
    const int count = int(order_.size());
    double rest = requested;
    int k = 0;
    for (; k < range.autos; ++k)
        rest -= minSize(order_[size_t(k)]);
    for (; k < count; ++k) {
        Track& t = track(order_[size_t(k)]);
        const double size = std::min(rest / (count - k), t.preferred());
        t.minSize = std::max(t.minSize, size);
        rest -= size;
    }
}

// Past the preferred sizes but within the caps: the others grow evenly from their preferred
// sizes, Auto tracks only with what is still missing.
void Tracks::growToMax(const SpanRange& range, double requested) {
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        if (isAuto(a) != isAuto(b))
            return !isAuto(a);
        return caps_[size_t(a)] < caps_[size_t(b)];
    });
    const int count = int(order_.size()), others = count - range.autos;
    double rest = requested - range.preferred;
    int k = 0;
    for (; k < others; ++k) {
        const int i = order_[size_t(k)];
        Track& t = track(i);
        const double preferred = t.preferred();
        const double size = preferred + rest / (others - k);
        t.minSize = std::max(t.minSize, std::min(size, caps_[size_t(i)]));
        rest -= t.minSize - preferred;
    }
    for (; k < count; ++k) {
        const int i = order_[size_t(k)];
        Track& t = track(i);
        const double before = t.minSize;
        const double size = before + rest / (count - k);
        t.minSize = std::max(t.minSize, std::min(size, caps_[size_t(i)]));
        rest -= t.minSize - before;
    }
}

// Past every cap: all grow, the smaller faster, towards equal sizes.
void Tracks::growPastMax(const SpanRange& range, double requested) {
    const int count = int(order_.size());
    const double equal = requested / count;
    if (equal < range.largestCap && !close(equal, range.largestCap)) {
        const double room = range.largestCap * count - range.max;
        const double rest = requested - range.max;
        for (int i : order_) {
            const double cap = caps_[size_t(i)];
            growMin(i, cap + (range.largestCap - cap) * rest / room);
        }
    } else {
        for (int i : order_)
            growMin(i, equal);
    }
}

void Tracks::resolveStars(double available) {
    std::vector<StarShare> stars;
    double taken = 0;
    for (const Track& t : tracks_) {
        if (t.type == Star)
            stars.push_back({t.value, t.minSize, t.userMax});
        else
            taken += t.offered();
    }
    shareByWeight(stars, available - taken);
    auto s = stars.begin();
    for (Track& t : tracks_) {
        if (t.type == Star)
            t.measureSize = (s++)->size;
    }
}

double Tracks::desiredSize() const {
    return std::accumulate(tracks_.begin(), tracks_.end(), 0.0,
                           [](double sum, const Track& t) { return sum + t.minSize; });
}

void Tracks::arrange(double length) {
    std::vector<StarShare> stars;
    double taken = 0;
    for (Track& t : tracks_) {
        if (t.unit == Definition::Unit::Star) {
            stars.push_back({t.value, t.minSize, t.userMax});
            continue;
        }
        const double size = t.unit == Definition::Unit::Pixel ? t.value : t.minSize;
        t.finalSize = std::max(t.minSize, std::min(size, t.userMax));
        taken += t.finalSize;
    }
    shareByWeight(stars, length - taken);
    auto s = stars.begin();
    double offset = 0;
    for (Track& t : tracks_) {
        if (t.unit == Definition::Unit::Star)
            t.finalSize = (s++)->size;
        t.offset = offset;
        offset += t.finalSize;
    }
}

double Tracks::finalSizeOf(int start, int count) const {
    double size = 0;
    for (int i = start; i < start + count; ++i)
        size += tracks_[size_t(i)].finalSize;
    return size;
}

} // namespace gridgauge::markup::layout
