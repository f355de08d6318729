// What a button release on the map pictures means, as plain decisions from
// the state at the time of the click, so that the handlers only carry them out.
#pragma once

// The state a release on the map picture or the contact overlay depends on.
struct MapClickState {
    bool mapBusy = false;        // a scroll or redraw is under way
    bool busyLoading = false;    // a project file is being opened
    bool mapRegistered = false;
    int button = 1;              // 1 left, 2 right, 4 middle
    bool labelsOn = false;       // View > Show > Labels is ticked and labels can be placed
    bool moveLabelMode = false;  // the label menu's Move is pending
};

enum class MapClickAction {
    Nothing,
    Register,    // a registration click
    NewLabel,    // a new text label at the cursor
    MoveLabel,   // the pending label move ends here
    RecordPoint, // record a point, or move the selected point here
};

// A release on the map picture (imPoints).
MapClickAction decideMapPictureClick(const MapClickState& s);
// A release on the contact overlay (imContacts): it never registers the map
// and never records or moves a point, whatever the button.
MapClickAction decideContactOverlayClick(const MapClickState& s);

// A release on a registration marker, taken only while the document holds no
// point: which question to ask, and what a Yes clears.
struct RefMarkerDecision {
    enum class Clear { Nothing, SecondPoint, BothPoints } clear = Clear::Nothing;
    bool askMap = false; // "...the map?" rather than "...this point?"
};
RefMarkerDecision decideRefMarkerClick(int index, bool mapRegistered, int datCount, int conCount);
