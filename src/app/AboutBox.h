// The about box, which also serves as the start-up splash and carries the
// 30-day update reminder.  The splash is the short form of the same window.
#pragma once

#include "app/ClickableLabel.h"

#include <QCheckBox>
#include <QDate>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <functional>

class MainWindow;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(MainWindow* main, bool splash);
    ~AboutBox() override;

    bool isSplash() const { return m_splash; }
    int SplashTicks = 0;

    ClickableLabel* lblTitle = nullptr;
    ClickableLabel* lblVersion = nullptr;
    ClickableLabel* lblDescription = nullptr;
    ClickableLabel* lblDate = nullptr;
    ClickableLabel* Label5 = nullptr;
    ClickableLabel* Label3 = nullptr;
    ClickableLabel* Image1 = nullptr;
    ClickableLabel* Picture1 = nullptr;
    ClickableLabel* Label2 = nullptr;
    ClickableLabel* Label6 = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* lblDisclaimer1 = nullptr;
    QCheckBox* chkUp = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdSoft = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QPushButton* cmdOK = nullptr;
    QTimer* Timer1 = nullptr;

    void Timer1_Timer();
    void cmdUp_Click();
    // Closes the box and runs its unload steps once.
    void unload();

    // Today's date; tests replace it.
    static std::function<QDate()> today;
    // The pause after opening the update page, in ms; tests shorten it.
    static int updateWaitMs;

    static QString dateText(const QDate& d);                 // "MM-dd-yyyy"
    static QString versionText(int major, int minor, int revision);
    // The date part of the runtime's date-time text, cut as the about box cuts it.
    static QString cutDateText(const QString& runtimeText);
    // Whether the reminder asks: more than 30 calendar days since the stored date.
    static bool reminderDue(const QString& storedDate, const QDate& today);

    static QString homePage();
    static QString updatePage(const QString& appName);

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void onTextClick();
    void onMakerClick(bool reportFailure);
    MainWindow* m_main;
    bool m_splash;
    bool m_unloaded = false;
};

// The software notice window opened from the about box.
class NoticeWindow : public QDialog {
    Q_OBJECT
public:
    explicit NoticeWindow(MainWindow* main);
    ~NoticeWindow() override;
    QLabel* labName = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* labCC = nullptr;
    QPushButton* Command1 = nullptr;
    void layoutNameLine();
};
