#include "exchange/SecondDataSet.h"

#include "document/Legacy.h"
#include "document/ProjectFile.h"

using namespace legacy;

namespace seconddata {

void readSecondDataSet(const QByteArray& bytes, Document& doc) {
    doc.OtherPoints.clear();
    Document file;
    ProjectReadState st;
    auto takeRows = [&] {
        doc.OtherPoints.assign(1, DataPoint{});
        for (int i = 1; i <= file.DatCount; ++i) doc.OtherPoints.push_back(file.DatumPoints[size_t(i)]);
        for (int i = 1; i <= file.ConCount; ++i) doc.OtherPoints.push_back(file.ContourPoints[size_t(i)]);
        for (DataPoint& p : doc.OtherPoints) p.Combined = false;
    };
    try {
        readProjectFile(bytes, file, st, &doc);
    } catch (const Error&) {
        if (st.kindRead) doc.OtherStructural = st.controls.kind == DataKind::Structural;
        throw;
    }
    doc.OtherStructural = st.controls.kind == DataKind::Structural;
    doc.OtherDatCount = std::max(0, st.declaredDatCount);
    doc.OtherConCount = std::max(0, st.declaredConCount);
    const int sum = doc.OtherDatCount + doc.OtherConCount;
    if (sum > 32767) raise(ErrorCode::Overflow);
    doc.OtherCount = sum;
    // A table cut short ends the reading there: the rows before it stay, but
    // the set is not complete and must not be taken for one.
    if (file.DatCount < doc.OtherDatCount) {
        file.ConCount = 0;
        takeRows();
        raise(ErrorCode::InputPastEnd);
    }
    takeRows();
    if (file.ConCount < doc.OtherConCount) raise(ErrorCode::InputPastEnd);
}

QString combineToolTip(bool plottedIsopachs, bool otherStructural, int button) {
    const QString tail = QStringLiteral("(only affects those points that have not been previously combined)");
    const QString two = QStringLiteral("  ");
    if (!plottedIsopachs) {
        if (otherStructural)
            return (button == 0 ? QStringLiteral("Subtract structural data from plotted points")
                                : QStringLiteral("Add structural data to plotted points")) + two + tail;
        return button == 0 ? QStringLiteral("Subtract isopach data from plotted points ") + tail
                           : QStringLiteral("Add isopach data to plotted points") + two + tail;
    }
    if (otherStructural)
        return (button == 0 ? QStringLiteral("Subtract plotted points from structural data")
                            : QStringLiteral("Add plotted points to structural data")) + two + tail;
    return (button == 0 ? QStringLiteral("Subtract plotted points from isopach data")
                        : QStringLiteral("Add plotted points to isopach data")) + two + tail;
}

} // namespace seconddata
