// Scanning a new map through SANE's test scanner: the page becomes a new,
// unregistered map and may be kept as a JPEG file, the scanner's own
// settings, failures that leave no temporary page behind, the save question
// first, the source choice, and the Scan menu with no scanner set up.
#include "common/MapSupport.h"
#include "map/MapEditCommands.h"
#include "platform/ImagingObject.h"
#include "platform/Scanner.h"

#include <QComboBox>
#include <QDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QListWidget>

using namespace maptest;

namespace {

// SANE reads where its configuration lies once per process: one folder for
// every test, whose backend list is rewritten.  The test scanner gives a
// colour page of 157 x 196 pixels (80 x 100 mm at 50 dpi).
void useBackends(const QByteArray& dllConf) {
    static QTemporaryDir dir;
    if (qEnvironmentVariable("SANE_CONFIG_DIR") != dir.path()) {
        writeFile(dir.filePath(QStringLiteral("test.conf")),
                  "mode Color\nresolution 50\ntest-picture \"Color pattern\"\nbr_x 80.0\nbr_y 100.0\n");
        qputenv("SANE_CONFIG_DIR", dir.path().toLocal8Bit());
    }
    writeFile(dir.filePath(QStringLiteral("dll.conf")), dllConf);
}

// Answers the scanner's settings window: "name=value" pairs set the option
// widgets of those names, then OK; a name no widget has cancels it.
dlg::WindowScript settings(const QString& pairs) {
    return dlg::WindowScript([pairs](QDialog* d) {
        for (const QString& pair : pairs.split(u' ')) {
            const QString name = pair.section(u'=', 0, 0), value = pair.section(u'=', 1);
            if (auto* box = d->findChild<QComboBox*>(name)) box->setCurrentText(value);
            else if (auto* edit = d->findChild<QLineEdit*>(name)) edit->setText(value);
            else return int(QDialog::Rejected);
        }
        return int(QDialog::Accepted);
    });
}

} // namespace

class ScanTest : public QObject {
    Q_OBJECT
    QTemporaryDir work;

private slots:
    void scan_data() { testsupport::addFileRows(QStringLiteral("map/scan.txt")); }
    void scan() {
        const auto r = testsupport::rowFields();
        const QString settings = r.str(1), save = r.str(2), title = r.str(3), message = r.str(6);
        const bool shown = settings != u'-', asked = save != u'-', failed = title == u'-';
        useBackends(r.str(0).toLatin1() + '\n');
        auto w = startWindow();
        w->settings->WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("ShowScan"), shown ? "1" : "0");
        auto& dl = dialogs();
        if (shown) dl.queue(::settings(settings));
        QFile::remove(work.filePath(QStringLiteral("quarry.jpg")));
        if (asked) save == QLatin1String("cancel") ? dl.queue(dlg::Cancel{}) : dl.queue(work.filePath(save));
        std::unique_ptr<ImagingObject> imaging; // without it the window cannot show the page
        if (QTest::currentDataTag() == QLatin1String("page not shown")) imaging = std::move(w->picImgX);
        if (save == QLatin1String("cancel")) w->mnuFileScanAcquire->trigger();
        else QTest::mouseClick(w->cmdScan, Qt::LeftButton);
        if (imaging) w->picImgX = std::move(imaging);
        const Document& d = w->doc;
        const QString temp = w->mapEditCommands->lastScanTempFile();
        QVERIFY(temp.endsWith(QStringLiteral("/temp1.bmp")) && !QFileInfo::exists(QFileInfo(temp).absolutePath()));
        QVERIFY(w->cursor().shape() == Qt::ArrowCursor && dl.answers.empty());
        QCOMPARE(dl.prompts.size(), size_t(shown + asked + (message != u'-')));
        if (shown) QVERIFY(dl.prompts[0].kind == dlg::Prompt::Kind::Window && dl.prompts[0].title == "Scan");
        const dlg::Prompt &p = dl.prompts[shown], &last = dl.prompts.back(); // a failed save also says why
        QVERIFY(message == u'-' || (last.text.startsWith(message) && last.icon == dlg::Icon::Exclamation &&
                                    (last.text.size() > message.size() || failed)));
        if (asked)
            QCOMPARE(p.title + u'|' + p.defaultText + u'|' + p.filter,
                     "Save Map Image File|" + w->app.DataFolder + "Untitled Scan.jpg|Map Image Files (*.jpg)|*.jpg");
        const QString file = r.str(4), // in the documents or the test's folder
            folder = file.startsWith(QLatin1String("docs/")) ? w->app.DataFolder : work.path() + u'/';
        QCOMPARE(d.MapFileName, file == QLatin1String("temp") ? temp : file == u'-' ? QString() : folder + file.mid(5));
        const bool kept = file.startsWith(QLatin1String("work/")) && message == u'-'; // as a JPEG file
        QCOMPARE(QImageReader(d.MapFileName).size(), kept ? QSize(157, 196) : QSize());
        QVERIFY(!kept || QImageReader(d.MapFileName).format() == "jpeg");
        QVERIFY(!failed || (!w->cmdSave->isEnabled() && (w->imPoints->picture().isNull() || w->imPoints->isHidden())));
        if (failed) return; // the empty document names the page file that never came
        const QImage page = w->imPoints->picture();
        QVERIFY(qAbs(page.width() - r.whole(5)) <= 2 && d.ImageWidthPx == page.width());
        QVERIFY(r.whole(5) == 157 || page.isGrayscale());
        QVERIFY(d.DataTitle == title && d.DataFileName == w->app.DataFolder + title + ".vlm");
        QVERIFY(!d.MapRegistered && !d.DataChanged && d.DatCount + d.ConCount + d.LabelCount == 0);
        QCOMPARE(w->windowTitle() + w->labText->text(), "Ferno Vexolan: " + title + "Unregistered Map");
        QCOMPARE(w->panel(2), "Map:  " + title + " (register map by clicking on locations of known coordinates)");
        QVERIFY(w->cmdSave->isEnabled() && !w->optDat->isEnabled() && w->Frame8->title() == "Zoom = 1 (Page)");
    }

    // Both test devices are listed; the choice is kept for the next scan and
    // the next list, also when that list is cancelled.  With no scanner set
    // up there is no Scan menu.
    void sourceChoiceIsKeptForTheNextScan() {
        useBackends("test\n");
        auto w = startWindow();
        QStringList listed;
        for (int i = 0; i < 2; ++i) // choose the second device, then cancel the next list
            dialogs().queue(dlg::WindowScript([&, i](QDialog* d) {
                auto* list = d->findChild<QListWidget*>(QStringLiteral("lstSources"));
                for (int k = 0; k < list->count(); ++k) listed << list->item(k)->text();
                listed << QString::number(list->currentRow());
                list->setCurrentRow(1);
                return int(i == 0 ? QDialog::Accepted : QDialog::Rejected);
            }));
        for (int i = 0; i < 2; ++i) w->mnuFileScanSelect->trigger();
        QVERIFY(listed.size() == 6 && listed[1].endsWith(QStringLiteral("(test:1)")) && listed[5] == "1");
        QVERIFY(scanner::SelectedSource() == QLatin1String("test:1") && w->cursor().shape() == Qt::ArrowCursor);
        QVERIFY(!QApplication::overrideCursor());
        dialogs().queue(dlg::Cancel{});
        w->cmdScan->click();
        QCOMPARE(w->imPoints->picture().size(), QSize(157, 196));
        useBackends("# none\n"); // no scanner set up: no Scan menu
        QVERIFY(!startWindow()->mnuFileScan->menuAction()->isEnabled());
    }
};
VEX_TEST(ScanTest);
#include "ScanTest.moc"
