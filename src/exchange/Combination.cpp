#include "exchange/Combination.h"

#include "document/Legacy.h"

#include <cmath>

using namespace legacy;

namespace combination {

NearestSix nearestSix(const std::vector<DataPoint>& other, int otherCount, double x, double y, float startDistance) {
    NearestSix six;
    six.distance.fill(startDistance);
    // One pass keeping the six best in order is the same choice as six
    // passes each taking the nearest of the rest: strictly nearer wins, and
    // among equal distances the earlier point stays ahead.
    int filled = 0;
    const int last = std::min<int>(otherCount, int(other.size()) - 1);
    for (int k = 1; k <= last; ++k) {
        const DataPoint& q = other[size_t(k)];
        const double dx = x - double(q.X);
        const double dy = y - double(q.Y);
        const float d = float(std::sqrt(dx * dx + dy * dy));
        if (!(d < six.distance[5])) continue;
        int slot = std::min(filled, 5);
        while (slot > 0 && d < six.distance[size_t(slot - 1)]) {
            six.distance[size_t(slot)] = six.distance[size_t(slot - 1)];
            six.index[size_t(slot)] = six.index[size_t(slot - 1)];
            --slot;
        }
        six.distance[size_t(slot)] = d;
        six.index[size_t(slot)] = k;
        if (filled < 6) ++filled;
    }
    return six;
}

float weightedMean(const std::vector<DataPoint>& other, const NearestSix& six) {
    // A second-set point exactly at the position is the value there: the
    // weights would divide by its zero distance.  Slot 1 holds it, and among
    // several coincident points the one with the lowest index.
    if (six.distance[0] == 0.0f && six.index[0] > 0 && six.index[0] < int(other.size()))
        return other[size_t(six.index[0])].Z;
    float s = 0, wsum = 0;
    for (size_t j = 0; j < 6; ++j) {
        const float z = six.index[j] < int(other.size()) ? other[size_t(six.index[j])].Z : 0.0f;
        s = ToSingle(double(s) + double(ToSingle(Div(z, six.distance[j]))));
        wsum = ToSingle(double(wsum) + double(ToSingle(Div(1.0, six.distance[j]))));
    }
    return ToSingle(Div(s, wsum));
}

float combinedValue(float plotted, float mean, bool plottedIsopachs, int button) {
    if (button == 1) return ToSingle(double(mean) + double(plotted));
    return plottedIsopachs ? ToSingle(double(mean) - double(plotted)) : ToSingle(double(plotted) - double(mean));
}

ResultKind resultKind(bool plottedIsopachs, bool otherStructural, int button) {
    const ResultKind iso{true, QStringLiteral("--isopachs")};
    const ResultKind struc{false, QStringLiteral("--structural contours")};
    if (!plottedIsopachs) return otherStructural && button == 0 ? iso : struc;
    return otherStructural ? struc : iso;
}

void combinePoints(Document& doc, bool plottedIsopachs, int button, const std::function<void(int, int)>& progress) {
    const float start = ToSingle(double(doc.MapSpanX) + double(doc.MapSpanY));
    const int total = doc.DatCount + doc.ConCount;
    int handled = 0;
    auto run = [&](std::vector<DataPoint>& points, int count) {
        for (int i = 1; i <= count && size_t(i) < points.size(); ++i) {
            DataPoint& p = points[size_t(i)];
            if (!p.Combined) {
                const NearestSix six = nearestSix(doc.OtherPoints, doc.OtherCount, p.X, p.Y, start);
                p.Z = combinedValue(p.Z, weightedMean(doc.OtherPoints, six), plottedIsopachs, button);
                p.Combined = true;
                doc.DataChanged = true;
            }
            ++handled;
            if (progress) progress(handled, total);
        }
    };
    run(doc.DatumPoints, doc.DatCount);
    run(doc.ContourPoints, doc.ConCount);
}

void rescanRange(Document& doc) {
    doc.ZMin = 32000;
    doc.ZMax = 0;
    auto scan = [&](const std::vector<DataPoint>& points, int count) {
        for (int i = 1; i <= count && size_t(i) < points.size(); ++i) {
            if (points[size_t(i)].Z < doc.ZMin) doc.ZMin = points[size_t(i)].Z;
            if (points[size_t(i)].Z > doc.ZMax) doc.ZMax = points[size_t(i)].Z;
        }
    };
    scan(doc.DatumPoints, doc.DatCount);
    scan(doc.ContourPoints, doc.ConCount);
}

} // namespace combination
