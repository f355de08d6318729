// Table-driven tests whose rows live in a text file under tests/data: one
// row per line, fields separated by '|' and trimmed, the first field the
// row's name; blank lines and lines starting with '#' are left out.  The
// data function names the file, the test function reads its row's fields.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

namespace testsupport {

// A file under tests/data: VEXOLAN_TEST_DATA as CTest sets it, else the
// folder next to tests/common.
inline QString dataFile(const QString& relative) {
    QString root = qEnvironmentVariable("VEXOLAN_TEST_DATA");
    if (root.isEmpty()) root = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../data"));
    return QDir(root).filePath(relative);
}

// One row's fields after its name.
struct Fields {
    QStringList f;
    QString str(int i) const { return f.value(i); }
    double num(int i) const { return f.value(i).toDouble(); }
    int whole(int i) const { return f.value(i).toInt(); }
    bool flag(int i) const { return f.value(i) == QLatin1String("y"); }
};

inline void addFileRows(const QString& relative) {
    QTest::addColumn<QStringList>("fields");
    QFile file(dataFile(relative));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) QFAIL(qPrintable("cannot read " + file.fileName()));
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#')) continue;
        QStringList f;
        for (const QString& s : line.split(u'|')) f << s.trimmed();
        QTest::newRow(qPrintable(f.takeFirst())) << f;
    }
}

inline Fields rowFields() {
    return {*static_cast<const QStringList*>(QTest::qData("fields", qMetaTypeId<QStringList>()))};
}

} // namespace testsupport
