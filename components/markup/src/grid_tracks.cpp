#include "grid_tracks.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace markup::layout {
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

} // namespace

void shareByWeight(std::vector<StarShare>& stars, double available) {
    const size_t n = stars.size();
    enum : quint8 { Pending, AtMin, AtMax };
    std::vector<quint8> state(n, Pending);
    std::vector<size_t> minList, maxList, settled;
    size_t pending = n;
    double taken = 0;
    const auto minRatio = [&](size_t i) { return stars[i].weight / stars[i].min; };
    const auto maxRatio = [&](size_t i) {
        return stars[i].weight / std::max(stars[i].min, stars[i].max);
    };
    const auto pendingWeight = [&] {
        double total = 0;
        for (size_t i = 0; i < n; ++i)
            total += state[i] == Pending ? stars[i].weight : 0;
        return total;
    };
    // Each round settles at least one star, and a round is repeated only after one settled;
    // the bound is a guard, not a rule.
    bool again = true;
    for (size_t round = 0; again && round <= n; ++round) {
        again = false;
        taken = 0;
        minList.clear();
        maxList.clear();
        settled.clear();
        for (size_t i = 0; i < n; ++i) {
            if (state[i] != Pending) {
                taken += stars[i].size;
                continue;
            }
            if (stars[i].min > 0)
                minList.push_back(i);
            if (std::isfinite(std::max(stars[i].min, stars[i].max)))
                maxList.push_back(i);
        }
        double total = pendingWeight();
        // Read from the back: the smallest weight-to-minimum and largest weight-to-maximum first.
        std::stable_sort(minList.begin(), minList.end(),
                         [&](size_t a, size_t b) { return minRatio(a) > minRatio(b); });
        std::stable_sort(maxList.begin(), maxList.end(),
                         [&](size_t a, size_t b) { return maxRatio(a) < maxRatio(b); });
        size_t minCount = minList.size(), maxCount = maxList.size();
        double takenWeight = 0;
        while (minCount + maxCount > 0 && available - taken > 0) {
            // Subtracting nearly equal weights loses their precision: count them afresh.
            if (total - takenWeight < total / 256) {
                total = pendingWeight();
                takenWeight = 0;
            }
            const double proportion = (total - takenWeight) / (available - taken);
            const Choice choice =
                choose(minCount ? minRatio(minList[minCount - 1]) : kInfinity,
                       maxCount ? maxRatio(maxList[maxCount - 1]) : -1, proportion);
            if (choice == Choice::None)
                break;
            const size_t i = choice == Choice::Min ? minList[--minCount] : maxList[--maxCount];
            state[i] = choice == Choice::Min ? AtMin : AtMax;
            stars[i].size =
                choice == Choice::Min ? stars[i].min : std::max(stars[i].min, stars[i].max);
            settled.push_back(i);
            taken += stars[i].size;
            takenWeight += stars[i].weight;
            --pending;
            while (minCount > 0 && state[minList[minCount - 1]] != Pending)
                --minCount;
            while (maxCount > 0 && state[maxList[maxCount - 1]] != Pending)
                --maxCount;
        }
        // Space left over with every star settled: those held at their minimum may take more.
        // Space overspent: those held at their maximum may take less.
        const quint8 reopen = pending == 0 && taken < available ? AtMin
                              : taken > available               ? AtMax
                                                                : Pending;
        for (size_t i : settled) {
            if (reopen != Pending && state[i] == reopen) {
                state[i] = Pending;
                ++pending;
                again = true;
            }
        }
    }
    // The rest share what is left by weight, the smaller weights summed first for precision.
    std::vector<size_t> order;
    for (size_t i = 0; i < n; ++i) {
        if (state[i] == Pending)
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return stars[a].weight < stars[b].weight; });
    std::vector<double> partial(order.size());
    double sum = 0;
    for (size_t k = 0; k < order.size(); ++k)
        partial[k] = sum += stars[order[k]].weight;
    for (size_t k = order.size(); k-- > 0;) {
        StarShare& s = stars[order[k]];
        double size = s.weight > 0 ? std::max(available - taken, 0.0) * (s.weight / partial[k]) : 0;
        size = std::max(s.min, std::min(size, s.max));
        s.size = size;
        taken += size;
    }
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
    for (int i = start; i < start + count; ++i) {
        const Track& t = tracks_[size_t(i)];
        size += t.type == Auto ? t.minSize : t.measureSize;
    }
    return size;
}

void Tracks::growMin(int i, double size) {
    Track& t = tracks_[size_t(i)];
    t.minSize = std::max(t.minSize, size);
}

void Tracks::ensureMinSize(int start, int count, double requested) {
    if (isZero(requested))
        return;
    double rangeMin = 0, rangePreferred = 0, rangeMax = 0, maxMax = 0;
    int autos = 0;
    order_.clear();
    std::vector<double> cap(
        static_cast<size_t>(count)); // each track's maximum, never below its minimum
    for (int k = 0; k < count; ++k) {
        const Track& t = tracks_[size_t(start + k)];
        cap[size_t(k)] = std::max(t.userMax, t.minSize);
        rangeMin += t.minSize;
        rangePreferred += t.preferred();
        rangeMax += cap[size_t(k)];
        maxMax = std::max(maxMax, cap[size_t(k)]);
        autos += t.unit == Definition::Unit::Auto;
        order_.push_back(k);
    }
    if (requested <= rangeMin)
        return;
    const auto track = [&](int k) -> Track& { return tracks_[size_t(start + k)]; };
    const auto isAuto = [&](int k) { return track(k).unit == Definition::Unit::Auto; };
    if (requested <= rangePreferred) {
        // Within the preferred sizes: Auto tracks stay tight, the others grow evenly, the
        // smallest first, none past its preferred size.
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            if (isAuto(a) != isAuto(b))
                return isAuto(a);
            return isAuto(a) ? track(a).minSize < track(b).minSize
                             : track(a).preferred() < track(b).preferred();
        });
        double rest = requested;
        int k = 0;
        for (; k < autos; ++k)
            rest -= track(order_[size_t(k)]).minSize;
        for (; k < count; ++k) {
            Track& t = track(order_[size_t(k)]);
            const double size = std::min(rest / (count - k), t.preferred());
            t.minSize = std::max(t.minSize, size);
            rest -= size;
        }
    } else if (requested <= rangeMax) {
        // Past the preferred sizes but within the maximums: the others grow evenly from their
        // preferred sizes, Auto tracks only with what is still missing.
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            if (isAuto(a) != isAuto(b))
                return !isAuto(a);
            return cap[size_t(a)] < cap[size_t(b)];
        });
        double rest = requested - rangePreferred;
        int k = 0;
        for (; k < count - autos; ++k) {
            Track& t = track(order_[size_t(k)]);
            const double preferred = t.preferred();
            const double size = preferred + rest / (count - autos - k);
            t.minSize = std::max(t.minSize, std::min(size, cap[size_t(order_[size_t(k)])]));
            rest -= t.minSize - preferred;
        }
        for (; k < count; ++k) {
            Track& t = track(order_[size_t(k)]);
            const double before = t.minSize;
            const double size = before + rest / (count - k);
            t.minSize = std::max(t.minSize, std::min(size, cap[size_t(order_[size_t(k)])]));
            rest -= t.minSize - before;
        }
    } else {
        // Past every maximum: all grow, the smaller faster, towards equal sizes.
        const double equal = requested / count;
        if (equal < maxMax && !close(equal, maxMax)) {
            const double room = maxMax * count - rangeMax;
            const double rest = requested - rangeMax;
            for (int k = 0; k < count; ++k) {
                const double c = cap[size_t(k)];
                growMin(start + k, c + (maxMax - c) * rest / room);
            }
        } else {
            for (int k = 0; k < count; ++k)
                growMin(start + k, equal);
        }
    }
}

void Tracks::resolveStars(double available) {
    std::vector<StarShare> stars;
    double taken = 0;
    for (const Track& t : tracks_) {
        if (t.type == Star)
            stars.push_back({t.value, t.minSize, t.userMax});
        else
            taken += t.type == Auto ? t.minSize : t.measureSize;
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

} // namespace markup::layout
