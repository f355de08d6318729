// Where the markers of the map go and what they say: the map-to-marker
// transform, the tool tips of the reference and point markers, the points
// line under the map and the mode text of the status bar.  Plain functions,
// so that the redraw stays a loop over plain records.
#pragma once

#include <QString>
#include <optional>

struct Document;

// The data kind chosen by the option buttons: contacts (optRock),
// structural (optStruc), otherwise isopach.
enum class DataKind { Contacts, Structural, Isopach };

// The map-to-marker transform for the picture's current place and size:
// marker Left = (X - MapOriginX) * (W / MapSpanX) + (picture Left - offX),
// Top = (MapOriginY - Y) * (H / MapSpanY) + (picture Top - offY).
// Construction throws legacy::Error on a zero span.
class MarkerTransform {
public:
    MarkerTransform(const Document& doc, double picLeft, double picTop, double W, double H);
    // Both throw legacy::Error when the result is beyond a Single.
    double left(double mapX, double offX) const;
    double top(double mapY, double offY) const;

private:
    double m_originX, m_originY, m_kx, m_ky, m_left, m_top;
};

// Tool tip of reference marker 1 or 2; nullopt when it is to be left as it
// is (units in degrees under a projection name the program does not know).
std::optional<QString> referenceToolTip(Document& doc, int point, bool longitude360);

// A point marker's tool tip, e.g. "Isopach Datum Point 4: Z = 120 meters".
// The unit is " feet" when the Feet item is ticked, otherwise " meters";
// contact datum points have none.  Built in place, without allocating, so
// that a redraw of a full map only copies the texts that changed.
class PointTipText {
public:
    void build(DataKind kind, bool datum, int number, float z, bool feet);
    QStringView view() const { return QStringView(m_buf, m_len); }
    // Puts the text into `target` unless it holds it already.
    void assignTo(QString& target) const {
        if (target != view()) target = view().toString();
    }

private:
    void add(QLatin1StringView s);
    void addInt(long long v);
    void addWhole(float z);
    char16_t m_buf[128];
    qsizetype m_len = 0;
};

QString pointToolTip(DataKind kind, bool datum, int number, float z, bool feet);

// The points line under the map and the mode text of status panel 2.  The
// two counts are added as 32-bit numbers: a full map holds 2 x 32767 points.
QString pointsLineText(DataKind kind, const QString& ContactShown, int DatCount, int ConCount);
QString modeStatusText(DataKind kind, const QString& DataTitle);
