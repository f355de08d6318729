#include "exchange/ColumnDialog.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "document/Legacy.h"
#include "platform/Dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

const QString ColumnDialog::ImportCaption = QStringLiteral("Vexolan: Import Data");
const QString ColumnDialog::ExportCaption = QStringLiteral("Vexolan: Export Data");

namespace {

constexpr double ClientHeight = 3900;
// The window's frame takes this much of its width in twips.
constexpr double BorderWidth = 120;

void place(QWidget* c, double left, double top, double width, double height) {
    c->setGeometry(twips::rect(left, top, width, height));
}

QChar letterOf(ColumnRole r, bool importFace) {
    switch (r) {
    case ColumnRole::Lat: return u'y';
    case ColumnRole::Long: return u'x';
    case ColumnRole::Data: return u'z';
    case ColumnRole::Other: return importFace ? u'-' : u'0';
    case ColumnRole::None: break;
    }
    return u'0';
}

} // namespace

QString columnCode(const std::array<ColumnRole, 4>& roles, bool importFace) {
    QString code;
    const int columns = importFace ? 4 : 3;
    for (int i = 0; i < columns; ++i) code += letterOf(roles[size_t(i)], importFace);
    return code;
}

// ---------------------------------------------------------------------------

ColumnDialog& ColumnDialog::frmImEx(MainWindow& w) {
    const auto list = w.findChildren<ColumnDialog*>(QStringLiteral("frmImEx"), Qt::FindDirectChildrenOnly);
    for (ColumnDialog* d : list)
        if (!d->m_unloaded) return *d;
    return *new ColumnDialog(w);
}

bool ColumnDialog::isLoaded(const MainWindow& w) {
    const auto list = w.findChildren<ColumnDialog*>(QStringLiteral("frmImEx"), Qt::FindDirectChildrenOnly);
    for (ColumnDialog* d : list)
        if (!d->m_unloaded) return true;
    return false;
}

ColumnDialog::ColumnDialog(MainWindow& main) : QDialog(&main), w(main) {
    setObjectName(QStringLiteral("frmImEx"));
    setModal(true);
    buildControls();
    // Form_Load: the window opens beside the main window, once per load.
    move(twips::toPx(w.Left() + 500), twips::toPx(w.Top() + 500));
}

ColumnDialog::~ColumnDialog() = default;

void ColumnDialog::buildControls() {
    setWindowTitle(ImportCaption);
    setWindowWidthTwips(12330 + BorderWidth);

    auto label = [this](QWidget* parent, const char* name, const QString& text) {
        auto* l = new QLabel(text, parent);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto option = [](QWidget* parent, const QString& name, const QString& text) {
        auto* o = new OptionButton(text, parent);
        o->setObjectName(name);
        return o;
    };
    auto frame = [this](const QString& name, const QString& text) {
        auto* f = new QGroupBox(text, this);
        f->setObjectName(name);
        return f;
    };

    Label1 = label(this, "Label1", QStringLiteral("Import comma- or space-delimited data tripplet:"));
    place(Label1, 60, 60, 5700, 285);

    // Delimiter and header lines.
    Frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("Delimitor"));
    place(Frame1, 120, 420, 1815, 1035);
    labHead = label(Frame1, "labHead", QStringLiteral("Header Lines:"));
    place(labHead, 60, 240, 1140, 255);
    txtHead = new QLineEdit(QStringLiteral("0"), Frame1);
    txtHead->setObjectName(QStringLiteral("txtHead"));
    place(txtHead, 1200, 200, 495, 285);
    optTab = option(Frame1, QStringLiteral("optTab"), QStringLiteral("Tab"));
    place(optTab, 120, 480, 1575, 255);
    optComma = option(Frame1, QStringLiteral("optComma"), QStringLiteral("Comma"));
    place(optComma, 120, 720, 1575, 255);
    optTab->setChecked(true);

    // Data kind.
    Frame2 = frame(QStringLiteral("Frame2"), QStringLiteral("Type"));
    place(Frame2, 1980, 420, 1815, 1035);
    optRock = option(Frame2, QStringLiteral("optRock"), QStringLiteral("Contact"));
    optRock->setToolTip(QStringLiteral("Choose to add rock unit contact points"));
    place(optRock, 120, 240, 1575, 255);
    optStruc = option(Frame2, QStringLiteral("optStruc"), QStringLiteral("Structural/Top"));
    optStruc->setToolTip(QStringLiteral("Choose to add structural contour data"));
    place(optStruc, 120, 480, 1575, 255);
    optIso = option(Frame2, QStringLiteral("optIso"), QStringLiteral("Isopach"));
    optIso->setToolTip(QStringLiteral("Choose to add isopach contour data"));
    place(optIso, 120, 720, 1575, 255);
    optRock->setChecked(true);

    // Point type.
    Frame3 = frame(QStringLiteral("Frame3"), QStringLiteral("Point Type"));
    place(Frame3, 3840, 420, 1815, 1035);
    optPointDat = option(Frame3, QStringLiteral("optPointDat"), QStringLiteral("Datum Points"));
    optPointDat->setToolTip(QStringLiteral("Choose to enter datum (e.g., well tag) points"));
    place(optPointDat, 120, 300, 1575, 255);
    optPointCon = option(Frame3, QStringLiteral("optPointCon"), QStringLiteral("Contour Points"));
    optPointCon->setToolTip(QStringLiteral("Choose to enter contour (e.g., interpolated) points"));
    place(optPointCon, 120, 600, 1575, 255);
    optPointDat->setChecked(true);
    optPointCon->setEnabled(false);

    Label2 = label(this, "Label2", QStringLiteral("Specify data order:"));
    place(Label2, 180, 1580, 1620, 255);
    chkHead = new QCheckBox(QStringLiteral("Export with header lines"), this);
    chkHead->setObjectName(QStringLiteral("chkHead"));
    place(chkHead, 1860, 1580, 2040, 255);
    labLineImport = label(this, "labLineImport", QStringLiteral("Import to Line Number:"));
    place(labLineImport, 3960, 1580, 1800, 255);
    txtLine = new QLineEdit(this);
    txtLine->setObjectName(QStringLiteral("txtLine"));
    place(txtLine, 5780, 1560, 1755, 285);

    // The four column frames.
    static const char* const captions[4] = {"First", "Second", "Third", "Fourth"};
    for (int i = 0; i < 4; ++i) {
        const size_t k = size_t(i);
        QGroupBox* f = frame(QStringLiteral("Frame4_%1").arg(i), QLatin1String(captions[i]));
        Frame4[k] = f;
        place(f, 120 + 1860 * i, 1920, 1815, 1575);
        auto* group = new QButtonGroup(f);
        auto add = [&](std::array<OptionButton*, 4>& arr, const char* name, const QString& text, double top) {
            OptionButton* o = option(f, QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i), text);
            place(o, 120, top, 1575, 255);
            group->addButton(o);
            arr[k] = o;
        };
        add(optLat, "optLat", QStringLiteral("Latitude/Northing"), 240);
        add(optLong, "optLong", QStringLiteral("Longitude/Easting"), 480);
        add(optData, "optData", QStringLiteral("Data"), 720);
        add(optOther, "optOther", QStringLiteral("Other"), 960);
        if (i >= 2) add(optNone, "optNone", QStringLiteral("None"), 1200);
    }
    optLong[0]->setChecked(true);
    optLat[1]->setChecked(true);
    optNone[2]->setChecked(true);
    optNone[3]->setChecked(true);
    for (int i = 0; i < 4; ++i) {
        connect(optLat[size_t(i)], &QAbstractButton::toggled, this, [this, i](bool on) { if (on) roleClicked(optLat, i); });
        connect(optLong[size_t(i)], &QAbstractButton::toggled, this, [this, i](bool on) { if (on) roleClicked(optLong, i); });
        connect(optData[size_t(i)], &QAbstractButton::toggled, this, [this, i](bool on) { if (on) roleClicked(optData, i); });
    }
    connect(optRock, &QAbstractButton::toggled, this, [this](bool on) { if (on) kindClicked(true); });
    connect(optStruc, &QAbstractButton::toggled, this, [this](bool on) { if (on) kindClicked(false); });
    connect(optIso, &QAbstractButton::toggled, this, [this](bool on) { if (on) kindClicked(false); });

    // The file.
    labF = label(this, "labF", QStringLiteral("Imported File:"));
    QFont bold = labF->font();
    bold.setBold(true);
    labF->setFont(bold);
    place(labF, 5880, 180, 1800, 255);
    labFile = label(this, "labFile", QString());
    place(labFile, 5820, 480, 1860, 255);
    labSel = label(this, "labSel", QStringLiteral("Line Selected: 0"));
    place(labSel, 5820, 900, 1860, 255);
    labLines = label(this, "labLines", QStringLiteral("Number of Lines: 0"));
    place(labLines, 5820, 1200, 1860, 255);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setToolTip(QStringLiteral("\"Click\" to select first data line, \"<Ctrl>+ Click\" to select last"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setUniformItemSizes(true);
    place(List1, 7740, 780, 4485, 2985);
    List1->viewport()->installEventFilter(this);
    Label3 = label(this, "Label3",
                   QStringLiteral("if header lines exist, \"Click\" to select first data line. To select a specific "
                                  "range of lines, \"<Ctrl>+ Click\" to select last data line."));
    Label3->setWordWrap(true);
    place(Label3, 7800, 120, 4455, 495);

    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    place(cmdCancel, 180, 3540, 1695, 315);
    cmdOK = new QPushButton(QStringLiteral("Import"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    place(cmdOK, 5760, 3540, 1695, 315);
    connect(cmdOK, &QPushButton::clicked, this, &ColumnDialog::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &ColumnDialog::cmdCancel_Click);
}

// ---------------------------------------------------------------------------
// Faces

void ColumnDialog::prepareImportFace(const QString& fileName, bool rockEnabled, bool strucEnabled, bool isoEnabled) {
    setWindowWidthTwips(12450);
    setWindowTitle(ImportCaption);
    cmdOK->setText(QStringLiteral("Import"));
    labF->setText(QStringLiteral("Imported file:"));
    labFile->setText(fileName);
    labHead->setEnabled(true);
    txtHead->setEnabled(true);
    chkHead->setVisible(false);
    if (rockEnabled) optRock->setEnabled(true);
    if (strucEnabled) optStruc->setEnabled(true);
    if (isoEnabled) optIso->setEnabled(true);
    optPointDat->setEnabled(true);
    if (!optRock->isChecked()) optPointCon->setEnabled(true);
    labSel->setVisible(true);
    labLines->setVisible(true);
    labLineImport->setText(QStringLiteral("Import to Line Number:"));
    for (OptionButton* o : optOther) o->setEnabled(true);
    for (QWidget* c : {static_cast<QWidget*>(optLat[3]), static_cast<QWidget*>(optLong[3]),
                       static_cast<QWidget*>(optData[3]), static_cast<QWidget*>(optNone[3])})
        c->setEnabled(true);
}

void ColumnDialog::prepareExportFace(const QString& fileName, const QString& dataText) {
    setWindowWidthTwips(7755);
    setWindowTitle(ExportCaption);
    cmdOK->setText(QStringLiteral("Export"));
    labF->setText(QStringLiteral("Exported file:"));
    labFile->setText(fileName);
    labHead->setEnabled(false);
    txtHead->setEnabled(false);
    chkHead->setVisible(true);
    for (QWidget* c : std::initializer_list<QWidget*>{optRock, optStruc, optIso, optPointDat, optPointCon})
        c->setEnabled(false);
    labSel->setVisible(false);
    labLines->setVisible(false);
    labLineImport->setText(QStringLiteral("Data text:"));
    txtLine->setText(dataText);
    for (OptionButton* o : optOther) o->setEnabled(false);
    for (QWidget* c : {static_cast<QWidget*>(optLat[3]), static_cast<QWidget*>(optLong[3]),
                       static_cast<QWidget*>(optData[3]), static_cast<QWidget*>(optNone[3])})
        c->setEnabled(false);
}

bool ColumnDialog::isImportFace() const { return windowTitle() == ImportCaption; }

void ColumnDialog::setWindowWidthTwips(double width) {
    // The list and its help lie right of 7700 twips: a narrower window cuts
    // them off rather than squeezing the controls.
    resize(twips::toPx(width - BorderWidth), twips::toPx(ClientHeight));
}

double ColumnDialog::windowWidthTwips() const { return twips::fromPx(width()) + BorderWidth; }

// ---------------------------------------------------------------------------
// Listing the file

void ColumnDialog::ShowFile() {
    List1->clear();
    LineNumber = 0;
    // A file that cannot be opened goes to the caller with the list empty.
    const QByteArray bytes = legacy::readFileBytes(w.doc.ImportFile);
    const QStringList lines = legacy::splitLines(legacy::decodeLatin1(bytes));
    List1->setUpdatesEnabled(false);
    List1->addItems(lines);
    List1->setUpdatesEnabled(true);
    LineNumber = List1->count();
    labLines->setText(QStringLiteral("Number of lines: ") + QString::number(LineNumber));
    txtLine->setText(QString::number(LineNumber));
}

// ---------------------------------------------------------------------------
// Showing and closing

int ColumnDialog::showModal() { return dlg::execDialog(this); }

void ColumnDialog::cmdOK_Click() {
    w.doc.ImportOrder.clear();
    w.doc.ColumnOrder.clear();
    const bool import = isImportFace();
    (import ? w.doc.ImportOrder : w.doc.ColumnOrder) = columnCode(roles(), import);
    accept();
}

void ColumnDialog::cmdCancel_Click() { reject(); }

void ColumnDialog::closeEvent(QCloseEvent* e) {
    // Closed through the window system rather than OK or Cancel: the window
    // is unloaded, and the next use starts from the design state.
    m_unloaded = true;
    QDialog::closeEvent(e);
    deleteLater();
}

std::array<ColumnRole, 4> ColumnDialog::roles() const {
    std::array<ColumnRole, 4> r{};
    for (size_t i = 0; i < 4; ++i) {
        if (optLat[i]->isChecked()) r[i] = ColumnRole::Lat;
        else if (optLong[i]->isChecked()) r[i] = ColumnRole::Long;
        else if (optData[i]->isChecked()) r[i] = ColumnRole::Data;
        else if (optOther[i]->isChecked()) r[i] = ColumnRole::Other;
        else r[i] = ColumnRole::None;
    }
    return r;
}

// ---------------------------------------------------------------------------
// Click rules

void ColumnDialog::roleClicked(std::array<OptionButton*, 4>& options, int index) {
    // One column per role: the same option in every other column is cleared,
    // which may leave that column with no choice ("0").
    for (int j = 0; j < 4; ++j)
        if (j != index) options[size_t(j)]->setValue(false);
}

void ColumnDialog::kindClicked(bool contact) {
    optPointDat->setValue(true);
    // Contacts are datum points only.
    optPointCon->setEnabled(!contact);
}

void ColumnDialog::List1_MouseUp(bool modifier) {
    for (int i = 0; i < List1->count(); ++i) {
        if (List1->item(i)->isSelected()) {
            LineNumber = i;
            labSel->setText(QStringLiteral("Line Selected: ") + QString::number(i + 1));
            break;
        }
    }
    if (!modifier) txtHead->setText(QString::number(LineNumber));
    else txtLine->setText(QString::number(lastLineForPick(LineNumber)));
}

bool ColumnDialog::eventFilter(QObject* watched, QEvent* e) {
    if (watched == List1->viewport() && e->type() == QEvent::MouseButtonRelease) {
        const auto mods = static_cast<QMouseEvent*>(e)->modifiers();
        const bool modifier = mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        // The list selected the line when the button went down.
        List1_MouseUp(modifier);
        return false;
    }
    return QDialog::eventFilter(watched, e);
}
