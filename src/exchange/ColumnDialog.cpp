#include "exchange/ColumnDialog.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "document/Legacy.h"
#include "exchange/TextLines.h"
#include "platform/Dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractListModel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <iterator>

const QString ColumnDialog::ImportCaption = QStringLiteral("Vexolan: Import Data");
const QString ColumnDialog::ExportCaption = QStringLiteral("Vexolan: Export Data");

namespace {

constexpr double ClientHeight = 3900;
// The window's frame takes this much of its width in twips.
constexpr double BorderWidth = 120;

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

// The file's lines as the list shows them: each line is decoded when the
// list draws it, so a file of a million lines costs its bytes and an offset
// per line, not a string and an item per line.
class FileLinesModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;
    void setLines(importer::TextLines lines) {
        beginResetModel();
        m_lines = std::move(lines);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_lines.count(); }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_lines.count()) return {};
        return m_lines.line(index.row());
    }

private:
    importer::TextLines m_lines;
};

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

    auto label = [](QWidget* parent, const char* name, const QString& text) {
        auto* l = new QLabel(text, parent);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto option = [](QWidget* parent, const QString& name, const QString& text) {
        auto* o = new OptionButton(text, parent);
        o->setObjectName(name);
        return o;
    };
    // A frame whose controls stand one under the other, from its top.
    auto frame = [this](const QString& name, const QString& text) {
        auto* f = new QGroupBox(text, this);
        f->setObjectName(name);
        new QVBoxLayout(f);
        return f;
    };
    auto stack = [](QGroupBox* f, QWidget* c) { static_cast<QVBoxLayout*>(f->layout())->addWidget(c); };
    auto closeFrame = [](QGroupBox* f) { static_cast<QVBoxLayout*>(f->layout())->addStretch(1); };

    // The controls keep the arrangement of the original window (frames in a
    // row, the column frames below, the list at the right), but are laid
    // out by their texts, so that no caption is cut at any font.
    Label1 = label(this, "Label1", QStringLiteral("Import comma- or space-delimited data tripplet:"));

    // Delimiter and header lines.
    Frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("Delimitor"));
    labHead = label(Frame1, "labHead", QStringLiteral("Header Lines:"));
    txtHead = new QLineEdit(QStringLiteral("0"), Frame1);
    txtHead->setObjectName(QStringLiteral("txtHead"));
    txtHead->setFixedWidth(std::max(twips::toPx(495), txtHead->fontMetrics().horizontalAdvance(u'0') * 5 + 8));
    auto* headRow = new QHBoxLayout;
    headRow->addWidget(labHead);
    headRow->addWidget(txtHead);
    headRow->addStretch(1);
    static_cast<QVBoxLayout*>(Frame1->layout())->addLayout(headRow);
    optTab = option(Frame1, QStringLiteral("optTab"), QStringLiteral("Tab"));
    stack(Frame1, optTab);
    optComma = option(Frame1, QStringLiteral("optComma"), QStringLiteral("Comma"));
    stack(Frame1, optComma);
    closeFrame(Frame1);
    optTab->setChecked(true);

    // Data kind.
    Frame2 = frame(QStringLiteral("Frame2"), QStringLiteral("Type"));
    optRock = option(Frame2, QStringLiteral("optRock"), QStringLiteral("Contact"));
    optRock->setToolTip(QStringLiteral("Choose to add rock unit contact points"));
    optStruc = option(Frame2, QStringLiteral("optStruc"), QStringLiteral("Structural/Top"));
    optStruc->setToolTip(QStringLiteral("Choose to add structural contour data"));
    optIso = option(Frame2, QStringLiteral("optIso"), QStringLiteral("Isopach"));
    optIso->setToolTip(QStringLiteral("Choose to add isopach contour data"));
    for (OptionButton* o : {optRock, optStruc, optIso}) stack(Frame2, o);
    closeFrame(Frame2);
    optRock->setChecked(true);

    // Point type.
    Frame3 = frame(QStringLiteral("Frame3"), QStringLiteral("Point Type"));
    optPointDat = option(Frame3, QStringLiteral("optPointDat"), QStringLiteral("Datum Points"));
    optPointDat->setToolTip(QStringLiteral("Choose to enter datum (e.g., well tag) points"));
    optPointCon = option(Frame3, QStringLiteral("optPointCon"), QStringLiteral("Contour Points"));
    optPointCon->setToolTip(QStringLiteral("Choose to enter contour (e.g., interpolated) points"));
    stack(Frame3, optPointDat);
    stack(Frame3, optPointCon);
    closeFrame(Frame3);
    optPointDat->setChecked(true);
    optPointCon->setEnabled(false);

    Label2 = label(this, "Label2", QStringLiteral("Specify data order:"));
    chkHead = new QCheckBox(QStringLiteral("Export with header lines"), this);
    chkHead->setObjectName(QStringLiteral("chkHead"));
    labLineImport = label(this, "labLineImport", QStringLiteral("Import to Line Number:"));
    labLineImport->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtLine = new QLineEdit(this);
    txtLine->setObjectName(QStringLiteral("txtLine"));

    // The four column frames.
    static const char* const captions[4] = {"First", "Second", "Third", "Fourth"};
    for (int i = 0; i < 4; ++i) {
        const size_t k = size_t(i);
        QGroupBox* f = frame(QStringLiteral("Frame4_%1").arg(i), QLatin1String(captions[i]));
        Frame4[k] = f;
        auto* group = new QButtonGroup(f);
        auto add = [&](std::array<OptionButton*, 4>& arr, const char* name, const QString& text) {
            OptionButton* o = option(f, QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i), text);
            stack(f, o);
            group->addButton(o);
            arr[k] = o;
        };
        add(optLat, "optLat", QStringLiteral("Latitude/Northing"));
        add(optLong, "optLong", QStringLiteral("Longitude/Easting"));
        add(optData, "optData", QStringLiteral("Data"));
        add(optOther, "optOther", QStringLiteral("Other"));
        if (i >= 2) add(optNone, "optNone", QStringLiteral("None"));
        closeFrame(f);
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
    labFile = label(this, "labFile", QString());
    // A long file name is cut rather than widening the window.
    labFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    labSel = label(this, "labSel", QStringLiteral("Line Selected: 0"));
    labLines = label(this, "labLines", QStringLiteral("Number of Lines: 0"));

    List1 = new QListView(this);
    List1->setObjectName(QStringLiteral("List1"));
    m_lines = new FileLinesModel(this);
    List1->setModel(m_lines);
    List1->setToolTip(QStringLiteral("\"Click\" to select first data line, \"<Ctrl>+ Click\" to select last"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setUniformItemSizes(true);
    List1->setMinimumSize(twips::toPx(4485), twips::toPx(2985));
    List1->viewport()->installEventFilter(this);
    Label3 = label(this, "Label3",
                   QStringLiteral("if header lines exist, \"Click\" to select first data line. To select a specific "
                                  "range of lines, \"<Ctrl>+ Click\" to select last data line."));
    Label3->setWordWrap(true);

    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdOK = new QPushButton(QStringLiteral("Import"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    for (QPushButton* b : {cmdCancel, cmdOK}) b->setMinimumWidth(twips::toPx(1695));
    connect(cmdOK, &QPushButton::clicked, this, &ColumnDialog::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &ColumnDialog::cmdCancel_Click);

    // Four columns, one per column frame; the file's name and counts stand
    // over the fourth.  The list and its help lie to the right of them.
    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0, 1, 3);
    grid->addWidget(labF, 0, 3);
    grid->addWidget(Frame1, 1, 0);
    grid->addWidget(Frame2, 1, 1);
    grid->addWidget(Frame3, 1, 2);
    auto* fileBox = new QVBoxLayout;
    for (QLabel* l : {labFile, labSel, labLines}) fileBox->addWidget(l);
    fileBox->addStretch(1);
    grid->addLayout(fileBox, 1, 3);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(chkHead, 2, 1);
    grid->addWidget(labLineImport, 2, 2);
    grid->addWidget(txtLine, 2, 3);
    for (int i = 0; i < 4; ++i) grid->addWidget(Frame4[size_t(i)], 3, i);
    grid->addWidget(cmdCancel, 4, 0, Qt::AlignLeft);
    grid->addWidget(cmdOK, 4, 3, Qt::AlignLeft);
    grid->setRowStretch(3, 1);
    m_listSide = new QWidget(this);
    auto* side = new QVBoxLayout(m_listSide);
    side->setContentsMargins(0, 0, 0, 0);
    Label3->setParent(m_listSide);
    List1->setParent(m_listSide);
    side->addWidget(Label3);
    side->addWidget(List1, 1);
    auto* top = new QHBoxLayout(this);
    top->addLayout(grid);
    top->addWidget(m_listSide, 1);

    setWindowWidthTwips(12330 + BorderWidth);
}

// ---------------------------------------------------------------------------
// Faces

void ColumnDialog::prepareImportFace(const QString& fileName, bool rockEnabled, bool strucEnabled, bool isoEnabled) {
    setWindowTitle(ImportCaption);
    cmdOK->setText(QStringLiteral("Import"));
    labF->setText(QStringLiteral("Imported file:"));
    labFile->setText(fileName);
    labHead->setEnabled(true);
    txtHead->setEnabled(true);
    chkHead->setVisible(false);
    // The kinds follow the main window's: once points fix the document's
    // kind there, the import must not bring in points of another kind.  A
    // chosen kind that is no longer offered gives way to the first offered.
    optRock->setEnabled(rockEnabled);
    optStruc->setEnabled(strucEnabled);
    optIso->setEnabled(isoEnabled);
    OptionButton* kinds[] = {optRock, optStruc, optIso};
    const bool chosenOffered = std::any_of(std::begin(kinds), std::end(kinds),
                                           [](OptionButton* o) { return o->isChecked() && o->isEnabled(); });
    if (!chosenOffered) {
        for (OptionButton* o : kinds) {
            if (o->isEnabled()) {
                o->setValue(true);
                break;
            }
        }
    }
    optPointDat->setEnabled(true);
    if (!optRock->isChecked()) optPointCon->setEnabled(true);
    labSel->setVisible(true);
    labLines->setVisible(true);
    labLineImport->setText(QStringLiteral("Import to Line Number:"));
    for (OptionButton* o : optOther) o->setEnabled(true);
    for (QWidget* c : {static_cast<QWidget*>(optLat[3]), static_cast<QWidget*>(optLong[3]),
                       static_cast<QWidget*>(optData[3]), static_cast<QWidget*>(optNone[3])})
        c->setEnabled(true);
    m_listSide->setVisible(true);
    setWindowWidthTwips(12450);
}

void ColumnDialog::prepareExportFace(const QString& fileName, const QString& dataText) {
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
    // The list and its help belong to the import: the export face is the
    // window without them.
    m_listSide->setVisible(false);
    setWindowWidthTwips(7755);
}

bool ColumnDialog::isImportFace() const { return windowTitle() == ImportCaption; }

void ColumnDialog::setWindowWidthTwips(double width) {
    // The width asked for, unless the controls need more at this font.
    layout()->activate();
    const QSize least = minimumSizeHint();
    resize(std::max(twips::toPx(width - BorderWidth), least.width()),
           std::max(twips::toPx(ClientHeight), least.height()));
}

double ColumnDialog::windowWidthTwips() const { return twips::fromPx(width()) + BorderWidth; }

// ---------------------------------------------------------------------------
// Listing the file

void ColumnDialog::ShowFile() {
    m_lines->setLines({});
    LineNumber = 0;
    // A file that cannot be opened goes to the caller with the list empty.
    m_lines->setLines(importer::TextLines::fromFile(w.doc.ImportFile));
    LineNumber = m_lines->rowCount({});
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

void ColumnDialog::done(int result) {
    QDialog::done(result);
    // A listed file may be large; the next import lists its own.
    m_lines->setLines({});
}

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
    const QModelIndexList selected = List1->selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        int first = selected.front().row();
        for (const QModelIndex& i : selected) first = std::min(first, i.row());
        LineNumber = first;
        labSel->setText(QStringLiteral("Line Selected: ") + QString::number(first + 1));
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
