// The progress window's logic: its text goes to the window, pending messages are dispatched
// at once, and the window lives exactly as long as the form.
#include <gtest/gtest.h>

#include "ui/form_message.h"
#include "ui/headless/headless_toolkit.h"

TEST(FormMessage, SetMessageShowsTextAndDispatchesMessages)
{
    THeadlessToolkit toolkit;
    {
        TFormMessage form(toolkit);
        EXPECT_EQ(toolkit.MessageWindowsAlive, 1);
        EXPECT_EQ(form.LabelMessage.Caption, "LabelMessage");
        form.Show();
        form.SetMessage("first");
        form.SetMessage("a longer second text");
        EXPECT_EQ(form.LabelMessage.Caption, "a longer second text");
        EXPECT_EQ(toolkit.ProgressTexts, (std::vector<std::string>{"first", "a longer second text"}));
        EXPECT_EQ(toolkit.ProcessMessagesCalls, 2);
        EXPECT_EQ(toolkit.MessageWindowsShown, 1);
    }
    EXPECT_EQ(toolkit.MessageWindowsAlive, 0);
}
