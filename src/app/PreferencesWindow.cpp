#include "app/PreferencesWindow.h"

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/Twips.h"
#include "document/Legacy.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "platform/Sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

QString withoutTrailingSeparator(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

QString withTrailingSeparator(const QString& path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

// A check box value read from the store: 0 clear, 1 checked; any other value
// is refused and the box keeps its designed state.
void setCheckValue(QCheckBox* box, const QString& stored) {
    const int v = legacy::CInt(legacy::NumVal(stored));
    if (v != 0 && v != 1) legacy::raise(legacy::ErrorCode::InvalidCall);
    box->setChecked(v == 1);
}

int checkValue(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

// A folder name that stays inside the folder it is created in.
bool allowedFolderName(const QString& name) {
    return name != QLatin1String(".") && name != QLatin1String("..") && !name.contains(QLatin1Char('/')) &&
           !name.contains(QChar(0));
}

} // namespace

std::function<void(const QString&, bool)> PreferencesWindow::playSound = [](const QString& name, bool async) {
    sound::PlaySystemSound(name, async);
};

// ---------------------------------------------------------------------------
FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        try {
            setPath(item->data(Qt::UserRole).toString());
        } catch (const legacy::Error&) {
            // A folder that went away meanwhile: the list stays where it was.
        }
    });
}

void FolderList::setPath(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir()) legacy::raise(legacy::ErrorCode::PathNotFound);
    m_path = withoutTrailingSeparator(QDir::cleanPath(info.absoluteFilePath()));
    refill();
}

void FolderList::refill() {
    clear();
    QStringList chain;
    for (QDir d(m_path);; ) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp()) break;
    }
    int depth = 0;
    for (const QString& p : chain) {
        const QString name = depth == 0 ? p : QFileInfo(p).fileName();
        auto* it = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, this);
        it->setData(Qt::UserRole, p);
        ++depth;
    }
    setCurrentRow(count() - 1);
    QListWidgetItem* chosen = currentItem();
    const QStringList subs = QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& s : subs) {
        auto* it = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + s, this);
        it->setData(Qt::UserRole, QDir(m_path).filePath(s));
    }
    if (chosen) scrollToItem(chosen, QAbstractItemView::PositionAtCenter);
}

// ---------------------------------------------------------------------------
PreferencesWindow::PreferencesWindow(MainWindow& main) : QDialog(&main), w(main) {
    buildControls();
    Form_Load();
}

PreferencesWindow::~PreferencesWindow() = default;

void PreferencesWindow::buildControls() {
    setObjectName(QStringLiteral("frmPref"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);
    auto named = [](QWidget* c, const char* name) {
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    auto place = [](QWidget* c, double l, double t, double wd, double h) { c->setGeometry(twips::rect(l, t, wd, h)); };

    chkUp = new QCheckBox(QStringLiteral("Check for software update every 30 days"), this);
    named(chkUp, "chkUp");
    place(chkUp, 240, 120, 4500, 300);

    Frame3 = new QGroupBox(QStringLiteral("Scanning"), this);
    named(Frame3, "Frame3");
    place(Frame3, 240, 540, 2100, 900);
    chkScanShow = new QCheckBox(QStringLiteral("Show interface"), Frame3);
    named(chkScanShow, "chkScanShow");
    place(chkScanShow, 120, 360, 1860, 300);
    // Greyed until the load finds a scanner interface.
    Frame3->setEnabled(false);
    chkScanShow->setEnabled(false);

    Frame2 = new QGroupBox(QStringLiteral("Printing "), this);
    named(Frame2, "Frame2");
    place(Frame2, 2460, 540, 2280, 900);
    labPrintSize = new QLabel(QStringLiteral("Preview size:  "), Frame2);
    named(labPrintSize, "labPrintSize");
    place(labPrintSize, 120, 300, 1140, 255);
    txtPrevSize = new QLineEdit(QStringLiteral("6060"), Frame2);
    named(txtPrevSize, "txtPrevSize");
    place(txtPrevSize, 1320, 240, 840, 315);
    chkFastPrint = new QCheckBox(QStringLiteral("Fast printing"), Frame2);
    named(chkFastPrint, "chkFastPrint");
    place(chkFastPrint, 120, 600, 2040, 255);

    Frame1 = new QGroupBox(QStringLiteral("Data Folder"), this);
    named(Frame1, "Frame1");
    place(Frame1, 240, 1560, 4500, 2400);
    Label2 = new QLabel(QStringLiteral("Data Drive:"), Frame1);
    named(Label2, "Label2");
    place(Label2, 120, 300, 1200, 255);
    Drive1 = new QComboBox(Frame1);
    named(Drive1, "Drive1");
    Drive1->setToolTip(QStringLiteral("Select drive"));
    place(Drive1, 1380, 240, 3000, 315);
    Label1 = new QLabel(QStringLiteral("Data Folder:"), Frame1);
    named(Label1, "Label1");
    place(Label1, 120, 660, 1200, 255);
    Dir1 = new FolderList(Frame1);
    named(Dir1, "Dir1");
    Dir1->setToolTip(QStringLiteral("Double-click to select folder"));
    place(Dir1, 1380, 660, 3000, 1140);
    cmdCreate = new QPushButton(QStringLiteral("New Folder"), Frame1);
    named(cmdCreate, "cmdCreate");
    cmdCreate->setToolTip(QStringLiteral("Create new folder in which to save layouts"));
    place(cmdCreate, 1380, 1900, 1335, 375);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    named(cmdOK, "cmdOK");
    cmdOK->setToolTip(QStringLiteral("Commit changes"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    named(cmdCancel, "cmdCancel");
    cmdCancel->setToolTip(QStringLiteral("Exit without changes"));
    place(cmdOK, 1200, 240, 1215, 375);
    place(cmdCancel, 2640, 240, 1215, 375);
    resize(twips::toPx(4980), twips::toPx(3600));

    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady() && Drive1->findText(v.rootPath()) < 0) Drive1->addItem(v.rootPath());
    if (Drive1->findText(QStringLiteral("/")) < 0) Drive1->insertItem(0, QStringLiteral("/"));

    connect(chkUp, &QCheckBox::stateChanged, this, [this] { chkUp_Click(); });
    connect(Drive1, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
    connect(cmdCreate, &QPushButton::clicked, this, [this] { cmdCreate_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void PreferencesWindow::setDrive(const QString& path) {
    QString root = QStorageInfo(path).rootPath();
    if (root.isEmpty()) root = QStringLiteral("/");
    int i = Drive1->findText(root);
    if (i < 0) {
        Drive1->addItem(root);
        i = Drive1->count() - 1;
    }
    Drive1->setCurrentIndex(i);
}

// Every step of the load goes on when the one before it failed: a control
// whose value cannot be shown keeps its designed value.
void PreferencesWindow::Form_Load() {
    const QString& sec = w.app.AppName;
    auto step = [](auto&& f) {
        try {
            f();
        } catch (const std::exception&) {
        }
    };
    step([&] {
        const QString folder =
            w.app.DataFolder.isEmpty() ? QCoreApplication::applicationDirPath() : w.app.DataFolder;
        setDrive(folder);
        Dir1->setPath(folder);
    });
    step([&] {
        resize(width(), twips::toPx(4965));
        cmdCancel->move(cmdCancel->x(), twips::toPx(4080));
        cmdOK->move(cmdOK->x(), twips::toPx(4080));
    });
    step([&] { txtPrevSize->setText(w.settings->ReadSetting(sec, QStringLiteral("PrintPreviewSize"), QStringLiteral("6060"))); });
    step([&] { setCheckValue(chkUp, w.settings->ReadSetting(sec, QStringLiteral("Update"), QStringLiteral("0"))); });
    step([&] { setCheckValue(chkScanShow, w.settings->ReadSetting(sec, QStringLiteral("ShowScan"), QStringLiteral("0"))); });
    step([&] { setCheckValue(chkFastPrint, w.settings->ReadSetting(sec, QStringLiteral("FastPrint"), QStringLiteral("1"))); });
    step([&] {
        if (w.scannerAvailable && w.scannerAvailable()) {
            chkScanShow->setEnabled(true);
            Frame3->setEnabled(true);
        }
    });
    step([&] { playSound(QStringLiteral("RestoreUp"), true); });
}

void PreferencesWindow::chkUp_Click() { UpdateClicked = true; }

void PreferencesWindow::Drive1_Change() {
    try {
        Dir1->setPath(Drive1->currentText());
    } catch (const std::exception&) {
        // A volume that cannot be read: the folder list keeps its folder.
    }
}

void PreferencesWindow::cmdCreate_Click() {
    playSound(QStringLiteral("SystemQuestion"), true);
    const QString name = dlg::inputBox(QStringLiteral("Type the name of the new folder to create in <") + Dir1->path() +
                                           QStringLiteral(">:"),
                                       QStringLiteral("Create Folder"), QString());
    if (name.isEmpty()) return;
    const dlg::MsgStyle warn{dlg::Buttons::OK, dlg::Icon::Exclamation};
    if (!allowedFolderName(name)) {
        dlg::msgBox(QStringLiteral("\"") + name + QStringLiteral("\" is not an allowed folder name."), warn);
        return;
    }
    const QString folder = QDir(Dir1->path()).filePath(name);
    if (QFileInfo::exists(folder)) {
        dlg::msgBox(QStringLiteral("The folder ") + folder + QStringLiteral(" already exists."), warn);
        return;
    }
    try {
        if (!QDir().mkdir(folder)) legacy::raise(legacy::ErrorCode::PathNotFound);
        Dir1->setPath(folder);
    } catch (const legacy::Error&) {
        dlg::msgBox(QStringLiteral("The folder ") + folder + QStringLiteral(" could not be created."), warn);
    }
}

void PreferencesWindow::cmdOK_Click() {
    const QString& sec = w.app.AppName;
    SettingsStore& st = *w.settings;
    try {
        const QString chosen = withTrailingSeparator(Dir1->path());
        if (!Dir1->path().isEmpty() && w.app.DataFolder != chosen) {
            w.app.DataFolder = chosen;
            st.WriteSetting(sec, QStringLiteral("DataPath"), w.app.DataFolder);
        }
        st.WriteSetting(sec, QStringLiteral("Update"), checkValue(chkUp));
        if (UpdateClicked) st.WriteSetting(sec, QStringLiteral("UpdateDate"), AboutBox::dateText(AboutBox::today()));
        st.WriteSetting(sec, QStringLiteral("ShowScan"), checkValue(chkScanShow));
        st.WriteSetting(sec, QStringLiteral("FastPrint"), checkValue(chkFastPrint));
        st.WriteSetting(sec, QStringLiteral("PrintPreviewSize"), txtPrevSize->text());
    } catch (const legacy::Error& e) {
        // The store could not be written: say so and leave the window open,
        // so the choice is not lost silently.
        w.reportError(QStringLiteral("Preferences error: "), e.description(), 2, 48);
        return;
    }
    accept();
}

void PreferencesWindow::cmdCancel_Click() { reject(); }

void PreferencesWindow::done(int result) {
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
    QDialog::done(result);
}

void PreferencesWindow::Form_Unload() { playSound(QStringLiteral("RestoreDown"), false); }
