// Commands of the main window for exporting the map image, opening a second
// data set and combining it with the plotted points, and exchanging the
// points with the outside coordinate converter.
#pragma once

#include <QObject>
#include <QString>

class MainWindow;
class QLabel;
class QTimer;

class ExportCommands : public QObject {
    Q_OBJECT
public:
    explicit ExportCommands(MainWindow& w);

    void mnuFileExportData_Click();
    void mnuFileExportMap_Click();
    void mnuFileOpenDat_Click();
    void cmdConDat_Click(int index);
    void cmdConRun_Click();
    void cmdConSave_Click();

    // The converter's folder, "CorpsCon" under the program folder; tests
    // point it elsewhere.  Ends in a separator.
    QString converterFolder;
    // Enables Save Conversion once the converter has written its output
    // after Run CorpsCon; polled while an exchange waits for it.
    void checkConverterOutput();

    // The data text of the point export, kept for the program's run.
    QString ExportDataText;

    // "Calculating..." shown over the map while data are combined.
    QLabel* labCalc = nullptr;

private:
    MainWindow& w;
    QTimer* m_outputPoll = nullptr;
};
