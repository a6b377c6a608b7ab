// The directory page's folder chooser: cancelled it leaves the entry alone,
// accepted it replaces the entry with the chosen folder.

#include <glib/gstdio.h>

#include <string>

#include "text/Convert.h"
#include "ui/DirSelectPage.h"
#include "ui/ToolkitTest.h"

namespace {

class FolderChooserTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        gchar* made = g_dir_make_tmp("chooser-XXXXXX", nullptr);
        ASSERT_NE(made, nullptr);
        folder = made;
        g_free(made);
    }
    void TearDown() override {
        if (!folder.empty()) {
            g_rmdir(folder.c_str());
        }
        ToolkitTest::TearDown();
    }
    std::string folder;
};

struct ChooserSeen {
    bool seen = false;
    bool modal = false;
    GtkFileChooserAction action = GTK_FILE_CHOOSER_ACTION_OPEN;
};

void Inspect(GtkWidget* chooser, ChooserSeen& seen) {
    seen.seen = true;
    seen.modal = gtk_window_get_modal(GTK_WINDOW(chooser));
    seen.action = gtk_file_chooser_get_action(GTK_FILE_CHOOSER(chooser));
}

// Answers `response` once the chooser reports `folder` as its selection; the
// chooser loads folders asynchronously, so this polls.
struct AcceptWhenReady {
    std::string folder;
    int triesLeft = 250;
};

gboolean AcceptWhenFolderIsCurrent(gpointer data) {
    auto* wait = static_cast<AcceptWhenReady*>(data);
    GtkWidget* chooser = FindToplevel(GTK_TYPE_FILE_CHOOSER_DIALOG);
    if (chooser == nullptr) {
        return --wait->triesLeft > 0 ? TRUE : FALSE;
    }
    gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
    const bool ready = name != nullptr && wait->folder == name;
    g_free(name);
    if (!ready && --wait->triesLeft > 0) {
        return TRUE;
    }
    gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    return FALSE;
}

}  // namespace

TEST_F(FolderChooserTest, CancelLeavesTheTypedPath) {
    DirSelectPage page(fixed, nullptr);
    page.SetPath(ToWString("/typed/by/user"));
    ChooserSeen seen;
    WhenToplevelAppears(GTK_TYPE_FILE_CHOOSER_DIALOG, [&seen](GtkWidget* chooser) {
        Inspect(chooser, seen);
        gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_CANCEL);
    });
    page.ChooseFolder();
    EXPECT_TRUE(seen.seen);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.action, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER);
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(page.pathEntry)), "/typed/by/user");
    DrainEvents();
    EXPECT_EQ(FindToplevel(GTK_TYPE_FILE_CHOOSER_DIALOG), nullptr) << "the chooser must be destroyed";
}

TEST_F(FolderChooserTest, ClosingTheChooserLeavesTheTypedPath) {
    DirSelectPage page(fixed, nullptr);
    page.SetPath(ToWString("/typed/by/user"));
    WhenToplevelAppears(GTK_TYPE_FILE_CHOOSER_DIALOG, [](GtkWidget* chooser) {
        gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_DELETE_EVENT);
    });
    page.ChooseFolder();
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(page.pathEntry)), "/typed/by/user");
}

TEST_F(FolderChooserTest, AcceptReplacesTheWholeEntry) {
    DirSelectPage page(fixed, nullptr);
    page.SetPath(ToWString("/a/much/longer/path/typed/by/the/user/before"));
    AcceptWhenReady wait{folder};
    WhenToplevelAppears(GTK_TYPE_FILE_CHOOSER_DIALOG, [this, &wait](GtkWidget* chooser) {
        gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), folder.c_str());
        g_timeout_add(20, AcceptWhenFolderIsCurrent, &wait);
    });
    page.ChooseFolder();
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(page.pathEntry)), folder.c_str());
    DrainEvents();
    EXPECT_EQ(FindToplevel(GTK_TYPE_FILE_CHOOSER_DIALOG), nullptr);
}

TEST_F(FolderChooserTest, TheBrowseButtonOpensTheChooser) {
    DirSelectPage page(fixed, nullptr);
    ChooserSeen seen;
    WhenToplevelAppears(GTK_TYPE_FILE_CHOOSER_DIALOG, [&seen](GtkWidget* chooser) {
        Inspect(chooser, seen);
        gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_CANCEL);
    });
    gtk_button_clicked(GTK_BUTTON(page.browseButton));
    EXPECT_TRUE(seen.seen);
}
