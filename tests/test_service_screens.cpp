// Pictures of the About box and the support window (its menu, and its update page
// after a newer version was found, after a failed check and while it waits), in
// English and in Russian, written to <build>/tests/screens/ for a person to look at;
// and the check that every caption fits its control.

#include "test_event_fixture.h"
#include "test_screens.h"

#include "core/XMLParser.h"
#include "support/HttpServer.h"
#include "tools/frmAbout.h"
#include "tools/frmSupport.h"

#include <QPushButton>

namespace {

class ServiceScreens : public EventWindowTest, public ::testing::WithParamInterface<const char*> {
protected:
    QString Language() const override { return s(GetParam()); }

    void SetUp() override
    {
        EventWindowTest::SetUp();
        WriteMainXml(s("Version"), s("3.30"));
        qputenv("TESSARYN_SITE_BASE", (server.Base() + s("/")).toUtf8());
    }
    void TearDown() override
    {
        EventWindowTest::TearDown();
        qputenv("TESSARYN_SITE_BASE", "http://127.0.0.1:9/");
    }

    void look(QWidget& window, const char* name) const
    {
        SaveScreen(window, s(name) + s("-") + Language());
        CheckCaptionsFit(window, name);
    }

    HttpServer server;
};

TEST_P(ServiceScreens, AboutBox)
{
    frmAbout& box = Forms::Get<frmAbout>();
    box.show();
    look(box, "about");
}

TEST_P(ServiceScreens, SupportWindow)
{
    frmSupport& window = Forms::Get<frmSupport>();
    window.show();
    look(window, "support-menu");

    const auto next = [&window] {
        window.cmdNext->click();
        ASSERT_TRUE(PumpUntil([&window] { return window.cmdMenu->isEnabled(); }));
    };
    server.Serve(s("/tessaryn/tsversion.txt"), {200, "3.31"});
    next();
    look(window, "support-newer");

    server.Serve(s("/tessaryn/tsversion.txt"), {404, "Not Found"});
    window.cmdMenu->click();
    next();
    look(window, "support-failed");

    server.Serve(s("/tessaryn/tsversion.txt"), {200, "", HttpServer::Never});
    window.cmdMenu->click();
    window.cmdNext->click();
    look(window, "support-waiting");
}

INSTANTIATE_TEST_SUITE_P(Languages, ServiceScreens, ::testing::Values("English", "Russian"));

}  // namespace
