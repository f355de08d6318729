#include "digitize/Contacts.h"

#include "document/Legacy.h"

#include <algorithm>
#include <cmath>

namespace contacts {

int32_t MapDatNum(const std::vector<DataPoint>& points, int datCount, float z) {
    int32_t m = 0;
    const int last = std::min<int>(datCount - 1, int(points.size()) - 1);
    for (int i = 1; i <= last; ++i)
        if (points[size_t(i)].Z == z && points[size_t(i)].Number > m) m = points[size_t(i)].Number;
    return m + 1;
}

std::vector<int16_t> ContactDesignators(const std::vector<DataPoint>& points, int datCount) {
    const int last = std::min<int>(datCount, int(points.size()) - 1);
    // The list runs from 0 to the largest designator rounded to a whole
    // number; only designators above -10000 count towards that top.
    double top = -10000;
    for (int i = 1; i <= last; ++i)
        if (points[size_t(i)].Z > top) top = legacy::CInt(points[size_t(i)].Z);
    // The count of the list is 16-bit: a top of 32767 cannot be passed.
    if (top >= 32767) legacy::raise(legacy::ErrorCode::Overflow);
    std::vector<int16_t> list;
    if (top < 0) return list;
    list.reserve(size_t(last));
    for (int i = 1; i <= last; ++i) {
        const float z = points[size_t(i)].Z;
        if (z >= 0 && z <= top && std::floor(z) == z) list.push_back(int16_t(z));
    }
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}

void OrderPoints(std::vector<DataPoint>& points, int datCount, const std::vector<int16_t>& contactList) {
    const int last = std::min<int>(datCount, int(points.size()) - 1);
    if (last < 1) return;
    auto listed = [&](float z) {
        if (!(z >= 0 && z <= 32767 && std::floor(z) == z)) return false;
        return std::binary_search(contactList.begin(), contactList.end(), int16_t(z));
    };
    std::vector<DataPoint> inContacts, others;
    inContacts.reserve(size_t(last));
    for (int i = 1; i <= last; ++i) (listed(points[size_t(i)].Z) ? inContacts : others).push_back(points[size_t(i)]);
    // Contacts ascend with their designators, so one stable sort by
    // designator and old number gives the list order.
    std::stable_sort(inContacts.begin(), inContacts.end(), [](const DataPoint& a, const DataPoint& b) {
        if (a.Z != b.Z) return a.Z < b.Z;
        return a.Number < b.Number;
    });
    size_t k = 1;
    int16_t number = 0;
    for (size_t i = 0; i < inContacts.size(); ++i) {
        if (i == 0 || inContacts[i].Z != inContacts[i - 1].Z) number = 0;
        DataPoint p = inContacts[i];
        p.Number = ++number;
        points[k++] = p;
    }
    for (const DataPoint& p : others) points[k++] = p;
}

} // namespace contacts
