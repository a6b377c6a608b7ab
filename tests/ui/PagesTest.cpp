// The wizard pages' operations the controller uses, the folder chooser too.
// (Their texts, where they sit and that they fit: TextFitTest.cpp.)

#include <clocale>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "l10n/Messages.h"
#include "text/Convert.h"
#include "ui/DirSelectPage.h"
#include "ui/GtkOwners.h"
#include "ui/Images.h"
#include "ui/ProgressPage.h"
#include "ui/ToolkitTest.h"

namespace {

class PagesTest : public ToolkitTest {
protected:
    PixbufRef banner{CreateBannerPixbuf()};
};

}  // namespace

// Only a whole path comes back: one the locale cannot carry would name
// another directory, so it comes back empty, as an empty entry does.
TEST_F(PagesTest, PathRoundTripsThroughTheEntryOrComesBackEmpty) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr) << "a UTF-8 locale is needed";
    DirSelectPage page(fixed, banner.get());
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

// The chooser opens with the "..." button; cancelled or closed it leaves the
// entry alone.
TEST_F(PagesTest, OnlyAcceptingTheFolderChooserReplacesTheEntry) {
    const std::string typed = "/typed/by/user";
    const std::string chosen = "/usr";  // any folder that exists
    const std::pair<gint, std::string> cases[] = {
        {GTK_RESPONSE_CANCEL, typed}, {GTK_RESPONSE_DELETE_EVENT, typed}, {GTK_RESPONSE_ACCEPT, chosen}};
    DirSelectPage page(fixed, banner.get());
    for (const auto& [answer, entry] : cases) {
        // A copy to capture: clang before 16 cannot capture a structured binding.
        const gint response = answer;
        SCOPED_TRACE(response);
        page.SetPath(ToWString(typed.c_str()));
        WhenDialogRuns(GTK_TYPE_FILE_CHOOSER_DIALOG, [&](GtkWidget* dialog) {
            auto* chooser = GTK_FILE_CHOOSER(dialog);
            EXPECT_EQ(gtk_file_chooser_get_action(chooser), GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER);
            // The chooser loads a folder in the background; answer once it has ours.
            const GCharString name(gtk_file_chooser_get_filename(chooser));
            if (name == nullptr || chosen != name.get()) {
                gtk_file_chooser_set_current_folder(chooser, chosen.c_str());
                return false;
            }
            gtk_dialog_response(GTK_DIALOG(dialog), response);
            return true;
        });
        gtk_button_clicked(GTK_BUTTON(page.browseButton));
        EXPECT_EQ(gtk_entry_get_text(GTK_ENTRY(page.pathEntry)), entry);
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
