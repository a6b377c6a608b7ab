// The wizard pages: the widgets each page lists, in order, where they sit and
// what they say, and the operations the controller uses, the folder chooser too.

#include <array>
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
#include "ui/SuccessFinalPage.h"
#include "ui/ToolkitTest.h"

namespace {

// A child's x and y in its fixed container, then its requested width and height.
using Placement = std::array<gint, 4>;

Placement PlacementOf(GtkWidget* widget) {
    Placement p{};
    gtk_container_child_get(GTK_CONTAINER(gtk_widget_get_parent(widget)), widget, "x", &p[0], "y", &p[1], nullptr);
    gtk_widget_get_size_request(widget, &p[2], &p[3]);
    return p;
}

constexpr Placement kBanner{0, 0, -1, -1};
constexpr Placement kTextBlock{170, 10, 330, 250};

std::string Message(const char* id) { return ToAString(LoadResString(id)).c_str(); }

// What a label or a button says; nothing for other widgets.
std::string TextOf(GtkWidget* widget) {
    return GTK_IS_LABEL(widget)    ? gtk_label_get_text(GTK_LABEL(widget))
           : GTK_IS_BUTTON(widget) ? gtk_button_get_label(GTK_BUTTON(widget))
                                   : "";
}

class PagesTest : public ToolkitTest {
protected:
    PixbufRef banner{CreateBannerPixbuf()};
};

}  // namespace

// Showing the whole window must not reveal any page; only page switching does.
TEST_F(PagesTest, PagesListTheirWidgetsInPlaceWithTheirTextsAndStartHidden) {
    MessagePage welcome(fixed, banner.get(), ToWString("Welcome"));
    SuccessFinalPage success(fixed, banner.get(), ToWString("Installed"));
    DirSelectPage directory(fixed, banner.get());
    ProgressPage progress(fixed, 480);
    const struct {
        GtkWidget* widget;  // the pages' lists, one after the other
        Placement where;
        std::string text;
    } rows[] = {
        {welcome.image, kBanner, ""},
        {welcome.label, kTextBlock, "Welcome"},
        {success.image, kBanner, ""},
        {success.label, kTextBlock, "Installed"},
        {success.openDescriptionCheck, {170, 170, -1, -1}, Message("IDS_SUCCESS_OPENDESCR")},
        {directory.image, kBanner, ""},
        {directory.promptLabel, kTextBlock, Message("IDS_DESTINATION_PROMPT")},
        {directory.catalogLabel, {170, 255, -1, -1}, Message("IDS_TEMPLATE_CATALOG")},
        {directory.pathEntry, {170, 275, 280, 30}, ""},
        {directory.browseButton, {460, 275, 30, 30}, "..."},
        {progress.statusLabel, {10, 130, -1, -1}, Message("IDS_PROGRESS_START")},
        {progress.progressBar, {10, 150, 480, 20}, ""},
    };
    gtk_widget_show_all(window);
    std::vector<GtkWidget*> listed;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(G_OBJECT_TYPE_NAME(row.widget)) + " " + row.text);
        listed.push_back(row.widget);
        EXPECT_EQ(PlacementOf(row.widget), row.where);
        EXPECT_EQ(TextOf(row.widget), row.text);
        EXPECT_EQ(row.text.empty(), !GTK_IS_LABEL(row.widget) && !GTK_IS_BUTTON(row.widget)) << "says nothing";
        EXPECT_FALSE(gtk_widget_get_visible(row.widget));
        const bool wraps = GTK_IS_LABEL(row.widget) && gtk_label_get_line_wrap(GTK_LABEL(row.widget));
        EXPECT_EQ(wraps, row.where == kTextBlock);
    }
    std::vector<GtkWidget*> lists;
    for (const auto* widgets : {&welcome.widgets, &success.widgets, &directory.widgets, &progress.widgets}) {
        lists.insert(lists.end(), widgets->begin(), widgets->end());
    }
    EXPECT_EQ(lists, listed);
    EXPECT_TRUE(success.IsOpenDescriptionChecked());
}

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
    const std::string start = Message("IDS_PROGRESS_START");
    const std::string finish = Message("IDS_INSTALL_FINISH");
    ASSERT_NE(start, finish);
    // Each out-of-range value follows one that leaves the bar elsewhere.
    const std::pair<std::int32_t, double> cases[] = {{99, 0.99}, {100, 1.0}, {101, 1.0}, {50, 0.5},
                                                     {-1, 0.0},  {INT32_MAX, 1.0}, {INT32_MIN, 0.0}};
    for (const auto& [percent, fraction] : cases) {
        page.SetProgress(percent);
        EXPECT_EQ(TextOf(page.statusLabel), percent == 100 ? finish : start) << percent;
        EXPECT_NEAR(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(page.progressBar)), fraction, 1e-9) << percent;
    }
}
