#include "removal/Filters.h"

#include "document/Legacy.h"
#include "map/Projections.h"

#include <algorithm>

namespace removal {

float pointQuantity(Document& doc, const DataPoint& p, Quantity q) {
    switch (q) {
    case Quantity::Z:
    case Quantity::ContactText:
        return p.Z;
    case Quantity::Longitude:
    case Quantity::Latitude:
        break;
    }
    const bool wantX = q == Quantity::Longitude;
    if (const TwoCoordProjection f = twoCoordProjection(doc.ProjectionName)) return f(doc, p.X, p.Y, false, wantX);
    if (!wantX && doc.ProjectionName == projection_names::StandardMercator) return ProjectMercator(doc, p.Y, false);
    return wantX ? p.X : p.Y;
}

bool keepByLimit(float quantity, float limit, Removed removed) {
    switch (removed) {
    case Removed::Greater: return quantity <= limit;
    case Removed::Less: return quantity >= limit;
    case Removed::TextEquals:
    case Removed::TextDiffers: break;
    }
    return true;
}

bool keepByContact(float z, const QString& answer, Removed removed) {
    const bool same = legacy::GeneralText(z) == answer;
    return removed == Removed::TextEquals ? !same : removed == Removed::TextDiffers ? same : true;
}

std::vector<int> keptIndexes(Document& doc, const std::vector<DataPoint>& points, int count, const FilterRule& f,
                             const QString& answer) {
    std::vector<int> kept;
    const int n = std::min<int>(count, int(points.size()) - 1);
    kept.reserve(size_t(std::max(n, 0)));
    if (f.quantity == Quantity::ContactText) {
        for (int i = 1; i <= n; ++i)
            if (keepByContact(points[size_t(i)].Z, answer, f.removed)) kept.push_back(i);
        return kept;
    }
    const float limit = legacy::NumVal(answer);
    for (int i = 1; i <= n; ++i)
        if (keepByLimit(pointQuantity(doc, points[size_t(i)], f.quantity), limit, f.removed)) kept.push_back(i);
    return kept;
}

} // namespace removal
