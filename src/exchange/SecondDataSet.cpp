#include "exchange/SecondDataSet.h"

#include "document/Legacy.h"
#include "document/ProjectFile.h"

using namespace legacy;

namespace seconddata {

void readSecondDataSet(const QByteArray& bytes, Document& doc) {
    Document file;
    ProjectReadState st;
    st.strictTables = true;
    readProjectFile(bytes, file, st, &doc);
    const int datCount = std::max(0, st.declaredDatCount);
    const int conCount = std::max(0, st.declaredConCount);
    if (datCount + conCount > 32767) raise(ErrorCode::Overflow);

    // The whole file read: only now does it replace the set held before.
    doc.OtherPoints.assign(1, DataPoint{});
    doc.OtherPoints.reserve(size_t(datCount + conCount) + 1);
    for (int i = 1; i <= file.DatCount; ++i) doc.OtherPoints.push_back(file.DatumPoints[size_t(i)]);
    for (int i = 1; i <= file.ConCount; ++i) doc.OtherPoints.push_back(file.ContourPoints[size_t(i)]);
    for (DataPoint& p : doc.OtherPoints) p.Combined = false;
    doc.OtherDatCount = datCount;
    doc.OtherConCount = conCount;
    doc.OtherCount = datCount + conCount;
    doc.OtherStructural = st.controls.kind == DataKind::Structural;
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
