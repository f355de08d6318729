#include "digitize/ContactSegments.h"

#include "document/Legacy.h"

#include <algorithm>
#include <cmath>

namespace {
const QString kAll = QStringLiteral("All");
}

bool contactDrawn(int contact, const QString& shown) {
    return shown == kAll || shown == QString::number(contact);
}

bool contactMarkerShown(float z, const QString& shown) {
    return shown == kAll || z == legacy::NumVal(shown);
}

std::vector<ContactSegment> contactSegments(const std::vector<DataPoint>& points, int datCount,
                                            const std::vector<int16_t>& contactList, int contactCount,
                                            const QString& shown) {
    std::vector<ContactSegment> out;
    const int nPoints = std::min<int>(datCount, static_cast<int>(points.size()) - 1);
    const int nContacts = std::min<int>(contactCount, static_cast<int>(contactList.size()) - 1);
    if (nPoints < 1 || nContacts < 1) return out;

    // The contacts to draw, in list order, and a bucket of point indices for each.
    std::vector<int16_t> drawn;
    for (int k = 1; k <= nContacts; ++k)
        if (contactDrawn(contactList[static_cast<size_t>(k)], shown)) drawn.push_back(contactList[static_cast<size_t>(k)]);
    if (drawn.empty()) return out;
    std::vector<int16_t> sorted = drawn;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::vector<int>> buckets(sorted.size());

    // One pass over the points: a point belongs to contact k exactly when its
    // Z equals k (a single-precision comparison, so 2.0001 is not contact 2).
    for (int i = 1; i <= nPoints; ++i) {
        const float z = points[static_cast<size_t>(i)].Z;
        if (!(z >= -32768.0f && z <= 32767.0f) || z != std::floor(z)) continue;
        const auto it = std::lower_bound(sorted.begin(), sorted.end(), static_cast<int16_t>(z));
        if (it != sorted.end() && static_cast<float>(*it) == z)
            buckets[static_cast<size_t>(it - sorted.begin())].push_back(i);
    }

    for (const int16_t c : drawn) {
        const auto pos = std::lower_bound(sorted.begin(), sorted.end(), c) - sorted.begin();
        std::vector<int>& ring = buckets[static_cast<size_t>(pos)];
        std::stable_sort(ring.begin(), ring.end(), [&points](int a, int b) {
            return points[static_cast<size_t>(a)].Number < points[static_cast<size_t>(b)].Number;
        });
        const size_t m = ring.size();
        for (size_t k = 0; k < m; ++k) out.push_back({ring[k], ring[(k + 1) % m]});
        // A contact listed twice would be drawn twice; draw each once.
        ring.clear();
    }
    return out;
}

int stepContactIndex(int index, int count, int direction) {
    if (direction > 0) return index < count - 1 ? index + 1 : 0;
    if (direction < 0) return index >= 1 ? index - 1 : 0;
    return index;
}

QString contactMapText(const QString& shown) {
    return shown == kAll ? QStringLiteral("All Contacts: Map") : QStringLiteral("Contact ") + shown + QStringLiteral(": Map");
}

QString contactPointsText(const QString& shown) {
    return shown == kAll ? QStringLiteral("All Contacts: Points")
                         : QStringLiteral("Contact ") + shown + QStringLiteral(": Points");
}
