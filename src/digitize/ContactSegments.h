// Which datum points are joined into contact lines and in what order, and the
// small selection rules of the contact bar.  Pure functions of the document's
// values, so they are tested without a window.
#pragma once

#include "document/Document.h"

#include <QString>
#include <cstdint>
#include <vector>

// One straight piece of a contact line, from one datum point to another
// (indices into DatumPoints, counted from 1).
struct ContactSegment {
    int from = 0;
    int to = 0;
    bool operator==(const ContactSegment& o) const { return from == o.from && to == o.to; }
};

// Whether the contact with designator `contact` is drawn while `shown` is
// selected: "All" draws every contact, otherwise the designator's text must
// equal `shown` exactly ("03" selects nothing).
bool contactDrawn(int contact, const QString& shown);

// Whether the marker of a datum point with designator `z` is shown in the
// point view while `shown` is selected: "All" shows every marker, otherwise
// `z` must equal the value of `shown` as a Single ("03" shows contact 3).
bool contactMarkerShown(float z, const QString& shown);

// The segments of every listed contact (contactList[1..contactCount]) that
// `shown` selects, in drawing order: contacts in list order; within one
// contact its points by ascending Number, equal numbers in array order; each
// contact closed into a ring, the last point joined back to the first.
std::vector<ContactSegment> contactSegments(const std::vector<DataPoint>& points, int datCount,
                                            const std::vector<int16_t>& contactList, int contactCount,
                                            const QString& shown);

// The list entry the contact spinner moves to from `index` in a list of
// `count` entries: up (direction > 0) wraps from the last entry round to the
// first ("All"); down stops at the first.
int stepContactIndex(int index, int count, int direction);

// The line above the map naming what is shown.
QString contactMapText(const QString& shown);     // plot view
QString contactPointsText(const QString& shown);  // point view, after a selection
