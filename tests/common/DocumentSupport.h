// Fixtures of the project and label file tests: the files under
// tests/data/document and tables read from them, files and map images written into a test's folder,
// what changed on disk, scripted answers and the prompts shown (with that
// folder's path as "@"), File menu items chosen as the user does.
#pragma once

#include "app/MainWindow.h"
#include "common/TestSupport.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QMap>
#include <QTest>

namespace docsupport {

// A file of tests/data/document.
inline QByteArray dataFile(const QString& name) {
    QFile f(qEnvironmentVariable("VEXOLAN_TEST_DATA") + QStringLiteral("/document/") + name);
    if (!f.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(f.fileName()));
    return f.readAll();
}

// A table whose rows are the lines of a data file, each a JSON array of
// texts ("#" starts a comment line): one column "c", each row named by its
// first `named` texts.
inline void addJsonRows(const QString& name, int named = 1) {
    QTest::addColumn<QStringList>("c");
    for (const QByteArray& line : dataFile(name).split('\n'))
        if (const QStringList c = QJsonDocument::fromJson(line).toVariant().toStringList(); !c.isEmpty())
            QTest::newRow(qPrintable(c.first(named).join(QStringLiteral(": ")))) << c;
}

// An 80 x 60 JPEG map picture.
inline void makeImage(const QString& path, QColor colour = Qt::darkCyan) {
    QImage img(80, 60, QImage::Format_RGB32);
    img.fill(colour);
    if (!img.save(path, "JPG")) qFatal("cannot write %s", qPrintable(path));
}

// Copies data files into `dir`, "@DIR@" in them standing for `dir`:
// "survey.vlm open/damaged.lab>survey.lab" (">" names the copy).
inline void copyData(const QString& dir, const QString& names) {
    for (const QString& item : names.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList from = item.split(u'>');
        QFile f(dir + u'/' + QFileInfo(from.back()).fileName());
        const QByteArray bytes = dataFile(from.front()).replace("@DIR@", dir.toUtf8());
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
    }
}

// Queues "|"-separated answers: Yes, No, OK and Cancel for message boxes,
// "-" for a cancelled file dialog, anything else a file in `dir`.
inline void queueAnswers(const QString& dir, const QString& answers) {
    auto& d = testsupport::dialogs();
    for (const QString& a : answers.split(u'|', Qt::SkipEmptyParts)) {
        if (a == u"Yes") d.queue(dlg::Answer::Yes);
        else if (a == u"No") d.queue(dlg::Answer::No);
        else if (a == u"OK") d.queue(dlg::Answer::OK);
        else if (a == u"Cancel") d.queue(dlg::Answer::Cancel);
        else if (a == u"-") d.queue(dlg::Cancel{});
        else d.queue(dir + u'/' + a);
    }
}

// The prompts so far, " | " between them: a file dialog as its title with
// the offered name in brackets, a message as its text and its icon ((x)
// critical, (?) question, (!) exclamation, (i) information); `dir` as "@".
inline QString promptLog(const QString& dir) {
    QStringList out;
    for (const dlg::Prompt& p : testsupport::dialogs().prompts) {
        const bool file = p.kind == dlg::Prompt::Kind::Open || p.kind == dlg::Prompt::Kind::Save;
        const QString offered = p.defaultText.isEmpty() ? QString() : " [" + p.defaultText + u']';
        static const char* const icons[] = {"", " (x)", " (?)", " (!)", " (i)"};
        out << (file ? p.title + offered : p.text + QLatin1String(icons[int(p.icon)]));
    }
    return out.join(QStringLiteral(" | ")).replace(dir, QStringLiteral("@"));
}

// Every file under `dir` with its bytes.
inline QMap<QString, QByteArray> filesIn(const QString& dir) {
    QMap<QString, QByteArray> out;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        out[path.mid(dir.size() + 1)] = testsupport::fileBytes(path);
    }
    return out;
}

// What changed on disk since `before`: "+added *changed -removed".
inline QString fileChanges(const QString& dir, const QMap<QString, QByteArray>& before) {
    const QMap<QString, QByteArray> now = filesIn(dir);
    QStringList out;
    for (auto it = now.begin(); it != now.end(); ++it)
        if (!before.contains(it.key())) out << '+' + it.key();
        else if (before[it.key()] != it.value()) out << '*' + it.key();
    for (const QString& name : before.keys())
        if (!now.contains(name)) out << '-' + name;
    return out.join(u' ');
}

// A File menu item chosen as the user does: the menu's drop-down first
// enables the items by the document's state.
inline void choose(MainWindow& w, QAction* item) {
    emit w.mnuFile->aboutToShow();
    item->trigger();
}

} // namespace docsupport
