// The digitized document: one map image, its registration, the points and the
// labels on it, and the program-wide values that the commands share.  Field
// names follow the names the rest of the program and its files use.
#pragma once

#include <QString>
#include <QVector>
#include <cstdint>
#include <vector>

// One digitized or imported point, or one grid node.
struct DataPoint {
    int16_t Number = 0;   // point number; for contact datum points the number within its contact
    float X = 0;          // map X (Easting or projected x)
    float Y = 0;          // map Y (Northing or projected y)
    float Z = 0;          // elevation, thickness, or the contact designator
    bool Combined = false;// data combination changed Z; never saved
};

// One free text label on the map.
struct MapLabel {
    QString Text;
    float X = 0;
    float Y = 0;
    bool FontBold = false;
    float Color = 0;      // colour number, 0x00BBGGRR
    bool FontItalic = false;
    QString FontName;
    int16_t FontSize = 0;
    bool FontStrikethru = false;
    bool FontUnderline = false;
};

// A two-dimensional grid of DataPoint, indexed (0..cols, 0..rows).  Each
// node also knows whether the gridding gave it a value: a node it left keeps
// Z = 0, which is no elevation.
class PointGrid {
public:
    void resize(int cols, int rows) {
        m_cols = cols;
        m_rows = rows;
        const size_t n = static_cast<size_t>(cols + 1) * static_cast<size_t>(rows + 1);
        m_nodes.assign(n, DataPoint{});
        m_computed.assign(n, 0);
    }
    void clear() { resize(-1, -1); m_nodes.clear(); m_computed.clear(); }
    bool empty() const { return m_nodes.empty(); }
    int cols() const { return m_cols; }
    int rows() const { return m_rows; }
    DataPoint& at(int i, int j) { return m_nodes[index(i, j)]; }
    const DataPoint& at(int i, int j) const { return m_nodes[index(i, j)]; }
    bool computed(int i, int j) const { return m_computed[index(i, j)] != 0; }
    void setComputed(int i, int j) { m_computed[index(i, j)] = 1; }

private:
    size_t index(int i, int j) const { return static_cast<size_t>(j) * (m_cols + 1) + i; }

    int m_cols = -1;
    int m_rows = -1;
    std::vector<DataPoint> m_nodes;
    std::vector<uint8_t> m_computed;
};

// The document variables.  Arrays are used from index 1; element 0 is never a
// live record (the arrays are sized count + 1 while they hold anything).
// Counts are held in int and checked against the 16-bit limit where they grow.
struct Document {
    // Point and label arrays.
    std::vector<DataPoint> DatumPoints;
    std::vector<DataPoint> ContourPoints;
    std::vector<DataPoint> OtherPoints;
    PointGrid ContourGrid;
    std::vector<MapLabel> MapLabels;
    std::vector<int16_t> ContactList;

    // File names and texts.
    QString MapFileName;
    QString DataFileName;
    QString OtherDataFileName;
    QString LabFileName;
    QString DataTitle;
    QString ImportFile;
    QString ExportFileName;
    QString ImportOrder;
    QString ColumnOrder;
    QString ProjectionName;
    QString CoordUnits;
    QString LatLongFormat;

    // Projection parameters (radians) and scales.
    float ProjScaleX = 0;
    float ProjScaleY = 0;
    float CentralMeridian = 0;
    float CentralParallel = 0;
    float Lat1 = 0;
    float Lat2 = 0;

    // Registration.
    float RefPixelX1 = 0, RefPixelX2 = 0, RefPixelY1 = 0, RefPixelY2 = 0; // twips; 0 = not given
    float RefMapX1 = 0, RefMapX2 = 0, RefMapY1 = 0, RefMapY2 = 0;
    float MapSpanX = 0, MapSpanY = 0;
    float MapOriginX = 0, MapOriginY = 0;

    // Counts.
    int DatCount = 0;
    int ConCount = 0;
    int OtherCount = 0;
    int OtherDatCount = 0;
    int OtherConCount = 0;
    int LabelCount = 0;
    int CurLabel = 0;
    int ContactCount = 0;
    int32_t ContactLineCount = 0;

    QString ContactShown;
    QString SelectedPoint;
    QString LastZEntry;

    // Flags.
    bool MovePointMode = false;
    bool MoveLabelMode = false;
    bool MapRegistered = false;
    bool ScaleSide = false;
    bool DataChanged = false;
    bool MapBusy = false;
    bool OtherDataOpen = false;
    bool ContoursCurrent = false;
    bool OtherStructural = false;
    bool ShowInterrupt = false;
    // The next project save asks for the project's name even though the
    // document has one: every point was removed, the map is a contour
    // picture reopened beside the project it was made from, or a newly
    // loaded map's name is an earlier project's, so what is saved next is a
    // new data set that must not silently replace the earlier project.
    bool AskProjectName = false;
    // The map picture was rotated or skewed since it was loaded, and the
    // edited picture is in no file yet.
    bool MapPictureEdited = false;
    // The map picture is held only in memory: MapFileName names the file it
    // is to be saved as (a scanned page whose name was not given), and any
    // file of that name is not this picture.
    bool MapPictureInMemory = false;
    // Names the project a newly loaded map is to be saved as.  A file of
    // that name is another data set (an earlier map of the same name), so
    // the first save then asks, offering the name, instead of replacing it.
    void proposeProjectName(const QString& path);

    // Contouring.
    int ContourDetail = 0;
    float ContourMax = 0;
    float ContourMin = 0;
    float ZMin = 0;
    float ZMax = 0;
    int GridCols = 0;
    int GridRows = 0;

    // Map image and view geometry (twips unless noted).
    float ImageWidthPx = 0;
    float ImageHeightPx = 0;
    float RefMarkOffsetX = 0;
    float RefMarkOffsetY = 0;
    float MarkOffsetX = 0;
    float MarkOffsetY = 0;
    float MarkerLeft = 0;
    float MarkerTop = 0;
    float CursorX = 0;
    float CursorY = 0;
    float CursorMapX = 0;
    float CursorMapY = 0;
    float PageWidth = 0;
    float PageZoomSize = 0;
    float ZoomMax = 0;
    int32_t ZoomWidth = 0;
    int32_t ZoomHeight = 0;
    int HScrollStep = 0;
    int VScrollStep = 0;
    int32_t ScrollValue = 0;

    bool ProjectionFailed = false;

    // Working values of the conic projections, computed from Lat1, Lat2 and
    // CentralParallel when a conic map is registered or opened.  The reset
    // leaves them alone; they are meaningful only while such a map is shown.
    double ConeN = 0;
    double AlbersC = 0;
    double ConeF = 0;
    double Rho0 = 0;

    // Resets the data part of the document the way ClearAll does (the
    // window's controls are reset by the main window itself).
    void clearData();
};

// Program-wide values shared by every window.
struct AppGlobals {
    QString AppName = QStringLiteral("Vexolan");
    QString ProgramTitle = QStringLiteral("Ferno Vexolan");
    QString ProgramDescription;
    QString ReleaseNumber;
    bool AboutSound = false;
    QString DocsFolder;   // ends in a separator
    QString DataFolder;   // ends in a separator
};
