// The wizard pages: which widgets each page lists and in what order, where
// they sit, their texts, and the operations the controller uses on them.

#include <clocale>
#include <cstdint>
#include <string>
#include <vector>

#include "l10n/Messages.h"
#include "text/Convert.h"
#include "ui/DirSelectPage.h"
#include "ui/Images.h"
#include "ui/MessagePage.h"
#include "ui/ProgressPage.h"
#include "ui/SuccessFinalPage.h"
#include "ui/TextLabel.h"
#include "ui/ToolkitTest.h"

namespace {

constexpr Placement kBanner{0, 0, -1, -1};
constexpr Placement kTextBlock{170, 10, 330, 250};
constexpr gint kNatural = -1;

std::string LabelText(GtkWidget* label) { return gtk_label_get_text(GTK_LABEL(label)); }

std::string Message(const char* id) { return ToAString(LoadResString(id)).c_str(); }

void ExpectTextBlock(GtkWidget* label) {
    EXPECT_EQ(PlacementOf(label), kTextBlock);
    EXPECT_TRUE(gtk_label_get_line_wrap(GTK_LABEL(label)));
    gfloat xalign = -1;
    gfloat yalign = -1;
    gtk_misc_get_alignment(GTK_MISC(label), &xalign, &yalign);
    EXPECT_EQ(xalign, 0.0f);
    EXPECT_EQ(yalign, 0.0f);
}

void ExpectAllHidden(const WizardDialogPage& page) {
    for (GtkWidget* widget : page.widgets) {
        EXPECT_FALSE(gtk_widget_get_visible(widget)) << G_OBJECT_TYPE_NAME(widget);
    }
}

// Counts toolkit warnings and criticals (a failed g_return_if_fail among
// them) while it lives.
class ToolkitWarningCounter {
public:
    ToolkitWarningCounter() {
        handler_ = g_log_set_handler("Gtk", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL),
                                     Count, &count_);
    }
    ~ToolkitWarningCounter() { g_log_remove_handler("Gtk", handler_); }
    int count() const { return count_; }

private:
    static void Count(const gchar*, GLogLevelFlags, const gchar*, gpointer count) { ++*static_cast<int*>(count); }
    guint handler_ = 0;
    int count_ = 0;
};

class PagesTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        banner = PixbufRef(CreateBannerPixbuf());
    }
    PixbufRef banner;
};

}  // namespace

TEST_F(PagesTest, TextLabelIsAWrappingTopLeftBlockBesideTheBanner) {
    GtkWidget* label = MakeTextLabel(fixed);
    EXPECT_EQ(gtk_widget_get_parent(label), GTK_WIDGET(fixed));
    EXPECT_EQ(LabelText(label), "");
    ExpectTextBlock(label);
}

TEST_F(PagesTest, MessagePageShowsBannerAndText) {
    MessagePage page(fixed, banner.get(), ToWString("Welcome to the installer"));
    ASSERT_EQ(page.widgets, (std::vector<GtkWidget*>{page.image, page.label}));
    EXPECT_EQ(PlacementOf(page.image), kBanner);
    EXPECT_EQ(gtk_image_get_pixbuf(GTK_IMAGE(page.image)), banner.get());
    ExpectTextBlock(page.label);
    EXPECT_EQ(LabelText(page.label), "Welcome to the installer");

    page.SetText(ToWString("Something went wrong"));
    EXPECT_EQ(LabelText(page.label), "Something went wrong");
}

TEST_F(PagesTest, PagesStartHiddenEvenWhenTheWholeWindowIsShown) {
    MessagePage welcome(fixed, banner.get(), ToWString("text"));
    DirSelectPage directory(fixed, banner.get());
    ProgressPage progress(fixed, 480);
    SuccessFinalPage success(fixed, banner.get(), ToWString("done"));
    gtk_widget_show_all(window);
    for (const WizardDialogPage* page : std::vector<const WizardDialogPage*>{&welcome, &directory, &progress, &success}) {
        ExpectAllHidden(*page);
    }
}

TEST_F(PagesTest, PageWidgetsShowAndHideAsTheirListSays) {
    DirSelectPage page(fixed, banner.get());
    for (GtkWidget* widget : page.widgets) {
        gtk_widget_show(widget);
    }
    EXPECT_TRUE(gtk_widget_get_visible(page.pathEntry));
    // The button's caption is its own child and must appear with it.
    GtkWidget* caption = gtk_bin_get_child(GTK_BIN(page.browseButton));
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(gtk_widget_get_visible(caption));
    for (GtkWidget* widget : page.widgets) {
        gtk_widget_hide(widget);
    }
    ExpectAllHidden(page);
}

TEST_F(PagesTest, SuccessPageAddsATickedCheckBox) {
    SuccessFinalPage page(fixed, banner.get(), ToWString("Installed"));
    ASSERT_EQ(page.widgets, (std::vector<GtkWidget*>{page.image, page.label, page.openDescriptionCheck}));
    EXPECT_EQ(LabelText(page.label), "Installed");
    EXPECT_EQ(PlacementOf(page.openDescriptionCheck), (Placement{170, 170, kNatural, kNatural}));
    EXPECT_EQ(gtk_button_get_label(GTK_BUTTON(page.openDescriptionCheck)), Message("IDS_SUCCESS_OPENDESCR"));
    EXPECT_FALSE(Message("IDS_SUCCESS_OPENDESCR").empty());

    EXPECT_TRUE(page.IsOpenDescriptionChecked());
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(page.openDescriptionCheck), FALSE);
    EXPECT_FALSE(page.IsOpenDescriptionChecked());
}

TEST_F(PagesTest, DirectoryPageLayout) {
    DirSelectPage page(fixed, banner.get());
    ASSERT_EQ(page.widgets, (std::vector<GtkWidget*>{page.image, page.promptLabel, page.catalogLabel, page.pathEntry,
                                                      page.browseButton}));
    const struct {
        GtkWidget* widget;
        Placement where;
    } cases[] = {
        {page.image, kBanner},
        {page.promptLabel, kTextBlock},
        {page.catalogLabel, {170, 255, kNatural, kNatural}},
        {page.pathEntry, {170, 275, 280, 30}},
        {page.browseButton, {460, 275, 30, 30}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlacementOf(c.widget), c.where) << G_OBJECT_TYPE_NAME(c.widget);
    }
    ExpectTextBlock(page.promptLabel);
    EXPECT_EQ(LabelText(page.promptLabel), Message("IDS_DESTINATION_PROMPT"));
    EXPECT_EQ(LabelText(page.catalogLabel), Message("IDS_TEMPLATE_CATALOG"));
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(page.browseButton)), "...");
    EXPECT_FALSE(Message("IDS_DESTINATION_PROMPT").empty());
    EXPECT_FALSE(Message("IDS_TEMPLATE_CATALOG").empty());
}

TEST_F(PagesTest, DirectoryPathRoundTripsThroughTheEntry) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr) << "a UTF-8 locale is needed";
    DirSelectPage page(fixed, banner.get());
    const char* paths[] = {
        "/home/user/.qorn/Vq/vq8/tmplts/",
        "/tmp/with space/it's \"quoted\" $HOME `x`;",
        "/home/пользователь/Шаблоны",
        "C:\\Templates\\Übersicht",
    };
    for (const char* path : paths) {
        page.SetPath(ToWString(path));
        EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(page.pathEntry)), path);
        EXPECT_EQ(ToAString(page.GetPath()), AString(path)) << path;
    }
    std::setlocale(LC_ALL, "C");
}

// A path that the locale's encoding cannot carry whole would be cut short
// (the parent directory) or altered; it must never come back as a path.
TEST_F(PagesTest, PathTheLocaleCannotCarryGivesEmptyPath) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr) << "a UTF-8 locale is needed";
    DirSelectPage page(fixed, banner.get());
    gtk_entry_set_text(GTK_ENTRY(page.pathEntry), "/home/user/\xF0\x9F\x93\x81 templates");
    EXPECT_TRUE(page.GetPath().empty()) << ToAString(page.GetPath()).c_str();
    std::setlocale(LC_ALL, "C");
}

TEST_F(PagesTest, EmptyEntryGivesEmptyPath) {
    DirSelectPage page(fixed, banner.get());
    EXPECT_TRUE(page.GetPath().empty());
    page.SetPath(ToWString("/somewhere"));
    gtk_entry_set_text(GTK_ENTRY(page.pathEntry), "");
    EXPECT_TRUE(page.GetPath().empty());
}

TEST_F(PagesTest, ProgressPageLayoutAndStart) {
    ProgressPage page(fixed, 480);
    ASSERT_EQ(page.widgets, (std::vector<GtkWidget*>{page.statusLabel, page.progressBar}));
    EXPECT_EQ(PlacementOf(page.statusLabel), (Placement{10, 130, kNatural, kNatural}));
    EXPECT_EQ(PlacementOf(page.progressBar), (Placement{10, 150, 480, 20}));
    EXPECT_EQ(page.startText, ToAString(LoadResString("IDS_PROGRESS_START")));
    EXPECT_EQ(page.finishText, ToAString(LoadResString("IDS_INSTALL_FINISH")));
    EXPECT_EQ(LabelText(page.statusLabel), page.startText.c_str());
    EXPECT_EQ(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(page.progressBar)), 0.0);
}

TEST_F(PagesTest, SetProgressPicksTheTextAndHoldsTheBarInRange) {
    ProgressPage page(fixed, 480);
    ASSERT_FALSE(page.startText.empty());
    ASSERT_FALSE(page.finishText.empty());
    ASSERT_NE(page.startText, page.finishText);
    const struct {
        std::int32_t percent;
        bool finished;
        double fraction;
    } cases[] = {
        {0, false, 0.0},     {1, false, 0.01},     {50, false, 0.5},     {99, false, 0.99},
        {100, true, 1.0},    {101, false, 1.0},    {-1, false, 0.0},     {INT32_MAX, false, 1.0},
        {INT32_MIN, false, 0.0}, {100, true, 1.0}, {7, false, 0.07},
    };
    ToolkitWarningCounter warnings;
    for (const auto& c : cases) {
        page.SetProgress(c.percent);
        const AString& expected = c.finished ? page.finishText : page.startText;
        EXPECT_EQ(LabelText(page.statusLabel), expected.c_str()) << c.percent;
        EXPECT_NEAR(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(page.progressBar)), c.fraction, 1e-9) << c.percent;
    }
    EXPECT_EQ(warnings.count(), 0);
}
