#include "digitize/PointRecords.h"

#include "document/Legacy.h"

#include <algorithm>
#include <map>
#include <set>

namespace points {

DataPoint& AppendPoint(std::vector<DataPoint>& records, int& count) {
    const int16_t next = legacy::ToInteger(static_cast<long long>(count) + 1);
    records.resize(size_t(next) + 1);
    records[size_t(next)] = DataPoint{};
    count = next;
    return records[size_t(next)];
}

void DeletePoint(std::vector<DataPoint>& records, int& count, int n) {
    if (n < 1 || n > count || size_t(count) >= records.size())
        legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
    records.erase(records.begin() + n);
    --count;
    records.resize(size_t(count) + 1);
}

PointKey ParsePointKey(const QString& key) {
    PointKey k;
    k.datum = key.left(1) == QLatin1String("D");
    k.index = legacy::CInt(legacy::NumVal(key.mid(1)));
    return k;
}

QString PointKeyText(bool datum, int index) {
    return (datum ? QStringLiteral("D") : QStringLiteral("C")) + QString::number(index);
}

int16_t ClampPointNumber(double typed, int datCount) {
    double v = typed;
    if (v < 1) v = 1;
    if (v > datCount) v = datCount;
    return legacy::CInt(v);
}

std::vector<int> RenumberPoint(std::vector<DataPoint>& records, int datCount, int n, int16_t newNumber) {
    if (n < 1 || n > datCount || size_t(datCount) >= records.size())
        legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
    std::vector<int> changed{n};
    const float z = records[size_t(n)].Z;
    records[size_t(n)].Number = newNumber;
    // The contact's points by number, each number's points in index order.
    std::map<int, std::set<int>> byNumber;
    int maxNum = newNumber;
    for (int i = 1; i <= datCount; ++i) {
        const DataPoint& p = records[size_t(i)];
        if (p.Z != z) continue;
        byNumber[p.Number].insert(i);
        maxNum = std::max<int>(maxNum, p.Number);
    }
    int next = newNumber + 1;
    int excluded = n;
    for (int cur = newNumber; cur <= maxNum; ++cur) {
        auto it = byNumber.find(cur);
        if (it == byNumber.end()) continue;
        std::set<int>& holders = it->second;
        auto h = holders.begin();
        if (h != holders.end() && *h == excluded) ++h;
        if (h == holders.end()) continue;
        const int i = *h;
        holders.erase(h);
        records[size_t(i)].Number = legacy::ToInteger(next);
        byNumber[next].insert(i);
        ++next;
        excluded = i;
        changed.push_back(i);
    }
    return changed;
}

} // namespace points
