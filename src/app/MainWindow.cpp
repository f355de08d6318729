#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/MenuShortcuts.h"
#include "app/Twips.h"
#include "app/WindowPlacement.h"
#include "app/ViewMenu.h"
#include "app/PreferencesCommands.h"
#include "contour/ContourCommands.h"
#include "contour/ContourLineCommands.h"
#include "exchange/ExportCommands.h"
#include "exchange/ImportCommands.h"
#include "map/MapEditCommands.h"
#include "print/PrintCommands.h"
#include "removal/RemovalCommands.h"
#include "digitize/ContactDisplay.h"
#include "digitize/Digitizer.h"
#include "digitize/LabelCommands.h"
#include "document/Legacy.h"
#include "document/SaveWays.h"
#include "document/ProjectCommands.h"
#include "map/MapView.h"
#include "platform/ColorNumber.h"
#include "platform/Dialogs.h"
#include "platform/FileService.h"
#include "platform/Help.h"
#include "platform/ImagingObject.h"
#include "platform/Shell.h"
#include "platform/Printers.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QUrl>
#include <QStatusBar>

std::function<void()> MainWindow::DoEvents = [] { QCoreApplication::processEvents(); };

// ---------------------------------------------------------------------------
ColorSwatch::ColorSwatch(QWidget* parent) : QLabel(QStringLiteral("*"), parent) {
    QFont f = font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.5);
    setFont(f);
    setAlignment(Qt::AlignCenter);
}

void ColorSwatch::setForeColor(long color) {
    m_color = color;
    setStyleSheet(QStringLiteral("color: %1;").arg(colorFromNumber(color).name()));
}

void ColorSwatch::mouseDoubleClickEvent(QMouseEvent* e) {
    QLabel::mouseDoubleClickEvent(e);
    if (isEnabled()) emit doubleClicked();
}

void OptionButton::setValue(bool on) {
    if (isChecked() == on) return;
    if (on) {
        setChecked(true);
        return;
    }
    // An exclusive group refuses to leave every member clear; step out of it.
    QButtonGroup* g = group();
    const bool wasExclusive = g ? g->exclusive() : autoExclusive();
    if (g) g->setExclusive(false);
    else setAutoExclusive(false);
    setChecked(false);
    if (g) g->setExclusive(wasExclusive);
    else setAutoExclusive(wasExclusive);
}

// ---------------------------------------------------------------------------
namespace {
// A menu's item is enabled and disabled by the commands' own rules.  Qt
// copies a menu's widget state onto its item whenever the widget's enabled
// state changes, which happens to every menu when the main window is enabled
// again (after the print window or an outside editor): that would bring back
// menus the rules keep off, such as Coordinates on a registered map.
class MenuItemStateKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange) return true;
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

static void initResources() { Q_INIT_RESOURCE(resources); }

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    initResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(dlg::applicationTitle());
    setWindowIcon(QIcon(QStringLiteral(":/images/vexolan.png")));
    // The layout is measured for a small sans-serif face; Linux has no
    // "MS Sans Serif", so name the metric-compatible family that replaces it.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QApplication::setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    buildMenus();
    buildControls();
    wireBaseCommands();
    mapView = new MapView(*this);
    digitizer = new Digitizer(*this);
    projectCommands = new ProjectCommands(*this);
    labelCommands = new LabelCommands(*this);
    contactDisplay = new ContactDisplay(*this);
    viewMenu = new ViewMenu(*this);
    contourCommands = new ContourCommands(*this);
    contourLineCommands = new ContourLineCommands(*this);
    importCommands = new ImportCommands(*this);
    exportCommands = new ExportCommands(*this);
    removalCommands = new RemovalCommands(*this);
    printCommands = new PrintCommands(*this);
    mapEditCommands = new MapEditCommands(*this);
    preferencesCommands = new PreferencesCommands(*this);
    dlg::setParentWindow(this);
}

MainWindow::~MainWindow() {
    if (dlg::parentWindow() == this) dlg::setParentWindow(nullptr);
}

QAction* MainWindow::item(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QMenu* MainWindow::submenu(QMenu* menu, const char* name, const QString& caption) {
    QMenu* m = menu ? menu->addMenu(caption) : menuBar()->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    if (!m_menuStates) m_menuStates = new MenuItemStateKeeper(this);
    m->installEventFilter(m_menuStates);
    m->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
    return m;
}

void MainWindow::buildMenus() {
    mnuFile = submenu(nullptr, "mnuFile", QStringLiteral("&File"));
    mnuFileOpen = submenu(mnuFile, "mnuFileOpen", QStringLiteral("&Open"));
    mnuFileOpenDig = item(mnuFileOpen, "mnuFileOpenDig", QStringLiteral("&Vexolan File..."));
    mnuFileOpenDat = item(mnuFileOpen, "mnuFileOpenDat", QStringLiteral("&VexoData File..."));
    mnuFileOpenCon = item(mnuFileOpen, "mnuFileOpenCon", QStringLiteral("&Contour File..."));
    mnuFileOpenLab = item(mnuFileOpen, "mnuFileOpenLab", QStringLiteral("&Label File..."));
    mnuFileImport = submenu(mnuFile, "mnuFileImport", QStringLiteral("&Import"));
    mnuFileImportMap = item(mnuFileImport, "mnuFileImportMap", QStringLiteral("&Map..."));
    mnuFileImportData = item(mnuFileImport, "mnuFileImportData", QStringLiteral("&Data..."));
    mnuFileExport = submenu(mnuFile, "mnuFileExport", QStringLiteral("&Export"));
    mnuFileExportData = item(mnuFileExport, "mnuFileExportData", QStringLiteral("&Data..."));
    mnuFileExportMap = item(mnuFileExport, "mnuFileExportMap", QStringLiteral("&Map..."));
    mnuFile->addSeparator();
    mnuFileSave = item(mnuFile, "mnuFileSave", QStringLiteral("&Save"));
    mnuFileSave->setShortcut(QKeySequence::Save);
    mnuFileSaveAs = item(mnuFile, "mnuFileSaveAs", QStringLiteral("Save &As..."));
    mnuFileClose = item(mnuFile, "mnuFileClose", QStringLiteral("&Close"));
    mnuFile->addSeparator();
    mnuFileScan = submenu(mnuFile, "mnuFileScan", QStringLiteral("Sca&n"));
    mnuFileScanSelect = item(mnuFileScan, "mnuFileScanSelect", QStringLiteral("&Select Source..."));
    mnuFileScanAcquire = item(mnuFileScan, "mnuFileScanAcquire", QStringLiteral("&Acquire..."));
    mnuFilePrint = item(mnuFile, "mnuFilePrint", QStringLiteral("&Print..."));
    mnuFilePreferences = item(mnuFile, "mnuFilePreferences", QStringLiteral("Pre&ferences..."));
    mnuFile->addSeparator();
    mnuFileExit = item(mnuFile, "mnuFileExit", QStringLiteral("E&xit"));

    mnuOpt = submenu(nullptr, "mnuOpt", QStringLiteral("&Edit"));
    mnuOptRot = submenu(mnuOpt, "mnuOptRot", QStringLiteral("&Rotate Map"));
    mnuOptRotDo = item(mnuOptRot, "mnuOptRotDo", QStringLiteral("&Rotate..."));
    mnuOptRotUndo = item(mnuOptRot, "mnuOptRotUndo", QStringLiteral("&Undo Rotate"));
    mnuOptSkew = submenu(mnuOpt, "mnuOptSkew", QStringLiteral("&Skew map"));
    mnuOptSkewHoriz = item(mnuOptSkew, "mnuOptSkewHoriz", QStringLiteral("&Horizontally..."));
    mnuOptSkewVert = item(mnuOptSkew, "mnuOptSkewVert", QStringLiteral("&Vertically..."));
    mnuOptSkewUndo = item(mnuOptSkew, "mnuOptSkewUndo", QStringLiteral("&Undo Skew"));
    mnuOptEdit = item(mnuOpt, "mnuOptEdit", QStringLiteral("&Edit Map..."));
    mnuOptTitle = item(mnuOpt, "mnuOptTitle", QStringLiteral("Change &Title"));
    mnuOptReg = item(mnuOpt, "mnuOptReg", QStringLiteral("&Re-register Map"));
    mnuOpt->addSeparator();
    mnuOptOrder = item(mnuOpt, "mnuOptOrder", QStringLiteral("&Order Points"));
    mnuOptClearDat = submenu(mnuOpt, "mnuOptClearDat", QStringLiteral("Remover &Datum Points"));
    mnuOptClearDatOne = item(mnuOptClearDat, "mnuOptClearDatOne", QStringLiteral("&One Contact Set"));
    mnuOptClearDatAllbutOne = item(mnuOptClearDat, "mnuOptClearDatAllbutOne", QStringLiteral("All &But One Contact Set"));
    mnuOptClearDatXLess = item(mnuOptClearDat, "mnuOptClearDatXLess", QStringLiteral("X < ..."));
    mnuOptClearDatXGreater = item(mnuOptClearDat, "mnuOptClearDatXGreater", QStringLiteral("X > ..."));
    mnuOptClearDatYLess = item(mnuOptClearDat, "mnuOptClearDatYLess", QStringLiteral("Y < ..."));
    mnuOptClearDatYGreater = item(mnuOptClearDat, "mnuOptClearDatYGreater", QStringLiteral("Y > ..."));
    mnuOptClearDatZLess = item(mnuOptClearDat, "mnuOptClearDatZLess", QStringLiteral("Z < ..."));
    mnuOptClearDatZGreater = item(mnuOptClearDat, "mnuOptClearDatZGreater", QStringLiteral("Z > ..."));
    mnuOptClearDatAll = item(mnuOptClearDat, "mnuOptClearDatAll", QStringLiteral("&All Dautm Points"));
    mnuOptClearCon = submenu(mnuOpt, "mnuOptClearCon", QStringLiteral("Remove &Contour Points"));
    mnuOptClearConXLess = item(mnuOptClearCon, "mnuOptClearConXLess", QStringLiteral("X < ..."));
    mnuOptClearConXGreater = item(mnuOptClearCon, "mnuOptClearConXGreater", QStringLiteral("X > ..."));
    mnuOptClearConYLess = item(mnuOptClearCon, "mnuOptClearConYLess", QStringLiteral("Y < ..."));
    mnuOptClearConYGreater = item(mnuOptClearCon, "mnuOptClearConYGreater", QStringLiteral("Y > ..."));
    mnuOptClearConZLess = item(mnuOptClearCon, "mnuOptClearConZLess", QStringLiteral("Z < ..."));
    mnuOptClearConZGreater = item(mnuOptClearCon, "mnuOptClearConZGreater", QStringLiteral("Z > ..."));
    mnuOptClearConAll = item(mnuOptClearCon, "mnuOptClearConAll", QStringLiteral("Remove &All Contour Points"));
    mnuOptClearAll = item(mnuOpt, "mnuOptClearAll", QStringLiteral("Remove &All Data"));

    mnuCoord = submenu(nullptr, "mnuCoord", QStringLiteral("&Coordinates"));
    mnuCoordProjected = submenu(mnuCoord, "mnuCoordProjected", QStringLiteral("&Projected"));
    mnuCoordCylEquiDis = item(mnuCoordProjected, "mnuCoordCylEquiDis", QStringLiteral("&Equidistant Cylindrical"));
    mnuCoordCylMiller = item(mnuCoordProjected, "mnuCoordCylMiller", QStringLiteral("&Miller Cylindrical"));
    mnuCoordSMerc = item(mnuCoordProjected, "mnuCoordSMerc", QStringLiteral("&Standard Mercator"));
    mnuCoordTMerc = item(mnuCoordProjected, "mnuCoordTMerc", QStringLiteral("&Transeverse Mercator"));
    mnuCoordProjected->addSeparator();
    mnuCoordOrtho = item(mnuCoordProjected, "mnuCoordOrtho", QStringLiteral("&Orthographic Azimuthal"));
    mnuCoordLmbertAzi = item(mnuCoordProjected, "mnuCoordLmbertAzi", QStringLiteral("&Lambert EA Azimuthal"));
    mnuCoordProjected->addSeparator();
    mnuCoordAlbersEA = item(mnuCoordProjected, "mnuCoordAlbersEA", QStringLiteral("&Albers EA Conic"));
    mnuCoordLambertConf = item(mnuCoordProjected, "mnuCoordLambertConf", QStringLiteral("Lambert &Conformal Conic"));
    mnuCoordProjected->addSeparator();
    mnuCoordMollweide = item(mnuCoordProjected, "mnuCoordMollweide", QStringLiteral("&Mollweide Elliptical"));
    mnuCoordLinear = item(mnuCoord, "mnuCoordLinear", QStringLiteral("&Linear"));
    mnuCoord->addSeparator();
    mnuCoordDegrees = item(mnuCoord, "mnuCoordDegrees", QStringLiteral("&Degrees"));
    mnuCoordFeet = item(mnuCoord, "mnuCoordFeet", QStringLiteral("&Feet"));
    mnuCoordMeters = item(mnuCoord, "mnuCoordMeters", QStringLiteral("&Meters"));
    for (QAction* a : {mnuCoordCylEquiDis, mnuCoordCylMiller, mnuCoordSMerc, mnuCoordTMerc, mnuCoordOrtho,
                       mnuCoordLmbertAzi, mnuCoordAlbersEA, mnuCoordLambertConf, mnuCoordMollweide,
                       mnuCoordLinear, mnuCoordDegrees, mnuCoordFeet, mnuCoordMeters})
        a->setCheckable(true);
    // Two projections are listed but not offered.
    mnuCoordCylMiller->setEnabled(false);
    mnuCoordMollweide->setEnabled(false);

    mnuView = submenu(nullptr, "mnuView", QStringLiteral("&View"));
    mnuViewShow = submenu(mnuView, "mnuViewShow", QStringLiteral("&Show"));
    mnuViewShowLabels = item(mnuViewShow, "mnuViewShowLabels", QStringLiteral("&Labels"));
    mnuViewShowLabels->setCheckable(true);
    mnuViewShowMap = item(mnuViewShow, "mnuViewShowMap", QStringLiteral("&Points"));
    mnuViewShowCon = item(mnuViewShow, "mnuViewShowCon", QStringLiteral("&Contours"));
    mnuViewShowContact = submenu(mnuViewShow, "mnuViewShowContact", QStringLiteral("&Select Contacts"));
    mnuViewShowContactShow = item(mnuViewShowContact, "mnuViewShowContactShow", QStringLiteral("Show..."));
    mnuViewShowContactShowAll = item(mnuViewShowContact, "mnuViewShowContactShowAll", QStringLiteral("Show &All"));
    mnuViewShowContactShowSeq = item(mnuViewShowContact, "mnuViewShowContactShowSeq", QStringLiteral("&Show Sequentially"));
    mnuViewShowContactClosed = item(mnuViewShowContact, "mnuViewShowContactClosed", QStringLiteral("&Closed Contacts"));
    for (QAction* a : {mnuViewShowContactShow, mnuViewShowContactShowAll, mnuViewShowContactShowSeq,
                       mnuViewShowContactClosed})
        a->setCheckable(true);
    mnuViewRes = submenu(mnuView, "mnuViewRes", QStringLiteral("&Map Resolution"));
    mnuViewRes200 = item(mnuViewRes, "mnuViewRes200", QStringLiteral("200%"));
    mnuViewRes150 = item(mnuViewRes, "mnuViewRes150", QStringLiteral("150%"));
    mnuViewRes100 = item(mnuViewRes, "mnuViewRes100", QStringLiteral("&100%"));
    mnuViewRes75 = item(mnuViewRes, "mnuViewRes75", QStringLiteral("75%"));
    mnuViewRes50 = item(mnuViewRes, "mnuViewRes50", QStringLiteral("50%"));
    mnuViewRes25 = item(mnuViewRes, "mnuViewRes25", QStringLiteral("25%"));
    for (QAction* a : {mnuViewRes200, mnuViewRes150, mnuViewRes100, mnuViewRes75, mnuViewRes50, mnuViewRes25})
        a->setCheckable(true);
    mnuViewRes100->setChecked(true);
    mnuViewLatLong = submenu(mnuView, "mnuViewLatLong", QStringLiteral("&Degree Format"));
    mnuViewLatLong360 = item(mnuViewLatLong, "mnuViewLatLong360", QStringLiteral("&360 Degree Longitude"));
    mnuViewLatLongDecimal = submenu(mnuViewLatLong, "mnuViewLatLongDecimal", QStringLiteral("&Decimal Degrees"));
    mnuViewLatLongDecimal1 = item(mnuViewLatLongDecimal, "mnuViewLatLongDecimal1", QStringLiteral("1 decimal"));
    mnuViewLatLongDecimal2 = item(mnuViewLatLongDecimal, "mnuViewLatLongDecimal2", QStringLiteral("2 decimals"));
    mnuViewLatLongDecimal3 = item(mnuViewLatLongDecimal, "mnuViewLatLongDecimal3", QStringLiteral("3 decimals"));
    mnuViewLatLongDecimal4 = item(mnuViewLatLongDecimal, "mnuViewLatLongDecimal4", QStringLiteral("4 decimals"));
    mnuViewLatLongDegMin = item(mnuViewLatLong, "mnuViewLatLongDegMin", QStringLiteral("Degrees-&Minutes"));
    mnuViewLatLongDegMinSec = item(mnuViewLatLong, "mnuViewLatLongDegMinSec", QStringLiteral("Degrees-Minutes-Seconds"));
    for (QAction* a : {mnuViewLatLong360, mnuViewLatLongDecimal1, mnuViewLatLongDecimal2, mnuViewLatLongDecimal3,
                       mnuViewLatLongDecimal4, mnuViewLatLongDegMin, mnuViewLatLongDegMinSec})
        a->setCheckable(true);
    // 0-360 longitudes are on at start-up and not saved.
    mnuViewLatLong360->setChecked(true);
    mnuViewPointsColor = submenu(mnuView, "mnuViewPointsColor", QStringLiteral("&Points Color"));
    mnuViewPointsColorDat = item(mnuViewPointsColor, "mnuViewPointsColorDat", QStringLiteral("&Datum Points..."));
    mnuViewPointsColorCon = item(mnuViewPointsColor, "mnuViewPointsColorCon", QStringLiteral("&Contour Points..."));
    mnuViewCheck = item(mnuView, "mnuViewCheck", QStringLiteral("Check Contours"));
    mnuViewCheck->setCheckable(true);
    mnuView->addSeparator();
    mnuViewZoomPage = item(mnuView, "mnuViewZoomPage", QStringLiteral("&Fit to Page"));
    mnuViewZoomOut = item(mnuView, "mnuViewZoomOut", QStringLiteral("Zoom &Out"));
    mnuViewZoomIn = item(mnuView, "mnuViewZoomIn", QStringLiteral("Zoom &In"));
    mnuViewZoomFull = item(mnuView, "mnuViewZoomFull", QStringLiteral("Zoom &Full"));

    mnuHelp = submenu(nullptr, "mnuHelp", QStringLiteral("&Help"));
    mnuHelpContents = item(mnuHelp, "mnuHelpContents", QStringLiteral("&Contents"));
    mnuHelpContents->setShortcut(QKeySequence::HelpContents);
    mnuHelpHow = item(mnuHelp, "mnuHelpHow", QStringLiteral("&How to Use Vexolan"));
    mnuHelpSearch = item(mnuHelp, "mnuHelpSearch", QStringLiteral("&Search For Help On..."));
    mnuHelp->addSeparator();
    mnuHelpFerno = item(mnuHelp, "mnuHelpFerno", QStringLiteral("Send Email to &Ferno"));
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", QStringLiteral("&About Vexolan..."));

    // Pop-up menus, never in the menu bar.
    mnuPoint = new QMenu(this);
    mnuPoint->setObjectName(QStringLiteral("mnuPoint"));
    mnuPointMove = item(mnuPoint, "mnuPointMove", QStringLiteral("&Move Point"));
    mnuPointEditXY = item(mnuPoint, "mnuPointEditXY", QStringLiteral("Edit  &XY-Coords"));
    mnuPointEditZ = item(mnuPoint, "mnuPointEditZ", QStringLiteral("&Edit 'Z' Coord"));
    mnuPointNum = item(mnuPoint, "mnuPointNum", QStringLiteral("&ReNumber Point"));
    mnuPointDelete = item(mnuPoint, "mnuPointDelete", QStringLiteral("&Delete Point"));
    mnuContact = new QMenu(this);
    mnuContact->setObjectName(QStringLiteral("mnuContact"));
    mnuContactMove = item(mnuContact, "mnuContactMove", QStringLiteral("&Move"));
    mnuContactEdit = item(mnuContact, "mnuContactEdit", QStringLiteral("&Edit"));
    mnuContactFont = item(mnuContact, "mnuContactFont", QStringLiteral("&Font..."));
    mnuContactDelete = item(mnuContact, "mnuContactDelete", QStringLiteral("&Delete"));
}

namespace {
template <typename W>
W* named(W* w, const char* name, const QString& tip = {}) {
    w->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty()) w->setToolTip(tip);
    return w;
}
QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tip = {}) {
    return named(new QPushButton(caption, parent), name, tip);
}
} // namespace

void MainWindow::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    setCentralWidget(central);

    Frame1 = named(new QFrame(central), "Frame1");
    Frame1->setFrameShape(QFrame::Panel);
    Frame1->setFrameShadow(QFrame::Sunken);
    Frame1->setAutoFillBackground(true);
    Frame2 = named(new QFrame(Frame1), "Frame2");
    Frame2->setAutoFillBackground(true);
    imPoints = named(new MapPicture(Frame2), "imPoints");
    imContacts = named(new MapPicture(Frame2), "imContacts");
    picMap = named(new MapPicture(Frame2), "picMap");
    markers = named(new MarkerOverlay(Frame2, imPoints, imContacts), "markerLayer");
    // Template members: the markers as designed.
    markers->labDat.templ() = Marker{0, 0, 100, 180, QStringLiteral("*"), {}, 255, false, {}};
    markers->labCon.templ() = Marker{0, 0, 100, 180, QStringLiteral("*"), {}, 16711680, false, {}};
    markers->labMap.templ() = Marker{0, 0, 0, 0, {}, {}, 255, false, {}};
    markers->labRef.templ() = Marker{0, 0, 300, 400, QStringLiteral("+"), {}, 255, false, {}};
    markers->labRef.load(1);
    markers->labRef.load(2);

    HScroll1 = named(new QScrollBar(Qt::Horizontal, central), "HScroll1");
    VScroll1 = named(new QScrollBar(Qt::Vertical, central), "VScroll1");
    labText = named(new QLabel(central), "labText");
    ProgressBar1 = named(new QProgressBar(central), "ProgressBar1");
    ProgressBar1->setVisible(false);
    ProgressBar1->setTextVisible(false);
    labProg = named(new QLabel(central), "labProg");
    labProg->setVisible(false);
    fr3D = named(new QGroupBox(QStringLiteral("3-D"), central), "fr3D");
    fr3D->resize(twips::toPx(5200), twips::toPx(900));
    fr3D->setVisible(false);
    picPrint = named(new QLabel(central), "picPrint");
    picPrint->setVisible(false);

    labShow = named(new QLabel(QStringLiteral("Contact"), central), "labShow");
    cmbShow = named(new QComboBox(central), "cmbShow");
    cmdShowContact = button(central, "cmdShowContact", QStringLiteral("Show"));
    UpDown1 = named(new StepSpinner(central), "UpDown1", QStringLiteral("Click to increment contact number up or down"));
    UpDown1->setButtonSymbols(QAbstractSpinBox::UpDownArrows);

    // The strip of controls right of the map.
    cmdDig = button(central, "cmdDig", QStringLiteral("Open"), QStringLiteral("Open Vexolan file"));
    cmdMap = button(central, "cmdMap", QStringLiteral("Map"), QStringLiteral("Import map file"));
    cmdScan = button(central, "cmdScan", QStringLiteral("Scan"), QStringLiteral("Scan map"));
    cmdSave = button(central, "cmdSave", QStringLiteral("Save"), QStringLiteral("Save"));
    cmdPrint = button(central, "cmdPrint", QStringLiteral("Print"), QStringLiteral("Print"));
    cmdDummy = button(central, "cmdDummy", QStringLiteral("Dummy"));
    cmdDummy->setVisible(false);

    Frame8 = named(new QGroupBox(QStringLiteral("Zoom"), central), "Frame8");
    cmdZoomPage = button(Frame8, "cmdZoomPage", QStringLiteral("Page"), QStringLiteral("Fit map to window page size"));
    cmdZoomOut = button(Frame8, "cmdZoomOut", QStringLiteral("Zoom Out"), QStringLiteral("Reduce magnification"));
    cmdZoomIn = button(Frame8, "cmdZoomIn", QStringLiteral("Zoom In"), QStringLiteral("Increase magnification"));
    cmdZoomFull = button(Frame8, "cmdZoomFull", QStringLiteral("Zoom Full"), QStringLiteral("Full magnification"));

    Frame6 = named(new QGroupBox(QStringLiteral("Points"), central), "Frame6");
    optRock = named(new OptionButton(QStringLiteral("Contact"), Frame6), "optRock",
                    QStringLiteral("Choose to add rock unit contact points"));
    optStruc = named(new OptionButton(QStringLiteral("Topographic or Structural"), Frame6), "optStruc",
                     QStringLiteral("Choose to add structural contour data"));
    optIso = named(new OptionButton(QStringLiteral("Isopach"), Frame6), "optIso",
                   QStringLiteral("Choose to add isopach contour data"));
    optDat = named(new OptionButton(QStringLiteral("Datum Points"), Frame6), "optDat",
                   QStringLiteral("Choose to enter datum (e.g., well tag) points"));
    optCon = named(new OptionButton(QStringLiteral("Contour Points"), Frame6), "optCon",
                   QStringLiteral("Choose to enter contour (e.g., interpolated) points"));
    labDatCol = named(new ColorSwatch(Frame6), "labDatCol", QStringLiteral("Double-click to change datum point colors"));
    labConCol = named(new ColorSwatch(Frame6), "labConCol", QStringLiteral("Double-click to change contour point colors"));
    labDatCol->setForeColor(255);
    labConCol->setForeColor(16711680);
    labDatNum = named(new QLabel(QStringLiteral("0"), Frame6), "labDatNum");
    labConNum = named(new QLabel(QStringLiteral("0"), Frame6), "labConNum");
    auto* kindGroup = new QButtonGroup(this);
    kindGroup->setObjectName(QStringLiteral("dataKindGroup"));
    for (auto* b : {optRock, optStruc, optIso}) kindGroup->addButton(b);
    auto* typeGroup = new QButtonGroup(this);
    typeGroup->setObjectName(QStringLiteral("pointTypeGroup"));
    for (auto* b : {optDat, optCon}) typeGroup->addButton(b);

    Frame7 = named(new QGroupBox(QStringLiteral("Contours"), central), "Frame7");
    optHi = named(new OptionButton(QStringLiteral("High Color"), Frame7), "optHi");
    optMed = named(new OptionButton(QStringLiteral("Low Color"), Frame7), "optMed");
    optLo = named(new OptionButton(QStringLiteral("Gray-3D"), Frame7), "optLo");
    auto* colorGroup = new QButtonGroup(this);
    colorGroup->setObjectName(QStringLiteral("colorSchemeGroup"));
    for (auto* b : {optHi, optMed, optLo}) colorGroup->addButton(b);
    optLo->setChecked(true); // the designed choice
    labCond = named(new QLabel(QStringLiteral("Detail"), Frame7), "labCond");
    txtConDet = named(new QLineEdit(Frame7), "txtConDet",
                      QStringLiteral("Detail of contour plot (higher gives more detail)"));
    VScroll2 = named(new QScrollBar(Qt::Vertical, Frame7), "VScroll2");
    chkMan = named(new QCheckBox(QStringLiteral("Manual Scale"), Frame7), "chkMan");
    chkLines = named(new QCheckBox(QStringLiteral("Show Lines"), Frame7), "chkLines");
    labMax = named(new QLabel(QStringLiteral("Max Contour"), Frame7), "labMax");
    labMin = named(new QLabel(QStringLiteral("Min Contour"), Frame7), "labMin");
    txtMax = named(new QLineEdit(QStringLiteral("0"), Frame7), "txtMax", QStringLiteral("Maximum contour value"));
    txtMin = named(new QLineEdit(QStringLiteral("0"), Frame7), "txtMin", QStringLiteral("Minimum contour value"));
    cmdShow = button(Frame7, "cmdShow", QStringLiteral("Show"), QStringLiteral("Click to show contour map"));

    labConDat = named(new QLabel(QStringLiteral("Combine Data"), central), "labConDat");
    cmdConDat[0] = button(central, "cmdConDat_0", QStringLiteral("Add"));
    cmdConDat[1] = button(central, "cmdConDat_1", QStringLiteral("Subtract"));
    cmdConRun = button(central, "cmdConRun", QStringLiteral("Run CorpsCon"),
                       QStringLiteral("Convert data to new scale (e.g., state plane grid to UTM)"));
    cmdConSave = button(central, "cmdConSave", QStringLiteral("Save Conversion"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    StatusBar1Panel1 = named(new QLabel(statusBar()), "StatusBar1Panel1");
    StatusBar1Panel2 = named(new QLabel(statusBar()), "StatusBar1Panel2");
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(StatusBar1Panel1, 1);
    statusBar()->addWidget(StatusBar1Panel2, 2);
    statusBar()->setSizeGripEnabled(true);
}

void MainWindow::setPanel(int index, const QString& text) {
    (index == 1 ? StatusBar1Panel1 : StatusBar1Panel2)->setText(text);
}

QString MainWindow::panel(int index) const {
    return (index == 1 ? StatusBar1Panel1 : StatusBar1Panel2)->text();
}

void MainWindow::setDocumentCaption(const QString& name) {
    setWindowTitle(dlg::applicationTitle() + QStringLiteral(": ") + name);
}

void MainWindow::showProjectCaption() {
    const QString name = QFileInfo(doc.DataFileName).fileName();
    setDocumentCaption(name.left(std::max<qsizetype>(0, name.size() - 4)));
}

void MainWindow::showDataStatus() {
    // The kind options form one exclusive group: at most one is selected.
    QString kind = QStringLiteral(" (no data)");
    if (optIso->isChecked()) kind = QStringLiteral(" (isopachs)");
    else if (optStruc->isChecked()) kind = QStringLiteral(" (structural contours)");
    else if (optRock->isChecked()) kind = QStringLiteral(" (contacts)");
    setPanel(2, QStringLiteral("Data:  ") + doc.DataTitle + kind);
}

void MainWindow::tickShownView(ShownView view) {
    mnuViewShowMap->setChecked(view == ShownView::Map);
    mnuViewShowCon->setChecked(view == ShownView::Plot);
}

void MainWindow::resetRangeBoxes() {
    txtMax->setText(QStringLiteral("0"));
    txtMin->setText(QStringLiteral("0"));
    for (QWidget* w : std::initializer_list<QWidget*>{txtMax, txtMin, labMax, labMin}) w->setEnabled(false);
}

void MainWindow::enableSaving() {
    mnuFileSaveAs->setEnabled(true);
    cmdSave->setEnabled(true);
}

void MainWindow::enablePrinting() {
    if (!PrinterAvailable()) return;
    mnuFilePrint->setEnabled(true);
    cmdPrint->setEnabled(true);
}

void MainWindow::setBusyPointers(bool busy) {
    if (busy) {
        setCursor(Qt::WaitCursor);
        markers->setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
        markers->setCursor(Qt::CrossCursor);
    }
}

void MainWindow::reportError(const QString& prefix, const QString& description, int lineBreaks, int icon) {
    dlg::Icon i = dlg::Icon::Information;
    if (icon == 48) i = dlg::Icon::Exclamation;
    else if (icon == 16) i = dlg::Icon::Critical;
    else if (icon == 0) i = dlg::Icon::None;
    dlg::msgBox(prefix + QString(lineBreaks, QLatin1Char('\n')) + description, {dlg::Buttons::OK, i});
}

void MainWindow::notAvailable(const QString& command) {
    dlg::msgBox(command + QStringLiteral(" is not available in this version of Vexolan."),
                {dlg::Buttons::OK, dlg::Icon::Information});
}

void MainWindow::wireBaseCommands() {
    cmdShow_Click = [this] { notAvailable(QStringLiteral("Showing contours")); };
    cmdSave_Click = [this] { notAvailable(QStringLiteral("Saving")); };

    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuFile, &QMenu::aboutToShow, this, &MainWindow::mnuFile_Click);
    connect(mnuOpt, &QMenu::aboutToShow, this, &MainWindow::mnuOpt_Click);
    // A shortcut (Ctrl+S, F1) reaches its item without the menu being
    // opened: the menu's rules are applied first, as opening it would.
    menuShortcuts = new MenuShortcuts(this);
    menuShortcuts->watch(mnuFile, [this] { mnuFile_Click(); });
    menuShortcuts->watch(mnuOpt, [this] { mnuOpt_Click(); });
    menuShortcuts->watch(mnuHelp, {});
    connect(mnuHelpAbout, &QAction::triggered, this, &MainWindow::showAboutModal);
    connect(mnuHelpContents, &QAction::triggered, this, [this] { showHelp(help::HelpContents, 0); });
    connect(mnuHelpHow, &QAction::triggered, this, [this] { showHelp(help::HelpContext, help::HowToUseTopic); });
    connect(mnuHelpSearch, &QAction::triggered, this, [this] { showHelp(help::HelpPartialKey, 0); });
    connect(mnuHelpFerno, &QAction::triggered, this, [] {
        const QString link = QStringLiteral("mailto:support@ferno.example?subject=") + dlg::applicationTitle() +
                             QStringLiteral(" Help&body=Please describe your question about Vexolan here.");
        if (!shell::OpenUrl(QUrl(link)))
            dlg::msgBox(QStringLiteral("Email program not available"), {dlg::Buttons::OK, dlg::Icon::Exclamation});
    });
    for (auto* b : {optRock, optStruc, optIso})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) optKind_Click();
        });
    // The contact bar belongs to contact data: once the kind is no longer
    // contacts (another kind chosen, or the kind cleared with the points)
    // it goes, rather than waiting for a Show of the new kind to hide it.
    connect(optRock, &QRadioButton::toggled, this, [this](bool on) {
        if (!on) setContactBarVisible(false);
    });
    connect(cmdShow, &QPushButton::clicked, this, [this] { cmdShow_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(mnuFileSave, &QAction::triggered, this, [this] {
        doc.DataChanged = true;
        cmdSave_Click();
    });
    connect(mnuFileSaveAs, &QAction::triggered, this, [this] {
        doc.DataChanged = false;
        cmdSave_Click();
    });
    connect(mnuOptTitle, &QAction::triggered, this, [this] {
        // Cancel keeps the title the user gave earlier; an empty text confirmed
        // with OK still empties it.
        const std::optional<QString> title =
            dlg::inputBoxAnswer(QStringLiteral("Change file title"), QStringLiteral("Title"), doc.DataTitle);
        if (!title) return;
        doc.DataTitle = *title;
        showDataStatus();
        doc.DataChanged = true;
    });
}

// The data-kind options relabel and enable the controls that depend on the kind.
void MainWindow::optKind_Click() {
    const bool contacts = optRock->isChecked();
    optDat->setEnabled(true);
    optCon->setEnabled(!contacts);
    labDatCol->setEnabled(true);
    labConCol->setEnabled(!contacts);
    if (contacts) optDat->setValue(true);
    cmdShow->setText(contacts ? QStringLiteral("Show Contacts") : QStringLiteral("Show Contours"));
    cmdShow->setToolTip(contacts ? QStringLiteral("Click to show contact map") : QStringLiteral("Click to show contour map"));
    mnuViewShowCon->setText(contacts ? QStringLiteral("Contacts") : QStringLiteral("Contours"));
    Frame7->setTitle(contacts ? QStringLiteral("Contacts") : QStringLiteral("Contours"));
    mnuViewShowContact->menuAction()->setEnabled(contacts);
    cmdShow->setEnabled(!contacts);
    mnuViewShow->menuAction()->setEnabled(!contacts);
    labMax->setText(contacts ? QStringLiteral("Max Contact") : QStringLiteral("Max Contour"));
    labMin->setText(contacts ? QStringLiteral("Min Contact") : QStringLiteral("Min Contour"));
    showDataStatus();
}

void MainWindow::mnuOpt_Click() {
    mnuOptRot->menuAction()->setEnabled(!doc.MapRegistered);
    mnuOptSkew->menuAction()->setEnabled(!doc.MapRegistered);
    mnuOptEdit->setEnabled(!doc.MapRegistered);
    mnuOptReg->setEnabled(doc.MapRegistered);
    mnuOptClearDat->menuAction()->setEnabled(doc.DatCount >= 1);
    mnuOptOrder->setEnabled(optRock->isChecked() && doc.DatCount >= 1);
    mnuOptClearCon->menuAction()->setEnabled(doc.ConCount >= 1);
    mnuOptClearAll->setEnabled(doc.DatCount > 0 || doc.ConCount > 0);
}

void MainWindow::mnuFile_Click() {
    const FileMenuEnabling e =
        fileMenuEnabling(doc.DataChanged, doc.MapRegistered, imPoints->isVisible() || picMap->isVisible());
    mnuFileSave->setEnabled(e.mnuFileSave);
    const auto apply = [](QAction* a, const std::optional<bool>& on) {
        if (on) a->setEnabled(*on);
    };
    apply(mnuFileImportData, e.mnuFileImportData);
    apply(mnuFileExport->menuAction(), e.mnuFileExport);
    apply(mnuFileClose, e.mnuFileClose);
    apply(mnuFileOpenDat, e.mnuFileOpenDat);
    apply(mnuFileOpenCon, e.mnuFileOpenCon);
    apply(mnuFileOpenLab, e.mnuFileOpenLab);
    apply(mnuFileExportData, e.mnuFileExportData);
}

// ---------------------------------------------------------------------------
void MainWindow::ClearAll() {
    try {
        doc.MapLabels.clear();
        doc.ContourGrid.clear();
        doc.OtherPoints.clear();
        doc.ContourPoints.clear();
        doc.DatumPoints.clear();
        doc.OtherDataFileName.clear();
        doc.DataFileName.clear();
        doc.MapFileName.clear();
        Frame2->move(twips::toPx(90), twips::toPx(90));
        fr3D->setVisible(false);
        ContactShowMode = false;
        doc.CentralMeridian = doc.CentralParallel = doc.Lat1 = doc.Lat2 = 0;
        doc.ProjScaleX = doc.ProjScaleY = 1.0f;
        doc.RefPixelX1 = doc.RefPixelX2 = doc.RefPixelY1 = doc.RefPixelY2 = 0;
        doc.RefMapX1 = doc.RefMapX2 = doc.RefMapY1 = doc.RefMapY2 = 0;
        doc.MapSpanX = doc.MapSpanY = doc.MapOriginX = doc.MapOriginY = 0;
        doc.LastZEntry.clear();
        markers->labRef[1].Visible = false;
        markers->labRef[2].Visible = false;
        markers->labDat.unloadAll();
        doc.DatCount = 0;
        markers->labCon.unloadAll();
        doc.ConCount = 0;
        markers->LineCon.unloadAll();
        doc.ContactLineCount = 0;
        doc.ContactCount = 0;
        doc.ContactList.clear();
        doc.ContactShown = QStringLiteral("All");
        markers->labMap.unloadAll();
        doc.LabelCount = 0;
        doc.CurLabel = 0;
        mnuViewShowLabels->setChecked(false);
        imPoints->setVisible(false);
        imContacts->setVisible(false);
        picMap->setVisible(false);
        imPoints->Move(0, 0);
        imContacts->Move(0, 0);
        HScroll1->setVisible(false);
        HScroll1->setValue(0);
        VScroll1->setVisible(false);
        VScroll1->setValue(0);
        setContactBarVisible(false);
        mnuViewShowContactShow->setText(QStringLiteral("Show..."));
        labText->setText(QString());
        mnuViewShowContactShowAll->setChecked(true);
        mnuViewShowContactShow->setChecked(false);
        mnuViewShowContactShowSeq->setChecked(false);
        doc.MapRegistered = doc.ScaleSide = doc.DataChanged = doc.MapBusy = false;
        doc.MovePointMode = doc.MoveLabelMode = false;
        doc.OtherDataOpen = doc.ContoursCurrent = doc.OtherStructural = doc.ShowInterrupt = false;
        doc.AskProjectName = doc.MapPictureEdited = doc.MapPictureInMemory = false;
        for (QWidget* w : std::initializer_list<QWidget*>{cmdSave, cmdPrint}) w->setEnabled(false);
        for (QAction* a : {mnuFileClose, mnuFileOpenDat, mnuFileSave, mnuFileSaveAs, mnuFilePrint}) a->setEnabled(false);
        mnuCoord->menuAction()->setEnabled(false);
        mnuOpt->menuAction()->setEnabled(false);
        mnuView->menuAction()->setEnabled(false);
        for (QWidget* w : std::initializer_list<QWidget*>{cmdZoomPage, cmdZoomOut, cmdZoomIn, cmdZoomFull})
            w->setEnabled(false);
        labDatNum->setText(legacy::Format(doc.DatCount, QStringLiteral("0")));
        labConNum->setText(legacy::Format(doc.ConCount, QStringLiteral("0")));
        mnuViewShow->menuAction()->setEnabled(false);
        cmdShow->setEnabled(false);
        cmdShow->setText(QStringLiteral("Show"));
        cmdShow->setToolTip(QStringLiteral("Click to show contour map"));
        Frame7->setTitle(QStringLiteral("Contours"));
        txtConDet->setText(QString::number(doc.ContourDetail));
        for (QWidget* w : std::initializer_list<QWidget*>{labCond, txtConDet, VScroll2, chkMan, chkLines})
            w->setEnabled(false);
        resetRangeBoxes();
        for (QWidget* w : std::initializer_list<QWidget*>{optLo, optMed, optHi, labConDat, cmdConDat[0], cmdConDat[1],
                                                          cmdConRun, cmdConSave, optRock, optStruc, optIso})
            w->setEnabled(false);
        for (auto* o : {optRock, optStruc, optIso}) o->setValue(false);
        for (QWidget* w : std::initializer_list<QWidget*>{optDat, optCon, labDatCol, labConCol}) w->setEnabled(false);
        optDat->setValue(false);
        optCon->setValue(false);
        setPanel(2, QStringLiteral("No file loaded..."));
        // The caption, the zoom panel and the View menu's view items follow
        // the document: nothing is open now and no view is shown, as at
        // start-up.
        setWindowTitle(dlg::applicationTitle());
        Frame8->setTitle(QStringLiteral("Zoom"));
        tickShownView(ShownView::None);
        mnuViewShowCon->setText(QStringLiteral("&Contours"));
        for (QAction* a : {mnuCoordLinear, mnuCoordCylEquiDis, mnuCoordSMerc, mnuCoordTMerc, mnuCoordOrtho,
                           mnuCoordLmbertAzi, mnuCoordAlbersEA, mnuCoordLambertConf, mnuCoordDegrees,
                           mnuCoordMeters, mnuCoordFeet})
            a->setChecked(false);
        doc.ProjectionName.clear();
        doc.CoordUnits.clear();
        setPanel(1, QStringLiteral("Projection: (unkown)") + QStringLiteral(", Units: (unknown)"));
        markers->update();
        DoEvents();
    } catch (const legacy::Error& e) {
        reportError(QStringLiteral("Clear error: "), e.description());
    }
}

// ---------------------------------------------------------------------------
// Window geometry in twips.  The stored placement is the window's own
// position and size, so that a saved placement comes back exactly.
double MainWindow::Left() const { return twips::fromPx(geometry().x()); }
double MainWindow::Top() const { return twips::fromPx(geometry().y()); }
double MainWindow::Width() const { return twips::fromPx(geometry().width()); }
double MainWindow::Height() const { return twips::fromPx(geometry().height()); }

void MainWindow::MoveTwips(double left, double top, double width, double height) {
    setGeometry(twips::toPx(left), twips::toPx(top), twips::toPx(width), twips::toPx(height));
}

namespace {
QRect screenRect() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}
} // namespace

void MainWindow::placeWindowFromSettings() {
    const QRect scr = screenRect();
    const QString& sec = app.AppName;
    auto stored = [&](const char* key) { return settings->ReadSetting(sec, QString::fromLatin1(key), QString()); };
    const MainPlacement p = placeMainWindow(stored("MainLeft"), stored("MainTop"), stored("MainWidth"),
                                            stored("MainHeight"), twips::fromPx(scr.width()),
                                            twips::fromPx(scr.height()));
    MoveTwips(p.left + twips::fromPx(scr.x()), p.top + twips::fromPx(scr.y()), p.width, p.height);
}


void MainWindow::determineDataFolder() {
    const QString programFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    app.DocsFolder = fileService->SpecialFolderPath(5);
    if (app.DocsFolder.isEmpty()) app.DocsFolder = programFolder;
    if (!app.DocsFolder.endsWith(QLatin1Char('/'))) app.DocsFolder += QLatin1Char('/');
    app.DataFolder = settings->ReadSetting(app.AppName, QStringLiteral("DataPath"), QString());
    if (!app.DataFolder.isEmpty() && !fileService->FileExists(app.DataFolder)) app.DataFolder.clear();
    if (app.DataFolder.isEmpty()) {
        if (programFolder == app.DocsFolder) {
            app.DataFolder = app.DocsFolder + QStringLiteral("Files/");
        } else {
            app.DataFolder = app.DocsFolder + QStringLiteral("Ferno/");
            QDir().mkpath(app.DataFolder);
            app.DataFolder += app.AppName + QLatin1Char('/');
        }
        QDir().mkpath(app.DataFolder);
        settings->WriteSetting(app.AppName, QStringLiteral("DataPath"), app.DataFolder);
    } else if (!app.DataFolder.endsWith(QLatin1Char('/'))) {
        app.DataFolder += QLatin1Char('/');
    }
}

void MainWindow::FormLoad() {
    // Each step is independent: one that fails is passed over and the next runs.
    auto step = [](const std::function<void()>& f) {
        try {
            f();
        } catch (...) {
        }
    };
    step([&] {
        settings = std::make_unique<SettingsStore>();
        fileService = std::make_unique<FileService>();
    });
    step([&] { app.AppName = QStringLiteral("Vexolan"); });
    step([&] {
        app.ProgramDescription = QStringLiteral(
            "Vexolan: A graphical application for digitizing elevation and location data from map image files. "
            "Imports a number of different file formats and has scan interface for creating map image files. "
            "Numerous options for data and map format.");
        // The number alone: the notice window puts "release" before it.
        app.ReleaseNumber = QStringLiteral("%1.%2").arg(VEXOLAN_VERSION_MAJOR).arg(VEXOLAN_VERSION_MINOR);
        app.ProgramTitle = QStringLiteral("Ferno Vexolan");
    });
    step([&] {
        m_splash = new AboutBox(this, /*splash=*/true);
        m_splash->show();
        fileService->SetWindowState(m_splash, true);
    });
    step([&] {
        ImgX = std::make_unique<ImagingObject>();
        picImgX = std::make_unique<ImagingObject>();
        picExImgX = std::make_unique<ImagingObject>();
        picTopoImgX = std::make_unique<ImagingObject>();
        picPlanImgX = std::make_unique<ImagingObject>();
    });
    step([&] {
        if (!PrinterAvailable()) {
            mnuFilePrint->setEnabled(false);
            cmdPrint->setEnabled(false);
        }
    });
    step([&] { picImgX->setOption(13, 90); });
    step([&] { doc.ZoomMax = 64000; });
    step([&] {
        QPalette pal = Frame1->palette();
        pal.setColor(QPalette::Window, colorFromNumber(0x8000));
        Frame1->setPalette(pal);
    });
    step([&] { doc.ContourDetail = 50; });
    step([&] { placeWindowFromSettings(); });
    step([&] {
        doc.MarkOffsetX = 40;
        doc.MarkOffsetY = 140;
        doc.RefMarkOffsetX = 150;
        doc.RefMarkOffsetY = 260;
    });
    step([&] {
        if (!scannerAvailable || !scannerAvailable()) mnuFileScan->menuAction()->setEnabled(false);
    });
    const QString& sec = app.AppName;
    step([&] {
        if (settings->ReadSetting(sec, QStringLiteral("Contours"), QStringLiteral("0")) == QLatin1String("1"))
            chkMan->setChecked(true);
    });
    step([&] {
        if (settings->ReadSetting(sec, QStringLiteral("ContourLine"), QStringLiteral("0")) == QLatin1String("1"))
            chkLines->setChecked(true);
    });
    step([&] {
        const QString c = settings->ReadSetting(sec, QStringLiteral("Color"), QStringLiteral("2"));
        if (c == QLatin1String("3")) optHi->setValue(true);
        else if (c == QLatin1String("2")) optMed->setValue(true);
        else if (c == QLatin1String("1")) optLo->setValue(true);
    });
    step([&] {
        const long c = legacy::CLng(legacy::NumVal(settings->ReadSetting(sec, QStringLiteral("DatumColor"), QStringLiteral("&H000000FF&"))));
        labDatCol->setForeColor(c);
        markers->labMap.templ().ForeColor = c;
    });
    step([&] {
        labConCol->setForeColor(legacy::CLng(legacy::NumVal(
            settings->ReadSetting(sec, QStringLiteral("ContourColor"), QStringLiteral("&HFF0000")))));
    });
    step([&] {
        doc.LatLongFormat = settings->ReadSetting(sec, QStringLiteral("DegreeFormat"), QStringLiteral("0"));
        QAction* a = mnuViewLatLongDecimal4;
        if (doc.LatLongFormat == QLatin1String("0")) a = mnuViewLatLongDegMin;
        else if (doc.LatLongFormat == QLatin1String("0s")) a = mnuViewLatLongDegMinSec;
        else if (doc.LatLongFormat == QLatin1String("1")) a = mnuViewLatLongDecimal1;
        else if (doc.LatLongFormat == QLatin1String("2")) a = mnuViewLatLongDecimal2;
        else if (doc.LatLongFormat == QLatin1String("3")) a = mnuViewLatLongDecimal3;
        a->setChecked(true);
    });
    step([&] { DoEvents(); });
    step([&] { determineDataFolder(); });
    step([&] { DialogInitDir = app.DataFolder; });
    m_loaded = true;
    step([&] { FormResize(); });
    step([&] { ClearAll(); });
}

void MainWindow::SaveSettings() {
    const QString& sec = app.AppName;
    settings->WriteSetting(sec, QStringLiteral("DataPath"), app.DataFolder);
    if (!isMinimized()) {
        settings->WriteSetting(sec, QStringLiteral("MainLeft"), legacy::SingleText(float(Left())));
        settings->WriteSetting(sec, QStringLiteral("MainTop"), legacy::SingleText(float(Top())));
        settings->WriteSetting(sec, QStringLiteral("MainWidth"), legacy::SingleText(float(Width())));
        settings->WriteSetting(sec, QStringLiteral("MainHeight"), legacy::SingleText(float(Height())));
    }
    settings->WriteSetting(sec, QStringLiteral("DatumColor"), QString::number(labDatCol->ForeColor()));
    settings->WriteSetting(sec, QStringLiteral("ContourColor"), QString::number(labConCol->ForeColor()));
    settings->WriteSetting(sec, QStringLiteral("ContourLine"), chkLines->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    QString color = QStringLiteral("2");
    if (optHi->isChecked()) color = QStringLiteral("3");
    if (optLo->isChecked()) color = QStringLiteral("1");
    settings->WriteSetting(sec, QStringLiteral("Color"), color);
    settings->WriteSetting(sec, QStringLiteral("Contours"), chkMan->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    settings->WriteSetting(sec, QStringLiteral("DegreeFormat"), doc.LatLongFormat);
}

// ---------------------------------------------------------------------------
void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (m_loaded) FormResize();
}

// The point counters hold up to the largest count a document takes, five
// digits; drawn 280 twips wide they cut a count of four digits.
double MainWindow::countWidth() const {
    return std::max(280.0, std::ceil(twips::fromPx(labDatNum->fontMetrics().horizontalAdvance(QStringLiteral("32767")))));
}

void MainWindow::setContactBarVisible(bool on) {
    for (QWidget* c : std::initializer_list<QWidget*>{labShow, UpDown1, cmdShowContact, cmbShow}) c->setVisible(on);
}

double MainWindow::stripContentWidth() const {
    // The strip's controls were drawn 2000 twips wide; where a caption needs
    // more at the user's font, the strip widens so that no caption is cut off
    // and none runs into the swatch beside it.
    double need = 2000;
    auto fit = [&](const QWidget* c, double after) {
        need = std::max(need, 90 + twips::fromPx(c->sizeHint().width()) + after);
    };
    for (const QWidget* c : std::initializer_list<const QWidget*>{optRock, optStruc, optIso, optHi, optMed, optLo,
                                                                  chkMan, chkLines})
        fit(c, 60);
    // The point-type options are followed by their swatch and their count.
    for (const QWidget* c : std::initializer_list<const QWidget*>{optDat, optCon}) fit(c, 260 + countWidth());
    return std::ceil(need / 15) * 15;
}

void MainWindow::layoutRightStrip() {
    // The controls right of the map keep their place against the right edge.
    const double vs = twips::fromPx(VScroll1->sizeHint().width());
    const double w = stripContentWidth();
    const double stripLeft = Width() - vs - w - 340;
    const double half = (w - 40) / 2;
    auto place = [&](QWidget* wd, double top, double height, double left = 0, double width = -1) {
        wd->setGeometry(twips::rect(stripLeft + left, top, width < 0 ? w : width, height));
    };
    double y = 60;
    place(cmdDig, y, 360, 0, half);
    place(cmdMap, y, 360, half + 40, half);
    y += 400;
    place(cmdScan, y, 360, 0, half);
    place(cmdSave, y, 360, half + 40, half);
    y += 400;
    place(cmdPrint, y, 360, 0, half);
    y += 440;
    place(Frame8, y, 1250);
    cmdZoomPage->setGeometry(twips::rect(90, 300, 880, 380));
    cmdZoomFull->setGeometry(twips::rect(1010, 300, 900, 380));
    cmdZoomOut->setGeometry(twips::rect(90, 740, 880, 380));
    cmdZoomIn->setGeometry(twips::rect(1010, 740, 900, 380));
    y += 1310;
    place(Frame6, y, 2500);
    const double option = w - 150;
    optRock->setGeometry(twips::rect(90, 270, option, 300));
    optStruc->setGeometry(twips::rect(90, 570, option, 300));
    optIso->setGeometry(twips::rect(90, 870, option, 300));
    // The swatch and the count stand right of the wider point-type caption.
    const double count = countWidth();
    const double pointType = w - 350 - count;
    optDat->setGeometry(twips::rect(90, 1330, pointType, 300));
    labDatCol->setGeometry(twips::rect(pointType + 110, 1300, 200, 340));
    labDatNum->setGeometry(twips::rect(pointType + 330, 1330, count, 300));
    optCon->setGeometry(twips::rect(90, 1780, pointType, 300));
    labConCol->setGeometry(twips::rect(pointType + 110, 1750, 200, 340));
    labConNum->setGeometry(twips::rect(pointType + 330, 1780, count, 300));
    y += 2560;
    place(Frame7, y, 3180);
    optHi->setGeometry(twips::rect(90, 270, option, 270));
    optMed->setGeometry(twips::rect(90, 540, option, 270));
    optLo->setGeometry(twips::rect(90, 810, option, 270));
    labCond->setGeometry(twips::rect(90, 1140, 700, 300));
    txtConDet->setGeometry(twips::rect(800, 1110, 700, 330));
    VScroll2->setGeometry(twips::rect(1520, 1110, 240, 330));
    chkMan->setGeometry(twips::rect(90, 1480, option, 270));
    chkLines->setGeometry(twips::rect(90, 1750, option, 270));
    labMax->setGeometry(twips::rect(90, 2050, 1000, 300));
    txtMax->setGeometry(twips::rect(1100, 2030, 820, 320));
    labMin->setGeometry(twips::rect(90, 2380, 1000, 300));
    txtMin->setGeometry(twips::rect(1100, 2360, 820, 320));
    cmdShow->setGeometry(twips::rect(90, 2760, w - 170, 340));
    y += 3240;
    place(labConDat, y, 270);
    y += 280;
    place(cmdConDat[0], y, 360, 0, half);
    place(cmdConDat[1], y, 360, half + 40, half);
    y += 420;
    place(cmdConRun, y, 360);
    y += 400;
    place(cmdConSave, y, 360);
}

void MainWindow::FormResize() {
    if (isMinimized() || m_inResize) return;
    m_inResize = true;
    // Whatever escapes, the next resize must lay the window out again.
    const auto unlock = qScopeGuard([this] { m_inResize = false; });
    try {
        if (Height() < 11200 || Width() < 8000)
            MoveTwips(Left(), Top(), std::max(Width(), 8000.0), std::max(Height(), 11200.0));
        // Controls sit in the central area, which starts below the menu bar.
        const double top0 = twips::fromPx(centralWidget()->y());
        const double vsW = twips::fromPx(VScroll1->sizeHint().width());
        const double hsH = twips::fromPx(HScroll1->sizeHint().height());
        const double f1Left = 60, f1Top = 60;
        const double f1W = Width() - vsW - stripContentWidth() - 400;
        const double f1H = Height() - hsH - 1700;
        Frame1->setGeometry(twips::rect(f1Left, f1Top, f1W, f1H));
        const double f2Left = twips::fromPx(Frame2->x());
        const double f2Top = twips::fromPx(Frame2->y());
        Frame2->setGeometry(twips::rect(f2Left, f2Top, f1W - 180, f1H - 180));
        markers->setGeometry(0, 0, Frame2->width(), Frame2->height());
        markers->raise();
        labText->setGeometry(twips::rect(f1Left, Height() - 1550 - top0 + hsH + 30, f1W, 270));
        doc.PageZoomSize = float(f1H <= f1W ? (f1W - 180) - 120 : (f1H - 180) - 120);
        const double hsTop = Height() - 1550 - top0;
        HScroll1->setGeometry(twips::rect(f1Left + 120, hsTop, f1W - 120, hsH));
        VScroll1->setGeometry(twips::rect(Width() - vsW - 200, f1Top, vsW, f1H - 180));
        ProgressBar1->setGeometry(twips::rect(f1Left + 120, hsTop, std::max(600.0, f1W - 2400), hsH));
        labProg->setGeometry(twips::rect(f1Left + 120 + std::max(600.0, f1W - 2400) + 60, hsTop, 2200, hsH));
        fr3D->move(twips::toPx((f1W - twips::fromPx(fr3D->width())) / 2 + f1Left), twips::toPx(hsTop - 60));
        const double barTop = hsTop + hsH + 330;
        labShow->setGeometry(twips::rect(f1Left + 120, barTop, 800, 330));
        cmbShow->setGeometry(twips::rect(f1Left + 960, barTop, 1400, 330));
        cmdShowContact->setGeometry(twips::rect(f1Left + 2420, barTop, 900, 330));
        // The spinner sits beside the list and its button, not on them: the
        // map view shows all three together.
        UpDown1->setGeometry(twips::rect(f1Left + 3380, barTop, 1400, 330));
        layoutRightStrip();
        if (!doc.MapFileName.isEmpty()) {
            if (imPoints->isHidden()) cmdShow_Click();
            if (cmdZoomPage_Click) cmdZoomPage_Click();
        }
        doc.ContoursCurrent = false;
    } catch (const legacy::Error& e) {
        reportError(QStringLiteral("Resize error: "), e.description());
    }
}

// ---------------------------------------------------------------------------
bool MainWindow::unloadRequest() {
    if (outsideWaits > 0) return false;
    if (cmdShow->text() == QLatin1String("Halt Show")) {
        cmdShow_Click();
        return false;
    }
    // Yes saves under a name the user confirms; a save that is cancelled or
    // fails keeps the window and the changes.
    return offerToSave(false);
}

bool MainWindow::offerToSave(bool keepName) {
    if (!(doc.DataChanged && doc.MapRegistered)) return true;
    const QString name = QFileInfo(doc.DataFileName).fileName();
    const dlg::Answer a = dlg::msgBox(name + QStringLiteral(" has changed.") + QLatin1Char('\n') +
                                          QStringLiteral("Would you like to save it?"),
                                      {dlg::Buttons::YesNoCancel, dlg::Icon::Question});
    if (a == dlg::Answer::Cancel) return false;
    if (a == dlg::Answer::Yes) return saveForPrompt && saveForPrompt(keepName);
    return true;
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (!unloadRequest()) {
        e->ignore();
        return;
    }
    help::ShowHelp(this, help::HelpQuit, 0, help::HelpFilePath());
    try {
        if (settings) SaveSettings();
    } catch (const legacy::Error& err) {
        reportError(QStringLiteral("Form_Unload error: "), err.description());
    }
    if (m_splash) {
        m_splash->close();
    }
    ImgX.reset();
    picImgX.reset();
    picExImgX.reset();
    picTopoImgX.reset();
    picPlanImgX.reset();
    // Every other window of the program goes with the main window.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->close();
    e->accept();
}

void MainWindow::showHelp(long command, long data) {
    const help::HelpResult r = help::ShowHelp(this, command, data, help::HelpFilePath());
    if (r.status == help::HelpResult::Status::NoHelpFile)
        dlg::msgBox(r.message, {dlg::Buttons::OK, dlg::Icon::Information});
    else if (r.status == help::HelpResult::Status::ViewerError)
        dlg::msgBox(r.message, {dlg::Buttons::OK, dlg::Icon::None});
}

void MainWindow::showAboutModal() {
    const QString caption = windowTitle();
    setWindowTitle(dlg::applicationTitle());
    AboutBox box(this, /*splash=*/false);
    dlg::execDialog(&box);
    setWindowTitle(caption);
}
