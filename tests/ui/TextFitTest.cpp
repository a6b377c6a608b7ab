// Every text of the wizard whole in every language: on each page and in the
// message boxes, each label's text (a button's and a check box's too) lies
// inside its widget, inside the window and clear of the page's other widgets.

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "l10n/LanguageTable.h"
#include "l10n/Messages.h"
#include "text/Convert.h"
#include "text/EnvironmentLocale.h"
#include "ui/ButtonRow.h"
#include "ui/DirSelectPage.h"
#include "ui/GtkOwners.h"
#include "ui/Images.h"
#include "ui/MessageBox.h"
#include "ui/ProgressPage.h"
#include "ui/SuccessFinalPage.h"
#include "ui/ToolkitTest.h"

namespace {

constexpr GdkRectangle kWindow{0, 0, 500, 360};
// Paths as the pages and boxes show them after a text: long, and with a
// component too long for a line.
const WString kPaths = ToWString(("\n/home/user/.Vq/tavrilon/tavrilon.cfg\n/home/user/.Vq/tavrilont/tavrilon.cfg\n"
                                 "/tmp/" + std::string(70, 'x')).c_str());

WString Text(const char* id) { return LoadResString(id); }

GtkFixed* AddFixed(GtkWidget* window) {
    GtkWidget* fixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(window), fixed);
    return GTK_FIXED(fixed);
}

// One language's wizard: the button row and every page, as the dialog makes them.
struct Wizard {
    explicit Wizard(GdkPixbuf* banner)
        : window(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
          fixed(AddFixed(window.get())),
          row(MakeButtonRow(fixed, kWindow.width)),
          welcome(fixed, banner,
                  Text("IDS_WELCOME_TITLE") + u" " + Text("IDS_DEFPRODUCT") + u" (" + Text("IDS_DEFPROVIDER") + u")."),
          directory(fixed, banner),
          progress(fixed, kWindow.width - 20),
          success(fixed, banner, Text("IDS_SUCCESS_FINISH")),
          error(fixed, banner, Text("IDS_ERROR_FINISH")) {}
    ToplevelWidget window;
    GtkFixed* fixed;
    ButtonRow row;
    MessagePage welcome;
    DirSelectPage directory;
    ProgressPage progress;
    SuccessFinalPage success;
    MessagePage error;
};

struct Step {
    const char* page;
    std::function<WizardDialogPage&(Wizard&)> show;  // sets the texts, returns the page
};

const Step kSteps[] = {
    {"welcome", [](Wizard& w) -> WizardDialogPage& { return w.welcome; }},
    {"directory", [](Wizard& w) -> WizardDialogPage& { return w.directory; }},
    {"progress", [](Wizard& w) -> WizardDialogPage& { return w.progress; }},
    {"progress at 100", [](Wizard& w) -> WizardDialogPage& { w.progress.SetProgress(100); return w.progress; }},
    {"success", [](Wizard& w) -> WizardDialogPage& {
         gtk_widget_hide(w.row.back);
         SetButtonText(w.row, w.row.next, "IDS_WIZARD_FINISH");
         return w.success;
     }},
    {"success with a note", [](Wizard& w) -> WizardDialogPage& {
         w.success.SetText(Text("IDS_SUCCESS_FINISH") + u"\n\n" + Text("IDS_LAUNCHER_NOTRECORDED") + kPaths);
         return w.success;
     }},
    {"error", [](Wizard& w) -> WizardDialogPage& { return w.error; }},
    {"cancelled", [](Wizard& w) -> WizardDialogPage& { w.error.SetText(Text("IDS_CANCEL_FINISH")); return w.error; }},
    {"backup kept", [](Wizard& w) -> WizardDialogPage& {
         w.error.SetText(Text("IDS_BACKUP_KEPT") + kPaths);
         return w.error;
     }},
};

void CollectLabels(GtkWidget* widget, std::vector<GtkLabel*>* labels) {
    if (!gtk_widget_get_mapped(widget)) return;
    if (GTK_IS_LABEL(widget)) labels->push_back(GTK_LABEL(widget));
    if (!GTK_IS_CONTAINER(widget)) return;
    gtk_container_forall(
        GTK_CONTAINER(widget),
        [](GtkWidget* child, gpointer data) { CollectLabels(child, static_cast<std::vector<GtkLabel*>*>(data)); },
        labels);
}

bool Inside(const GdkRectangle& inner, const GdkRectangle& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// Where the label draws its text: its layout placed in its allocation by
// its alignment, as the toolkit places it.
GdkRectangle TextArea(GtkLabel* label) {
    gint width = 0;
    gint height = 0;
    pango_layout_get_pixel_size(gtk_label_get_layout(label), &width, &height);
    gfloat xalign = 0;
    gfloat yalign = 0;
    gint xpad = 0;
    gint ypad = 0;
    gtk_misc_get_alignment(GTK_MISC(label), &xalign, &yalign);
    gtk_misc_get_padding(GTK_MISC(label), &xpad, &ypad);
    const GtkAllocation& a = GTK_WIDGET(label)->allocation;
    const gint x = a.x + xpad + static_cast<gint>(xalign * (a.width - 2 * xpad - width));
    const gint y = a.y + ypad + std::max(0, static_cast<gint>(yalign * (a.height - 2 * ypad - height)));
    return {x, y, width, height};
}

// What a widget takes of the page: a label its text, anything else its allocation.
GdkRectangle Occupied(GtkWidget* widget) {
    return GTK_IS_LABEL(widget) ? TextArea(GTK_LABEL(widget)) : widget->allocation;
}

// How the text of `label`, a descendant of `owner`, is cut, if it is: by its
// own widget, by the edge of `bounds`, or by one of `others` lying over it.
std::optional<std::string> CutOf(GtkLabel* label, GtkWidget* owner, const GdkRectangle& bounds,
                                 const std::vector<GtkWidget*>& others) {
    const GdkRectangle text = TextArea(label);
    if (!Inside(text, GTK_WIDGET(label)->allocation)) return "does not fit its widget";
    if (!Inside(text, bounds)) return "runs out of the window";
    for (GtkWidget* other : others) {
        const GdkRectangle taken = Occupied(other);
        if (other != owner && gtk_widget_get_mapped(other) && gdk_rectangle_intersect(&text, &taken, nullptr)) {
            return std::string("lies under a ") + G_OBJECT_TYPE_NAME(other);
        }
    }
    return std::nullopt;
}

// The failures of every label under `widgets`, each naming where and what.
void ExpectWhole(const std::string& where, const std::vector<GtkWidget*>& widgets, const GdkRectangle& bounds) {
    for (GtkWidget* widget : widgets) {
        std::vector<GtkLabel*> labels;
        CollectLabels(widget, &labels);
        for (GtkLabel* label : labels) {
            const auto cut = CutOf(label, widget, bounds, widgets);
            EXPECT_FALSE(cut) << where << ": \"" << gtk_label_get_text(label) << "\" " << cut.value_or("");
        }
    }
}

// Lets the toolkit size and place everything: the window's own size first
// comes back from the X server.
void SettleLayout() {
    for (int round = 0; round < 3; ++round) {
        gdk_flush();
        while (gtk_events_pending()) gtk_main_iteration();
    }
}

// The converters follow the environment's locale: UTF-8 for the test, then back.
class TextFitTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        const char* saved = std::getenv("LC_ALL");
        if (saved != nullptr) savedLocale_ = saved;
        setenv("LC_ALL", "C.UTF-8", 1);
        ReloadEnvironmentLocale();
    }
    void TearDown() override {
        savedLocale_ ? setenv("LC_ALL", savedLocale_->c_str(), 1) : unsetenv("LC_ALL");
        ReloadEnvironmentLocale();
        SetCurrentLanguage(kDefaultLanguage);
        ToolkitTest::TearDown();
    }
    PixbufRef banner{CreateBannerPixbuf()};

private:
    std::optional<std::string> savedLocale_;
};

}  // namespace

TEST_F(TextFitTest, EveryTextOfEveryPageIsWholeInEveryLanguage) {
    for (const auto& [language, table] : Languages()) {
        SetCurrentLanguage(language);
        Wizard wizard(banner.get());
        gtk_widget_show_all(wizard.window.get());
        for (const Step& step : kSteps) {
            WizardDialogPage& page = step.show(wizard);
            for (WizardDialogPage* shown : std::initializer_list<WizardDialogPage*>{
                     &wizard.welcome, &wizard.directory, &wizard.progress, &wizard.success, &wizard.error}) {
                for (GtkWidget* widget : shown->widgets) gtk_widget_set_visible(widget, shown == &page);
            }
            SettleLayout();
            std::vector<GtkWidget*> widgets = page.widgets;
            widgets.insert(widgets.end(), {wizard.row.back, wizard.row.next, wizard.row.cancel});
            ExpectWhole(std::string(table.first.c_str()) + ", " + step.page, widgets, kWindow);
        }
    }
}

TEST_F(TextFitTest, EveryMessageBoxTextIsWholeInEveryLanguage) {
    const struct {
        std::uint32_t flags;
        const char* id;
    } boxes[] = {{MB_QUESTION_YESNO, "IDS_ACCEPT_CANCEL"}, {MB_PLAIN_OK, "IDS_SETUP_EMPTYTARGET"},
                 {MB_ERROR_OK, "IDS_BACKUP_KEPT"}};
    for (const auto& [language, table] : Languages()) {
        SetCurrentLanguage(language);
        for (const auto& box : boxes) {
            const std::string where = std::string(table.first.c_str()) + ", message box " + box.id;
            WhenDialogRuns(GTK_TYPE_MESSAGE_DIALOG, [&](GtkWidget* dialog) {
                if (!gtk_widget_get_mapped(dialog)) return false;
                SettleLayout();
                const GtkAllocation& size = dialog->allocation;
                ExpectWhole(where, {dialog}, {0, 0, size.width, size.height});
                EXPECT_TRUE(Inside({0, 0, size.width, size.height},
                                   {0, 0, gdk_screen_get_width(gtk_widget_get_screen(dialog)),
                                    gdk_screen_get_height(gtk_widget_get_screen(dialog))}))
                    << where << ": larger than the screen";
                gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
                return true;
            });
            MessageBox(nullptr, Text(box.id) + (box.flags == MB_ERROR_OK ? kPaths : WString()), box.flags);
        }
    }
}
