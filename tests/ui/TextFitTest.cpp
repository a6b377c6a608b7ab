// Every label's text on each page and message box, in every language, lies inside its widget, inside the
// window and clear of the page's other widgets.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "l10n/LanguageTable.h"
#include "l10n/Messages.h"
#include "launcher/ScratchDirectory.h"
#include "text/Convert.h"
#include "ui/InstallerDlg.h"
#include "ui/MessageBox.h"
#include "ui/TextFit.h"
#include "ui/ToolkitTest.h"

namespace {

WString Text(const char* id) { return LoadResString(id); }

// Long paths, one with a component too long for a line.
WString Paths() {
    return ToWString(("\n/home/user/.Vq/tavrilon/tavrilon.cfg\n/home/user/.Vq/tavrilont/tavrilon.cfg\n/tmp/" +
                      std::string(70, 'x')).c_str());
}

ProgressReport Report(std::int32_t percent, ErrorCode status = ERR_NONE, const WString& keptBackup = WString()) {
    return {status, Text("IDS_INSTALL_ERROR") + u" 13", percent, {}, keptBackup, {}};
}

using Dialog = CInstallerDlg;
using Progress = ProgressState;

// The wizard as the controller drives it, step by step; `box`: the message box the step shows.
const struct Step {
    const char* page;
    const char* box;
    void (*act)(Dialog&, Progress&);
} kSteps[] = {
    {"welcome", nullptr, [](Dialog& d, Progress&) {
         const WString kit = Text("IDS_DEFPRODUCT") + u" (" + Text("IDS_DEFPROVIDER") + u").";
         d.ShowWelcome(Text("IDS_WELCOME_TITLE") + u" " + kit, false);
     }},
    {"uninstall welcome", nullptr, [](Dialog& d, Progress&) {
         const WString kit = Text("IDS_DEFPRODUCT") + u" (" + Text("IDS_DEFPROVIDER") + u").";
         d.ShowWelcome(Text("IDS_UNINSTALL_WELCOME") + u" " + kit, false);
     }},
    {"directory", nullptr, [](Dialog& d, Progress&) { d.AskDirectory(u"/home/user/.qorn/Vq/vq8/tmplts/"); }},
    {"directory", "IDS_SETUP_EMPTYTARGET",
     [](Dialog& d, Progress&) { d.ShowMessage(Text("IDS_SETUP_EMPTYTARGET"), MB_PLAIN_OK); }},
    {"directory", "IDS_ACCEPT_CANCEL", [](Dialog& d, Progress&) { d.ConfirmClose(); }},
    {"progress", nullptr, [](Dialog& d, Progress& p) { d.BeginInstallation(WString(), p); d.ShowProgress(Report(0)); }},
    {"progress at 100", nullptr, [](Dialog& d, Progress&) { d.ShowProgress(Report(100)); }},
    {"success", nullptr, [](Dialog& d, Progress&) { d.ShowOutcome(Report(100), ExitStatus::Success); }},
    {"success with a note", nullptr,
     [](Dialog& d, Progress&) { d.ShowNote(Text("IDS_LAUNCHER_NOTRECORDED") + Paths()); }},
    {"cancelled", nullptr,
     [](Dialog& d, Progress&) { d.ShowOutcome(Report(0, ERR_CANCELLED), ExitStatus::Cancelled); }},
    {"error", "IDS_INSTALL_ERROR",
     [](Dialog& d, Progress&) { d.ShowOutcome(Report(0, ERR_CANT_WRITE), ExitStatus::Failed); }},
    {"backup kept", "IDS_BACKUP_KEPT", [](Dialog& d, Progress&) {
         d.ShowOutcome(Report(0, ERR_CANT_WRITE, Paths()), ExitStatus::RollbackIncomplete);
     }},
    {"error naming its cause", "IDS_ERROR_TARGET_READONLY", [](Dialog& d, Progress&) {
         ProgressReport report = Report(0, ERR_CANT_WRITE);
         report.message = Text("IDS_ERROR_TARGET_READONLY") + Paths();
         d.ShowOutcome(report, ExitStatus::Failed);
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

// Where the label draws its text: its layout placed in its allocation by its alignment.
GdkRectangle TextArea(GtkLabel* label) {
    gint width = 0, height = 0, xpad = 0, ypad = 0;
    gfloat xalign = 0, yalign = 0;
    pango_layout_get_pixel_size(gtk_label_get_layout(label), &width, &height);
    gtk_misc_get_alignment(GTK_MISC(label), &xalign, &yalign);
    gtk_misc_get_padding(GTK_MISC(label), &xpad, &ypad);
    const GtkAllocation& a = GTK_WIDGET(label)->allocation;
    const gint x = a.x + xpad + static_cast<gint>(xalign * (a.width - 2 * xpad - width));
    const gint y = a.y + ypad + std::max(0, static_cast<gint>(yalign * (a.height - 2 * ypad - height)));
    return {x, y, width, height};
}

// Each label's text under `widgets` (side by side) lies whole inside its widget and the window, clear of the others.
void ExpectWhole(const std::string& where, const std::vector<GtkWidget*>& widgets) {
    for (GtkWidget* widget : widgets) {
        const GtkAllocation& window = gtk_widget_get_toplevel(widget)->allocation;
        std::vector<GtkLabel*> labels;
        CollectLabels(widget, &labels);
        for (GtkLabel* label : labels) {
            const GdkRectangle text = TextArea(label);
            const std::string said = where + ": \"" + gtk_label_get_text(label) + "\" ";
            EXPECT_TRUE(Inside(text, GTK_WIDGET(label)->allocation)) << said << "does not fit its widget";
            EXPECT_FALSE(pango_layout_is_ellipsized(gtk_label_get_layout(label))) << said << "is cut short";
            EXPECT_TRUE(Inside(text, {0, 0, window.width, window.height})) << said << "runs out of the window";
            for (GtkWidget* other : widgets) {
                const GdkRectangle taken = GTK_IS_LABEL(other) ? TextArea(GTK_LABEL(other)) : other->allocation;
                EXPECT_TRUE(other == widget || !gdk_rectangle_intersect(&text, &taken, nullptr))
                    << said << "lies under a " << G_OBJECT_TYPE_NAME(other);
            }
        }
    }
}

// A window's own size first comes back from the X server.
void SettleLayout() {
    for (int round = 0; round < 3; ++round) {
        gdk_flush();
        while (gtk_events_pending()) gtk_main_iteration();
    }
}

// The wizard's widgets: the shown children of the container in its one window (the test's is never shown).
std::vector<GtkWidget*> WizardWidgets() {
    std::vector<GtkWidget*> widgets;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item != nullptr; item = item->next) {
        GtkWidget* window = GTK_WIDGET(item->data);
        if (GTK_IS_DIALOG(window) || !gtk_widget_get_mapped(window)) continue;
        GList* children = gtk_container_get_children(GTK_CONTAINER(gtk_bin_get_child(GTK_BIN(window))));
        for (GList* child = children; child != nullptr; child = child->next) {
            if (gtk_widget_get_mapped(GTK_WIDGET(child->data))) widgets.push_back(GTK_WIDGET(child->data));
        }
        g_list_free(children);
    }
    g_list_free(toplevels);
    return widgets;
}

using TextFitTest = ToolkitTest;

}  // namespace

TEST_F(TextFitTest, EveryTextOfEveryPageAndBoxIsWholeInEveryLanguage) {
    const scratch::Environment env;  // the converters follow the locale: UTF-8 for the test
    for (const LanguageMessages* language : AllLanguages()) {
        SetCurrentLanguage(language->number);
        CInstallerDlg dialog(false, Text("IDR_MAINFRAME"));
        ProgressState progress;
        for (const Step& step : kSteps) {
            const std::string where = std::string(language->code) + ", " + step.page;
            bool boxShown = false;
            if (step.box != nullptr) {
                WhenDialogRuns(GTK_TYPE_MESSAGE_DIALOG, [&](GtkWidget* box) {
                    if (!gtk_widget_get_mapped(box)) return false;
                    SettleLayout();
                    ExpectWhole(where + ", message box " + step.box, {box});
                    boxShown = true;
                    gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_NO);
                    return true;
                });
            }
            step.act(dialog, progress);
            EXPECT_EQ(boxShown, step.box != nullptr) << where;
            SettleLayout();
            ExpectWhole(where, WizardWidgets());
        }
    }
    SetCurrentLanguage(kDefaultLanguage);
}

// A text too long even at the floor is not cut silently: a one-line label ends in "…" and the whole text is
// the widget's tooltip; once it fits again, neither stays.
TEST_F(TextFitTest, ATextTooLongEvenAtTheFloorIsMarkedCut) {
    const char* const text = "A translation far too long for the narrow button it has to fit into";
    for (const bool wraps : {false, true}) {
        GtkWidget* button = GTK_WIDGET(g_object_ref_sink(gtk_button_new_with_label(text)));
        GtkLabel* label = GTK_LABEL(gtk_bin_get_child(GTK_BIN(button)));
        gtk_label_set_line_wrap(label, wraps);
        EXPECT_FALSE(FitText(button, 40, 20));
        EXPECT_EQ(gtk_label_get_ellipsize(label), wraps ? PANGO_ELLIPSIZE_NONE : PANGO_ELLIPSIZE_END);
        const std::unique_ptr<gchar, decltype(&g_free)> tip(gtk_widget_get_tooltip_text(button), &g_free);
        EXPECT_STREQ(tip.get(), text);
        gtk_button_set_label(GTK_BUTTON(button), "OK");
        EXPECT_TRUE(FitText(button, 400, 200) && gtk_label_get_ellipsize(label) == PANGO_ELLIPSIZE_NONE &&
                    gtk_widget_get_tooltip_text(button) == nullptr);
        g_object_unref(button);
    }
}
