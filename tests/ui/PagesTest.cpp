// The wizard pages' operations the controller uses (their texts and that they fit: TextFitTest.cpp).

#include <clocale>
#include <cstdint>
#include <string>
#include <utility>

#include "l10n/Messages.h"
#include "text/Convert.h"
#include "ui/DirSelectPage.h"
#include "ui/GtkOwners.h"
#include "ui/ProgressPage.h"
#include "ui/ToolkitTest.h"

using PagesTest = ToolkitTest;  // the pages take no banner here

// A path the locale cannot carry would name another directory: it comes back empty, as an empty entry does.
TEST_F(PagesTest, PathRoundTripsThroughTheEntryOrComesBackEmpty) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr) << "a UTF-8 locale is needed";
    DirSelectPage page(fixed, nullptr);
    for (const char* path : {"/tmp/a b/it's \"quoted\" $HOME `x`;", "/home/пользователь/Шаблоны"}) {
        page.SetPath(ToWString(path));
        EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(page.pathEntry)), path);
        EXPECT_EQ(ToAString(page.GetPath()), AString(path));
    }
    for (const char* typed : {"", "/home/user/\xF0\x9F\x93\x81 templates"}) {
        gtk_entry_set_text(GTK_ENTRY(page.pathEntry), typed);
        EXPECT_TRUE(page.GetPath().empty()) << typed;
    }
    std::setlocale(LC_ALL, "C");
}

// The chooser opens with the "..." button; cancelled or closed it leaves the entry alone.
TEST_F(PagesTest, OnlyAcceptingTheFolderChooserReplacesTheEntry) {
    DirSelectPage page(fixed, nullptr);
    for (const gint response : {GTK_RESPONSE_CANCEL, GTK_RESPONSE_DELETE_EVENT, GTK_RESPONSE_ACCEPT}) {
        SCOPED_TRACE(response);
        page.SetPath(u"/typed/by/user");
        WhenDialogRuns(GTK_TYPE_FILE_CHOOSER_DIALOG, [response](GtkWidget* dialog) {
            auto* chooser = GTK_FILE_CHOOSER(dialog);
            EXPECT_EQ(gtk_file_chooser_get_action(chooser), GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER);
            // It loads a folder in the background; answered once it has one (any that exists).
            const GCharString name(gtk_file_chooser_get_filename(chooser));
            if (name == nullptr || std::string("/usr") != name.get()) {
                gtk_file_chooser_set_current_folder(chooser, "/usr");
                return false;
            }
            gtk_dialog_response(GTK_DIALOG(dialog), response);
            return true;
        });
        gtk_button_clicked(GTK_BUTTON(page.browseButton));
        const char* expected = response == GTK_RESPONSE_ACCEPT ? "/usr" : "/typed/by/user";
        EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(page.pathEntry)), expected);
    }
}

TEST_F(PagesTest, ProgressSaysFinishedOnlyAt100AndKeepsTheBarInRange) {
    ProgressPage page(fixed, 480);
    const std::string start = ToAString(LoadResString("IDS_PROGRESS_START")).c_str();
    const std::string finish = ToAString(LoadResString("IDS_INSTALL_FINISH")).c_str();
    ASSERT_NE(start, finish);
    // Each out-of-range value follows one that leaves the bar elsewhere.
    const std::pair<std::int32_t, double> cases[] = {{99, 0.99}, {100, 1.0}, {101, 1.0}, {50, 0.5},
                                                     {-1, 0.0},  {INT32_MAX, 1.0}, {INT32_MIN, 0.0}};
    for (const auto& [percent, fraction] : cases) {
        page.SetProgress(percent);
        EXPECT_EQ(gtk_label_get_text(GTK_LABEL(page.statusLabel)), percent == 100 ? finish : start) << percent;
        EXPECT_NEAR(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(page.progressBar)), fraction, 1e-9) << percent;
    }
}
