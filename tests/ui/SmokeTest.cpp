#include <gtest/gtest.h>

#include <QTabWidget>

#include "support/FormFixture.h"

namespace pimvesk {
namespace {

TEST(Smoke, FirstStartShowsTheCalendarAndTheFirstCloseWritesTheSettings) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    EXPECT_EQ(form.windowTitle(), "Pim * Vesk");
    EXPECT_EQ(form.PageControl1->currentWidget(), form.CalendarTab);
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
    EXPECT_TRUE(fixture.Close());
    EXPECT_TRUE(test::Exists(fixture.SettingsPath()));
}

}  // namespace
}  // namespace pimvesk
