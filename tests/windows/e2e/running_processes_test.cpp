// The real installer meeting other processes of the product on the machine: a second copy of
// itself while the first shows its wizard, and the running product, closed while the installer
// asks for it to be closed.
#include <gtest/gtest.h>

#include <memory>

#include "common/standin_window.hpp"
#include "installed_product.hpp"
#include "quick_path.hpp"
#include "support/error_reporting.hpp"
#include "support/named_objects.hpp"
#include "support/object_names.hpp"

namespace {

using namespace zu_test::quick;
using zu_test::BoxSeen;
using zu_test::WizardDriver;

// Cancel on a wizard that has not installed anything, then Yes to the question.
void leave(WizardDriver& w) {
    w.ClickButton(kCancel);
    BoxSeen box = w.WaitForBox();
    ASSERT_TRUE(box.window) << "the question on leaving";
    EXPECT_EQ(box.text, message(110));
    w.Answer(box, IDYES);
    EXPECT_EQ(w.WaitForExit(), 0u);
}

TEST(E2E, SecondInstallerEndsWithTheBusyErrorWhileTheFirstShowsItsWizard) {
    ProductRemovedAtEnd clean;
    WizardDriver first(installer(), L"", false);
    ASSERT_TRUE(first.Frame());
    first.ClickButton(kNext);
    ASSERT_EQ(first.PageIndex(), 1);

    // This process takes a unit too, after the first installer's check, to watch the count.
    zu::instance_counter counter(zu::running_product_counter_name().c_str());
    ASSERT_TRUE(counter.registered());
    ASSERT_EQ(counter.count(), 2);
    {
        WizardDriver second(installer(), L"", false, false);
        BoxSeen box = second.WaitForBox(15000);
        ASSERT_TRUE(box.window) << "the second installer showed nothing";
        EXPECT_EQ(box.text, zu::error_text(ERROR_BUSY));
        EXPECT_TRUE(box.ok && !box.yes);
        EXPECT_EQ(counter.count(), 3) << "the second installer is registered while its box is up";
        EXPECT_EQ(second.WaitForFrame(300), nullptr) << "no second wizard";
        second.Answer(box, IDOK);
        EXPECT_NE(second.WaitForExit(), static_cast<DWORD>(STILL_ACTIVE));
    }
    EXPECT_EQ(counter.count(), 2) << "the second installer took its unit back";
    EXPECT_TRUE(zu_test::uninstall_key_values().empty());

    // The first one goes on where it was.
    EXPECT_EQ(first.PageIndex(), 1);
    first.ClickButton(kBack);
    EXPECT_EQ(first.PageIndex(), 0);
    counter.unregister();
    leave(first);
}

// The stand-in product running, then the installer started beside it.
class RunningProduct : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(product_.started());
        window_ = zu_test::wait_for_standin_window();
        ASSERT_NE(window_, nullptr);
        installer_ = std::make_unique<WizardDriver>(installer(), L"", false, false);
    }
    void CloseProduct() {
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
        ASSERT_EQ(product_.wait(15000), std::optional<DWORD>(0));
    }

    ProductRemovedAtEnd clean_;
    testing_support::child_process product_{zu_test::wine_path(ZU_STANDIN_EXE), {}};
    HWND window_ = nullptr;
    std::unique_ptr<WizardDriver> installer_;
};

TEST_F(RunningProduct, IsAskedToBeClosedAndRetryGoesOnOnceItIs) {
    WizardDriver& w = *installer_;
    const std::wstring expected = message(127, zu::kEnglish, {L"Mobrix"});
    BoxSeen box = w.WaitForBox(15000);
    ASSERT_TRUE(box.window) << "no request to close the product";
    EXPECT_EQ(box.text, expected);
    EXPECT_NE(::GetDlgItem(box.window, IDRETRY), nullptr);
    EXPECT_NE(::GetDlgItem(box.window, IDCANCEL), nullptr);
    EXPECT_TRUE(!box.ok && !box.yes);

    // Retry while the product still runs asks again.
    w.Answer(box, IDRETRY);
    BoxSeen again = w.WaitForBox(15000);
    ASSERT_TRUE(again.window) << "Retry with the product running must ask again";
    EXPECT_EQ(again.text, expected);
    EXPECT_EQ(w.WaitForFrame(300), nullptr);

    // Closed, Retry lets the start-up go on to the wizard.
    CloseProduct();
    w.Answer(again, IDRETRY);
    ASSERT_NE(w.WaitForFrame(), nullptr) << "the wizard did not open after Retry";
    EXPECT_EQ(w.PageIndex(), 0);
    leave(w);
}

TEST_F(RunningProduct, CancelEndsTheInstallerWithoutTheWizard) {
    WizardDriver& w = *installer_;
    BoxSeen box = w.WaitForBox(15000);
    ASSERT_TRUE(box.window);
    w.Answer(box, IDCANCEL);
    EXPECT_NE(w.WaitForExit(), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(w.WaitForFrame(300), nullptr);
    EXPECT_TRUE(zu_test::uninstall_key_values().empty());
    CloseProduct();
}

}  // namespace
