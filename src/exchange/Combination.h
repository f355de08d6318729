// Combining the plotted points with the second data set: the value of the
// second set at a point is the inverse-distance weighted mean of its six
// nearest points, which is subtracted from or added to the point's value.
#pragma once

#include "document/Document.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace combination {

// The six nearest points of the second set: indexes into `other` (0 = none
// nearer than the starting distance) and their distances.  Slot 1 holds the
// nearest, ties going to the lower index.
struct NearestSix {
    std::array<int, 6> index{};
    std::array<float, 6> distance{};
};
NearestSix nearestSix(const std::vector<DataPoint>& other, int otherCount, double x, double y, float startDistance);

// The weighted mean of the six slots.  When a second-set point lies exactly
// at the position, its value (the lowest index among several).  Throws
// legacy::Error on arithmetic failure (an empty slot at distance 0).
float weightedMean(const std::vector<DataPoint>& other, const NearestSix& six);

// The new value of a plotted point.  button 0: "-", 1: "+".
float combinedValue(float plotted, float mean, bool plottedIsopachs, int button);

// Which kind the combined data is, and the status text that says so.
struct ResultKind {
    bool isopachs = false;   // optIso is selected, otherwise optStruc
    QString statusSuffix;
};
ResultKind resultKind(bool plottedIsopachs, bool otherStructural, int button);

// Combines every plotted point not combined before, datum points first, and
// marks the document changed once a point is combined.  `progress(handled,
// total)` is called after each point, skipped ones too.  Throws
// legacy::Error; the points changed before the failure keep their new value
// and their Combined flag.
void combinePoints(Document& doc, bool plottedIsopachs, int button,
                   const std::function<void(int, int)>& progress = {});

// ZMin and ZMax of the plotted points, from the start values 32000 and 0.
void rescanRange(Document& doc);

} // namespace combination
