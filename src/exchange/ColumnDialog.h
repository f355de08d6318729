// The column dialog (frmImEx): the one modal window through which the user
// describes a column text file of points, shared by the data import and the
// data export.  The window caption alone tells the face: "Vexolan: Import
// Data" is the import, any other caption the export.
//
// How a command uses it:
//
//   ColumnDialog& d = ColumnDialog::frmImEx(w);   // loads it on first use
//   d.prepareImportFace(fileName, ...);           // or prepareExportFace(fileName, dataText)
//   d.ShowFile();                                 // import only: lists w.doc.ImportFile (throws legacy::Error)
//   w.doc.ImportOrder = "";                       // or w.doc.ColumnOrder = ""
//   d.showModal();                                // dlg::execDialog; OK and Cancel hide it
//   if (w.doc.ImportOrder.isEmpty()) return;      // "" = cancelled
//   ... then read d.txtHead, d.txtLine, d.optTab, d.chkHead, d.optRock ...
//
// OK empties both ImportOrder and ColumnOrder and fills the one of its face:
// four letters for the import ("y", "x", "z", "-" for Other, "0"), three for
// the export ("y", "x", "z", else "0"; columns 0 to 2 only).  Cancel changes
// neither.  The window is loaded once per main window and hidden, not
// destroyed, after OK or Cancel, so every control keeps its state between
// uses; closing it through the window system unloads it, and the next use
// loads a fresh one in the design state.  It is unloaded with the main window.
//
// In tests, answer the modal show with a dlg::WindowScript that sets the
// controls and calls cmdOK_Click() or cmdCancel_Click() (a bare Answer::OK
// builds no code, so it reads as a cancel).
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <array>

class MainWindow;
class OptionButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class FileLinesModel;
class QPushButton;

// The role a column's options give it.
enum class ColumnRole { None, Lat, Long, Data, Other };

// The column code of the chosen roles: four letters for the import face
// ("y", "x", "z", "-", "0"), three for the export face (columns 0 to 2;
// "Other" reads as "0").
QString columnCode(const std::array<ColumnRole, 4>& roles, bool importFace);

// The value a click with a modifier key writes as the last line to read: the
// picked line's 1-based number, so that the picked line is the last one read.
inline long lastLineForPick(long pickedIndex) { return pickedIndex + 1; }

class ColumnDialog : public QDialog {
    Q_OBJECT
public:
    static const QString ImportCaption; // "Vexolan: Import Data"
    static const QString ExportCaption; // "Vexolan: Export Data"

    // The one instance of the window for this main window, loaded (and
    // placed beside the main window) on first use.
    static ColumnDialog& frmImEx(MainWindow& w);
    // Whether the window is loaded now (false before its first use and after
    // it was closed through the window system).
    static bool isLoaded(const MainWindow& w);

    ~ColumnDialog() override;

    // ---- the two faces, as the import and the export prepare them ----
    // Import: width 12450 (or what the controls need), import caption, "Import", "Imported file:", the
    // file name, header box enabled, chkHead hidden, each kind option enabled
    // as the main window's option of that name is (a chosen kind no longer
    // offered gives way to the first offered one), optPointDat enabled,
    // optPointCon enabled unless
    // "Contact" is chosen, the line labels shown, "Import to Line Number:",
    // "Other" and the fourth column enabled.
    void prepareImportFace(const QString& fileName, bool rockEnabled, bool strucEnabled, bool isoEnabled);
    // Export: width 7755 (or what the controls need) without the list and
    // its help, export caption, "Export", "Exported file:", the
    // file name, header box disabled, chkHead shown, kind and point-type
    // options disabled, the line labels hidden, "Data text:", txtLine :=
    // dataText, "Other" and the fourth column disabled.
    void prepareExportFace(const QString& fileName, const QString& dataText);

    // Lists the file named by the document's ImportFile in List1, then sets
    // labLines and txtLine to the number of lines.  A file that cannot be
    // opened throws legacy::Error and leaves the list empty.  The list shows
    // the file through its line offsets, and lets it go when the window is
    // hidden or closed.
    void ShowFile();

    // Shows the window modally (through dlg::execDialog) and returns the
    // dialog result once OK or Cancel hid it.
    int showModal();

    bool isImportFace() const;
    // Window width in twips (the client area is 120 twips narrower); never
    // narrower than the controls need, so that every caption shows whole.
    void setWindowWidthTwips(double width);
    double windowWidthTwips() const;

    // The roles currently chosen, column by column.
    std::array<ColumnRole, 4> roles() const;

    // The button handlers, callable by tests and scripts.
    void cmdOK_Click();
    void cmdCancel_Click();
    // A mouse button released over the list; `modifier` is whether Shift,
    // Ctrl or Alt was held.
    void List1_MouseUp(bool modifier);

    // Form-level value: the number of lines listed, then the 0-based index
    // of the line last picked in the list.
    long LineNumber = 0;

    // ---- controls, named as the commands name them ----
    std::array<QGroupBox*, 4> Frame4{};
    std::array<OptionButton*, 4> optLat{};
    std::array<OptionButton*, 4> optLong{};
    std::array<OptionButton*, 4> optData{};
    std::array<OptionButton*, 4> optOther{};
    std::array<OptionButton*, 4> optNone{}; // members 2 and 3 only; 0 and 1 are null
    QGroupBox* Frame1 = nullptr;
    OptionButton* optTab = nullptr;
    OptionButton* optComma = nullptr;
    QLabel* labHead = nullptr;
    QLineEdit* txtHead = nullptr;
    QGroupBox* Frame2 = nullptr;
    OptionButton* optRock = nullptr;
    OptionButton* optStruc = nullptr;
    OptionButton* optIso = nullptr;
    QGroupBox* Frame3 = nullptr;
    OptionButton* optPointDat = nullptr;
    OptionButton* optPointCon = nullptr;
    QListView* List1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* labSel = nullptr;
    QLabel* labLines = nullptr;
    QLabel* labLineImport = nullptr;
    QLineEdit* txtLine = nullptr;
    QLabel* labF = nullptr;
    QLabel* labFile = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* chkHead = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // OK and Cancel hide the window; the listed file is let go then.
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    explicit ColumnDialog(MainWindow& w);
    void buildControls();
    void roleClicked(std::array<OptionButton*, 4>& options, int index);
    void kindClicked(bool contact);

    MainWindow& w;
    FileLinesModel* m_lines = nullptr;
    QWidget* m_listSide = nullptr; // the list and its help: the import face only
    bool m_unloaded = false;
};
