// The application's last safety net for errors no command caught.
#include "app/Application.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Legacy.h"

#include <QTest>
#include <stdexcept>

class ApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void uncaughtErrorsAreReportedNotFatal() {
        auto& d = testsupport::dialogs();
        d.clear();
        QVERIFY(Application::deliverReporting([] { return true; }));
        QVERIFY(!Application::deliverReporting([]() -> bool { legacy::raise(legacy::ErrorCode::DivisionByZero); }));
        QVERIFY(!Application::deliverReporting([]() -> bool { throw std::runtime_error("disk full"); }));
        QCOMPARE(d.prompts.size(), size_t(2));
        QCOMPARE(d.prompts[0].text, QStringLiteral("Vexolan error: \n\nDivision by zero"));
        QCOMPARE(d.prompts[0].icon, dlg::Icon::Exclamation);
        QCOMPARE(d.prompts[1].text, QStringLiteral("Vexolan error: \n\ndisk full"));
        d.clear();
    }
};
VEX_TEST(ApplicationTest);
#include "ApplicationTest.moc"
