// Commands of the main window for text labels: placing, moving, editing, restyling and deleting them, and the label file.
#pragma once

#include <QObject>

class MainWindow;

class LabelCommands : public QObject {
    Q_OBJECT
public:
    explicit LabelCommands(MainWindow& w);

private:
    MainWindow& w;
};
