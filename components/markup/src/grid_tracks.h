#pragma once

// The columns or the rows of one Grid while it is laid out: their sizes as measuring finds them,
// star sizes shared by weight within each definition's limits, and their final sizes and offsets.

#include "document.h"

#include <vector>

namespace gridgauge::markup::layout {

class Tracks {
public:
    // What a cell spans, as flags.
    enum Type : quint8 { Pixel = 1, Auto = 2, Star = 4 };

    // definitions (count of them; none is one star track) as they stand before a measure. In a
    // measure without bound along this axis, star tracks size to content like Auto ones.
    void reset(const Definition* definitions, int count, bool starsAsAuto);

    int count() const { return int(tracks_.size()); }
    quint8 typesOf(int start, int count) const;
    bool hasStars() const;
    // What a cell spanning these tracks is offered while measuring.
    double measureSizeOf(int start, int count) const;
    double userMax(int i) const { return tracks_[size_t(i)].userMax; }
    // Measuring found content that needs size in track i.
    void growMin(int i, double size);
    // A spanning cell needs requested across these tracks: shared out among them, Auto tracks
    // growing last.
    void ensureMinSize(int start, int count, double requested);
    // Star tracks share what the others leave of available.
    void resolveStars(double available);
    // The sum of the tracks' minimum sizes: what the Grid wants along this axis.
    double desiredSize() const;

    double minSize(int i) const { return tracks_[size_t(i)].minSize; }
    void setMinSize(int i, double size) { tracks_[size_t(i)].minSize = size; }

    // Final sizes for an arranged length, star tracks sharing what the others leave, and the
    // offsets that follow from them.
    void arrange(double length);
    double offsetOf(int i) const { return tracks_[size_t(i)].offset; }
    double finalSizeOf(int start, int count) const;

private:
    struct Track {
        Definition::Unit unit; // as written
        Type type;             // as this measure treats it
        double value;          // pixels, or the star weight
        double userMin, userMax;
        double minSize = 0;     // what its content and its own limits need
        double measureSize = 0; // what a cell in it is offered
        double finalSize = 0;
        double offset = 0;
        // What a cell in it is offered while measuring.
        double offered() const { return type == Auto ? minSize : measureSize; }
        double preferred() const {
            return type != Auto && minSize < measureSize ? measureSize : minSize;
        }
    };
    // What the tracks a cell spans add up to before it asks for more; a track's cap is its
    // maximum, never below its minimum.
    struct SpanRange {
        double min = 0, preferred = 0, max = 0;
        double largestCap = 0;
        int autos = 0; // tracks written Auto
    };

    Track& track(int i) { return tracks_[size_t(i)]; }
    bool isAuto(int i) const { return tracks_[size_t(i)].unit == Definition::Unit::Auto; }
    // The steps of ensureMinSize, by how far the request reaches.
    SpanRange spanRange(int start, int count);
    void growToPreferred(const SpanRange& range, double requested);
    void growToMax(const SpanRange& range, double requested);
    void growPastMax(const SpanRange& range, double requested);

    std::vector<Track> tracks_;
    // Scratch for ensureMinSize: the spanned tracks in the order they grow, and each one's cap.
    std::vector<int> order_;
    std::vector<double> caps_;
};

// One star track to size: its weight and limits in, its size out.
struct StarShare {
    double weight;
    double min;
    double max;
    double size = 0;
};

// Shares available among stars by weight. A track whose share would break one of its limits is
// held at that limit, the most discrepant first, and the rest share again, so that the shares
// add up to available whenever the limits allow it.
void shareByWeight(std::vector<StarShare>& stars, double available);

} // namespace gridgauge::markup::layout
