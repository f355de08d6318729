// Scanning a new map through SANE's test scanner: the page becomes a new,
// unregistered map, the temporary page file goes, the offer to keep the page
// as a JPEG file, the scanner's own settings, the source choice, and the
// Scan menu on a machine with no scanner set up.
#include "common/TestRegistry.h"
#include "common/MapSupport.h"
#include "map/MapEditCommands.h"
#include "platform/ImagingObject.h"
#include "platform/Scanner.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using maptest::startWindow;

namespace {

// SANE reads where its configuration lies once per process, so every test
// shares one folder and only rewrites the backend list in it.
class SaneConfig {
public:
    explicit SaneConfig(const QByteArray& dllConf) {
        static QTemporaryDir dir;
        static bool pointed = false;
        if (!pointed) {
            // A colour page of 157 x 196 pixels (80 x 100 mm at 50 dpi).
            write(dir.filePath(QStringLiteral("test.conf")),
                  "mode Color\nresolution 50\ntest-picture \"Color pattern\"\nbr_x 80.0\nbr_y 100.0\n");
            qputenv("SANE_CONFIG_DIR", dir.path().toLocal8Bit());
            pointed = true;
        }
        write(dir.filePath(QStringLiteral("dll.conf")), dllConf);
    }

private:
    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
    }
};

bool testBackendInstalled() {
    return QFile::exists(QStringLiteral("/usr/lib/x86_64-linux-gnu/sane/libsane-test.so.1")) ||
           !QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("libsane-test.so*")}).isEmpty();
}

const QString kUnregistered =
    QStringLiteral(" (register map by clicking on locations of known coordinates)");

} // namespace

class ScanTest : public QObject {
    Q_OBJECT
    QTemporaryDir work;

private slots:
    void initTestCase() {
        if (!testBackendInstalled()) QSKIP("SANE's test backend is not installed");
    }
    void init() {
        testsupport::dialogs().clear();
        scanner::SetSelectedSource(QString());
    }

    // The name may be typed with or without its extension.
    void scannedPageBecomesANewUnregisteredMap_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("with extension") << "quarry.jpg";
        QTest::newRow("without extension") << "quarry";
    }
    void scannedPageBecomesANewUnregisteredMap() {
        QFETCH(QString, typed);
        SaneConfig sane("test\n");
        auto w = startWindow();
        QVERIFY(w->mnuFileScan->menuAction()->isEnabled());
        auto& dl = testsupport::dialogs();
        QFile::remove(work.filePath(QStringLiteral("quarry.jpg")));
        const QString saved = work.filePath(QStringLiteral("quarry.jpg"));
        dl.queue(work.filePath(typed));
        QTest::mouseClick(w->cmdScan, Qt::LeftButton);

        QCOMPARE(dl.prompts.size(), size_t(1));
        const dlg::Prompt& p = dl.prompts[0];
        QCOMPARE(p.kind, dlg::Prompt::Kind::Save);
        QCOMPARE(p.title, QStringLiteral("Save Map Image File"));
        QCOMPARE(p.defaultText, w->app.DataFolder + QStringLiteral("Untitled Scan.jpg"));
        QCOMPARE(p.filter, QStringLiteral("Map Image Files (*.jpg)|*.jpg"));

        const Document& d = w->doc;
        QCOMPARE(d.MapFileName, saved);
        QCOMPARE(d.DataTitle, QStringLiteral("quarry"));
        QCOMPARE(d.DataFileName, w->app.DataFolder + QStringLiteral("quarry.vlm"));
        QCOMPARE(d.ImageWidthPx, 157.0f);
        QCOMPARE(d.ImageHeightPx, 196.0f);
        QVERIFY(!d.MapRegistered);
        QVERIFY(!d.DataChanged);
        QCOMPARE(d.DatCount + d.ConCount + d.LabelCount, 0);
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: quarry"));
        QCOMPARE(w->labText->text(), QStringLiteral("Unregistered Map"));
        QCOMPARE(w->panel(2), QStringLiteral("Map:  quarry") + kUnregistered);
        QVERIFY(w->mnuFileSaveAs->isEnabled() && w->cmdSave->isEnabled());
        QVERIFY(!w->optDat->isEnabled() && !w->optCon->isEnabled());
        QVERIFY(!w->labDatCol->isEnabled() && !w->labConCol->isEnabled());
        QCOMPARE(w->imPoints->picture().size(), QSize(157, 196));
        QCOMPARE(w->Frame8->title(), QStringLiteral("Zoom = 1 (Page)"));
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);

        // The page was kept as a JPEG file of the scanned picture.
        QImageReader reader(saved);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), QSize(157, 196));
        // The temporary page file and its folder are gone.
        const QString temp = w->mapEditCommands->lastScanTempFile();
        QVERIFY(temp.endsWith(QStringLiteral("/temp1.bmp")));
        QVERIFY(!QFile::exists(temp));
        QVERIFY(!QFileInfo::exists(QFileInfo(temp).absolutePath()));
        // The next two clicks register it.
        maptest::registerLinear(*w);
        QVERIFY(w->doc.MapRegistered);
    }

    void cancellingTheSaveKeepsThePageInMemory() {
        SaneConfig sane("test\n");
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        dl.queue(dlg::Cancel{});
        w->mnuFileScanAcquire->trigger();
        const Document& d = w->doc;
        QCOMPARE(d.DataTitle, QStringLiteral("Scanned map"));
        QCOMPARE(d.MapFileName, w->app.DataFolder + QStringLiteral("Scanned map.jpg"));
        QVERIFY(!QFile::exists(d.MapFileName));
        QCOMPARE(d.DataFileName, w->app.DataFolder + QStringLiteral("Scanned map.vlm"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: Scanned map"));
        QCOMPARE(w->panel(2), QStringLiteral("Map:  Scanned map") + kUnregistered);
        QCOMPARE(w->imPoints->picture().size(), QSize(157, 196));
        QCOMPARE(dl.prompts.size(), size_t(1));
        QVERIFY(!QFile::exists(w->mapEditCommands->lastScanTempFile()));
    }

    void aFailedSaveIsReportedAtTheEnd() {
        SaneConfig sane("test\n");
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        const QString nowhere = work.filePath(QStringLiteral("no-such-folder/page.jpg"));
        dl.queue(nowhere);
        w->cmdScan->click();
        QCOMPARE(dl.prompts.size(), size_t(2));
        QVERIFY(dl.prompts[1].text.startsWith(QStringLiteral("Scan error: ")));
        QVERIFY(dl.prompts[1].text.size() > QStringLiteral("Scan error: ").size());
        QCOMPARE(dl.prompts[1].icon, dlg::Icon::Exclamation);
        QVERIFY(!QFile::exists(nowhere));
        // The rest of the new document is set up all the same.
        QCOMPARE(w->doc.DataTitle, QStringLiteral("page"));
        QCOMPARE(w->labText->text(), QStringLiteral("Unregistered Map"));
        QVERIFY(!w->doc.DataChanged);
    }

    void scannerSettingsAreShownWhenAsked() {
        SaneConfig sane("test\n");
        auto w = startWindow();
        w->settings->WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("ShowScan"), QStringLiteral("1"));
        auto& dl = testsupport::dialogs();
        QStringList shownOptions;
        dl.queue(dlg::WindowScript([&](QDialog* d) {
            for (QWidget* c : d->findChildren<QWidget*>())
                if (!c->objectName().isEmpty() && (qobject_cast<QComboBox*>(c) || qobject_cast<QLineEdit*>(c)))
                    shownOptions << c->objectName();
            auto* mode = d->findChild<QComboBox*>(QStringLiteral("mode"));
            auto* res = d->findChild<QLineEdit*>(QStringLiteral("resolution"));
            if (!mode || !res) return int(QDialog::Rejected);
            mode->setCurrentText(QStringLiteral("Gray"));
            res->setText(QStringLiteral("25"));
            return int(QDialog::Accepted);
        }));
        dl.queue(dlg::Cancel{});
        w->cmdScan->click();
        QCOMPARE(dl.prompts.size(), size_t(2));
        QCOMPARE(dl.prompts[0].kind, dlg::Prompt::Kind::Window);
        QCOMPARE(dl.prompts[0].title, QStringLiteral("Scan"));
        QVERIFY(shownOptions.contains(QStringLiteral("mode")));
        // Half the resolution, half the page; gray all over.
        const QImage page = w->imPoints->picture();
        QVERIFY2(page.width() >= 77 && page.width() <= 80, qPrintable(QString::number(page.width())));
        for (int x = 0; x < page.width(); x += 7) {
            const QRgb c = page.pixel(x, page.height() / 2);
            QCOMPARE(qRed(c), qGreen(c));
            QCOMPARE(qGreen(c), qBlue(c));
        }
        w->settings->WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("ShowScan"), QStringLiteral("0"));
    }

    void cancellingTheScannerOrFindingNoneFails_data() {
        QTest::addColumn<QByteArray>("dllConf");
        QTest::addColumn<bool>("showScan");
        QTest::newRow("settings cancelled") << QByteArray("test\n") << true;
        QTest::newRow("no scanner found") << QByteArray("vexolan-no-such-backend\n") << false;
    }
    void cancellingTheScannerOrFindingNoneFails() {
        QFETCH(QByteArray, dllConf);
        QFETCH(bool, showScan);
        SaneConfig sane(dllConf);
        auto w = startWindow();
        w->settings->WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("ShowScan"),
                                  showScan ? QStringLiteral("1") : QStringLiteral("0"));
        auto& dl = testsupport::dialogs();
        if (showScan) dl.queue(dlg::Answer::Cancel);
        w->cmdScan->click();
        const dlg::Prompt& last = dl.prompts.back();
        QCOMPARE(last.text, QStringLiteral("Scan failed."));
        QCOMPARE(last.icon, dlg::Icon::Exclamation);
        QCOMPARE(last.title, QStringLiteral("Ferno Vexolan"));
        QCOMPARE(dl.prompts.size(), size_t(showScan ? 2 : 1));
        // The empty document, still naming the page file that never came.
        QCOMPARE(w->doc.MapFileName, w->mapEditCommands->lastScanTempFile());
        QVERIFY(!QFile::exists(w->doc.MapFileName));
        QVERIFY(w->imPoints->picture().isNull() || w->imPoints->isHidden());
        QVERIFY(!w->cmdSave->isEnabled());
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
        w->settings->WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("ShowScan"), QStringLiteral("0"));
    }

    void aScannerErrorMidPageFails() {
        SaneConfig sane("test\n");
        auto w = startWindow();
        w->settings->WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("ShowScan"), QStringLiteral("1"));
        auto& dl = testsupport::dialogs();
        dl.queue(dlg::WindowScript([](QDialog* d) {
            auto* status = d->findChild<QComboBox*>(QStringLiteral("read-return-value"));
            if (!status) return int(QDialog::Rejected);
            status->setCurrentText(QStringLiteral("SANE_STATUS_JAMMED"));
            return int(QDialog::Accepted);
        }));
        w->cmdScan->click();
        QCOMPARE(dl.prompts.size(), size_t(2));
        QCOMPARE(dl.prompts[1].text, QStringLiteral("Scan failed."));
        QVERIFY(!QFile::exists(w->mapEditCommands->lastScanTempFile()));
        QVERIFY(!QFileInfo::exists(QFileInfo(w->mapEditCommands->lastScanTempFile()).absolutePath()));
        w->settings->WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("ShowScan"), QStringLiteral("0"));
    }

    void aPageThatCannotBeShownIsNotOfferedForSaving() {
        SaneConfig sane("test\n");
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        // Without its imaging object the window cannot show the page.
        std::unique_ptr<ImagingObject> imaging = std::move(w->picImgX);
        w->cmdScan->click();
        w->picImgX = std::move(imaging);
        QCOMPARE(dl.prompts.size(), size_t(1));
        QVERIFY(dl.prompts[0].text.startsWith(QStringLiteral("Map load error: ")));
        QVERIFY(!QFile::exists(w->mapEditCommands->lastScanTempFile()));
        QVERIFY(!w->cmdSave->isEnabled());
        QVERIFY(w->labText->text() != QStringLiteral("Unregistered Map"));
        QVERIFY(!w->doc.DataChanged);
    }

    void aChangedDocumentIsOfferedForSavingFirst() {
        SaneConfig sane("test\n");
        auto w = startWindow();
        maptest::importMap(*w, maptest::writeMap(work, QStringLiteral("survey.png"), 300, 200));
        maptest::registerLinear(*w);
        maptest::addPoint(*w, true, 1, 1500, 3000, 12);
        w->doc.DataChanged = true;
        auto& dl = testsupport::dialogs();
        dl.clear();
        dl.queue(dlg::Answer::Cancel);
        w->cmdScan->click();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QVERIFY(dl.prompts[0].text.endsWith(QStringLiteral("Would you like to save it?")));
        QCOMPARE(w->doc.DatCount, 1);
        QVERIFY(w->doc.MapRegistered);
    }

    void sourceChoiceIsKeptForTheNextScan() {
        SaneConfig sane("test\n");
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        QStringList listed;
        dl.queue(dlg::WindowScript([&](QDialog* d) {
            auto* list = d->findChild<QListWidget*>(QStringLiteral("lstSources"));
            if (!list) return int(QDialog::Rejected);
            for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
            list->setCurrentRow(1);
            return int(QDialog::Accepted);
        }));
        w->mnuFileScanSelect->trigger();
        QCOMPARE(listed.size(), 2);
        QVERIFY(listed[1].endsWith(QStringLiteral("(test:1)")));
        QCOMPARE(scanner::SelectedSource(), QStringLiteral("test:1"));
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!QApplication::overrideCursor());

        // Cancelling the choice keeps it; the next list starts on it.
        int current = -1;
        dl.queue(dlg::WindowScript([&](QDialog* d) {
            current = d->findChild<QListWidget*>(QStringLiteral("lstSources"))->currentRow();
            return int(QDialog::Rejected);
        }));
        w->mnuFileScanSelect->trigger();
        QCOMPARE(current, 1);
        QCOMPARE(scanner::SelectedSource(), QStringLiteral("test:1"));

        dl.queue(dlg::Cancel{});
        w->cmdScan->click();
        QCOMPARE(w->imPoints->picture().size(), QSize(157, 196));
    }

    void noScannerSetUpDisablesTheScanMenu() {
        SaneConfig sane("# no backends\n");
        auto w = startWindow();
        QVERIFY(!w->mnuFileScan->menuAction()->isEnabled());
    }
};
VEX_TEST(ScanTest);
#include "ScanTest.moc"
