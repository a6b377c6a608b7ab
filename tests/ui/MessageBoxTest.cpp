// The message box: kind and buttons from the flag word, every close's answer, the text literally, the owner's title.

#include <tuple>

#include "text/Convert.h"
#include "ui/MessageBox.h"
#include "ui/ToolkitTest.h"

using MessageBoxTest = ToolkitTest;

TEST_F(MessageBoxTest, FlagWordChoosesKindAndButtonsAndEveryCloseHasItsAnswer) {
    struct Owner : CWnd {
        WString GetTitle() const override { return ToWString("Setup"); }
    };
    const char* text = "100%s done %n %d\nPath: /tmp/\"a b\"/$HOME";
    // (flags, the box's kind, Yes and No buttons (else OK), the button or close, what MessageBox returns)
    const std::tuple<std::uint32_t, GtkMessageType, bool, gint, std::int32_t> cases[] = {
        {MB_ERROR_OK, GTK_MESSAGE_ERROR, false, GTK_RESPONSE_OK, IDOK},
        {MB_QUESTION_YESNO, GTK_MESSAGE_QUESTION, true, GTK_RESPONSE_YES, IDYES},
        {MB_QUESTION_YESNO, GTK_MESSAGE_QUESTION, true, GTK_RESPONSE_NO, IDNO},
        {MB_PLAIN_OK, GTK_MESSAGE_OTHER, false, GTK_RESPONSE_DELETE_EVENT, IDNONE},  // window manager's close
        {0x01000002, GTK_MESSAGE_ERROR, true, GTK_RESPONSE_CLOSE, IDNONE},
        {0x02000001, GTK_MESSAGE_QUESTION, false, GTK_RESPONSE_OK, IDOK},
    };
    for (const auto& [flags, kind, yesNo, response, answer] : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << flags << std::dec << " answered " << response);
        WhenDialogRuns(GTK_TYPE_MESSAGE_DIALOG, [&, kind = kind, yesNo = yesNo, response = response](GtkWidget* dialog) {
            gchar* shown = nullptr;
            GtkMessageType type = GTK_MESSAGE_OTHER;
            g_object_get(dialog, "text", &shown, "message-type", &type, nullptr);
            EXPECT_STREQ(shown, text);
            g_free(shown);
            EXPECT_EQ(type, kind);
            EXPECT_EQ(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_YES) != nullptr, yesNo);
            EXPECT_EQ(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK) != nullptr, !yesNo);
            EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "Setup");
            gtk_dialog_response(GTK_DIALOG(dialog), response);
            return true;
        });
        const Owner owner;
        EXPECT_EQ(MessageBox(&owner, ToWString(text), flags), answer);
    }
}
