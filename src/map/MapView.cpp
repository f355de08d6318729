#include "map/MapView.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "document/Legacy.h"
#include "map/CursorReadout.h"
#include "map/MarkerPlacement.h"
#include "map/LatLongPlacement.h"
#include "map/Projections.h"
#include "map/Registration.h"
#include "platform/Dialogs.h"
#include "platform/FileService.h"
#include "platform/ImagingObject.h"
#include "platform/Printers.h"

#include <exception>
#include <vector>

namespace {

const QString MapImageFilter = QStringLiteral(
    "All Images|*.jpg;*.gif;*.bmp;*.png;*.psd;*.tif;*.pcx;*.tga;*.wbmp;*.wmf;*.emf;*.ico|"
    "Joint Photographic Experts Group  |*.jpg|"
    "Graphics Interchange Format  |*.gif|"
    "Windows Bitmap  |*.bmp|"
    "Portable Network Graphics  |*.png|"
    "Photoshop  |*.psd|"
    "Tagged Image File  |*.tif|"
    "ZSoft PaintBrush  |*.pcx|"
    "Truevision Targa  |*.tga|"
    "Wireless Bitmap  |*.wbmp|"
    "Windows Meta File  |*.wmf|"
    "Windows Enhanced Meta File |*.emf|"
    "Windows Icon File |*.ico|");

// A project's moved map may be of any kind a map is imported from.
const QString FindMapFilter = QStringLiteral(
    "Map Image Files (bmp, gif, jpg, png, psd, tif, pcx, tga, wbmp, wmf, emf, ico) |"
    "*.bmp;*.gif;*.jpg;*.png;*.psd;*.tif;*.pcx;*.tga;*.wbmp;*.wmf;*.emf;*.ico|");

constexpr int FileMustExist = 4096;

QString describe(const std::exception& e) {
    if (auto* le = dynamic_cast<const legacy::Error*>(&e)) return le->description();
    return QString::fromLocal8Bit(e.what());
}

// The text of the "Map:" status line of a map that waits for registration.
QString unregisteredStatus(const QString& title) {
    return QStringLiteral("Map:  ") + title + QStringLiteral(" (register map by clicking on locations of known coordinates)");
}

// A redraw needs one marker for every record.
void requireMarkers(const MarkerArray<Marker>& arr, int count) {
    if (arr.count() < count)
        legacy::raise(QStringLiteral("Control array element '%1' doesn't exist").arg(arr.count() + 1));
}

void requireRecords(size_t size, int count) {
    if (count > 0 && size < size_t(count) + 1) legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
}

} // namespace

MapView::MapView(MainWindow& main) : QObject(&main), w(main) {
    w.cmdZoomPage_Click = [this] { cmdZoomPage_Click(); };
    w.markers->setPlotPicture(w.picMap);

    // Qt ticks a checkable item before its handler runs; each handler below
    // sets every tick itself, so the click's own toggle is undone first.
    auto wireItem = [this](QAction* a, auto handler) {
        connect(a, &QAction::triggered, this, [a, handler](bool checked) {
            if (a->isCheckable()) a->setChecked(!checked);
            handler();
        });
    };

    const std::pair<QAction*, CoordItem> coordItems[] = {
        {w.mnuCoordLinear, CoordItem::Linear},       {w.mnuCoordCylEquiDis, CoordItem::CylEquiDis},
        {w.mnuCoordSMerc, CoordItem::SMerc},         {w.mnuCoordTMerc, CoordItem::TMerc},
        {w.mnuCoordOrtho, CoordItem::Ortho},         {w.mnuCoordLmbertAzi, CoordItem::LmbertAzi},
        {w.mnuCoordAlbersEA, CoordItem::AlbersEA},   {w.mnuCoordLambertConf, CoordItem::LambertConf},
        {w.mnuCoordDegrees, CoordItem::Degrees},     {w.mnuCoordFeet, CoordItem::Feet},
        {w.mnuCoordMeters, CoordItem::Meters}};
    for (const auto& [action, item] : coordItems) {
        const CoordItem it = item;
        wireItem(action, [this, it] { coordClick(it); });
    }

    const std::pair<QAction*, DegreeFormatItem> formatItems[] = {
        {w.mnuViewLatLongDegMin, DegreeFormatItem::DegMin},
        {w.mnuViewLatLongDegMinSec, DegreeFormatItem::DegMinSec},
        {w.mnuViewLatLongDecimal1, DegreeFormatItem::Decimal1},
        {w.mnuViewLatLongDecimal2, DegreeFormatItem::Decimal2},
        {w.mnuViewLatLongDecimal3, DegreeFormatItem::Decimal3},
        {w.mnuViewLatLongDecimal4, DegreeFormatItem::Decimal4}};
    for (const auto& [action, item] : formatItems) {
        const DegreeFormatItem it = item;
        wireItem(action, [this, it] { degreeFormatClick(it); });
    }
    wireItem(w.mnuViewLatLong360, [this] { mnuViewLatLong360_Click(); });

    const std::pair<QAction*, int> resItems[] = {{w.mnuViewRes25, 25}, {w.mnuViewRes50, 50},
                                                 {w.mnuViewRes75, 75}, {w.mnuViewRes100, 100},
                                                 {w.mnuViewRes150, 150}, {w.mnuViewRes200, 200}};
    for (const auto& [action, percent] : resItems) {
        const int p = percent;
        wireItem(action, [this, p] { mnuViewRes_Click(p); });
    }

    connect(w.cmdZoomPage, &QPushButton::clicked, this, [this] { cmdZoomPage_Click(); });
    connect(w.cmdZoomOut, &QPushButton::clicked, this, [this] { cmdZoomOut_Click(); });
    connect(w.cmdZoomIn, &QPushButton::clicked, this, [this] { cmdZoomIn_Click(); });
    connect(w.cmdZoomFull, &QPushButton::clicked, this, [this] { cmdZoomFull_Click(); });
    connect(w.mnuViewZoomPage, &QAction::triggered, this, [this] { cmdZoomPage_Click(); });
    connect(w.mnuViewZoomOut, &QAction::triggered, this, [this] { cmdZoomOut_Click(); });
    connect(w.mnuViewZoomIn, &QAction::triggered, this, [this] { cmdZoomIn_Click(); });
    connect(w.mnuViewZoomFull, &QAction::triggered, this, [this] { cmdZoomFull_Click(); });

    // A drag of the thumb counts once, when it is let go.
    w.HScroll1->setTracking(false);
    w.VScroll1->setTracking(false);
    w.HScroll1->setMinimum(0);
    w.VScroll1->setMinimum(0);
    connect(w.HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    connect(w.VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });

    connect(w.cmdMap, &QPushButton::clicked, this, [this] { cmdMap_Click(); });
    connect(w.mnuFileImportMap, &QAction::triggered, this, [this] { cmdMap_Click(); });
    connect(w.mnuOptReg, &QAction::triggered, this, [this] { mnuOptReg_Click(); });

    connect(w.markers, &MarkerOverlay::pictureMouseMove, this, [this](MapPicture*, int, double x, double y) {
        if (!w.doc.MapBusy) MapPosition(x, y);
    });
    connect(w.markers, &MarkerOverlay::plotMouseMove, this,
            [this](int buttons, double x, double y) { picMap_MouseMove(buttons, 0, x, y); });
}

// ---------------------------------------------------------------------------
// View geometry: read from the widgets, applied back to them.

ZoomView MapView::currentView() const {
    ZoomView v;
    v.Frame1Width = twips::fromPx(w.Frame1->width());
    v.Frame1Height = twips::fromPx(w.Frame1->height());
    const QRect f2 = w.Frame2->geometry();
    if (m_frame2Known && twips::rect(m_frame2.Left, m_frame2.Top, m_frame2.Width, m_frame2.Height) == f2)
        v.Frame2 = m_frame2;
    else
        v.Frame2 = {twips::fromPx(f2.x()), twips::fromPx(f2.y()), twips::fromPx(f2.width()), twips::fromPx(f2.height())};
    v.imPoints = {w.imPoints->Left(), w.imPoints->Top(), w.imPoints->Width(), w.imPoints->Height()};
    v.picMap = {w.picMap->Left() + v.Frame2.Left, w.picMap->Top() + v.Frame2.Top, w.picMap->Width(),
                w.picMap->Height()};
    auto bar = [](const QScrollBar* b) {
        return ScrollBarModel{!b->isHidden(), b->maximum(), b->singleStep(), b->pageStep(), b->value()};
    };
    v.HScroll1 = bar(w.HScroll1);
    v.VScroll1 = bar(w.VScroll1);
    v.HScrollStep = w.doc.HScrollStep;
    v.VScrollStep = w.doc.VScrollStep;
    v.ScrollValue = w.doc.ScrollValue;
    v.PageWidth = w.doc.PageWidth;
    v.Frame8Caption = w.Frame8->title();
    v.enabled = zoomEnabled();
    return v;
}

void MapView::applyView(const ZoomView& v) {
    m_frame2 = v.Frame2;
    m_frame2Known = true;
    w.Frame2->setGeometry(twips::rect(v.Frame2.Left, v.Frame2.Top, v.Frame2.Width, v.Frame2.Height));
    w.markers->setGeometry(0, 0, w.Frame2->width(), w.Frame2->height());
    setPicturesSize(v.imPoints.Width, v.imPoints.Height);
    w.imPoints->Move(v.imPoints.Left, v.imPoints.Top, v.imPoints.Width, v.imPoints.Height);
    w.imContacts->Move(v.imPoints.Left, v.imPoints.Top, v.imPoints.Width, v.imPoints.Height);
    w.picMap->Move(v.picMap.Left - v.Frame2.Left, v.picMap.Top - v.Frame2.Top, v.picMap.Width, v.picMap.Height);
    auto bar = [](QScrollBar* b, const ScrollBarModel& m) {
        b->setMaximum(m.Max);
        b->setSingleStep(m.SmallChange);
        b->setPageStep(m.LargeChange);
        b->setValue(m.Value);
        b->setVisible(m.Visible);
    };
    bar(w.HScroll1, v.HScroll1);
    bar(w.VScroll1, v.VScroll1);
    w.doc.HScrollStep = v.HScrollStep;
    w.doc.VScrollStep = v.VScrollStep;
    w.doc.ScrollValue = v.ScrollValue;
    w.doc.PageWidth = v.PageWidth;
    w.Frame8->setTitle(v.Frame8Caption);
    setZoomEnabled(v.enabled);
}

// Every size change of the picture carries the registration clicks with it,
// so that a click given before a zoom still names the same place on the map
// when the registration is completed after it.
void MapView::setPicturesSize(double width, double height) {
    Document& d = w.doc;
    const double oldW = w.imPoints->Width();
    const double oldH = w.imPoints->Height();
    if (oldW > 0 && oldH > 0 && width > 0 && height > 0 && (oldW != width || oldH != height)) {
        const double sx = width / oldW;
        const double sy = height / oldH;
        if (d.RefPixelX1 != 0) d.RefPixelX1 = float(d.RefPixelX1 * sx);
        if (d.RefPixelX2 != 0) d.RefPixelX2 = float(d.RefPixelX2 * sx);
        if (d.RefPixelY1 != 0) d.RefPixelY1 = float(d.RefPixelY1 * sy);
        if (d.RefPixelY2 != 0) d.RefPixelY2 = float(d.RefPixelY2 * sy);
    }
}

ZoomEnabled MapView::zoomEnabled() const {
    return {w.cmdZoomPage->isEnabled(), w.cmdZoomOut->isEnabled(), w.cmdZoomIn->isEnabled(),
            w.cmdZoomFull->isEnabled()};
}

void MapView::setZoomEnabled(const ZoomEnabled& e) {
    w.cmdZoomPage->setEnabled(e.Page);
    w.mnuViewZoomPage->setEnabled(e.Page);
    w.cmdZoomOut->setEnabled(e.Out);
    w.mnuViewZoomOut->setEnabled(e.Out);
    w.cmdZoomIn->setEnabled(e.In);
    w.mnuViewZoomIn->setEnabled(e.In);
    w.cmdZoomFull->setEnabled(e.Full);
    w.mnuViewZoomFull->setEnabled(e.Full);
}

void MapView::hidePointMarkers(bool andReferences) {
    MarkerOverlay& mk = *w.markers;
    if (andReferences) {
        mk.labRef[1].Visible = false;
        mk.labRef[2].Visible = false;
    }
    for (int i = 1, n = std::min(w.doc.DatCount, mk.labDat.count()); i <= n; ++i) mk.labDat[i].Visible = false;
    for (int i = 1, n = std::min(w.doc.ConCount, mk.labCon.count()); i <= n; ++i) mk.labCon[i].Visible = false;
}

// ---------------------------------------------------------------------------
// Marker redraw.

// The glyphs of the markers are centred on the points they stand for.
void MapView::syncGlyphAnchors() {
    const Document& d = w.doc;
    if (d.RefMarkOffsetX > 0 || d.RefMarkOffsetY > 0)
        w.markers->setGlyphAnchor(MarkerKind::Ref, QPointF(d.RefMarkOffsetX, d.RefMarkOffsetY));
    if (d.MarkOffsetX > 0 || d.MarkOffsetY > 0) {
        w.markers->setGlyphAnchor(MarkerKind::Dat, QPointF(d.MarkOffsetX, d.MarkOffsetY));
        w.markers->setGlyphAnchor(MarkerKind::Con, QPointF(d.MarkOffsetX, d.MarkOffsetY));
    }
}

void MapView::MapReplot() {
    Document& d = w.doc;
    MarkerOverlay& mk = *w.markers;
    syncGlyphAnchors();
    if (!d.MapRegistered) {
        // Only the first registration click has a marker to follow.
        mk.labRef[1].Left = float(w.imPoints->Left() + d.RefPixelX1 - d.RefMarkOffsetX);
        mk.labRef[1].Top = float(w.imPoints->Top() + d.RefPixelY1 - d.RefMarkOffsetY);
        w.imPoints->show();
        mk.update();
        return;
    }
    try {
        d.MapBusy = true;
        w.setBusyPointers(true);
        requireMarkers(mk.labDat, d.DatCount);
        requireMarkers(mk.labCon, d.ConCount);
        requireRecords(d.DatumPoints.size(), d.DatCount);
        requireRecords(d.ContourPoints.size(), d.ConCount);
        for (int i = 1; i <= d.DatCount; ++i) mk.labDat[i].Visible = false;
        for (int i = 1; i <= d.ConCount; ++i) mk.labCon[i].Visible = false;
        if (w.mnuViewShowLabels->isChecked()) {
            requireMarkers(mk.labMap, d.LabelCount);
            for (int i = 1; i <= d.LabelCount; ++i) mk.labMap[i].Visible = false;
        }
        // The overlay is repainted once, at the end; the markers are not
        // painted in their hidden state in between.
        MainWindow::DoEvents();

        const MarkerTransform t(d, w.imPoints->Left(), w.imPoints->Top(), w.imPoints->Width(), w.imPoints->Height());
        for (int n = 1; n <= 2; ++n) {
            Marker& r = mk.labRef[n];
            r.Left = t.left(n == 1 ? d.RefMapX1 : d.RefMapX2, d.RefMarkOffsetX);
            r.Top = t.top(n == 1 ? d.RefMapY1 : d.RefMapY2, d.RefMarkOffsetY);
            r.Visible = true;
        }
        mk.bringToFront(MarkerKind::Ref);
        const bool longitude360 = w.mnuViewLatLong360->isChecked();
        for (int n = 1; n <= 2; ++n)
            if (const auto tip = referenceToolTip(d, n, longitude360)) mk.labRef[n].ToolTipText = *tip;

        const DataKind kind = w.optRock->isChecked()    ? DataKind::Contacts
                              : w.optStruc->isChecked() ? DataKind::Structural
                                                        : DataKind::Isopach;
        const bool feet = w.mnuCoordFeet->isChecked();
        PointTipText tip;
        auto place = [&](Marker& m, const DataPoint& p, bool datum) {
            m.Left = t.left(p.X, d.MarkOffsetX);
            m.Top = t.top(p.Y, d.MarkOffsetY);
            // Most redraws follow a zoom or scroll: the texts stay the same
            // and need no new copy.
            tip.build(kind, datum, p.Number, p.Z, feet);
            tip.assignTo(m.ToolTipText);
        };
        for (int i = 1; i <= d.DatCount; ++i) place(mk.labDat[i], d.DatumPoints[size_t(i)], true);
        for (int i = 1; i <= d.ConCount; ++i) place(mk.labCon[i], d.ContourPoints[size_t(i)], false);
        w.labDatNum->setText(QString::number(d.DatCount));
        w.labConNum->setText(QString::number(d.ConCount));

        if (kind == DataKind::Contacts) {
            const bool all = d.ContactShown == QLatin1String("All");
            const float shown = legacy::NumVal(d.ContactShown);
            for (int i = 1; i <= d.DatCount; ++i) mk.labDat[i].Visible = all || d.DatumPoints[size_t(i)].Z == shown;
            mk.bringToFront(MarkerKind::Dat);
        } else {
            for (int i = 1; i <= d.DatCount; ++i) mk.labDat[i].Visible = true;
            mk.bringToFront(MarkerKind::Dat);
            for (int i = 1; i <= d.ConCount; ++i) mk.labCon[i].Visible = true;
            mk.bringToFront(MarkerKind::Con);
        }
        w.imContacts->Move(w.imPoints->Left(), w.imPoints->Top(), w.imPoints->Width(), w.imPoints->Height());

        w.setPanel(2, modeStatusText(kind, d.DataTitle));
        w.labText->setText(pointsLineText(kind, d.ContactShown, d.DatCount, d.ConCount));
        if (kind == DataKind::Contacts && contactEnum) contactEnum();

        w.imPoints->show();
        mk.update();
        MainWindow::DoEvents();
        if (w.LabelsShown) {
            if (labelReplot) labelReplot();
        } else {
            w.mnuViewShowLabels->setChecked(false);
        }
    } catch (const std::exception& e) {
        w.reportError(QStringLiteral("MapReplot error: "), describe(e));
    }
    d.MapBusy = false;
    w.setBusyPointers(false);
    mk.update();
}

// ---------------------------------------------------------------------------
// Zoom and scrolling.

void MapView::cmdZoomPage_Click() {
    try {
        w.setBusyPointers(true);
        w.imPoints->hide();
        MainWindow::DoEvents();
        ZoomView v = currentView();
        pageReset(v);
        hidePointMarkers(true);
        applyView(v);
        w.markers->update();
        MainWindow::DoEvents();
        if (!hasImage(w.doc.ImageWidthPx, w.doc.ImageHeightPx)) {
            w.setBusyPointers(false);
            return;
        }
        pageFitPicture(v, w.doc.ImageWidthPx, w.doc.ImageHeightPx);
        applyView(v);
        w.mnuOpt->menuAction()->setEnabled(true);
        w.mnuView->menuAction()->setEnabled(true);
        MainWindow::DoEvents();
        MapReplot();
    } catch (const std::exception& e) {
        w.reportError(QStringLiteral("cmdZoomPage error: "), describe(e));
    }
    w.setBusyPointers(false);
}

void MapView::MapZoom() {
    try {
        w.setBusyPointers(true);
        MainWindow::DoEvents();
        hidePointMarkers(true);
        w.markers->update();
        MainWindow::DoEvents();
        w.imPoints->hide();
        MainWindow::DoEvents();
        ZoomView v = currentView();
        applyZoom(v, {w.doc.ZoomWidth, w.doc.ZoomHeight});
        applyView(v);
        MapReplot();
    } catch (const std::exception& e) {
        w.reportError(QStringLiteral("Zoom error: "), describe(e));
    }
    w.setBusyPointers(false);
}

// The buttons a zoom command leaves enabled, then the zoom itself.
void MapView::zoomStep(ZoomCommand command) {
    ZoomEnabled e = zoomEnabled();
    applyZoomEnabled(e, command);
    setZoomEnabled(e);
    MapZoom();
}

void MapView::cmdZoomFull_Click() {
    try {
        const ZoomSize s = zoomFullSize(w.doc.ImageWidthPx, w.doc.ImageHeightPx, w.doc.ZoomMax);
        w.doc.ZoomWidth = s.Width;
        w.doc.ZoomHeight = s.Height;
        zoomStep(ZoomCommand::Full);
        w.Frame8->setTitle(w.Frame8->title() + QStringLiteral(" (Full)"));
    } catch (const std::exception& e) {
        w.reportError(QStringLiteral("cmdZoomFull error: "), describe(e));
    }
}

void MapView::cmdZoomIn_Click() {
    try {
        ZoomSize s;
        const ZoomOutcome o = zoomInSize(currentView(), w.doc.ImageWidthPx, w.doc.ImageHeightPx, w.doc.ZoomMax, s);
        w.doc.ZoomWidth = s.Width;
        w.doc.ZoomHeight = s.Height;
        if (o == ZoomOutcome::Full) {
            cmdZoomFull_Click();
            return;
        }
        zoomStep(ZoomCommand::In);
    } catch (const std::exception& e) {
        w.reportError(QStringLiteral("cmdZoomIn error: "), describe(e));
    }
}

void MapView::cmdZoomOut_Click() {
    try {
        ZoomSize s;
        const ZoomOutcome o =
            zoomOutSize(currentView(), w.doc.ImageWidthPx, w.doc.ImageHeightPx, w.doc.PageZoomSize, s);
        w.doc.ZoomWidth = s.Width;
        w.doc.ZoomHeight = s.Height;
        if (o == ZoomOutcome::Page) {
            cmdZoomPage_Click();
            return;
        }
        zoomStep(ZoomCommand::Out);
    } catch (const std::exception& e) {
        w.reportError(QStringLiteral("cmdZoomOut error: "), describe(e));
    }
}

void MapView::HScroll1_Change() { scrollChange(ScrollAxis::Horizontal); }
void MapView::VScroll1_Change() { scrollChange(ScrollAxis::Vertical); }

void MapView::scrollChange(ScrollAxis axis) {
    // A zoom sets the bars while the picture is hidden: only the thumb moves.
    if (w.imPoints->isHidden()) return;
    const bool h = axis == ScrollAxis::Horizontal;
    QScrollBar* bar = h ? w.HScroll1 : w.VScroll1;
    try {
        w.setBusyPointers(true);
        w.doc.MapBusy = true;
        bar->setEnabled(false);
        MainWindow::DoEvents();
        hidePointMarkers(w.optDat->isEnabled());
        ZoomView v = currentView();
        scrollTo(v, axis, bar->value());
        applyView(v);
        MapReplot();
        bar->setEnabled(true);
        w.doc.MapBusy = false;
    } catch (const std::exception& e) {
        w.reportError(h ? QStringLiteral("Scroll error: ") : QStringLiteral("VScroll1 error: "), describe(e));
        // Back to the start, which scrolls the picture there through this
        // same handler; the bar and the map are usable again either way.
        bar->setEnabled(true);
        w.doc.MapBusy = false;
        bar->setValue(0);
    }
    w.setBusyPointers(false);
}

// ---------------------------------------------------------------------------
// Map image.

void MapView::MapLoad() { m_loadSucceeded = loadMap(); }

bool MapView::loadMap() {
    Document& d = w.doc;
    MarkerOverlay& mk = *w.markers;
    // A reload replaces the map of the document on screen (a new resolution,
    // an undone rotation, the outside editor); its failure must not cost the
    // document.  After a reset nothing is on screen and the load is a first.
    const bool reload = !w.imPoints->picture().isNull() &&
                        (!w.imPoints->isHidden() || !w.imContacts->isHidden() || !w.picMap->isHidden());
    const QImage oldImage = w.picImgX ? w.picImgX->picture() : QImage();
    const QImage oldShown = w.imPoints->picture();
    const float oldWidthPx = d.ImageWidthPx, oldHeightPx = d.ImageHeightPx;
    const TwipRect oldPoints{w.imPoints->Left(), w.imPoints->Top(), w.imPoints->Width(), w.imPoints->Height()};
    const bool pointsShown = !w.imPoints->isHidden(), contactsShown = !w.imContacts->isHidden();
    std::vector<char> datShown, conShown, linesShown;
    if (reload) {
        for (int i = 1; i <= mk.labDat.count(); ++i) datShown.push_back(mk.labDat[i].Visible);
        for (int i = 1; i <= mk.labCon.count(); ++i) conShown.push_back(mk.labCon[i].Visible);
        for (int i = 1; i <= mk.LineCon.count(); ++i) linesShown.push_back(mk.LineCon[i].Visible);
    }
    try {
        hidePointMarkers(false);
        for (int i = 1, n = std::min<int>(d.ContactLineCount, mk.LineCon.count()); i <= n; ++i)
            mk.LineCon[i].Visible = false;
        mk.update();
        w.imPoints->hide();
        w.imContacts->hide();
        w.setBusyPointers(true);
        MainWindow::DoEvents();

        if (!w.picImgX) legacy::raise(QStringLiteral("The imaging component is not available"));
        w.picImgX->load(d.MapFileName);
        const int loaded = w.picImgX->width();
        int32_t width = loaded;
        if (w.mnuViewRes25->isChecked()) width = legacy::CLng(loaded * 0.25);
        else if (w.mnuViewRes50->isChecked()) width = legacy::CLng(loaded * 0.5);
        else if (w.mnuViewRes75->isChecked()) width = legacy::CLng(loaded * 0.75);
        else if (w.mnuViewRes150->isChecked()) width = legacy::CLng(loaded * 1.5);
        else if (w.mnuViewRes200->isChecked()) width = legacy::CLng(double(loaded) * 2);
        if (width != loaded) w.picImgX->resize(width);

        d.ImageWidthPx = float(w.picImgX->width());
        d.ImageHeightPx = float(w.picImgX->height());
        setPicturesSize(d.ImageWidthPx, d.ImageHeightPx);
        w.imPoints->Move(w.imPoints->Left(), w.imPoints->Top(), d.ImageWidthPx, d.ImageHeightPx);
        const QImage shown = w.picImgX->picture();
        w.imPoints->setPicture(shown);
        w.imContacts->setPicture(shown);
        // The picture is the file's again: a rotation or skew is gone.
        d.MapPictureEdited = d.MapPictureInMemory = false;
        cmdZoomPage_Click();
        if (!d.MapRegistered) w.mnuCoord->menuAction()->setEnabled(true);
        // A first load shows the map view; a reload keeps the view shown.
        if (!reload) w.tickShownView(MainWindow::ShownView::Map);
        return true;
    } catch (const std::exception& e) {
        w.setBusyPointers(false);
        w.reportError(QStringLiteral("Map load error: "), describe(e), 0, 48);
        if (!reload) {
            w.ClearAll();
            return false;
        }
        // Keep the document and put the old map back as it was shown.
        if (w.picImgX && !oldImage.isNull()) w.picImgX->takePicture(oldImage);
        d.ImageWidthPx = oldWidthPx;
        d.ImageHeightPx = oldHeightPx;
        setPicturesSize(oldPoints.Width, oldPoints.Height);
        w.imPoints->Move(oldPoints.Left, oldPoints.Top, oldPoints.Width, oldPoints.Height);
        w.imPoints->setPicture(oldShown);
        w.imContacts->setPicture(oldShown);
        w.imPoints->setVisible(pointsShown);
        w.imContacts->setVisible(contactsShown);
        for (int i = 1; i <= mk.labDat.count() && i <= int(datShown.size()); ++i) mk.labDat[i].Visible = datShown[size_t(i - 1)];
        for (int i = 1; i <= mk.labCon.count() && i <= int(conShown.size()); ++i) mk.labCon[i].Visible = conShown[size_t(i - 1)];
        for (int i = 1; i <= mk.LineCon.count() && i <= int(linesShown.size()); ++i)
            mk.LineCon[i].Visible = linesShown[size_t(i - 1)];
        mk.update();
        return false;
    }
}

void MapView::mnuViewRes_Click(int percent) {
    const std::pair<QAction*, int> items[] = {{w.mnuViewRes25, 25}, {w.mnuViewRes50, 50},   {w.mnuViewRes75, 75},
                                              {w.mnuViewRes100, 100}, {w.mnuViewRes150, 150}, {w.mnuViewRes200, 200}};
    QAction* before = nullptr;
    for (const auto& [action, p] : items)
        if (action->isChecked()) before = action;
    for (const auto& [action, p] : items) action->setChecked(p == percent);
    MapLoad();
    // A map that could not be loaded at the new resolution is still shown
    // (or gone) at the old one: the tick says so.
    if (!m_loadSucceeded && before)
        for (const auto& [action, p] : items) action->setChecked(action == before);
    w.setBusyPointers(false);
}

void MapView::MapFind() {
    dlg::CommonDialog cd;
    cd.CancelError = true;
    cd.DialogTitle = QStringLiteral("Open Map File");
    cd.FileName = w.app.DataFolder + FileService::SplitPath(w.doc.MapFileName, false);
    cd.Flags = FileMustExist;
    cd.Filter = FindMapFilter;
    if (dlg::showOpen(cd)) w.doc.MapFileName = cd.FileName;
    else w.doc.MapFileName.clear();
}

void MapView::cmdMap_Click() {
    Document& d = w.doc;
    // The import starts a new document: a changed one is offered for saving
    // first, as opening a project does.
    if (!w.offerToSave(false)) return;
    d.MapBusy = true;
    dlg::CommonDialog cd;
    cd.CancelError = true;
    cd.DialogTitle = QStringLiteral("Open Map File");
    cd.FileName.clear();
    cd.Flags = FileMustExist;
    cd.InitDir = w.DialogInitDir;
    cd.Filter = MapImageFilter;
    const bool chosen = dlg::showOpen(cd);
    MainWindow::DoEvents();
    d.MapBusy = false;
    if (!chosen) return;
    try {
        w.ClearAll();
        d.MapFileName = cd.FileName;
        const QString name = FileService::SplitPath(d.MapFileName, false);
        if (name.size() < 4) legacy::raise(legacy::ErrorCode::InvalidCall);
        d.DataTitle = name.left(name.size() - 4);
        d.proposeProjectName(w.app.DataFolder + d.DataTitle + QStringLiteral(".vlm"));
        MainWindow::DoEvents();
        MapLoad();
        // A map that did not load has been reported and the document
        // cleared; nothing is left to name or to save.
        if (m_loadSucceeded) {
            w.setDocumentCaption(d.DataTitle);
            w.labText->setText(QStringLiteral("Unregistered Map"));
            w.setPanel(2, unregisteredStatus(d.DataTitle));
            w.enableSaving();
            d.DataChanged = false;
            w.enablePrinting();
            for (QWidget* c : std::initializer_list<QWidget*>{w.optDat, w.optCon, w.labDatCol, w.labConCol})
                c->setEnabled(false);
        }
    } catch (const std::exception&) {
        dlg::msgBox(QStringLiteral("Unabled to open file <") + d.MapFileName + QStringLiteral(">"),
                    {dlg::Buttons::OK, dlg::Icon::Information}, QStringLiteral("Vexolan"));
    }
    w.setBusyPointers(false);
}

// ---------------------------------------------------------------------------
// Registration.

bool MapView::MapRegisterProjection() {
    return ::MapRegisterProjection(w.doc, w.imPoints->Width(), w.imPoints->Height());
}

void MapView::registrationFailed(const QString& description) {
    Document& d = w.doc;
    w.reportError(QStringLiteral("Map Registration error!"), description);
    d.ProjectionFailed = false;
    d.RefPixelX1 = d.RefPixelY1 = d.RefPixelX2 = d.RefPixelY2 = 0;
    w.markers->labRef[1].Visible = false;
    w.markers->labRef[2].Visible = false;
    d.MapRegistered = false;
    w.markers->update();
}

void MapView::MapRegister(double x, double y) {
    Document& d = w.doc;
    MarkerOverlay& mk = *w.markers;
    if (d.CoordUnits.isEmpty() || d.ProjectionName.isEmpty()) {
        dlg::msgBox(QStringLiteral("Please choose the map projection and units from the Coordinates Menu."),
                    {dlg::Buttons::OK, dlg::Icon::None});
        return;
    }
    const bool degrees = placement::mapInDegrees(d);
    auto cancelPoint = [&](int n) {
        if (n == 1) d.RefPixelX1 = d.RefPixelY1 = 0;
        else d.RefPixelX2 = d.RefPixelY2 = 0;
        mk.labRef[n].Visible = false;
        mk.update();
    };
    // Every answer must be a number, and on a map in degrees a position on
    // the globe: a slip read as 0 would tie the map to a false place.
    auto strictSingle = [](const QString& what, const QString& text) {
        double v = 0;
        if (auto why = placement::numberRefusal(what, text, v)) legacy::raise(*why);
        return legacy::ToSingle(v);
    };
    auto refuse = [&](const std::optional<QString>& why) {
        if (degrees && why) legacy::raise(*why);
    };
    try {
        const int point = d.RefPixelX1 == 0 ? 1 : 2;
        if (point == 2) {
            // Point 1 kept from a registration that has since been undone
            // for point 2 alone holds projected values; the new fit needs
            // them as typed.
            const bool projected = (d.MapSpanX != 0 || d.MapSpanY != 0) &&
                                   !(m_point1Typed && d.RefMapX1 == m_typedX1 && d.RefMapY1 == m_typedY1);
            float tx = 0, ty = 0;
            if (projected && unprojectReference(d, d.RefMapX1, d.RefMapY1, tx, ty)) {
                d.RefMapX1 = tx;
                d.RefMapY1 = ty;
            }
            d.ProjectionFailed = false;
            m_point1Typed = true;
            m_typedX1 = d.RefMapX1;
            m_typedY1 = d.RefMapY1;
        }
        syncGlyphAnchors();
        Marker& ref = mk.labRef[point];
        ref.Left = float(w.imPoints->Left() + x - d.RefMarkOffsetX);
        ref.Top = float(w.imPoints->Top() + y - d.RefMarkOffsetY);
        ref.Visible = true;
        mk.bringToFront(MarkerKind::Ref);
        mk.update();
        MainWindow::DoEvents();

        const RegistrationPrompt px = registrationXPrompt(point, degrees);
        const QString xAnswer = dlg::inputBox(px.prompt, px.title, QString());
        if (xAnswer.isEmpty()) {
            cancelPoint(point);
            return;
        }
        const QString xName = degrees ? QStringLiteral("Longitude") : QStringLiteral("Easting");
        const QString yName = degrees ? QStringLiteral("Latitude") : QStringLiteral("Northing");
        if (point == 1) {
            d.RefPixelX1 = float(x);
            d.RefMapX1 = strictSingle(xName, xAnswer);
            refuse(placement::longitudeRefusal(xName, d.RefMapX1));
        } else {
            d.RefPixelX2 = float(x);
            d.RefMapX2 = strictSingle(xName, xAnswer);
            refuse(placement::longitudeRefusal(xName, d.RefMapX2));
        }

        if (d.RefPixelY1 == 0) {
            const RegistrationPrompt py = registrationYPrompt(1, degrees);
            const QString yAnswer = dlg::inputBox(py.prompt, py.title, QString());
            if (yAnswer.isEmpty()) {
                cancelPoint(1);
                return;
            }
            d.RefPixelY1 = float(y);
            d.RefMapY1 = strictSingle(yName, yAnswer);
            refuse(placement::latitudeRefusal(yName, d.RefMapY1));
            mk.labRef[1].ToolTipText = QStringLiteral("Registration Point 1: Northing = ") +
                                       legacy::Format(d.RefMapY1, QStringLiteral("0")) +
                                       QStringLiteral("; Easting = ") + legacy::Format(d.RefMapX1, QStringLiteral("0"));
            m_point1Typed = true;
            m_typedX1 = d.RefMapX1;
            m_typedY1 = d.RefMapY1;
        } else {
            const RegistrationPrompt py = registrationYPrompt(2, degrees);
            const QString yAnswer = dlg::inputBox(py.prompt, py.title, QString());
            if (yAnswer.isEmpty()) {
                cancelPoint(2);
                return;
            }
            d.RefPixelY2 = float(y);
            d.RefMapY2 = strictSingle(yName, yAnswer);
            refuse(placement::latitudeRefusal(yName, d.RefMapY2));
            if (asksCentralMeridian(d.ProjectionName)) {
                const QString m = dlg::inputBox(QStringLiteral("Enter central meridian"),
                                                QStringLiteral("Map Longitude Registration"), centralMeridianDefault(d));
                if (m.isEmpty()) {
                    cancelPoint(2);
                    return;
                }
                const double meridian = strictSingle(QStringLiteral("Central meridian"), m);
                refuse(placement::longitudeRefusal(QStringLiteral("Central meridian"), meridian));
                d.CentralMeridian = float(DegRad(meridian, true));
                if (asksCentralParallel(d.ProjectionName)) {
                    const QString p = dlg::inputBox(QStringLiteral("Enter central parallel"),
                                                    QStringLiteral("Map Latitude Registration"),
                                                    centralParallelDefault(d));
                    if (p.isEmpty()) {
                        cancelPoint(2);
                        return;
                    }
                    const double deg = strictSingle(QStringLiteral("Central parallel"), p);
                    refuse(placement::latitudeRefusal(QStringLiteral("Central parallel"), deg));
                    d.CentralParallel = float(DegRad(deg, true));
                    d.Lat1 = float(DegRad(deg - 1, true));
                    d.Lat2 = float(DegRad(deg + 1, true));
                }
            }
        }

        if (d.RefPixelX1 != 0 && d.RefPixelY1 != 0 && d.RefPixelX2 != 0 && d.RefPixelY2 != 0) {
            if (!MapRegisterProjection()) {
                registrationFailed(QString());
                return;
            }
            d.ProjectionFailed = false;
            m_point1Typed = false;
            for (QWidget* c : std::initializer_list<QWidget*>{w.optDat, w.optCon, w.optRock, w.optStruc, w.optIso,
                                                              w.labDatCol, w.labConCol})
                c->setEnabled(true);
            w.enableSaving();
            d.DataChanged = false;
            d.MapRegistered = true;
            w.mnuCoord->menuAction()->setEnabled(false);
            MapReplot();
        }
    } catch (const std::exception& e) {
        registrationFailed(describe(e));
    }
}

void MapView::mnuOptReg_Click() {
    Document& d = w.doc;
    if (dlg::msgBox(QStringLiteral("Re-registering will clear all data, do you wish to continue"),
                    {dlg::Buttons::YesNo, dlg::Icon::Question}) == dlg::Answer::No)
        return;
    const QString dataFile = d.DataFileName, mapFile = d.MapFileName, title = d.DataTitle;
    const QString projection = d.ProjectionName, units = d.CoordUnits;
    // A project name that must be asked for still must be.
    const bool askName = d.AskProjectName;
    w.ClearAll();
    d.AskProjectName = askName;
    d.DataFileName = dataFile;
    d.MapFileName = mapFile;
    d.DataTitle = title;
    d.ProjectionName = projection;
    d.CoordUnits = units;
    MapLoad();
    if (m_loadSucceeded) {
        // The caption names the document by its title, as the status bar does.
        w.setDocumentCaption(d.DataTitle);
        w.setPanel(2, unregisteredStatus(d.DataTitle));
        w.enableSaving();
        d.DataChanged = false;
        w.enablePrinting();
        for (QWidget* c : std::initializer_list<QWidget*>{w.optDat, w.labDatCol, w.optCon, w.labConCol})
            c->setEnabled(false);
        if (const auto item = reselectProjectionItem(projection)) coordClick(*item);
        coordClick(reselectUnitsItem(units));
    }
    w.setBusyPointers(false);
}

// ---------------------------------------------------------------------------
// Cursor read-out.

void MapView::MapPosition(double x, double y) {
    const QString text = mapCursorText(w.doc, x, y, w.imPoints->Width(), w.imPoints->Height(),
                                       w.mnuCoordDegrees->isChecked(), w.mnuViewLatLong360->isChecked());
    w.imPoints->ToolTipText = text;
    w.imContacts->ToolTipText = text;
}

void MapView::picMap_MouseMove(int, int, double x, double y) {
    if (w.doc.MapBusy) {
        w.picMap->ToolTipText.clear();
        w.markers->setCursor(Qt::WaitCursor);
        return;
    }
    w.markers->setCursor(Qt::CrossCursor);
    try {
        w.picMap->ToolTipText = plotCursorText(w.doc, x, y, w.picMap->Width(), w.picMap->Height());
    } catch (const std::exception& e) {
        w.reportError(QStringLiteral("picMapMouseMove error: "), describe(e));
    }
}

// ---------------------------------------------------------------------------
// Coordinates and Degree Format menus.

void MapView::readCoordMenu(CoordMenuState& s) const {
    s.ProjectionName = w.doc.ProjectionName;
    s.CoordUnits = w.doc.CoordUnits;
    s.mnuCoordLinear = w.mnuCoordLinear->isChecked();
    s.mnuCoordCylEquiDis = w.mnuCoordCylEquiDis->isChecked();
    s.mnuCoordSMerc = w.mnuCoordSMerc->isChecked();
    s.mnuCoordTMerc = w.mnuCoordTMerc->isChecked();
    s.mnuCoordOrtho = w.mnuCoordOrtho->isChecked();
    s.mnuCoordLmbertAzi = w.mnuCoordLmbertAzi->isChecked();
    s.mnuCoordAlbersEA = w.mnuCoordAlbersEA->isChecked();
    s.mnuCoordLambertConf = w.mnuCoordLambertConf->isChecked();
    s.mnuCoordDegrees = w.mnuCoordDegrees->isChecked();
    s.mnuCoordMeters = w.mnuCoordMeters->isChecked();
    s.mnuCoordFeet = w.mnuCoordFeet->isChecked();
    s.mnuCoordFeetEnabled = w.mnuCoordFeet->isEnabled();
    s.mnuCoordMetersEnabled = w.mnuCoordMeters->isEnabled();
    s.StatusPanel1 = w.panel(1);
}

void MapView::writeCoordMenu(const CoordMenuState& s) {
    w.doc.ProjectionName = s.ProjectionName;
    w.doc.CoordUnits = s.CoordUnits;
    w.mnuCoordLinear->setChecked(s.mnuCoordLinear);
    w.mnuCoordCylEquiDis->setChecked(s.mnuCoordCylEquiDis);
    w.mnuCoordSMerc->setChecked(s.mnuCoordSMerc);
    w.mnuCoordTMerc->setChecked(s.mnuCoordTMerc);
    w.mnuCoordOrtho->setChecked(s.mnuCoordOrtho);
    w.mnuCoordLmbertAzi->setChecked(s.mnuCoordLmbertAzi);
    w.mnuCoordAlbersEA->setChecked(s.mnuCoordAlbersEA);
    w.mnuCoordLambertConf->setChecked(s.mnuCoordLambertConf);
    w.mnuCoordDegrees->setChecked(s.mnuCoordDegrees);
    w.mnuCoordMeters->setChecked(s.mnuCoordMeters);
    w.mnuCoordFeet->setChecked(s.mnuCoordFeet);
    w.mnuCoordFeet->setEnabled(s.mnuCoordFeetEnabled);
    w.mnuCoordMeters->setEnabled(s.mnuCoordMetersEnabled);
    w.setPanel(1, s.StatusPanel1);
}

void MapView::coordClick(CoordItem item) {
    CoordMenuState s;
    readCoordMenu(s);
    applyCoordClick(s, item);
    writeCoordMenu(s);
}

void MapView::degreeFormatClick(DegreeFormatItem item) {
    DegreeFormatMenuState m;
    applyDegreeFormatClick(m, w.doc.LatLongFormat, item);
    w.mnuViewLatLongDegMin->setChecked(m.mnuViewLatLongDegMin);
    w.mnuViewLatLongDegMinSec->setChecked(m.mnuViewLatLongDegMinSec);
    w.mnuViewLatLongDecimal1->setChecked(m.mnuViewLatLongDecimal1);
    w.mnuViewLatLongDecimal2->setChecked(m.mnuViewLatLongDecimal2);
    w.mnuViewLatLongDecimal3->setChecked(m.mnuViewLatLongDecimal3);
    w.mnuViewLatLongDecimal4->setChecked(m.mnuViewLatLongDecimal4);
}

void MapView::mnuViewLatLong360_Click() {
    DegreeFormatMenuState m;
    m.mnuViewLatLong360 = w.mnuViewLatLong360->isChecked();
    applyLongitude360Click(m);
    w.mnuViewLatLong360->setChecked(m.mnuViewLatLong360);
}
