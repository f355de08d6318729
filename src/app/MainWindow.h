// The main window: owns the document, every control the commands act on
// (each named as the commands name it), and the start-up, layout, reset and
// shutdown of the program.  Subsystem commands live in their own folders and
// act on the window through these members.
#pragma once

#include "app/AboutBox.h"
#include "app/StepSpinner.h"
#include "document/Document.h"
#include "map/MapLayer.h"

#include <QAction>
#include <QPointer>
#include <QSet>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class ImagingObject;
class SettingsStore;
class FileService;

class MapView;
class Digitizer;
class ProjectCommands;
class LabelCommands;
class ContactDisplay;
class ViewMenu;
class MenuShortcuts;
class ContourCommands;
class ContourLineCommands;
class ImportCommands;
class ExportCommands;
class RemovalCommands;
class PrintCommands;
class MapEditCommands;
class PreferencesCommands;

// A label whose text colour is the marker colour it stands for.
class ColorSwatch : public QLabel {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);
    long ForeColor() const { return m_color; }
    void setForeColor(long color);
signals:
    void doubleClicked();
protected:
    void mouseDoubleClickEvent(QMouseEvent*) override;
private:
    long m_color = 0;
};

// A radio button whose choice the program may clear, as the old option
// buttons allowed.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;
    // Sets Value; clearing works even inside an exclusive group.
    void setValue(bool on);
    bool Value() const { return isChecked(); }
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---- document and program-wide values ----
    Document doc;
    AppGlobals app;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<FileService> fileService;
    // The five imaging objects.
    std::unique_ptr<ImagingObject> ImgX, picImgX, picExImgX, picTopoImgX, picPlanImgX;

    // Nested waits for an outside program (the image editor); the window
    // cannot close while one runs, since the wait still needs it.
    int outsideWaits = 0;

    // Form-level values.
    bool BusyLoading = false;
    bool ContactShowMode = false;
    bool LabelsShown = false;
    bool LabelsSuppressed = false;
    bool TopoDone = false;
    int TopoCols = 0, TopoRows = 0;
    // The common dialog's remembered state (start folder, last file name).
    QString DialogInitDir;
    QString DialogFileName;
    QString DialogFileTitle;

    // Command groups, each wiring its own controls.
    MapView* mapView = nullptr;
    Digitizer* digitizer = nullptr;
    ProjectCommands* projectCommands = nullptr;
    LabelCommands* labelCommands = nullptr;
    ContactDisplay* contactDisplay = nullptr;
    ViewMenu* viewMenu = nullptr;
    // Menu items' keyboard shortcuts act on the menus' present rules.
    MenuShortcuts* menuShortcuts = nullptr;
    ContourCommands* contourCommands = nullptr;
    ContourLineCommands* contourLineCommands = nullptr;
    ImportCommands* importCommands = nullptr;
    ExportCommands* exportCommands = nullptr;
    RemovalCommands* removalCommands = nullptr;
    PrintCommands* printCommands = nullptr;
    MapEditCommands* mapEditCommands = nullptr;
    PreferencesCommands* preferencesCommands = nullptr;

    // ---- map area ----
    QFrame* Frame1 = nullptr;
    QFrame* Frame2 = nullptr;
    MapPicture* imPoints = nullptr;
    MapPicture* imContacts = nullptr;
    MapPicture* picMap = nullptr;
    MarkerOverlay* markers = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QLabel* labText = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* labProg = nullptr;
    QGroupBox* fr3D = nullptr;
    QLabel* picPrint = nullptr;
    // contact bar
    QLabel* labShow = nullptr;
    QComboBox* cmbShow = nullptr;
    QPushButton* cmdShowContact = nullptr;
    StepSpinner* UpDown1 = nullptr;

    // ---- right-hand strip ----
    QPushButton* cmdDig = nullptr;
    QPushButton* cmdMap = nullptr;
    QPushButton* cmdScan = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdDummy = nullptr;
    QGroupBox* Frame8 = nullptr;
    QPushButton* cmdZoomPage = nullptr;
    QPushButton* cmdZoomOut = nullptr;
    QPushButton* cmdZoomIn = nullptr;
    QPushButton* cmdZoomFull = nullptr;
    QGroupBox* Frame6 = nullptr;
    OptionButton* optRock = nullptr;
    OptionButton* optStruc = nullptr;
    OptionButton* optIso = nullptr;
    OptionButton* optDat = nullptr;
    OptionButton* optCon = nullptr;
    ColorSwatch* labDatCol = nullptr;
    ColorSwatch* labConCol = nullptr;
    QLabel* labDatNum = nullptr;
    QLabel* labConNum = nullptr;
    QGroupBox* Frame7 = nullptr;
    OptionButton* optHi = nullptr;
    OptionButton* optMed = nullptr;
    OptionButton* optLo = nullptr;
    QLabel* labCond = nullptr;
    QLineEdit* txtConDet = nullptr;
    QScrollBar* VScroll2 = nullptr;
    QCheckBox* chkMan = nullptr;
    QCheckBox* chkLines = nullptr;
    QLabel* labMax = nullptr;
    QLabel* labMin = nullptr;
    QLineEdit* txtMax = nullptr;
    QLineEdit* txtMin = nullptr;
    QPushButton* cmdShow = nullptr;
    QLabel* labConDat = nullptr;
    std::array<QPushButton*, 2> cmdConDat{};
    QPushButton* cmdConRun = nullptr;
    QPushButton* cmdConSave = nullptr;
    QTimer* Timer1 = nullptr;

    // ---- status bar ----
    QLabel* StatusBar1Panel1 = nullptr;
    QLabel* StatusBar1Panel2 = nullptr;
    void setPanel(int index, const QString& text);
    QString panel(int index) const;

    // ---- menus ----
    QMenu* mnuFile = nullptr;
    QMenu* mnuFileOpen = nullptr;
    QAction* mnuFileOpenDig = nullptr;
    QAction* mnuFileOpenDat = nullptr;
    QAction* mnuFileOpenCon = nullptr;
    QAction* mnuFileOpenLab = nullptr;
    QMenu* mnuFileImport = nullptr;
    QAction* mnuFileImportMap = nullptr;
    QAction* mnuFileImportData = nullptr;
    QMenu* mnuFileExport = nullptr;
    QAction* mnuFileExportData = nullptr;
    QAction* mnuFileExportMap = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileClose = nullptr;
    QMenu* mnuFileScan = nullptr;
    QAction* mnuFileScanSelect = nullptr;
    QAction* mnuFileScanAcquire = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFilePreferences = nullptr;
    QAction* mnuFileExit = nullptr;

    QMenu* mnuOpt = nullptr;
    QMenu* mnuOptRot = nullptr;
    QAction* mnuOptRotDo = nullptr;
    QAction* mnuOptRotUndo = nullptr;
    QMenu* mnuOptSkew = nullptr;
    QAction* mnuOptSkewHoriz = nullptr;
    QAction* mnuOptSkewVert = nullptr;
    QAction* mnuOptSkewUndo = nullptr;
    QAction* mnuOptEdit = nullptr;
    QAction* mnuOptTitle = nullptr;
    QAction* mnuOptReg = nullptr;
    QAction* mnuOptOrder = nullptr;
    QMenu* mnuOptClearDat = nullptr;
    QAction* mnuOptClearDatOne = nullptr;
    QAction* mnuOptClearDatAllbutOne = nullptr;
    QAction* mnuOptClearDatXLess = nullptr;
    QAction* mnuOptClearDatXGreater = nullptr;
    QAction* mnuOptClearDatYLess = nullptr;
    QAction* mnuOptClearDatYGreater = nullptr;
    QAction* mnuOptClearDatZLess = nullptr;
    QAction* mnuOptClearDatZGreater = nullptr;
    QAction* mnuOptClearDatAll = nullptr;
    QMenu* mnuOptClearCon = nullptr;
    QAction* mnuOptClearConXLess = nullptr;
    QAction* mnuOptClearConXGreater = nullptr;
    QAction* mnuOptClearConYLess = nullptr;
    QAction* mnuOptClearConYGreater = nullptr;
    QAction* mnuOptClearConZLess = nullptr;
    QAction* mnuOptClearConZGreater = nullptr;
    QAction* mnuOptClearConAll = nullptr;
    QAction* mnuOptClearAll = nullptr;

    QMenu* mnuCoord = nullptr;
    QMenu* mnuCoordProjected = nullptr;
    QAction* mnuCoordCylEquiDis = nullptr;
    QAction* mnuCoordCylMiller = nullptr;
    QAction* mnuCoordSMerc = nullptr;
    QAction* mnuCoordTMerc = nullptr;
    QAction* mnuCoordOrtho = nullptr;
    QAction* mnuCoordLmbertAzi = nullptr;
    QAction* mnuCoordAlbersEA = nullptr;
    QAction* mnuCoordLambertConf = nullptr;
    QAction* mnuCoordMollweide = nullptr;
    QAction* mnuCoordLinear = nullptr;
    QAction* mnuCoordDegrees = nullptr;
    QAction* mnuCoordFeet = nullptr;
    QAction* mnuCoordMeters = nullptr;

    QMenu* mnuView = nullptr;
    QMenu* mnuViewShow = nullptr;
    QAction* mnuViewShowLabels = nullptr;
    QAction* mnuViewShowMap = nullptr;
    QAction* mnuViewShowCon = nullptr;
    QMenu* mnuViewShowContact = nullptr;
    QAction* mnuViewShowContactShow = nullptr;
    QAction* mnuViewShowContactShowAll = nullptr;
    QAction* mnuViewShowContactShowSeq = nullptr;
    QAction* mnuViewShowContactClosed = nullptr;
    QMenu* mnuViewRes = nullptr;
    QAction* mnuViewRes200 = nullptr;
    QAction* mnuViewRes150 = nullptr;
    QAction* mnuViewRes100 = nullptr;
    QAction* mnuViewRes75 = nullptr;
    QAction* mnuViewRes50 = nullptr;
    QAction* mnuViewRes25 = nullptr;
    QMenu* mnuViewLatLong = nullptr;
    QAction* mnuViewLatLong360 = nullptr;
    QMenu* mnuViewLatLongDecimal = nullptr;
    QAction* mnuViewLatLongDecimal1 = nullptr;
    QAction* mnuViewLatLongDecimal2 = nullptr;
    QAction* mnuViewLatLongDecimal3 = nullptr;
    QAction* mnuViewLatLongDecimal4 = nullptr;
    QAction* mnuViewLatLongDegMin = nullptr;
    QAction* mnuViewLatLongDegMinSec = nullptr;
    QMenu* mnuViewPointsColor = nullptr;
    QAction* mnuViewPointsColorDat = nullptr;
    QAction* mnuViewPointsColorCon = nullptr;
    QAction* mnuViewCheck = nullptr;
    QAction* mnuViewZoomPage = nullptr;
    QAction* mnuViewZoomOut = nullptr;
    QAction* mnuViewZoomIn = nullptr;
    QAction* mnuViewZoomFull = nullptr;

    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpHow = nullptr;
    QAction* mnuHelpSearch = nullptr;
    QAction* mnuHelpFerno = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // Pop-up menus.
    QMenu* mnuPoint = nullptr;
    QAction* mnuPointMove = nullptr;
    QAction* mnuPointEditXY = nullptr;
    QAction* mnuPointEditZ = nullptr;
    QAction* mnuPointNum = nullptr;
    QAction* mnuPointDelete = nullptr;
    QMenu* mnuContact = nullptr;
    QAction* mnuContactMove = nullptr;
    QAction* mnuContactEdit = nullptr;
    QAction* mnuContactFont = nullptr;
    QAction* mnuContactDelete = nullptr;

    // ---- operations ----
    void FormLoad();          // the start-up sequence
    void ClearAll();
    void SaveSettings();
    void FormResize();
    // The window's placement in twips (outer geometry, as stored in the settings).
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void MoveTwips(double left, double top, double width, double height);
    bool unloadRequest();     // the unload checks; false keeps the window open

    // The window caption, as "<application title>: <name>".
    void setDocumentCaption(const QString& name);
    // The caption naming the project file without its ".vlm"; a name too
    // short to have one leaves the name empty.
    void showProjectCaption();
    // Status panel 2 as "Data:  <title>" followed by the chosen data kind.
    void showDataStatus();
    // View > Show's "Points" and "Contours" items tick the view on screen:
    // the map, the contour or contact plot, or neither while nothing is.
    enum class ShownView { None, Map, Plot };
    void tickShownView(ShownView view);
    // The contact bar under the map (label, list, its spinner and Show).
    void setContactBarVisible(bool on);

    // The Max/Min boxes of a document without points: "0", off with their
    // captions.  The first point recorded or imported then sets the range.
    void resetRangeBoxes();
    // File > Save As and the Save button, once there is something to save.
    void enableSaving();
    // The two print commands, when a printer is installed.
    void enablePrinting();

    // The hourglass on the window and the map while a command works; the
    // default pointer and the map's cross-hair afterwards.
    void setBusyPointers(bool busy);

    // Lets pending window events run; tests may replace it.
    static std::function<void()> DoEvents;

    // Reports a trapped error the way every command does.
    void reportError(const QString& prefix, const QString& description, int lineBreaks = 2,
                     int icon = 64 /*information*/);

    // Placeholder handler for commands whose implementation is not part of
    // this build: says so instead of silently doing nothing.
    void notAvailable(const QString& command);

    // Hook for the Show button's click, replaced by the contouring commands.
    std::function<void()> cmdShow_Click;
    // Hook for the save command, replaced by the project file commands.  It
    // sets saveSucceeded to whether the document was written.
    std::function<void()> cmdSave_Click;
    bool saveSucceeded = false;
    // Saves the project for a save prompt's Yes (keepName: under its current
    // name; otherwise asking for one) and says whether it was written.  Set
    // by the project file commands.
    std::function<bool(bool keepName)> saveForPrompt;
    // The save prompt before a changed, registered document is closed or
    // replaced.  False when the caller must stop: the user cancelled, or the
    // save did not happen.
    bool offerToSave(bool keepName);
    // Hook for the page fit, replaced by the zoom commands.
    std::function<void()> cmdZoomPage_Click;
    // Whether a scanner can be used; scanning is offered only when it says so.
    std::function<bool()> scannerAvailable;

    // The splash / about window currently up, if any.
    AboutBox* splash() const { return m_splash.data(); }
    void showAboutModal();
    // Runs a help command and reports what the help viewer could not do.
    void showHelp(long command, long data);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildMenus();
    void buildControls();
    void wireBaseCommands();
    void layoutRightStrip();
    double stripContentWidth() const;
    double countWidth() const;
    QAction* item(QMenu* menu, const char* name, const QString& caption);
    QMenu* submenu(QMenu* menu, const char* name, const QString& caption);
    void placeWindowFromSettings();
    void determineDataFolder();
    void optKind_Click();
    void mnuOpt_Click();
    void mnuFile_Click();

    QPointer<AboutBox> m_splash;
    QObject* m_menuStates = nullptr; // keeps the menus' items apart from the window's enabled state
    bool m_loaded = false;
    bool m_inResize = false;
};
