#include "map/MapEditCommands.h"

#include "app/MainWindow.h"
#include "document/Legacy.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"
#include "platform/FileService.h"
#include "platform/ImagingObject.h"
#include "platform/Printers.h"
#include "platform/Scanner.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>

namespace mapedit {

namespace {

// The general escapes of a desktop entry's string values.
QString unescapeValue(const QString& v) {
    QString out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        const QChar c = v[i];
        if (c != QLatin1Char('\\') || i + 1 >= v.size()) {
            out += c;
            continue;
        }
        const QChar n = v[++i];
        if (n == QLatin1Char('s')) out += QLatin1Char(' ');
        else if (n == QLatin1Char('n')) out += QLatin1Char('\n');
        else if (n == QLatin1Char('t')) out += QLatin1Char('\t');
        else if (n == QLatin1Char('r')) out += QLatin1Char('\r');
        else if (n == QLatin1Char('\\')) out += QLatin1Char('\\');
        else {
            out += c;
            out += n;
        }
    }
    return out;
}

} // namespace

DesktopEntry parseDesktopEntry(const QString& text) {
    DesktopEntry e;
    bool inGroup = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            if (inGroup) e.valid = true;
            continue;
        }
        if (!inGroup) continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        const QString value = unescapeValue(line.mid(eq + 1).trimmed());
        // Only the first of a key counts; localised keys (Name[de]) are not these.
        if (key == QLatin1String("Exec") && e.exec.isNull()) e.exec = value;
        else if (key == QLatin1String("Name") && e.name.isNull()) e.name = value;
        else if (key == QLatin1String("Icon") && e.icon.isNull()) e.icon = value;
    }
    return e;
}

EditorCommand expandExec(const QString& exec, const QString& file, const QString& name, const QString& icon,
                         const QString& entryPath) {
    EditorCommand cmd;
    // Split into arguments: blanks separate, double quotes group, and inside
    // quotes a backslash takes the next character literally.
    struct Arg {
        QString text;
        bool quoted = false;
    };
    std::vector<Arg> args;
    Arg cur;
    bool inArg = false, inQuotes = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == QLatin1Char('"')) inQuotes = false;
            else if (c == QLatin1Char('\\') && i + 1 < exec.size()) cur.text += exec[++i];
            else cur.text += c;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inArg) args.push_back(cur);
            cur = Arg{};
            inArg = false;
        } else if (c == QLatin1Char('"')) {
            inQuotes = inArg = true;
            cur.quoted = true;
        } else {
            cur.text += c;
            inArg = true;
        }
    }
    if (inQuotes) return cmd; // an unclosed quote: the line cannot be read
    if (inArg) args.push_back(cur);

    for (const Arg& a : args) {
        // Standalone codes that expand to a whole argument, or to none.
        if (!a.quoted) {
            if (a.text == QLatin1String("%i")) {
                if (!icon.isEmpty()) cmd.argv << QStringLiteral("--icon") << icon;
                continue;
            }
            if (a.text == QLatin1String("%F") || a.text == QLatin1String("%U") || a.text == QLatin1String("%f") ||
                a.text == QLatin1String("%u")) {
                cmd.argv << file;
                cmd.takesFile = true;
                continue;
            }
            static const QStringList dropped{QStringLiteral("%d"), QStringLiteral("%D"), QStringLiteral("%n"),
                                              QStringLiteral("%N"), QStringLiteral("%v"), QStringLiteral("%m")};
            if (dropped.contains(a.text)) continue;
        }
        QString out;
        for (qsizetype i = 0; i < a.text.size(); ++i) {
            const QChar c = a.text[i];
            if (c != QLatin1Char('%')) {
                out += c;
                continue;
            }
            if (i + 1 >= a.text.size()) return EditorCommand{};
            const char code = a.text[++i].toLatin1();
            switch (code) {
            case '%': out += QLatin1Char('%'); break;
            case 'f': case 'F': case 'u': case 'U':
                out += file;
                cmd.takesFile = true;
                break;
            case 'c': out += name; break;
            case 'k': out += entryPath; break;
            case 'i': out += icon; break;
            case 'd': case 'D': case 'n': case 'N': case 'v': case 'm': break;
            default: return EditorCommand{};
            }
        }
        cmd.argv << out;
    }
    cmd.valid = !cmd.argv.isEmpty() && !cmd.argv.first().isEmpty();
    if (!cmd.valid) cmd.takesFile = false;
    return cmd;
}

QString locateDesktopEntry(const QString& id) {
    if (id.isEmpty() || id.contains(QLatin1Char('/'))) return {};
    QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    if (!path.isEmpty()) return path;
    // "vendor-app.desktop" may also live at "vendor/app.desktop".
    QString sub = id;
    for (qsizetype i = 0; i < sub.size(); ++i) {
        if (sub[i] != QLatin1Char('-')) continue;
        sub[i] = QLatin1Char('/');
        path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, sub);
        if (!path.isEmpty()) return path;
    }
    return {};
}

int skewPixels(const QString& answer) {
    return int(legacy::CLng(std::floor(double(legacy::NumVal(answer)))));
}

} // namespace mapedit

namespace {

constexpr long kButtonFace = 0x8000000FL;

QString describe(const std::exception& e) {
    if (auto* le = dynamic_cast<const legacy::Error*>(&e)) return le->description();
    return QString::fromLocal8Bit(e.what());
}

const QString kDefaultEditorNotFound = QStringLiteral("Default editor not found!");

} // namespace

MapEditCommands::MapEditCommands(MainWindow& main) : QObject(&main), w(main) {
    w.scannerAvailable = [] { return scanner::Available(); };
    const std::pair<QAction*, void (MapEditCommands::*)()> items[] = {
        {w.mnuOptRotDo, &MapEditCommands::mnuOptRotDo_Click},
        {w.mnuOptRotUndo, &MapEditCommands::mnuOptRotUndo_Click},
        {w.mnuOptSkewHoriz, &MapEditCommands::mnuOptSkewHoriz_Click},
        {w.mnuOptSkewVert, &MapEditCommands::mnuOptSkewVert_Click},
        {w.mnuOptSkewUndo, &MapEditCommands::mnuOptSkewUndo_Click},
        {w.mnuOptEdit, &MapEditCommands::mnuOptEdit_Click},
        {w.mnuFileScanSelect, &MapEditCommands::mnuFileScanSelect_Click},
        {w.mnuFileScanAcquire, &MapEditCommands::mnuFileScanAcquire_Click},
    };
    for (const auto& [action, handler] : items) {
        connect(action, &QAction::triggered, this, [this, h = handler] { (this->*h)(); });
    }
    connect(w.cmdScan, &QPushButton::clicked, this, [this] { cmdScan_Click(); });
}

// ---------------------------------------------------------------------------
// Rotate and skew.

void MapEditCommands::mnuOptRotDo_Click() { editImage(EditKind::Rotate); }
void MapEditCommands::mnuOptSkewHoriz_Click() { editImage(EditKind::SkewHorizontal); }
void MapEditCommands::mnuOptSkewVert_Click() { editImage(EditKind::SkewVertical); }
void MapEditCommands::mnuOptRotUndo_Click() { undoEdit(); }
void MapEditCommands::mnuOptSkewUndo_Click() { undoEdit(); }

void MapEditCommands::editImage(EditKind kind) {
    QString prompt;
    QString* remembered = nullptr;
    switch (kind) {
    case EditKind::Rotate:
        prompt = QStringLiteral("Enter the number of degrees to rotate the map") + QLatin1Char('\n') +
                 QStringLiteral("clockwise (+) or counterclockwise (-)");
        remembered = &m_rotText;
        break;
    case EditKind::SkewHorizontal:
        prompt = QStringLiteral("Enter the nuber of pixels to skew the upper left corner to the right or left (-)") +
                 QLatin1Char('\n') + QStringLiteral("(relative to lower left corner)");
        remembered = &m_skewHText;
        break;
    case EditKind::SkewVertical:
        prompt = QStringLiteral("Enter the nuber of pixels to skew the upper left corner downward or upward(-)") +
                 QLatin1Char('\n') + QStringLiteral("(relative to upper right corner)");
        remembered = &m_skewVText;
        break;
    }
    const QString answer = dlg::inputBox(prompt, {}, *remembered);
    *remembered = answer;
    if (answer.isEmpty()) return;
    const QString errorPrefix = kind == EditKind::Rotate ? QStringLiteral("Rotate error: ") : QStringLiteral("Skew error: ");
    Document& d = w.doc;
    try {
        float angle = 0;
        int pixels = 0;
        if (kind == EditKind::Rotate) {
            angle = legacy::NumVal(answer);
            if (angle == 0) return;
        } else {
            pixels = mapedit::skewPixels(answer);
            if (pixels == 0) return;
        }
        w.setBusyPointers(true);
        MainWindow::DoEvents();
        if (!w.picImgX || w.picImgX->isEmpty() || w.imPoints->picture().isNull())
            legacy::raise(QStringLiteral("No map image is loaded"));
        // The imaging object leaves its image as it was when it fails.
        if (kind == EditKind::Rotate) w.picImgX->rotate(angle, kButtonFace);
        else
            w.picImgX->skew(kind == EditKind::SkewHorizontal ? ImagingObject::SkewHorizontal
                                                              : ImagingObject::SkewVertical,
                            pixels, kButtonFace);
        w.imPoints->hide();
        d.ImageWidthPx = float(w.picImgX->width());
        d.ImageHeightPx = float(w.picImgX->height());
        w.imPoints->Move(w.imPoints->Left(), w.imPoints->Top(), d.ImageWidthPx, d.ImageHeightPx);
        // Only the map under the points turns; the contact layer keeps the
        // picture of the last load until the next one.
        w.imPoints->setPicture(w.picImgX->picture());
        d.MapPictureEdited = true;
        w.mapView->cmdZoomPage_Click();
        w.imPoints->show();
        w.setBusyPointers(false);
    } catch (const std::exception& e) {
        w.setBusyPointers(false);
        w.reportError(errorPrefix, describe(e), 2, 48);
    }
}

void MapEditCommands::undoEdit() {
    w.mapView->MapLoad();
    w.setBusyPointers(false);
    w.imContacts->setCursor(Qt::CrossCursor);
}

// ---------------------------------------------------------------------------
// The outside editor.

void MapEditCommands::MapEdit() {
    Document& d = w.doc;
    QString pending;
    auto warn = [](const QString& text, dlg::Icon icon) { dlg::msgBox(text, {dlg::Buttons::OK, icon}); };
    try {
        const QString folder = FileService::SplitPath(d.MapFileName, true);
        // No editor can be found for a file that is not there.
        const QString id = FileService::FileExists(d.MapFileName) && QFileInfo(d.MapFileName).isFile()
                               ? shell::DefaultEditorFor(d.MapFileName)
                               : QString();
        const QString entryPath = mapedit::locateDesktopEntry(id);
        mapedit::EditorCommand cmd;
        if (!entryPath.isEmpty()) {
            QFile f(entryPath);
            if (f.open(QIODevice::ReadOnly)) {
                const mapedit::DesktopEntry e = mapedit::parseDesktopEntry(QString::fromUtf8(f.readAll()));
                if (e.valid)
                    cmd = mapedit::expandExec(e.exec, QFileInfo(d.MapFileName).absoluteFilePath(), e.name, e.icon,
                                              entryPath);
            }
        }
        if (!cmd.valid) {
            warn(kDefaultEditorNotFound, dlg::Icon::Exclamation);
        } else if (!cmd.takesFile) {
            // The editor has no way to be handed the file: start nothing.
            warn(QStringLiteral("Unable to open file for edit"), dlg::Icon::Information);
        } else {
            QProcess editor;
            editor.setProgram(cmd.argv.first());
            editor.setArguments(cmd.argv.mid(1));
            if (!folder.isEmpty() && QDir(folder).exists()) editor.setWorkingDirectory(folder);
            editor.setProcessChannelMode(QProcess::ForwardedChannels);
            editor.start();
            if (!editor.waitForStarted()) {
                warn(QStringLiteral("Unable to start editor."), dlg::Icon::Information);
            } else {
                // The user works in the editor; the window waits for it to end
                // and refuses to close meanwhile.
                ++w.outsideWaits;
                w.setCursor(Qt::WaitCursor);
                w.setEnabled(false);
                MainWindow::DoEvents();
                while (editor.state() != QProcess::NotRunning) {
                    MainWindow::DoEvents();
                    editor.waitForFinished(50);
                }
                --w.outsideWaits;
                w.mapView->MapLoad();
            }
        }
    } catch (const std::exception& e) {
        pending = describe(e);
    }
    if (!pending.isEmpty()) warn(QStringLiteral("Editor error: ") + pending, dlg::Icon::Exclamation);
    w.setBusyPointers(false);
    w.imContacts->setCursor(Qt::CrossCursor);
    w.setEnabled(true);
    w.raise();
    w.activateWindow();
    MainWindow::DoEvents();
}

// ---------------------------------------------------------------------------
// Scanning.

namespace {

// The scanner's own settings: one row for every option that can be set.
class ScanOptionsDialog : public QDialog {
public:
    ScanOptionsDialog(const QList<scanner::Option>& options, QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("frmScanOptions"));
        setWindowTitle(QStringLiteral("Scan"));
        auto* outer = new QVBoxLayout(this);
        auto* area = new QScrollArea(this);
        area->setWidgetResizable(true);
        auto* inner = new QWidget(area);
        auto* form = new QFormLayout(inner);
        for (const scanner::Option& o : options) {
            using T = scanner::Option::Type;
            if (!o.settable || !o.single || o.name.isEmpty()) continue;
            if (o.type == T::Group || o.type == T::Button) continue;
            QWidget* editor = nullptr;
            if (o.type == T::Bool) {
                auto* c = new QCheckBox(inner);
                c->setChecked(o.value == QLatin1String("1"));
                editor = c;
            } else if (!o.choices.isEmpty()) {
                auto* c = new QComboBox(inner);
                c->addItems(o.choices);
                c->setCurrentText(o.value);
                editor = c;
            } else {
                auto* e = new QLineEdit(o.value, inner);
                editor = e;
            }
            editor->setObjectName(o.name);
            editor->setToolTip(o.description);
            form->addRow(o.title.isEmpty() ? o.name : o.title, editor);
            m_rows.push_back({o, editor});
        }
        area->setWidget(inner);
        outer->addWidget(area);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Scan"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        outer->addWidget(buttons);
        fitRows(area, inner, buttons);
    }

    // The options whose value the user changed, with their new text.
    std::vector<std::pair<int, QString>> changes() const {
        std::vector<std::pair<int, QString>> out;
        for (const auto& [o, editor] : m_rows) {
            QString v;
            if (auto* c = qobject_cast<QCheckBox*>(editor)) v = c->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
            else if (auto* c = qobject_cast<QComboBox*>(editor)) v = c->currentText();
            else if (auto* e = qobject_cast<QLineEdit*>(editor)) v = e->text();
            if (v != o.value) out.emplace_back(o.index, v);
        }
        return out;
    }

private:
    // Opens the window at the size of its rows, as far as the screen allows.
    // The scroll area's own wish stops at a fixed size; the vertical bar the
    // rows then needed took its width from the option boxes, which were cut
    // off behind a horizontal bar.
    void fitRows(QScrollArea* area, QWidget* rows, QWidget* buttons) {
        ensurePolished();
        const QScreen* on = parentWidget() ? parentWidget()->screen() : screen();
        const QRect room = on->availableGeometry();
        // Room left on the screen for the window manager's frame and title bar.
        const int line = fontMetrics().height();
        const int maxWidth = room.width() - line, maxHeight = room.height() - 3 * line;
        const QMargins m = layout()->contentsMargins();
        const int frame = 2 * area->frameWidth();
        const QSize want = rows->sizeHint();
        const int height =
            want.height() + frame + layout()->spacing() + buttons->sizeHint().height() + m.top() + m.bottom();
        const int bar = height > maxHeight ? area->verticalScrollBar()->sizeHint().width() : 0;
        const int width =
            std::max(want.width() + frame + bar + m.left() + m.right(), minimumSizeHint().width());
        resize(std::min(width, maxWidth), std::min(height, maxHeight));
    }

    std::vector<std::pair<scanner::Option, QWidget*>> m_rows;
};

// The list of scanners to choose the source from.
class ScanSourceDialog : public QDialog {
public:
    ScanSourceDialog(const QList<scanner::Device>& devices, const QString& selected, QWidget* parent)
        : QDialog(parent) {
        setObjectName(QStringLiteral("frmScanSource"));
        setWindowTitle(QStringLiteral("Select Source"));
        auto* layout = new QVBoxLayout(this);
        auto* caption = new QLabel(devices.isEmpty() ? QStringLiteral("No scanner was found.")
                                                     : QStringLiteral("Sources:"),
                                   this);
        layout->addWidget(caption);
        list = new QListWidget(this);
        list->setObjectName(QStringLiteral("lstSources"));
        for (const scanner::Device& d : devices) {
            auto* item = new QListWidgetItem(d.label(), list);
            item->setData(Qt::UserRole, d.name);
            if (d.name == selected) list->setCurrentItem(item);
        }
        if (!list->currentItem() && list->count() > 0) list->setCurrentRow(0);
        layout->addWidget(list);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Select"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
        layout->addWidget(buttons);
    }
    QListWidget* list = nullptr;
};

} // namespace

void MapEditCommands::mnuFileScanSelect_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QList<scanner::Device> devices;
    try {
        scanner::Session session;
        devices = session.devices();
    } catch (const std::exception&) {
        // The source list then shows that no scanner was found.
    }
    QApplication::restoreOverrideCursor();
    ScanSourceDialog dialog(devices, scanner::SelectedSource(), &w);
    if (dlg::execDialog(&dialog) == QDialog::Accepted && dialog.list->currentItem())
        scanner::SetSelectedSource(dialog.list->currentItem()->data(Qt::UserRole).toString());
}

bool MapEditCommands::showScanOptions(scanner::Session& session) {
    ScanOptionsDialog dialog(session.options(), &w);
    if (dlg::execDialog(&dialog) != QDialog::Accepted) return false;
    for (const auto& [index, value] : dialog.changes()) session.setOption(index, value);
    return true;
}

int MapEditCommands::acquireToFilename(const QString& path, bool showUI) {
    try {
        scanner::Session session;
        const QList<scanner::Device> devices = session.devices();
        if (devices.isEmpty()) return 1;
        QString name = devices.first().name;
        for (const scanner::Device& dev : devices)
            if (dev.name == scanner::SelectedSource()) name = dev.name;
        session.open(name);
        if (showUI && !showScanOptions(session)) return 1;
        const QImage page = session.acquire();
        if (page.isNull()) return 1;
        QImageWriter writer(path, "bmp");
        return writer.write(page) ? 0 : 1;
    } catch (const std::exception&) {
        return 1;
    }
}

void MapEditCommands::cmdScan_Click() {
    Document& d = w.doc;
    // A scan starts a new document: a changed one is offered for saving
    // first, as importing a map does.
    if (!w.offerToSave(false)) return;
    QString pending;
    // From the save dialog on, a failing statement is passed over and the
    // first error is reported at the end.
    auto step = [&](const std::function<void()>& f) {
        try {
            f();
        } catch (const std::exception& e) {
            if (pending.isEmpty()) pending = describe(e);
        }
    };
    bool loaded = false;
    QString tempDir;
    // The page file and its folder go once the page is shown or has failed.
    auto removeTemp = [&] {
        QFile::remove(m_lastTempFile);
        QDir().rmdir(tempDir);
    };
    try {
        w.ClearAll();
        w.setBusyPointers(true);
        MainWindow::DoEvents();
        // The page goes to a folder of its own in the temporary folder: the
        // program's folder is not writable, and a fixed name in a shared
        // folder could be taken over by another user.
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vexolan-scan-XXXXXX"));
        if (!dir.isValid()) legacy::raise(legacy::ErrorCode::PathNotFound);
        dir.setAutoRemove(false);
        tempDir = dir.path();
        d.MapFileName = dir.filePath(QStringLiteral("temp1.bmp"));
        m_lastTempFile = d.MapFileName;
        const bool showUI = w.settings && w.settings->ReadSetting(w.app.AppName, QStringLiteral("ShowScan"),
                                                                  QStringLiteral("0")) == QLatin1String("1");
        if (acquireToFilename(d.MapFileName, showUI) != 0) {
            removeTemp();
            w.setBusyPointers(false);
            dlg::msgBox(QStringLiteral("Scan failed."), {dlg::Buttons::OK, dlg::Icon::Exclamation});
            return;
        }
        w.mapView->MapLoad();
        loaded = w.mapView->mapLoadSucceeded();
        // By its own name: a failed load has cleared the document's.
        removeTemp();
        w.setBusyPointers(false);
        w.imContacts->setCursor(Qt::CrossCursor);
    } catch (const std::exception& e) {
        if (!tempDir.isEmpty()) removeTemp();
        pending = describe(e);
    }
    // A page that could not be shown has been reported and the document
    // cleared: there is nothing to save or to name.
    if (pending.isEmpty() && loaded) {
        dlg::CommonDialog cd;
        cd.CancelError = true;
        cd.DialogTitle = QStringLiteral("Save Map Image File");
        cd.Flags = 2;
        cd.Filter = QStringLiteral("Map Image Files (*.jpg)|*.jpg");
        cd.DefaultExt = QStringLiteral("jpg");
        cd.FileName = w.app.DataFolder + QStringLiteral("Untitled Scan.jpg");
        const bool chosen = dlg::showSave(cd);
        // A name typed without its extension gets it, so the file is a
        // JPEG file by name too and the title loses nothing of the name.
        if (chosen) cd.FileName = FileService::WithExtension(cd.FileName, cd.DefaultExt);
        MainWindow::DoEvents();
        auto withoutExtension = [](const QString& name) {
            if (name.size() < 4) legacy::raise(legacy::ErrorCode::InvalidCall);
            return name.left(name.size() - 4);
        };
        bool written = false;
        if (chosen) {
            step([&] {
                w.picImgX->save(cd.FileName, ImagingObject::FormatJpeg, 24);
                written = true;
            });
            step([&] { d.MapFileName = cd.FileName; });
            step([&] { d.DataTitle = withoutExtension(FileService::SplitPath(cd.FileName, false)); });
        } else {
            d.DataTitle = QStringLiteral("Scanned map");
            d.MapFileName = w.app.DataFolder + d.DataTitle + QStringLiteral(".jpg");
        }
        // The page not written is only in memory: the project save writes it
        // beside the project, under this name unless another file has it.
        d.MapPictureInMemory = !written;
        d.proposeProjectName(w.app.DataFolder + d.DataTitle + QStringLiteral(".vlm"));
        w.labText->setText(QStringLiteral("Unregistered Map"));
        step([&] { w.setDocumentCaption(withoutExtension(FileService::SplitPath(d.MapFileName, false))); });
        w.setPanel(2, QStringLiteral("Map:  ") + d.DataTitle +
                          QStringLiteral(" (register map by clicking on locations of known coordinates)"));
        w.enableSaving();
        w.enablePrinting();
        for (QWidget* c : std::initializer_list<QWidget*>{w.optDat, w.optCon, w.labDatCol, w.labConCol})
            c->setEnabled(false);
    }
    w.setBusyPointers(false);
    d.DataChanged = false;
    if (!pending.isEmpty())
        dlg::msgBox(QStringLiteral("Scan error: ") + pending, {dlg::Buttons::OK, dlg::Icon::Exclamation});
}
