// The preferences window: the data folder, the update reminder, the scanner's
// own dialog, fast printing and the print preview size.  It reads the stored
// values when it loads and writes them only when OK is pressed.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>

class MainWindow;

// A folder list: the chosen folder's ancestors from the volume root down,
// then its subfolders; double-clicking a line chooses that folder.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);
    // The chosen folder, without a trailing separator (except the root "/").
    QString path() const { return m_path; }
    // Chooses an existing folder; throws legacy::Error ("Path not found")
    // for anything else, leaving the choice as it was.
    void setPath(const QString& path);

private:
    void refill();
    QString m_path;
};

class PreferencesWindow : public QDialog {
    Q_OBJECT
public:
    // Builds the window and runs its load: the controls show the stored values.
    explicit PreferencesWindow(MainWindow& main);
    ~PreferencesWindow() override;

    QCheckBox* chkUp = nullptr;
    QGroupBox* Frame3 = nullptr;
    QCheckBox* chkScanShow = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* labPrintSize = nullptr;
    QLineEdit* txtPrevSize = nullptr;
    QCheckBox* chkFastPrint = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Drive1 = nullptr;
    QLabel* Label1 = nullptr;
    FolderList* Dir1 = nullptr;
    QPushButton* cmdCreate = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // chkUp raised its click handler since the window loaded.
    bool UpdateClicked = false;

    void chkUp_Click();
    void Drive1_Change();
    void cmdCreate_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    // Plays a system sound by name (async or waiting); tests replace it.
    static std::function<void(const QString& name, bool async)> playSound;

    void done(int result) override;

private:
    void buildControls();
    void Form_Load();
    void Form_Unload();
    // Selects the volume that holds `path` in Drive1.
    void setDrive(const QString& path);

    MainWindow& w;
    bool m_unloaded = false;
};
