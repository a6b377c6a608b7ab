// The message box: kind and buttons from the flag word, the text shown
// literally, the owner's title, the answer for every way of closing it, and
// the line on standard error when there is no display.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/Convert.h"
#include "ui/MessageBox.h"
#include "ui/ToolkitTest.h"

namespace {

class TitledWindow : public CWnd {
public:
    explicit TitledWindow(const char* title) : title_(ToWString(title)) {}
    WString GetTitle() const override { return title_; }

private:
    WString title_;
};

// What the running dialog showed, read before it was answered.
struct Shown {
    bool seen = false;
    std::string text;
    std::string title;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    bool modal = false;
    bool hasParent = true;
    std::vector<gint> responses;  // of the dialog's buttons, in order
};

std::vector<gint> ButtonResponses(GtkWidget* dialog) {
    std::vector<gint> responses;
    GList* buttons = gtk_container_get_children(GTK_CONTAINER(gtk_dialog_get_action_area(GTK_DIALOG(dialog))));
    for (GList* item = buttons; item != nullptr; item = item->next) {
        responses.push_back(gtk_dialog_get_response_for_widget(GTK_DIALOG(dialog), GTK_WIDGET(item->data)));
    }
    g_list_free(buttons);
    std::sort(responses.begin(), responses.end());  // the theme may reorder buttons
    return responses;
}

void Read(GtkWidget* dialog, Shown& shown) {
    shown.seen = true;
    gchar* text = nullptr;
    g_object_get(dialog, "text", &text, "message-type", &shown.type, nullptr);
    shown.text = text != nullptr ? text : "";
    g_free(text);
    const gchar* title = gtk_window_get_title(GTK_WINDOW(dialog));
    shown.title = title != nullptr ? title : "";
    shown.modal = gtk_window_get_modal(GTK_WINDOW(dialog));
    shown.hasParent = gtk_window_get_transient_for(GTK_WINDOW(dialog)) != nullptr;
    shown.responses = ButtonResponses(dialog);
}

// Closes the dialog the way the window manager does: a delete event.
void SendDeleteEvent(GtkWidget* dialog) {
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(dialog)));
    event->any.send_event = TRUE;
    gtk_main_do_event(event);
    gdk_event_free(event);
}

constexpr gint kWindowManagerClose = 1;  // a marker, not a response

std::int32_t RunAnswering(const CWnd* owner, const char* text, std::uint32_t flags, gint response, Shown& shown) {
    WhenToplevelAppears(GTK_TYPE_MESSAGE_DIALOG, [&shown, response](GtkWidget* dialog) {
        Read(dialog, shown);
        if (response == kWindowManagerClose) {
            SendDeleteEvent(dialog);
        } else {
            gtk_dialog_response(GTK_DIALOG(dialog), response);
        }
    });
    return MessageBox(owner, ToWString(text), flags);
}

using MessageBoxTest = ToolkitTest;

}  // namespace

TEST_F(MessageBoxTest, FlagWordsChooseKindAndButtons) {
    const std::vector<gint> ok{GTK_RESPONSE_OK};
    const std::vector<gint> yesNo{GTK_RESPONSE_NO, GTK_RESPONSE_YES};  // ascending, as ButtonResponses sorts
    const struct {
        std::uint32_t flags;
        GtkMessageType type;
        std::vector<gint> buttons;
    } cases[] = {
        {MB_ERROR_OK, GTK_MESSAGE_ERROR, ok},
        {MB_QUESTION_YESNO, GTK_MESSAGE_QUESTION, yesNo},
        {MB_PLAIN_OK, GTK_MESSAGE_OTHER, ok},
        {0x01000002, GTK_MESSAGE_ERROR, yesNo},
        {0x02000001, GTK_MESSAGE_QUESTION, ok},
        {0x03000000, GTK_MESSAGE_OTHER, ok},
        {0x00010002, GTK_MESSAGE_OTHER, yesNo},
        {0x01000102, GTK_MESSAGE_ERROR, yesNo},
    };
    for (const auto& c : cases) {
        Shown shown;
        RunAnswering(nullptr, "kind", c.flags, GTK_RESPONSE_OK, shown);
        ASSERT_TRUE(shown.seen) << std::hex << c.flags;
        EXPECT_EQ(shown.type, c.type) << std::hex << c.flags;
        EXPECT_EQ(shown.responses, c.buttons) << std::hex << c.flags;
        EXPECT_TRUE(shown.modal);
        EXPECT_FALSE(shown.hasParent);
    }
}

TEST_F(MessageBoxTest, EveryWayOfClosingHasItsAnswer) {
    const struct {
        std::uint32_t flags;
        gint response;
        std::int32_t answer;
    } cases[] = {
        {MB_QUESTION_YESNO, GTK_RESPONSE_YES, IDYES},
        {MB_QUESTION_YESNO, GTK_RESPONSE_NO, IDNO},
        {MB_ERROR_OK, GTK_RESPONSE_OK, IDOK},
        {MB_PLAIN_OK, GTK_RESPONSE_OK, IDOK},
        {MB_QUESTION_YESNO, kWindowManagerClose, IDNONE},
        {MB_ERROR_OK, kWindowManagerClose, IDNONE},
        {MB_QUESTION_YESNO, GTK_RESPONSE_DELETE_EVENT, IDNONE},
        {MB_QUESTION_YESNO, GTK_RESPONSE_CLOSE, IDNONE},
        {MB_PLAIN_OK, GTK_RESPONSE_CANCEL, IDNONE},
        {MB_PLAIN_OK, GTK_RESPONSE_ACCEPT, IDNONE},
    };
    for (const auto& c : cases) {
        Shown shown;
        EXPECT_EQ(RunAnswering(nullptr, "answer", c.flags, c.response, shown), c.answer) << c.response;
        EXPECT_TRUE(shown.seen);
    }
    DrainEvents();
    EXPECT_EQ(FindToplevel(GTK_TYPE_MESSAGE_DIALOG), nullptr) << "every box must be destroyed";
}

TEST_F(MessageBoxTest, TextIsShownLiterallyNeverAsAFormat) {
    const char* texts[] = {"100%s done %n %d %%", "Line one\nLine two", "Path: /tmp/\"a b\"/$HOME"};
    for (const char* text : texts) {
        Shown shown;
        RunAnswering(nullptr, text, MB_PLAIN_OK, GTK_RESPONSE_OK, shown);
        EXPECT_EQ(shown.text, text);
    }
}

TEST_F(MessageBoxTest, TitleComesFromTheOwner) {
    const TitledWindow owner("Template installer");
    Shown shown;
    RunAnswering(&owner, "text", MB_ERROR_OK, GTK_RESPONSE_OK, shown);
    EXPECT_EQ(shown.title, "Template installer");

    const CWnd untitled;
    RunAnswering(&untitled, "text", MB_ERROR_OK, GTK_RESPONSE_OK, shown);
    EXPECT_EQ(shown.title, "");
}

// Without a display nobody can answer: the box writes one line to standard
// error and answers OK, or No to a question. The check runs in a fresh
// process that has never initialised the toolkit.
TEST(MessageBoxWithoutDisplay, WritesOneLineAndAnswersSafely) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const TitledWindow owner("Setup");
    const struct {
        std::uint32_t flags;
        std::int32_t answer;
    } cases[] = {{MB_ERROR_OK, IDOK}, {MB_QUESTION_YESNO, IDNO}, {MB_PLAIN_OK, IDOK}};
    for (const auto& c : cases) {
        EXPECT_EXIT(std::exit(MessageBox(&owner, ToWString("Disk full %s"), c.flags)),
                    ::testing::ExitedWithCode(c.answer), "^Setup: Disk full %s\n$");
    }
    EXPECT_EXIT(std::exit(MessageBox(nullptr, ToWString("No owner"), MB_ERROR_OK)),
                ::testing::ExitedWithCode(IDOK), "^: No owner\n$");
}
