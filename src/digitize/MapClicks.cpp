#include "digitize/MapClicks.h"

MapClickAction decideMapPictureClick(const MapClickState& s) {
    if (s.mapBusy || s.busyLoading) return MapClickAction::Nothing;
    if (!s.mapRegistered) return MapClickAction::Register;
    if (s.button != 1) {
        // A pending label move stays armed through a right click.
        return s.labelsOn && !s.moveLabelMode ? MapClickAction::NewLabel : MapClickAction::Nothing;
    }
    if (s.moveLabelMode) return MapClickAction::MoveLabel;
    return MapClickAction::RecordPoint;
}

MapClickAction decideContactOverlayClick(const MapClickState& s) {
    if (s.mapBusy || s.busyLoading) return MapClickAction::Nothing;
    if (s.moveLabelMode) return MapClickAction::MoveLabel;
    if (s.labelsOn) return MapClickAction::NewLabel;
    return MapClickAction::Nothing;
}

RefMarkerDecision decideRefMarkerClick(int index, bool mapRegistered, int datCount, int conCount) {
    using Clear = RefMarkerDecision::Clear;
    if (datCount > 0 || conCount > 0) return {};
    if (index != 1) return {Clear::SecondPoint, false};
    // The first point's marker starts the registration over, whichever way
    // the question is put.
    return {Clear::BothPoints, mapRegistered};
}
