// Cursor read-outs over the map picture and over the contour plot.
#include "map/CursorReadout.h"

#include "contour/PlotScales.h"
#include "document/Document.h"
#include "document/Legacy.h"
#include "map/LatLongText.h"
#include "map/Projections.h"

using legacy::Div;
using legacy::Format;
using legacy::ToSingle;
namespace pn = projection_names;

namespace {

const QString Whole = QStringLiteral("0");
const QString OneDecimal = QStringLiteral("0.0");

// A plotted or scale value: one decimal below 10, whole above.
QString plotValueText(double v) { return Format(v, v < 10 ? OneDecimal : Whole); }

// Grid node (i, j), checked against the grid actually held.
const DataPoint& node(const Document& doc, int i, int j) {
    const PointGrid& g = doc.ContourGrid;
    if (g.empty() || i < 0 || j < 0 || i > g.cols() || j > g.rows())
        legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
    return g.at(i, j);
}

} // namespace

QString mapCursorText(Document& doc, double x, double y, double W, double H, bool degrees, bool longitude360) {
    doc.MarkerLeft = float(x - doc.MarkOffsetX);
    doc.MarkerTop = float(y - doc.MarkOffsetY);
    doc.CursorX = float(x);
    doc.CursorY = float(y);
    try {
        if (!doc.MapRegistered) {
            doc.CursorMapX = ToSingle(Div(x, W) * doc.ImageWidthPx);
            doc.CursorMapY = ToSingle(Div(y, H) * doc.ImageHeightPx);
            return QStringLiteral("x = ") + Format(doc.CursorMapX, Whole) + QStringLiteral(";  y = ") +
                   Format(doc.CursorMapY, Whole);
        }
        doc.CursorMapX = ToSingle(x * double(ToSingle(Div(doc.MapSpanX, W))) + doc.MapOriginX);
        doc.CursorMapY = ToSingle(doc.MapOriginY - y * double(ToSingle(Div(doc.MapSpanY, H))));
        float lon = doc.CursorMapX;
        float lat = doc.CursorMapY;
        const QString& name = doc.ProjectionName;
        auto failed = [&doc] {
            doc.ProjectionFailed = false;
            return QStringLiteral("###");
        };
        if (name == pn::StandardMercator) {
            lat = ProjectMercator(doc, doc.CursorMapY, false);
            if (doc.ProjectionFailed) return failed();
        } else {
            const TwoCoordProjection p = twoCoordProjection(name);
            if (p) {
                lon = p(doc, doc.CursorMapX, doc.CursorMapY, false, true);
                if (doc.ProjectionFailed) return failed();
                lat = p(doc, doc.CursorMapX, doc.CursorMapY, false, false);
                if (doc.ProjectionFailed) return failed();
            }
        }
        if (!degrees) {
            return Format(doc.CursorMapY, Whole) + QStringLiteral(" N;  ") + Format(doc.CursorMapX, Whole) +
                   QStringLiteral(" E");
        }
        QString text = FormatLatLong(doc, lon, true, longitude360);
        if (doc.ProjectionFailed) return failed();
        text += QStringLiteral(";  ") + FormatLatLong(doc, lat, false, longitude360);
        if (doc.ProjectionFailed) return failed();
        return text;
    } catch (const legacy::Error&) {
        doc.ProjectionFailed = false;
        return QStringLiteral("###");
    }
}

QString plotCursorText(Document& doc, double x, double y, double Wp, double Hp) {
    doc.CursorMapX = ToSingle(Div(x, Wp) * doc.MapSpanX + doc.MapOriginX);
    doc.CursorMapY = ToSingle(doc.MapOriginY - Div(y, Hp) * doc.MapSpanY);

    const double top = legacy::Int(Hp / 5.0);
    const double bottom = legacy::Int(4.0 * Hp / 5.0);
    const bool onScale = top <= y && y <= bottom &&
                         (doc.ScaleSide ? (100 <= x && x <= 300) : (Wp - 300 <= x && x <= Wp - 150));
    // The bar of a plot without a computed node, on the automatic scale,
    // stands for no value at all; a typed scale still reads as typed.
    if (onScale && scaleHasValues(doc.ContourMin, doc.ContourMax, doc.ZMin, doc.ZMax)) {
        const double value = double(doc.ContourMax) -
                             Div((y - top) * (double(doc.ContourMax) - doc.ContourMin), bottom - top);
        return plotValueText(ToSingle(value));
    }

    // The cell whose mid-points enclose the cursor; the outermost half-cells
    // have none.
    float z = 0;
    const double cx = doc.CursorMapX;
    const double cy = doc.CursorMapY;
    for (int i = 2; i <= doc.GridCols - 1; ++i) {
        const double a = (double(node(doc, i - 1, 1).X) + node(doc, i, 1).X) / 2.0;
        const double b = (double(node(doc, i, 1).X) + node(doc, i + 1, 1).X) / 2.0;
        if (a <= cx && cx <= b) {
            for (int j = 2; j <= doc.GridRows - 1; ++j) {
                const double c = (double(node(doc, i, j - 1).Y) + node(doc, i, j).Y) / 2.0;
                const double d = (double(node(doc, i, j).Y) + node(doc, i, j + 1).Y) / 2.0;
                if (c >= cy && cy >= d) {
                    z = node(doc, i, j).Z;
                    break;
                }
            }
            break;
        }
    }
    QString text = QStringLiteral("E = ") + Format(doc.CursorMapX, Whole) + QStringLiteral(";  N = ") +
                   Format(doc.CursorMapY, Whole);
    if (z != 0) text += QStringLiteral(";  Z = ") + plotValueText(z);
    return text;
}
