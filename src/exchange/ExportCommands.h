// Commands of the main window for exporting the map image, opening a second
// data set and combining it with the plotted points, and exchanging the
// points with the outside coordinate converter.
#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>

class MainWindow;
class QLabel;
class QTimer;

class ExportCommands : public QObject {
    Q_OBJECT
public:
    explicit ExportCommands(MainWindow& w);
    ~ExportCommands() override;

    void mnuFileExportData_Click();
    void mnuFileExportMap_Click();
    void mnuFileOpenDat_Click();
    void cmdConDat_Click(int index);
    void cmdConRun_Click();
    void cmdConSave_Click();

    // The converter's folder, "CorpsCon" under the program folder; tests
    // point it elsewhere.  Ends in a separator.
    QString converterFolder;
    // Enables Save Conversion once the converter has ended and its output is
    // there; polled while an exchange waits for a converter that handed its
    // work to another program.
    void checkConverterOutput();

    // The data text of the point export, kept for the program's run.
    QString ExportDataText;

    // "Calculating..." shown over the map while data are combined.
    QLabel* labCalc = nullptr;

private:
    void startConverter(const QString& program);
    void converterFinished(QProcess* p, int code, QProcess::ExitStatus status);

    MainWindow& w;
    QTimer* m_outputPoll = nullptr;
    // The converter started last, while it runs.
    QPointer<QProcess> m_converter;
};
