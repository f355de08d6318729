#include "app/AboutBox.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "app/WindowPlacement.h"
#include "document/Legacy.h"
#include "platform/Dialogs.h"
#include "platform/FileService.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

std::function<QDate()> AboutBox::today = [] { return QDate::currentDate(); };
int AboutBox::updateWaitMs = 2000;

QString AboutBox::dateText(const QDate& d) { return d.toString(QStringLiteral("MM-dd-yyyy")); }

QString AboutBox::versionText(int major, int minor, int revision) {
    return QStringLiteral("Version: ") + QString::number(major) + QLatin1Char('.') +
           legacy::Format(minor, QStringLiteral("00")) + QLatin1Char('.') +
           legacy::Format(revision, QStringLiteral("0000")) + QLatin1Char('*');
}

QString AboutBox::cutDateText(const QString& t) {
    int n = 10;
    if (t.size() > 1 && t[1] == QLatin1Char('/')) {
        n = 9;
        if (t.size() > 3 && t[3] == QLatin1Char('/')) n = 8;
    } else if (t.size() > 4 && t[4] == QLatin1Char('/')) {
        n = 9;
    }
    return t.left(n);
}

bool AboutBox::reminderDue(const QString& stored, const QDate& now) {
    QDate d = QDate::fromString(stored, QStringLiteral("MM-dd-yyyy"));
    if (!d.isValid()) d = QDate::fromString(stored, QStringLiteral("M/d/yyyy"));
    if (!d.isValid()) return false; // an unreadable date asks nothing rather than failing
    return d.daysTo(now) > 30;
}

QString AboutBox::homePage() { return QStringLiteral("https://www.ferno.example/"); }
QString AboutBox::updatePage(const QString& appName) {
    return QStringLiteral("https://www.ferno.example/updates/") + appName + QStringLiteral(".htm");
}

namespace {
QSizeF screenTwips() {
    QScreen* s = QGuiApplication::primaryScreen();
    const QRect r = s ? s->geometry() : QRect(0, 0, 1024, 768);
    return {twips::fromPx(r.width()), twips::fromPx(r.height())};
}
QRectF mainRectTwips(const MainWindow* m) { return {m->Left(), m->Top(), m->Width(), m->Height()}; }

// The update reminder's own settings: a settings file that cannot be written
// costs at most a reminder too early or too late, never the window.
void remember(SettingsStore* st, const QString& section, const QString& key, const QString& value) {
    if (!st) return;
    try {
        st->WriteSetting(section, key, value);
    } catch (const legacy::Error&) {
    }
}
} // namespace

AboutBox::AboutBox(MainWindow* main, bool splash) : QDialog(main), m_main(main), m_splash(splash) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose, splash);
    if (splash) setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    const AppGlobals& g = main->app;

    auto label = [this](const char* name, const QString& text, const QString& tip = {}) {
        auto* l = new ClickableLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setWordWrap(true);
        if (!tip.isEmpty()) l->setToolTip(tip);
        return l;
    };
    lblTitle = label("lblTitle", g.ProgramTitle);
    QFont tf = lblTitle->font();
    tf.setPointSizeF(tf.pointSizeF() * 1.8);
    tf.setBold(true);
    lblTitle->setFont(tf);
    lblVersion = label("lblVersion", versionText(VEXOLAN_VERSION_MAJOR, VEXOLAN_VERSION_MINOR, VEXOLAN_VERSION_PATCH),
                       QStringLiteral("Current Version"));
    lblDescription = label("lblDescription", g.ProgramDescription, QStringLiteral("Application description"));
    lblDate = label("lblDate", QStringLiteral("Date:"));
    Label5 = label("Label5", QStringLiteral("* Runs on Linux desktops with Qt 6"));
    Label3 = label("Label3", QStringLiteral("Ferno"), QStringLiteral("Click to open the Ferno web page"));
    Label3->setCursor(Qt::PointingHandCursor);
    Image1 = label("Image1", QString(), QStringLiteral("Click to open the Ferno web page"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/ferno-logo.png")));
    Image1->setCursor(Qt::PointingHandCursor);
    Picture1 = label("Picture1", QString());
    Picture1->setPixmap(main->windowIcon().pixmap(32, 32));
    Label2 = label("Label2", QStringLiteral("Prepared by Ferno for geologists and surveyors."));
    Label6 = label("Label6", QStringLiteral("Copyright (C) Ferno. All rights reserved."));
    lblDisclaimer = new QLabel(
        QStringLiteral("This program is provided as is, without warranty of any kind. Check digitized values "
                       "against the source map before relying on them."),
        this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer1 = new QLabel(QStringLiteral("Modified versions must be marked as such."), this);
    lblDisclaimer1->setObjectName(QStringLiteral("lblDisclaimer1"));
    lblDisclaimer1->setWordWrap(true);
    chkUp = new QCheckBox(this);
    chkUp->setObjectName(QStringLiteral("chkUp"));
    chkUp->setToolTip(QStringLiteral("Check to automatically look for an update every 30 days"));
    auto btn = [this](const char* name, const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        return b;
    };
    cmdUp = btn("cmdUp", QStringLiteral("Update..."), QStringLiteral("Check web for update now"));
    cmdSoft = btn("cmdSoft", QStringLiteral("Software Notice"), QStringLiteral("View software user notice"));
    cmdSysInfo = btn("cmdSysInfo", QStringLiteral("&System Info..."), QStringLiteral("Click to get system information"));
    cmdOK = btn("cmdOK", QStringLiteral("OK"), QStringLiteral("Click to close this window and return to the program"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);

    // Designed layout in twips (client 5745 x 7680).
    auto at = [](QWidget* w, double l, double t, double wd, double h) { w->setGeometry(twips::rect(l, t, wd, h)); };
    at(Picture1, 240, 240, 540, 540);
    at(lblTitle, 960, 200, 4600, 520);
    at(lblVersion, 960, 760, 4600, 300);
    at(lblDate, 960, 1060, 4600, 300);
    at(Label3, 240, 1500, 1200, 300);
    at(Image1, 240, 1800, 1200, 600);
    at(lblDescription, 1500, 1400, 4100, 1300);
    at(Label2, 240, 2800, 5300, 500);
    at(Label6, 240, 3350, 5300, 300);
    at(lblDisclaimer, 240, 3800, 5300, 900);
    at(lblDisclaimer1, 240, 4750, 5300, 300);
    at(Label5, 240, 5150, 5300, 300);
    at(chkUp, 240, 5700, 300, 300);
    at(cmdUp, 600, 5640, 1500, 400);
    at(cmdSoft, 2200, 5640, 1700, 400);
    at(cmdSysInfo, 4000, 5640, 1600, 400);
    at(cmdOK, 4000, 7080, 1600, 420);

    // Load steps.
    setWindowIcon(main->windowIcon());
    setWindowTitle(QStringLiteral("About ") + g.ProgramTitle);
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    lblDate->setText(cutDateText(QLocale::c().toString(exe.lastModified(), QStringLiteral("M/d/yyyy h:mm:ss AP"))));
    SettingsStore* st = main->settings.get();
    if (st) {
        int v = 0;
        try {
            v = legacy::CInt(legacy::NumVal(st->ReadSetting(g.AppName, QStringLiteral("Update"), QStringLiteral("0"))));
        } catch (const legacy::Error&) {
            v = 0;
        }
        chkUp->setChecked(v != 0);
        remember(st, g.AppName, QStringLiteral("Update"), chkUp->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    connect(chkUp, &QCheckBox::toggled, this, [st, &g](bool on) {
        remember(st, g.AppName, QStringLiteral("Update"), on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    const double height = m_splash ? 3360 : 7680;
    const double width = 5745;
    resize(twips::toPx(width), twips::toPx(height));
    setFixedSize(size());
    const QSizeF scr = screenTwips();
    if (!main->isVisible()) {
        move(twips::toPx((scr.width() - width) / 2), twips::toPx((scr.height() - height) / 8));
    } else {
        const Placement p = centreOnScreen(mainRectTwips(main), width, height, scr.width(), scr.height());
        move(twips::toPx(p.left), twips::toPx(p.top));
    }
    if (!m_splash) {
        sound::PlaySystemSound(QStringLiteral("RestoreUp"), true);
    } else {
        connect(Timer1, &QTimer::timeout, this, &AboutBox::Timer1_Timer);
        Timer1->start();
    }

    for (ClickableLabel* l : {Label5, Label6, lblDate, lblDescription, lblTitle, lblVersion, Picture1})
        connect(l, &ClickableLabel::clicked, this, &AboutBox::onTextClick);
    connect(Label3, &ClickableLabel::clicked, this, [this] { onMakerClick(false); });
    connect(Image1, &ClickableLabel::clicked, this, [this] { onMakerClick(true); });
    connect(cmdOK, &QPushButton::clicked, this, &AboutBox::unload);
    connect(cmdUp, &QPushButton::clicked, this, &AboutBox::cmdUp_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, [] {
        if (!shell::StartSysInfo())
            dlg::msgBox(QStringLiteral("System Information Is Unavailable At This Time"), {dlg::Buttons::OK, dlg::Icon::None});
    });
    connect(cmdSoft, &QPushButton::clicked, this, [this] {
        NoticeWindow w(m_main);
        dlg::execDialog(&w);
    });
}

AboutBox::~AboutBox() = default;

void AboutBox::Timer1_Timer() {
    ++SplashTicks;
    MainWindow::DoEvents();
    if (isVisible() && SplashTicks < 11) return;
    Timer1->stop();
    hide();
    MainWindow::DoEvents();
    SettingsStore* st = m_main->settings.get();
    const QString& sec = m_main->app.AppName;
    if (!st || st->ReadSetting(sec, QStringLiteral("Update"), QString()) != QLatin1String("1")) {
        unload();
        return;
    }
    const QString todayText = dateText(today());
    QString stored = st->ReadSetting(sec, QStringLiteral("UpdateDate"), todayText);
    remember(st, sec, QStringLiteral("UpdateDate"), stored);
    if (stored.isEmpty()) {
        stored = todayText;
        remember(st, sec, QStringLiteral("UpdateDate"), stored);
    }
    if (reminderDue(stored, today())) {
        const dlg::Answer a = dlg::msgBox(QStringLiteral("Its been over 30 days since you last checked for an update.") +
                                              QLatin1Char('\n') + QStringLiteral("Do you wish to do it now?"),
                                          {dlg::Buttons::YesNo, dlg::Icon::Question});
        if (a == dlg::Answer::Yes) {
            cmdUp_Click();
            return;
        }
    }
    unload();
}

void AboutBox::cmdUp_Click() {
    SettingsStore* st = m_main->settings.get();
    const QString& sec = m_main->app.AppName;
    bool failed = false;
    remember(st, sec, QStringLiteral("UpdateDate"), dateText(today()));
    m_main->showMinimized();
    MainWindow::DoEvents();
    if (!shell::OpenUrl(QUrl(updatePage(sec)))) failed = true;
    if (updateWaitMs > 0) {
        QEventLoop loop;
        QTimer::singleShot(updateWaitMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!failed)
        dlg::msgBox(QStringLiteral("Your Version: ") + QString::number(VEXOLAN_VERSION_MAJOR) + QLatin1Char('.') +
                        legacy::Format(VEXOLAN_VERSION_MINOR, QStringLiteral("00")) + QLatin1Char('.') +
                        legacy::Format(VEXOLAN_VERSION_PATCH, QStringLiteral("0000")),
                    {dlg::Buttons::OK, dlg::Icon::None});
    else
        dlg::msgBox(QStringLiteral("Internet browser program not available"), {dlg::Buttons::OK, dlg::Icon::Exclamation});
    unload();
}

void AboutBox::onTextClick() {
    if (height() < twips::toPx(4000)) unload();
}

void AboutBox::onMakerClick(bool reportFailure) {
    if (m_splash) {
        unload();
        return;
    }
    if (!shell::OpenUrl(QUrl(homePage())) && reportFailure)
        dlg::msgBox(QStringLiteral("Internet browser program not available"), {dlg::Buttons::OK, dlg::Icon::Exclamation});
}

void AboutBox::mouseReleaseEvent(QMouseEvent* e) {
    QDialog::mouseReleaseEvent(e);
    // A click on the splash's background only hides it; the timer then goes
    // straight on to the reminder.
    if (height() < twips::toPx(4000)) {
        hide();
        MainWindow::DoEvents();
    }
}

void AboutBox::unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    Timer1->stop();
    AppGlobals& g = m_main->app;
    if (g.AboutSound) sound::PlaySystemSound(QStringLiteral("RestoreDown"), false);
    g.AboutSound = true;
    if (!chkUp->isChecked()) remember(m_main->settings.get(), g.AppName, QStringLiteral("UpdateDate"), dateText(today()));
    m_main->setEnabled(true);
    if (m_splash) close();
    else done(QDialog::Accepted);
}

void AboutBox::closeEvent(QCloseEvent* e) {
    if (!m_unloaded) unload();
    QDialog::closeEvent(e);
}

// ---------------------------------------------------------------------------
NoticeWindow::NoticeWindow(MainWindow* main) : QDialog(main) {
    setObjectName(QStringLiteral("frmAboutSoft"));
    sound::PlaySystemSound(QStringLiteral("RestoreUp"), true);
    const double width = 6000, height = 4200;
    resize(twips::toPx(width), twips::toPx(height));
    auto* frame = new QGroupBox(QStringLiteral("Notice:"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(twips::rect(120, 700, 5760, 2700));
    labName = new QLabel(main->app.AppName, this);
    labName->setObjectName(QStringLiteral("labName"));
    Label3 = new QLabel(QStringLiteral("release"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    labCC = new QLabel(main->app.ReleaseNumber, this);
    labCC->setObjectName(QStringLiteral("labCC"));
    auto* l1 = new QLabel(QStringLiteral("This program is made available for use in mapping and research. It may be used and "
                                         "copied freely; it is provided without warranty of any kind."),
                          frame);
    l1->setObjectName(QStringLiteral("Label1"));
    auto* l4 = new QLabel(QStringLiteral("Prepared by Ferno, who holds the rights in it."), frame);
    l4->setObjectName(QStringLiteral("Label4"));
    auto* l5 = new QLabel(QStringLiteral("Please mark modified versions clearly as modified."), frame);
    l5->setObjectName(QStringLiteral("Label5"));
    for (QLabel* l : {l1, l4, l5}) l->setWordWrap(true);
    l1->setGeometry(twips::rect(120, 300, 5500, 1000));
    l4->setGeometry(twips::rect(120, 1400, 5500, 500));
    l5->setGeometry(twips::rect(120, 2000, 5500, 500));
    Command1 = new QPushButton(QStringLiteral("Close"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("Click to close this window"));
    Command1->setGeometry(twips::rect(4300, 3550, 1500, 420));
    const QSizeF scr = screenTwips();
    const Placement p = centreOnScreen(mainRectTwips(main), width, height, scr.width(), scr.height());
    move(twips::toPx(p.left), twips::toPx(p.top));
    setWindowTitle(dlg::applicationTitle() + QStringLiteral(" Software Notice"));
    setWindowIcon(main->windowIcon());
    layoutNameLine();
    sound::PlaySystemSound(QStringLiteral("Maximize"), true);
    if (main->fileService) main->fileService->SetWindowState(this, true);
    connect(Command1, &QPushButton::clicked, this, [this] {
        sound::PlaySystemSound(QStringLiteral("Minimize"), true);
        accept();
    });
}

NoticeWindow::~NoticeWindow() {
    sound::PlaySystemSound(QStringLiteral("RestoreDown"), false);
}

void NoticeWindow::layoutNameLine() {
    // The three labels form one line; longer texts push the later ones right.
    const int gap = twips::toPx(40);
    labName->adjustSize();
    Label3->adjustSize();
    labCC->adjustSize();
    labName->move(twips::toPx(240), twips::toPx(240));
    Label3->move(labName->x() + labName->width() + gap, labName->y());
    labCC->move(Label3->x() + Label3->width() + gap, labName->y());
}
